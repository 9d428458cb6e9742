// privatni-x: runs one command against a private X server of its own.
//
//   privatni-x COMMAND [ARGS...]
//
// Starts Xvfb on a free display (PrivatniX, as the end-to-end tests do), runs
// COMMAND with DISPLAY pointing at it, stops the server and exits with the
// command's status (128 + the signal when a signal ended it). The tests that
// are not GoogleTest programs (the browsers, Wine, the package) get their
// display this way, so there is one way of starting a test X server.
#include "privatni_x.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr double CEKANJE_NA_SERVER = 20.0;  // seconds for Xvfb to accept clients
constexpr int NEMA_SERVERA = 69;            // sysexits' EX_UNAVAILABLE

volatile sig_atomic_t dete = -1;

// A signal to the wrapper goes on to the command; the server is stopped when
// the command has ended.
void prosledi(int signal)
{
    if (dete > 0)
        kill(static_cast<pid_t>(dete), signal);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::fprintf(argc < 2 ? stderr : stdout, "usage: privatni-x COMMAND [ARGS...]\n");
        return argc < 2 ? 64 : 0;
    }
    PrivatniX server;
    std::string greska;
    const std::string ekran = server.pokreni(CEKANJE_NA_SERVER, greska);
    if (ekran.empty()) {
        std::fprintf(stderr, "privatni-x: %s\n", greska.c_str());
        return NEMA_SERVERA;
    }
    setenv("DISPLAY", ekran.c_str(), 1);

    Naredba naredba;
    naredba.program = argv[1];
    naredba.argumenti.assign(argv + 1, argv + argc);
    Proces komanda;
    if (!komanda.pokreni(naredba, greska)) {
        if (!komanda.zavrsen()) {
            std::fprintf(stderr, "privatni-x: %s\n", greska.c_str());
            return NEMA_SERVERA;
        }
        std::fprintf(stderr, "privatni-x: cannot run %s\n", argv[1]);
    }
    // Forwarded only until it is reaped: then its id may be another's.
    dete = komanda.zavrsen() ? -1 : komanda.pid();
    for (const int s : {SIGINT, SIGTERM, SIGHUP})
        std::signal(s, prosledi);
    komanda.cekaj();
    dete = -1;
    server.zaustavi();
    return komanda.kaoLjuska();
}
