// The recorded frame drawn with cairo, as the window draws it: every vertex
// projected through the recorded matrices and viewport, only what the view
// shows, in the picture's pixels.
#include "vektor.h"

#include "projekcija.h"
#include "upis.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>


#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double TACAKA_PO_PIKSELU = 72.0 / 96.0;  // PDF points per picture pixel
// Points of a batch closer than this to an open path's end continue it, in
// pixels: a row of points a pixel apart looks like a line on the screen.
constexpr double SPOJ = 1.25;
// Open paths kept while a batch goes on; the hyperbola's two branches arrive
// interleaved, point by point. The least recently extended ends first.
constexpr size_t NAJVISE_OTVORENIH = 8;
// A path's points leave out what bends it by less than this, in pixels.
constexpr double TOLERANCIJA_PUTANJE = 0.1;

using Tacka = snimac::TackaSlike;

struct Crtac {
    cairo_t* cr;
    size_t putanja = 0;
};

void boja(cairo_t* cr, const Boja& c)
{
    cairo_set_source_rgb(cr, c.crvena, c.zelena, c.plava);
}

// ---- Points ----------------------------------------------------------------

double udaljenost(const Tacka& a, const Tacka& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The points of the path without those that bend it by less than the
// tolerance (Douglas and Peucker, with a stack instead of recursion).
std::vector<Tacka> uprosti(const std::vector<Tacka>& t)
{
    if (t.size() < 3)
        return t;
    std::vector<bool> ostaje(t.size(), false);
    ostaje.front() = ostaje.back() = true;
    std::vector<std::pair<size_t, size_t>> posao{{0, t.size() - 1}};
    while (!posao.empty()) {
        const auto [od, doKraja] = posao.back();
        posao.pop_back();
        const Tacka a = t[od], b = t[doKraja];
        const double dx = b.x - a.x, dy = b.y - a.y, duzina = std::hypot(dx, dy);
        double najdalje = -1;
        size_t gde = od;
        for (size_t i = od + 1; i < doKraja; ++i) {
            const double d = duzina > 0 ? std::fabs(dy * (t[i].x - a.x) - dx * (t[i].y - a.y)) / duzina
                                        : udaljenost(t[i], a);
            if (d > najdalje) {
                najdalje = d;
                gde = i;
            }
        }
        if (najdalje > TOLERANCIJA_PUTANJE) {
            ostaje[gde] = true;
            posao.push_back({od, gde});
            posao.push_back({gde, doKraja});
        }
    }
    std::vector<Tacka> ostale;
    for (size_t i = 0; i < t.size(); ++i)
        if (ostaje[i])
            ostale.push_back(t[i]);
    return ostale;
}

struct Otvorena {
    std::vector<Tacka> tacke;
    Boja boja;
    size_t produzena;  // when a point last joined it
};

// A row of points as a polyline of the point's width with round caps and
// joins; a lone point becomes a round dot.
void zavrsi(Crtac& c, const Otvorena& o, double velicina)
{
    const std::vector<Tacka> t = uprosti(o.tacke);
    boja(c.cr, o.boja);
    cairo_set_line_width(c.cr, velicina);
    cairo_set_line_cap(c.cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(c.cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(c.cr, t[0].x, t[0].y);
    for (size_t i = 1; i < t.size(); ++i)
        cairo_line_to(c.cr, t[i].x, t[i].y);
    if (t.size() == 1)
        cairo_close_path(c.cr);
    cairo_stroke(c.cr);
    ++c.putanja;
}

void nacrtajTacke(Crtac& c, const snimac::SlikaSerije& s)
{
    std::vector<Otvorena> otvorene;
    const auto zavrsiSve = [&] {
        for (const Otvorena& o : otvorene)
            zavrsi(c, o, s.mera);
        otvorene.clear();
    };
    for (size_t i = 0; i < s.tacke.size(); ++i) {
        const Tacka& t = s.tacke[i];
        if (t.posleNekonacne)
            zavrsiSve();  // a point that is not finite ends the path
        Otvorena* nastavlja = nullptr;
        for (Otvorena& o : otvorene)
            if (o.boja == t.boja && udaljenost(o.tacke.back(), t) <= SPOJ &&
                (!nastavlja || o.produzena > nastavlja->produzena))
                nastavlja = &o;
        if (!nastavlja) {
            if (otvorene.size() == NAJVISE_OTVORENIH) {
                const auto najstarija = std::min_element(
                    otvorene.begin(), otvorene.end(),
                    [](const Otvorena& x, const Otvorena& y) { return x.produzena < y.produzena; });
                zavrsi(c, *najstarija, s.mera);
                otvorene.erase(najstarija);
            }
            otvorene.push_back(Otvorena{{}, t.boja, i});
            nastavlja = &otvorene.back();
        }
        nastavlja->tacke.push_back(t);
        nastavlja->produzena = i;
    }
    zavrsiSve();
}

// ---- Lines -------------------------------------------------------------------

void nacrtajLinije(Crtac& c, const snimac::SlikaSerije& s)
{
    for (const snimac::DuzSlike& d : s.duzi) {
        boja(c.cr, d.boja);
        cairo_set_line_width(c.cr, s.mera);
        cairo_set_line_cap(c.cr, CAIRO_LINE_CAP_BUTT);
        if (d.isprekidana)
            cairo_set_dash(c.cr, d.crtice.duzine.data(), static_cast<int>(d.crtice.duzine.size()), d.crtice.pomak);
        else
            cairo_set_dash(c.cr, nullptr, 0, 0);
        cairo_move_to(c.cr, d.x1, d.y1);
        cairo_line_to(c.cr, d.x2, d.y2);
        cairo_stroke(c.cr);
        cairo_set_dash(c.cr, nullptr, 0, 0);
        ++c.putanja;
    }
}

// ---- The file ------------------------------------------------------------------

struct Izlaz {
    int fd;
    int greska = 0;  // errno of the first failed write
};

cairo_status_t pisi(void* zatvoreno, const unsigned char* podaci, unsigned int duzina)
{
    Izlaz& izlaz = *static_cast<Izlaz*>(zatvoreno);
    return upisiSve(izlaz.fd, podaci, duzina, izlaz.greska) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

bool upisiCrtez(VrstaCrteza vrsta, int sirina, int visina, int fd, std::size_t& putanja, std::string& greska)
{
    Izlaz izlaz{fd};
    cairo_surface_t* povrsina = nullptr;
    if (vrsta == VrstaCrteza::SVG) {
        povrsina = cairo_svg_surface_create_for_stream(pisi, &izlaz, sirina, visina);
        cairo_svg_surface_set_document_unit(povrsina, CAIRO_SVG_UNIT_PX);
    } else {
        povrsina = cairo_pdf_surface_create_for_stream(pisi, &izlaz, sirina * TACAKA_PO_PIKSELU,
                                                       visina * TACAKA_PO_PIKSELU);
    }
    cairo_t* cr = cairo_create(povrsina);
    if (vrsta == VrstaCrteza::PDF)
        cairo_scale(cr, TACAKA_PO_PIKSELU, TACAKA_PO_PIKSELU);
    // The clear colour over the whole picture; its alpha does not show in a window.
    const snimac::Kadar& kadar = snimac::kadar();
    const float* pozadina = kadar.pozadina;
    cairo_set_source_rgb(cr, pozadina[0], pozadina[1], pozadina[2]);
    cairo_paint(cr);
    Crtac crtac{cr};
    snimac::SlikaSerije slika;
    for (const snimac::Serija& s : kadar.serije) {
        if (!snimac::projektuj(s, sirina, visina, 1.0, slika)) {
            greska = "the frame draws in a way the drawing cannot show (GL mode " + std::to_string(s.nacin) + ")";
            cairo_destroy(cr);
            cairo_surface_destroy(povrsina);
            return false;
        }
        if (s.nacin == GL_POINTS)
            nacrtajTacke(crtac, slika);
        else
            nacrtajLinije(crtac, slika);
    }
    cairo_destroy(cr);
    cairo_surface_finish(povrsina);
    const cairo_status_t stanje = cairo_surface_status(povrsina);
    cairo_surface_destroy(povrsina);
    putanja = crtac.putanja;
    if (stanje == CAIRO_STATUS_SUCCESS)
        return true;
    greska = izlaz.greska ? std::strerror(izlaz.greska) : cairo_status_to_string(stanje);
    return false;
}
