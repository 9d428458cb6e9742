// The program's routines: the figure choice and the window callbacks of the
// shell, and for each conic its console dialogue and its drawing.
#ifndef GEOMETRIJA_H
#define GEOMETRIJA_H

void izborfigure();
void reshape(int width, int height);
void display();
void keyboard(unsigned char key, int x, int y);

void unoselipsa();
void crtajElipsu();
void unoshiperbola();
void crtajHiperbolu();
void unosparabola();
void crtajParabolu();

// Console answers. The prompt is flushed first, so it shows before the program
// waits. Text that is not a number is left unread and the value keeps what it
// had: the dialogue never examines whether a read succeeded.
void procitaj(float& vrednost);  // "%f"
void procitaj(int& vrednost);    // "%d"

// The end of the hyperbola's and the parabola's dialogue: prints `poziv`, reads
// `parametar` (a value not above 0 ends the process with `status`), then asks
// for and reads `pravac`.
void unosZraka(const char* poziv, int status);

#endif
