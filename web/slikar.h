// The web page's painter: the recorded frame drawn with WebGL.
#ifndef GEOMETRIJA_SLIKAR_H
#define GEOMETRIJA_SLIKAR_H

// Every line width and point size the program sets, and the stipple factor,
// is drawn `puta` times as large from the next frame on: the canvas's pixels
// per CSS pixel, doubled for a projector. 1 draws them as the program asks.
void postaviMnozilacDebljine(float puta);

// The renderer's largest viewport, for the recorder to answer the program with.
void upoznajPlatno();

// The program's display, and its picture drawn on the canvas; the record is
// kept until the next frame (the page's sound reads it).
void prikaziSliku();

#endif
