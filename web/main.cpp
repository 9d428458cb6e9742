// geometrija in a web page: the native start-up, with what a browser needs
// besides. The page (stranica.js) runs this main once per attempt at the
// dialogue; tokovi.js gives it the page's console as standard streams.
#include "geometrija.h"
#include "gl_kompat.h"
#include "scena.h"

#include <emscripten.h>

#include <cstdlib>

// GLUT listens for keys on the whole browser window, so the answers typed into
// the page's input line would pan the picture or end the program. Its key
// handlers go to the page instead, which passes on the keys meant for the
// picture. The program registers no mouse callback, so GLUT's translation of
// touches into mouse events would only keep a finger on the picture from
// scrolling the page: it goes too.
EM_JS(void, tasteriStranici, (), {
    for (const vrsta of ["keydown", "keyup"]) {
        window.removeEventListener(vrsta, vrsta === "keydown" ? GLUT.onKeydown : GLUT.onKeyup, true);
    }
    for (const vrsta of ["touchstart", "touchmove", "touchend"]) {
        window.removeEventListener(vrsta, GLUT.touchHandler, true);
    }
    Module["tasteri"](GLUT.onKeydown, GLUT.onKeyup);
});

// The browser gave no WebGL context: the page says so in place of the picture.
EM_JS(void, javiDaNemaWebGL, (), { Module["nemaWebGL"](); });

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    tasteriStranici();
    // WebGL has no point or line smoothing; a multisampled canvas smooths the
    // edges instead. Requested here only: the native window keeps its mode.
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_MULTISAMPLE);
    glutInitWindowSize(500, 500);
    glutInitWindowPosition(0, 0);
    // A window that cannot be made ends the program with status 1, as
    // freeglut's failures do natively.
    if (glutCreateWindow(argv[0]) == 0) {
        javiDaNemaWebGL();
        std::exit(1);
    }
    // The page draws through the browser's WebGL, so the warm-up for Mesa's
    // software renderer that the native program does here is left out.
    postaviStanjeCrtanja();

    pocetniDijalog();

    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glutDisplayFunc(display);

    glutMainLoop();  // returns to the page at once; frames follow on its animation frames
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

}  // extern "C"
