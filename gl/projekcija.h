// The one step from a recorded batch to what the picture shows, shared by the
// painters that draw the record themselves (the vector drawings' cairo, the
// web page's WebGL): every vertex through the batch's matrices and viewport
// into the picture's pixels, points as GL draws them and segments cut to the
// picture and to the space in front of the eye, with their dashes.
#ifndef GEOMETRIJA_PROJEKCIJA_H
#define GEOMETRIJA_PROJEKCIJA_H

#include "snimac.h"

#include <cmath>
#include <vector>

namespace snimac {

// Picture pixels: x to the right, y down from the top left corner.
struct TackaSlike {
    double x, y;
    Boja boja;
    Deo deo;
    bool posleNekonacne;  // a vertex that is not finite came between it and the point before
};

// The stipple along a segment, as dashes: lengths in pixels along the line,
// lit and unlit in turn starting lit, repeating from `pomak` pixels before
// the segment's (cut) start.
struct Crtice {
    std::vector<double> duzine;
    double pomak = 0;
};

struct DuzSlike {
    double x1, y1, x2, y2;  // already cut to the picture
    Boja boja;              // the second vertex's, as flat shading has it
    Deo deo;                // the first vertex's
    bool isprekidana;
    Crtice crtice;
};

struct SlikaSerije {
    float mera = 1;  // a point's size, or a segment's width, in pixels
    std::vector<TackaSlike> tacke;
    std::vector<DuzSlike> duzi;
};

// The batch in a picture of sirina x visina pixels, with every size, width and
// the stipple `mnozilac` times as large (a screen's device pixels, a
// projector's strokes; the stipple factor grows by whole steps, as GL's is
// whole). False when the batch draws in a way no painter draws (neither
// GL_POINTS nor GL_LINES): it must not be left out in silence.
bool projektuj(const Serija& serija, int sirina, int visina, double mnozilac, SlikaSerije& slika);

// Calls crtaj(x1, y1, x2, y2) for each lit piece of a segment.
template <typename Crtaj>
void zaSvakuCrticu(const DuzSlike& d, Crtaj&& crtaj)
{
    if (!d.isprekidana) {
        crtaj(d.x1, d.y1, d.x2, d.y2);
        return;
    }
    double perioda = 0;
    for (const double duzina : d.crtice.duzine)
        perioda += duzina;
    const double duzina = std::hypot(d.x2 - d.x1, d.y2 - d.y1);
    if (!(perioda > 0) || !(duzina > 0))
        return;
    const double ux = (d.x2 - d.x1) / duzina, uy = (d.y2 - d.y1) / duzina;
    for (double pocetak = -d.crtice.pomak; pocetak < duzina;) {
        for (size_t i = 0; i < d.crtice.duzine.size() && pocetak < duzina; ++i) {
            const double kraj = pocetak + d.crtice.duzine[i];
            const double s0 = pocetak > 0 ? pocetak : 0, s1 = kraj < duzina ? kraj : duzina;
            if (i % 2 == 0 && s0 < s1)
                crtaj(d.x1 + ux * s0, d.y1 + uy * s0, d.x1 + ux * s1, d.y1 + uy * s1);
            pocetak = kraj;
        }
    }
}

}  // namespace snimac

#endif
