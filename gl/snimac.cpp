// The recorder's GL and GLU entries and its record (see snimac.h); the GLUT
// entries are in snimac_glut.cpp, which the web page leaves out.
#include "liste.h"
#include "snimac.h"

#include <algorithm>
#include <limits>
#include <map>

namespace snimac {
namespace {

constexpr std::uint32_t NEMA = std::numeric_limits<std::uint32_t>::max();  // no batch, no numbers

struct Ime {
    const char* ime;
    Grupa grupa;
    int brojeva;  // its numbers: the parameters that are not pointers
};

template <typename R, typename... A>
constexpr int brojeviOd(R (*)(A...))
{
    return (0 + ... + (std::is_arithmetic_v<A> ? 1 : 0));
}

const Ime IMENA[] = {
#define GEOMETRIJA_ULAZ(grupa, tip, ime, parametri, argumenti) {#ime, Grupa::grupa, brojeviOd(&::ime)},
    GEOMETRIJA_ULAZI(GEOMETRIJA_ULAZ)
#undef GEOMETRIJA_ULAZ
};

const Ime& opis(Ulaz ulaz) { return IMENA[static_cast<int>(ulaz)]; }

// GL's state, as far as the picture and the tests need it.
struct Stanje {
    Boja boja;
    float velicinaTacke = 1, debljina = 1;
    std::map<GLenum, bool> ukljuceno;
    GLint ponavljanje = 1;
    GLushort sablon = 0xFFFF;
    GLenum nacinMatrice = GL_MODELVIEW;
    std::vector<Matrica> modelview{jedinicna()}, projekcija{jedinicna()};
    Matrica ostala = jedinicna();  // texture and colour matrices: kept apart, unused
    GLint pogled[4] = {0, 0, 0, 0};
    float bojaBrisanja[4] = {0, 0, 0, 0};
    bool uSeriji = false;
    bool listaUSeriji = false;  // the list being compiled has opened a batch
    GLuint izvodiSe = 0;        // the list being replayed, 0 when none
};

struct Snimak {
    std::vector<Poziv> pozivi;
    std::vector<double> brojevi;
    std::size_t ukupno = 0;  // calls so far, each vertex counted
    std::vector<Serija> serije;
    Greske greske;
};

Stanje stanje;
DisplayListe liste;
Prozor glut;
Snimak snimak;
std::vector<std::vector<Teme>> rezerva;  // vertex memory of earlier batches, for the next
GLint najveciPogled[2] = {NAJVECI_POGLED, NAJVECI_POGLED};
Prosledjivac prosledjivac = nullptr;

Matrica& tekucaMatrica()
{
    if (stanje.nacinMatrice == GL_MODELVIEW)
        return stanje.modelview.back();
    if (stanje.nacinMatrice == GL_PROJECTION)
        return stanje.projekcija.back();
    return stanje.ostala;
}

std::vector<Matrica>* tekuciStek()
{
    if (stanje.nacinMatrice == GL_MODELVIEW)
        return &stanje.modelview;
    if (stanje.nacinMatrice == GL_PROJECTION)
        return &stanje.projekcija;
    return nullptr;
}

GLuint tekucaLista() { return liste.snimaSe() ? liste.snimaSe() : stanje.izvodiSe; }

void upisi(Ulaz ulaz, GLuint lista, const double* brojevi, int n)
{
    snimak.pozivi.push_back(Poziv{ulaz, lista, static_cast<std::uint32_t>(snimak.brojevi.size()), 1});
    for (int i = 0; i < n; ++i)
        snimak.brojevi.push_back(brojevi[i]);
    ++snimak.ukupno;
}

// Vertices join the run of the call before them when that is a run of the
// same entry, list and batch.
void upisiTeme(Ulaz ulaz, GLuint lista, std::uint32_t serija, std::uint32_t broj = 1)
{
    Poziv* poslednji = snimak.pozivi.empty() ? nullptr : &snimak.pozivi.back();
    if (poslednji && poslednji->ulaz == ulaz && poslednji->lista == lista && poslednji->podaci == serija)
        poslednji->broj += broj;
    else
        snimak.pozivi.push_back(Poziv{ulaz, lista, serija, broj});
    snimak.ukupno += broj;
}

std::uint32_t tekucaSerija()
{
    return stanje.uSeriji ? static_cast<std::uint32_t>(snimak.serije.size() - 1) : NEMA;
}

void izvrsiTeme(Ulaz ulaz, const double* k)
{
    if (prosledjivac)
        prosledjivac(ulaz, k);
    if (!stanje.uSeriji) {
        ++snimak.greske.izvanSerije;
        return;
    }
    const std::uint8_t dimenzija = ulaz == Ulaz::glVertex2f ? 2 : 3;
    snimak.serije.back().temena.push_back(Teme{static_cast<float>(k[0]), static_cast<float>(k[1]),
                                               dimenzija == 2 ? 0.0f : static_cast<float>(k[2]), stanje.boja,
                                               dimenzija});
}

void izvrsi(Ulaz ulaz, const double* a);

void pozoviListu(GLuint ime)
{
    const GLuint spolja = stanje.izvodiSe;
    stanje.izvodiSe = ime;
    liste.pozovi(ime, [ime](Ulaz ulaz, const double* brojevi, std::uint32_t broj) {
        if (ulaz == Ulaz::glVertex2f || ulaz == Ulaz::glVertex3f) {
            upisiTeme(ulaz, ime, tekucaSerija(), broj);
            const int n = ulaz == Ulaz::glVertex2f ? 2 : 3;
            for (std::uint32_t i = 0; i < broj; ++i)
                izvrsiTeme(ulaz, brojevi + i * n);
        } else {
            upisi(ulaz, ime, brojevi, opis(ulaz).brojeva);
            izvrsi(ulaz, brojevi);
        }
    });
    stanje.izvodiSe = spolja;
}

GLenum nabrajanje(double x) { return static_cast<GLenum>(x); }
float f(double x) { return static_cast<float>(x); }

// Every entry's effect. No default: an entry added to the table does not build
// until its effect is written here.
void izvrsi(Ulaz ulaz, const double* a)
{
    const Grupa g = opis(ulaz).grupa;
    if (prosledjivac && g != Grupa::LISTA && g != Grupa::UPIT)
        prosledjivac(ulaz, a);
    switch (ulaz) {
    case Ulaz::glBegin: {
        if (stanje.uSeriji) {
            ++snimak.greske.ugnezdjavanje;  // GL ignores it
            break;
        }
        Serija s;
        if (!rezerva.empty()) {
            s.temena = std::move(rezerva.back());
            rezerva.pop_back();
        }
        s.nacin = nabrajanje(a[0]);
        s.velicinaTacke = stanje.velicinaTacke;
        s.debljina = stanje.debljina;
        s.isprekidana = stanje.ukljuceno[GL_LINE_STIPPLE];
        s.ponavljanje = stanje.ponavljanje;
        s.sablon = stanje.sablon;
        s.lista = stanje.izvodiSe;
        s.poziv = snimak.ukupno - 1;
        s.modelview = stanje.modelview.back();
        s.projekcija = stanje.projekcija.back();
        std::copy(stanje.pogled, stanje.pogled + 4, s.pogled);
        snimak.serije.push_back(std::move(s));
        stanje.uSeriji = true;
        break;
    }
    case Ulaz::glEnd:
        if (!stanje.uSeriji)
            ++snimak.greske.ugnezdjavanje;
        stanje.uSeriji = false;
        break;
    case Ulaz::glVertex2f:
    case Ulaz::glVertex3f:
        izvrsiTeme(ulaz, a);
        break;
    case Ulaz::glColor3f:
        stanje.boja = Boja{f(a[0]), f(a[1]), f(a[2])};
        break;
    case Ulaz::glPointSize:
        stanje.velicinaTacke = f(a[0]);
        break;
    case Ulaz::glLineWidth:
        stanje.debljina = f(a[0]);
        break;
    case Ulaz::glEnable:
    case Ulaz::glDisable:
        stanje.ukljuceno[nabrajanje(a[0])] = ulaz == Ulaz::glEnable;
        break;
    case Ulaz::glLineStipple:
        stanje.ponavljanje = std::clamp(static_cast<GLint>(a[0]), 1, 256);  // as GL clamps it
        stanje.sablon = static_cast<GLushort>(a[1]);
        break;
    case Ulaz::glClearColor:
        for (int i = 0; i < 4; ++i)
            stanje.bojaBrisanja[i] = f(a[i]);
        break;
    case Ulaz::glViewport:
        for (int i = 0; i < 4; ++i)
            stanje.pogled[i] = static_cast<GLint>(a[i]);
        break;
    case Ulaz::glMatrixMode:
        stanje.nacinMatrice = nabrajanje(a[0]);
        break;
    case Ulaz::glLoadIdentity:
        tekucaMatrica() = jedinicna();
        break;
    case Ulaz::glPushMatrix:
        if (std::vector<Matrica>* stek = tekuciStek())
            stek->push_back(stek->back());
        break;
    case Ulaz::glPopMatrix:
        if (std::vector<Matrica>* stek = tekuciStek(); stek && stek->size() > 1)
            stek->pop_back();
        break;
    case Ulaz::glTranslatef:
        pomeri(tekucaMatrica(), f(a[0]), f(a[1]), f(a[2]));
        break;
    case Ulaz::glNewList:
        liste.pocni(static_cast<GLuint>(a[0]), nabrajanje(a[1]));
        stanje.listaUSeriji = false;
        break;
    case Ulaz::glEndList:
        if (stanje.listaUSeriji)
            ++snimak.greske.ugnezdjavanje;
        stanje.listaUSeriji = false;
        liste.zavrsi();
        break;
    case Ulaz::glCallList:
        pozoviListu(static_cast<GLuint>(a[0]));
        break;
    case Ulaz::gluPerspective: {
        MatricaD m;
        if (perspektiva(a[0], a[1], a[2], a[3], m))
            tekucaMatrica() = pomnozi(tekucaMatrica(), m);
        break;
    }
    case Ulaz::gluLookAt: {
        Matrica& m = tekucaMatrica();
        m = pomnozi(m, rotacijaKamere(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]));
        pomeri(m, f(-a[0]), f(-a[1]), f(-a[2]));
        break;
    }
    case Ulaz::glutInitDisplayMode:
        glut.nacinPrikaza = static_cast<int>(a[0]);
        break;
    case Ulaz::glutInitWindowSize:
        glut.sirina = static_cast<int>(a[0]);
        glut.visina = static_cast<int>(a[1]);
        break;
    case Ulaz::glutInitWindowPosition:
        glut.x = static_cast<int>(a[0]);
        glut.y = static_cast<int>(a[1]);
        break;
    case Ulaz::glutPostRedisplay:
        ++glut.zahteviZaCrtanje;
        break;
    case Ulaz::glutSwapBuffers:
        ++glut.zamene;
        break;
    case Ulaz::glutMainLoop:
        ++glut.glavnePetlje;
        break;
    // No state of their own, or what they carry is taken by the entry itself
    // (pointers, the question's answer).
    case Ulaz::glHint:
    case Ulaz::glBlendFunc:
    case Ulaz::glClear:
    case Ulaz::glFinish:
    case Ulaz::glGetIntegerv:
    case Ulaz::glutInit:
    case Ulaz::glutCreateWindow:
    case Ulaz::glutReshapeFunc:
    case Ulaz::glutKeyboardFunc:
    case Ulaz::glutDisplayFunc:
    case Ulaz::glutReshapeWindow:
    case Ulaz::pratiNestanakProzora:
        break;
    }
}

void isprazniSnimak()
{
    // Kept last batch first, so the next frame's first batch gets this one's
    // first batch's memory back: a frame's batches come in the same sizes
    // frame after frame, and the large curve never grows a small vector again.
    for (auto s = snimak.serije.rbegin(); s != snimak.serije.rend(); ++s) {
        s->temena.clear();
        rezerva.push_back(std::move(s->temena));
    }
    snimak.serije.clear();
    snimak.pozivi.clear();
    snimak.brojevi.clear();
    snimak.ukupno = 0;
    snimak.greske = Greske{};
}

}  // namespace

