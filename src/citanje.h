// The console, as the shell and the conic dialogues write and read it. The
// shell stands above the scenes, and the scenes above these helpers.
#ifndef GEOMETRIJA_CITANJE_H
#define GEOMETRIJA_CITANJE_H

// Every text the program prints: printf's "%f" for each double argument (a
// float is one once passed), "%%" for a percent sign, all else as it stands.
// Printed as glibc prints it on every platform.
void ispisi(const char* format, ...);

// Console answers. The prompt is flushed first, so it shows before the program
// waits. Text that is not a number is left unread and the value keeps what it
// had: the dialogue never examines whether a read succeeded.
void procitaj(float& vrednost);  // "%f"
void procitaj(int& vrednost);    // "%d"

// Ends the process after a rejected value with the dialogue's own status. The
// message is flushed, then the process ends without running exit handlers:
// the toolkit's handler would talk to the window system, and if that has gone
// away (the X server died during the dialogue) Xlib ends the process with
// status 1 from inside the first exit, so the dialogue's status would be lost.
[[noreturn]] void odbij(int status);

// The end of the hyperbola's and the parabola's dialogue: prints `poziv`, reads
// `parametar` (a value not above 0 ends the process with `status`), then asks
// for and reads `pravac`.
void unosZraka(const char* poziv, int status);

#endif
