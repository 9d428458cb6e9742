#include "privatni_x.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Sat = std::chrono::steady_clock;

double od(Sat::time_point pocetak)
{
    return std::chrono::duration<double>(Sat::now() - pocetak).count();
}

// Large enough for the 500 x 500 window at the top left corner, with the
// depth the program's RGB visual needs.
constexpr const char* EKRAN = "1280x1024x24";
constexpr double RAZMAK_ZA_KRAJ = 5.0;  // seconds between SIGTERM and SIGKILL

}  // namespace

std::string PrivatniX::pokreni(double sekundi, std::string& greska)
{
    int cev[2];
    if (pipe(cev) != 0) {
        greska = "pipe failed";
        return {};
    }
    pid_ = fork();
    if (pid_ < 0) {
        greska = "fork failed";
        close(cev[0]);
        close(cev[1]);
        return {};
    }
    if (pid_ == 0) {
        close(cev[0]);
        const std::string fd = std::to_string(cev[1]);
        const int nista = open("/dev/null", O_RDWR);
        dup2(nista, STDIN_FILENO);
        dup2(nista, STDOUT_FILENO);
        dup2(nista, STDERR_FILENO);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", EKRAN, "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(cev[1]);
    // The number arrives with a line break once the server accepts clients;
    // end of file first means it has died (not installed, or refused to run).
    std::string broj;
    pollfd pfd{cev[0], POLLIN, 0};
    const auto pocetak = Sat::now();
    while (broj.find('\n') == std::string::npos && od(pocetak) < sekundi) {
        const int n = poll(&pfd, 1, 100);
        if (n < 0 && errno != EINTR)
            break;
        if (n > 0) {
            char bafer[32];
            const ssize_t procitano = read(cev[0], bafer, sizeof bafer);
            if (procitano <= 0)
                break;
            broj.append(bafer, static_cast<size_t>(procitano));
        }
    }
    close(cev[0]);
    if (broj.find('\n') == std::string::npos) {
        greska = "Xvfb did not start (is it installed?)";
        zaustavi();
        return {};
    }
    broj.erase(broj.find('\n'));
    return ":" + broj;
}

void PrivatniX::zaustavi()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    const auto pocetak = Sat::now();
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (od(pocetak) > RAZMAK_ZA_KRAJ) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
}
