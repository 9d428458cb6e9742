#include "pokretanje.h"

void pokreni(int& argc, char** argv, const Pokretanje& nacin)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    // Set after glutInit, so a -geometry given on the command line has no effect.
    glutInitWindowSize(STRANICA_PROZORA, STRANICA_PROZORA);
    glutInitWindowPosition(0, 0);
    glutCreateWindow(argv[0]);
    if (nacin.prozorOtvoren)
        nacin.prozorOtvoren();
    // The fixed drawing state comes before the dialogue, so the renderer can be
    // warmed up with it while the user reads the first question; nothing
    // changes it afterwards, so the frames see the same state as if it were
    // set just before the main loop.
    postaviStanjeCrtanja();
    if (nacin.zagrevanje)
        zagrejCrtanje();

    if (nacin.dijalog)
        pocetniDijalog();
    if (nacin.dijalogGotov)
        nacin.dijalogGotov();

    glutReshapeFunc(nacin.preoblikovanje);
    glutKeyboardFunc(keyboard);
    glutDisplayFunc(nacin.prikaz);

    glutMainLoop();
}
