// The Windows layer of the native programs: the end of the program when its
// window is closed.
//
// Unlike X11, no other process can destroy a window on Windows (DestroyWindow
// works only on the creating thread's own windows): whoever closes it, the
// close box, Alt+F4, the taskbar or another program, sends WM_CLOSE. freeglut
// answers WM_CLOSE by destroying the window and posting WM_QUIT, and its loop
// then ends the process with exit(0), so nothing has to be watched here. That
// answer is freeglut's setting GLUT_ACTION_ON_WINDOW_CLOSE, whose default is the
// exit; it is set here anyway, since the status 0 rests on it.
#include "prozor.h"

#include <GL/freeglut.h>

void pratiNestanakProzora()
{
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
}
