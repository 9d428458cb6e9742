// One frame drawn on the recorder and held to the rules every frame
// must keep, whatever the scene parameters: shared by the fuzz targets.
#ifndef GEOMETRIJA_FUZZ_PROVERA_SLIKE_H
#define GEOMETRIJA_FUZZ_PROVERA_SLIKE_H

#include "pocetna_scena.h"  // pocetnaScena(), between inputs

// Linking this file sends standard output to /dev/null before the first run
// (LLVMFuzzerInitialize): the fuzz targets check no printed text.

// Draws one frame as the window first does (reshape for 500 x 500, then
// display) on the recorder and checks it: the frame ends, it
// sends no more vertices than its figure can, every vertex and every
// translation of the scene is finite, no batch is left open or nested, black
// is current at the end and the model-view stack is as it was found. A broken
// rule is printed on standard error with the scene parameters and aborts, which
// the fuzzer reports together with the input. The worst vertex count of each
// figure is printed when the process ends.
void nacrtajIProveri();

#endif
