// The parts of OpenGL 1.x that the program draws with and that WebGL, through
// Emscripten's legacy GL emulation, lacks or gets wrong. The program's calls of
// each entry below reach __wrap_<entry> (the link wraps them, see
// CMakeLists.txt); __real_<entry> is the emulation's own.
//
//   display lists   the emulation has none: recorded here and replayed;
//   glLineStipple   the emulation has none: dashes cut here along the line on screen;
//   smoothing       WebGL has none and rejects its hints: every point and line
//                   is captured here and drawn smooth by the page's own
//                   shaders (glatko.cpp), at any width and size (WebGL draws
//                   lines 1 pixel wide); the program always turns smoothing on;
//   thickness       the page may scale every width and point size (and the
//                   stipple with them): for a screen with more than one pixel
//                   per CSS pixel, and doubled for a projector;
//   gluLookAt       the emulation's leaves the matrix as it was: built here.
#include "gl_kompat.h"
#include "glatko.h"
#include "liste.h"
#include "matrice.h"
#include "odsecanje.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

extern "C" {
void __real_glBegin(GLenum mode);
void __real_glEnd();
void __real_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void __real_glColor3f(GLfloat r, GLfloat g, GLfloat b);
void __real_glEnable(GLenum cap);
void __real_glDisable(GLenum cap);
void __real_glHint(GLenum target, GLenum mode);
void __real_glMatrixMode(GLenum mode);
void __real_glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void __real_glPushMatrix();
void __real_glPopMatrix();
void __real_glutSwapBuffers();
}

namespace {

// ---- Display lists -------------------------------------------------------
// One recorded call. Every entry of this file that GL allows in a list is
// recorded while a list is being compiled.
enum class Vrsta {
    BEGIN, END, VERTEX, BOJA, DEBLJINA, VELICINA_TACKE, UKLJUCI, ISKLJUCI,
    SARA, REZIM_MATRICE, POMERAJ, GURNI, VRATI, LISTA
};
struct Naredba {
    Vrsta vrsta;
    GLfloat x = 0, y = 0, z = 0;
    GLuint broj = 0;  // enum, list name or stipple factor
    GLushort sara = 0;
};

DisplayListe<Naredba> liste;      // the lists, as every GL stand-in keeps them

// Records the call while a list is compiled; true when it must not run now.
bool snimi(const Naredba& naredba)
{
    return liste.snimi(naredba);
}

// ---- Points and lines: size, width and stipple ----------------------------
struct Tacka {
    GLfloat x, y, z;
    GLfloat boja[3];  // the colour current at the vertex
};

// What the program asked for, and what is drawn: times `mnozilac`, which the
// page sets (postaviMnozilacDebljine). At 1 both are the same.
GLfloat mnozilac = 1.0f;
GLfloat trazenaDebljina = 1.0f;
GLfloat trazenaTacka = 1.0f;
GLint trazenoPonavljanje = 1;
GLfloat debljina = 1.0f;
GLfloat velicinaTacke = 1.0f;
bool saraUkljucena = false;
GLint ponavljanje = 1;
GLushort sara = 0xFFFF;
GLfloat boja[3] = {1.0f, 1.0f, 1.0f};
bool hvataSe = false;  // inside glBegin(GL_POINTS) or glBegin(GL_LINES): this file draws
GLenum hvataniNacin = GL_POINTS;
std::vector<Tacka> temena;

// The lit runs of the stipple pattern within one period, in pixels: bit i
// (lowest first) covers pixels i * factor up to (i + 1) * factor.
std::vector<std::pair<int, int>> osvetljeno()
{
    std::vector<std::pair<int, int>> delovi;
    for (int bit = 0; bit < 16; ++bit) {
        if (!(sara >> bit & 1))
            continue;
        const int od = bit * ponavljanje, doKraja = (bit + 1) * ponavljanje;
        if (!delovi.empty() && delovi.back().second == od)
            delovi.back().second = doKraja;
        else
            delovi.push_back({od, doKraja});
    }
    return delovi;
}

// The part of the segment a + t (b - a) that can touch the viewport widened by
// a margin, as the range [od, do] of t (Liang and Barsky); false when none.
bool uVidnomPolju(const GLint vp[4], Prozorska a, Prozorska b, double& od, double& doKraja)
{
    const double rub = debljina + 2;
    const Okvir vidno{vp[0] - rub, vp[0] + vp[2] + rub, vp[1] - rub, vp[1] + vp[3] + rub};
    return odseciDuz(vidno, a.x, a.y, b.x, b.y, od, doKraja) && od < doKraja;
}

// One segment of GL_LINES in window pixels. The stipple counts pixels along the
// major axis of the line, as GL rasterises it, and starts again with each
// segment of GL_LINES. Only the part near the viewport is drawn: a typed value
// can put an end point millions of pixels away, and cutting dashes along all of
// that would never end.
void duzUProzoru(const GLint vp[4], Prozorska a, Prozorska b, const GLfloat boja[3])
{
    double od, doKraja;
    if (!uVidnomPolju(vp, a, b, od, doKraja))
        return;
    const auto tackaNa = [&](double t) {
        return Prozorska{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
    };
    if (!saraUkljucena) {
        glatkaDuz(tackaNa(od), tackaNa(doKraja), boja);
        return;
    }
    const double glavna = std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y));
    if (glavna == 0)
        return;
    // In pixels from a along the major axis: the visible part, and the periods over it.
    const double vidljivoOd = od * glavna, vidljivoDo = doKraja * glavna;
    const int perioda = 16 * ponavljanje;
    const double prvaPerioda = std::floor(vidljivoOd / perioda) * perioda;
    const auto delovi = osvetljeno();
    const long brojPerioda = static_cast<long>(std::ceil((vidljivoDo - prvaPerioda) / perioda));
    for (long k = 0; k < brojPerioda; ++k) {
        const double pocetak = prvaPerioda + static_cast<double>(k) * perioda;
        for (const auto& [svetlo, tama] : delovi) {
            const double s0 = std::max(pocetak + svetlo, vidljivoOd);
            const double s1 = std::min(pocetak + tama, vidljivoDo);
            if (s0 < s1)
                glatkaDuz(tackaNa(s0 / glavna), tackaNa(s1 / glavna), boja);
        }
    }
}

