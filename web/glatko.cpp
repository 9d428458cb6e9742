// Smooth points and lines with the page's own shaders (see glatko.h).
//
// Coverage, as GL defines smoothing: a pixel whose centre lies r pixels from a
// point of size s is covered clamp(s/2 + 1/2 - r, 0, 1); across a segment of
// width w, clamp(w/2 + 1/2 - d, 0, 1) at d pixels from the line, and along it
// the same ramp over the pixel around each end point. Summed across a line the
// coverage is w, as it is for GL's smooth lines.
//
// A curve is drawn as thousands of points, and a software renderer pays for
// every primitive (Chromium's SwiftShader, about half a microsecond each). So
// the points of one colour are gathered here into tiles of the window first:
// blending a colour c with alphas a1 .. an over a pixel leaves
// c (1 - T) + pixel T, T = (1 - a1) ... (1 - an), whatever the order, so each
// tile is drawn once, its pixels' alpha 1 - T carried by a texture. Segments
// are few: each is one quad, its coverage computed in the shader.
#include "glatko.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int PLOCICA = 16;               // tile side, pixels
constexpr int PLOCICA_U_REDU = 64;        // tiles per row of the texture that carries them
constexpr int NAJVISE_REDOVA = 128;       // rows per draw: the texture at most 1024 x 2048
constexpr int NAJVISE_PLOCICA = PLOCICA_U_REDU * NAJVISE_REDOVA;

struct Tacka {
    Prozorska p;
    float boja[3];
};
struct Duz {
    Prozorska a, b;
    float boja[3];
};

std::vector<Tacka> tacke;
std::vector<Duz> duzi;

// The tiles that a run of points of one colour covers, over the viewport and
// one tile around it (a point's centre lies inside; its disc may reach out).
struct Plocica {
    int x, y;                             // lower left pixel, in the window
    float propusta[PLOCICA * PLOCICA];    // what each pixel lets through, T
};
struct Mreza {
    int x, y, sirina, visina;             // lower left pixel, and size in tiles
    std::vector<int> indeks;              // tile -> index in `plocice`, or -1
    std::vector<Plocica> plocice;
};
Mreza mreza;
std::vector<uint8_t> tekstura;            // PLOCICA_U_REDU tiles wide, alpha per pixel
std::vector<float> temena;                // per vertex, see glatkoNacrtaj

void pripremiMrezu(const int pogled[4])
{
    mreza.x = pogled[0] - PLOCICA;
    mreza.y = pogled[1] - PLOCICA;
    mreza.sirina = (pogled[2] + PLOCICA - 1) / PLOCICA + 2;
    mreza.visina = (pogled[3] + PLOCICA - 1) / PLOCICA + 2;
    mreza.indeks.assign(static_cast<size_t>(mreza.sirina) * mreza.visina, -1);
    mreza.plocice.clear();
}

void propusti(int x, int y, float deo)
{
    const int tx = (x - mreza.x) / PLOCICA, ty = (y - mreza.y) / PLOCICA;
    if (x < mreza.x || y < mreza.y || tx >= mreza.sirina || ty >= mreza.visina)
        return;
    int& i = mreza.indeks[static_cast<size_t>(ty) * mreza.sirina + tx];
    if (i < 0) {
        i = static_cast<int>(mreza.plocice.size());
        mreza.plocice.push_back({mreza.x + tx * PLOCICA, mreza.y + ty * PLOCICA, {}});
        std::fill(std::begin(mreza.plocice.back().propusta), std::end(mreza.plocice.back().propusta), 1.0f);
    }
    Plocica& p = mreza.plocice[i];
    p.propusta[(y - p.y) * PLOCICA + (x - p.x)] *= deo;
}

void pokrij(const Tacka& t, double mera)
{
    const double r = mera / 2 + 0.5;  // no pixel centre farther away is covered
    for (int y = static_cast<int>(std::ceil(t.p.y - r - 0.5)); y + 0.5 < t.p.y + r; ++y)
        for (int x = static_cast<int>(std::ceil(t.p.x - r - 0.5)); x + 0.5 < t.p.x + r; ++x) {
            const double dx = x + 0.5 - t.p.x, dy = y + 0.5 - t.p.y;
            const double pokriveno = r - std::sqrt(dx * dx + dy * dy);
            if (pokriveno > 0)
                propusti(x, y, static_cast<float>(1 - std::min(pokriveno, 1.0)));
        }
}

}  // namespace

