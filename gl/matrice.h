// The matrices of the fixed-function pipeline, kept as GL keeps them (4 x 4,
// column-major, single precision) and built as GLU builds them, so that a
// recorded frame can be projected, or loaded into a real GL, to the same
// window positions the program's own frame has.
#ifndef GEOMETRIJA_MATRICE_H
#define GEOMETRIJA_MATRICE_H

#include <array>

using Matrica = std::array<float, 16>;          // element (red, kolona) at [kolona * 4 + red]
using MatricaD = std::array<double, 16>;        // as handed to glMultMatrixd

Matrica jedinicna();
// a * b, each element summed in float in the order GL's software path uses.
Matrica pomnozi(const Matrica& a, const Matrica& b);
// glMultMatrixd: the doubles rounded to float first.
Matrica pomnozi(const Matrica& a, const MatricaD& b);
// glTranslatef, and glTranslated, whose arguments GL rounds to float first.
void pomeri(Matrica& m, float x, float y, float z);

// What gluPerspective multiplies onto the current matrix; false when it
// multiplies nothing (no depth range, no field of view or no aspect ratio).
bool perspektiva(double vidnoPolje, double odnos, double blizu, double daleko, MatricaD& m);

// gluLookAt: the rotation it multiplies on (glMultMatrixf), computed in float
// as GLU computes it; the translation by minus the eye follows (glTranslated).
Matrica rotacijaKamere(double okoX, double okoY, double okoZ, double centarX, double centarY, double centarZ,
                       double goreX, double goreY, double goreZ);

// (x, y, z, 1) through the matrix, in double.
std::array<double, 4> primeni(const Matrica& m, double x, double y, double z);

// Clip coordinates of the vertex (x, y, z): projection * modelview * (x, y, z, 1).
std::array<double, 4> uIsecanje(const Matrica& projekcija, const Matrica& modelview, double x, double y,
                                double z);

// Window coordinates of a point in clip coordinates in front of the eye, in
// pixels from the viewport's (x, y, width, height) lower left corner upwards.
std::array<double, 2> uProzor(const int pogled[4], const std::array<double, 4>& c);

#endif
