// The picture's description. The recorded frame is read by colour and kind, as
// a sighted pupil reads it: olive segments are the rays, green the tangent or
// the directrix, a few black points the foci, thin black segments before the
// axes the asymptotes and the rectangle's sides. Nothing of the scenes'
// geometry is worked out again here.
#include "opis.h"

#include "scena.h"
#include "snimac.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The description is built in one fixed buffer: the page's module carries no
// string library for it. Far longer than any description; what would not fit
// is cut.
class Tekst {
public:
    Tekst& operator<<(const char* deo)
    {
        const std::size_t n = std::min(std::strlen(deo), sizeof znaci - 1 - duzina);
        std::memcpy(znaci + duzina, deo, n);
        duzina += n;
        znaci[duzina] = '\0';
        return *this;
    }
    const char* c_str() const { return znaci; }

private:
    char znaci[1024] = "";
    std::size_t duzina = 0;
};

// Two decimals with a decimal comma, trailing zeros dropped: 4, 3,54, -0,3.
struct Broj {
    explicit Broj(double x)
    {
        if (!std::isfinite(x)) {
            std::snprintf(znaci, sizeof znaci, "%s", std::isnan(x) ? "nije broj" : x > 0 ? "beskonacno" : "minus beskonacno");
            return;
        }
        std::snprintf(znaci, sizeof znaci, "%.2f", x);
        char* kraj = znaci + std::strlen(znaci);
        while (kraj[-1] == '0')
            *--kraj = '\0';
        if (kraj[-1] == '.')
            *--kraj = '\0';
        if (std::strcmp(znaci, "-0") == 0)
            std::strcpy(znaci, "0");
        if (char* tacka = std::strchr(znaci, '.'))
            *tacka = ',';
    }
    char znaci[48];
};

Tekst& operator<<(Tekst& t, const Broj& b) { return t << b.znaci; }

// A point as the page writes it: (-4, 0), or (3,54; 2,12) where a comma is decimal.
struct Tacka {
    explicit Tacka(const snimac::Teme& t) : x(t.x), y(t.y) {}
    Broj x, y;
};

Tekst& operator<<(Tekst& t, const Tacka& p)
{
    const bool decimalna = std::strchr(p.x.znaci, ',') || std::strchr(p.y.znaci, ',');
    return t << "(" << p.x << (decimalna ? "; " : ", ") << p.y << ")";
}

// The frame's batches sorted by what they show.
struct Delovi {
    std::vector<snimac::Teme> zrak;                // the first olive batch: the incident ray first
    const snimac::Serija* zize = nullptr;          // the black points after the curve's
    const snimac::Serija* zelenaTacke = nullptr;   // the ellipse's tangent
    const snimac::Serija* zelenaDuzi = nullptr;    // the parabola's directrix
    std::vector<const snimac::Serija*> tankeCrne;  // black segments, the axes left out
};

// The batch's colour is one of the program's, as the recorder keeps it.
bool je(const snimac::Serija& s, const ::Boja& boja)
{
    return !s.temena.empty() && s.temena.front().boja == snimac::Boja{boja.crvena, boja.zelena, boja.plava};
}

Delovi razvrstaj()
{
    Delovi d;
    int crneTacke = 0;
    const snimac::Serija* poslednjaCrnaDuz = nullptr;
    for (const snimac::Serija& s : snimac::serije()) {
        const bool duzi = s.nacin == GL_LINES, tacke = s.nacin == GL_POINTS;
        if (duzi && je(s, MASLINASTI_ZRAK) && d.zrak.empty())
            d.zrak = s.temena;
        else if (tacke && je(s, ZELENA_PRAVA))
            d.zelenaTacke = &s;
        else if (duzi && je(s, ZELENA_PRAVA))
            d.zelenaDuzi = &s;
        else if (tacke && je(s, CRNA) && ++crneTacke == 2)  // the first is the curve
            d.zize = &s;
        else if (duzi && je(s, CRNA)) {
            if (poslednjaCrnaDuz)
                d.tankeCrne.push_back(poslednjaCrnaDuz);
            poslednjaCrnaDuz = &s;  // the last of them is the axes
        }
    }
    return d;
}

