// The picture file, through libpng.
#include "upis.h"

#include <png.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string folder(const std::string& putanja)
{
    const size_t kosa = putanja.rfind('/');
    if (kosa == std::string::npos)
        return ".";
    return kosa == 0 ? "/" : putanja.substr(0, kosa);
}

std::string razlog(const std::string& putanja, const char* sta)
{
    return "cannot write '" + putanja + "': " + sta;
}

// libpng reports a fatal error by a long jump back into the writer; the
// message is kept for the caller.
char porukaBiblioteke[200];

[[noreturn]] void greskaBiblioteke(png_structp png, png_const_charp poruka)
{
    std::snprintf(porukaBiblioteke, sizeof porukaBiblioteke, "%s", poruka);
    png_longjmp(png, 1);
}

// The pixels into an open file. Only plain data lives across the setjmp: the
// row pointers are built before it.
bool zapisi(std::FILE* datoteka, int sirina, int visina, const std::vector<png_bytep>& redovi)
{
    porukaBiblioteke[0] = '\0';
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, greskaBiblioteke, nullptr);
    if (!png)
        return false;
    png_infop opis = png_create_info_struct(png);
    if (!opis) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &opis);
        return false;
    }
    png_init_io(png, datoteka);
    // RGB without alpha: the canvas's alpha is the clear colour's 0, which
    // would make the white background transparent.
    png_set_IHDR(png, opis, static_cast<png_uint_32>(sirina), static_cast<png_uint_32>(visina), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, opis);
    png_write_image(png, const_cast<png_bytepp>(redovi.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &opis);
    return true;
}

}  // namespace

bool mozeSeUpisati(const std::string& putanja, std::string& greska)
{
    const std::string f = folder(putanja);
    struct stat st {};
    if (stat(f.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        greska = razlog(putanja, "no such folder");
        return false;
    }
    if (access(f.c_str(), W_OK | X_OK) != 0) {
        greska = razlog(putanja, std::strerror(errno));
        return false;
    }
    if (stat(putanja.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        greska = razlog(putanja, "it is a folder");
        return false;
    }
    return true;
}

bool upisiPng(const std::string& putanja, int sirina, int visina, const std::vector<unsigned char>& rgb,
              std::string& greska)
{
    // A hidden name in the same folder, so the rename stays on one file system
    // and is atomic: readers see the old file or the whole new one.
    const size_t kosa = putanja.rfind('/');
    const std::string ime = kosa == std::string::npos ? putanja : putanja.substr(kosa + 1);
    std::string privremena = (kosa == std::string::npos ? std::string() : putanja.substr(0, kosa + 1)) +
                             "." + ime + ".XXXXXX";
    const int fd = mkstemp(&privremena[0]);
    if (fd < 0) {
        greska = razlog(putanja, std::strerror(errno));
        return false;
    }
    // mkstemp makes the file private (0600); the picture gets the usual rights.
    const mode_t maska = umask(0);
    umask(maska);
    fchmod(fd, 0666 & ~maska);

    std::vector<png_bytep> redovi(static_cast<size_t>(visina));
    for (int y = 0; y < visina; ++y)
        redovi[static_cast<size_t>(y)] =
            const_cast<png_bytep>(&rgb[static_cast<size_t>(y) * 3 * static_cast<size_t>(sirina)]);

    // The first failure names the cause; every failure removes the temporary file.
    std::string uzrok;
    std::FILE* datoteka = fdopen(fd, "wb");
    if (!datoteka) {
        uzrok = std::strerror(errno);
        close(fd);
    } else {
        errno = 0;
        if (!zapisi(datoteka, sirina, visina, redovi))
            uzrok = errno ? std::strerror(errno) : porukaBiblioteke;
        else if (std::fflush(datoteka) != 0 || fsync(fd) != 0)
            uzrok = std::strerror(errno);
        if (std::fclose(datoteka) != 0 && uzrok.empty())
            uzrok = std::strerror(errno);
    }
    if (uzrok.empty() && std::rename(privremena.c_str(), putanja.c_str()) != 0)
        uzrok = std::strerror(errno);
    if (uzrok.empty())
        return true;
    unlink(privremena.c_str());
    greska = razlog(putanja, uzrok.c_str());
    return false;
}
