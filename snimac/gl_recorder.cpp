#include "gl_recorder.h"
#include "liste.h"
#include "prozor.h"

#include <algorithm>
#include <cmath>

namespace rec {
namespace {

struct State {
    std::vector<Call> calls;
    std::vector<Batch> batches;
    Glut glut;
    Color color;
    float pointSize = 1, lineWidth = 1;
    std::map<GLenum, bool> caps;
    GLint stippleFactor = 1;
    GLushort stipplePattern = 0xFFFF;
    GLenum matrixMode = GL_MODELVIEW;
    struct T { float x = 0, y = 0, z = 0; };
    std::vector<T> modelview{T{}};
    // The whole matrices, as GL keeps them.
    std::vector<Matrica> modelviewMatrices{jedinicna()}, projectionMatrices{jedinicna()};
    Matrica other = jedinicna();  // texture and colour matrices: kept apart, unused
    GLint viewport[4] = {0, 0, 0, 0};
    float clearColor[4] = {0, 0, 0, 0};
    bool inBatch = false;
    int compiling = 0;     // list being compiled, 0 when none
    int replaying = 0;     // list being replayed, 0 when none
    DisplayListe<Call> lists;
    // Counting only (countOnly()): the frame's counts, and each list's.
    struct Tally {
        Counts counts;
        bool inBatch = false;
        bool colorSet = false;
        Color color;
    };
    bool counting = false;
    Tally frame;
    std::map<int, Tally> listTallies;
};

State& st()
{
    static State s;
    return s;
}

void (*forward)(const Call&) = nullptr;  // proslediPozive; outlives reset()

Matrica& currentMatrix()
{
    State& s = st();
    if (s.matrixMode == GL_MODELVIEW)
        return s.modelviewMatrices.back();
    if (s.matrixMode == GL_PROJECTION)
        return s.projectionMatrices.back();
    return s.other;
}

std::vector<Matrica>* currentStack()
{
    State& s = st();
    if (s.matrixMode == GL_MODELVIEW)
        return &s.modelviewMatrices;
    if (s.matrixMode == GL_PROJECTION)
        return &s.projectionMatrices;
    return nullptr;
}

void execute(const Call& c);

// Counting only: what a vertex, colour or batch call adds to, the list being
// compiled or else the frame.
State::Tally& tally()
{
    State& s = st();
    return s.compiling ? s.listTallies[s.compiling] : s.frame;
}

void countVertex(float x, float y, float z)
{
    State::Tally& t = tally();
    if (!t.inBatch) {
        ++t.counts.outsideBatch;
        return;
    }
    ++t.counts.vertices;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
        ++t.counts.nonFinite;
}

void countBatch(bool begin)
{
    State::Tally& t = tally();
    if (t.inBatch == begin)
        ++t.counts.misnested;
    t.inBatch = begin;
}

void countColor(const Color& c)
{
    State& s = st();
    if (s.compiling) {
        State::Tally& t = s.listTallies[s.compiling];
        t.colorSet = true;
        t.color = c;
    } else {
        s.color = c;
    }
}

void add(Counts& to, const Counts& from)
{
    to.vertices += from.vertices;
    to.nonFinite += from.nonFinite;
    to.outsideBatch += from.outsideBatch;
    to.misnested += from.misnested;
}

// Logs a call; executes it unless a display list is being compiled.
void record(const char* name, std::vector<double> args, std::string text = {})
{
    State& s = st();
    Call c{name, std::move(args), std::move(text), s.compiling ? s.compiling : s.replaying};
    const bool listControl = c.name == "glNewList" || c.name == "glEndList";
    s.calls.push_back(c);
    if (!listControl && s.lists.snimi(c))
        return;
    execute(c);
}

void execute(const Call& c)
{
    State& s = st();
    if (forward)
        forward(c);
    const auto& a = c.args;
    const std::string& n = c.name;
    if (n == "glBegin") {
        Batch b;
        b.mode = static_cast<GLenum>(a[0]);
        b.pointSize = s.pointSize;
        b.lineWidth = s.lineWidth;
        b.stipple = s.caps[GL_LINE_STIPPLE];
        b.stippleFactor = s.stippleFactor;
        b.stipplePattern = s.stipplePattern;
        b.fromList = s.replaying;
        b.callIndex = s.calls.size() - 1;
        b.modelview = s.modelviewMatrices.back();
        b.projection = s.projectionMatrices.back();
        std::copy(s.viewport, s.viewport + 4, b.viewport);
        s.batches.push_back(b);
        s.inBatch = true;
    } else if (n == "glEnd") {
        s.inBatch = false;
    } else if (n == "glVertex2f" || n == "glVertex3f") {
        Vertex v;
        v.x = static_cast<float>(a[0]);
        v.y = static_cast<float>(a[1]);
        v.z = a.size() > 2 ? static_cast<float>(a[2]) : 0.0f;
        v.dims = static_cast<int>(a.size());
        v.color = s.color;
        v.tx = s.modelview.back().x;
        v.ty = s.modelview.back().y;
        v.tz = s.modelview.back().z;
        if (s.inBatch && !s.batches.empty())
            s.batches.back().v.push_back(v);
    } else if (n == "glColor3f") {
        s.color = Color{static_cast<float>(a[0]), static_cast<float>(a[1]), static_cast<float>(a[2])};
    } else if (n == "glPointSize") {
        s.pointSize = static_cast<float>(a[0]);
    } else if (n == "glLineWidth") {
        s.lineWidth = static_cast<float>(a[0]);
    } else if (n == "glEnable") {
        s.caps[static_cast<GLenum>(a[0])] = true;
    } else if (n == "glDisable") {
        s.caps[static_cast<GLenum>(a[0])] = false;
    } else if (n == "glLineStipple") {
        s.stippleFactor = static_cast<GLint>(a[0]);
        s.stipplePattern = static_cast<GLushort>(a[1]);
    } else if (n == "glMatrixMode") {
        s.matrixMode = static_cast<GLenum>(a[0]);
    } else if (n == "glLoadIdentity") {
        currentMatrix() = jedinicna();
        if (s.matrixMode == GL_MODELVIEW)
            s.modelview.back() = State::T{};
    } else if (n == "glPushMatrix") {
        if (std::vector<Matrica>* stack = currentStack())
            stack->push_back(stack->back());
        if (s.matrixMode == GL_MODELVIEW)
            s.modelview.push_back(s.modelview.back());
    } else if (n == "glPopMatrix") {
        if (std::vector<Matrica>* stack = currentStack(); stack && stack->size() > 1)
            stack->pop_back();
        if (s.matrixMode == GL_MODELVIEW && s.modelview.size() > 1)
            s.modelview.pop_back();
    } else if (n == "glViewport") {
        for (int i = 0; i < 4; ++i)
            s.viewport[i] = static_cast<GLint>(a[static_cast<size_t>(i)]);
    } else if (n == "glClearColor") {
        for (int i = 0; i < 4; ++i)
            s.clearColor[i] = static_cast<float>(a[static_cast<size_t>(i)]);
    } else if (n == "gluPerspective") {
        MatricaD m;
        if (perspektiva(a[0], a[1], a[2], a[3], m))
            currentMatrix() = pomnozi(currentMatrix(), m);
    } else if (n == "gluLookAt") {
        Matrica& m = currentMatrix();
        m = pomnozi(m, rotacijaKamere(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]));
        pomeri(m, static_cast<float>(-a[0]), static_cast<float>(-a[1]), static_cast<float>(-a[2]));
    } else if (n == "glTranslatef") {
        pomeri(currentMatrix(), static_cast<float>(a[0]), static_cast<float>(a[1]), static_cast<float>(a[2]));
        if (s.matrixMode == GL_MODELVIEW) {
            // Sums in float, as the single-precision matrix would hold them.
            s.modelview.back().x += static_cast<float>(a[0]);
            s.modelview.back().y += static_cast<float>(a[1]);
            s.modelview.back().z += static_cast<float>(a[2]);
        }
    } else if (n == "glCallList") {
        const int list = static_cast<int>(a[0]);
        if (s.counting) {
            const State::Tally& t = s.listTallies[list];
            add(s.frame.counts, t.counts);
            if (t.colorSet)
                s.color = t.color;
        }
        const int outer = s.replaying;
        s.replaying = list;
        s.lists.pozovi(static_cast<GLuint>(list), [&](const Call& inner) {
            Call logged = inner;
            logged.list = list;
            s.calls.push_back(logged);
            execute(logged);
        });
        s.replaying = outer;
    } else if (n == "glNewList") {
        s.compiling = static_cast<int>(a[0]);
        s.lists.pocni(static_cast<GLuint>(a[0]), static_cast<GLenum>(a[1]));
        s.listTallies[s.compiling] = State::Tally{};
    } else if (n == "glEndList") {
        if (s.counting && s.compiling && s.listTallies[s.compiling].inBatch)
            ++s.listTallies[s.compiling].counts.misnested;
        s.compiling = 0;
        s.lists.zavrsi();
    }
}

double d(float f) { return static_cast<double>(f); }

}  // namespace

