// The picture's description. The recorded frame is read by colour and kind, as
// a sighted pupil reads it: olive segments are the rays, green the tangent or
// the directrix, a few black points the foci, thin black segments before the
// axes the asymptotes and the rectangle's sides. Nothing of the scenes'
// geometry is worked out again here.
#include "opis.h"

#include "scena.h"
#include "snimac.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Two decimals with a decimal comma, trailing zeros dropped: 4, 3,54, -0,3.
std::string broj(double x)
{
    if (!std::isfinite(x))
        return std::isnan(x) ? "nije broj" : (x > 0 ? "beskonacno" : "minus beskonacno");
    char tekst[64];
    std::snprintf(tekst, sizeof tekst, "%.2f", x);
    std::string s = tekst;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    if (s == "-0")
        s = "0";
    for (char& z : s)
        if (z == '.')
            z = ',';
    return s;
}

// A point as the page writes it: (-4, 0), or (3,54; 2,12) where a comma is decimal.
std::string tacka(double x, double y)
{
    const std::string sx = broj(x), sy = broj(y);
    const bool decimalna = (sx + sy).find(',') != std::string::npos;
    return "(" + sx + (decimalna ? "; " : ", ") + sy + ")";
}

std::string tacka(const snimac::Teme& t) { return tacka(t.x, t.y); }

// The frame's batches sorted by what they show.
struct Delovi {
    std::vector<const snimac::Serija*> zraci;      // olive segments, in drawing order
    const snimac::Serija* zize = nullptr;
    const snimac::Serija* zelenaTacke = nullptr;   // the ellipse's tangent
    const snimac::Serija* zelenaDuzi = nullptr;    // the parabola's directrix
    std::vector<const snimac::Serija*> tankeCrne;  // black segments, the axes left out
};

bool je(const snimac::Serija& s, const snimac::Boja& boja)
{
    return !s.temena.empty() && s.temena.front().boja == boja;
}

Delovi razvrstaj()
{
    const snimac::Boja crna{0, 0, 0}, maslinasta{0.5f, 0.5f, 0}, zelena{0, 0.5f, 0};
    Delovi d;
    int crneTacke = 0;
    const snimac::Serija* poslednjaCrnaDuz = nullptr;
    for (const snimac::Serija& s : snimac::serije()) {
        const bool duzi = s.nacin == GL_LINES, tacke = s.nacin == GL_POINTS;
        if (duzi && je(s, maslinasta))
            d.zraci.push_back(&s);
        else if (tacke && je(s, zelena))
            d.zelenaTacke = &s;
        else if (duzi && je(s, zelena))
            d.zelenaDuzi = &s;
        else if (tacke && je(s, crna) && ++crneTacke == 2)  // the first is the curve
            d.zize = &s;
        else if (duzi && je(s, crna)) {
            if (poslednjaCrnaDuz)
                d.tankeCrne.push_back(poslednjaCrnaDuz);
            poslednjaCrnaDuz = &s;  // the last of them is the axes
        }
    }
    return d;
}

// The incident ray's two ends, from the first olive batch.
bool upadni(const Delovi& d, snimac::Teme& od, snimac::Teme& u)
{
    if (d.zraci.empty() || d.zraci.front()->temena.size() < 2)
        return false;
    od = d.zraci.front()->temena[0];
    u = d.zraci.front()->temena[1];
    return true;
}

std::string elipsa(const Delovi& d)
{
    std::string s = "Elipsa x^2/" + broj(static_cast<double>(a) * a) + " + y^2/" +
                    broj(static_cast<double>(b) * b) + " = 1";
    snimac::Teme ziza, r;
    const auto* zrak = d.zraci.empty() ? nullptr : d.zraci.front();
    if (!upadni(d, ziza, r) || zrak->temena.size() < 4)
        return s + ". Za ove vrednosti zize i zrak nisu nacrtani.";
    s += ", zize " + tacka(ziza) + " i " + tacka(zrak->temena[3]) + ". Zrak iz leve zize pogadja elipsu u tacki " +
         tacka(r) + " i odbija se u desnu zizu";
    if (d.zelenaTacke)
        s += "; zelena prava je tangenta u toj tacki";
    return s + ".";
}

