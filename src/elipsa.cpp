// The ellipse: a ray from one focus, reflected at the curve, passes through the
// other focus. Its dialogue and its drawing.
#include "geometrija.h"
#include "scena.h"

void unoselipsa()
{
}

void crtajElipsu()
{
    postaviBoju(CRNA);
}
