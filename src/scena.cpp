// The scene parameters and the small drawing helpers every scene shares.
#include "scena.h"

#include "odsecanje.h"

#include <cmath>

float a, b;
float a1, b1;
float p;
float xtranslate, ytranslate;
int unos = demonstracija ? 3 : 0;
float ugao;
float parametar = demonstracija ? 1.0f : 0.0f;
int pravac;
// 3.14159 / 180 is formed in double and rounded once to float (bits 0x3C8EFA2D),
// a little off the float nearest pi / 180; the ellipse's angles depend on it.
const float RADIAN = 3.14159 / 180;

void tackaKrive(float x, float y)
{
    if (konacno(x, y))
        glVertex2f(x, y);
}

void tacka(float x, float y)
{
    if (konacno(x, y))
        glVertex3f(x, y, 0.0f);
}

// The renderer drops a finite segment whole once an end lies very far out
// (about 1e9 units), even where the segment crosses the picture. So a segment
// is cut to this box first: the views the pan can reach lie far inside it, so
// what is cut off never shows.
constexpr double GRANICA_DUZI = 1e6;

void duz(float x1, float y1, float x2, float y2, float pomakX, float pomakY)
{
    if (!konacno(x1, y1) || !konacno(x2, y2))
        return;
    // The ends where they land in the scene.
    const double sx1 = static_cast<double>(x1) + pomakX, sy1 = static_cast<double>(y1) + pomakY;
    const double sx2 = static_cast<double>(x2) + pomakX, sy2 = static_cast<double>(y2) + pomakY;
    double t0, t1;
    if (!odseciDuz(Okvir{-GRANICA_DUZI, GRANICA_DUZI, -GRANICA_DUZI, GRANICA_DUZI}, sx1, sy1, sx2, sy2, t0, t1))
        return;  // wholly outside the box
    // An end inside the box leaves its t as it was and is sent exactly as
    // given; a cut end is sent at its point on the box, back under the translation.
    const double dx = sx2 - sx1, dy = sy2 - sy1;
    const auto kraj = [&](bool unutra, float x, float y, double t) {
        if (unutra)
            glVertex3f(x, y, 0.0f);
        else
            glVertex3f(static_cast<float>(sx1 + t * dx - pomakX),
                       static_cast<float>(sy1 + t * dy - pomakY), 0.0f);
    };
    kraj(t0 == 0.0, x1, y1, t0);
    kraj(t1 == 1.0, x2, y2, t1);
}