const char* ime(Ulaz ulaz) { return opis(ulaz).ime; }
Grupa grupa(Ulaz ulaz) { return opis(ulaz).grupa; }

const std::vector<Poziv>& pozivi() { return snimak.pozivi; }
const std::vector<Serija>& serije() { return snimak.serije; }
const Prozor& prozor() { return glut; }
const Greske& greske() { return snimak.greske; }
bool uSeriji() { return stanje.uSeriji; }
const double* brojevi(const Poziv& poziv) { return snimak.brojevi.data() + poziv.podaci; }

Boja tekucaBoja() { return stanje.boja; }
float tekucaVelicinaTacke() { return stanje.velicinaTacke; }
float tekucaDebljina() { return stanje.debljina; }
bool ukljuceno(GLenum mogucnost) { return stanje.ukljuceno[mogucnost]; }
GLenum nacinMatrice() { return stanje.nacinMatrice; }
int dubinaModelview() { return static_cast<int>(stanje.modelview.size()) - 1; }
const Matrica& modelview() { return stanje.modelview.back(); }
const float* bojaBrisanja() { return stanje.bojaBrisanja; }

void isprazni()
{
    isprazniSnimak();
    stanje = Stanje{};
    liste.zaboravi();
    glut = Prozor{};
}

void novaSlika() { isprazniSnimak(); }