void elipsa(const Delovi& d, Tekst& t)
{
    t << "Elipsa x^2/" << Broj(static_cast<double>(a) * a) << " + y^2/" << Broj(static_cast<double>(b) * b)
      << " = 1";
    // From the left focus to the reflection point, and on to the right focus.
    const std::vector<snimac::Teme>& z = d.zrak;
    if (z.size() < 4) {
        t << ". Za ove vrednosti zize i zrak nisu nacrtani.";
        return;
    }
    t << ", zize " << Tacka(z[0]) << " i " << Tacka(z[3]) << ". Zrak iz leve zize pogadja elipsu u tacki "
      << Tacka(z[1]) << " i odbija se u desnu zizu";
    if (d.zelenaTacke)
        t << "; zelena prava je tangenta u toj tacki";
    t << ".";
}

void hiperbola(const Delovi& d, Tekst& t)
{
    t << "Hiperbola x^2/" << Broj(static_cast<double>(a1) * a1) << " - y^2/"
      << Broj(static_cast<double>(b1) * b1) << " = 1";
    if (d.zize && d.zize->temena.size() == 2)
        t << ", zize " << Tacka(d.zize->temena[1]) << " i " << Tacka(d.zize->temena[0]);
    if (d.zrak.size() >= 2)
        t << ". Zrak iz leve zize pogadja " << (d.zrak[1].x < 0 ? "levu" : "desnu") << " granu u tacki "
          << Tacka(d.zrak[1])
          << " i odbija se od nje duz prave iz desne zize kroz tu tacku, dalje od desne zize; "
             "isprekidana linija spaja tu tacku sa desnom zizom";
    else
        t << ". Za ove vrednosti zrak nije nacrtan";
    // Sloping segments are the asymptotes, upright ones the rectangle's sides.
    std::vector<double> nagibi, stranice;
    for (const snimac::Serija* serija : d.tankeCrne)
        for (std::size_t i = 0; i + 1 < serija->temena.size(); i += 2) {
            const snimac::Teme &p1 = serija->temena[i], &p2 = serija->temena[i + 1];
            if (p1.x == p2.x)
                stranice.push_back(p1.x);
            else
                nagibi.push_back((static_cast<double>(p2.y) - p1.y) / (static_cast<double>(p2.x) - p1.x));
        }
    if (nagibi.size() == 2)
        t << ". Tanke crne prave su asimptote y = " << Broj(nagibi[0]) << "x i y = " << Broj(nagibi[1]) << "x";
    if (stranice.size() == 2)
        t << ", a uspravne duzi x = " << Broj(stranice[1]) << " i x = " << Broj(stranice[0])
          << " su stranice pravougaonika";
    t << ".";
}

void parabola(const Delovi& d, Tekst& t)
{
    t << "Parabola y^2 = " << Broj(2.0 * p) << "x";
    if (d.zize && d.zize->temena.size() == 1)
        t << ", ziza " << Tacka(d.zize->temena[0]);
    // From the focus to the reflection point, then along the axis.
    const std::vector<snimac::Teme>& z = d.zrak;
    if (z.size() >= 4)
        t << ". Zrak iz zize pogadja parabolu u tacki " << Tacka(z[1]) << " i odbija se paralelno osi x, "
          << (z[3].x > z[2].x ? "udesno" : "ulevo");
    else
        t << ". Za ove vrednosti zrak nije nacrtan";
    if (d.zelenaDuzi && !d.zelenaDuzi->temena.empty())
        t << "; zelena prava x = " << Broj(d.zelenaDuzi->temena[0].x) << " je direktrisa";
    t << ".";
}

void pomak(Tekst& t)
{
    if (xtranslate == 0 && ytranslate == 0) {
        t << " Slika nije pomerena.";
        return;
    }
    t << " Slika je pomerena za ";
    if (xtranslate != 0)
        t << Broj(std::fabs(xtranslate)) << (xtranslate > 0 ? " udesno" : " ulevo") << (ytranslate != 0 ? " i " : "");
    if (ytranslate != 0)
        t << Broj(std::fabs(ytranslate)) << (ytranslate > 0 ? " nagore" : " nadole");
    t << ".";
}

}  // namespace

const char* opisSlike()
{
    static Tekst t;
    t = Tekst{};
    const Delovi d = razvrstaj();
    switch (unos) {
    case 1:
        elipsa(d, t);
        break;
    case 2:
        hiperbola(d, t);
        break;
    case 3:
        parabola(d, t);
        break;
    default:
        t << "Nije izabrana nijedna figura, pa su prikazane samo ose x i y.";
        pomak(t);
        return t.c_str();
    }
    t << " Crne prave kroz koordinatni pocetak su ose x i y.";
    pomak(t);
    return t.c_str();
}
