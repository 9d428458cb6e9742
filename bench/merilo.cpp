// geometrija-merilo: the frame benchmark. In a private X server (it runs under
// privatni-x, as ./dev.sh bench starts it), runs the
// program's timed window (geometrija-merni-prozor) for every case below, round after
// round, prints a table of the steady and the first frame of each case against
// the slowest worked example and the bare floor of the stack, and ends with
// status 1 when a case misses a floor (2 when it cannot measure at all).
//
//   geometrija-merilo [--krugova N] [--okvira N]
//
// The machine may be shared: every figure is a median, each round runs every
// case once in a rotated order (so a burst of someone else's load falls on all
// cases alike, not on one), and the table gives the quartiles as the spread.
#include "broj.h"
#include "proces.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {


// The floors. Every accepted input's steady frame stays within this factor of
// the slowest worked example's and under one frame of a 60 Hz display; the
// first frame after the last answer within this factor of the bare program's.
constexpr double FAKTOR_STALNOG = 1.5;
constexpr double GRANICA_STALNOG_MS = 16.7;
constexpr double FAKTOR_PRVOG = 1.5;
constexpr int SIRINA_PROZORA = 500, VISINA_PROZORA = 500;

constexpr int PODRAZUMEVANO_KRUGOVA = 25;  // processes per case: first frames per case
constexpr int PODRAZUMEVANO_OKVIRA = 60;   // steady frames timed per process
constexpr int NEMERENIH = 20;             // frames after the first, not timed
constexpr int OKVIRA_PROBNOG_KRUGA = 5;    // the untimed round that warms the caches
constexpr double ROK_PROCESA = 120.0;      // seconds one process may take

enum class Vrsta { PRIMER, NAJGORI, GOLI };

struct Slucaj {
    const char* ime;
    const char* odgovori;  // the console answers, as typed; none for the bare program
    Vrsta vrsta;
};

// The worked examples, the worst inputs the dialogues accept, and the floor.
const Slucaj SLUCAJEVI[] = {
    {"ellipse, worked example", "1\n5 3 45\n", Vrsta::PRIMER},
    {"hyperbola, worked example", "2\n3 2 0.5 1\n", Vrsta::PRIMER},
    {"parabola, worked example", "3\n10 0.5 1\n", Vrsta::PRIMER},
    // The reflection point (-707107, 707107), far outside the view, is where
    // the tangent starts: left of the +-100 square and above it, so both of its
    // halves are cut to the square and run the whole of it, 2 x 20000 points
    // beside the 3600 of the curve. No ellipse frame sends more: a half never
    // sends more than 20000, and the rows that step both halves along the same
    // coordinate (0, 90, 180, 360 degrees and every angle past 180) send at
    // most 20000 between them.
    {"ellipse, reflection far out", "1\n1e6 1e6 135\n", Vrsta::NAJGORI},
    // A tiny b1 that still leaves every vertex finite (below about 2e-37 the
    // ends of the branches overflow and are skipped): the branches run out to
    // |x| = 6e31, the reflection point sits at x = -4.5e30 and the reflected
    // ray reaches x = -9e30, so the renderer has to clip coordinates far
    // beyond any it meets in the worked examples.
    {"hyperbola, tiny b1", "2\n3 1e-30 0.5 1\n", Vrsta::NAJGORI},
    // The largest power of ten a float holds: the focus, the directrix and the
    // reflection point lie about 1e38 away, the curve's samples up to 6e19,
    // and still every vertex is finite.
    {"parabola, huge p", "3\n1e38 0.5 1\n", Vrsta::NAJGORI},
    // A figure choice the program does not know: only the axes are drawn.
    {"axes alone", "0\n", Vrsta::NAJGORI},
    {"bare: one point, one line", nullptr, Vrsta::GOLI},
};
constexpr size_t BROJ_SLUCAJEVA = sizeof SLUCAJEVI / sizeof SLUCAJEVI[0];

struct Izvestaj {
    std::string renderer;
    int sirina = 0, visina = 0;
    double prvi = 0, prviProcesor = 0;
    std::vector<double> okviri, procesor;
};

struct Rezultat {
    std::vector<double> prvi;    // one per round
    std::vector<double> prviProcesor;  // and the processor time of each
    std::vector<double> okviri;  // every steady frame of every round
    std::vector<double> procesor;  // the processor time of each of them
    int sirina = 0, visina = 0;
};

// Interrupted, the benchmark takes down the process being timed, and nothing else.
volatile sig_atomic_t pidMerenog = -1;

void prekini(int signal)
{
    if (pidMerenog > 0)
        kill(static_cast<pid_t>(pidMerenog), SIGKILL);
    _exit(128 + signal);
}

