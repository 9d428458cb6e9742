#include "proces.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int NE_POKRECE_SE = 127;       // as a shell says of a command it cannot run
constexpr int NEMA_FASCIKLE = 126;

// The environment with the changes made (NAME=value sets, NAME alone removes).
std::vector<std::string> okruzenje(const std::vector<std::string>& promene)
{
    std::vector<std::string> sve;
    for (char** e = environ; *e; ++e)
        sve.emplace_back(*e);
    for (const std::string& promena : promene) {
        const std::string ime = promena.substr(0, promena.find('=')) + "=";
        sve.erase(std::remove_if(sve.begin(), sve.end(),
                                 [&](const std::string& e) { return e.rfind(ime, 0) == 0; }),
                  sve.end());
        if (promena.find('=') != std::string::npos)
            sve.push_back(promena);
    }
    return sve;
}

std::vector<char*> pokazivaci(std::vector<std::string>& reci)
{
    std::vector<char*> p;
    for (std::string& r : reci)
        p.push_back(&r[0]);
    p.push_back(nullptr);
    return p;
}

}  // namespace

Proces::~Proces()
{
    ubij();
    for (const auto& [fd, kraj] : cevi_)
        close(kraj);
    if (pidfd_ >= 0)
        close(pidfd_);
}

bool Proces::pokreni(const Naredba& naredba, std::string& greska)
{
    std::vector<std::string> argumenti = naredba.argumenti;
    std::vector<char*> argv = pokazivaci(argumenti);
    std::vector<std::string> promenjeno = okruzenje(naredba.okruzenje);
    std::vector<char*> envp = pokazivaci(promenjeno);

    std::vector<std::pair<int, int>> detetu;  // the child's descriptor, and what it gets
    std::vector<int> zatvoriPosle;            // the child's ends, closed here once it runs
    const auto odustani = [&](const std::string& zasto, int status = 0) {
        greska = zasto;
        for (const int fd : zatvoriPosle)
            close(fd);
        if (status) {  // as a shell reports a command it cannot start
            zavrsen_ = izasao_ = true;
            status_ = status;
        }
        return false;
    };
    for (const auto& [fd, tok] : naredba.tokovi) {
        int nas = -1;
        if (tok == Tok::NISTA) {
            nas = open("/dev/null", O_RDWR | O_CLOEXEC);
            if (nas < 0)
                return odustani("cannot open /dev/null");
        } else if (tok != Tok::NASLEDJEN) {
            int p[2];
            if (pipe2(p, O_CLOEXEC) != 0)
                return odustani("pipe failed");
            const bool citaDete = tok == Tok::KA_DETETU;
            nas = p[citaDete ? 0 : 1];
            cevi_[fd] = p[citaDete ? 1 : 0];
        }
        if (nas >= 0) {
            detetu.emplace_back(fd, nas);
            zatvoriPosle.push_back(nas);
        }
    }
    for (const auto& [fd, nas] : naredba.prosledjeni)
        detetu.emplace_back(fd, nas);
    // Each first copied above every number asked for, then moved onto its
    // own: a pipe's end may itself sit on a number another one is to get.
    int najveci = 2;
    for (const auto& [fd, nas] : detetu)
        najveci = std::max({najveci, fd, nas});
    posix_spawn_file_actions_t radnje;
    posix_spawn_file_actions_init(&radnje);
    for (const auto& [fd, nas] : detetu) {
        const int gore = fcntl(nas, F_DUPFD_CLOEXEC, najveci + 1);
        zatvoriPosle.push_back(gore);
        posix_spawn_file_actions_adddup2(&radnje, gore, fd);
    }
    if (!naredba.fascikla.empty())
        posix_spawn_file_actions_addchdir_np(&radnje, naredba.fascikla.c_str());
    posix_spawnattr_t atributi;
    posix_spawnattr_init(&atributi);
    if (naredba.podrazumevaniSignali) {
        sigset_t svi;
        sigfillset(&svi);
        posix_spawnattr_setsigdefault(&atributi, &svi);
        posix_spawnattr_setflags(&atributi, POSIX_SPAWN_SETSIGDEF);
    }
    const int neuspeh = posix_spawnp(&pid_, naredba.program.c_str(), &radnje, &atributi, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&radnje);
    posix_spawnattr_destroy(&atributi);
    if (neuspeh != 0) {
        pid_ = -1;
        // Which of the two failed, as a shell tells them apart.
        const bool fascikla = !naredba.fascikla.empty() && access(naredba.fascikla.c_str(), X_OK) != 0;
        return odustani((fascikla ? "cannot enter " + naredba.fascikla : "cannot run " + naredba.program) + ": " +
                            std::strerror(neuspeh),
                        fascikla ? NEMA_FASCIKLE : NE_POKRECE_SE);
    }
    pidfd_ = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));  // glibc 2.36 declares it without C linkage
    for (const int fd : zatvoriPosle)
        close(fd);
    return true;
}

int Proces::cev(int fd) const
{
    const auto k = cevi_.find(fd);
    return k == cevi_.end() ? -1 : k->second;
}

void Proces::zatvoriCev(int fd)
{
    const auto k = cevi_.find(fd);
    if (k == cevi_.end())
        return;
    close(k->second);
    cevi_.erase(k);
}

void Proces::zabeleziKraj(int status)
{
    zavrsen_ = true;
    izasao_ = WIFEXITED(status);
    status_ = izasao_ ? WEXITSTATUS(status) : WTERMSIG(status);
}

bool Proces::radi()
{
    if (pid_ <= 0 || zavrsen_)
        return false;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_)
        zabeleziKraj(status);
    return r == 0 || (r < 0 && errno == EINTR);
}

bool Proces::cekaj(double sekundi)
{
    const auto pocetak = Sat::now();
    while (radi()) {
        const double ostalo = sekundi - sekundiOd(pocetak);
        if (ostalo <= 0)
            return false;
        // Readable once the child has ended; without one (a kernel before
        // 5.3), a look every 5 ms.
        pollfd kraj{pidfd_, POLLIN, 0};
        poll(&kraj, 1, pidfd_ >= 0 ? static_cast<int>(ostalo * 1000) + 1 : 5);
    }
    return true;
}

void Proces::cekaj()
{
    if (pid_ <= 0 || zavrsen_)
        return;
    int status = 0;
    pid_t r;
    while ((r = waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {
    }
    if (r == pid_)
        zabeleziKraj(status);
}

void Proces::zaustavi(double razmak)
{
    if (!radi())
        return;
    kill(pid_, SIGTERM);
    if (!cekaj(razmak))
        ubij();
}

void Proces::ubij()
{
    if (!radi())
        return;
    kill(pid_, SIGKILL);
    cekaj();
}

bool citaj(int fd, std::string& tekst, double sekundi, bool (*dosta)(const std::string&))
{
    const auto pocetak = Sat::now();
    while (!dosta || !dosta(tekst)) {
        const double ostalo = sekundi - sekundiOd(pocetak);
        if (ostalo <= 0)
            return false;
        pollfd pfd{fd, POLLIN, 0};
        const int n = poll(&pfd, 1, static_cast<int>(ostalo * 1000) + 1);
        if (n < 0 && errno != EINTR)
            return true;
        if (n <= 0)
            continue;
        char bafer[4096];
        const ssize_t procitano = read(fd, bafer, sizeof bafer);
        if (procitano <= 0)
            return true;
        tekst.append(bafer, static_cast<size_t>(procitano));
    }
    return true;
}