void postaviNajveciPogled(GLint sirina, GLint visina)
{
    najveciPogled[0] = sirina;
    najveciPogled[1] = visina;
}

void prosledjuj(Prosledjivac f) { prosledjivac = f; }

std::vector<Zapis> zapis()
{
    std::vector<Zapis> z;
    for (const Poziv& p : snimak.pozivi) {
        if (p.ulaz == Ulaz::glVertex2f || p.ulaz == Ulaz::glVertex3f) {
            z.insert(z.end(), p.broj, Zapis{ime(p.ulaz), {}, p.lista});
            continue;
        }
        const double* brojevi = snimak.brojevi.data() + p.podaci;
        z.push_back(Zapis{ime(p.ulaz), std::vector<double>(brojevi, brojevi + opis(p.ulaz).brojeva), p.lista});
    }
    return z;
}

std::vector<std::string> imena()
{
    std::vector<std::string> sva;
    for (const Poziv& p : snimak.pozivi)
        sva.insert(sva.end(), p.broj, ime(p.ulaz));
    return sva;
}

std::size_t broj(Ulaz ulaz)
{
    std::size_t n = 0;
    for (const Poziv& p : snimak.pozivi)
        n += p.ulaz == ulaz ? p.broj : 0;
    return n;
}

std::vector<Zapis> poziviOd(Ulaz ulaz)
{
    std::vector<Zapis> od;
    for (Zapis& z : zapis())
        if (z.ime == ime(ulaz))
            od.push_back(std::move(z));
    return od;
}

