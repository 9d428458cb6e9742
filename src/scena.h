// Scene parameters: the one set of values that the console dialogue fills in
// and the drawing reads. Every stored value is a float, rounded once when it is
// stored; the arithmetic that produces it is done in double.
#ifndef GEOMETRIJA_SCENA_H
#define GEOMETRIJA_SCENA_H

#include "crtez.h"

#include <GL/glut.h>

extern float a, b;       // ellipse semi-axes along x and y
extern float a1, b1;     // hyperbola semi-axes along x and y
extern float p;          // parabola y^2 = 2 p x
extern float xtranslate, ytranslate;  // pan of the picture, in scene units
extern int unos;         // figure: 1 ellipse, 2 hyperbola, 3 parabola, else none
extern float ugao;       // ellipse ray angle, degrees
extern float parametar;  // places the ray on the hyperbola and the parabola
extern int pravac;       // -1 reflects below the x axis, anything else above
extern const float RADIAN;  // degrees to radians, the float nearest 3.14159 / 180

// The demonstration build shows one fixed parabola and never talks on the console.
#ifdef GEOMETRIJA_DEMO
constexpr bool demonstracija = true;
#else
constexpr bool demonstracija = false;
#endif

// Colours by role.
constexpr Boja CRNA{0.0f, 0.0f, 0.0f};             // curves, foci, axes, asymptotes
constexpr Boja MASLINASTI_ZRAK{0.5f, 0.5f, 0.0f};  // incident and reflected rays
constexpr Boja ZELENA_PRAVA{0.0f, 0.5f, 0.0f};     // ellipse tangent, parabola directrix

inline void postaviBoju(const Boja& boja)
{
    glColor3f(boja.crvena, boja.zelena, boja.plava);
}

// A curve sample or an end point can be infinite or not a number when the typed
// values make the geometry impossible (a square root of a negative number, a
// division by zero). Such vertices are never sent to OpenGL: they would show
// nothing anyway, and a software rasteriser must not be asked to clip them.
// A segment is sent only when both of its ends are finite, and cut to a box
// of +-1e6 scene units: ends inside it are sent exactly as given, a segment
// wholly outside not at all. A segment drawn under a translation names it in
// (pomakX, pomakY), so the box applies where the ends land in the scene.
void tackaKrive(float x, float y);                      // glVertex2f
void tacka(float x, float y);                           // glVertex3f, z = 0
void duz(float x1, float y1, float x2, float y2,        // two glVertex3f, z = 0
         float pomakX = 0.0f, float pomakY = 0.0f);

#endif
