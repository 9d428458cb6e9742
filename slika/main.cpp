// geometrija-slika: the console dialogue of geometrija, then its first frame
// drawn off-screen and written to a PNG file instead of shown in a window.
//
//   geometrija-slika FILE.png [--size WIDTHxHEIGHT]     (default 500x500)
//
// Exit status: 0 written; 1, 2, 3 the dialogue rejected a value (no file);
// 64 bad usage; 73 the file cannot be written; 69 no EGL or OpenGL.
#include "geometrija.h"
#include "platno.h"
#include "tokovi.h"
#include "upis.h"

#include <sysexits.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int POCETNA_STRANICA = 500;   // the window's size, pixels
constexpr long NAJVECA_STRANICA = 8192;  // either side of the picture, pixels
constexpr const char* UPOTREBA = "usage: geometrija-slika FILE.png [--size WIDTHxHEIGHT]";

[[noreturn]] void prekini(int status, const std::string& poruka)
{
    std::fprintf(stderr, "geometrija-slika: %s\n", poruka.c_str());
    std::exit(status);
}

// One side of a size: decimal digits only (no sign, no spaces), ending at
// `kraj`. Too many digits count as too large, not as malformed.
bool procitajStranicu(const char*& s, char kraj, long& stranica)
{
    const char* pocetak = s;
    stranica = 0;
    for (; *s >= '0' && *s <= '9'; ++s)
        stranica = stranica > NAJVECA_STRANICA ? stranica : stranica * 10 + (*s - '0');
    return s != pocetak && *s == kraj;
}

struct Argumenti {
    std::string putanja;
    int sirina = POCETNA_STRANICA, visina = POCETNA_STRANICA;
};

Argumenti procitajArgumente(int argc, char** argv)
{
    Argumenti argumenti;
    bool imaPutanju = false, opcije = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (opcije && arg == "--") {
            opcije = false;
        } else if (opcije && arg == "--size") {
            if (i + 1 == argc)
                prekini(EX_USAGE, "--size needs a value WIDTHxHEIGHT; " + std::string(UPOTREBA));
            const char* s = argv[++i];
            long sirina = 0, visina = 0;
            if (!procitajStranicu(s, 'x', sirina) || !procitajStranicu(++s, '\0', visina))
                prekini(EX_USAGE, "malformed size '" + std::string(argv[i]) +
                                      "': expected WIDTHxHEIGHT in pixels, e.g. 500x500");
            if (sirina < 1 || visina < 1 || sirina > NAJVECA_STRANICA || visina > NAJVECA_STRANICA)
                prekini(EX_USAGE, "size '" + std::string(argv[i]) + "' out of range: each side must be 1 to " +
                                      std::to_string(NAJVECA_STRANICA) + " pixels");
            argumenti.sirina = static_cast<int>(sirina);
            argumenti.visina = static_cast<int>(visina);
        } else if (opcije && arg.size() > 1 && arg[0] == '-') {
            prekini(EX_USAGE, "unknown option '" + arg + "'; " + UPOTREBA);
        } else if (imaPutanju) {
            prekini(EX_USAGE, "one output file only, got '" + argumenti.putanja + "' and '" + arg + "'; " +
                                  UPOTREBA);
        } else {
            argumenti.putanja = arg;
            imaPutanju = true;
        }
    }
    if (!imaPutanju || argumenti.putanja.empty())
        prekini(EX_USAGE, std::string("no output file given; ") + UPOTREBA);
    return argumenti;
}

}  // namespace

int main(int argc, char** argv)
{
    otvoriStandardneTokove();
    // Everything that can be wrong with the command line, the path or the
    // machine is reported before the dialogue asks anything.
    const Argumenti argumenti = procitajArgumente(argc, argv);
    std::string greska;
    if (!mozeSeUpisati(argumenti.putanja, greska))
        prekini(EX_CANTCREAT, greska);
    if (!otvoriPlatno(argumenti.sirina, argumenti.visina, greska))
        prekini(EX_UNAVAILABLE, "no off-screen OpenGL: " + greska);

    // As geometrija runs it, and a rejected value ends the process inside the
    // dialogue: no file exists yet then, so none is left behind.
    pocetniDijalog();
    postaviStanjeCrtanja();
    reshape(argumenti.sirina, argumenti.visina);
    display();

    const bool upisano =
        upisiPng(argumenti.putanja, argumenti.sirina, argumenti.visina, procitajPlatno(), greska);
    zatvoriPlatno();
    if (!upisano)
        prekini(EX_CANTCREAT, greska);
    return 0;
}
