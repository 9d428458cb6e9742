// The console: the program's one way to write and to read it. Written here,
// not left to the C library, is what C libraries do differently (glibc,
// mingw-w64's, Emscripten's musl), so every build prints and reads alike.
#include "citanje.h"
#include "scena.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void ispisi(const char* format, ...)
{
    std::va_list argumenti;
    va_start(argumenti, format);
    for (const char* z = format; *z; ++z) {
        if (z[0] == '%' && z[1] == 'f') {
            // A not-a-number as glibc writes it: mingw-w64 drops the sign.
            const double x = va_arg(argumenti, double);
            if (std::isnan(x))
                std::fputs(std::signbit(x) ? "-nan" : "nan", stdout);
            else
                std::printf("%f", x);
            ++z;
        } else {
            std::putchar(z[0] == '%' && z[1] == '%' ? *++z : *z);
        }
    }
    va_end(argumenti);
}

void procitaj(float& vrednost)
{
    std::fflush(stdout);
    if (std::scanf("%f", &vrednost) != 1)
        return;  // unreadable answer: the value stays as it was
}

// "%d" as glibc reads it: blanks skipped, a sign, the digits saturated at the
// 64-bit long's limits as strtol does, the first other character left unread,
// and the low 32 bits kept, as a C cast keeps them ("4294967299" is 3). mingw
// saturates at the 32-bit long, musl not at all.
void procitaj(int& vrednost)
{
    std::fflush(stdout);
    int c;
    do
        c = std::getchar();
    while (c != EOF && std::isspace(c));
    const bool minus = c == '-';
    if (c == '-' || c == '+')
        c = std::getchar();
    unsigned long long apsolutna = 0;
    const unsigned long long granica = minus ? 1ULL + LLONG_MAX : LLONG_MAX;
    bool cifre = false;
    for (; c != EOF && std::isdigit(c); c = std::getchar(), cifre = true) {
        const unsigned cifra = static_cast<unsigned>(c - '0');
        apsolutna = apsolutna > (granica - cifra) / 10 ? granica : apsolutna * 10 + cifra;
    }
    if (c != EOF)
        std::ungetc(c, stdin);
    if (cifre)
        vrednost = static_cast<int>(minus ? static_cast<long long>(0 - apsolutna) : static_cast<long long>(apsolutna));
}

void odbij(int status)
{
    std::fflush(stdout);
    std::_Exit(status);
}

void unosZraka(const char* poziv, int status)
{
    ispisi(poziv);
    procitaj(parametar);
    if (parametar <= 0) {
        ispisi("Greska,parametar mora biti veci od 0!\n");
        odbij(status);
    }
    ispisi("Unesite 1 za odbijanje zraka duz pozitivne ose ili -1 za odbijanje duz negativne y-ose:\n");
    procitaj(pravac);
}
