// The picture's description, and the same in words a screen reader keeps. The
// finished frame is read by the part of the scene each vertex draws, as the
// scenes name them (crtez.h); the words may name a part's colour, as a sighted
// pupil would. The rectangle's sides are left unsaid. Nothing of the scenes'
// geometry is worked out again here.
#include "opis.h"

#include "scena.h"
#include "snimac.h"

#include <algorithm>
#include <cctype>
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
    // Runs of spaces made one, none at the ends or before a stop.
    const char* sazeto()
    {
        std::size_t n = 0;
        for (std::size_t i = 0; i < duzina; ++i) {
            const char c = znaci[i];
            if (c == ' ' && (n == 0 || znaci[n - 1] == ' ' || znaci[n - 1] == '\n'))
                continue;
            if ((c == '.' || c == ',' || c == ';' || c == ':' || c == '\n') && n > 0 && znaci[n - 1] == ' ')
                --n;
            znaci[n++] = c;
        }
        while (n > 0 && znaci[n - 1] == ' ')
            --n;
        znaci[duzina = n] = '\0';
        return znaci;
    }

private:
    char znaci[2048] = "";
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

// The parts of the frame a description names: a ray by the first of its
// segment's two ends.
struct Delovi {
    const snimac::Teme* zrak = nullptr;
    const snimac::Teme* odbijeni = nullptr;
    const snimac::Teme* direktrisa = nullptr;
    bool tangenta = false, asimptote = false;
};

Delovi razvrstaj()
{
    Delovi d;
    for (const snimac::Serija& s : snimac::kadar().serije)
        for (std::size_t i = 0; i < s.temena.size(); ++i) {
            const snimac::Teme& t = s.temena[i];
            const bool duz = s.nacin == GL_LINES && i % 2 == 0 && i + 1 < s.temena.size();
            if (duz && t.deo == Deo::ZRAK && !d.zrak)
                d.zrak = &t;
            else if (duz && t.deo == Deo::ODBIJENI_ZRAK && !d.odbijeni)
                d.odbijeni = &t;
            else if (t.deo == Deo::DIREKTRISA && !d.direktrisa)
                d.direktrisa = &t;
            d.tangenta |= t.deo == Deo::TANGENTA;
            d.asimptote |= t.deo == Deo::ASIMPTOTA;
        }
    return d;
}

// Each picture said in the order a pupil needs it, and short enough to hear
// after every key: the curve, where the ray from a focus is reflected and
// where it goes, then the construction lines. The foci are left out: the
// dialogue has just said them.
void elipsa(const Delovi& d, Tekst& t)
{
    t << "Elipsa x^2/" << Broj(static_cast<double>(a) * a) << " + y^2/" << Broj(static_cast<double>(b) * b)
      << " = 1.";
    // From the left focus to the reflection point, and on to the right focus.
    if (!d.zrak || !d.odbijeni) {
        t << " Za ove vrednosti zize i zrak nisu nacrtani.";
        return;
    }
    t << " Zrak iz leve zize odbija se u tacki " << Tacka(d.zrak[1]) << " ka desnoj zizi";
    if (d.tangenta)
        t << "; zelena prava je tangenta";
    t << ".";
}

void hiperbola(const Delovi& d, Tekst& t)
{
    t << "Hiperbola x^2/" << Broj(static_cast<double>(a1) * a1) << " - y^2/"
      << Broj(static_cast<double>(b1) * b1) << " = 1.";
    if (d.zrak)
        t << " Zrak iz leve zize odbija se u tacki " << Tacka(d.zrak[1])
          << ", dalje od desne zize, duz isprekidane linije.";
    else
        t << " Za ove vrednosti zrak nije nacrtan.";
    if (d.asimptote)
        t << " Tanke prave su asimptote.";
}

void parabola(const Delovi& d, Tekst& t)
{
    t << "Parabola y^2 = " << Broj(2.0 * p) << "x.";
    // From the focus to the reflection point, then along the axis.
    if (d.zrak && d.odbijeni)
        t << " Zrak iz zize odbija se u tacki " << Tacka(d.zrak[1]) << " paralelno osi x, "
          << (d.odbijeni[1].x > d.odbijeni[0].x ? "udesno" : "ulevo");
    else
        t << " Za ove vrednosti zrak nije nacrtan";
    if (d.direktrisa)
        t << "; zelena prava x = " << Broj(d.direktrisa->x) << " je direktrisa";
    t << ".";
}

