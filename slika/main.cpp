// geometrija-slika: the console dialogue of geometrija, then its first frame
// written to a file instead of shown in a window: a PNG drawn off-screen, an
// SVG or PDF vector drawing, or its sound as a WAV file (zvuk.h).
//
//   geometrija-slika FILE.png|FILE.svg|FILE.pdf|FILE.wav [--size WIDTHxHEIGHT]   (default 500x500)
//
// Exit status: 0 written (or --help, --version); 1, 2, 3 the dialogue rejected
// a value (no file); 64 bad usage; 69 no EGL or OpenGL (PNG only); 71 out of
// memory; 73 the file cannot be written.
//
// How the frame is drawn: the program links the recording stand-in for GL,
// GLU and GLUT (gl/snimac.h), as the unit tests do, so the shared drawing is
// recorded whatever the format: vertices, colours, widths and the matrices as
// GL computes them. A vector drawing is made from that record with cairo and
// needs no OpenGL at all. For a PNG the finished record is drawn by the real
// OpenGL of an EGL pixel buffer, through entry points fetched at run time
// (pravi_gl.h), so the pixels are those of the window's renderer. The real
// library is never linked by name: its glBegin would clash with the
// recorder's. The program starts as every other does (pokreni), on the
// recorder's GLUT, whose main loop returns at once with the callbacks
// registered; the one frame is then drawn through them.
#include "platno.h"
#include "pokretanje.h"
#include "pravi_gl.h"
#include "snimac.h"
#include "tokovi.h"
#include "upis.h"
#include "vektor.h"
#include "zvuk.h"

#include <sysexits.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

namespace {

constexpr long NAJVECA_STRANICA = 8192;  // either side of the picture, pixels
constexpr const char* UPOTREBA =
    "usage: geometrija-slika FILE.png|FILE.svg|FILE.pdf|FILE.wav [--size WIDTHxHEIGHT]";

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

enum class Vrsta { PNG, SVG, PDF, WAV };

struct Argumenti {
    std::string putanja;
    Vrsta vrsta = Vrsta::PNG;
    int sirina = STRANICA_PROZORA, visina = STRANICA_PROZORA;
};

// The format by the file's extension, in any case.
bool vrstaPoImenu(const std::string& putanja, Vrsta& vrsta)
{
    const std::string ime = putanja.substr(putanja.rfind('/') + 1);
    const size_t tacka = ime.rfind('.');
    if (tacka == std::string::npos || tacka == 0)
        return false;
    std::string nastavak = ime.substr(tacka + 1);
    for (char& z : nastavak)
        z = static_cast<char>(z >= 'A' && z <= 'Z' ? z - 'A' + 'a' : z);
    if (nastavak == "png")
        vrsta = Vrsta::PNG;
    else if (nastavak == "svg")
        vrsta = Vrsta::SVG;
    else if (nastavak == "pdf")
        vrsta = Vrsta::PDF;
    else if (nastavak == "wav")
        vrsta = Vrsta::WAV;
    else
        return false;
    return true;
}

void procitajVelicinu(const std::string& vrednost, Argumenti& argumenti)
{
    const char* s = vrednost.c_str();
    long sirina = 0, visina = 0;
    if (!procitajStranicu(s, 'x', sirina) || !procitajStranicu(++s, '\0', visina))
        prekini(EX_USAGE, "malformed size '" + zaPoruku(vrednost) +
                              "': expected WIDTHxHEIGHT in pixels, e.g. 500x500");
    if (sirina < 1 || visina < 1 || sirina > NAJVECA_STRANICA || visina > NAJVECA_STRANICA)
        prekini(EX_USAGE, "size '" + zaPoruku(vrednost) + "' out of range: each side must be 1 to " +
                              std::to_string(NAJVECA_STRANICA) + " pixels");
    argumenti.sirina = static_cast<int>(sirina);
    argumenti.visina = static_cast<int>(visina);
}

Argumenti procitajArgumente(int argc, char** argv)
{
    Argumenti argumenti;
    bool imaPutanju = false, opcije = true;
    const std::string VELICINA = "--size=";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (opcije && arg == "--") {
            opcije = false;
        } else if (opcije && arg == "--help") {
            std::printf("%s\n"
                        "Asks geometrija's questions on the console, then writes the first frame\n"
                        "to FILE instead of a window: PNG, SVG, PDF or its sound (WAV) by the\n"
                        "file's extension.\n"
                        "  --size WIDTHxHEIGHT  the picture's size in pixels (1 to %ld a side,\n"
                        "                       default %dx%d; 96 pixels an inch in SVG and PDF)\n"
                        "  --help               this text\n"
                        "  --version            the version\n",
                        UPOTREBA, NAJVECA_STRANICA, STRANICA_PROZORA, STRANICA_PROZORA);
            std::exit(std::fflush(stdout) == 0 ? 0 : EX_IOERR);
        } else if (opcije && arg == "--version") {
            std::printf("geometrija-slika %s\n", GEOMETRIJA_VERZIJA);
            std::exit(std::fflush(stdout) == 0 ? 0 : EX_IOERR);
        } else if (opcije && arg == "--size") {
            if (i + 1 == argc)
                prekini(EX_USAGE, "--size needs a value WIDTHxHEIGHT; " + std::string(UPOTREBA));
            procitajVelicinu(argv[++i], argumenti);
        } else if (opcije && arg.compare(0, VELICINA.size(), VELICINA) == 0) {
            procitajVelicinu(arg.substr(VELICINA.size()), argumenti);
        } else if (opcije && arg.size() > 1 && arg[0] == '-') {
            prekini(EX_USAGE, "unknown option '" + zaPoruku(arg) + "'; " + UPOTREBA);
        } else if (imaPutanju) {
            prekini(EX_USAGE, "one output file only, got '" + zaPoruku(argumenti.putanja) + "' and '" +
                                  zaPoruku(arg) + "'; " + UPOTREBA);
        } else {
            argumenti.putanja = arg;
            imaPutanju = true;
        }
    }
    if (!imaPutanju || argumenti.putanja.empty())
        prekini(EX_USAGE, std::string("no output file given; ") + UPOTREBA);
    if (!vrstaPoImenu(argumenti.putanja, argumenti.vrsta))
        prekini(EX_USAGE, "'" + zaPoruku(argumenti.putanja) +
                              "': the file's extension must be .png, .svg, .pdf or .wav; " + UPOTREBA);
    return argumenti;
}

