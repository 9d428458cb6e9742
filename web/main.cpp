// geometrija in a web page: the native start-up, with what a browser needs
// besides. The page (stranica.js) runs this main once per attempt at the
// dialogue; tokovi.js gives it the page's console as standard streams.
#include "opis.h"
#include "pokretanje.h"
#include "slikar.h"
#include "zvuk.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

// GLUT listens for keys on the whole browser window, so the answers typed into
// the page's input line would pan the picture or end the program. Its key
// handlers go to the page instead, which passes on the keys meant for the
// picture. The program registers no mouse callback, so GLUT's translation of
// touches into mouse events would only keep a finger on the picture from
// scrolling the page: it goes too.
EM_JS(void, tasteriStranici, (), {
    window.removeEventListener("keydown", GLUT.onKeydown, true);
    window.removeEventListener("keyup", GLUT.onKeyup, true);
    for (const vrsta of ["touchstart", "touchmove", "touchend"]) {
        window.removeEventListener(vrsta, GLUT.touchHandler, true);
    }
    Module["tasteri"](GLUT.onKeydown, GLUT.onKeyup);
});

// Emscripten's GLUT makes no window without a WebGL context, and says nothing.
EM_JS(int, imaWebGL, (), { return Module.ctx ? 1 : 0; });
EM_JS(void, javiDaNemaWebGL, (), { Module["nemaWebGL"](); });

// A window that cannot be made ends the program with status 1, as freeglut's
// failures do natively; the page says why in the picture's place.
void prozorOtvoren()
{
    if (!imaWebGL()) {
        javiDaNemaWebGL();
        std::exit(1);
    }
    upoznajPlatno();
    tasteriStranici();
}

int main(int argc, char** argv)
{
    Pokretanje nacin;
    nacin.prozorOtvoren = prozorOtvoren;
    // The page draws through the browser's WebGL, so the warm-up for Mesa's
    // software renderer is left out.
    nacin.zagrevanje = false;
    nacin.prikaz = prikaziSliku;  // the program's display, then its picture
    pokreni(argc, argv, nacin);  // the main loop returns to the page at once; frames follow
    return 0;
}

// ---- Called by the page, once the main loop runs -----------------------------
extern "C" {

// An on-screen key: exactly what the key does, through the program's callback.
EMSCRIPTEN_KEEPALIVE void pritisniTaster(int taster)
{
    keyboard(static_cast<unsigned char>(taster), 0, 0);
}

// The window resized, as by a window manager: the canvas takes the new size,
// `reshape` gets it, and a frame follows.
EMSCRIPTEN_KEEPALIVE void promeniProzor(int sirina, int visina)
{
    glutReshapeWindow(sirina, visina);
}

// Line widths and point sizes times `puta` from the next frame on, which is
// asked for at once.
EMSCRIPTEN_KEEPALIVE void postaviDebljine(float puta)
{
    postaviMnozilacDebljine(puta);
    glutPostRedisplay();
}

// The sound of the picture shown now (zvuk.h): its 16-bit stereo samples, left
// and right in turn, brojUzoraka() of them; they stay until the next call.
std::vector<std::int16_t> uzorci;
EMSCRIPTEN_KEEPALIVE const std::int16_t* zvukSlike()
{
    uzorci = snimac::zvuk(snimac::kadar());
    return uzorci.data();
}
EMSCRIPTEN_KEEPALIVE int brojUzoraka() { return static_cast<int>(uzorci.size()); }

// A text for the announcer, in words a screen reader does not drop.
EMSCRIPTEN_KEEPALIVE const char* izgovori(const char* napisano)
{
    return izgovor(napisano);
}

}  // extern "C"
