// The program's routines: the figure choice and the window callbacks of the
// shell, and for each conic its console dialogue and its drawing.
#ifndef GEOMETRIJA_H
#define GEOMETRIJA_H

void izborfigure();
// The start-up dialogue, shared by every program built from these sources:
// the figure choice, then the chosen conic's dialogue once, or the
// wrong-choice message. Asks and prints nothing in the demonstration build.
void pocetniDijalog();
// The fixed drawing state, set once before the first frame and never changed:
// white background, blending, smoothed lines (fastest) and points (nicest).
void postaviStanjeCrtanja();
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
