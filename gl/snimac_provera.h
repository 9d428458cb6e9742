// What the tests and the fuzz targets inspect beyond the finished frame
// (snimac.h): the call log, in the order the calls were made, GL's state now,
// and the calls GL would refuse.
#ifndef GEOMETRIJA_SNIMAC_PROVERA_H
#define GEOMETRIJA_SNIMAC_PROVERA_H

#include "snimac.h"

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

namespace snimac {

const char* ime(Ulaz ulaz);

// A call and its numbers. `lista` is the display list it was compiled into
// or replayed from, 0 in immediate mode.
struct Poziv {
    Ulaz ulaz;
    GLuint lista;
    std::uint32_t podaci;  // where its numbers start in brojevi()
};
// Vertices of one entry sent one after another: a curve is thousands of them.
// Their numbers are in their batch.
struct NizTemena {
    Ulaz ulaz;
    GLuint lista;
    std::uint32_t broj;
};
using Stavka = std::variant<Poziv, NizTemena>;

const std::vector<Stavka>& pozivi();
// A call's numbers, in the order of its parameters that are not pointers.
const double* brojevi(const Poziv& poziv);

// The log spelled out, one entry per call (each vertex one, without numbers).
struct Zapis {
    std::string ime;
    std::vector<double> argumenti;
    GLuint lista = 0;
};
std::vector<Zapis> zapis();
std::vector<std::string> imena();
std::size_t broj(Ulaz ulaz);  // calls of one entry
std::vector<Zapis> poziviOd(Ulaz ulaz);

// Calls GL would refuse or ignore.
struct Greske {
    std::size_t izvanSerije = 0;    // vertices outside glBegin/glEnd
    std::size_t ugnezdjavanje = 0;  // glBegin inside a batch, glEnd outside one, a list ending inside one
};
const Greske& greske();

// The state now.
bool uSeriji();
Boja tekucaBoja();
float tekucaVelicinaTacke();
float tekucaDebljina();
bool ukljuceno(GLenum mogucnost);  // of those the record keeps: blending, smoothing, stipple
GLenum nacinMatrice();
int dubinaModelview();  // pushes minus pops
const Matrica& modelview();

}  // namespace snimac

#endif
