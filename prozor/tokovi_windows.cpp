// The standard streams, made safe before anything else opens a file: the
// Windows counterpart of tokovi_posix.cpp.
//
// A program started without a console or with a stream closed has no handle
// for it, and the C runtime leaves that descriptor free: the next _open would
// take number 0, 1 or 2, and the prompts would go into that file. Each missing
// one is opened on NUL, the null device, and so is the stdio stream over it,
// which the runtime left unattached.
#include "tokovi.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

void otvoriStandardneTokove()
{
    FILE* const tokovi[] = {stdin, stdout, stderr};
    for (int fd = 0; fd <= 2; ++fd) {
        if (_get_osfhandle(fd) != -1 && _get_osfhandle(fd) != -2)
            continue;  // open: keep it
        const bool ulaz = fd == 0;
        const int novi = _open("NUL", ulaz ? _O_RDONLY : _O_WRONLY);
        if (novi == -1)
            continue;
        if (novi != fd) {
            _dup2(novi, fd);
            _close(novi);
        }
        // The stream, where the runtime gave it no descriptor, now over NUL too.
        if (_fileno(tokovi[fd]) != fd)
            std::freopen("NUL", ulaz ? "r" : "w", tokovi[fd]);
    }
}
