// The PNG's painter: the real OpenGL of the off-screen canvas, reached through
// entry points fetched at run time, never linked by name: geometrija-slika
// links the recorder (gl/), whose glBegin the shared drawing calls, so names
// of the real library linked beside it would clash.
#ifndef GEOMETRIJA_SLIKA_PRAVI_GL_H
#define GEOMETRIJA_SLIKA_PRAVI_GL_H

#include "snimac.h"

#include <string>
#include <vector>

// Fetches the entry points through `dohvati` (eglGetProcAddress); false, with
// the missing name in `greska`, when one is not there.
bool ucitajPraviGl(void* (*dohvati)(const char*), std::string& greska);

// The finished frame, batch by batch with the state each was recorded with,
// over the clear colour.
void naslikajUPraviGl(const snimac::Kadar& kadar);

// The current frame's pixels, 3 bytes (RGB) each, rows from the top down.
std::vector<unsigned char> procitajPiksele(int sirina, int visina);

#endif
