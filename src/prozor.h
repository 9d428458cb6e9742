// What the window system's layer adds to the native programs. It is declared
// here, free of any one platform, and defined by the layer the program is
// linked with (prozor/x11.cpp for the X Window System).
#ifndef GEOMETRIJA_PROZOR_H
#define GEOMETRIJA_PROZOR_H

// Called once the window exists: from then on the program ends with status 0
// when the window is gone, however it was closed, also when another client
// destroyed it (the toolkit itself notices only a window manager's request).
void pratiNestanakProzora();

#endif
