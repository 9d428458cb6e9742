// The hyperbola: a ray from the left focus, reflected at the left branch, leaves
// along the line from the right focus through the reflection point. Its dialogue
// and its drawing.
#include "geometrija.h"
#include "scena.h"

void unoshiperbola()
{
}

void crtajHiperbolu()
{
    glPointSize(1.0f);
    postaviBoju(CRNA);
}