// Draws `broj` vertices from `podaci`, in window pixels, in the viewport
// (x, y, sirina, visina).
//   vrsta 0: tiles, x y u v per vertex, (u, v) in pixels of `tekstura`, an
//            alpha texture sirinaT x visinaT, in the colour (r, g, b);
//   vrsta 1: segments `mera` wide, x y r g b per vertex, then its distance from
//            the line across, and from each end along.
EM_JS(void, glatkoNacrtaj, (int vrsta, const float* podaci, int broj, float mera, float r, float g, float b,
                            const uint8_t* tekstura, int sirinaT, int visinaT, int x, int y, int sirina,
                            int visina), {
    var gl = GLctx;
    var s = Module["glatko"];
    if (!s) {
        var preciznost = "#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\n" +
                         "precision mediump float;\n#endif\n";
        var uProzor = "uniform vec4 pogled; attribute vec2 polozaj;" +
                      "vec4 uProzor() { return vec4((polozaj - pogled.xy) / pogled.zw * 2.0 - 1.0, 0.0, 1.0); }";
        var programi = [
            [uProzor + "attribute vec2 uv; uniform vec2 velicinaT; varying vec2 t;" +
             "void main() { gl_Position = uProzor(); t = uv / velicinaT; }",
             preciznost + "uniform vec3 boja; uniform sampler2D plocice; varying vec2 t;" +
             "void main() { gl_FragColor = vec4(boja, texture2D(plocice, t).a); }",
             ["polozaj", "uv"]],
            [uProzor + "attribute vec3 boja; attribute vec3 rastojanje; varying vec3 b; varying vec3 r;" +
             "void main() { gl_Position = uProzor(); b = boja; r = rastojanje; }",
             preciznost + "uniform float mera; varying vec3 b; varying vec3 r;" +
             "void main() {" +
             "  float preko = clamp(mera * 0.5 + 0.5 - abs(r.x), 0.0, 1.0);" +
             "  float duz = clamp(min(r.y, r.z) + 0.5, 0.0, 1.0);" +
             "  gl_FragColor = vec4(b, preko * duz);" +
             "}",
             ["polozaj", "boja", "rastojanje"]],
        ].map(function(izvori) {
            var p = gl.createProgram();
            [gl.VERTEX_SHADER, gl.FRAGMENT_SHADER].forEach(function(vrsta, i) {
                var sencilo = gl.createShader(vrsta);
                gl.shaderSource(sencilo, izvori[i]);
                gl.compileShader(sencilo);
                gl.attachShader(p, sencilo);
            });
            izvori[2].forEach(function(ime, i) { gl.bindAttribLocation(p, i, ime); });
            gl.linkProgram(p);
            var u = {p: p, atributa: izvori[2].length};
            ["pogled", "velicinaT", "boja", "plocice", "mera"].forEach(function(ime) {
                u[ime] = gl.getUniformLocation(p, ime);
            });
            return u;
        });
        s = Module["glatko"] = {programi: programi, bafer: gl.createBuffer(), tekstura: gl.createTexture(),
                                sirinaT: 0, visinaT: 0};
        gl.bindTexture(gl.TEXTURE_2D, s.tekstura);
        [gl.TEXTURE_MIN_FILTER, gl.TEXTURE_MAG_FILTER].forEach(function(f) {
            gl.texParameteri(gl.TEXTURE_2D, f, gl.NEAREST);
        });
        [gl.TEXTURE_WRAP_S, gl.TEXTURE_WRAP_T].forEach(function(w) {
            gl.texParameteri(gl.TEXTURE_2D, w, gl.CLAMP_TO_EDGE);
        });
    }
    gl.viewport(x, y, sirina, visina);
    var pr = s.programi[vrsta];
    gl.useProgram(pr.p);
    gl.uniform4f(pr.pogled, x, y, sirina, visina);
    gl.bindBuffer(gl.ARRAY_BUFFER, s.bafer);
    var brojeva = vrsta == 0 ? 4 : 8;
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(podaci >> 2, (podaci >> 2) + broj * brojeva), gl.STREAM_DRAW);
    if (vrsta == 0) {
        gl.activeTexture(gl.TEXTURE0);
        gl.bindTexture(gl.TEXTURE_2D, s.tekstura);
        var pikseli = HEAPU8.subarray(tekstura, tekstura + sirinaT * visinaT);
        if (sirinaT != s.sirinaT || visinaT > s.visinaT) {
            gl.texImage2D(gl.TEXTURE_2D, 0, gl.ALPHA, sirinaT, visinaT, 0, gl.ALPHA, gl.UNSIGNED_BYTE, pikseli);
            s.sirinaT = sirinaT;
            s.visinaT = visinaT;
        } else {
            gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, sirinaT, visinaT, gl.ALPHA, gl.UNSIGNED_BYTE, pikseli);
        }
        gl.uniform2f(pr.velicinaT, s.sirinaT, s.visinaT);
        gl.uniform3f(pr.boja, r, g, b);
        gl.uniform1i(pr.plocice, 0);
        gl.vertexAttribPointer(0, 2, gl.FLOAT, false, 16, 0);
        gl.vertexAttribPointer(1, 2, gl.FLOAT, false, 16, 8);
    } else {
        gl.uniform1f(pr.mera, mera);
        gl.vertexAttribPointer(0, 2, gl.FLOAT, false, 32, 0);
        gl.vertexAttribPointer(1, 3, gl.FLOAT, false, 32, 8);
        gl.vertexAttribPointer(2, 3, gl.FLOAT, false, 32, 20);
    }
    for (var i = 0; i < pr.atributa; i++) gl.enableVertexAttribArray(i);
    gl.drawArrays(gl.TRIANGLES, 0, broj);
    for (var i = 0; i < pr.atributa; i++) gl.disableVertexAttribArray(i);
    gl.bindTexture(gl.TEXTURE_2D, null);
});

