// The program's routines: the figure choice and the window callbacks of the
// shell, and for each conic its console dialogue and its drawing.
#ifndef GEOMETRIJA_H
#define GEOMETRIJA_H

// The window is a square of this many pixels when it opens.
constexpr int STRANICA_PROZORA = 500;

void izborfigure();
// The start-up dialogue, shared by every program built from these sources:
// the figure choice, then the chosen conic's dialogue once, or the
// wrong-choice message. Asks and prints nothing in the demonstration build.
void pocetniDijalog();
// The fixed drawing state, set once before the first frame and never changed:
// white background, blending, smoothed lines (fastest) and points (nicest).
void postaviStanjeCrtanja();
// Makes the renderer ready for the first frame, before the dialogue. Mesa's
// software renderer compiles code the first time it meets each kind of
// primitive, line width and colour of the fixed drawing state, which made the
// first picture after the last answer take two to three times as long as a
// frame (about 15 ms more). Done before the first question, that work happens
// while the user reads and types. With the fixed drawing state already set,
// it draws a few points and lines into the back buffer, clears it and waits
// for the renderer; nothing is swapped, so the window shows none of it.
void zagrejCrtanje();
void reshape(int width, int height);
void display();
void keyboard(unsigned char key, int x, int y);

void unoselipsa();
void crtajElipsu();
void unoshiperbola();
void crtajHiperbolu();
void unosparabola();
void crtajParabolu();

#endif
