// geometrija in a web page: the native start-up, with the two things a browser
// needs besides. The page (stranica.js) runs this main once per attempt at the
// dialogue; tokovi.js gives it the page's console as standard streams.
#include "geometrija.h"
#include "scena.h"

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
    glutInit(&argc, argv);
    tasteriSamoNaPlatnu();
    // WebGL has no point or line smoothing; a multisampled canvas smooths the
    // edges instead. Requested here only: the native window keeps its mode.
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_MULTISAMPLE);
    glutInitWindowSize(500, 500);
    glutInitWindowPosition(0, 0);
    glutCreateWindow(argv[0]);
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