std::string hiperbola(const Delovi& d)
{
    std::string s = "Hiperbola x^2/" + broj(static_cast<double>(a1) * a1) + " - y^2/" +
                    broj(static_cast<double>(b1) * b1) + " = 1";
    if (d.zize && d.zize->temena.size() == 2)
        s += ", zize " + tacka(d.zize->temena[1]) + " i " + tacka(d.zize->temena[0]);
    snimac::Teme ziza, r;
    if (upadni(d, ziza, r))
        s += ". Zrak iz leve zize pogadja " + std::string(r.x < 0 ? "levu" : "desnu") +
             " granu u tacki " + tacka(r) +
             " i odbija se od nje duz prave iz desne zize kroz tu tacku, dalje od desne zize; "
             "isprekidana linija spaja tu tacku sa desnom zizom";
    else
        s += ". Za ove vrednosti zrak nije nacrtan";
    std::vector<std::string> asimptote, stranice;
    for (const snimac::Serija* serija : d.tankeCrne)
        for (std::size_t i = 0; i + 1 < serija->temena.size(); i += 2) {
            const snimac::Teme &p1 = serija->temena[i], &p2 = serija->temena[i + 1];
            if (p1.x == p2.x)
                stranice.push_back("x = " + broj(p1.x));
            else
                asimptote.push_back("y = " + broj((static_cast<double>(p2.y) - p1.y) / (static_cast<double>(p2.x) - p1.x)) + "x");
        }
    if (asimptote.size() == 2)
        s += ". Tanke crne prave su asimptote " + asimptote[0] + " i " + asimptote[1];
    if (stranice.size() == 2)
        s += ", a uspravne duzi " + stranice[1] + " i " + stranice[0] + " su stranice pravougaonika";
    return s + ".";
}

std::string parabola(const Delovi& d)
{
    std::string s = "Parabola y^2 = " + broj(2.0 * p) + "x";
    if (d.zize && d.zize->temena.size() == 1)
        s += ", ziza " + tacka(d.zize->temena[0]);
    snimac::Teme ziza, r;
    const auto* zrak = d.zraci.empty() ? nullptr : d.zraci.front();
    if (upadni(d, ziza, r) && zrak->temena.size() >= 4)
        s += ". Zrak iz zize pogadja parabolu u tacki " + tacka(r) + " i odbija se paralelno osi x, " +
             (zrak->temena[3].x > zrak->temena[2].x ? "udesno" : "ulevo");
    else
        s += ". Za ove vrednosti zrak nije nacrtan";
    if (d.zelenaDuzi && !d.zelenaDuzi->temena.empty())
        s += "; zelena prava x = " + broj(d.zelenaDuzi->temena[0].x) + " je direktrisa";
    return s + ".";
}

std::string pomak()
{
    if (xtranslate == 0 && ytranslate == 0)
        return " Slika nije pomerena.";
    std::vector<std::string> delovi;
    if (xtranslate != 0)
        delovi.push_back(broj(std::fabs(xtranslate)) + (xtranslate > 0 ? " udesno" : " ulevo"));
    if (ytranslate != 0)
        delovi.push_back(broj(std::fabs(ytranslate)) + (ytranslate > 0 ? " nagore" : " nadole"));
    return " Slika je pomerena za " + delovi[0] + (delovi.size() > 1 ? " i " + delovi[1] : "") + ".";
}

}  // namespace

std::string opisSlike()
{
    const Delovi d = razvrstaj();
    std::string s;
    switch (unos) {
    case 1:
        s = elipsa(d);
        break;
    case 2:
        s = hiperbola(d);
        break;
    case 3:
        s = parabola(d);
        break;
    default:
        return "Nije izabrana nijedna figura, pa su prikazane samo ose x i y." + pomak();
    }
    return s + " Crne prave kroz koordinatni pocetak su ose x i y." + pomak();
}
