// The hyperbola x^2/a1^2 - y^2/b1^2 = 1: a ray from the left focus, reflected at
// the left branch, leaves along the line from the right focus through the
// reflection point. Its dialogue and its drawing.
#include "citanje.h"
#include "geometrija.h"
#include "scena.h"

#include <cmath>
#include <cstdio>

constexpr GLfloat DOMET_ASIMPTOTA = 1000.0f;  // the asymptotes run from x = -1000 to 1000
constexpr GLfloat DEBLJINA_POMOCNIH = 1.0f;   // asymptotes and rectangle sides
constexpr GLfloat DEBLJINA_ZRAKA = 2.0f;      // rays and the dashed line; left current
constexpr GLint PONAVLJANJE_CRTICA = 3;       // each bit of the dash pattern covers 3 pixels
constexpr GLushort SARA_CRTICA = 0x00FF;      // 8 bits lit, 8 unlit

// Abscissa of the right branch at height y: a1 sqrt(y^2 / b1^2 + 1). Every factor
// is widened first: std::sqrt of a float expression would take the float
// overload and round once more than the stored value allows.
static float apscisaKrive(float y)
{
    return a1 * std::sqrt(y * static_cast<double>(y) / (b1 * static_cast<double>(b1)) + 1);
}

// Focal distance sqrt(a1^2 + b1^2); the dialogue and the drawing get the same float.
static float zizinoRastojanje()
{
    return std::sqrt(a1 * static_cast<double>(a1) + b1 * static_cast<double>(b1));
}

void unoshiperbola()
{
    ispisi("Unesite vrednosti za poluprecnike hiperbole po x i y osi!\n");
    // Both semi-axes follow the one prompt, separated by white space.
    procitaj(a1);
    procitaj(b1);
    const float c = zizinoRastojanje();
    ispisi("Vrednosti poluprecnika a i b su:%f i %f,a zize su %f i %f\n",
                static_cast<double>(a1), static_cast<double>(b1), -static_cast<double>(c),
                static_cast<double>(c));
    unosZraka("Unesite parametar po kojem se zrak odbija.Vrednost mora biti veca od 0."
              "Najbolje je uneti vrednosti izmedju 0.0 i 1.0 da bi se videla cela slika!\n",
              2);
}

// The picture and the printed rays, for unos == 2.
static void crtajScenu()
{
    // Both branches, in the colour current on entry. y is a float stepped by the
    // double 0.01: each sum is rounded back to float, so the samples drift off
    // the hundredths (none is exactly 0, so the vertices (+-a1, 0) are not among
    // the points) and the sweep has exactly 4000 of them. With b1 = 0 no sample
    // is finite; the helper skips them.
    oznaci(Deo::KRIVA);
    glBegin(GL_POINTS);
    for (float y = -20.0f; y < 20.0f; y += 0.01) {
        const float x = apscisaKrive(y);
        tackaKrive(x, y);
        tackaKrive(-x, y);
    }
    glEnd();

    const float c = zizinoRastojanje();
    oznaci(Deo::ZIZA);
    glBegin(GL_POINTS);
    tacka(c, 0.0f);
    tacka(-c, 0.0f);
    glEnd();

    // Asymptotes y = k x and y = -k x, each a batch of its own, and the two
    // vertical sides of the rectangle (+-a1, +-b1), which touch the vertices.
    // With a1 = 0 the slope is infinite and the asymptotes are skipped.
    glLineWidth(DEBLJINA_POMOCNIH);
    const float k = b1 / static_cast<double>(a1);
    oznaci(Deo::ASIMPTOTA);
    glBegin(GL_LINES);
    duz(-DOMET_ASIMPTOTA, k * -static_cast<double>(DOMET_ASIMPTOTA),
        DOMET_ASIMPTOTA, k * static_cast<double>(DOMET_ASIMPTOTA));
    glEnd();
    glBegin(GL_LINES);
    duz(DOMET_ASIMPTOTA, k * -static_cast<double>(DOMET_ASIMPTOTA),
        -DOMET_ASIMPTOTA, k * static_cast<double>(DOMET_ASIMPTOTA));
    glEnd();
    oznaci(Deo::STRANICA);
    glBegin(GL_LINES);
    duz(a1, -b1, a1, b1);
    duz(-a1, -b1, -a1, b1);
    glEnd();

    // The reflection point R = (-xh, znak * yh) lies on the curve at the height
    // parametar * c; for a1 > 0 on the left branch, for a1 < 0 on the right one.
    glLineWidth(DEBLJINA_ZRAKA);
    int znak = 1;
    const float yh = parametar * static_cast<double>(c);
    const float xh = apscisaKrive(yh);
    if (pravac == -1)
        znak = -znak;
    const float rx = -xh;
    const float ry = znak * static_cast<double>(yh);

    postaviBoju(MASLINASTI_ZRAK);
    // Incident ray F1 -> R.
    oznaci(Deo::ZRAK);
    glBegin(GL_LINES);
    duz(-c, 0.0f, rx, ry);
    glEnd();

    // Construction line R -> F2, dashed; stippling is on for this batch only.
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(PONAVLJANJE_CRTICA, SARA_CRTICA);
    oznaci(Deo::ISPREKIDANA);
    glBegin(GL_LINES);
    duz(rx, ry, c, 0.0f);
    glEnd();
    glDisable(GL_LINE_STIPPLE);

    // Reflected ray: the construction line shifted by R - F2 = (s, znak * yh), so
    // it runs from 2R - F2 to R, continuing the line from F2 beyond R. When the
    // shift is not finite (b1 = 0 makes xh infinite, both semi-axes 0 make it not
    // a number) neither translation is sent, since it would fill the modelview
    // matrix with infinities, and the segment it places is skipped with it; the
    // push and the pop stay, so the matrix is always left as it was found.
    const float s = -2.0 * c - (xh - static_cast<double>(c));
    glPushMatrix();
    if (std::isfinite(s) && std::isfinite(ry)) {
        glTranslatef(0.0f, ry, 0.0f);
        glTranslatef(s, 0.0f, 0.0f);
        oznaci(Deo::ODBIJENI_ZRAK);
        glBegin(GL_LINES);
        duz(rx, ry, c, 0.0f, s, ry);  // cut to the box where the shift puts it
        glEnd();
    }
    glPopMatrix();

    // The rays' lines as x = m y -+ c: through F1 and R, and through F2 and R.
    // Infinite and not-a-number slopes are printed as printf renders them.
    const double visina = znak * static_cast<double>(yh);
    const double nagibZraka = (c - static_cast<double>(xh)) / visina;
    const double nagibOdbijenog = -(xh + static_cast<double>(c)) / visina;
    ispisi("Jednacina zraka je:x = %f * y - %f\n", nagibZraka, static_cast<double>(c));
    ispisi("Jednacina odbijenog zraka je:x = %f * y + %f\n", nagibOdbijenog,
                static_cast<double>(c));
    ispisi("\n");
}

void crtajHiperbolu()
{
    // The point size is set whatever the figure: the parabola, drawn next, relies on it.
    glPointSize(1.0f);
    if (unos == 2)
        crtajScenu();
    postaviBoju(CRNA);
}
