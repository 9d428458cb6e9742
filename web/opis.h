// What the picture shows, said in words for a screen reader: the page gives it
// as the canvas's text alternative after every frame.
#ifndef GEOMETRIJA_OPIS_H
#define GEOMETRIJA_OPIS_H

// The frame the recorder holds, described in the page's language (Serbian
// Latin without diacritics). The points it names are the recorded ones, where
// the frame put them; the equation and the pan are the program's own values.
// The text stays until the next call.
const char* opisSlike();

// `napisano` (the description, or the program's equations as printed) as a
// screen reader can say it: signs as words ("y jednako 0,28 puta x plus 1,13"),
// numbers as the description writes them, a point's coordinates named. Screen
// readers drop = * + ^ / ( ) ; from what they announce. The text stays until
// the next call.
const char* izgovor(const char* napisano);

#endif