// The q-quantile (0 to 1) of the values, between neighbours where it falls between.
double kvantil(std::vector<double> v, double q)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const double mesto = q * static_cast<double>(v.size() - 1);
    const size_t ispod = static_cast<size_t>(mesto);
    const size_t iznad = std::min(ispod + 1, v.size() - 1);
    return v[ispod] + (v[iznad] - v[ispod]) * (mesto - static_cast<double>(ispod));
}

void citajIzvestaj(const std::string& tekst, Izvestaj& iz)
{
    size_t pocetak = 0;
    while (pocetak < tekst.size()) {
        size_t kraj = tekst.find('\n', pocetak);
        if (kraj == std::string::npos)
            kraj = tekst.size();
        const std::string red = tekst.substr(pocetak, kraj - pocetak);
        pocetak = kraj + 1;
        if (red.rfind("renderer ", 0) == 0)
            iz.renderer = red.substr(9);
        else if (red.rfind("prozor ", 0) == 0)
            std::sscanf(red.c_str(), "prozor %d %d", &iz.sirina, &iz.visina);
        else if (red.rfind("prvi ", 0) == 0) {
            char* kraj = nullptr;
            iz.prvi = std::strtod(red.c_str() + 5, &kraj);
            iz.prviProcesor = std::strtod(kraj, nullptr);
        }
        else if (red.rfind("okvir ", 0) == 0) {
            char* kraj = nullptr;
            iz.okviri.push_back(std::strtod(red.c_str() + 6, &kraj));
            iz.procesor.push_back(std::strtod(kraj, nullptr));
        }
    }
}

// Runs the timed window once for the case: its answers on standard input,
// its standard output (the equations of every frame) on /dev/null, its
// figures on descriptor 3. False, with the reason, when it gave none.
bool izmeri(const Slucaj& slucaj, int okvira, int nemerenih, Izvestaj& iz, std::string& greska)
{
    constexpr int FD_IZVESTAJA = 3;
    Naredba prozor;
    prozor.program = GEOMETRIJA_MERNI_PROZOR;
    prozor.argumenti = {GEOMETRIJA_MERNI_PROZOR, "--izvestaj", std::to_string(FD_IZVESTAJA), "--okvira",
                        std::to_string(okvira), "--nemerenih", std::to_string(nemerenih)};
    if (slucaj.vrsta == Vrsta::GOLI)
        prozor.argumenti.push_back("--gola");
    prozor.tokovi = {{STDIN_FILENO, Tok::KA_DETETU}, {STDOUT_FILENO, Tok::NISTA},
                     {FD_IZVESTAJA, Tok::OD_DETETA}};
    prozor.podrazumevaniSignali = true;  // SIGPIPE is ignored here
    Proces mereni;
    if (!mereni.pokreni(prozor, greska))
        return false;
    pidMerenog = mereni.pid();
    // The answers fit in the pipe at once; a process that dies before reading
    // them only makes this write fail.
    if (slucaj.odgovori)
        (void)!write(mereni.cev(STDIN_FILENO), slucaj.odgovori, std::strlen(slucaj.odgovori));
    mereni.zatvoriCev(STDIN_FILENO);

    std::string tekst;
    const bool stiglo = citaj(mereni.cev(FD_IZVESTAJA), tekst, ROK_PROCESA);
    if (stiglo)
        mereni.cekaj();
    else
        mereni.ubij();
    pidMerenog = -1;
    if (!stiglo)
        return greska = "no figures within " + std::to_string(static_cast<int>(ROK_PROCESA)) + " s", false;
    if (!mereni.izasao() || mereni.status() != 0) {
        greska = mereni.izasao() ? "ended with status " + std::to_string(mereni.status())
                                 : "killed by signal " + std::to_string(mereni.status());
        return false;
    }
    citajIzvestaj(tekst, iz);
    if (iz.okviri.size() != static_cast<size_t>(okvira))
        return greska = "incomplete figures", false;
    return true;
}

std::string modelProcesora()
{
    std::ifstream f("/proc/cpuinfo");
    std::string red;
    while (std::getline(f, red))
        if (red.rfind("model name", 0) == 0 && red.find(':') != std::string::npos)
            return red.substr(red.find(':') + 2);
    return "unknown";
}

std::string opterecenje()
{
    std::ifstream f("/proc/loadavg");
    std::string jedan, pet, petnaest;
    f >> jedan >> pet >> petnaest;
    return jedan + " " + pet + " " + petnaest;
}

