// The recorder's GLUT and the native window layer's watch (see snimac.h):
// what the window toolkit would do is noted in the record, and the main loop
// returns at once with the callbacks registered, so a test, a fuzz target or
// geometrija-slika drives them itself. The web page links the recorder without
// this file: its window is Emscripten's GLUT.
#include "snimac.h"

#include <tuple>

namespace {

snimac::Prozor& prozor() { return snimac::detalj::prozorZaUpis(); }

// What an entry's pointers carry, and its result.
template <snimac::Ulaz U, typename... A>
void nosi(A... argumenti)
{
    [[maybe_unused]] const auto a = std::make_tuple(argumenti...);
    if constexpr (U == snimac::Ulaz::glutInit) {
        prozor().argc = *std::get<0>(a);
        prozor().argv.assign(std::get<1>(a), std::get<1>(a) + *std::get<0>(a));
    } else if constexpr (U == snimac::Ulaz::glutCreateWindow) {
        prozor().naslov = std::get<0>(a);
    } else if constexpr (U == snimac::Ulaz::glutReshapeFunc) {
        prozor().preoblikovanje = std::get<0>(a);
    } else if constexpr (U == snimac::Ulaz::glutKeyboardFunc) {
        prozor().tastatura = std::get<0>(a);
    } else if constexpr (U == snimac::Ulaz::glutDisplayFunc) {
        prozor().prikaz = std::get<0>(a);
    }
}

constexpr int PRVI_PROZOR = 1;  // glutCreateWindow's identifier of the one window

template <typename T>
T rezultat()
{
    if constexpr (!std::is_void_v<T>)
        return PRVI_PROZOR;
}

}  // namespace

#define GEOMETRIJA_DEFINICIJA(tip, ime, parametri, argumenti)                  \
    tip ime parametri                                                          \
    {                                                                          \
        snimac::detalj::zabelezi<snimac::Ulaz::ime> argumenti;                 \
        nosi<snimac::Ulaz::ime> argumenti;                                     \
        return rezultat<tip>();                                                \
    }
#define GEOMETRIJA_ULAZ_GLUT GEOMETRIJA_DEFINICIJA
#define GEOMETRIJA_ULAZ_PROZOR GEOMETRIJA_DEFINICIJA
#define GEOMETRIJA_ULAZ_GL(tip, ime, parametri, argumenti)
#define GEOMETRIJA_ULAZ_UPIT(tip, ime, parametri, argumenti)
#define GEOMETRIJA_ULAZ_LISTA(tip, ime, parametri, argumenti)
#define GEOMETRIJA_ULAZ_GLU(tip, ime, parametri, argumenti)
#define GEOMETRIJA_ULAZ(grupa, tip, ime, parametri, argumenti) GEOMETRIJA_ULAZ_##grupa(tip, ime, parametri, argumenti)
GEOMETRIJA_ULAZI(GEOMETRIJA_ULAZ)