const std::vector<Call>& calls() { return st().calls; }
const std::vector<Batch>& batches() { return st().batches; }
const Glut& glut() { return st().glut; }
Color currentColor() { return st().color; }
float currentPointSize() { return st().pointSize; }
float currentLineWidth() { return st().lineWidth; }
bool enabled(GLenum cap) { return st().caps[cap]; }
GLenum matrixMode() { return st().matrixMode; }
int modelviewDepth() { return static_cast<int>(st().modelview.size()) - 1; }

void translation(float& x, float& y, float& z)
{
    x = st().modelview.back().x;
    y = st().modelview.back().y;
    z = st().modelview.back().z;
}

void reset() { st() = State{}; }

void proslediPozive(void (*f)(const Call&)) { forward = f; }

const float* clearColor() { return st().clearColor; }

void countOnly()
{
    reset();
    st().counting = true;
}

const Counts& counts() { return st().frame.counts; }
bool inBatch() { return st().counting ? st().frame.inBatch : st().inBatch; }

std::vector<std::string> callNames()
{
    std::vector<std::string> names;
    for (const Call& c : st().calls)
        names.push_back(c.name);
    return names;
}

std::vector<Batch> batchesOf(GLenum mode)
{
    std::vector<Batch> out;
    for (const Batch& b : st().batches)
        if (b.mode == mode)
            out.push_back(b);
    return out;
}