// Nothing at home, where the picture starts and R brings it back.
void pomak(Tekst& t)
{
    if (xtranslate == 0 && ytranslate == 0)
        return;
    t << " Slika je pomerena za ";
    if (xtranslate != 0)
        t << Broj(std::fabs(xtranslate)) << (xtranslate > 0 ? " udesno" : " ulevo") << (ytranslate != 0 ? " i " : "");
    if (ytranslate != 0)
        t << Broj(std::fabs(ytranslate)) << (ytranslate > 0 ? " nagore" : " nadole");
    t << ".";
}

// The spoken form: a number as the description writes it, a sign as a word.
// A written number is taken whole (-4, 0.281509, 3,54, inf): a comma or a point
// belongs to it only between digits. Its value is its digits over a power of
// ten, rounded once as strtod rounds while they fit in a double's 53 bits;
// strtod itself would add more to the page's module than all of this file.
const char* procitajBroj(const char* z, Tekst& t)
{
    const double znak = *z == '-' ? -1 : 1;
    if (*z == '-')
        ++z;
    double cifre = 0, delilac = 1;
    if (std::strncmp(z, "inf", 3) == 0 || std::strncmp(z, "nan", 3) == 0) {
        cifre = *z == 'i' ? HUGE_VAL : NAN;
        z += 3;
    } else {
        for (; std::isdigit(static_cast<unsigned char>(*z)); ++z)
            cifre = cifre * 10 + (*z - '0');
        if ((*z == '.' || *z == ',') && std::isdigit(static_cast<unsigned char>(z[1])))
            for (++z; std::isdigit(static_cast<unsigned char>(*z)); ++z) {
                cifre = cifre * 10 + (*z - '0');
                delilac *= 10;
            }
    }
    const Broj b(znak * (cifre / delilac));
    t << (b.znaci[0] == '-' ? " minus " : " ") << (b.znaci[0] == '-' ? b.znaci + 1 : b.znaci) << " ";
    return z;
}

bool pocinjeBroj(const char* z)
{
    const char* c = *z == '-' ? z + 1 : z;
    return std::isdigit(static_cast<unsigned char>(*c)) ||
           ((std::strncmp(c, "inf", 3) == 0 || std::strncmp(c, "nan", 3) == 0) &&
            !std::isalpha(static_cast<unsigned char>(c[3])));
}

}  // namespace

const char* izgovor(const char* napisano)
{
    static Tekst t;
    t = Tekst{};
    bool uZagradi = false;
    bool poslePisma = false;  // "nan" inside a word is no number
    // The program's names of its equations, said shorter: every second counts
    // when the picture is said after each key.
    static const char* const KRACE[][2] = {
        {"Jednacina zraka je:", "Zrak:"},
        {"Jednacina odbijenog zraka je:", "Odbijeni zrak:"},
    };
    for (const char* z = napisano; *z != '\0';) {
        bool zamenjeno = false;
        for (const auto& par : KRACE)
            if (std::strncmp(z, par[0], std::strlen(par[0])) == 0) {
                t << par[1] << " ";
                z += std::strlen(par[0]);
                zamenjeno = true;
            }
        if (zamenjeno)
            continue;
        if (!poslePisma && pocinjeBroj(z)) {
            z = procitajBroj(z, t);
            continue;
        }
        const char c = *z++;
        poslePisma = std::isalpha(static_cast<unsigned char>(c));
        if (c == '^' && *z == '2') {
            t << " na kvadrat ";
            ++z;
        } else if (c == '^') {
            t << " na ";
        } else if (c == '/') {
            t << " kroz ";
        } else if (c == '=') {
            t << " jednako ";
        } else if (c == '*') {
            t << " puta ";
        } else if (c == '+') {
            t << " plus ";
        } else if (c == '-' && (*z == ' ' || *z == '\0')) {
            t << " minus ";
        } else if (c == '(') {
            uZagradi = true;
            t << " x ";
        } else if (c == ')' && uZagradi) {
            uZagradi = false;
        } else if ((c == ',' || c == ';') && uZagradi) {
            t << ", y ";
        } else if (c == ':') {
            t << ": ";
        } else {
            const char znak[2] = {c, '\0'};
            t << znak;
        }
    }
    return t.sazeto();
}

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
    pomak(t);
    return t.c_str();
}
