// Segments cut to a box, for every drawing path: the scene's far segments
// (scena.cpp), the web pages' lines and geometrija-slika's
// vector pictures cut their segments with these two routines.
#ifndef GEOMETRIJA_ODSECANJE_H
#define GEOMETRIJA_ODSECANJE_H

#include <cmath>

// Whether every number is finite: neither infinite nor not a number.
template <typename... T>
bool konacno(T... x)
{
    return (std::isfinite(x) && ...);
}

struct Okvir {
    double levo, desno, dole, gore;
};

// The part of the segment from (x1, y1) to (x2, y2) inside the box, as the
// range [t0, t1] of t along P1 + t (P2 - P1) (Liang and Barsky); false when
// the segment misses the box. An end inside the box keeps its t exactly
// (0 or 1), so a caller can send that end as given.
bool odseciDuz(const Okvir& okvir, double x1, double y1, double x2, double y2, double& t0, double& t1);

// A segment in clip coordinates (x, y, z, w), with the part behind the eye
// (w below a small bound) cut off, so that dividing by w never flips or
// explodes a point; false when the whole segment lies behind the eye.
bool odseciIspredOka(double a[4], double b[4]);

#endif
