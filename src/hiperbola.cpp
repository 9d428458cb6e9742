// The hyperbola x^2/a1^2 - y^2/b1^2 = 1: a ray from the left focus, reflected at
// the left branch, leaves along the line from the right focus through the
// reflection point. Its dialogue and its drawing.
#include "geometrija.h"
#include "scena.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

// Focal distance sqrt(a1^2 + b1^2); the dialogue and the drawing get the same float.
static float zizinoRastojanje()
{
    return std::sqrt(a1 * static_cast<double>(a1) + b1 * static_cast<double>(b1));
}

void unoshiperbola()
{
    std::printf("Unesite vrednosti za poluprecnike hiperbole po x i y osi!\n");
    // Both semi-axes follow the one prompt, separated by white space.
    procitaj(a1);
    procitaj(b1);
    const float c = zizinoRastojanje();
    std::printf("Vrednosti poluprecnika a i b su:%f i %f,a zize su %f i %f\n",
                static_cast<double>(a1), static_cast<double>(b1), -static_cast<double>(c),
                static_cast<double>(c));
    std::printf("Unesite parametar po kojem se zrak odbija.Vrednost mora biti veca od 0."
                "Najbolje je uneti vrednosti izmedju 0.0 i 1.0 da bi se videla cela slika!\n");
    procitaj(parametar);
    if (parametar <= 0) {
        std::printf("Greska,parametar mora biti veci od 0!\n");
        std::exit(2);
    }
    std::printf("Unesite 1 za odbijanje zraka duz pozitivne ose ili -1 za odbijanje duz negativne y-ose:\n");
    procitaj(pravac);
}

void crtajHiperbolu()
{
    glPointSize(1.0f);
    postaviBoju(CRNA);
}
