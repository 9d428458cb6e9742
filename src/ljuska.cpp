// The shell: the figure choice and the three window callbacks.
//
// Keys:
//   A / a   picture 1 unit right        D / d   picture 1 unit left
//   S / s   picture 0.3 up              W / w   picture 0.3 down
//   R / r   picture back home           Esc, Q / q   quit (status 0)
#include "citanje.h"
#include "geometrija.h"
#include "scena.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// The view: the camera looks down the z axis at the drawing plane z = 0 from 50
// units away, so a 60 degree field shows about +-28.9 units vertically.
constexpr double VIDNO_POLJE = 60.0;      // vertical field of view, degrees
constexpr double BLIZU = 1.0;             // near clipping distance
constexpr double DALEKO = 1000.0;         // far clipping distance
constexpr double UDALJENOST_KAMERE = 50.0;
constexpr GLfloat DEBLJINA_SCENE = 2.0f;  // line width of the rays and the green lines
constexpr GLfloat DEBLJINA_OSA = 1.0f;    // line width of the axes
constexpr GLfloat DUZINA_OSE = 1000.0f;   // the axes run from -1000 to 1000
// The steps are unequal on purpose. Both are doubles added to a float pan and
// stored back as float, so ten steps of 0.3 end one float short of 3.
constexpr double KORAK_VODORAVNO = 1.0;
constexpr double KORAK_USPRAVNO = 0.3;
constexpr unsigned char ESC = 27;

void izborfigure()
{
    ispisi("Pritisnite 1 za elipsu,2 za hiperbolu,3 za parabolu.\n");
    procitaj(unos);
}

void pocetniDijalog()
{
    if (demonstracija)
        return;  // the demonstration asks nothing and prints nothing
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
        ispisi("Pogresan izbor,pokusajte ponovo!");
        std::fflush(stdout);
        break;
    }
}

void postaviStanjeCrtanja()
{
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);  // white background, alpha 0
    glEnable(GL_BLEND);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_FASTEST);  // lines fastest, points nicest
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void zagrejCrtanje()
{
    for (const Boja& boja : {CRNA, MASLINASTI_ZRAK, ZELENA_PRAVA}) {
        postaviBoju(boja);
        glBegin(GL_POINTS);
        glVertex2f(0.1f, 0.1f);
        glVertex3f(0.2f, 0.2f, 0.0f);
        glEnd();
        for (const GLfloat debljina : {DEBLJINA_OSA, DEBLJINA_SCENE}) {
            glLineWidth(debljina);
            // The view is still the identity, the unit square: one segment
            // within it, one leaving it, one crossing it, as rays, the
            // directrix and the axes do.
            glBegin(GL_LINES);
            glVertex3f(-0.5f, -0.5f, 0.0f);
            glVertex3f(0.5f, 0.5f, 0.0f);
            glVertex3f(0.0f, 0.0f, 0.0f);
            glVertex3f(DUZINA_OSE, 0.1f, 0.0f);
            glVertex3f(-0.1f, -DUZINA_OSE, 0.0f);
            glVertex3f(0.1f, DUZINA_OSE, 0.0f);
            glEnd();
        }
    }
    postaviBoju(CRNA);
    glLineWidth(DEBLJINA_OSA);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
}

void reshape(int width, int height)
{
    // The viewport is capped at the largest the renderer supports, and a window
    // beyond it is asked back to that size. X allows windows up to 65535 on a
    // side, and Mesa's software renderer dies (SIGSEGV, a 32-bit size overflow)
    // drawing a frame into one of 32767 x 32767. freeglut applies the asked size
    // before it draws the frame this call leads to, and calls reshape again once
    // the window has it.
    GLint najveci[2];  // width, height
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, najveci);
    const int sirinaPogleda = std::min(width, najveci[0]);
    const int visinaPogleda = std::min(height, najveci[1]);
    if (sirinaPogleda != width || visinaPogleda != height)
        glutReshapeWindow(sirinaPogleda, visinaPogleda);
    // A window shrunk to no height keeps a finite projection.
    const int visina = visinaPogleda > 0 ? visinaPogleda : 1;
    glViewport(0, 0, sirinaPogleda, visinaPogleda);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(VIDNO_POLJE, static_cast<double>(sirinaPogleda) / visina, BLIZU, DALEKO);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(/* eye */ 0.0, 0.0, UDALJENOST_KAMERE,
              /* centre */ 0.0, 0.0, 0.0,
              /* up */ 0.0, 1.0, 0.0);
}

void display()
{
    glClear(GL_COLOR_BUFFER_BIT);
    postaviBoju(CRNA);
    // The pan belongs to this frame only: the camera view that reshape set is
    // restored at the end, so the picture always stands exactly one pan away
    // from home however many frames came before.
    glPushMatrix();
    glTranslatef(xtranslate, ytranslate, 0.0f);
    glLineWidth(DEBLJINA_SCENE);
    // Each routine draws only for its own figure.
    crtajElipsu();
    crtajHiperbolu();
    crtajParabolu();
    glLineWidth(DEBLJINA_OSA);
    postaviBoju(CRNA);
    // The axes come last and so lie over the scene.
    oznaci(Deo::OSE);
    glBegin(GL_LINES);
    glVertex3f(-DUZINA_OSE, 0.0f, 0.0f);
    glVertex3f(DUZINA_OSE, 0.0f, 0.0f);
    glVertex3f(0.0f, -DUZINA_OSE, 0.0f);
    glVertex3f(0.0f, DUZINA_OSE, 0.0f);
    glEnd();
    glPopMatrix();
    glutSwapBuffers();
    std::fflush(stdout);  // the frame's ray equations reach a pipe at once
}

void keyboard(unsigned char key, int /* x */, int /* y */)
{
    switch (key) {
    case ESC:
    case 'Q':
    case 'q':
        std::exit(0);
    case 'A':
    case 'a':
        xtranslate += KORAK_VODORAVNO;
        break;
    case 'D':
    case 'd':
        xtranslate -= KORAK_VODORAVNO;
        break;
    case 'S':
    case 's':
        ytranslate += KORAK_USPRAVNO;
        break;
    case 'W':
    case 'w':
        ytranslate -= KORAK_USPRAVNO;
        break;
    case 'R':
    case 'r':
        xtranslate = 0.0f;
        ytranslate = 0.0f;
        break;
    default:
        return;  // every other key is ignored, without a redraw
    }
    glutPostRedisplay();
}
