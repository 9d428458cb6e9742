// The standard streams, made safe before anything else opens a file.
#ifndef GEOMETRIJA_TOKOVI_H
#define GEOMETRIJA_TOKOVI_H

// Makes sure descriptors 0, 1 and 2 are open, on /dev/null where one is
// missing. Started with a standard stream closed (`geometrija >&-`), the next
// file the process opens would take that number: the window system's
// connection would then receive the prompts, or a picture file the equations.
// Call it first in main, before the toolkit opens anything.
void otvoriStandardneTokove();

#endif
