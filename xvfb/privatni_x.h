// A private X server for the end-to-end tests and the frame benchmark: an Xvfb
// on a display it picks itself, started for one run and stopped at its end.
// Only the server started here is ever signalled, by its process id.
#ifndef GEOMETRIJA_PRIVATNI_X_H
#define GEOMETRIJA_PRIVATNI_X_H

#include "proces.h"

#include <sys/types.h>

#include <memory>
#include <string>

class PrivatniX {
public:
    PrivatniX() = default;
    ~PrivatniX() { zaustavi(); }
    PrivatniX(const PrivatniX&) = delete;
    PrivatniX& operator=(const PrivatniX&) = delete;

    // Starts Xvfb with `-displayfd` and waits (at most `sekundi`) until it
    // writes the number of the free display it took. Returns that display,
    // ":N", or an empty string with the reason in `greska`.
    std::string pokreni(double sekundi, std::string& greska);
    // Ends the server (SIGTERM, SIGKILL after a grace period) and reaps it.
    void zaustavi();
    // The server's process id while it runs, else -1.
    pid_t pid() const { return server_ ? server_->pid() : -1; }

private:
    std::unique_ptr<Proces> server_;
};

#endif