void napravi(int& argc, char** argv, const Argumenti& argumenti)
{
    std::string greska;
    if (!mozeSeUpisati(argumenti.putanja, greska))
        prekini(EX_CANTCREAT, greska);
    const bool png = argumenti.vrsta == Vrsta::PNG;
    if (png) {
        if (!otvoriPlatno(argumenti.sirina, argumenti.visina, greska))
            prekini(EX_UNAVAILABLE, "no off-screen OpenGL: " + greska);
    }

    // As geometrija runs it, and a rejected value ends the process inside the
    // dialogue: no file exists yet then, so none is left behind. One frame is
    // all: the renderer gains nothing by a warm-up.
    Pokretanje nacin;
    nacin.zagrevanje = false;
    pokreni(argc, argv, nacin);
    snimac::prozor().preoblikovanje(argumenti.sirina, argumenti.visina);
    snimac::prozor().prikaz();

    bool upisano;
    if (png) {
        naslikajUPraviGl(snimac::kadar());
        const std::vector<unsigned char> pikseli = procitajPiksele(argumenti.sirina, argumenti.visina);
        zatvoriPlatno();
        upisano = upisi(
            argumenti.putanja,
            [&](int fd, std::string& uzrok) {
                return upisiPng(fd, argumenti.sirina, argumenti.visina, pikseli, uzrok);
            },
            greska);
    } else if (argumenti.vrsta == Vrsta::WAV) {
        const std::vector<std::int16_t> uzorci = snimac::zvuk(snimac::kadar());
        upisano = upisi(
            argumenti.putanja,
            [&](int fd, std::string& uzrok) { return upisiWav(fd, uzorci, snimac::UZORAKA_U_SEKUNDI, uzrok); },
            greska);
    } else {
        const VrstaCrteza vrsta = argumenti.vrsta == Vrsta::SVG ? VrstaCrteza::SVG : VrstaCrteza::PDF;
        upisano = upisi(
            argumenti.putanja,
            [&](int fd, std::string& uzrok) {
                std::size_t putanja = 0;
                return upisiCrtez(vrsta, argumenti.sirina, argumenti.visina, fd, putanja, uzrok);
            },
            greska);
    }
    if (!upisano)
        prekini(EX_CANTCREAT, greska);
}

}  // namespace

int main(int argc, char** argv)
{
    otvoriStandardneTokove();
    // Everything that can be wrong with the command line, the path or the
    // machine is reported before the dialogue asks anything.
    const Argumenti argumenti = procitajArgumente(argc, argv);
    try {
        napravi(argc, argv, argumenti);
    } catch (const std::bad_alloc&) {
        prekini(EX_OSERR, "out of memory for a " + std::to_string(argumenti.sirina) + "x" +
                              std::to_string(argumenti.visina) + " picture");
    }
    return 0;
}