namespace detalj {

void primi(Ulaz ulaz, const double* brojevi, int n)
{
    upisi(ulaz, tekucaLista(), brojevi, n);
    // List control always takes effect; everything else is compiled while a
    // list is, and runs too only in GL_COMPILE_AND_EXECUTE.
    if (ulaz != Ulaz::glNewList && ulaz != Ulaz::glEndList && liste.snimi(ulaz, brojevi, n)) {
        if (ulaz == Ulaz::glBegin || ulaz == Ulaz::glEnd)
            stanje.listaUSeriji = ulaz == Ulaz::glBegin;
        return;
    }
    izvrsi(ulaz, brojevi);
}

void teme(Ulaz ulaz, float x, float y, float z)
{
    const double k[3] = {x, y, z};
    const bool samoSnima = liste.snimi(ulaz, k, ulaz == Ulaz::glVertex2f ? 2 : 3);
    upisiTeme(ulaz, tekucaLista(), samoSnima ? NEMA : tekucaSerija());
    if (!samoSnima)
        izvrsiTeme(ulaz, k);
}

void odgovori(GLenum ime, GLint* vrednosti)
{
    if (ime == GL_MAX_VIEWPORT_DIMS) {
        vrednosti[0] = najveciPogled[0];
        vrednosti[1] = najveciPogled[1];
    }
}

Prozor& prozorZaUpis() { return glut; }

}  // namespace detalj

}  // namespace snimac

// ---- The entries ------------------------------------------------------------
// Each entry's definition takes the language linkage of its declaration in
// GL's and GLU's headers.
#define GEOMETRIJA_DEFINICIJA(tip, ime, parametri, argumenti) \
    tip ime parametri { snimac::detalj::zabelezi<snimac::Ulaz::ime> argumenti; }
#define GEOMETRIJA_ULAZ_GL GEOMETRIJA_DEFINICIJA
#define GEOMETRIJA_ULAZ_LISTA GEOMETRIJA_DEFINICIJA
#define GEOMETRIJA_ULAZ_GLU GEOMETRIJA_DEFINICIJA
#define GEOMETRIJA_ULAZ_UPIT(tip, ime, parametri, argumenti) \
    tip ime parametri { snimac::detalj::zabelezi<snimac::Ulaz::ime> argumenti; snimac::detalj::odgovori argumenti; }
#define GEOMETRIJA_ULAZ_GLUT(tip, ime, parametri, argumenti)
#define GEOMETRIJA_ULAZ_PROZOR(tip, ime, parametri, argumenti)
#define GEOMETRIJA_ULAZ(grupa, tip, ime, parametri, argumenti) GEOMETRIJA_ULAZ_##grupa(tip, ime, parametri, argumenti)
GEOMETRIJA_ULAZI(GEOMETRIJA_ULAZ)
