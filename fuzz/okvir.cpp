// One frame drawn on the recording stand-in and checked.
#include "okvir.h"

#include "geometrija.h"
#include "gl_recorder.h"
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

    rec::countOnly();
    reshape(500, 500);
    display();  // a frame that never ends is reported by the fuzzer's -timeout

    const rec::Counts& n = rec::counts();
    const double poslato = static_cast<double>(n.vertices);
    const std::size_t granica = GRANICA[figura()];
    proveri(n.vertices <= granica, "vertices at most the figure's bound",
            static_cast<double>(granica), poslato);
    proveri(n.nonFinite == 0, "vertices not finite", 0, static_cast<double>(n.nonFinite));
    proveri(n.outsideBatch == 0, "vertices outside glBegin/glEnd", 0,
            static_cast<double>(n.outsideBatch));
    proveri(n.misnested == 0 && !rec::inBatch(), "glBegin/glEnd misnested", 0,
            static_cast<double>(n.misnested));
    proveri(rec::count("glNewList") == rec::count("glEndList"), "display lists left open",
            static_cast<double>(rec::count("glNewList")), static_cast<double>(rec::count("glEndList")));
    proveri(rec::glut().swaps == 1, "buffer swaps", 1, rec::glut().swaps);

    const rec::Color boja = rec::currentColor();
    proveri(boja.r == 0 && boja.g == 0 && boja.b == 0, "black current at the end (sum of r, g, b)",
            0, double(boja.r) + boja.g + boja.b);
    proveri(rec::matrixMode() == GL_MODELVIEW, "matrix mode at the end", GL_MODELVIEW,
            rec::matrixMode());
    proveri(rec::count("glPushMatrix") == rec::count("glPopMatrix"), "pops as many as pushes",
            static_cast<double>(rec::count("glPushMatrix")), static_cast<double>(rec::count("glPopMatrix")));
    proveri(rec::modelviewDepth() == 0, "model-view depth at the end", 0, rec::modelviewDepth());

    // The first translation is the pan, sent as it stands (the keys keep it
    // finite); every one the scene adds must be finite, or it would fill the
    // matrix, and all that follows, with infinities.
    const std::vector<rec::Call> pomaci = rec::callsOf("glTranslatef");
    for (std::size_t k = 1; k < pomaci.size(); ++k)
        for (const double v : pomaci[k].args)
            proveri(std::isfinite(v), "translations of the scene finite", 0, v);

    std::size_t& rekord = najvise[figura()];
    if (n.vertices > rekord)
        rekord = n.vertices;
}
