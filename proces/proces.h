// A child process for the test tools (the end-to-end harness, the frame
// benchmark, the private X server): started with the descriptors it is given,
// waited for with a time-out, and ended by its own process id alone, never by
// a name, so nothing else on a shared machine is ever signalled.
#ifndef GEOMETRIJA_PROCES_H
#define GEOMETRIJA_PROCES_H

#include <sys/types.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

// What one of the child's descriptors is. A descriptor not named is inherited
// as it is (a wrapper such as privatni-x passes its caller's on); the pipes
// opened here are never inherited by any other child.
enum class Tok {
    NASLEDJEN,  // this process's own, as for one not named
    NISTA,      // /dev/null
    KA_DETETU,  // a pipe: this process writes, the child reads
    OD_DETETA,  // a pipe: the child writes, this process reads
};

struct Naredba {
    std::string program;                 // a path, or a name looked up in PATH
    std::vector<std::string> argumenti;  // argv, from argv[0] on
    std::string fascikla;                // where it starts; empty: here
    std::vector<std::string> okruzenje;  // NAME=value sets NAME, NAME alone removes it
    std::map<int, Tok> tokovi;           // the child's descriptor, and what it is
    // The child's descriptor, and the descriptor of this process's it gets
    // (which stays open here too).
    std::map<int, int> prosledjeni;
    // Every signal at its default in the child: one this process ignores
    // (SIGPIPE, say) would otherwise stay ignored there, across exec.
    bool podrazumevaniSignali = false;
};

class Proces {
public:
    Proces() = default;
    // A child still running is killed (SIGKILL) and reaped.
    ~Proces();
    Proces(const Proces&) = delete;
    Proces& operator=(const Proces&) = delete;

    // Starts the command. False, with the reason in `greska`, when it could not
    // be started; a program that cannot be run has then ended with status 127,
    // a folder it cannot enter with 126.
    bool pokreni(const Naredba& naredba, std::string& greska);

    // This process's end of the pipe on the child's descriptor `fd`; -1 if none.
    int cev(int fd) const;
    // Closes this process's end of that pipe (the child's input then ends).
    void zatvoriCev(int fd);

    // Whether the child still runs; once it has ended, it is reaped here.
    bool radi();
    // Waits at most `sekundi` for the end; false when it still runs then.
    bool cekaj(double sekundi);
    // Waits for the end, however long it takes.
    void cekaj();
    // SIGTERM, then SIGKILL if it still runs after `razmak` seconds; reaped.
    void zaustavi(double razmak);
    // SIGKILL at once; reaped.
    void ubij();

    pid_t pid() const { return pid_; }
    // How it ended, once reaped: by exit with status(), or by the signal status().
    bool zavrsen() const { return zavrsen_; }
    bool izasao() const { return izasao_; }
    int status() const { return status_; }
    // The status as a shell gives it: the exit status, or 128 + the signal.
    int kaoLjuska() const { return izasao_ ? status_ : 128 + status_; }

private:
    void zabeleziKraj(int status);
    pid_t pid_ = -1;
    int pidfd_ = -1;  // readable once the child has ended
    std::map<int, int> cevi_;  // the child's descriptor, this process's end
    bool zavrsen_ = false, izasao_ = false;
    int status_ = -1;
};

// The tools' one clock: seconds from `pocetak` to `kraj` (by default now).
using Sat = std::chrono::steady_clock;
inline double sekundiOd(Sat::time_point pocetak, Sat::time_point kraj = Sat::now())
{
    return std::chrono::duration<double>(kraj - pocetak).count();
}

// Reads `fd` into `tekst` until end of file (true), until `dosta` holds for what
// was read (true), or for at most `sekundi` (false).
bool citaj(int fd, std::string& tekst, double sekundi, bool (*dosta)(const std::string&) = nullptr);

#endif
