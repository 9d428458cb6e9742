// The recorded calls replayed into the real OpenGL.
#include "pravi_gl.h"

#include "gl_recorder.h"
#include "matrice.h"

#include <GL/gl.h>

#include <algorithm>
#include <functional>
#include <type_traits>
#include <string>
#include <unordered_map>

namespace {

// The real entry points; their types are GL's own.
struct {
    void (*begin)(GLenum);
    void (*end)();
    void (*vertex2f)(GLfloat, GLfloat);
    void (*vertex3f)(GLfloat, GLfloat, GLfloat);
    void (*color3f)(GLfloat, GLfloat, GLfloat);
    void (*pointSize)(GLfloat);
    void (*lineWidth)(GLfloat);
    void (*enable)(GLenum);
    void (*disable)(GLenum);
    void (*lineStipple)(GLint, GLushort);
    void (*hint)(GLenum, GLenum);
    void (*blendFunc)(GLenum, GLenum);
    void (*clear)(GLbitfield);
    void (*finish)();
    void (*clearColor)(GLclampf, GLclampf, GLclampf, GLclampf);
    void (*viewport)(GLint, GLint, GLsizei, GLsizei);
    void (*matrixMode)(GLenum);
    void (*loadIdentity)();
    void (*pushMatrix)();
    void (*popMatrix)();
    void (*translatef)(GLfloat, GLfloat, GLfloat);
    void (*translated)(GLdouble, GLdouble, GLdouble);
    void (*multMatrixf)(const GLfloat*);
    void (*multMatrixd)(const GLdouble*);
    void (*pixelStorei)(GLenum, GLint);
    void (*readPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
} gl;

using Izvrsi = std::function<void(const std::vector<double>&)>;
std::unordered_map<std::string, Izvrsi> naredbe;

GLfloat f(double x) { return static_cast<GLfloat>(x); }
GLenum e(double x) { return static_cast<GLenum>(x); }
GLint i(double x) { return static_cast<GLint>(x); }

void sastaviNaredbe()
{
    using A = const std::vector<double>&;
    naredbe = {
        {"glBegin", [](A a) { gl.begin(e(a[0])); }},
        {"glEnd", [](A) { gl.end(); }},
        {"glVertex2f", [](A a) { gl.vertex2f(f(a[0]), f(a[1])); }},
        {"glVertex3f", [](A a) { gl.vertex3f(f(a[0]), f(a[1]), f(a[2])); }},
        {"glColor3f", [](A a) { gl.color3f(f(a[0]), f(a[1]), f(a[2])); }},
        {"glPointSize", [](A a) { gl.pointSize(f(a[0])); }},
        {"glLineWidth", [](A a) { gl.lineWidth(f(a[0])); }},
        {"glEnable", [](A a) { gl.enable(e(a[0])); }},
        {"glDisable", [](A a) { gl.disable(e(a[0])); }},
        {"glLineStipple", [](A a) { gl.lineStipple(i(a[0]), static_cast<GLushort>(a[1])); }},
        {"glHint", [](A a) { gl.hint(e(a[0]), e(a[1])); }},
        {"glBlendFunc", [](A a) { gl.blendFunc(e(a[0]), e(a[1])); }},
        {"glClear", [](A a) { gl.clear(static_cast<GLbitfield>(a[0])); }},
        {"glFinish", [](A) { gl.finish(); }},
        {"glClearColor", [](A a) { gl.clearColor(f(a[0]), f(a[1]), f(a[2]), f(a[3])); }},
        {"glViewport", [](A a) { gl.viewport(i(a[0]), i(a[1]), i(a[2]), i(a[3])); }},
        {"glMatrixMode", [](A a) { gl.matrixMode(e(a[0])); }},
        {"glLoadIdentity", [](A) { gl.loadIdentity(); }},
        {"glPushMatrix", [](A) { gl.pushMatrix(); }},
        {"glPopMatrix", [](A) { gl.popMatrix(); }},
        {"glTranslatef", [](A a) { gl.translatef(f(a[0]), f(a[1]), f(a[2])); }},
        {"gluPerspective",
         [](A a) {
             MatricaD m;
             if (perspektiva(a[0], a[1], a[2], a[3], m))
                 gl.multMatrixd(m.data());
         }},
        {"gluLookAt",
         [](A a) {
             gl.multMatrixf(rotacijaKamere(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]).data());
             gl.translated(-a[0], -a[1], -a[2]);
         }},
        // A pixel buffer has no front buffer to show: the frame is read where
        // it was drawn, once every command has finished.
        {"glutSwapBuffers", [](A) { gl.finish(); }},
    };
    // Everything else needs nothing of the real GL: the display lists are
    // replayed by the recorder (their calls arrive one by one), the viewport's
    // bound is asked of the recorder, and a pixel buffer is never reshaped or
    // redrawn.
}

void proslediJedan(const rec::Call& poziv)
{
    const auto naredba = naredbe.find(poziv.name);
    if (naredba != naredbe.end())
        naredba->second(poziv.args);
}

}  // namespace

