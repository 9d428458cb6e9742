// The ellipse x^2/a^2 + y^2/b^2 = 1: a ray from the left focus (-c, 0), reflected
// at the curve, passes through the right focus (c, 0). Its dialogue and its drawing.
#include "citanje.h"
#include "geometrija.h"
#include "scena.h"

#include <cmath>
#include <cstdio>

constexpr float PUN_KRUG = 360.0f;          // the curve parameter runs from 0 below this, degrees
constexpr double KORAK_KRIVE = 0.1;         // curve parameter step, degrees
constexpr double KORAK_TANGENTE = 0.01;     // step of a tangent half along its stepping coordinate
constexpr float GRANICA_TANGENTE = 100.0f;  // a tangent half ends where that coordinate reaches +-100
constexpr GLuint LISTA_TANGENTE = 1;        // the tangent's display list, a fixed name

// The focal distance c = sqrt(a^2 - b^2). The squares and their difference are
// exact enough in double; the square root is the double one, rounded once to
// float. When b > a it is not a number, and so are the foci.
static float zizaOdCentra()
{
    return std::sqrt(static_cast<double>(a) * a - static_cast<double>(b) * b);
}

void unoselipsa()
{
    ispisi("Unesite vrednosti za poluprecnike elipse po x i y osi!\n");
    procitaj(a);
    procitaj(b);
    const float c = zizaOdCentra();
    ispisi("Vrednosti poluprecnika a i b su:%f i %f,a zize su %f i %f\n", a, b, -c, c);
    ispisi("Unesite ugao za odbijanje zraka.Taj ugao mora biti u intervalu od 0 do 360 stepeni!:\n");
    procitaj(ugao);
    // The stored float is compared exactly: 0 and 360 (and a typed -0) pass,
    // anything beyond them by however little does not.
    if (ugao < 0 || ugao > PUN_KRUG) {
        ispisi("Greska,ugao ne moze biti manji od 0 i veci od 360!\n");
        odbij(1);
    }
}

enum class Smer { NAGORE, NADOLE };

// One half of the tangent: the stepping coordinate i runs from `od` towards the
// bound in steps of the double 0.01, each sum rounded back to float, and
// `posalji(i)` sends the point for it. A start already past the bound sends
// nothing.
//
// A start far out on the other side would walk through points far outside the
// picture before reaching the square: millions of them, and from about 2^18 on,
// where adding 0.01 no longer changes a float, forever (an infinite start at
// once). Typed values such as a = 1e6 put the reflection point there. So a half
// starts no further out than the +-100 square: what that cuts off lies beyond
// the square, the points that remain stay on the same line (shifted along it by
// less than one step), and every frame stays within two halves of 20000 points.
// A start that is not a number fails every comparison, stays as it is and sends
// nothing.
template <typename Posalji>
static void polovinaTangente(float od, Smer smer, Posalji posalji)
{
    if (smer == Smer::NAGORE) {
        float i = od < -GRANICA_TANGENTE ? -GRANICA_TANGENTE : od;
        for (; i < GRANICA_TANGENTE; i += KORAK_TANGENTE)
            posalji(i);
    } else {
        float i = od > GRANICA_TANGENTE ? GRANICA_TANGENTE : od;
        for (; i > -GRANICA_TANGENTE; i -= KORAK_TANGENTE)
            posalji(i);
    }
}

