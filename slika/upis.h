// The picture file: a PNG written so that no half-written file is ever left
// under the name asked for.
#ifndef GEOMETRIJA_SLIKA_UPIS_H
#define GEOMETRIJA_SLIKA_UPIS_H

#include <string>
#include <vector>

// Whether a file can be made at `putanja`: its folder exists and may be
// written to, and the name is not a folder. Checked before the dialogue, so a
// mistyped path is reported before any question; the writing itself can
// still fail later and says so then. False with the reason in `greska`.
bool mozeSeUpisati(const std::string& putanja, std::string& greska);

// Writes the RGB pixels (3 bytes each, rows from the top) as an 8-bit RGB PNG
// to a temporary file beside `putanja`, then renames it to `putanja`. On any
// failure the temporary file is removed and `putanja` is left as it was.
bool upisiPng(const std::string& putanja, int sirina, int visina, const std::vector<unsigned char>& rgb,
              std::string& greska);

#endif
