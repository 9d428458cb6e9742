// The projection step (see projekcija.h).
#include "projekcija.h"

#include "odsecanje.h"

#include <algorithm>
#include <array>

namespace snimac {
namespace {

std::array<double, 4> uIsecanje(const Serija& s, const Teme& t)
{
    return ::uIsecanje(s.projekcija, s.modelview, t.x, t.y, t.z);
}

// Picture pixels, y down, of clip coordinates in front of the eye.
std::array<double, 2> uSliku(const Serija& s, const std::array<double, 4>& c, int visina)
{
    const std::array<double, 2> p = uProzor(s.pogled, c);
    return {p[0], visina - p[1]};
}

// GL draws a point whose centre lies in the view volume, and only such.
void tacke(const Serija& s, int visina, SlikaSerije& slika)
{
    bool nekonacna = false;
    for (const Teme& t : s.temena) {
        const std::array<double, 4> k = uIsecanje(s, t);
        if (!konacno(k[0], k[1], k[2], k[3])) {
            nekonacna = true;
            continue;
        }
        if (!(k[3] > 0) || std::fabs(k[0]) > k[3] || std::fabs(k[1]) > k[3] || std::fabs(k[2]) > k[3])
            continue;
        const std::array<double, 2> p = uSliku(s, k, visina);
        slika.tacke.push_back(TackaSlike{p[0], p[1], t.boja, t.deo, nekonacna});
        nekonacna = false;
    }
}

// The stipple as dashes along a line whose length in pixels is `razmera`
// times its extent along the major axis, where GL counts the pattern: from a
// lit bit after an unlit one, so the runs alternate lit and unlit and start
// lit; `pocetak` is the pixel of that bit. False when every bit is lit (no
// dashes).
bool crtice(GLushort sablon, int ponavljanje, double razmera, std::vector<double>& duzine, int& pocetak)
{
    const auto lit = [&](int bit) { return (sablon >> ((bit % 16 + 16) % 16) & 1) != 0; };
    int prvi = -1;
    for (int bit = 0; bit < 16 && prvi < 0; ++bit)
        if (lit(bit) && !lit(bit - 1))
            prvi = bit;
    if (prvi < 0)
        return false;
    for (int bit = prvi; bit < prvi + 16; ++bit) {
        if (bit == prvi || lit(bit) != lit(bit - 1))
            duzine.push_back(0);
        duzine.back() += ponavljanje * razmera;
    }
    pocetak = prvi * ponavljanje;
    return true;
}

void duzi(const Serija& s, int sirina, int visina, double mnozilac, SlikaSerije& slika)
{
    if (s.isprekidana && s.sablon == 0)
        return;  // every bit unlit: nothing is drawn
    const int ponavljanje = s.ponavljanje * static_cast<int>(std::max(1L, std::lround(mnozilac)));
    // The picture widened by the line's width.
    const double rub = slika.mera + 1.0;
    const Okvir okvir{-rub, sirina + rub, -rub, visina + rub};
    for (size_t i = 0; i + 1 < s.temena.size(); i += 2) {
        std::array<double, 4> p = uIsecanje(s, s.temena[i]), q = uIsecanje(s, s.temena[i + 1]);
        if (!konacno(p[0], p[1], p[2], p[3], q[0], q[1], q[2], q[3]) || !odseciIspredOka(p.data(), q.data()))
            continue;
        const std::array<double, 2> a = uSliku(s, p, visina), z = uSliku(s, q, visina);
        double t0, t1;
        if (!odseciDuz(okvir, a[0], a[1], z[0], z[1], t0, t1) || !(t0 < t1))
            continue;
        const double dx = z[0] - a[0], dy = z[1] - a[1];
        const double glavna = std::max(std::fabs(dx), std::fabs(dy));
        if (glavna == 0)
            continue;
        DuzSlike d{a[0] + t0 * dx, a[1] + t0 * dy, a[0] + t1 * dx, a[1] + t1 * dy, s.temena[i + 1].boja,
                    s.temena[i].deo, false, {}};
        int pocetak = 0;
        if (s.isprekidana && crtice(s.sablon, ponavljanje, std::hypot(dx, dy) / glavna, d.crtice.duzine, pocetak)) {
            // GL counts the pattern from the segment's first end, in pixels
            // along the major axis, and starts it again with each segment;
            // the drawn part starts t0 of the way in.
            const double perioda = 16.0 * ponavljanje;
            const double pomak = std::fmod(t0 * glavna - pocetak + perioda * 2, perioda);
            d.isprekidana = true;
            d.crtice.pomak = pomak * std::hypot(dx, dy) / glavna;
        }
        slika.duzi.push_back(std::move(d));
    }
}

}  // namespace

bool projektuj(const Serija& serija, int sirina, int visina, double mnozilac, SlikaSerije& slika)
{
    slika.tacke.clear();
    slika.duzi.clear();
    if (serija.nacin == GL_POINTS) {
        slika.mera = static_cast<float>(serija.velicinaTacke * mnozilac);
        tacke(serija, visina, slika);
        return true;
    }
    if (serija.nacin == GL_LINES) {
        slika.mera = static_cast<float>(serija.debljina * mnozilac);
        duzi(serija, sirina, visina, mnozilac, slika);
        return true;
    }
    return false;
}

}  // namespace snimac
