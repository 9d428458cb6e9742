#include "proces.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using Sat = std::chrono::steady_clock;

double od(Sat::time_point pocetak)
{
    return std::chrono::duration<double>(Sat::now() - pocetak).count();
}

constexpr double KORAK_CEKANJA = 0.005;  // seconds between two looks at a running child
constexpr int NE_POKRECE_SE = 127;       // as a shell says of a command it cannot run
constexpr int NEMA_FASCIKLE = 126;

// What the child sends back through a pipe closed on exec, when it never gets there.
struct Neuspeh {
    int status, greska;
};

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
}

bool Proces::pokreni(const Naredba& naredba, std::string& greska)
{
    // Everything the child needs is made before the fork: after it, the child
    // only moves descriptors and calls exec.
    std::vector<std::string> argumenti = naredba.argumenti;
    std::vector<char*> argv = pokazivaci(argumenti);
    std::vector<std::string> promenjeno = okruzenje(naredba.okruzenje);
    std::vector<char*> envp = pokazivaci(promenjeno);

    std::vector<std::pair<int, int>> detetu;  // the child's descriptor, and what it gets
    std::vector<int> zatvoriPosle;            // the child's ends, closed here once it runs
    const auto odustani = [&](const char* zasto) {
        greska = zasto;
        for (const int fd : zatvoriPosle)
            close(fd);
        return false;
    };
    for (const auto& [fd, tok] : naredba.tokovi) {
        int kraj = -1;
        if (tok == Tok::NISTA) {
            kraj = open("/dev/null", O_RDWR | O_CLOEXEC);
            if (kraj < 0)
                return odustani("cannot open /dev/null");
        } else if (tok != Tok::NASLEDJEN) {
            int p[2];
            if (pipe2(p, O_CLOEXEC) != 0)
                return odustani("pipe failed");
            const bool citaDete = tok == Tok::KA_DETETU;
            kraj = p[citaDete ? 0 : 1];
            cevi_[fd] = p[citaDete ? 1 : 0];
        }
        if (kraj >= 0) {
            detetu.emplace_back(fd, kraj);
            zatvoriPosle.push_back(kraj);
        }
    }
    for (const auto& [fd, nas] : naredba.prosledjeni)
        detetu.emplace_back(fd, nas);
    int javljanje[2];
    if (pipe2(javljanje, O_CLOEXEC) != 0)
        return odustani("pipe failed");
    zatvoriPosle.push_back(javljanje[1]);

    pid_ = fork();
    if (pid_ < 0) {
        close(javljanje[0]);
        return odustani("fork failed");
    }
    if (pid_ == 0) {
        if (naredba.podrazumevaniSignali)
            for (int s = 1; s < NSIG; ++s)
                signal(s, SIG_DFL);
        // First out of the way of every number asked for, then onto it: a
        // pipe's end may itself sit on a number another one is to get.
        int najveci = 2;
        for (const auto& [fd, kraj] : detetu)
            najveci = std::max({najveci, fd, kraj});
        for (auto& [fd, kraj] : detetu)
            kraj = fcntl(kraj, F_DUPFD_CLOEXEC, najveci + 1);
        for (const auto& [fd, kraj] : detetu)
            dup2(kraj, fd);
        Neuspeh neuspeh{NEMA_FASCIKLE, 0};
        if (naredba.fascikla.empty() || chdir(naredba.fascikla.c_str()) == 0) {
            execvpe(naredba.program.c_str(), argv.data(), envp.data());
            neuspeh.status = NE_POKRECE_SE;
        }
        neuspeh.greska = errno;
        (void)!write(javljanje[1], &neuspeh, sizeof neuspeh);
        _exit(neuspeh.status);
    }
    for (const int fd : zatvoriPosle)
        close(fd);
    Neuspeh neuspeh{};
    ssize_t procitano;
    while ((procitano = read(javljanje[0], &neuspeh, sizeof neuspeh)) < 0 && errno == EINTR) {
    }
    close(javljanje[0]);
    if (procitano <= 0)
        return true;  // closed by exec
    cekaj();
    greska = (neuspeh.status == NEMA_FASCIKLE ? "cannot enter " + naredba.fascikla
                                              : "cannot run " + naredba.program) +
             ": " + std::strerror(neuspeh.greska);
    return false;
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
        if (od(pocetak) > sekundi)
            return false;
        std::this_thread::sleep_for(std::chrono::duration<double>(KORAK_CEKANJA));
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
        const double ostalo = sekundi - od(pocetak);
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
