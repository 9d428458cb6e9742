// The X11 layer of the native programs: the end of the program when another
// client destroys its window.
//
// freeglut ends the program when the window manager asks it to close the
// window (WM_DELETE_WINDOW), but it ignores the window's destruction by another
// client (XDestroyWindow, as `xdotool windowclose` does): no callback runs, and
// the process would wait for ever with no window. No GLUT call reports it
// either: glutGet on a destroyed window only trips Xlib's default error
// handler, which exits with status 1 and so runs freeglut's exit handler
// against the window that is gone.
//
// So the window is looked up every PERIOD_PROVERE ms (one round trip, which the
// server answers with an error once the window is gone), and an X error
// handler ends the program with status 0 when an error names this window as
// missing, whether a check or a frame being drawn met it. Every other error
// goes on to the handler that was there before.
#include "prozor.h"

#include <GL/glut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr unsigned int PERIOD_PROVERE = 200;  // ms between two looks at the window

Display* zaslon = nullptr;  // freeglut's connection
Window prozor = 0;          // freeglut draws straight into its X window
XErrorHandler prethodniRukovalac = nullptr;

int greskaX(Display* veza, XErrorEvent* greska)
{
    if ((greska->error_code == BadWindow || greska->error_code == BadDrawable) &&
        greska->resourceid == prozor) {
        // Exit handlers are skipped: freeglut's would destroy the window that is
        // gone, and that error would end the process with status 1.
        std::fflush(stdout);
        std::_Exit(0);
    }
    return prethodniRukovalac ? prethodniRukovalac(veza, greska) : 0;
}

void proveriProzor(int)
{
    Window koren;
    int x, y;
    unsigned int sirina, visina, okvir, dubina;
    XGetGeometry(zaslon, prozor, &koren, &x, &y, &sirina, &visina, &okvir, &dubina);
    glutTimerFunc(PERIOD_PROVERE, proveriProzor, 0);
}

}  // namespace

void pratiNestanakProzora()
{
    // glutCreateWindow has made the window's context current.
    zaslon = glXGetCurrentDisplay();
    prozor = glXGetCurrentDrawable();
    if (!zaslon || !prozor)
        return;
    prethodniRukovalac = XSetErrorHandler(greskaX);
    glutTimerFunc(PERIOD_PROVERE, proveriProzor, 0);
}
