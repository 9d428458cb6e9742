// privatni-x: runs one command against a private X server of its own.
//
//   privatni-x COMMAND [ARGS...]
//
// Starts Xvfb on a free display (-displayfd), runs COMMAND with DISPLAY
// pointing at it, stops the server and exits with the command's status (128 +
// the signal when a signal ended it). Every test that needs an X server (the
// end-to-end programs, the browsers, Wine) and the frame benchmark run under
// it: the one way of starting one. Only the server started here is ever
// signalled, by its process id.
#include "proces.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr double CEKANJE_NA_SERVER = 20.0;  // seconds for Xvfb to accept clients
constexpr int NEMA_SERVERA = 69;            // sysexits' EX_UNAVAILABLE
// Large enough for the 500 x 500 window at the top left corner, with the
// depth the program's RGB visual needs.
constexpr const char* EKRAN = "1280x1024x24";
constexpr double RAZMAK_ZA_KRAJ = 5.0;  // seconds between SIGTERM and SIGKILL
constexpr int FD_EKRANA = 3;            // where the server writes its display's number

volatile sig_atomic_t dete = -1;

// A signal to the wrapper goes on to the command; the server is stopped when
// the command has ended.
void prosledi(int signal)
{
    if (dete > 0)
        kill(static_cast<pid_t>(dete), signal);
}

bool ceoRed(const std::string& tekst)
{
    return tekst.find('\n') != std::string::npos;
}

// Starts the server; its display, ":N", once it accepts clients, or an empty
// string.
std::string pokreniServer(Proces& server)
{
    Naredba xvfb;
    xvfb.program = "Xvfb";
    xvfb.argumenti = {"Xvfb", "-displayfd", std::to_string(FD_EKRANA), "-screen", "0", EKRAN,
                      "-nolisten", "tcp", "-noreset"};
    xvfb.tokovi = {{0, Tok::NISTA}, {1, Tok::NISTA}, {2, Tok::NISTA}, {FD_EKRANA, Tok::OD_DETETA}};
    std::string greska, broj;
    if (!server.pokreni(xvfb, greska))
        return {};
    // The number arrives with a line break once the server accepts clients;
    // end of file first means it has died (refused to run).
    citaj(server.cev(FD_EKRANA), broj, CEKANJE_NA_SERVER, ceoRed);
    server.zatvoriCev(FD_EKRANA);
    return ceoRed(broj) ? ":" + broj.erase(broj.find('\n')) : "";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::fprintf(argc < 2 ? stderr : stdout, "usage: privatni-x COMMAND [ARGS...]\n");
        return argc < 2 ? 64 : 0;
    }
    Proces server;
    const std::string ekran = pokreniServer(server);
    if (ekran.empty()) {
        std::fprintf(stderr, "privatni-x: Xvfb did not start (is it installed?)\n");
        return NEMA_SERVERA;
    }
    setenv("DISPLAY", ekran.c_str(), 1);

    std::string greska;
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
    server.zaustavi(RAZMAK_ZA_KRAJ);
    return komanda.kaoLjuska();
}