// The matrices and the viewport the captured vertices go through.
struct Pogled {
    Matrica mv, pm;
    GLint vp[4];
    Pogled()
    {
        glGetFloatv(GL_MODELVIEW_MATRIX, mv.data());
        glGetFloatv(GL_PROJECTION_MATRIX, pm.data());
        glGetIntegerv(GL_VIEWPORT, vp);
    }
    Prozorska prozorska(const std::array<double, 4>& c) const
    {
        const std::array<double, 2> p = uProzor(vp, c);
        return Prozorska{p[0], p[1]};
    }
};

// A point whose centre lies outside the view volume is not drawn, as in GL.
void nacrtajUhvaceneTacke()
{
    const Pogled pogled;
    for (const Tacka& t : temena) {
        const std::array<double, 4> c = uIsecanje(pogled.pm, pogled.mv, t.x, t.y, t.z);
        if (std::fabs(c[0]) <= c[3] && std::fabs(c[1]) <= c[3] && std::fabs(c[2]) <= c[3])
            glatkaTacka(pogled.prozorska(c), t.boja);
    }
    nacrtajGlatkeTacke(pogled.vp, velicinaTacke);
}

void nacrtajUhvaceneLinije()
{
    const Pogled pogled;
    for (size_t i = 0; i + 1 < temena.size(); i += 2) {
        const Tacka& t0 = temena[i];
        const Tacka& t1 = temena[i + 1];
        std::array<double, 4> a = uIsecanje(pogled.pm, pogled.mv, t0.x, t0.y, t0.z);
        std::array<double, 4> b = uIsecanje(pogled.pm, pogled.mv, t1.x, t1.y, t1.z);
        if (!odseciIspredOka(a.data(), b.data()))  // the part behind the eye would flip
            continue;
        // The segment takes the colour of its second vertex, as flat shading would.
        duzUProzoru(pogled.vp, pogled.prozorska(a), pogled.prozorska(b), t1.boja);
    }
    nacrtajGlatkeDuzi(pogled.vp, debljina);
}

