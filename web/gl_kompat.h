// What the page may change in the web GL layer (gl_kompat.cpp).
#ifndef GEOMETRIJA_GL_KOMPAT_H
#define GEOMETRIJA_GL_KOMPAT_H

// Every line width and point size the program sets, and the stipple factor,
// is drawn `puta` times as large from the next call on: the canvas's pixels
// per CSS pixel, doubled for a projector. 1 draws them as the program asks.
void postaviMnozilacDebljine(float puta);

#endif
