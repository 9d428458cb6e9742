// A recording stand-in for the GL, GLU and GLUT functions the program calls.
// The unit tests link the program's routines against it instead of the real
// libraries: every call is logged with its arguments, the state that matters
// for the picture (colour, point size, line width, stipple, the translation on
// the model-view matrix) is tracked, and each glBegin/glEnd pair becomes a
// Batch holding its vertices with the state they were drawn with. A display
// list records the calls compiled into it and replays them when it is called.
// The whole matrices are kept too, as GL computes them, so that
// geometrija-slika can project a recorded frame, and every call that takes
// effect can be handed on as it happens (proslediPozive), to a real GL.
#ifndef GL_RECORDER_H
#define GL_RECORDER_H

#include "matrice.h"

#include <GL/glut.h>

#include <map>
#include <string>
#include <vector>

namespace rec {

struct Color {
    float r = 1, g = 1, b = 1;
    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b; }
};

struct Vertex {
    float x = 0, y = 0, z = 0;
    int dims = 3;       // 2 for glVertex2f, 3 for glVertex3f
    Color color;        // current colour when the vertex was sent
    float tx = 0, ty = 0, tz = 0;  // model-view translation in force (glTranslatef sums)
    // Position after the recorded translations.
    float sceneX() const { return x + tx; }
    float sceneY() const { return y + ty; }
};

struct Batch {
    GLenum mode = 0;
    std::vector<Vertex> v;
    float pointSize = 1, lineWidth = 1;
    bool stipple = false;
    GLint stippleFactor = 1;
    GLushort stipplePattern = 0xFFFF;
    int fromList = 0;   // the display list that drew it, 0 in immediate mode
    size_t callIndex = 0;  // position of its glBegin in the call log
    // In force at glBegin; GL allows no change to them inside a batch.
    Matrica modelview = jedinicna(), projection = jedinicna();
    GLint viewport[4] = {0, 0, 0, 0};
};

struct Call {
    std::string name;
    std::vector<double> args;
    std::string text;   // the string argument (glutCreateWindow)
    int list = 0;       // nonzero when compiled into that display list
};

struct Glut {
    int initArgc = -1;
    std::vector<std::string> initArgv;
    int displayMode = -1;
    int width = -1, height = -1, posX = -1, posY = -1;
    std::string title;
    void (*reshape)(int, int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*display)() = nullptr;
    int postRedisplays = 0;
    int swaps = 0;
    int mainLoops = 0;
};

// GL_MAX_VIEWPORT_DIMS on both sides, as Mesa's llvmpipe reports it.
constexpr GLint NAJVECI_POGLED = 16384;

// The whole record since the last reset().
const std::vector<Call>& calls();
const std::vector<Batch>& batches();
const Glut& glut();
Color currentColor();
float currentPointSize();
float currentLineWidth();
bool enabled(GLenum cap);
GLenum matrixMode();
int modelviewDepth();              // pushes minus pops
void translation(float& x, float& y, float& z);  // current model-view translation

// Forget everything and return to the GL's initial state.
void reset();

// Counting only, for runs over very many frames: reset(), then until the next
// reset() the vertex, colour and glBegin/glEnd calls are neither logged nor kept
// as batches, only counted and checked, which makes a frame cheap. Every other
// call is logged and tracked as usual. A display list keeps the counts of what
// was compiled into it and adds them when it is called, with the last colour
// it set (the order of that colour among the list's other calls is not kept).
struct Counts {
    size_t vertices = 0;      // sent between glBegin and glEnd
    size_t nonFinite = 0;     // of those, with a coordinate infinite or not a number
    size_t outsideBatch = 0;  // sent outside glBegin/glEnd
    size_t misnested = 0;     // glBegin inside a batch, glEnd outside one, a list ending inside one
};
void countOnly();
const Counts& counts();  // since countOnly()
bool inBatch();

// Hands every call that takes effect to `f` as it takes effect: a display
// list's calls when the list is called (not when it is compiled), glNewList,
// glEndList and glCallList themselves too. nullptr stops it; reset() keeps it.
void proslediPozive(void (*f)(const Call&));

// The clear colour last set (red, green, blue, alpha).
const float* clearColor();

// Convenience queries.
std::vector<std::string> callNames();
std::vector<Batch> batchesOf(GLenum mode);
size_t count(const std::string& name);     // calls of one function
std::vector<Call> callsOf(const std::string& name);

}  // namespace rec

#endif
