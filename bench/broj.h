// The whole decimal numbers the benchmark and its timed window take as options.
#ifndef GEOMETRIJA_BENCH_BROJ_H
#define GEOMETRIJA_BENCH_BROJ_H

#include <cstdlib>

// True, with the value, when `tekst` is a whole decimal number from `najmanje`
// to `najvise` and nothing else.
inline bool broj(const char* tekst, int najmanje, int najvise, int& vrednost)
{
    char* kraj = nullptr;
    const long v = std::strtol(tekst, &kraj, 10);
    if (kraj == tekst || *kraj != '\0' || v < najmanje || v > najvise)
        return false;
    vrednost = static_cast<int>(v);
    return true;
}

#endif
