// The parts of the picture (crtez.h) are for the painters that read a
// recorded frame; the window's real GL draws without them.
#include "crtez.h"

void oznaci(Deo) {}
