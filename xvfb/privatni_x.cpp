#include "privatni_x.h"

namespace {

// Large enough for the 500 x 500 window at the top left corner, with the
// depth the program's RGB visual needs.
constexpr const char* EKRAN = "1280x1024x24";
constexpr double RAZMAK_ZA_KRAJ = 5.0;  // seconds between SIGTERM and SIGKILL
constexpr int FD_EKRANA = 3;            // where the server writes its display's number

bool ceoRed(const std::string& tekst)
{
    return tekst.find('\n') != std::string::npos;
}

}  // namespace

std::string PrivatniX::pokreni(double sekundi, std::string& greska)
{
    zaustavi();
    server_ = std::make_unique<Proces>();
    Naredba xvfb;
    xvfb.program = "Xvfb";
    xvfb.argumenti = {"Xvfb", "-displayfd", std::to_string(FD_EKRANA), "-screen", "0", EKRAN,
                      "-nolisten", "tcp", "-noreset"};
    xvfb.tokovi = {{0, Tok::NISTA}, {1, Tok::NISTA}, {2, Tok::NISTA}, {FD_EKRANA, Tok::OD_DETETA}};
    if (!server_->pokreni(xvfb, greska)) {
        greska = "Xvfb did not start (is it installed?)";
        zaustavi();
        return {};
    }
    // The number arrives with a line break once the server accepts clients;
    // end of file first means it has died (refused to run).
    std::string broj;
    citaj(server_->cev(FD_EKRANA), broj, sekundi, ceoRed);
    server_->zatvoriCev(FD_EKRANA);
    if (!ceoRed(broj)) {
        greska = "Xvfb did not start (is it installed?)";
        zaustavi();
        return {};
    }
    broj.erase(broj.find('\n'));
    return ":" + broj;
}

void PrivatniX::zaustavi()
{
    if (server_)
        server_->zaustavi(RAZMAK_ZA_KRAJ);
    server_.reset();
}
