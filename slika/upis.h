// The picture file, written so that no half-written file is ever left under
// the name asked for, nor a temporary one beside it, and so that nothing but
// a regular file is ever replaced.
#ifndef GEOMETRIJA_SLIKA_UPIS_H
#define GEOMETRIJA_SLIKA_UPIS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The path as it may stand in a one-line message: a line break, a tab or any
// other control byte written as an escape (\n, \t, \x1b).
std::string zaPoruku(const std::string& putanja);

// Whether a file can be made at `putanja`: the name and the path are not too
// long, the folder exists and may be written to, and what the name already
// names (through a symbolic link too) is a regular file or nothing. Checked
// before the dialogue, so a mistyped path is reported before any question; the
// writing itself can still fail later and says so then. False with the reason
// in `greska`.
bool mozeSeUpisati(const std::string& putanja, std::string& greska);

// Writes the file: `sadrzaj` fills an open temporary file (false with the
// cause in its second argument), which then replaces the target at once. The
// temporary file has a name of fixed length in the target's folder and is
// removed on any failure and on SIGINT, SIGTERM, SIGHUP or SIGPIPE while it
// exists (the signal then ends the process as it would have). A symbolic link
// is followed, so the link stays and its target gets the picture; a file
// replaced keeps its permission bits (and, where allowed, its owner); a
// target that is not a regular file is never replaced.
bool upisi(const std::string& putanja, const std::function<bool(int fd, std::string& uzrok)>& sadrzaj,
           std::string& greska);

// Writes all `duzina` bytes to `fd`, again where a write is cut short or
// interrupted; false with errno's value in `greska` (EIO when nothing could
// be written).
bool upisiSve(int fd, const void* podaci, std::size_t duzina, int& greska);

// The RGB pixels (3 bytes each, rows from the top) as an 8-bit RGB PNG, marked
// as sRGB, written with libpng's simplified API.
bool upisiPng(int fd, int sirina, int visina, const std::vector<unsigned char>& rgb, std::string& uzrok);

// 16-bit stereo samples, left and right in turn, as a PCM WAV file.
bool upisiWav(int fd, const std::vector<std::int16_t>& uzorci, int uzorakaUSekundi, std::string& uzrok);

#endif
