// Fuzz target: the console dialogue. The input is the whole of standard input,
// read through a real FILE* by the program's own start-up dialogue
// (pocetniDijalog: the figure choice, then that conic's questions, read with
// scanf "%d" and "%f"). Each run either ends as the dialogue ends on a rejected
// value, with that dialogue's status and the value really out of its range,
// or leaves parameters that one frame then draws within every rule (provera_slike.h).
#include "geometrija.h"
#include "provera_slike.h"
#include "scena.h"

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

std::jmp_buf povratak;
bool uDijalogu = false;
int status = 0;

// The status the dialogue must end with for the values it has read: that of
// the conic whose check the value fails, or 0 where the drawing follows.
int ocekivaniStatus()
{
    switch (unos) {
    case 1:
        return ugao < 0 || ugao > 360 ? 1 : 0;  // a nan angle passes
    case 2:
    case 3:
        return parametar <= 0 ? unos : 0;       // so does a nan ray parameter
    default:
        return 0;
    }
}

}  // namespace

// A rejected value ends the process with std::_Exit (odbij, citanje.cpp), and
// the program must stay as it is. The target is linked with --wrap=_Exit, so
// every call of _Exit in the process comes here: during the dialogue one with a
// dialogue's status jumps back into the run with it, any other (libFuzzer's own
// on a timeout or a crash) goes on to the real _Exit. _Exit is noexcept, so no
// exception could carry the status out; longjmp may, as the frames it skips
// (odbij, unosZraka, the conic's dialogue, pocetniDijalog) hold nothing to destroy.
extern "C" [[noreturn]] void __real__Exit(int);
extern "C" [[noreturn]] void __wrap__Exit(int s)
{
    if (uDijalogu && s >= 1 && s <= 3) {
        status = s;
        std::longjmp(povratak, 1);
    }
    __real__Exit(s);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* podaci, std::size_t velicina)
{
    pocetnaScena();
    // The C library's stdin is pointed at the input, as a pipe or a file would
    // be. An empty buffer cannot be opened as a stream; /dev/null is empty too.
    std::FILE* ulaz = velicina ? fmemopen(const_cast<std::uint8_t*>(podaci), velicina, "r")
                               : std::fopen("/dev/null", "r");
    if (!ulaz)
        std::abort();
    std::FILE* const pravi = stdin;
    stdin = ulaz;
    status = 0;
    uDijalogu = true;
    if (setjmp(povratak) == 0)
        pocetniDijalog();
    uDijalogu = false;
    stdin = pravi;
    std::fclose(ulaz);

    const int ocekivan = ocekivaniStatus();
    if (status != ocekivan) {
        std::fprintf(stderr, "dialogue: expected status %d, got %d (0: went on to draw)\n"
                     "  unos %d ugao %a parametar %a\n",
                     ocekivan, status, unos, ugao, parametar);
        std::abort();
    }
    if (status == 0)
        nacrtajIProveri();
    return 0;
}
