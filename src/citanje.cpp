// The console reading that the conic dialogues share.
#include "citanje.h"
#include "scena.h"

#include <cstdio>
#include <cstdlib>

void procitaj(float& vrednost)
{
    std::fflush(stdout);
    if (std::scanf("%f", &vrednost) != 1)
        return;  // unreadable answer: the value stays as it was
}

void procitaj(int& vrednost)
{
    std::fflush(stdout);
    if (std::scanf("%d", &vrednost) != 1)
        return;
}

void odbij(int status)
{
    std::fflush(stdout);
    std::_Exit(status);
}

void unosZraka(const char* poziv, int status)
{
    std::fputs(poziv, stdout);
    procitaj(parametar);
    if (parametar <= 0) {
        std::printf("Greska,parametar mora biti veci od 0!\n");
        odbij(status);
    }
    std::printf("Unesite 1 za odbijanje zraka duz pozitivne ose ili -1 za odbijanje duz negativne y-ose:\n");
    procitaj(pravac);
}