size_t count(const std::string& name)
{
    return static_cast<size_t>(std::count_if(st().calls.begin(), st().calls.end(),
                                             [&](const Call& c) { return c.name == name; }));
}

std::vector<Call> callsOf(const std::string& name)
{
    std::vector<Call> out;
    for (const Call& c : st().calls)
        if (c.name == name)
            out.push_back(c);
    return out;
}

}  // namespace rec

using rec::d;

// ---- GL ----
extern "C" {

// The calls a frame makes by the thousand are only counted in counting mode.
void glBegin(GLenum mode)
{
    if (rec::st().counting)
        return rec::countBatch(true);
    rec::record("glBegin", {d(0) + mode});
}
void glEnd()
{
    if (rec::st().counting)
        return rec::countBatch(false);
    rec::record("glEnd", {});
}
void glVertex2f(GLfloat x, GLfloat y)
{
    if (rec::st().counting)
        return rec::countVertex(x, y, 0.0f);
    rec::record("glVertex2f", {d(x), d(y)});
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    if (rec::st().counting)
        return rec::countVertex(x, y, z);
    rec::record("glVertex3f", {d(x), d(y), d(z)});
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b)
{
    if (rec::st().counting)
        return rec::countColor(rec::Color{r, g, b});
    rec::record("glColor3f", {d(r), d(g), d(b)});
}
void glPointSize(GLfloat size) { rec::record("glPointSize", {d(size)}); }
void glLineWidth(GLfloat width) { rec::record("glLineWidth", {d(width)}); }
void glEnable(GLenum cap) { rec::record("glEnable", {d(0) + cap}); }
void glDisable(GLenum cap) { rec::record("glDisable", {d(0) + cap}); }
void glLineStipple(GLint factor, GLushort pattern) { rec::record("glLineStipple", {d(0) + factor, d(0) + pattern}); }
void glHint(GLenum target, GLenum mode) { rec::record("glHint", {d(0) + target, d(0) + mode}); }
void glBlendFunc(GLenum sfactor, GLenum dfactor) { rec::record("glBlendFunc", {d(0) + sfactor, d(0) + dfactor}); }
void glClear(GLbitfield mask) { rec::record("glClear", {d(0) + mask}); }
void glFinish() { rec::record("glFinish", {}); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { rec::record("glClearColor", {d(r), d(g), d(b), d(a)}); }
void glGetIntegerv(GLenum pname, GLint* params)
{
    rec::record("glGetIntegerv", {d(0) + pname});
    if (pname == GL_MAX_VIEWPORT_DIMS)
        params[0] = params[1] = rec::NAJVECI_POGLED;
}
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { rec::record("glViewport", {d(0) + x, d(0) + y, d(0) + w, d(0) + h}); }
void glMatrixMode(GLenum mode) { rec::record("glMatrixMode", {d(0) + mode}); }
void glLoadIdentity() { rec::record("glLoadIdentity", {}); }
void glPushMatrix() { rec::record("glPushMatrix", {}); }
void glPopMatrix() { rec::record("glPopMatrix", {}); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { rec::record("glTranslatef", {d(x), d(y), d(z)}); }
void glNewList(GLuint list, GLenum mode) { rec::record("glNewList", {d(0) + list, d(0) + mode}); }
void glEndList() { rec::record("glEndList", {}); }
void glCallList(GLuint list) { rec::record("glCallList", {d(0) + list}); }

// ---- GLU ----
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    rec::record("gluPerspective", {fovy, aspect, zNear, zFar});
}
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
               GLdouble ux, GLdouble uy, GLdouble uz)
{
    rec::record("gluLookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz});
}

// ---- GLUT ----
void glutInit(int* argc, char** argv)
{
    rec::Glut& g = rec::st().glut;
    g.initArgc = *argc;
    g.initArgv.assign(argv, argv + *argc);
    rec::record("glutInit", {d(0) + *argc});
}
void glutInitDisplayMode(unsigned int mode)
{
    rec::st().glut.displayMode = static_cast<int>(mode);
    rec::record("glutInitDisplayMode", {d(0) + mode});
}
void glutInitWindowSize(int w, int h)
{
    rec::st().glut.width = w;
    rec::st().glut.height = h;
    rec::record("glutInitWindowSize", {d(0) + w, d(0) + h});
}
void glutInitWindowPosition(int x, int y)
{
    rec::st().glut.posX = x;
    rec::st().glut.posY = y;
    rec::record("glutInitWindowPosition", {d(0) + x, d(0) + y});
}
int glutCreateWindow(const char* title)
{
    rec::st().glut.title = title;
    rec::record("glutCreateWindow", {}, title);
    return 1;
}
void glutReshapeFunc(void (*f)(int, int))
{
    rec::st().glut.reshape = f;
    rec::record("glutReshapeFunc", {});
}
void glutKeyboardFunc(void (*f)(unsigned char, int, int))
{
    rec::st().glut.keyboard = f;
    rec::record("glutKeyboardFunc", {});
}
void glutDisplayFunc(void (*f)())
{
    rec::st().glut.display = f;
    rec::record("glutDisplayFunc", {});
}
void glutReshapeWindow(int w, int h) { rec::record("glutReshapeWindow", {d(0) + w, d(0) + h}); }
void glutPostRedisplay()
{
    ++rec::st().glut.postRedisplays;
    rec::record("glutPostRedisplay", {});
}
void glutSwapBuffers()
{
    ++rec::st().glut.swaps;
    rec::record("glutSwapBuffers", {});
}
void glutMainLoop()
{
    // The real loop never returns; the stand-in returns at once, so a test can
    // drive the registered callbacks itself.
    ++rec::st().glut.mainLoops;
    rec::record("glutMainLoop", {});
}

}  // extern "C"

// The window system's layer of the native programs, logged like the calls above.
void pratiNestanakProzora() { rec::record("pratiNestanakProzora", {}); }
