// The console of the Windows programs written and read as glibc does it.
//
// mingw-w64's C99 printf and scanf (__USE_MINGW_ANSI_STDIO) already agree with
// glibc on the six decimals, inf, -inf, nan, exponents and hex floats, and on
// what text they leave unread. Two things they do otherwise:
//   - printf writes a not-a-number with its sign bit set as "nan"; glibc writes
//     "-nan" (the square root of a negative number is one);
//   - scanf's "%d" of a number beyond int saturates at the 32-bit long's limit;
//     glibc converts it as a 64-bit long (saturating there) and keeps the low
//     32 bits, so "4294967299" is read as 3 and "4294967295" as -1.
// The programs are linked with --wrap (prozor/CMakeLists.txt), so every
// printf and scanf of theirs comes here first. The format is taken apart and
// each conversion handed to mingw's own alone, but for those two cases.
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

extern "C" {
int __real___mingw_vfprintf(FILE* tok, const char* format, va_list argumenti);
int __real___mingw_vfscanf(FILE* tok, const char* format, va_list argumenti);
int __wrap___mingw_vfprintf(FILE* tok, const char* format, va_list argumenti);
int __wrap___mingw_vfscanf(FILE* tok, const char* format, va_list argumenti);
}

namespace {

// ---- printf ----

// One conversion and its argument, as mingw formats them.
std::string formatiraj(const char* oblik, ...)
{
    va_list a, b;
    va_start(a, oblik);
    va_copy(b, a);
    const int n = __mingw_vsnprintf(nullptr, 0, oblik, a);
    std::string s(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0)
        __mingw_vsnprintf(&s[0], s.size() + 1, oblik, b);
    va_end(b);
    va_end(a);
    return s;
}

// A negative not-a-number, formatted as mingw writes the positive one, given
// glibc's minus sign in the same width: in place of a sign flag's '+' or ' ' or
// a pad space before it, else before it with a pad space taken back.
std::string negativanNan(std::string s)
{
    const size_t nan = s.find_first_of("nN");
    if (nan == std::string::npos || s.find('-') < nan)
        return s;
    if (nan > 0 && (s[nan - 1] == '+' || s[nan - 1] == ' ')) {
        s[nan - 1] = '-';
        return s;
    }
    s.insert(nan, 1, '-');
    if (s.size() > 4 && s.back() == ' ')
        s.pop_back();
    return s;
}

// ---- scanf ----

// mingw's own scanf, past the wrapper (fscanf here would come back to it).
int mingwScanf(FILE* tok, const char* format, ...)
{
    va_list a;
    va_start(a, format);
    const int r = __real___mingw_vfscanf(tok, format, a);
    va_end(a);
    return r;
}

// One piece of a scanf format handed to mingw alone, with its target if any;
// the %n appended tells whether it matched.
int jedanDeo(FILE* tok, const std::string& deo, void* cilj, bool& uspeo)
{
    int procitano = -1;
    const std::string sa_n = deo + "%n";
    const int r = cilj ? mingwScanf(tok, sa_n.c_str(), cilj, &procitano)
                       : mingwScanf(tok, sa_n.c_str(), &procitano);
    uspeo = procitano != -1;
    return r;
}

constexpr int NEMA_MESTA = -2;  // the field's width is used up: nothing more is read

// "%d" as glibc reads it: blanks skipped, a sign, the digits, the first other
// character left unread. 1 when read, 0 when no digit came, EOF at the end.
int celiBroj(FILE* tok, int sirina, long long& vrednost)
{
    int c;
    do
        c = std::getc(tok);
    while (c != EOF && std::isspace(c));
    if (c == EOF)
        return EOF;
    if (sirina <= 0)
        sirina = INT_MAX;
    int procitano = 0;
    auto sledeci = [&]() { return ++procitano < sirina ? std::getc(tok) : NEMA_MESTA; };
    const bool minus = c == '-';
    if (c == '-' || c == '+')
        c = sledeci();
    // Saturated at the 64-bit long's limits, as strtol on glibc does.
    unsigned long long apsolutna = 0;
    const unsigned long long granica = minus ? 1ULL + LLONG_MAX : LLONG_MAX;
    int cifara = 0;
    while (c >= 0 && std::isdigit(c)) {
        const unsigned cifra = static_cast<unsigned>(c - '0');
        apsolutna = apsolutna > (granica - cifra) / 10 ? granica : apsolutna * 10 + cifra;
        ++cifara;
        c = sledeci();
    }
    if (c >= 0)
        std::ungetc(c, tok);
    if (cifara == 0)
        return c == EOF ? EOF : 0;
    vrednost = minus ? static_cast<long long>(0 - apsolutna) : static_cast<long long>(apsolutna);
    return 1;
}

// Stored into the target as a C cast does: the low bits kept.
void upisiCeo(void* cilj, const std::string& duzina, long long vrednost)
{
    if (duzina == "hh")
        *static_cast<signed char*>(cilj) = static_cast<signed char>(vrednost);
    else if (duzina == "h")
        *static_cast<short*>(cilj) = static_cast<short>(vrednost);
    else if (duzina == "l")
        *static_cast<long*>(cilj) = static_cast<long>(vrednost);
    else if (duzina.empty())
        *static_cast<int*>(cilj) = static_cast<int>(vrednost);
    else
        *static_cast<long long*>(cilj) = vrednost;
}

}  // namespace

