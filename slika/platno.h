// The off-screen canvas: an OpenGL context drawing into a pixel buffer of
// Mesa's surfaceless EGL platform, so no X server, window or GPU is needed.
#ifndef GEOMETRIJA_SLIKA_PLATNO_H
#define GEOMETRIJA_SLIKA_PLATNO_H

#include <string>
#include <vector>

// Makes a width x height canvas current, with the pixel format of the window
// that geometrija opens: 8 bits per colour, no multisampling, linear (not sRGB)
// colour, a compatibility context. False, with the reason in `greska`, when
// EGL or a fitting OpenGL configuration is not available.
bool otvoriPlatno(int sirina, int visina, std::string& greska);

// The canvas's colours, 3 bytes (RGB) a pixel, rows from the top down as an
// image file stores them (OpenGL hands them over from the bottom up).
std::vector<unsigned char> procitajPlatno();

void zatvoriPlatno();

#endif
