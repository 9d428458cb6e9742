// One frame drawn on the recording stand-in and checked.
#include "provera_slike.h"

#include "geometrija.h"
#include "snimac_provera.h"
#include "scena.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace {

// The most vertices one frame can send, by figure. Every loop's length is set
// by constants of the scene, never by a typed value (a tangent half's start is
// held to the square first):
// - the axes, in every frame: 2 lines, 4 vertices;
// - the ellipse: 3600 curve points (the parameter from 0 below 360 in steps of
//   0.1), the incident and the reflected ray (2 vertices each), and the tangent:
//   at most two halves, each starting no further out than -100 or 100 and
//   stepping 0.01 across the square to the other side, 20000 points at most;
// - the hyperbola: 2 x 4000 curve points (y from -20 below 20 in steps of 0.01,
//   both branches), the 2 foci, and 7 segments of 2 vertices: 2 asymptotes,
//   2 rectangle sides, the incident ray, the dashed line, the reflected ray;
// - the parabola: 2 x 4000 curve points (x from -20 below 20 in steps of 0.01,
//   both halves), the focus, and 3 segments: 2 rays and the directrix.
// So no frame sends more than 4 + 43604 = 43608 vertices.
constexpr std::size_t OSE = 4;
constexpr std::size_t POLOVINA_TANGENTE = 20000;
constexpr std::size_t ELIPSA = 3600 + 2 * 2 + 2 * POLOVINA_TANGENTE;
constexpr std::size_t HIPERBOLA = 2 * 4000 + 2 + 7 * 2;
constexpr std::size_t PARABOLA = 2 * 4000 + 1 + 3 * 2;

// By figure: unos 1, 2, 3, and any other value at index 0.
constexpr std::size_t GRANICA[] = {OSE, OSE + ELIPSA, OSE + HIPERBOLA, OSE + PARABOLA};
constexpr const char* IMENA[] = {"other", "ellipse", "hyperbola", "parabola"};
std::size_t najvise[4];

int figura() { return unos >= 1 && unos <= 3 ? unos : 0; }

void prijaviNajvise()
{
    std::fprintf(stderr, "worst frame, vertices sent / bound:");
    for (const int f : {1, 2, 3, 0})
        std::fprintf(stderr, " %s %zu / %zu%s", IMENA[f], najvise[f], GRANICA[f], f ? "," : "\n");
}

// Prints the broken rule with the scene, exact to the bit, and aborts.
[[noreturn]] void pada(const char* pravilo, double ocekivano, double dobijeno)
{
    std::fprintf(stderr,
                 "frame: %s: expected %g, got %g\n"
                 "  unos %d pravac %d a %a b %a a1 %a b1 %a p %a ugao %a parametar %a"
                 " xtranslate %a ytranslate %a\n",
                 pravilo, ocekivano, dobijeno, unos, pravac, a, b, a1, b1, p, ugao, parametar,
                 xtranslate, ytranslate);
    std::abort();
}

void proveri(bool uslov, const char* pravilo, double ocekivano, double dobijeno)
{
    if (!uslov)
        pada(pravilo, ocekivano, dobijeno);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The prompts and the rays' equations are not checked by the fuzz targets.
    if (!std::freopen("/dev/null", "w", stdout))
        std::abort();
    return 0;
}

void nacrtajIProveri()
{
    static const bool prijava = std::atexit(prijaviNajvise) == 0;
    (void)prijava;

    snimac::isprazni();
    reshape(500, 500);
    display();  // a frame that never ends is reported by the fuzzer's -timeout

    std::size_t poslato = 0, nekonacnih = 0;
    for (const snimac::Serija& s : snimac::kadar().serije) {
        poslato += s.temena.size();
        for (const snimac::Teme& t : s.temena)
            nekonacnih += !std::isfinite(t.x) || !std::isfinite(t.y) || !std::isfinite(t.z);
    }
    const snimac::Greske& g = snimac::greske();
    const std::size_t granica = GRANICA[figura()];
    proveri(poslato <= granica, "vertices at most the figure's bound", static_cast<double>(granica),
            static_cast<double>(poslato));
    proveri(nekonacnih == 0, "vertices not finite", 0, static_cast<double>(nekonacnih));
    proveri(g.izvanSerije == 0, "vertices outside glBegin/glEnd", 0, static_cast<double>(g.izvanSerije));
    proveri(g.ugnezdjavanje == 0 && !snimac::uSeriji(), "glBegin/glEnd misnested", 0,
            static_cast<double>(g.ugnezdjavanje));
    const std::size_t novih = snimac::broj(snimac::Ulaz::glNewList), krajeva = snimac::broj(snimac::Ulaz::glEndList);
    proveri(novih == krajeva, "display lists left open", static_cast<double>(novih), static_cast<double>(krajeva));
    proveri(snimac::prozor().zamene == 1, "buffer swaps", 1, snimac::prozor().zamene);

    const Boja boja = snimac::tekucaBoja();
    proveri(boja.crvena == 0 && boja.zelena == 0 && boja.plava == 0, "black current at the end (sum of r, g, b)",
            0, double(boja.crvena) + boja.zelena + boja.plava);
    proveri(snimac::nacinMatrice() == GL_MODELVIEW, "matrix mode at the end", GL_MODELVIEW,
            snimac::nacinMatrice());
    const std::size_t guranja = snimac::broj(snimac::Ulaz::glPushMatrix),
                      vracanja = snimac::broj(snimac::Ulaz::glPopMatrix);
    proveri(guranja == vracanja, "pops as many as pushes", static_cast<double>(guranja),
            static_cast<double>(vracanja));
    proveri(snimac::dubinaModelview() == 0, "model-view depth at the end", 0, snimac::dubinaModelview());

    // The first translation is the pan, sent as it stands (the keys keep it
    // finite); every one the scene adds must be finite, or it would fill the
    // matrix, and all that follows, with infinities.
    bool prvi = true;
    for (const snimac::Stavka& stavka : snimac::pozivi()) {
        const snimac::Poziv* poziv = std::get_if<snimac::Poziv>(&stavka);
        if (!poziv || poziv->ulaz != snimac::Ulaz::glTranslatef)
            continue;
        if (!prvi)
            for (int i = 0; i < 3; ++i) {
                const double v = snimac::brojevi(*poziv)[i];
                proveri(std::isfinite(v), "translations of the scene finite", 0, v);
            }
        prvi = false;
    }

    std::size_t& rekord = najvise[figura()];
    if (poslato > rekord)
        rekord = poslato;
}
