// The recorder's GL and GLU entries, its record and its display lists (see
// snimac.h); the GLUT entries are in snimac_glut.cpp, which the web page
// leaves out.
#include "snimac.h"
#include "snimac_provera.h"

#include <algorithm>
#include <map>

namespace snimac {
namespace {

enum class Grupa { GL, UPIT, LISTA, GLU, GLUT, PROZOR };

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
    Boja boja{1, 1, 1};  // GL's initial colour is white
    Deo deo = Deo::NISTA;
    float velicinaTacke = 1, debljina = 1;
    bool isprekidana = false;
    GLint ponavljanje = 1;
    GLushort sablon = 0xFFFF;
    Glacanje glacanje;
    GLenum nacinMatrice = GL_MODELVIEW;
    std::vector<Matrica> modelview{jedinicna()}, projekcija{jedinicna()};
    GLint pogled[4] = {0, 0, 0, 0};
    float bojaBrisanja[4] = {0, 0, 0, 0};
    bool uSeriji = false;
};

// A display list: its calls, each with where its numbers start.
struct Lista {
    std::vector<std::pair<Ulaz, std::uint32_t>> pozivi;
    std::vector<double> brojevi;
};

struct Dnevnik {
    std::vector<Stavka> pozivi;
    std::vector<double> brojevi;
    std::size_t ukupno = 0;  // calls so far, each vertex counted
    Greske greske;
};

Stanje stanje;
Kadar kadar_;
Dnevnik dnevnik;
Prozor glut;
std::map<GLuint, Lista> liste;
Lista nova;              // the list being compiled
GLuint snimaSe = 0;      // its name, 0 while none is
bool novaUSeriji = false;  // it has opened a batch
GLuint izvodiSe = 0;     // the list being called, 0 when none
std::vector<std::vector<Teme>> rezerva;  // vertex memory of earlier batches, for the next
GLint najveciPogled[2] = {NAJVECI_POGLED, NAJVECI_POGLED};

// The matrix and the stack of the current mode; none for the modes the
// program never uses (texture, colour), whose calls change nothing here.
std::vector<Matrica>* tekuciStek()
{
    if (stanje.nacinMatrice == GL_MODELVIEW)
        return &stanje.modelview;
    if (stanje.nacinMatrice == GL_PROJECTION)
        return &stanje.projekcija;
    return nullptr;
}

void upisi(Ulaz ulaz, GLuint lista, const double* brojevi, int n)
{
    dnevnik.pozivi.push_back(Poziv{ulaz, lista, static_cast<std::uint32_t>(dnevnik.brojevi.size())});
    for (int i = 0; i < n; ++i)
        dnevnik.brojevi.push_back(brojevi[i]);
    ++dnevnik.ukupno;
}

// A vertex joins the run before it when that is of the same entry and list.
void upisiTeme(Ulaz ulaz, GLuint lista)
{
    NizTemena* niz = dnevnik.pozivi.empty() ? nullptr : std::get_if<NizTemena>(&dnevnik.pozivi.back());
    if (niz && niz->ulaz == ulaz && niz->lista == lista)
        ++niz->broj;
    else
        dnevnik.pozivi.push_back(NizTemena{ulaz, lista, 1});
    ++dnevnik.ukupno;
}

void dodajTeme(Ulaz ulaz, const double* k)
{
    if (!stanje.uSeriji) {
        ++dnevnik.greske.izvanSerije;
        return;
    }
    const bool dve = ulaz == Ulaz::glVertex2f;
    kadar_.serije.back().temena.push_back(Teme{static_cast<float>(k[0]), static_cast<float>(k[1]),
                                               dve ? 0.0f : static_cast<float>(k[2]), stanje.boja, stanje.deo,
                                               static_cast<std::uint8_t>(dve ? 2 : 3)});
}

void pocniSeriju(GLenum nacin)
{
    if (stanje.uSeriji) {
        ++dnevnik.greske.ugnezdjavanje;  // GL ignores it
        return;
    }
    Serija s;
    if (!rezerva.empty()) {
        s.temena = std::move(rezerva.back());
        rezerva.pop_back();
    }
    s.nacin = nacin;
    s.velicinaTacke = stanje.velicinaTacke;
    s.debljina = stanje.debljina;
    s.isprekidana = stanje.isprekidana;
    s.ponavljanje = stanje.ponavljanje;
    s.sablon = stanje.sablon;
    s.glacanje = stanje.glacanje;
    s.modelview = stanje.modelview.back();
    s.projekcija = stanje.projekcija.back();
    std::copy(stanje.pogled, stanje.pogled + 4, s.pogled);
    s.lista = izvodiSe;
    s.poziv = dnevnik.ukupno - 1;
    kadar_.serije.push_back(std::move(s));
    stanje.uSeriji = true;
}

void ukljuci(GLenum mogucnost, bool da)
{
    switch (mogucnost) {
    case GL_BLEND:
        stanje.glacanje.stapanje = da;
        break;
    case GL_POINT_SMOOTH:
        stanje.glacanje.tacke = da;
        break;
    case GL_LINE_SMOOTH:
        stanje.glacanje.linije = da;
        break;
    case GL_LINE_STIPPLE:
        stanje.isprekidana = da;
        break;
    default:
        break;  // nothing any painter draws
    }
}

GLenum nabrajanje(double x) { return static_cast<GLenum>(x); }
float f(double x) { return static_cast<float>(x); }

void pozoviListu(GLuint ime);

// Every entry's effect. No default: an entry added to the table does not build
// until its effect is written here.
void izvrsi(Ulaz ulaz, const double* a)
{
    std::vector<Matrica>* stek = tekuciStek();
    switch (ulaz) {
    case Ulaz::glBegin:
        pocniSeriju(nabrajanje(a[0]));
        break;
    case Ulaz::glEnd:
        if (!stanje.uSeriji)
            ++dnevnik.greske.ugnezdjavanje;
        stanje.uSeriji = false;
        break;
    case Ulaz::glVertex2f:
    case Ulaz::glVertex3f:
        dodajTeme(ulaz, a);
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
        ukljuci(nabrajanje(a[0]), ulaz == Ulaz::glEnable);
        break;
    case Ulaz::glLineStipple:
        stanje.ponavljanje = std::clamp(static_cast<GLint>(a[0]), 1, 256);  // as GL clamps it
        stanje.sablon = static_cast<GLushort>(a[1]);
        break;
    case Ulaz::glHint:
        if (nabrajanje(a[0]) == GL_POINT_SMOOTH_HINT)
            stanje.glacanje.savetTacke = nabrajanje(a[1]);
        else if (nabrajanje(a[0]) == GL_LINE_SMOOTH_HINT)
            stanje.glacanje.savetLinije = nabrajanje(a[1]);
        break;
    case Ulaz::glBlendFunc:
        stanje.glacanje.izvor = nabrajanje(a[0]);
        stanje.glacanje.odrediste = nabrajanje(a[1]);
        break;
    case Ulaz::glClear:
        std::copy(stanje.bojaBrisanja, stanje.bojaBrisanja + 4, kadar_.pozadina);
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
        if (stek)
            stek->back() = jedinicna();
        break;
    case Ulaz::glPushMatrix:
        if (stek)
            stek->push_back(stek->back());
        break;
    case Ulaz::glPopMatrix:
        if (stek && stek->size() > 1)
            stek->pop_back();
        break;
    case Ulaz::glTranslatef:
        if (stek)
            pomeri(stek->back(), f(a[0]), f(a[1]), f(a[2]));
        break;
    case Ulaz::glNewList:
        if (snimaSe == 0 && a[0] != 0) {  // GL refuses a list inside a list, and list 0
            snimaSe = static_cast<GLuint>(a[0]);
            nova.pozivi.clear();
            nova.brojevi.clear();
            novaUSeriji = false;
        }
        break;
    case Ulaz::glEndList:
        if (snimaSe == 0)
            break;
        if (novaUSeriji)
            ++dnevnik.greske.ugnezdjavanje;
        std::swap(liste[snimaSe], nova);  // the old content's memory kept for the next
        snimaSe = 0;
        break;
    case Ulaz::glCallList:
        pozoviListu(static_cast<GLuint>(a[0]));
        break;
    case Ulaz::gluPerspective: {
        MatricaD m;
        if (stek && perspektiva(a[0], a[1], a[2], a[3], m))
            stek->back() = pomnozi(stek->back(), m);
        break;
    }
    case Ulaz::gluLookAt:
        if (stek) {
            Matrica& m = stek->back();
            m = pomnozi(m, rotacijaKamere(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]));
            pomeri(m, f(-a[0]), f(-a[1]), f(-a[2]));
        }
        break;
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

// A list's calls run as if made here, each logged under the list. A list holds
// no list calls (see primi), so a call never leads back into one.
void pozoviListu(GLuint ime)
{
    const auto lista = liste.find(ime);
    if (lista == liste.end())
        return;
    izvodiSe = ime;
    for (const auto& [ulaz, podaci] : lista->second.pozivi) {
        const double* brojevi = lista->second.brojevi.data() + podaci;
        if (jeTeme(ulaz))
            upisiTeme(ulaz, ime);
        else
            upisi(ulaz, ime, brojevi, opis(ulaz).brojeva);
        izvrsi(ulaz, brojevi);
    }
    izvodiSe = 0;
}

// While a list is compiled, GL's and GLU's calls go into it instead of taking
// effect. The program's lists are compiled (GL_COMPILE) and called, no more: a
// list call met while compiling is dropped, as are questions and GLUT's calls.
bool uListu(Ulaz ulaz, const double* brojevi, int n)
{
    const Grupa g = opis(ulaz).grupa;
    if (snimaSe == 0 || (g != Grupa::GL && g != Grupa::GLU && ulaz != Ulaz::glCallList))
        return false;
    if (ulaz == Ulaz::glBegin || ulaz == Ulaz::glEnd)
        novaUSeriji = ulaz == Ulaz::glBegin;
    if (ulaz != Ulaz::glCallList) {
        nova.pozivi.emplace_back(ulaz, static_cast<std::uint32_t>(nova.brojevi.size()));
        // One by one: a range insert of two or three numbers costs several
        // times as much, and a frame compiles up to 40000 vertices.
        for (int i = 0; i < n; ++i)
            nova.brojevi.push_back(brojevi[i]);
    }
    return true;
}

void isprazniKadar()
{
    // Kept last batch first, so the next frame's first batch gets this one's
    // first batch's memory back: a frame's batches come in the same sizes
    // frame after frame, and the large curve never grows a small vector again.
    for (auto s = kadar_.serije.rbegin(); s != kadar_.serije.rend(); ++s) {
        s->temena.clear();
        rezerva.push_back(std::move(s->temena));
    }
    kadar_.serije.clear();
    dnevnik.pozivi.clear();
    dnevnik.brojevi.clear();
    dnevnik.ukupno = 0;
    dnevnik.greske = Greske{};
}

}  // namespace

// ---- The finished frame -------------------------------------------------------

const Kadar& kadar() { return kadar_; }
const Prozor& prozor() { return glut; }

void isprazni()
{
    isprazniKadar();
    std::fill(kadar_.pozadina, kadar_.pozadina + 4, 0.0f);
    stanje = Stanje{};
    for (auto& [ime, lista] : liste) {  // calling an emptied list does what calling none does
        lista.pozivi.clear();
        lista.brojevi.clear();
    }
    snimaSe = izvodiSe = 0;
    glut = Prozor{};
}

void novaSlika() { isprazniKadar(); }

void postaviNajveciPogled(GLint sirina, GLint visina)
{
    najveciPogled[0] = sirina;
    najveciPogled[1] = visina;
}

// ---- For the tests (snimac_provera.h) -------------------------------------------

const char* ime(Ulaz ulaz) { return opis(ulaz).ime; }
const std::vector<Stavka>& pozivi() { return dnevnik.pozivi; }
const double* brojevi(const Poziv& poziv) { return dnevnik.brojevi.data() + poziv.podaci; }
const Greske& greske() { return dnevnik.greske; }
bool uSeriji() { return stanje.uSeriji; }
Boja tekucaBoja() { return stanje.boja; }
float tekucaVelicinaTacke() { return stanje.velicinaTacke; }
float tekucaDebljina() { return stanje.debljina; }
GLenum nacinMatrice() { return stanje.nacinMatrice; }
int dubinaModelview() { return static_cast<int>(stanje.modelview.size()) - 1; }
const Matrica& modelview() { return stanje.modelview.back(); }

bool ukljuceno(GLenum mogucnost)
{
    const Glacanje& g = stanje.glacanje;
    return mogucnost == GL_BLEND ? g.stapanje
           : mogucnost == GL_POINT_SMOOTH ? g.tacke
           : mogucnost == GL_LINE_SMOOTH ? g.linije
                                         : mogucnost == GL_LINE_STIPPLE && stanje.isprekidana;
}

std::vector<Zapis> zapis()
{
    std::vector<Zapis> z;
    for (const Stavka& s : dnevnik.pozivi) {
        if (const NizTemena* niz = std::get_if<NizTemena>(&s)) {
            z.insert(z.end(), niz->broj, Zapis{ime(niz->ulaz), {}, niz->lista});
            continue;
        }
        const Poziv& p = std::get<Poziv>(s);
        const double* b = brojevi(p);
        z.push_back(Zapis{ime(p.ulaz), std::vector<double>(b, b + opis(p.ulaz).brojeva), p.lista});
    }
    return z;
}

std::vector<std::string> imena()
{
    std::vector<std::string> sva;
    for (const Zapis& z : zapis())
        sva.push_back(z.ime);
    return sva;
}

std::size_t broj(Ulaz ulaz)
{
    std::size_t n = 0;
    for (const Stavka& s : dnevnik.pozivi)
        if (const NizTemena* niz = std::get_if<NizTemena>(&s))
            n += niz->ulaz == ulaz ? niz->broj : 0;
        else
            n += std::get<Poziv>(s).ulaz == ulaz;
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

// ---- The entries' way in ----------------------------------------------------------
namespace detalj {

void primi(Ulaz ulaz, const double* brojevi, int n)
{
    upisi(ulaz, snimaSe ? snimaSe : izvodiSe, brojevi, n);
    if (!uListu(ulaz, brojevi, n))
        izvrsi(ulaz, brojevi);
}

void teme(Ulaz ulaz, float x, float y, float z)
{
    const double k[3] = {x, y, z};
    upisiTeme(ulaz, snimaSe);
    if (!uListu(ulaz, k, ulaz == Ulaz::glVertex2f ? 2 : 3))
        dodajTeme(ulaz, k);
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

void oznaci(Deo deo) { snimac::stanje.deo = deo; }

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
