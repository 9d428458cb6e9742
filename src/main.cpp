// geometrija: the reflective property of the ellipse, the hyperbola and the
// parabola. The console asks for the figure and its values, the window shows
// the curve, its foci, the incident and the reflected ray.
#include "geometrija.h"
#include "prozor.h"
#include "scena.h"
#include "tokovi.h"

int main(int argc, char** argv)
{
    otvoriStandardneTokove();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    // Set after glutInit, so a -geometry given on the command line has no effect.
    glutInitWindowSize(500, 500);
    glutInitWindowPosition(0, 0);
    glutCreateWindow(argv[0]);
    pratiNestanakProzora();
    // The fixed drawing state comes before the dialogue, so the renderer can be
    // warmed up with it while the user reads the first question; nothing
    // changes it afterwards, so the frames see the same state as if it were
    // set just before the main loop.
    postaviStanjeCrtanja();
    zagrejCrtanje();

    pocetniDijalog();

    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glutDisplayFunc(display);

    glutMainLoop();
    return 0;
}
