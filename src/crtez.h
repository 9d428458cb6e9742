// What the drawing says of itself beyond GL's calls: its colours, and which
// part of the scene the vertices it sends draw.
#ifndef GEOMETRIJA_CRTEZ_H
#define GEOMETRIJA_CRTEZ_H

#include <GL/glut.h>

struct Boja {
    GLfloat crvena, zelena, plava;
    bool operator==(const Boja& o) const { return crvena == o.crvena && zelena == o.zelena && plava == o.plava; }
};

// The parts of a picture. A painter that says the picture in words or in
// sound reads them; colours and drawing order may change, these do not.
enum class Deo : unsigned char {
    NISTA,        // sent before any part was named
    KRIVA,
    ZIZA,         // one batch holds both foci where a figure has two
    ZRAK,         // the incident ray, from a focus to the reflection point
    ODBIJENI_ZRAK,
    TANGENTA,
    ASIMPTOTA,
    STRANICA,     // a side of the hyperbola's rectangle
    ISPREKIDANA,  // the hyperbola's dashed line from the reflection point to a focus
    DIREKTRISA,
    OSE,
};

// The vertices sent from now on draw `deo`, as glColor3f sets the colour of
// those that follow (a display list's vertices take it when the list is
// called). The window's GL has no such state: there it does nothing.
void oznaci(Deo deo);

#endif
