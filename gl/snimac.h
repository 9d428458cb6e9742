// The recorder: the GL and GLU entries of the table (ulazi.h), and its GLUT
// ones (snimac_glut.cpp), as a stand-in that keeps the frame as a record
// instead of drawing it. Linked in place of the real libraries by the unit
// tests, the fuzz targets, geometrija-slika and the web page (which keeps
// Emscripten's GLUT).
//
// At the swap the frame is one finished record (Kadar): its batches, one per
// glBegin/glEnd pair, each with its vertices and the state GL draws it with;
// a display list's batches are there as its call drew them. Every painter
// only loops over it:
//   - the PNG, into a real GL (slika/pravi_gl.cpp);
//   - SVG and PDF with cairo (slika/vektor.cpp) and the page's WebGL
//     (web/slikar.cpp), both through the projection step (projekcija.h);
//   - the page's description (web/opis.cpp), by the part each vertex draws.
// What only the tests and the fuzz targets inspect is in snimac_provera.h.
#ifndef GEOMETRIJA_SNIMAC_H
#define GEOMETRIJA_SNIMAC_H

#include "crtez.h"
#include "matrice.h"
#include "ulazi.h"

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace snimac {

enum class Ulaz : std::uint8_t {
#define GEOMETRIJA_ULAZ(grupa, tip, ime, parametri, argumenti) ime,
    GEOMETRIJA_ULAZI(GEOMETRIJA_ULAZ)
#undef GEOMETRIJA_ULAZ
};

constexpr bool jeTeme(Ulaz ulaz) { return ulaz == Ulaz::glVertex2f || ulaz == Ulaz::glVertex3f; }

struct Teme {
    float x = 0, y = 0, z = 0;   // z is 0 for glVertex2f
    Boja boja{};                 // the colour current when it was sent
    Deo deo = Deo::NISTA;        // the part of the scene named when it was sent
    std::uint8_t dimenzija = 3;  // 2 for glVertex2f
};

// How GL blends and smooths a batch; the program sets it once, before any.
struct Glacanje {
    bool stapanje = false;  // GL_BLEND
    GLenum izvor = GL_ONE, odrediste = GL_ZERO;
    bool tacke = false, linije = false;  // GL_POINT_SMOOTH, GL_LINE_SMOOTH
    GLenum savetTacke = GL_DONT_CARE, savetLinije = GL_DONT_CARE;
};

// One glBegin/glEnd pair and the state in force at its glBegin: GL allows no
// change to it inside a batch.
struct Serija {
    GLenum nacin = 0;
    std::vector<Teme> temena;
    float velicinaTacke = 1, debljina = 1;
    bool isprekidana = false;   // GL_LINE_STIPPLE on
    GLint ponavljanje = 1;      // the stipple factor, within 1 to 256 as GL keeps it
    GLushort sablon = 0xFFFF;
    Glacanje glacanje;
    Matrica modelview = jedinicna(), projekcija = jedinicna();  // as GL computes them
    GLint pogled[4] = {0, 0, 0, 0};
    GLuint lista = 0;       // the display list that drew it, 0 in immediate mode
    std::size_t poziv = 0;  // its glBegin's place in the call log (snimac_provera.h)
};

struct Kadar {
    std::vector<Serija> serije;
    float pozadina[4] = {0, 0, 0, 0};  // the clear colour of the last glClear: red, green, blue, alpha
};

// The window toolkit's side of the record.
struct Prozor {
    int argc = -1;
    std::vector<std::string> argv;
    int nacinPrikaza = -1;
    int sirina = -1, visina = -1, x = -1, y = -1;
    std::string naslov;
    void (*preoblikovanje)(int, int) = nullptr;
    void (*tastatura)(unsigned char, int, int) = nullptr;
    void (*prikaz)() = nullptr;
    int zahteviZaCrtanje = 0;  // glutPostRedisplay
    int zamene = 0;            // glutSwapBuffers
    int glavnePetlje = 0;      // glutMainLoop
};

// GL_MAX_VIEWPORT_DIMS on both sides, as Mesa's llvmpipe reports it, unless a
// painter with a real renderer sets its own (postaviNajveciPogled).
constexpr GLint NAJVECI_POGLED = 16384;

// The frame since the last isprazni() or novaSlika().
const Kadar& kadar();
const Prozor& prozor();

// Everything forgotten: GL's initial state, no lists, an empty record. The
// memory of earlier records is kept for the next, so a frame costs the same
// after many as after the first.
void isprazni();
// The record emptied for the next frame; state, lists and window kept.
void novaSlika();

void postaviNajveciPogled(GLint sirina, GLint visina);

// ---- For the entries (ulazi.h) ------------------------------------------------
namespace detalj {

void primi(Ulaz ulaz, const double* brojevi, int n);
void teme(Ulaz ulaz, float x, float y, float z);
void odgovori(GLenum ime, GLint* vrednosti);
Prozor& prozorZaUpis();

template <typename T>
void dodaj(double* brojevi, int& n, T vrednost)
{
    if constexpr (std::is_arithmetic_v<T>)
        brojevi[n++] = static_cast<double>(vrednost);
}

// An entry's numbers recorded and their effect taken; what its pointers
// carry is taken by the entry itself (GLUT's, the question's).
template <Ulaz U, typename... A>
void zabelezi(A... argumenti)
{
    if constexpr (jeTeme(U)) {
        const float k[] = {static_cast<float>(argumenti)..., 0.0f};
        teme(U, k[0], k[1], k[2]);
    } else {
        double brojevi[sizeof...(A) + 1] = {};
        int n = 0;
        (dodaj(brojevi, n, argumenti), ...);
        primi(U, brojevi, n);
    }
}

}  // namespace detalj

}  // namespace snimac

#endif
