// The scene parameters back to the values a program starts with, for the unit
// tests and the fuzz targets, which draw many scenes in one process.
#ifndef POCETNA_SCENA_H
#define POCETNA_SCENA_H

#include "scena.h"

inline void pocetnaScena()
{
    a = b = a1 = b1 = p = 0.0f;
    xtranslate = ytranslate = 0.0f;
    unos = demonstracija ? 3 : 0;
    ugao = 0.0f;
    parametar = demonstracija ? 1.0f : 0.0f;
    pravac = 0;
}

#endif
