// geometrija: the reflective property of the ellipse, the hyperbola and the
// parabola. The console asks for the figure and its values, the window shows
// the curve, its foci, the incident and the reflected ray.
#include "pokretanje.h"
#include "prozor.h"
#include "tokovi.h"

int main(int argc, char** argv)
{
    otvoriStandardneTokove();
    Pokretanje nacin;
    nacin.prozorOtvoren = pratiNestanakProzora;
    pokreni(argc, argv, nacin);
    return 0;
}
