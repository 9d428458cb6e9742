// Fuzz target: the drawing. The input is every scene parameter as it lies in
// memory, so each bit pattern is a value, infinities, nans, -0, subnormals
// and the largest floats among them: unos and pravac as 32-bit ints, then the
// floats a, b, a1, b1, p, ugao, parametar, xtranslate, ytranslate; bytes
// missing at the end read as zero. Each input draws one frame held to every
// rule in provera_slike.h, among them the vertex bound derived in provera_slike.cpp.
#include "provera_slike.h"
#include "scena.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

struct Ulaz {
    std::int32_t unos, pravac;
    float a, b, a1, b1, p, ugao, parametar, xtranslate, ytranslate;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* podaci, std::size_t velicina)
{
    Ulaz u{};
    std::memcpy(&u, podaci, velicina < sizeof u ? velicina : sizeof u);
    pocetnaScena();
    unos = u.unos;
    pravac = u.pravac;
    a = u.a;
    b = u.b;
    a1 = u.a1;
    b1 = u.b1;
    p = u.p;
    ugao = u.ugao;
    parametar = u.parametar;
    xtranslate = u.xtranslate;
    ytranslate = u.ytranslate;
    nacrtajIProveri();
    return 0;
}
