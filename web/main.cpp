// geometrija in a web page: the native start-up, with the two things a browser
// needs besides. The page (stranica.js) runs this main once per attempt at the
// dialogue; tokovi.js gives it the page's console as standard streams.
#include "pokretanje.h"

#include <emscripten.h>

// GLUT listens for keys on the whole browser window, so the answers typed into
// the page's input line would pan the picture or end the program. Its key
// handlers are moved to the canvas, which gets keys only while it has focus.
EM_JS(void, tasteriSamoNaPlatnu, (), {
    window.removeEventListener("keydown", GLUT.onKeydown, true);
    window.removeEventListener("keyup", GLUT.onKeyup, true);
    Module["canvas"].addEventListener("keydown", GLUT.onKeydown, true);
    Module["canvas"].addEventListener("keyup", GLUT.onKeyup, true);
});

int main(int argc, char** argv)
{
    Pokretanje nacin;
    // WebGL has no point or line smoothing; a multisampled canvas smooths the
    // edges instead. Requested here only: the native window keeps its mode.
    nacin.rezimProzora |= GLUT_MULTISAMPLE;
    nacin.prozorOtvoren = tasteriSamoNaPlatnu;
    // The page draws through the browser's WebGL, so the warm-up for Mesa's
    // software renderer is left out.
    nacin.zagrevanje = false;
    pokreni(argc, argv, nacin);  // the main loop returns to the page at once; frames follow
    return 0;
}
