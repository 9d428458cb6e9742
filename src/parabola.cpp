// The parabola y^2 = 2 p x: a ray from the focus (p/2, 0) is reflected at the
// curve parallel to the axis. Its dialogue and its drawing.
#include "citanje.h"
#include "geometrija.h"
#include "scena.h"

#include <cmath>
#include <cstdio>

constexpr double KRAJ_ZRAKA = 1000.0;          // the reflected ray runs this far along x
constexpr GLfloat VISINA_DIREKTRISE = 100.0f;  // the directrix spans -100 to 100

void unosparabola()
{
    ispisi("Unesite vrednost za parametar p:\n");
    procitaj(p);
    ispisi("Vrednost parametra p je:%f,a ziza je %f\n", p, p / 2.0);
    unosZraka("Unesite parametar po kojem se zrak odbija.Vrednost mora biti veca od 0."
              "Najbolje je uneti vrednosti izmedju 0.0 i 1.0 da bi se videla cela slika\n",
              3);
}

void crtajParabolu()
{
    if (unos != 3)
        return;
    if (demonstracija)
        p = 10.0f;

    // The curve, in the colour current on entry. x is a float stepped by the
    // double 0.01: each sum is rounded back to float, so the samples drift off
    // the hundredths (none is exactly 0) and the sweep has exactly 4000 of them.
    oznaci(Deo::KRIVA);
    glBegin(GL_POINTS);
    for (float x = -20.0f; x < 20.0f; x += 0.01) {
        const float y = std::sqrt(2.0 * p * x);
        tackaKrive(x, y);
        tackaKrive(x, -y);
    }
    glEnd();

    // The focus.
    oznaci(Deo::ZIZA);
    glBegin(GL_POINTS);
    tacka(p / 2.0, 0.0f);
    glEnd();

    // The reflection point (xp, znak * yp) lies on the curve, yp = |p| sqrt(parametar).
    int znak = 1;
    const float xp = (p / 2.0) * parametar;
    const float yp = std::sqrt(2.0 * p * xp);
    if (pravac == -1 || demonstracija)
        znak = -znak;

    // The reflected ray leaves parallel to the axis, into the opening of the
    // parabola: to the right for p >= 0, to the left when p < 0 opens it that
    // way, so it never runs back through the curve and across the directrix.
    const float krajZraka = p < 0 ? -KRAJ_ZRAKA : KRAJ_ZRAKA;
    postaviBoju(MASLINASTI_ZRAK);
    glBegin(GL_LINES);
    oznaci(Deo::ZRAK);
    duz(p / 2.0, 0.0f, xp, znak * yp);
    oznaci(Deo::ODBIJENI_ZRAK);
    duz(xp, znak * yp, krajZraka, znak * yp);
    glEnd();

    postaviBoju(ZELENA_PRAVA);
    oznaci(Deo::DIREKTRISA);
    glBegin(GL_LINES);
    duz(-p / 2.0, -VISINA_DIREKTRISE, -p / 2.0, VISINA_DIREKTRISE);
    glEnd();

    postaviBoju(CRNA);

    if (demonstracija)
        return;
    // The incident ray lies on y = k x - m through the focus.
    const double visina = znak * static_cast<double>(yp);
    const double k = visina / (xp - p / 2.0);
    const double m = (p / 2.0) * visina / (xp - p / 2.0);
    ispisi("Jednacina zraka je:y = %f * x - %f\n", k, m);
    ispisi("Jednacina odbijenog zraka je:y = %f\n", visina);
    ispisi("\n");
}
