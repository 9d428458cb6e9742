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
// printf and scanf of theirs comes here first. The program's own formats are
// text with "%f" (printf) and "%f" or "%d" alone (scanf): those are put right
// here, and every other format goes to mingw's own as it stands (freeglut's
// messages among them).
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

// "%f" of x as glibc writes it: mingw's own, with glibc's minus before a
// not-a-number whose sign bit is set.
std::string decimalni(double x)
{
    const bool negativanNan = std::isnan(x) && std::signbit(x);
    const double y = negativanNan ? std::fabs(x) : x;
    const int n = __mingw_snprintf(nullptr, 0, "%f", y);
    std::string s(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0)
        __mingw_snprintf(&s[0], s.size() + 1, "%f", y);
    return negativanNan ? "-" + s : s;
}

// "%d" as glibc reads it: blanks skipped, a sign, the digits saturated at the
// 64-bit long's limits as strtol does, the first other character left unread,
// and the low 32 bits stored, as a C cast keeps them. 1 when read, 0 when no
// digit came, EOF at the end.
int celiBroj(FILE* tok, int& cilj)
{
    int c;
    do
        c = std::getc(tok);
    while (c != EOF && std::isspace(c));
    if (c == EOF)
        return EOF;
    const bool minus = c == '-';
    if (c == '-' || c == '+')
        c = std::getc(tok);
    unsigned long long apsolutna = 0;
    const unsigned long long granica = minus ? 1ULL + LLONG_MAX : LLONG_MAX;
    int cifara = 0;
    for (; c != EOF && std::isdigit(c); c = std::getc(tok), ++cifara) {
        const unsigned cifra = static_cast<unsigned>(c - '0');
        apsolutna = apsolutna > (granica - cifra) / 10 ? granica : apsolutna * 10 + cifra;
    }
    if (c != EOF)
        std::ungetc(c, tok);
    if (cifara == 0)
        return c == EOF ? EOF : 0;
    const long long vrednost = minus ? static_cast<long long>(0 - apsolutna) : static_cast<long long>(apsolutna);
    cilj = static_cast<int>(vrednost);
    return 1;
}

}  // namespace

int __wrap___mingw_vfprintf(FILE* tok, const char* format, va_list argumenti)
{
    std::string izlaz;
    for (const char* z = format; *z;) {
        if (z[0] == '%' && z[1] == 'f') {
            izlaz += decimalni(va_arg(argumenti, double));
            z += 2;
        } else if (z[0] == '%' && z[1] == '%') {
            izlaz += '%';
            z += 2;
        } else if (z[0] == '%') {
            // Not one of the program's: mingw writes the rest as it is.
            if (std::fwrite(izlaz.data(), 1, izlaz.size(), tok) != izlaz.size())
                return -1;
            const int ostatak = __real___mingw_vfprintf(tok, z, argumenti);
            return ostatak < 0 ? ostatak : static_cast<int>(izlaz.size()) + ostatak;
        } else {
            izlaz += *z++;
        }
    }
    if (std::fwrite(izlaz.data(), 1, izlaz.size(), tok) != izlaz.size())
        return -1;
    return static_cast<int>(izlaz.size());
}

int __wrap___mingw_vfscanf(FILE* tok, const char* format, va_list argumenti)
{
    if (std::strcmp(format, "%d") != 0)
        return __real___mingw_vfscanf(tok, format, argumenti);
    return celiBroj(tok, *va_arg(argumenti, int*));
}
