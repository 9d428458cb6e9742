// Smooth points and lines for the web page. WebGL has neither GL_POINT_SMOOTH
// nor GL_LINE_SMOOTH, and multisampling the whole canvas instead cost more
// than all the rest of a frame. So the page draws them as GL defines smoothing:
// each pixel takes the share of it that the point's disc or the line's
// rectangle covers as its alpha, and the blending the program set lays the
// colour over the picture with it.
#ifndef GEOMETRIJA_GLATKO_H
#define GEOMETRIJA_GLATKO_H

#include "snimac.h"

// Window coordinates, in pixels from the lower left corner of the window.
struct Prozorska {
    double x, y;
};

// A point or a segment to draw, in window coordinates, in the colour given.
void glatkaTacka(Prozorska p, const Boja& boja);
void glatkaDuz(Prozorska a, Prozorska b, const Boja& boja);

// Draw the points, or the segments, given since the last call, in that order:
// points `mera` pixels across, or segments `mera` pixels wide, in the viewport
// (x, y, width, height).
void nacrtajGlatkeTacke(const int pogled[4], float mera);
void nacrtajGlatkeDuzi(const int pogled[4], float mera);

#endif
