// The picture as sound (see zvuk.h).
#include "zvuk.h"

#include "projekcija.h"

#include <algorithm>
#include <cmath>

namespace snimac {
namespace {

constexpr double PI = 3.14159265358979323846;
// Seconds each part takes, traced at one speed: the curve, then each ray.
constexpr double KRIVA = 3.0, ZRAK = 1.5;
constexpr double TISINA = 0.15;        // seconds between two parts
constexpr double UTAPANJE = 0.01;      // seconds of fade at each end of a part
constexpr double JACINA = 0.5 * 32767;  // the loudest a sample gets
// A curve's point further than this from the last of every path so far (a
// fraction of the picture's width or height, 12 pixels of 500) starts a path
// of its own: the hyperbola's branches, the parabola's halves, drawn point by
// point in turn, are each traced whole.
constexpr double SKOK = 0.024;
// The partials' amplitudes, the fundamental first: the curve and the incident
// ray a pure tone, the reflected ray brighter, its fundamental still the strongest.
constexpr double CIST[] = {1.0};
constexpr double ODBIJENI_PARCIJALI[] = {1.0, 0.35, 0.2};

// A place in the picture: 0 at its left and bottom edges, 1 at its right and top.
struct Tacka {
    double x, y;
};
using Put = std::vector<Tacka>;

double duzina(const Put& put)
{
    double d = 0;
    for (std::size_t i = 1; i < put.size(); ++i)
        d += std::hypot(put[i].x - put[i - 1].x, put[i].y - put[i - 1].y);
    return d;
}

struct Delovi {
    std::vector<Put> kriva;  // its paths in the order they start
    Put zrak, odbijeni;
};

Delovi razvrstaj(const Kadar& kadar)
{
    Delovi d;
    SlikaSerije slika;
    for (const Serija& s : kadar.serije) {
        const int sirina = s.pogled[2], visina = s.pogled[3];  // the picture is the viewport
        if (!projektuj(s, sirina, visina, 1.0, slika))
            continue;
        const auto mesto = [&](double x, double y) { return Tacka{x / sirina, 1 - y / visina}; };
        for (const TackaSlike& t : slika.tacke) {
            if (t.deo != Deo::KRIVA)
                continue;
            const Tacka p = mesto(t.x, t.y);
            Put* najblizi = nullptr;
            double najmanje = SKOK;
            for (Put& put : d.kriva) {
                const double r = std::hypot(put.back().x - p.x, put.back().y - p.y);
                if (r <= najmanje) {
                    najmanje = r;
                    najblizi = &put;
                }
            }
            if (!najblizi)
                najblizi = &d.kriva.emplace_back();
            najblizi->push_back(p);
        }
        for (const DuzSlike& z : slika.duzi) {
            Put* put = z.deo == Deo::ZRAK ? &d.zrak : z.deo == Deo::ODBIJENI_ZRAK ? &d.odbijeni : nullptr;
            if (put && put->empty())
                *put = {mesto(z.x1, z.y1), mesto(z.x2, z.y2)};
        }
    }
    // The reflected ray leaves the reflection point, where the incident ray ends,
    // whichever way it was drawn.
    if (d.zrak.size() == 2 && d.odbijeni.size() == 2) {
        const Tacka& r = d.zrak.back();
        if (std::hypot(d.odbijeni[1].x - r.x, d.odbijeni[1].y - r.y) <
            std::hypot(d.odbijeni[0].x - r.x, d.odbijeni[0].y - r.y))
            std::swap(d.odbijeni[0], d.odbijeni[1]);
    }
    return d;
}

// One part traced along its path at `brzina` (pictures a second), its partials'
// amplitudes in `parcijali`; it fades in and out.
void trag(const Put& put, double brzina, const double* parcijali, std::size_t parcijala,
          std::vector<std::int16_t>& uzorci)
{
    const std::size_t n = static_cast<std::size_t>(std::lround(duzina(put) / brzina * UZORAKA_U_SEKUNDI));
    double zbir = 0;
    for (std::size_t k = 0; k < parcijala; ++k)
        zbir += parcijali[k];
    double faza = 0, predjeno = 0;
    std::size_t i = 0;  // the segment from put[i] to put[i + 1]
    for (std::size_t u = 0; u < n; ++u) {
        const double cilj = static_cast<double>(u) / UZORAKA_U_SEKUNDI * brzina;
        double deo = 0;
        while (i + 1 < put.size()) {
            deo = std::hypot(put[i + 1].x - put[i].x, put[i + 1].y - put[i].y);
            if (predjeno + deo >= cilj)
                break;
            predjeno += deo;
            ++i;
        }
        const Tacka& a = put[i];
        const Tacka& b = put[std::min(i + 1, put.size() - 1)];
        const double t = deo > 0 ? std::clamp((cilj - predjeno) / deo, 0.0, 1.0) : 0.0;
        const double x = a.x + (b.x - a.x) * t, y = a.y + (b.y - a.y) * t;
        const double visinaTona = 220.0 * std::pow(4.0, y);
        const double ugao = PI / 2 * std::clamp(x, 0.0, 1.0);
        faza += 2 * PI * visinaTona / UZORAKA_U_SEKUNDI;
        faza = std::fmod(faza, 2 * PI);
        double talas = 0;
        for (std::size_t k = 0; k < parcijala; ++k)
            talas += parcijali[k] * std::sin(faza * static_cast<double>(k + 1));
        const double sekunde = static_cast<double>(std::min(u, n - 1 - u)) / UZORAKA_U_SEKUNDI;
        const double utapanje = sekunde < UTAPANJE ? 0.5 - 0.5 * std::cos(PI * sekunde / UTAPANJE) : 1.0;
        const double uzorak = JACINA * utapanje * talas / zbir;
        uzorci.push_back(static_cast<std::int16_t>(std::lround(uzorak * std::cos(ugao))));
        uzorci.push_back(static_cast<std::int16_t>(std::lround(uzorak * std::sin(ugao))));
    }
}

}  // namespace

std::vector<std::int16_t> zvuk(const Kadar& kadar)
{
    const Delovi d = razvrstaj(kadar);
    double kriva = 0;
    for (const Put& put : d.kriva)
        kriva += duzina(put);
    std::vector<std::int16_t> uzorci;
    // The curve's paths one after another without a pause, as one part.
    for (const Put& put : d.kriva)
        trag(put, kriva / KRIVA, CIST, std::size(CIST), uzorci);
    // Each ray after a silence.
    const auto zrak = [&](const Put& put, const double* parcijali, std::size_t parcijala) {
        if (!(duzina(put) > 0))
            return;
        if (!uzorci.empty())
            uzorci.insert(uzorci.end(), 2 * static_cast<std::size_t>(TISINA * UZORAKA_U_SEKUNDI), 0);
        trag(put, duzina(put) / ZRAK, parcijali, parcijala, uzorci);
    };
    zrak(d.zrak, CIST, std::size(CIST));
    zrak(d.odbijeni, ODBIJENI_PARCIJALI, std::size(ODBIJENI_PARCIJALI));
    return uzorci;
}

}  // namespace snimac
