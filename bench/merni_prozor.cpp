// geometrija-merni-prozor: the program's window with its frames timed, for the frame
// benchmark (geometrija-merilo starts it, once per case and round).
//
// It starts through geometrija's own start-up sequence (pokreni): the same
// window, fixed drawing state and warm-up, the start-up dialogue on the answers
// waiting on standard input, the shared reshape and keyboard, and the shared
// display inside a timed frame. With --gola it is the floor of the stack
// instead: the same window and drawing state, no warm-up, no dialogue, and a
// frame of one point and one line.
//
// A frame is timed from the start of the display routine until the X server
// holds the swapped picture: display (which swaps), glFinish, then an XSync on
// the context's connection, so a frame still queued in the client is never
// counted as done. The first frame is timed from the end of the dialogue (in
// the bare program, from where the dialogue would end): the window's mapping,
// the first reshape, the renderer's first use of the state and the first
// display. Then come the warm-up frames, untimed, and the steady frames.
//
// The equations every frame prints go wherever standard output points (the
// benchmark gives /dev/null). The figures go to the descriptor named by
// --izvestaj, one per line:
//   renderer <GL_RENDERER>    prozor <width> <height>
//   prvi <ms> <cpu ms>        okvir <ms> <cpu ms>   (once per steady frame)
// where the second figure is the processor time the whole process (the
// renderer's threads too) spent on the frame: unlike the first, it hardly
// grows when other programs hold the processors. The process then ends
// with status 0. A value the dialogue rejects ends it
// with the dialogue's status and no figures.
#include "broj.h"
#include "geometrija.h"
#include "pokretanje.h"
#include "proces.h"
#include "scena.h"
#include "tokovi.h"

#include <GL/glx.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr int NAJVISE = 1000000;  // any option's number

struct Podesavanja {
    int izvestaj = -1;    // descriptor for the figures
    int nemerenih = 0;    // untimed frames after the first
    int okvira = 0;       // timed steady frames
    bool gola = false;    // the bare floor instead of the program
};

Podesavanja podesavanja;
Sat::time_point krajDijaloga;
double procesorNaKrajuDijaloga = 0;
int nacrtano = 0;  // frames finished so far
int sirina = 0, visina = 0;  // the window's size, as the last reshape gave it
double prviOkvir = 0, prviOkvirProcesor = 0;
struct Trajanje {
    double ms, procesorMs;
};
std::vector<Trajanje> trajanja;
std::string renderer;

double procesorskoVremeMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The floor's frame: the program's clear and swap around the least a scene can
// draw, one point and one line, in the program's black.
void goliPrikaz()
{
    glClear(GL_COLOR_BUFFER_BIT);
    postaviBoju(CRNA);
    glBegin(GL_POINTS);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
    glBegin(GL_LINES);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glEnd();
    glutSwapBuffers();
}

void preoblikuj(int w, int h)
{
    sirina = w;
    visina = h;
    reshape(w, h);
}

void izvesti()
{
    std::string tekst = "renderer " + renderer + "\n";
    tekst += "prozor " + std::to_string(sirina) + " " + std::to_string(visina) + "\n";
    char red[64];
    std::snprintf(red, sizeof red, "prvi %.6f %.6f\n", prviOkvir, prviOkvirProcesor);
    tekst += red;
    for (const Trajanje& o : trajanja) {
        std::snprintf(red, sizeof red, "okvir %.6f %.6f\n", o.ms, o.procesorMs);
        tekst += red;
    }
    FILE* f = fdopen(podesavanja.izvestaj, "w");
    if (f) {
        std::fputs(tekst.c_str(), f);
        std::fclose(f);
    }
}

void izmereniKadar()
{
    const Sat::time_point pocetak = Sat::now();
    const double procesorPre = procesorskoVremeMs();
    if (podesavanja.gola)
        goliPrikaz();
    else
        display();
    glFinish();
    XSync(glXGetCurrentDisplay(), False);
    const Sat::time_point kraj = Sat::now();
    const double procesorPosle = procesorskoVremeMs();

    if (nacrtano == 0) {
        prviOkvir = 1000 * sekundiOd(krajDijaloga, kraj);
        prviOkvirProcesor = procesorPosle - procesorNaKrajuDijaloga;
        const GLubyte* ime = glGetString(GL_RENDERER);
        renderer = ime ? reinterpret_cast<const char*>(ime) : "unknown";
    } else if (nacrtano > podesavanja.nemerenih) {
        trajanja.push_back({1000 * sekundiOd(pocetak, kraj), procesorPosle - procesorPre});
    }
    ++nacrtano;
    if (nacrtano > podesavanja.nemerenih + podesavanja.okvira) {
        izvesti();
        std::fflush(stdout);
        std::exit(0);
    }
    glutPostRedisplay();
}

void zabeleziKrajDijaloga()
{
    krajDijaloga = Sat::now();
    procesorNaKrajuDijaloga = procesorskoVremeMs();
}

bool procitajPodesavanja(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string ime = argv[i];
        if (ime == "--gola") {
            podesavanja.gola = true;
            continue;
        }
        if (i + 1 == argc)
            return false;
        const char* vrednost = argv[++i];
        bool procitano = false;
        if (ime == "--izvestaj")
            procitano = broj(vrednost, 3, NAJVISE, podesavanja.izvestaj);
        else if (ime == "--nemerenih")
            procitano = broj(vrednost, 0, NAJVISE, podesavanja.nemerenih);
        else if (ime == "--okvira")
            procitano = broj(vrednost, 1, NAJVISE, podesavanja.okvira);
        if (!procitano)
            return false;
    }
    return podesavanja.izvestaj >= 3 && podesavanja.okvira >= 1;
}

}  // namespace

int main(int argc, char** argv)
{
    otvoriStandardneTokove();
    if (!procitajPodesavanja(argc, argv)) {
        std::fprintf(stderr, "usage: %s --izvestaj FD --okvira N [--nemerenih N] [--gola]\n", argv[0]);
        return 2;
    }
    // The toolkit sees the program's name only, as geometrija's would with no
    // arguments. geometrija's start-up, with the frames timed; the bare floor is
    // a program with no warm-up and no dialogue.
    int argcToolkit = 1;
    Pokretanje nacin;
    nacin.zagrevanje = nacin.dijalog = !podesavanja.gola;
    nacin.dijalogGotov = zabeleziKrajDijaloga;
    nacin.preoblikovanje = preoblikuj;
    nacin.prikaz = izmereniKadar;
    pokreni(argcToolkit, argv, nacin);
    return 0;
}