int __wrap___mingw_vfprintf(FILE* tok, const char* format, va_list argumenti)
{
    std::string izlaz;
    const char* z = format;
    while (*z) {
        if (*z != '%') {
            izlaz += *z++;
            continue;
        }
        const char* pocetak = z++;
        if (*z == '%') {
            izlaz += '%';
            ++z;
            continue;
        }
        std::string oblik = "%";
        while (*z && std::strchr("-+ #0'", *z))
            oblik += *z++;
        if (*z == '*') {
            oblik += std::to_string(va_arg(argumenti, int));
            ++z;
        }
        while (std::isdigit(static_cast<unsigned char>(*z)))
            oblik += *z++;
        if (*z == '.') {
            if (*++z == '*') {
                const int preciznost = va_arg(argumenti, int);
                if (preciznost >= 0)
                    oblik += "." + std::to_string(preciznost);
                ++z;
            } else {
                oblik += '.';
            }
            while (std::isdigit(static_cast<unsigned char>(*z)))
                oblik += *z++;
        }
        std::string duzina;
        while (*z && std::strchr("hlLjzt", *z))
            duzina += *z++;
        const char vrsta = *z;
        if (!vrsta) {
            izlaz += pocetak;
            break;
        }
        oblik += duzina + vrsta;
        ++z;
        if (std::strchr("fFeEgGaA", vrsta)) {
            if (duzina == "L") {
                const long double x = va_arg(argumenti, long double);
                izlaz += std::isnan(x) && std::signbit(x)
                             ? negativanNan(formatiraj(oblik.c_str(), std::fabs(x)))
                             : formatiraj(oblik.c_str(), x);
            } else {
                const double x = va_arg(argumenti, double);
                izlaz += std::isnan(x) && std::signbit(x)
                             ? negativanNan(formatiraj(oblik.c_str(), std::fabs(x)))
                             : formatiraj(oblik.c_str(), x);
            }
        } else if (std::strchr("diouxXc", vrsta)) {
            if (duzina == "ll" || duzina == "j" || duzina == "z" || duzina == "t")
                izlaz += formatiraj(oblik.c_str(), va_arg(argumenti, long long));
            else if (duzina == "l")
                izlaz += formatiraj(oblik.c_str(), va_arg(argumenti, long));
            else
                izlaz += formatiraj(oblik.c_str(), va_arg(argumenti, int));
        } else if (vrsta == 's' || vrsta == 'p') {
            izlaz += formatiraj(oblik.c_str(), va_arg(argumenti, void*));
        } else if (vrsta == 'n') {
            *va_arg(argumenti, int*) = static_cast<int>(izlaz.size());
        } else {
            // A conversion not known here: mingw writes the rest as it is.
            std::fwrite(izlaz.data(), 1, izlaz.size(), tok);
            const int ostatak = __real___mingw_vfprintf(tok, pocetak, argumenti);
            return ostatak < 0 ? ostatak : static_cast<int>(izlaz.size()) + ostatak;
        }
    }
    if (std::fwrite(izlaz.data(), 1, izlaz.size(), tok) != izlaz.size())
        return -1;
    return static_cast<int>(izlaz.size());
}

int __wrap___mingw_vfscanf(FILE* tok, const char* format, va_list argumenti)
{
    int dodeljeno = 0;
    const char* z = format;
    while (*z) {
        // A piece: the text up to the next conversion, or one conversion.
        const char* pocetak = z;
        std::string duzina;
        char vrsta = 0;
        bool bezCilja = true;
        int sirina = 0;
        if (*z != '%' || z[1] == '%') {
            z += *z == '%' ? 2 : 1;
            while (*z && *z != '%')
                ++z;
        } else {
            ++z;
            bezCilja = *z == '*';
            if (bezCilja)
                ++z;
            while (std::isdigit(static_cast<unsigned char>(*z)))
                sirina = sirina * 10 + (*z++ - '0');
            while (*z && std::strchr("hlLjztq", *z))
                duzina += *z++;
            vrsta = *z;
            if (vrsta == '[') {
                z += z[1] == ']' ? 2 : 1;
                if (*z == '^' && z[1] == ']')
                    z += 2;
                while (*z && *z != ']')
                    ++z;
            }
            if (*z)
                ++z;
        }
        const std::string deo(pocetak, z);
        void* cilj = vrsta && vrsta != 'n' && !bezCilja ? va_arg(argumenti, void*) : nullptr;
        if (vrsta == 'n' && !bezCilja)
            cilj = va_arg(argumenti, void*);

        if (vrsta == 'd') {
            long long vrednost = 0;
            const int r = celiBroj(tok, sirina, vrednost);
            if (r != 1)
                return r == EOF && dodeljeno == 0 ? EOF : dodeljeno;
            if (cilj) {
                upisiCeo(cilj, duzina, vrednost);
                ++dodeljeno;
            }
            continue;
        }
        bool uspeo = false;
        const int r = jedanDeo(tok, deo, cilj, uspeo);
        if (!uspeo)
            return r == EOF && dodeljeno == 0 ? EOF : dodeljeno;
        dodeljeno += r > 0 ? r : 0;
    }
    return dodeljeno;
}
