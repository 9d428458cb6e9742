// The finished frame drawn by the real OpenGL, batch by batch.
#include "pravi_gl.h"

#include "snimac.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <type_traits>
#include <utility>

namespace {

// The entries the painter calls, fetched by name at run time.
#define GEOMETRIJA_PRAVI_GL(X)                                                                             \
    X(glClearColor) X(glClear) X(glMatrixMode) X(glLoadMatrixf) X(glViewport) X(glPointSize) X(glLineWidth) \
    X(glEnable) X(glDisable) X(glLineStipple) X(glHint) X(glBlendFunc) X(glBegin) X(glColor3f)               \
    X(glVertex2f) X(glVertex3f) X(glEnd) X(glFinish) X(glPixelStorei) X(glReadPixels)

struct {
#define GEOMETRIJA_POKAZIVAC(ime) decltype(&::ime) ime;
    GEOMETRIJA_PRAVI_GL(GEOMETRIJA_POKAZIVAC)
#undef GEOMETRIJA_POKAZIVAC
} gl;

void ukljuci(GLenum mogucnost, bool da)
{
    if (da)
        gl.glEnable(mogucnost);
    else
        gl.glDisable(mogucnost);
}

// The colour is set only where it changes, as the program sets it, and each
// vertex is sent as it was (2 or 3 coordinates). A trap: a colour set while
// vertices wait to be drawn gives every vertex after it a colour of its own in
// Mesa, which then compiles its shaders again for that kind of vertex, and the
// PNG takes a tenth longer.
Boja boja;  // the real GL's current colour

void oboji(const Boja& b)
{
    if (!(b == boja))
        gl.glColor3f(b.crvena, b.zelena, b.plava);
    boja = b;
}

// A batch with the state it was recorded with.
void nacrtaj(const snimac::Serija& s)
{
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadMatrixf(s.projekcija.data());
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadMatrixf(s.modelview.data());
    gl.glViewport(s.pogled[0], s.pogled[1], s.pogled[2], s.pogled[3]);
    const snimac::Glacanje& g = s.glacanje;
    ukljuci(GL_BLEND, g.stapanje);
    gl.glBlendFunc(g.izvor, g.odrediste);
    ukljuci(GL_POINT_SMOOTH, g.tacke);
    ukljuci(GL_LINE_SMOOTH, g.linije);
    gl.glHint(GL_POINT_SMOOTH_HINT, g.savetTacke);
    gl.glHint(GL_LINE_SMOOTH_HINT, g.savetLinije);
    gl.glPointSize(s.velicinaTacke);
    gl.glLineWidth(s.debljina);
    ukljuci(GL_LINE_STIPPLE, s.isprekidana);
    gl.glLineStipple(s.ponavljanje, s.sablon);
    if (!s.temena.empty())
        oboji(s.temena.front().boja);
    gl.glBegin(s.nacin);
    for (const snimac::Teme& t : s.temena) {
        oboji(t.boja);
        if (t.dimenzija == 2)
            gl.glVertex2f(t.x, t.y);
        else
            gl.glVertex3f(t.x, t.y, t.z);
    }
    gl.glEnd();
}

}  // namespace

bool ucitajPraviGl(void* (*dohvati)(const char*), std::string& greska)
{
    bool sve = true;
    const auto ucitaj = [&](auto& pokazivac, const char* ime) {
        void* adresa = dohvati(ime);
        if (!adresa && sve) {
            greska = std::string("OpenGL has no ") + ime;
            sve = false;
        }
        pokazivac = reinterpret_cast<std::remove_reference_t<decltype(pokazivac)>>(adresa);
    };
#define GEOMETRIJA_UCITAJ(ime) ucitaj(gl.ime, #ime);
    GEOMETRIJA_PRAVI_GL(GEOMETRIJA_UCITAJ)
#undef GEOMETRIJA_UCITAJ
    return sve;
}

void naslikajUPraviGl(const snimac::Kadar& kadar)
{
    gl.glClearColor(kadar.pozadina[0], kadar.pozadina[1], kadar.pozadina[2], kadar.pozadina[3]);
    gl.glClear(GL_COLOR_BUFFER_BIT);
    boja = Boja{-1, -1, -1};  // none yet
    for (const snimac::Serija& s : kadar.serije)
        nacrtaj(s);
    gl.glFinish();
}

std::vector<unsigned char> procitajPiksele(int sirina, int visina)
{
    constexpr size_t BAJTOVA_PO_TACKI = 3;
    const size_t red = BAJTOVA_PO_TACKI * static_cast<size_t>(sirina);
    std::vector<unsigned char> tacke(red * static_cast<size_t>(visina));
    gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);  // rows packed without padding
    gl.glReadPixels(0, 0, sirina, visina, GL_RGB, GL_UNSIGNED_BYTE, tacke.data());
    // Turned upside down in place: a picture of 8192 x 8192 is 200 MB.
    for (size_t gore = 0, dole = static_cast<size_t>(visina) - 1; gore < dole; ++gore, --dole)
        std::swap_ranges(tacke.begin() + gore * red, tacke.begin() + (gore + 1) * red,
                         tacke.begin() + dole * red);
    return tacke;
}
