// The standard streams, made safe before anything else opens a file.
#include "tokovi.h"

#include <fcntl.h>
#include <unistd.h>

void otvoriStandardneTokove()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1)
            continue;  // open: keep it
        // open() returns the lowest free number, which is this one, as the
        // lower ones are open by now.
        const int novi = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (novi != -1 && novi != fd) {
            dup2(novi, fd);
            close(novi);
        }
    }
}
