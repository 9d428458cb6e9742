// The web page's painter. The program draws on the recorder (gl/snimac.h)
// as everywhere but the native window; after each frame its batches go
// through the shared projection step (gl/projekcija.h) and every point and
// segment is drawn smooth by the page's own shaders (glatko.h), as GL defines
// smoothing, since WebGL has no smoothing and no stipple of its own.
#include "slikar.h"

#include "opis.h"

#include "geometrija.h"
#include "glatko.h"
#include "projekcija.h"
#include "snimac.h"

#include <emscripten.h>

#include <cmath>
#include <cstdio>

namespace {

double mnozilac = 1;
snimac::SlikaSerije slika;

EM_JS(int, sirinaPlatna, (), { return Module["canvas"].width; });
EM_JS(int, visinaPlatna, (), { return Module["canvas"].height; });
// WebGL's own glGetIntegerv, under the name Emscripten gives it beside the
// recorder's. It also brings in the WebGL context that GLUT's window needs,
// which no other call of the page's C++ would.
extern "C" void emscripten_glGetIntegerv(GLenum ime, GLint* vrednosti);
// The clear colour over the whole canvas.
EM_JS(void, obrisi, (float r, float g, float b, float a), {
    var gl = GLctx;
    gl.viewport(0, 0, gl.drawingBufferWidth, gl.drawingBufferHeight);
    gl.clearColor(r, g, b, a);
    gl.clear(gl.COLOR_BUFFER_BIT);
});
// The blending a batch is drawn with.
EM_JS(void, stapaj, (int stapanje), {
    var gl = GLctx;
    if (stapanje) {
        gl.enable(gl.BLEND);
        gl.blendFunc(gl.SRC_ALPHA, gl.ONE_MINUS_SRC_ALPHA);
    } else {
        gl.disable(gl.BLEND);
    }
});
// Counts the frames for the page: it shows the canvas from the first one on.
EM_JS(void, javiSliku, (), { Module["slikaGotova"](); });
// The page keeps the picture's description as the canvas's text alternative.
EM_JS(void, javiOpis, (const char* tekst), {
    if (Module["opisSlike"])
        Module["opisSlike"](UTF8ToString(tekst));
});
EM_JS(void, javiGresku, (const char* poruka), { console.error(UTF8ToString(poruka)); });

void naslikaj()
{
    const int visina = visinaPlatna();
    const snimac::Kadar& kadar = snimac::kadar();
    obrisi(kadar.pozadina[0], kadar.pozadina[1], kadar.pozadina[2], kadar.pozadina[3]);
    const auto prozorska = [visina](double x, double y) { return Prozorska{x, visina - y}; };
    for (const snimac::Serija& s : kadar.serije) {
        stapaj(s.glacanje.stapanje);
        if (!snimac::projektuj(s, sirinaPlatna(), visina, mnozilac, slika)) {
            char poruka[96];
            std::snprintf(poruka, sizeof poruka, "geometrija: the page cannot draw GL mode %u", s.nacin);
            javiGresku(poruka);
            continue;
        }
        if (s.nacin == GL_POINTS) {
            for (const snimac::TackaSlike& t : slika.tacke)
                glatkaTacka(prozorska(t.x, t.y), t.boja);
            nacrtajGlatkeTacke(s.pogled, slika.mera);
        } else {
            for (const snimac::DuzSlike& d : slika.duzi)
                snimac::zaSvakuCrticu(d, [&](double x1, double y1, double x2, double y2) {
                    glatkaDuz(prozorska(x1, y1), prozorska(x2, y2), d.boja);
                });
            nacrtajGlatkeDuzi(s.pogled, slika.mera);
        }
    }
}

}  // namespace

void postaviMnozilacDebljine(float puta)
{
    mnozilac = puta > 0 && std::isfinite(puta) ? puta : 1.0f;
}

void upoznajPlatno()
{
    GLint dimenzije[2];
    emscripten_glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dimenzije);
    snimac::postaviNajveciPogled(dimenzije[0], dimenzije[1]);
}

void prikaziSliku()
{
    snimac::novaSlika();  // the frame before is kept till now, for its sound
    display();
    naslikaj();
    javiOpis(opisSlike());
    javiSliku();
}