void teme(GLfloat x, GLfloat y, GLfloat z)
{
    temena.push_back({x, y, z, {boja[0], boja[1], boja[2]}});
}

// The drawn width, point size and stipple factor from the requested ones. The
// dashes grow with the lines, so a dashed line keeps its look; the factor
// stays whole, as GL's is.
void primeniMnozilac()
{
    debljina = trazenaDebljina * mnozilac;
    velicinaTacke = trazenaTacka * mnozilac;
    ponavljanje = trazenoPonavljanje * std::max(1L, std::lround(mnozilac));
}

}  // namespace

void postaviMnozilacDebljine(float puta)
{
    mnozilac = puta > 0 && std::isfinite(puta) ? puta : 1.0f;
    primeniMnozilac();
}

extern "C" {

// ---- Display lists -------------------------------------------------------

void glNewList(GLuint list, GLenum mode)
{
    liste.pocni(list, mode);
}

void glEndList()
{
    liste.zavrsi();
}

void __wrap_glBegin(GLenum mode);
void __wrap_glEnd();
void __wrap_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void __wrap_glColor3f(GLfloat r, GLfloat g, GLfloat b);
void __wrap_glLineWidth(GLfloat width);
void __wrap_glPointSize(GLfloat size);
void __wrap_glEnable(GLenum cap);
void __wrap_glDisable(GLenum cap);
void __wrap_glLineStipple(GLint factor, GLushort pattern);
void __wrap_glMatrixMode(GLenum mode);
void __wrap_glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void __wrap_glPushMatrix();
void __wrap_glPopMatrix();

void glCallList(GLuint list)
{
    if (snimi({Vrsta::LISTA, 0, 0, 0, list}))
        return;
    liste.pozovi(list, [](const Naredba& n) {
        switch (n.vrsta) {
        case Vrsta::BEGIN: __wrap_glBegin(n.broj); break;
        case Vrsta::END: __wrap_glEnd(); break;
        case Vrsta::VERTEX: __wrap_glVertex3f(n.x, n.y, n.z); break;
        case Vrsta::BOJA: __wrap_glColor3f(n.x, n.y, n.z); break;
        case Vrsta::DEBLJINA: __wrap_glLineWidth(n.x); break;
        case Vrsta::VELICINA_TACKE: __wrap_glPointSize(n.x); break;
        case Vrsta::UKLJUCI: __wrap_glEnable(n.broj); break;
        case Vrsta::ISKLJUCI: __wrap_glDisable(n.broj); break;
        case Vrsta::SARA: __wrap_glLineStipple(static_cast<GLint>(n.broj), n.sara); break;
        case Vrsta::REZIM_MATRICE: __wrap_glMatrixMode(n.broj); break;
        case Vrsta::POMERAJ: __wrap_glTranslatef(n.x, n.y, n.z); break;
        case Vrsta::GURNI: __wrap_glPushMatrix(); break;
        case Vrsta::VRATI: __wrap_glPopMatrix(); break;
        case Vrsta::LISTA: glCallList(n.broj); break;
        }
    });
}

// ---- Immediate mode, lines captured when they need this file -------------

void __wrap_glBegin(GLenum mode)
{
    if (snimi({Vrsta::BEGIN, 0, 0, 0, mode}))
        return;
    hvataSe = mode == GL_POINTS || mode == GL_LINES;  // GL_POINTS is 0
    hvataniNacin = mode;
    if (hvataSe)
        temena.clear();
    else
        __real_glBegin(mode);
}

void __wrap_glEnd()
{
    if (snimi({Vrsta::END}))
        return;
    if (hvataSe) {
        hvataSe = false;
        if (hvataniNacin == GL_POINTS)
            nacrtajUhvaceneTacke();
        else
            nacrtajUhvaceneLinije();
    } else {
        __real_glEnd();
    }
}

void __wrap_glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    if (snimi({Vrsta::VERTEX, x, y, z}))
        return;
    if (hvataSe)
        teme(x, y, z);
    else
        __real_glVertex3f(x, y, z);
}

