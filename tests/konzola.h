// Console and scene helpers for the unit tests.
#ifndef KONZOLA_H
#define KONZOLA_H

#include <functional>
#include <string>
#include <vector>

// Makes `text` the whole of standard input, for a dialogue to read.
void setInput(const std::string& text);

// What standard input still holds, read to its end.
std::string remainingInput();

// Runs `work` and returns what it printed on standard output.
std::string captureStdout(const std::function<void()>& work);

// For death tests: standard output goes to standard error, where EXPECT_EXIT
// can match it, and `work` runs.
void withStdoutOnStderr(const std::function<void()>& work);

#include "snimac_provera.h"

// The colours a frame must show, written out here rather than taken from the
// program, so a wrong colour there is caught.
const Boja CRNA_BOJA{0, 0, 0};
const Boja MASLINASTA{0.5f, 0.5f, 0};
const Boja ZELENA{0, 0.5f, 0};

// The GLUT and GL calls of start-up around the dialogue, which makes none: the
// window layer's watch, armed as soon as the window exists, and the fixed
// drawing state, set before the dialogue.
extern const std::vector<std::string> POKRETANJE;

// The translation a batch was drawn under, from its model-view matrix (the
// camera turns nothing in any frame the program draws), and a vertex where
// it lands in the scene, summed in float as the matrix holds it.
inline float pomakX(const snimac::Serija& s) { return s.modelview[12]; }
inline float pomakY(const snimac::Serija& s) { return s.modelview[13]; }
inline float scenaX(const snimac::Serija& s, const snimac::Teme& v) { return v.x + pomakX(s); }
inline float scenaY(const snimac::Serija& s, const snimac::Teme& v) { return v.y + pomakY(s); }

// The calls recorded so far, less the renderer's warm-up before the dialogue
// (every call between the fixed drawing state's last and the first callback).
std::vector<std::string> pozivBezZagrevanja();

// The native programs' start-up, as their entry runs it: the program's own
// sequence with the window layer's watch, on the recorder's GLUT (whose main
// loop returns at once).
void pokreniProgram(int& argc, char** argv);

// Every scene parameter back to its start value and the GL record cleared.
void resetScene();

// Draws one frame the way the window does: reshape for 500 x 500, then display.
void drawFrame();

#endif