static void crtajScenu()
{
    // The curve, in the colour current on entry. The parameter i is a float
    // stepped by the double 0.1 and stored back, so it drifts off the tenths
    // (point 900 is at 89.9992, not 90). The count still comes out at exactly
    // 3600: the last point sits about 0.09 degrees short of 360 and the next sum
    // lands just above 360, which ends the loop.
    oznaci(Deo::KRIVA);
    glBegin(GL_POINTS);
    for (float i = 0.0f; i < PUN_KRUG; i += KORAK_KRIVE) {
        const float degInRad = i * static_cast<double>(RADIAN);
        tackaKrive(std::cos(static_cast<double>(degInRad)) * a, std::sin(static_cast<double>(degInRad)) * b);
    }
    glEnd();

    const float c = zizaOdCentra();

    postaviBoju(MASLINASTI_ZRAK);

    // The reflection point is (xe, znak * ye) = (a cos f, b sin f). For angles
    // past 180 znak is -1 and (xe, ye) is its mirror image in the x axis; the
    // tangent's rows below account for that.
    const float f = ugao * static_cast<double>(RADIAN);
    int znak = 1;
    if (ugao > 180 && ugao <= PUN_KRUG)
        znak = -znak;
    const float xe = std::cos(static_cast<double>(f)) * a;
    const float ye = std::sin(static_cast<double>(f)) * znak * b;

    // Incident ray from the left focus, reflected ray on to the right focus.
    glBegin(GL_LINES);
    oznaci(Deo::ZRAK);
    duz(-c, 0.0f, xe, znak * ye);
    oznaci(Deo::ODBIJENI_ZRAK);
    duz(xe, znak * ye, c, 0.0f);
    glEnd();

    // The tangent goes through display list 1, rebuilt on every frame. kt is the
    // slope of the tangent at (xe, ye), -(b^2/a^2)(xe/ye).
    oznaci(Deo::TANGENTA);
    glNewList(LISTA_TANGENTE, GL_COMPILE);
    postaviBoju(ZELENA_PRAVA);
    const float kt = -(static_cast<double>(b) * b / (static_cast<double>(a) * a)) *
                     (static_cast<double>(xe) / ye);
    // x-stepped: the point of the line through (xe, ye) with slope kt at x = i.
    const auto jZaX = [&](float i) -> float {
        return (kt * static_cast<double>(i) + ye) - static_cast<double>(kt) * xe;
    };
    const auto poX = [&](float i) { tacka(i, jZaX(i)); };
    // y-stepped, for the steep tangents: the point of the same line at y = i.
    const auto poY = [&](float i) {
        const float j = (i / static_cast<double>(kt) - ye / static_cast<double>(kt)) + xe;
        tacka(j, i);
    };
    // Below the axis (xe, ye) and kt belong to the mirror image, so the rounded
    // ordinate is mirrored back: the point lands on the tangent at the
    // reflection point itself.
    const auto poXIspod = [&](float i) { tacka(i, znak * jZaX(i)); };
    // At 270 the height is mirrored before the slope term is added. The slope is
    // still the mirror image's, a few millionths for a = 5, b = 3, so this differs from
    // the horizontal tangent only by the rounding of the angle.
    const auto poX270 = [&](float i) {
        const float j = (znak * static_cast<double>(ye) + static_cast<double>(kt) * i) -
                        static_cast<double>(kt) * xe;
        tacka(i, j);
    };
    // Exactly one row draws, chosen by exact comparisons of the stored angle:
    // any value above 90, however close, is not the row for 90. An angle outside
    // 0 to 360 (only a typed nan gets past the dialogue) leaves just the colour.
    if (ugao > 0 && ugao < 90) {
        glBegin(GL_POINTS);
        polovinaTangente(xe, Smer::NAGORE, poX);
        polovinaTangente(ye, Smer::NAGORE, poY);
        glEnd();
    } else if (ugao > 90 && ugao < 180) {
        glBegin(GL_POINTS);
        polovinaTangente(xe, Smer::NAGORE, poX);
        polovinaTangente(ye, Smer::NADOLE, poY);
        glEnd();
    } else if (ugao == 90) {
        glBegin(GL_POINTS);
        polovinaTangente(xe, Smer::NAGORE, poX);
        polovinaTangente(xe, Smer::NADOLE, poX);
        glEnd();
    } else if (ugao == 180) {
        glBegin(GL_POINTS);
        polovinaTangente(ye, Smer::NAGORE, poY);
        polovinaTangente(ye, Smer::NADOLE, poY);
        glEnd();
    } else if (ugao > 180 && ugao < 270) {
        glBegin(GL_POINTS);
        polovinaTangente(xe, Smer::NADOLE, poXIspod);
        polovinaTangente(xe, Smer::NAGORE, poXIspod);
        glEnd();
    } else if (ugao == 270) {
        glBegin(GL_POINTS);
        polovinaTangente(xe, Smer::NAGORE, poX270);
        polovinaTangente(xe, Smer::NADOLE, poX270);
        glEnd();
    } else if (ugao > 270 && ugao < PUN_KRUG) {
        glBegin(GL_POINTS);
        polovinaTangente(xe, Smer::NADOLE, poXIspod);
        polovinaTangente(xe, Smer::NAGORE, poXIspod);
        glEnd();
    } else if (ugao == PUN_KRUG || ugao == 0) {
        // At 0 ye is zero and kt infinite: the y-stepped points all get x = xe,
        // the vertical tangent. At 360 the angle's rounding leaves them a hair
        // off vertical.
        glBegin(GL_POINTS);
        polovinaTangente(ye, Smer::NAGORE, poY);
        polovinaTangente(ye, Smer::NADOLE, poY);
        glEnd();
    }
    glEndList();
    glCallList(LISTA_TANGENTE);

    // The rays' lines, in double from the stored floats: the incident one
    // through (-c, 0) and the reflection point, the reflected one through the
    // reflection point and (c, 0). A negative intercept prints after the plus.
    const double visina = znak * static_cast<double>(ye);
    const double nagibUpadnog = visina / (xe + static_cast<double>(c));
    const double odsecakUpadnog = (visina * c) / (xe + static_cast<double>(c));
    const double nagibOdbijenog = -visina / (c - static_cast<double>(xe));
    const double odsecakOdbijenog = visina + (visina * xe) / (c - static_cast<double>(xe));
    ispisi("Jednacina zraka je:y = %f * x + %f\n", nagibUpadnog, odsecakUpadnog);
    ispisi("Jednacina odbijenog zraka je:y = %f * x + %f\n", nagibOdbijenog, odsecakOdbijenog);
    ispisi("\n");
}

void crtajElipsu()
{
    if (unos == 1)
        crtajScenu();
    postaviBoju(CRNA);
}
