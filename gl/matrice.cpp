// The matrices of the fixed-function pipeline, as GL and GLU compute them.
#include "matrice.h"

#include <cmath>

Matrica jedinicna()
{
    Matrica m{};
    m[0] = m[5] = m[10] = m[15] = 1.0f;
    return m;
}

Matrica pomnozi(const Matrica& a, const Matrica& b)
{
    Matrica p{};
    for (int red = 0; red < 4; ++red)
        for (int kolona = 0; kolona < 4; ++kolona)
            p[kolona * 4 + red] = a[red] * b[kolona * 4] + a[4 + red] * b[kolona * 4 + 1] +
                                  a[8 + red] * b[kolona * 4 + 2] + a[12 + red] * b[kolona * 4 + 3];
    return p;
}

Matrica pomnozi(const Matrica& a, const MatricaD& b)
{
    Matrica f;
    for (int i = 0; i < 16; ++i)
        f[i] = static_cast<float>(b[i]);
    return pomnozi(a, f);
}

void pomeri(Matrica& m, float x, float y, float z)
{
    for (int red = 0; red < 4; ++red)
        m[12 + red] = m[red] * x + m[4 + red] * y + m[8 + red] * z + m[12 + red];
}

bool perspektiva(double vidnoPolje, double odnos, double blizu, double daleko, MatricaD& m)
{
    constexpr double PI = 3.14159265358979323846;
    const double ugao = vidnoPolje / 2 * PI / 180;
    const double dubina = daleko - blizu;
    const double sinus = std::sin(ugao);
    if (dubina == 0 || sinus == 0 || odnos == 0)
        return false;
    const double kotangens = std::cos(ugao) / sinus;
    m = MatricaD{};
    m[0] = kotangens / odnos;
    m[5] = kotangens;
    m[10] = -(daleko + blizu) / dubina;
    m[11] = -1;
    m[14] = -2 * blizu * daleko / dubina;
    return true;
}

namespace {

void jedinicni(float v[3])
{
    const float duzina = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (duzina == 0.0f)
        return;
    for (int i = 0; i < 3; ++i)
        v[i] /= duzina;
}

void vektorski(const float a[3], const float b[3], float out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

Matrica rotacijaKamere(double okoX, double okoY, double okoZ, double centarX, double centarY, double centarZ,
                       double goreX, double goreY, double goreZ)
{
    float napred[3] = {static_cast<float>(centarX - okoX), static_cast<float>(centarY - okoY),
                       static_cast<float>(centarZ - okoZ)};
    float gore[3] = {static_cast<float>(goreX), static_cast<float>(goreY), static_cast<float>(goreZ)};
    float strana[3];
    jedinicni(napred);
    vektorski(napred, gore, strana);
    jedinicni(strana);
    vektorski(strana, napred, gore);
    Matrica m = jedinicna();
    for (int i = 0; i < 3; ++i) {
        m[i * 4] = strana[i];
        m[i * 4 + 1] = gore[i];
        m[i * 4 + 2] = -napred[i];
    }
    return m;
}

std::array<double, 4> primeni(const Matrica& m, double x, double y, double z)
{
    std::array<double, 4> v{};
    for (int red = 0; red < 4; ++red)
        v[red] = m[red] * x + m[4 + red] * y + m[8 + red] * z + static_cast<double>(m[12 + red]);
    return v;
}

std::array<double, 4> uIsecanje(const Matrica& projekcija, const Matrica& modelview, double x, double y,
                                double z)
{
    const std::array<double, 4> oko = primeni(modelview, x, y, z);
    std::array<double, 4> c{};
    for (int red = 0; red < 4; ++red)
        c[red] = projekcija[red] * oko[0] + projekcija[4 + red] * oko[1] + projekcija[8 + red] * oko[2] +
                 static_cast<double>(projekcija[12 + red]) * oko[3];
    return c;
}

std::array<double, 2> uProzor(const int pogled[4], const std::array<double, 4>& c)
{
    return {pogled[0] + (c[0] / c[3] + 1) * pogled[2] / 2, pogled[1] + (c[1] / c[3] + 1) * pogled[3] / 2};
}
