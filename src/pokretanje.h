// The one start-up sequence of every program built from these sources: the
// native window, the web page, the picture writer and the benchmark's window.
#ifndef GEOMETRIJA_POKRETANJE_H
#define GEOMETRIJA_POKRETANJE_H

#include "geometrija.h"

#include <GL/glut.h>

// What an entry may change in the sequence; the defaults are geometrija's own.
struct Pokretanje {
    // The platform layer's look at the new window (a window closed behind the
    // toolkit's back, the browser's key listeners); none by default.
    void (*prozorOtvoren)() = nullptr;
    // Mesa's software renderer compiles its drawing code on first use; a
    // renderer that does not (a browser's WebGL) needs no warm-up.
    bool zagrevanje = true;
    // The benchmark's bare floor runs without the dialogue, and marks where it
    // ends; both are geometrija's own otherwise.
    bool dijalog = true;
    void (*dijalogGotov)() = nullptr;
    void (*preoblikovanje)(int, int) = reshape;
    void (*prikaz)() = display;
};

// Window (GLUT initialised with the command line, then the double-buffered RGB
// window of STRANICA_PROZORA square at the top left corner, titled argv[0]),
// the platform's look at it, the fixed drawing state, the warm-up, the
// dialogue, the callbacks, and the main loop, which does not return where the
// toolkit's never does.
void pokreni(int& argc, char** argv, const Pokretanje& nacin = Pokretanje{});

#endif