bool ucitajPraviGl(void* (*dohvati)(const char*), std::string& greska)
{
    bool sve = true;
    const auto ucitaj = [&](auto& pokazivac, const char* ime) {
        void* adresa = dohvati(ime);
        if (!adresa && sve) {
            greska = std::string("OpenGL has no ") + ime;
            sve = false;
        }
        pokazivac = reinterpret_cast<std::remove_reference_t<decltype(pokazivac)>>(adresa);
    };
    ucitaj(gl.begin, "glBegin");
    ucitaj(gl.end, "glEnd");
    ucitaj(gl.vertex2f, "glVertex2f");
    ucitaj(gl.vertex3f, "glVertex3f");
    ucitaj(gl.color3f, "glColor3f");
    ucitaj(gl.pointSize, "glPointSize");
    ucitaj(gl.lineWidth, "glLineWidth");
    ucitaj(gl.enable, "glEnable");
    ucitaj(gl.disable, "glDisable");
    ucitaj(gl.lineStipple, "glLineStipple");
    ucitaj(gl.hint, "glHint");
    ucitaj(gl.blendFunc, "glBlendFunc");
    ucitaj(gl.clear, "glClear");
    ucitaj(gl.finish, "glFinish");
    ucitaj(gl.clearColor, "glClearColor");
    ucitaj(gl.viewport, "glViewport");
    ucitaj(gl.matrixMode, "glMatrixMode");
    ucitaj(gl.loadIdentity, "glLoadIdentity");
    ucitaj(gl.pushMatrix, "glPushMatrix");
    ucitaj(gl.popMatrix, "glPopMatrix");
    ucitaj(gl.translatef, "glTranslatef");
    ucitaj(gl.translated, "glTranslated");
    ucitaj(gl.multMatrixf, "glMultMatrixf");
    ucitaj(gl.multMatrixd, "glMultMatrixd");
    ucitaj(gl.pixelStorei, "glPixelStorei");
    ucitaj(gl.readPixels, "glReadPixels");
    return sve;
}

void crtajUPraviGl()
{
    sastaviNaredbe();
    rec::proslediPozive(proslediJedan);
}

std::vector<unsigned char> procitajPiksele(int sirina, int visina)
{
    constexpr size_t BAJTOVA_PO_TACKI = 3;
    const size_t red = BAJTOVA_PO_TACKI * static_cast<size_t>(sirina);
    std::vector<unsigned char> tacke(red * static_cast<size_t>(visina));
    gl.pixelStorei(GL_PACK_ALIGNMENT, 1);  // rows packed without padding
    gl.readPixels(0, 0, sirina, visina, GL_RGB, GL_UNSIGNED_BYTE, tacke.data());
    // Turned upside down in place: a picture of 8192 x 8192 is 200 MB.
    for (size_t gore = 0, dole = static_cast<size_t>(visina) - 1; gore < dole; ++gore, --dole)
        std::swap_ranges(tacke.begin() + gore * red, tacke.begin() + (gore + 1) * red,
                         tacke.begin() + dole * red);
    return tacke;
}
