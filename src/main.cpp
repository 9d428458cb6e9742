// geometrija: the reflective property of the ellipse, the hyperbola and the
// parabola. The console asks for the figure and its values, the window shows
// the curve, its foci, the incident and the reflected ray.
#include "geometrija.h"
#include "scena.h"

#include <cstdio>

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    // Set after glutInit, so a -geometry given on the command line has no effect.
    glutInitWindowSize(500, 500);
    glutInitWindowPosition(0, 0);
    glutCreateWindow(argv[0]);

    if (!demonstracija) {
        izborfigure();
        switch (unos) {
        case 1:
            unoselipsa();
            break;
        case 2:
            unoshiperbola();
            break;
        case 3:
            unosparabola();
            break;
        default:
            // No line break follows, so flush: the message must show before
            // the window takes over.
            std::printf("Pogresan izbor,pokusajte ponovo!");
            std::fflush(stdout);
            break;
        }
    }

    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glutDisplayFunc(display);

    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glEnable(GL_BLEND);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_FASTEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    glutMainLoop();
    return 0;
}
