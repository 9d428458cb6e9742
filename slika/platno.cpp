// The off-screen canvas on EGL's surfaceless Mesa platform.
#include "platno.h"

#include "pravi_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

EGLDisplay prikaz = EGL_NO_DISPLAY;
EGLSurface povrsina = EGL_NO_SURFACE;
EGLContext kontekst = EGL_NO_CONTEXT;

constexpr EGLint BITA_PO_BOJI = 8;  // as the 24-bit window: 8 bits red, green, blue

bool imaProsirenje(const char* spisak, const char* ime)
{
    if (!spisak)
        return false;
    const size_t duzina = std::strlen(ime);
    for (const char* s = std::strstr(spisak, ime); s; s = std::strstr(s + 1, ime))
        if ((s == spisak || s[-1] == ' ') && (s[duzina] == ' ' || s[duzina] == '\0'))
            return true;
    return false;
}

EGLint atribut(EGLConfig konfiguracija, EGLint ime)
{
    EGLint vrednost = 0;
    eglGetConfigAttrib(prikaz, konfiguracija, ime, &vrednost);
    return vrednost;
}

// Of the configurations that draw OpenGL into a pixel buffer, one like the
// window's: exactly 8 bits per colour and no multisample buffer, so smoothed
// points and lines blend to the same values. Destination alpha does not enter
// the colours (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA reads only the source's),
// but one without an alpha channel is preferred, as the window asks for none
// (GLUT_RGB without GLUT_ALPHA).
bool izaberiKonfiguraciju(EGLConfig& izabrana)
{
    const EGLint zahtevi[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                              EGL_RED_SIZE, BITA_PO_BOJI, EGL_GREEN_SIZE, BITA_PO_BOJI,
                              EGL_BLUE_SIZE, BITA_PO_BOJI, EGL_NONE};
    EGLint broj = 0;
    if (!eglChooseConfig(prikaz, zahtevi, nullptr, 0, &broj) || broj <= 0)
        return false;
    std::vector<EGLConfig> konfiguracije(static_cast<size_t>(broj));
    eglChooseConfig(prikaz, zahtevi, konfiguracije.data(), broj, &broj);
    bool nadjena = false;
    for (EGLint i = 0; i < broj; ++i) {
        const EGLConfig k = konfiguracije[static_cast<size_t>(i)];
        if (atribut(k, EGL_RED_SIZE) != BITA_PO_BOJI || atribut(k, EGL_GREEN_SIZE) != BITA_PO_BOJI ||
            atribut(k, EGL_BLUE_SIZE) != BITA_PO_BOJI || atribut(k, EGL_SAMPLE_BUFFERS) != 0)
            continue;
        if (!nadjena || (atribut(izabrana, EGL_ALPHA_SIZE) != 0 && atribut(k, EGL_ALPHA_SIZE) == 0))
            izabrana = k;
        nadjena = true;
    }
    return nadjena;
}

// Gives up: the reason with EGL's own error code, and nothing left open.
bool neuspeh(std::string& greska, const std::string& razlog)
{
    greska = razlog;
    const EGLint kod = eglGetError();
    if (kod != EGL_SUCCESS) {
        char broj[16];
        std::snprintf(broj, sizeof broj, "0x%04x", static_cast<unsigned>(kod));
        greska += std::string(" (EGL error ") + broj + ")";
    }
    zatvoriPlatno();
    return false;
}

}  // namespace

bool otvoriPlatno(int sirina, int visina, std::string& greska)
{
    // Mesa's loader would print its own warnings about missing drivers beside
    // the program's one line; EGL_LOG_LEVEL set by the user still wins.
    setenv("EGL_LOG_LEVEL", "fatal", 0);
    // The surfaceless platform is a client extension: asked for without a display.
    if (!imaProsirenje(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_MESA_platform_surfaceless"))
        return neuspeh(greska, "EGL has no surfaceless platform (is Mesa's libegl-mesa0 installed?)");
    const auto dajPrikaz = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (dajPrikaz)
        prikaz = dajPrikaz(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (prikaz == EGL_NO_DISPLAY)
        return neuspeh(greska, "no EGL display on the surfaceless platform");
    EGLint glavna = 0, sporedna = 0;
    if (!eglInitialize(prikaz, &glavna, &sporedna)) {
        prikaz = EGL_NO_DISPLAY;
        return neuspeh(greska,
                       "EGL could not be initialised (are Mesa's drivers, libgl1-mesa-dri, installed?)");
    }
    if (!eglBindAPI(EGL_OPENGL_API))
        return neuspeh(greska, "EGL offers no desktop OpenGL");
    EGLConfig konfiguracija = nullptr;
    if (!izaberiKonfiguraciju(konfiguracija))
        return neuspeh(greska, "EGL offers no 8-bit RGB pixel buffer for OpenGL");
    const EGLint velicina[] = {EGL_WIDTH, sirina, EGL_HEIGHT, visina, EGL_NONE};
    povrsina = eglCreatePbufferSurface(prikaz, konfiguracija, velicina);
    if (povrsina == EGL_NO_SURFACE)
        return neuspeh(greska, "EGL could not make a " + std::to_string(sirina) + "x" +
                                   std::to_string(visina) + " pixel buffer");
    // The fixed-function drawing needs the compatibility profile.
    const EGLint profil[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                             EGL_NONE};
    kontekst = eglCreateContext(prikaz, konfiguracija, EGL_NO_CONTEXT, profil);
    if (kontekst == EGL_NO_CONTEXT)
        return neuspeh(greska, "EGL could not make an OpenGL compatibility context");
    if (!eglMakeCurrent(prikaz, povrsina, povrsina, kontekst))
        return neuspeh(greska, "EGL could not make the OpenGL context current");
    const auto dohvati = [](const char* ime) { return reinterpret_cast<void*>(eglGetProcAddress(ime)); };
    std::string nema;
    if (!ucitajPraviGl(dohvati, nema))
        return neuspeh(greska, nema);
    return true;
}

void zatvoriPlatno()
{
    if (prikaz == EGL_NO_DISPLAY)
        return;
    eglMakeCurrent(prikaz, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (kontekst != EGL_NO_CONTEXT)
        eglDestroyContext(prikaz, kontekst);
    if (povrsina != EGL_NO_SURFACE)
        eglDestroySurface(prikaz, povrsina);
    eglTerminate(prikaz);
    prikaz = EGL_NO_DISPLAY;
    povrsina = EGL_NO_SURFACE;
    kontekst = EGL_NO_CONTEXT;
}
