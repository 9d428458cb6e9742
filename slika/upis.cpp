// The picture file: the checks, the safe replacement, and the PNG through libpng.
#include "upis.h"

#include <png.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

std::string folder(const std::string& putanja)
{
    const size_t kosa = putanja.rfind('/');
    if (kosa == std::string::npos)
        return ".";
    return kosa == 0 ? "/" : putanja.substr(0, kosa);
}

std::string ime(const std::string& putanja)
{
    const size_t kosa = putanja.rfind('/');
    return kosa == std::string::npos ? putanja : putanja.substr(kosa + 1);
}

std::string razlog(const std::string& putanja, const std::string& sta)
{
    return "cannot write '" + zaPoruku(putanja) + "': " + sta;
}

// What the picture replaces: the path itself, or the file a symbolic link
// at it leads to (written there, the link stays a link).
std::string cilj(const std::string& putanja)
{
    struct stat st {};
    if (lstat(putanja.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return putanja;
    char* stvarna = realpath(putanja.c_str(), nullptr);
    if (!stvarna)
        return putanja;  // a dangling link: replaced like a missing file's name
    const std::string s = stvarna;
    std::free(stvarna);
    return s;
}

// Nothing but a regular file (or no file) is replaced: a device, a FIFO or a
// socket named by the path stays as it is.
bool nijeObicna(const std::string& putanja, std::string& greska)
{
    struct stat st {};
    if (stat(putanja.c_str(), &st) != 0 || S_ISREG(st.st_mode))
        return false;
    greska = razlog(putanja, S_ISDIR(st.st_mode) ? "it is a folder" : "not a regular file");
    return true;
}

// ---- The temporary file under the signals -----------------------------------
// A name of fixed length, so a target whose name is as long as the file
// system allows still gets a temporary file beside it.
constexpr char PRIVREMENO_IME[] = ".geometrija-slika-XXXXXX";
constexpr int SIGNALI[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

char privremena[PATH_MAX + sizeof PRIVREMENO_IME];  // empty while none exists
struct sigaction ranije[sizeof SIGNALI / sizeof SIGNALI[0]];

// Removes the temporary file, then lets the signal end the process as it
// would have (the disposition is reset on entry, the signal pending again).
void naSignal(int signal)
{
    const int sacuvan = errno;
    if (privremena[0])
        unlink(privremena);
    raise(signal);
    errno = sacuvan;
}

void pratiSignale()
{
    for (size_t i = 0; i < sizeof SIGNALI / sizeof SIGNALI[0]; ++i) {
        sigaction(SIGNALI[i], nullptr, &ranije[i]);
        if (ranije[i].sa_handler == SIG_IGN)
            continue;  // ignored by whoever started the program (nohup): stays so
        struct sigaction novi {};
        novi.sa_handler = naSignal;
        novi.sa_flags = SA_RESETHAND;
        sigemptyset(&novi.sa_mask);
        sigaction(SIGNALI[i], &novi, nullptr);
    }
}

void pustiSignale()
{
    for (size_t i = 0; i < sizeof SIGNALI / sizeof SIGNALI[0]; ++i)
        sigaction(SIGNALI[i], &ranije[i], nullptr);
}

// Makes the temporary file in folder `f` and puts its name where a signal
// finds it; the caller holds the signals meanwhile, so a signal finds either
// no file or its name in place. -1 with errno set when it cannot.
int napraviPrivremenu(const std::string& f)
{
    if (f.size() + 1 + sizeof PRIVREMENO_IME > sizeof privremena) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::snprintf(privremena, sizeof privremena, "%s/%s", f.c_str(), PRIVREMENO_IME);
    const int fd = mkostemp(privremena, O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        privremena[0] = '\0';
        errno = e;
    }
    return fd;
}

// The four signals held back (true) or let through again (false).
void zadrziSignale(bool zadrzi)
{
    sigset_t skup;
    sigemptyset(&skup);
    for (const int s : SIGNALI)
        sigaddset(&skup, s);
    sigprocmask(zadrzi ? SIG_BLOCK : SIG_UNBLOCK, &skup, nullptr);
}

}  // namespace

std::string zaPoruku(const std::string& putanja)
{
    std::string s;
    for (const char z : putanja) {
        const auto b = static_cast<unsigned char>(z);
        if (z == '\n') {
            s += "\\n";
        } else if (z == '\t') {
            s += "\\t";
        } else if (b < 0x20 || b == 0x7f) {
            char kod[5];
            std::snprintf(kod, sizeof kod, "\\x%02x", b);
            s += kod;
        } else {
            s += z;
        }
    }
    return s;
}

bool mozeSeUpisati(const std::string& putanja, std::string& greska)
{
    if (putanja.size() >= PATH_MAX) {
        greska = razlog(putanja, std::strerror(ENAMETOOLONG));
        return false;
    }
    const std::string c = cilj(putanja);
    const std::string f = folder(c);
    struct stat st {};
    if (stat(f.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        greska = razlog(putanja, "no such folder");
        return false;
    }
    const long najduze = pathconf(f.c_str(), _PC_NAME_MAX);
    if (ime(c).size() > static_cast<size_t>(najduze > 0 ? najduze : NAME_MAX)) {
        greska = razlog(putanja, std::strerror(ENAMETOOLONG));
        return false;
    }
    if (access(f.c_str(), W_OK | X_OK) != 0) {
        greska = razlog(putanja, std::strerror(errno));
        return false;
    }
    if (nijeObicna(c, greska))
        return false;
    // A folder may allow writing and still make no file (/proc, a full disk's
    // inodes): the temporary file is tried once, and removed at once, with the
    // signals held so that none can leave it behind.
    zadrziSignale(true);
    const int fd = napraviPrivremenu(f);
    const int e = errno;
    if (fd >= 0) {
        close(fd);
        unlink(privremena);
        privremena[0] = '\0';
    }
    zadrziSignale(false);
    if (fd < 0) {
        greska = razlog(putanja, std::strerror(e));
        return false;
    }
    return true;
}

bool upisi(const std::string& putanja, const std::function<bool(int fd, std::string& uzrok)>& sadrzaj,
           std::string& greska)
{
    const std::string c = cilj(putanja);
    if (nijeObicna(c, greska))
        return false;
    // The name is made and the handlers set with the signals held.
    zadrziSignale(true);
    const int fd = napraviPrivremenu(folder(c));
    if (fd < 0) {
        const int e = errno;
        zadrziSignale(false);
        greska = razlog(putanja, std::strerror(e));
        return false;
    }
    pratiSignale();
    zadrziSignale(false);

    // A file replaced keeps its rights and, where allowed, its owner; a new
    // one gets the usual rights (mkstemp makes it private, 0600).
    struct stat st {};
    if (stat(c.c_str(), &st) == 0) {
        if (fchown(fd, st.st_uid, st.st_gid) != 0) {
            // not allowed: the writer's own, as any new file
        }
        fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t maska = umask(0);
        umask(maska);
        fchmod(fd, 0666 & ~maska);
    }

    // The first failure names the cause; every failure removes the temporary file.
    std::string uzrok;
    if (!sadrzaj(fd, uzrok)) {
        if (uzrok.empty())
            uzrok = "the picture could not be written";
    } else if (fsync(fd) != 0) {
        uzrok = std::strerror(errno);
    }
    if (close(fd) != 0 && uzrok.empty())
        uzrok = std::strerror(errno);

    zadrziSignale(true);
    // Looked at once more just before: what appeared there meanwhile may be no regular file.
    std::string drugo;
    if (uzrok.empty() && nijeObicna(c, drugo))
        uzrok = drugo.substr(drugo.rfind(": ") + 2);
    if (uzrok.empty() && std::rename(privremena, c.c_str()) != 0)
        uzrok = std::strerror(errno);
    if (!uzrok.empty())
        unlink(privremena);
    privremena[0] = '\0';
    pustiSignale();
    zadrziSignale(false);
    if (uzrok.empty())
        return true;
    greska = razlog(putanja, uzrok);
    return false;
}

bool upisiSve(int fd, const void* podaci, std::size_t duzina, int& greska)
{
    const char* p = static_cast<const char*>(podaci);
    while (duzina > 0) {
        const ssize_t upisano = write(fd, p, duzina);
        if (upisano < 0 && errno == EINTR)
            continue;
        if (upisano <= 0) {
            greska = upisano < 0 ? errno : EIO;
            return false;
        }
        p += upisano;
        duzina -= static_cast<std::size_t>(upisano);
    }
    return true;
}

bool upisiPng(int fd, int sirina, int visina, const std::vector<unsigned char>& rgb, std::string& uzrok)
{
    // RGB without alpha: the canvas's alpha is the clear colour's 0, which
    // would make the white background transparent.
    png_image slika{};
    slika.version = PNG_IMAGE_VERSION;
    slika.width = static_cast<png_uint_32>(sirina);
    slika.height = static_cast<png_uint_32>(visina);
    slika.format = PNG_FORMAT_RGB;
    // Never zeroed: only the pages the compressed file reaches are ever touched.
    png_alloc_size_t velicina = PNG_IMAGE_PNG_SIZE_MAX(slika);
    const std::unique_ptr<unsigned char[]> png(new unsigned char[velicina]);
    if (!png_image_write_to_memory(&slika, png.get(), &velicina, 0, rgb.data(), 0, nullptr)) {
        uzrok = slika.message;
        png_image_free(&slika);
        return false;
    }
    int greska = 0;
    if (upisiSve(fd, png.get(), velicina, greska))
        return true;
    uzrok = std::strerror(greska);
    return false;
}

bool upisiWav(int fd, const std::vector<std::int16_t>& uzorci, int uzorakaUSekundi, std::string& uzrok)
{
    constexpr std::uint32_t KANALA = 2, BAJTOVA = 2;  // per sample
    std::vector<unsigned char> b;
    // Little-endian, whatever the machine.
    const auto broj = [&](std::uint32_t v, int bajtova) {
        for (int i = 0; i < bajtova; ++i)
            b.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    const auto oznaka = [&](const char* s) { b.insert(b.end(), s, s + 4); };
    const std::uint32_t podaci = static_cast<std::uint32_t>(uzorci.size() * BAJTOVA);
    oznaka("RIFF");
    broj(36 + podaci, 4);
    oznaka("WAVE");
    oznaka("fmt ");
    broj(16, 4);
    broj(1, 2);  // PCM
    broj(KANALA, 2);
    broj(static_cast<std::uint32_t>(uzorakaUSekundi), 4);
    broj(static_cast<std::uint32_t>(uzorakaUSekundi) * KANALA * BAJTOVA, 4);
    broj(KANALA * BAJTOVA, 2);
    broj(8 * BAJTOVA, 2);
    oznaka("data");
    broj(podaci, 4);
    for (const std::int16_t u : uzorci)
        broj(static_cast<std::uint16_t>(u), 2);
    int greska = 0;
    if (upisiSve(fd, b.data(), b.size(), greska))
        return true;
    uzrok = std::strerror(greska);
    return false;
}