void __wrap_glVertex2f(GLfloat x, GLfloat y)
{
    __wrap_glVertex3f(x, y, 0.0f);
}

void __wrap_glColor3f(GLfloat r, GLfloat g, GLfloat b)
{
    if (snimi({Vrsta::BOJA, r, g, b}))
        return;
    boja[0] = r;
    boja[1] = g;
    boja[2] = b;
    __real_glColor3f(r, g, b);
}

void __wrap_glLineWidth(GLfloat width)
{
    if (snimi({Vrsta::DEBLJINA, width}))
        return;
    trazenaDebljina = width;
    debljina = width * mnozilac;
}

void __wrap_glPointSize(GLfloat size)
{
    if (snimi({Vrsta::VELICINA_TACKE, size}))
        return;
    trazenaTacka = size;
    velicinaTacke = size * mnozilac;
}

void __wrap_glLineStipple(GLint factor, GLushort pattern)
{
    if (snimi({Vrsta::SARA, 0, 0, 0, static_cast<GLuint>(factor), pattern}))
        return;
    trazenoPonavljanje = factor < 1 ? 1 : (factor > 256 ? 256 : factor);  // clamped to 1..256, as GL does
    sara = pattern;
    primeniMnozilac();
}

void __wrap_glEnable(GLenum cap)
{
    if (snimi({Vrsta::UKLJUCI, 0, 0, 0, cap}))
        return;
    if (cap == GL_LINE_STIPPLE)
        saraUkljucena = true;
    else
        __real_glEnable(cap);  // the emulation ignores the smoothing it cannot do
}

void __wrap_glDisable(GLenum cap)
{
    if (snimi({Vrsta::ISKLJUCI, 0, 0, 0, cap}))
        return;
    if (cap == GL_LINE_STIPPLE)
        saraUkljucena = false;
    else
        __real_glDisable(cap);
}

// WebGL knows no smoothing hints and reports each as an invalid enum.
void __wrap_glHint(GLenum target, GLenum mode)
{
    if (target == GL_LINE_SMOOTH_HINT || target == GL_POINT_SMOOTH_HINT)
        return;
    __real_glHint(target, mode);
}

void __wrap_glMatrixMode(GLenum mode)
{
    if (snimi({Vrsta::REZIM_MATRICE, 0, 0, 0, mode}))
        return;
    __real_glMatrixMode(mode);
}

void __wrap_glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    if (snimi({Vrsta::POMERAJ, x, y, z}))
        return;
    __real_glTranslatef(x, y, z);
}

void __wrap_glPushMatrix()
{
    if (snimi({Vrsta::GURNI}))
        return;
    __real_glPushMatrix();
}

void __wrap_glPopMatrix()
{
    if (snimi({Vrsta::VRATI}))
        return;
    __real_glPopMatrix();
}

// ---- gluLookAt -------------------------------------------------------------
// GLU's own construction, shared with the recording stand-in: the rotation,
// computed in float as GLU computes it, then the eye moved to the origin.
void __wrap_gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy,
                      GLdouble cz, GLdouble ux, GLdouble uy, GLdouble uz)
{
    glMultMatrixf(rotacijaKamere(ex, ey, ez, cx, cy, cz, ux, uy, uz).data());
    __real_glTranslatef(static_cast<GLfloat>(-ex), static_cast<GLfloat>(-ey), static_cast<GLfloat>(-ez));
}

// Counts the frames for the page: it shows the canvas from the first one on.
EM_JS(void, javiSliku, (), { Module["slikaGotova"](); });

void __wrap_glutSwapBuffers()
{
    __real_glutSwapBuffers();
    javiSliku();
}

}  // extern "C"