namespace {

// The tiles from `od` up to `doKraja`, in the colour `boja`.
void nacrtajPlocice(const int pogled[4], const float boja[3], size_t od, size_t doKraja)
{
    const int redova = static_cast<int>((doKraja - od + PLOCICA_U_REDU - 1) / PLOCICA_U_REDU);
    const int sirinaT = PLOCICA_U_REDU * PLOCICA, visinaT = redova * PLOCICA;
    tekstura.assign(static_cast<size_t>(sirinaT) * visinaT, 0);
    temena.clear();
    for (size_t k = 0; k < doKraja - od; ++k) {
        const Plocica& p = mreza.plocice[od + k];
        const int u = static_cast<int>(k % PLOCICA_U_REDU) * PLOCICA, v = static_cast<int>(k / PLOCICA_U_REDU) * PLOCICA;
        for (int y = 0; y < PLOCICA; ++y)
            for (int x = 0; x < PLOCICA; ++x)
                tekstura[static_cast<size_t>(v + y) * sirinaT + u + x] =
                    static_cast<uint8_t>((1.0f - p.propusta[y * PLOCICA + x]) * 255.0f + 0.5f);
        const auto teme = [&](int dx, int dy) {
            temena.insert(temena.end(), {static_cast<float>(p.x + dx), static_cast<float>(p.y + dy),
                                         static_cast<float>(u + dx), static_cast<float>(v + dy)});
        };
        teme(0, 0), teme(PLOCICA, 0), teme(PLOCICA, PLOCICA);
        teme(0, 0), teme(PLOCICA, PLOCICA), teme(0, PLOCICA);
    }
    glatkoNacrtaj(0, temena.data(), static_cast<int>(temena.size() / 4), 0, boja[0], boja[1], boja[2],
                  tekstura.data(), sirinaT, visinaT, pogled[0], pogled[1], pogled[2], pogled[3]);
}

}  // namespace

void glatkaTacka(Prozorska p, const Boja& boja)
{
    tacke.push_back({p, {boja.crvena, boja.zelena, boja.plava}});
}

void glatkaDuz(Prozorska a, Prozorska b, const Boja& boja)
{
    duzi.push_back({a, b, {boja.crvena, boja.zelena, boja.plava}});
}

void nacrtajGlatkeTacke(const int pogled[4], float mera)
{
    // Within the sizes GL's smooth points come in (Mesa's 1 to 255).
    mera = mera >= 1.0f ? std::min(mera, 255.0f) : 1.0f;
    // Each run of one colour in turn, so that colours lie over each other in
    // the order drawn.
    for (size_t od = 0; od < tacke.size();) {
        size_t doKraja = od + 1;
        while (doKraja < tacke.size() && std::memcmp(tacke[doKraja].boja, tacke[od].boja, sizeof tacke[od].boja) == 0)
            ++doKraja;
        pripremiMrezu(pogled);
        for (size_t i = od; i < doKraja; ++i)
            pokrij(tacke[i], mera);
        for (size_t k = 0; k < mreza.plocice.size(); k += NAJVISE_PLOCICA)
            nacrtajPlocice(pogled, tacke[od].boja, k, std::min(mreza.plocice.size(), k + NAJVISE_PLOCICA));
        od = doKraja;
    }
    tacke.clear();
}

void nacrtajGlatkeDuzi(const int pogled[4], float mera)
{
    const double poprecno = mera / 2.0 + 0.5;  // from the line to the quad's side
    temena.clear();
    for (const Duz& d : duzi) {
        const double dx = d.b.x - d.a.x, dy = d.b.y - d.a.y, duzina = std::hypot(dx, dy);
        if (duzina == 0)
            continue;
        const double ux = dx / duzina / 2, uy = dy / duzina / 2;  // half a pixel along
        const double nx = -uy * 2 * poprecno, ny = ux * 2 * poprecno;
        const auto teme = [&](Prozorska kraj, double smerU, double smerN, double odA) {
            temena.insert(temena.end(),
                          {static_cast<float>(kraj.x + smerU * ux + smerN * nx),
                           static_cast<float>(kraj.y + smerU * uy + smerN * ny), d.boja[0], d.boja[1], d.boja[2],
                           static_cast<float>(smerN * poprecno), static_cast<float>(odA),
                           static_cast<float>(duzina - odA)});
        };
        // a's end half a pixel before a, b's half a pixel past b.
        const auto a1 = [&] { teme(d.a, -1, 1, -0.5); };
        const auto a2 = [&] { teme(d.a, -1, -1, -0.5); };
        const auto b1 = [&] { teme(d.b, 1, 1, duzina + 0.5); };
        const auto b2 = [&] { teme(d.b, 1, -1, duzina + 0.5); };
        a1(), a2(), b2(), a1(), b2(), b1();
    }
    duzi.clear();
    if (!temena.empty())
        glatkoNacrtaj(1, temena.data(), static_cast<int>(temena.size() / 8), mera, 0, 0, 0, nullptr, 0, 0,
                      pogled[0], pogled[1], pogled[2], pogled[3]);
}
