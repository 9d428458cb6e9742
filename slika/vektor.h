// The recorded frame as a vector drawing (SVG or PDF), written with cairo.
#ifndef GEOMETRIJA_SLIKA_VEKTOR_H
#define GEOMETRIJA_SLIKA_VEKTOR_H

#include <cstddef>
#include <string>

enum class VrstaCrteza { SVG, PDF };

// Draws the frame the recorder holds (its batches, their matrices and
// viewport, the clear colour) as the window shows it, in a picture of
// sirina x visina pixels at 96 pixels an inch, and writes it to the open file
// `fd`; `putanja` counts the paths drawn. False with the reason in `greska`
// when writing fails.
bool upisiCrtez(VrstaCrteza vrsta, int sirina, int visina, int fd, std::size_t& putanja,
                std::string& greska);

#endif
