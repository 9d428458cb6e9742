// The off-screen canvas: an OpenGL context drawing into a pixel buffer of
// Mesa's surfaceless EGL platform, so no X server, window or GPU is needed.
#ifndef GEOMETRIJA_SLIKA_PLATNO_H
#define GEOMETRIJA_SLIKA_PLATNO_H

#include <string>

// Makes a width x height canvas current, with the pixel format of the window
// that geometrija opens: 8 bits per colour, no multisampling, linear (not sRGB)
// colour, a compatibility context. False, with the reason in `greska`, when
// EGL or a fitting OpenGL configuration is not available. The real OpenGL's
// entry points are fetched from EGL then (pravi_gl.h).
bool otvoriPlatno(int sirina, int visina, std::string& greska);

void zatvoriPlatno();

#endif
