// The scene parameters and the small drawing helpers every scene shares.
#include "scena.h"

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

static bool konacno(float x, float y)
{
    return std::isfinite(x) && std::isfinite(y);
}

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

void duz(float x1, float y1, float x2, float y2)
{
    if (konacno(x1, y1) && konacno(x2, y2)) {
        glVertex3f(x1, y1, 0.0f);
        glVertex3f(x2, y2, 0.0f);
    }
}
