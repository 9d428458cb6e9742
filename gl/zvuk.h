// The picture as sound, an audio trace for a pupil who cannot see it: the
// curve, then the incident ray, then the reflected ray, each traced at one
// speed across the picture, with pitch following the height and the place
// between the ears following the position. One more painter of the finished
// record (snimac.h); geometrija-slika writes it as a WAV file, the web page
// plays it.
#ifndef GEOMETRIJA_ZVUK_H
#define GEOMETRIJA_ZVUK_H

#include "snimac.h"

#include <cstdint>
#include <vector>

namespace snimac {

constexpr int UZORAKA_U_SEKUNDI = 44100;

// The frame's sound, 16-bit stereo, left and right samples in turn. Pitch
// 220 Hz at the picture's bottom edge to 880 Hz at its top, 2 octaves evenly;
// equal-power panning from the left edge to the right. Only what the picture
// (each batch's viewport) shows is heard; a picture with neither curve nor
// ray is silent (no samples).
std::vector<std::int16_t> zvuk(const Kadar& kadar);

}  // namespace snimac

#endif
