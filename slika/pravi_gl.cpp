// The recorded calls replayed into the real OpenGL, entry by entry of the
// table (ulazi.h).
#include "pravi_gl.h"

#include "snimac.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <type_traits>
#include <utility>

namespace {

// The real entry points of the table's GL entries, in GL's own types, and the
// few the replay needs besides.
struct {
#define GEOMETRIJA_ULAZ_GL(ime) decltype(&::ime) ime;
#define GEOMETRIJA_ULAZ_UPIT(ime)
#define GEOMETRIJA_ULAZ_LISTA(ime)
#define GEOMETRIJA_ULAZ_GLU(ime)
#define GEOMETRIJA_ULAZ_GLUT(ime)
#define GEOMETRIJA_ULAZ_PROZOR(ime)
#define GEOMETRIJA_ULAZ(grupa, tip, ime, parametri, argumenti) GEOMETRIJA_ULAZ_##grupa(ime)
    GEOMETRIJA_ULAZI(GEOMETRIJA_ULAZ)
#undef GEOMETRIJA_ULAZ_GL
#undef GEOMETRIJA_ULAZ_UPIT
#undef GEOMETRIJA_ULAZ_LISTA
#undef GEOMETRIJA_ULAZ_GLU
#undef GEOMETRIJA_ULAZ_GLUT
#undef GEOMETRIJA_ULAZ_PROZOR
    decltype(&::glTranslated) glTranslated;
    decltype(&::glMultMatrixf) glMultMatrixf;
    decltype(&::glMultMatrixd) glMultMatrixd;
    decltype(&::glPixelStorei) glPixelStorei;
    decltype(&::glReadPixels) glReadPixels;
} gl;

// A GL entry called with the recorded numbers, each back in its own type.
template <typename R, typename... A, std::size_t... I>
void pozovi(R (*ulaz)(A...), const double* brojevi, std::index_sequence<I...>)
{
    ulaz(static_cast<A>(brojevi[I])...);
}
template <typename R, typename... A>
void pozovi(R (*ulaz)(A...), const double* brojevi)
{
    pozovi(ulaz, brojevi, std::index_sequence_for<A...>{});
}

// GLU's matrices, multiplied on as GLU does. An entry of the GLU group without
// its matrix here does not link.
template <snimac::Ulaz U>
void glu(const double* a);
template <>
void glu<snimac::Ulaz::gluPerspective>(const double* a)
{
    MatricaD m;
    if (perspektiva(a[0], a[1], a[2], a[3], m))
        gl.glMultMatrixd(m.data());
}
template <>
void glu<snimac::Ulaz::gluLookAt>(const double* a)
{
    gl.glMultMatrixf(rotacijaKamere(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]).data());
    gl.glTranslated(-a[0], -a[1], -a[2]);
}

// Display lists and questions never come here (the recorder resolves them);
// a pixel buffer has no window, and nothing to show: the frame is read where
// it was drawn once every command has finished.
void proslediJedan(snimac::Ulaz ulaz, const double* a)
{
    switch (ulaz) {
#define GEOMETRIJA_ULAZ_GL(ime) \
    case snimac::Ulaz::ime:     \
        pozovi(gl.ime, a);      \
        break;
#define GEOMETRIJA_ULAZ_GLU(ime) \
    case snimac::Ulaz::ime:      \
        glu<snimac::Ulaz::ime>(a); \
        break;
#define GEOMETRIJA_ULAZ_NISTA(ime) case snimac::Ulaz::ime:
#define GEOMETRIJA_ULAZ_UPIT GEOMETRIJA_ULAZ_NISTA
#define GEOMETRIJA_ULAZ_LISTA GEOMETRIJA_ULAZ_NISTA
#define GEOMETRIJA_ULAZ_GLUT GEOMETRIJA_ULAZ_NISTA
#define GEOMETRIJA_ULAZ_PROZOR GEOMETRIJA_ULAZ_NISTA
        GEOMETRIJA_ULAZI(GEOMETRIJA_ULAZ)
        if (ulaz == snimac::Ulaz::glutSwapBuffers)
            gl.glFinish();
        break;
#undef GEOMETRIJA_ULAZ_GL
#undef GEOMETRIJA_ULAZ_GLU
#undef GEOMETRIJA_ULAZ_NISTA
#undef GEOMETRIJA_ULAZ_UPIT
#undef GEOMETRIJA_ULAZ_LISTA
#undef GEOMETRIJA_ULAZ_GLUT
#undef GEOMETRIJA_ULAZ_PROZOR
    }
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
#define GEOMETRIJA_ULAZ_GL(ime) ucitaj(gl.ime, #ime);
#define GEOMETRIJA_ULAZ_UPIT(ime)
#define GEOMETRIJA_ULAZ_LISTA(ime)
#define GEOMETRIJA_ULAZ_GLU(ime)
#define GEOMETRIJA_ULAZ_GLUT(ime)
#define GEOMETRIJA_ULAZ_PROZOR(ime)
    GEOMETRIJA_ULAZI(GEOMETRIJA_ULAZ)
    ucitaj(gl.glTranslated, "glTranslated");
    ucitaj(gl.glMultMatrixf, "glMultMatrixf");
    ucitaj(gl.glMultMatrixd, "glMultMatrixd");
    ucitaj(gl.glPixelStorei, "glPixelStorei");
    ucitaj(gl.glReadPixels, "glReadPixels");
    return sve;
}

void crtajUPraviGl()
{
    snimac::prosledjuj(proslediJedan);
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
