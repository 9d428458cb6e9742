// The recorder: the GL, GLU and GLUT entries of the table (ulazi.h) as a
// stand-in that keeps a typed record of the frame instead of drawing it.
//
// Linked in place of the real libraries by the unit tests, the fuzz targets,
// geometrija-slika and the web page (which keeps Emscripten's GLUT and links
// only the GL and GLU part). It keeps
//   - every call, as its entry and its numbers (pozivi; zapis() spells them out);
//   - each glBegin/glEnd pair as a batch (Serija): its vertices with the colour
//     each was sent in, and the state it was drawn with: point size, line width,
//     stipple, the model-view and projection matrices as GL computes them, and
//     the viewport;
//   - the state that matters for the picture, display lists, and the window
//     toolkit's side (Prozor).
// A painter draws the batches (projekcija.h), or has every call handed on as
// it takes effect (prosledjuj), as the PNG does into a real GL.
#ifndef GEOMETRIJA_SNIMAC_H
#define GEOMETRIJA_SNIMAC_H

#include "matrice.h"
#include "ulazi.h"

#include <cstddef>
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

enum class Grupa { GL, UPIT, LISTA, GLU, GLUT, PROZOR };

const char* ime(Ulaz ulaz);
Grupa grupa(Ulaz ulaz);

struct Boja {
    float crvena = 1, zelena = 1, plava = 1;  // GL's initial colour is white
    bool operator==(const Boja& o) const { return crvena == o.crvena && zelena == o.zelena && plava == o.plava; }
};

struct Teme {
    float x = 0, y = 0, z = 0;
    Boja boja;                  // the colour current when it was sent
    std::uint8_t dimenzija = 3;  // 2 for glVertex2f
};

struct Serija {
    GLenum nacin = 0;
    std::vector<Teme> temena;
    float velicinaTacke = 1, debljina = 1;
    bool isprekidana = false;   // GL_LINE_STIPPLE on
    GLint ponavljanje = 1;      // the stipple factor, within 1 to 256 as GL keeps it
    GLushort sablon = 0xFFFF;
    GLuint lista = 0;           // the display list that drew it, 0 in immediate mode
    std::size_t poziv = 0;      // its glBegin's place in zapis()
    // In force at glBegin; GL allows no change to them inside a batch.
    Matrica modelview = jedinicna(), projekcija = jedinicna();
    GLint pogled[4] = {0, 0, 0, 0};
};

// One call of the record. Vertices sent one after another, in the same batch
// or list, are one Poziv of `broj` calls: a curve is thousands of them.
struct Poziv {
    Ulaz ulaz;
    GLuint lista;           // the list being compiled or replayed, 0 in immediate mode
    std::uint32_t podaci;   // its numbers' place in the record's numbers
    std::uint32_t broj;     // 1, or the vertices of a run
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

// Calls GL would refuse or ignore.
struct Greske {
    std::size_t izvanSerije = 0;  // vertices outside glBegin/glEnd
    std::size_t ugnezdjavanje = 0;  // glBegin inside a batch, glEnd outside one, a list ending inside one
};

// GL_MAX_VIEWPORT_DIMS on both sides, as Mesa's llvmpipe reports it, unless a
// painter with a real renderer sets its own (postaviNajveciPogled).
constexpr GLint NAJVECI_POGLED = 16384;

// The record since the last isprazni() or novaSlika().
const std::vector<Poziv>& pozivi();
const std::vector<Serija>& serije();
const Prozor& prozor();
const Greske& greske();
bool uSeriji();

// A call's numbers, in the order of its parameters (none for a run of vertices:
// theirs are in their batch).
const double* brojevi(const Poziv& poziv);

// The state now.
Boja tekucaBoja();
float tekucaVelicinaTacke();
float tekucaDebljina();
bool ukljuceno(GLenum mogucnost);
GLenum nacinMatrice();
int dubinaModelview();          // pushes minus pops
const Matrica& modelview();     // the current model-view matrix
const float* bojaBrisanja();    // red, green, blue, alpha

// Everything forgotten: GL's initial state, no lists, an empty record. The
// memory of earlier records is kept for the next, so a frame costs the same
// after many as after the first.
void isprazni();
// The record emptied for the next frame; state, lists and window kept.
void novaSlika();

void postaviNajveciPogled(GLint sirina, GLint visina);

// Hands every call to `f` as it takes effect, with its numbers (a vertex
// with its 2 or 3 coordinates): a display list's calls when the list is
// called, never glNewList, glEndList or glCallList themselves, and no
// question (the recorder answers those). nullptr stops it; isprazni() keeps it.
using Prosledjivac = void (*)(Ulaz ulaz, const double* brojevi);
void prosledjuj(Prosledjivac f);

// The record spelled out, one entry per call (vertices one by one), for the
// tests. A vertex's numbers are in its batch, not here.
struct Zapis {
    std::string ime;
    std::vector<double> argumenti;
    GLuint lista = 0;
};
std::vector<Zapis> zapis();
std::vector<std::string> imena();
std::size_t broj(Ulaz ulaz);               // calls of one entry
std::vector<Zapis> poziviOd(Ulaz ulaz);

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
    if constexpr (U == Ulaz::glVertex2f || U == Ulaz::glVertex3f) {
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
