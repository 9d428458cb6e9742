// The recorded frame drawn with cairo, as the window draws it: every vertex
// projected through the recorded matrices and viewport, only what the view
// shows, in the picture's pixels.
#include "vektor.h"

#include "gl_recorder.h"
#include "odsecanje.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
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

struct Tacka {
    double x, y;  // picture pixels, y down
};

struct Crtac {
    cairo_t* cr;
    int sirina, visina;
    size_t putanja = 0;
};

// Clip coordinates of a recorded vertex.
std::array<double, 4> uIsecanje(const rec::Batch& b, const rec::Vertex& v)
{
    return ::uIsecanje(b.projection, b.modelview, v.x, v.y, v.z);
}

// Picture pixels, y down, of clip coordinates in front of the eye.
Tacka uSliku(const rec::Batch& b, const std::array<double, 4>& c, int visina)
{
    const std::array<double, 2> p = uProzor(b.viewport, c);
    return Tacka{p[0], visina - p[1]};
}

void boja(cairo_t* cr, const rec::Color& c)
{
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

// ---- Points ----------------------------------------------------------------

double udaljenost(Tacka a, Tacka b) { return std::hypot(a.x - b.x, a.y - b.y); }

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
    rec::Color boja;
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

void nacrtajTacke(Crtac& c, const rec::Batch& b)
{
    std::vector<Otvorena> otvorene;
    const auto zavrsiSve = [&] {
        for (const Otvorena& o : otvorene)
            zavrsi(c, o, b.pointSize);
        otvorene.clear();
    };
    for (size_t i = 0; i < b.v.size(); ++i) {
        const rec::Vertex& v = b.v[i];
        const std::array<double, 4> k = uIsecanje(b, v);
        if (!std::all_of(k.begin(), k.end(), [](double x) { return std::isfinite(x); })) {
            zavrsiSve();  // a point that is not finite ends the path
            continue;
        }
        // GL draws a point whose centre lies in the view volume, and only such.
        if (!(k[3] > 0) || std::fabs(k[0]) > k[3] || std::fabs(k[1]) > k[3] || std::fabs(k[2]) > k[3])
            continue;
        const Tacka t = uSliku(b, k, c.visina);
        Otvorena* nastavlja = nullptr;
        for (Otvorena& o : otvorene)
            if (o.boja == v.color && udaljenost(o.tacke.back(), t) <= SPOJ &&
                (!nastavlja || o.produzena > nastavlja->produzena))
                nastavlja = &o;
        if (!nastavlja) {
            if (otvorene.size() == NAJVISE_OTVORENIH) {
                const auto najstarija = std::min_element(
                    otvorene.begin(), otvorene.end(),
                    [](const Otvorena& x, const Otvorena& y) { return x.produzena < y.produzena; });
                zavrsi(c, *najstarija, b.pointSize);
                otvorene.erase(najstarija);
            }
            otvorene.push_back(Otvorena{{}, v.color, i});
            nastavlja = &otvorene.back();
        }
        nastavlja->tacke.push_back(t);
        nastavlja->produzena = i;
    }
    zavrsiSve();
}

// ---- Lines -------------------------------------------------------------------

// The stipple as cairo's dashes along a line whose length in pixels is
// `razmera` times its extent along the major axis, where GL counts the
// pattern. From a lit bit after an unlit one, so the runs alternate lit and
// unlit and the array starts lit; `pocetak` is the pixel of that bit. False
// when the pattern is all lit (no dashes).
bool crtice(const rec::Batch& b, double razmera, std::vector<double>& duzine, int& pocetak)
{
    const GLushort sara = b.stipplePattern;
    const int ponavljanje = std::clamp(static_cast<int>(b.stippleFactor), 1, 256);  // as GL clamps it
    const auto lit = [&](int bit) { return (sara >> ((bit % 16 + 16) % 16) & 1) != 0; };
    int prvi = -1;
    for (int bit = 0; bit < 16 && prvi < 0; ++bit)
        if (lit(bit) && !lit(bit - 1))
            prvi = bit;
    if (prvi < 0)
        return false;
    duzine.clear();
    for (int bit = prvi; bit < prvi + 16; ++bit) {
        if (bit == prvi || lit(bit) != lit(bit - 1))
            duzine.push_back(0);
        duzine.back() += ponavljanje * razmera;
    }
    pocetak = prvi * ponavljanje;
    return true;
}

void nacrtajLinije(Crtac& c, const rec::Batch& b)
{
    if (b.stipple && b.stipplePattern == 0)
        return;  // every bit unlit: nothing is drawn
    // The picture in its pixels, x right and y down, widened by the line's width.
    const double rub = b.lineWidth + 1.0;
    const Okvir okvir{-rub, c.sirina + rub, -rub, c.visina + rub};
    for (size_t i = 0; i + 1 < b.v.size(); i += 2) {
        std::array<double, 4> p = uIsecanje(b, b.v[i]), q = uIsecanje(b, b.v[i + 1]);
        const auto konacna = [](const std::array<double, 4>& x) {
            return std::all_of(x.begin(), x.end(), [](double y) { return std::isfinite(y); });
        };
        if (!konacna(p) || !konacna(q) || !odseciIspredOka(p.data(), q.data()))
            continue;
        const Tacka a = uSliku(b, p, c.visina), z = uSliku(b, q, c.visina);
        double t0, t1;
        if (!odseciDuz(okvir, a.x, a.y, z.x, z.y, t0, t1) || !(t0 < t1))
            continue;
        const double dx = z.x - a.x, dy = z.y - a.y;
        const double glavna = std::max(std::fabs(dx), std::fabs(dy));
        if (glavna == 0)
            continue;
        boja(c.cr, b.v[i + 1].color);
        cairo_set_line_width(c.cr, b.lineWidth);
        cairo_set_line_cap(c.cr, CAIRO_LINE_CAP_BUTT);
        std::vector<double> duzine;
        int pocetak = 0;
        if (b.stipple && crtice(b, std::hypot(dx, dy) / glavna, duzine, pocetak)) {
            // GL counts the pattern from the segment's first end, in pixels
            // along the major axis; the drawn part starts t0 of the way in.
            const double perioda = 16.0 * std::clamp(static_cast<int>(b.stippleFactor), 1, 256);
            const double pomak = std::fmod(t0 * glavna - pocetak + perioda * 2, perioda);
            cairo_set_dash(c.cr, duzine.data(), static_cast<int>(duzine.size()),
                           pomak * std::hypot(dx, dy) / glavna);
        } else {
            cairo_set_dash(c.cr, nullptr, 0, 0);
        }
        cairo_move_to(c.cr, a.x + t0 * dx, a.y + t0 * dy);
        cairo_line_to(c.cr, a.x + t1 * dx, a.y + t1 * dy);
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
    while (duzina > 0) {
        const ssize_t upisano = write(izlaz.fd, podaci, duzina);
        if (upisano < 0 && errno == EINTR)
            continue;
        if (upisano <= 0) {
            izlaz.greska = upisano < 0 ? errno : EIO;
            return CAIRO_STATUS_WRITE_ERROR;
        }
        podaci += upisano;
        duzina -= static_cast<unsigned int>(upisano);
    }
    return CAIRO_STATUS_SUCCESS;
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
    const float* pozadina = rec::clearColor();
    cairo_set_source_rgb(cr, pozadina[0], pozadina[1], pozadina[2]);
    cairo_paint(cr);
    Crtac crtac{cr, sirina, visina};
    for (const rec::Batch& b : rec::batches()) {
        if (b.mode == GL_POINTS)
            nacrtajTacke(crtac, b);
        else if (b.mode == GL_LINES)
            nacrtajLinije(crtac, b);
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