// The answers as typed, on one line: "1 / 5 3 45".
std::string odgovoriUJednomRedu(const char* odgovori)
{
    if (!odgovori)
        return "-";
    std::string s = odgovori;
    while (!s.empty() && s.back() == '\n')
        s.pop_back();
    const size_t prvi = s.find('\n');
    if (prvi != std::string::npos)
        s.replace(prvi, 1, " / ");
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    int krugova = PODRAZUMEVANO_KRUGOVA, okvira = PODRAZUMEVANO_OKVIRA;
    for (int i = 1; i < argc; ++i) {
        const std::string ime = argv[i];
        const bool dobro = i + 1 < argc && ((ime == "--krugova" && broj(argv[i + 1], 1, 100000, krugova)) ||
                                            (ime == "--okvira" && broj(argv[i + 1], 1, 100000, okvira)));
        if (!dobro) {
            std::fprintf(stderr, "usage: %s [--krugova N] [--okvira N]\n", argv[0]);
            return 2;
        }
        ++i;
    }
    signal(SIGPIPE, SIG_IGN);

    const char* ekran = std::getenv("DISPLAY");
    if (!ekran) {
        std::fprintf(stderr, "geometrija-merilo: no X server: run it under privatni-x (./dev.sh bench)\n");
        return 2;
    }
    for (const int s : {SIGINT, SIGTERM, SIGHUP})
        signal(s, prekini);

    const std::string opterecenjePre = opterecenje();
    const auto pocetak = Sat::now();
    std::string renderer, greska;
    std::vector<Rezultat> rezultati(BROJ_SLUCAJEVA);
    // Round 0 is not counted: it fills the renderer's shader cache and the
    // file cache, which every later start of the program finds warm.
    const bool napredak = isatty(STDERR_FILENO);  // progress only for a person watching
    for (int krug = 0; krug <= krugova; ++krug) {
        if (napredak)
            std::fprintf(stderr, "\rround %d of %d ", krug, krugova);
        for (size_t k = 0; k < BROJ_SLUCAJEVA; ++k) {
            const size_t s = (k + static_cast<size_t>(krug)) % BROJ_SLUCAJEVA;
            Izvestaj iz;
            const bool probni = krug == 0;
            if (!izmeri(SLUCAJEVI[s], probni ? OKVIRA_PROBNOG_KRUGA : okvira, probni ? 0 : NEMERENIH, iz,
                        greska)) {
                std::fprintf(stderr, "\ngeometrija-merilo: %s: %s\n", SLUCAJEVI[s].ime, greska.c_str());
                return 2;
            }
            if (probni)
                continue;
            Rezultat& r = rezultati[s];
            r.prvi.push_back(iz.prvi);
            r.prviProcesor.push_back(iz.prviProcesor);
            r.okviri.insert(r.okviri.end(), iz.okviri.begin(), iz.okviri.end());
            r.procesor.insert(r.procesor.end(), iz.procesor.begin(), iz.procesor.end());
            r.sirina = iz.sirina;
            r.visina = iz.visina;
            renderer = iz.renderer;
        }
    }
    if (napredak)
        std::fprintf(stderr, "\r%30s\r", "");
    const double trajanje = sekundiOd(pocetak);

    // The references: the slowest worked example's steady frame, the bare first frame.
    double najsporijiPrimer = 0;
    const char* imeNajsporijeg = "";
    double goliPrvi = 0, goliStalni = 0;
    for (size_t s = 0; s < BROJ_SLUCAJEVA; ++s) {
        const double stalni = kvantil(rezultati[s].okviri, 0.5);
        if (SLUCAJEVI[s].vrsta == Vrsta::PRIMER && stalni > najsporijiPrimer) {
            najsporijiPrimer = stalni;
            imeNajsporijeg = SLUCAJEVI[s].ime;
        }
        if (SLUCAJEVI[s].vrsta == Vrsta::GOLI) {
            goliPrvi = kvantil(rezultati[s].prvi, 0.5);
            goliStalni = stalni;
        }
    }
    const double granicaStalnog = std::min(FAKTOR_STALNOG * najsporijiPrimer, GRANICA_STALNOG_MS);

    std::string prozori;  // the window sizes the cases got, each named once
    for (const Rezultat& r : rezultati) {
        const std::string prozor = std::to_string(r.sirina) + "x" + std::to_string(r.visina);
        if (prozori.find(prozor) == std::string::npos)
            prozori += (prozori.empty() ? "" : ", ") + prozor;
    }
    std::printf("geometrija frame benchmark\n");
    std::printf("machine:  %s, %ld CPUs online; load average %s before, %s after\n", modelProcesora().c_str(),
                sysconf(_SC_NPROCESSORS_ONLN), opterecenjePre.c_str(), opterecenje().c_str());
    std::printf("renderer: %s; window %s; private Xvfb %s\n", renderer.c_str(), prozori.c_str(), ekran);
    std::printf("samples:  %d rounds of one process per case (rotated order), each %d warm-up and %d timed "
                "frames; %.0f s\n",
                krugova, NEMERENIH, okvira, trajanje);
    std::printf("frame:    steady: display (clear, scene, axes, swap) + glFinish + XSync, median and quartiles of "
                "every frame;\n          first: from the end of the dialogue to the first finished frame, median "
                "and quartiles over the rounds;\n          cpu: the median processor time of the process (the "
                "renderer's threads too) over the same span\n\n");
    // A Markdown table, so that it reads in a terminal and pastes into a README as it is.
    std::printf("| %-27s | %-17s | %9s | %-11s | %5s | %6s | %8s | %-11s | %6s | %6s |\n", "case", "answers",
                "steady ms", "p25-p75", "x ex.", "cpu ms", "first ms", "p25-p75", "x bare", "cpu ms");
    const auto crta = [](int duzina, bool desno) { return std::string(duzina, '-') + (desno ? ":" : "-"); };
    std::printf("|%s|%s|%s|%s|%s|%s|%s|%s|%s|%s|\n", crta(28, false).c_str(), crta(18, false).c_str(),
                crta(10, true).c_str(), crta(12, false).c_str(), crta(6, true).c_str(), crta(7, true).c_str(),
                crta(9, true).c_str(), crta(12, false).c_str(), crta(7, true).c_str(), crta(7, true).c_str());

    std::vector<std::string> promasaji;
    for (size_t s = 0; s < BROJ_SLUCAJEVA; ++s) {
        const Slucaj& sl = SLUCAJEVI[s];
        const Rezultat& r = rezultati[s];
        const double stalni = kvantil(r.okviri, 0.5), prvi = kvantil(r.prvi, 0.5);
        char stalniRaspon[32], prviRaspon[32];
        std::snprintf(stalniRaspon, sizeof stalniRaspon, "%.2f-%.2f", kvantil(r.okviri, 0.25),
                      kvantil(r.okviri, 0.75));
        std::snprintf(prviRaspon, sizeof prviRaspon, "%.1f-%.1f", kvantil(r.prvi, 0.25), kvantil(r.prvi, 0.75));
        const double premaPrimeru = stalni / najsporijiPrimer, premaGolom = prvi / goliPrvi;
        std::printf("| %-27s | %-17s | %9.2f | %-11s | %5.2f | %6.2f | %8.1f | %-11s | %6.2f | %6.1f |\n", sl.ime,
                    odgovoriUJednomRedu(sl.odgovori).c_str(), stalni, stalniRaspon, premaPrimeru,
                    kvantil(r.procesor, 0.5), prvi, prviRaspon, premaGolom, kvantil(r.prviProcesor, 0.5));
        if (sl.vrsta == Vrsta::GOLI)
            continue;
        char opis[160];
        if (r.sirina != SIRINA_PROZORA || r.visina != VISINA_PROZORA) {
            std::snprintf(opis, sizeof opis, "%s: window %dx%d, not %dx%d", sl.ime, r.sirina, r.visina,
                          SIRINA_PROZORA, VISINA_PROZORA);
            promasaji.push_back(opis);
        }
        if (premaPrimeru > FAKTOR_STALNOG) {
            std::snprintf(opis, sizeof opis, "%s: steady frame %.2f ms is %.2fx the slowest worked example's", sl.ime,
                          stalni, premaPrimeru);
            promasaji.push_back(opis);
        }
        if (stalni >= GRANICA_STALNOG_MS) {
            std::snprintf(opis, sizeof opis, "%s: steady frame %.2f ms, not under %.1f ms", sl.ime, stalni,
                          GRANICA_STALNOG_MS);
            promasaji.push_back(opis);
        }
        if (premaGolom > FAKTOR_PRVOG) {
            std::snprintf(opis, sizeof opis, "%s: first frame %.1f ms is %.2fx the bare program's", sl.ime, prvi,
                          premaGolom);
            promasaji.push_back(opis);
        }
    }
    std::printf("\nfloors:   steady frame at most %.1fx the slowest worked example (%s, %.2f ms) and under "
                "%.1f ms, so at most %.2f ms;\n          first frame at most %.1fx the bare program's %.1f ms, "
                "so at most %.1f ms (bare steady frame %.2f ms)\n",
                FAKTOR_STALNOG, imeNajsporijeg, najsporijiPrimer, GRANICA_STALNOG_MS, granicaStalnog, FAKTOR_PRVOG,
                goliPrvi, FAKTOR_PRVOG * goliPrvi, goliStalni);
    if (promasaji.empty()) {
        std::printf("result:   every floor met\n");
        return 0;
    }
    std::printf("result:   %zu floor(s) missed\n", promasaji.size());
    for (const std::string& p : promasaji)
        std::printf("  missed: %s\n", p.c_str());
    return 1;
}
