// The picture as sound: the parts and their silences, and the pitch and the
// place of what is traced, against the scene's own coordinates.
#include "geometrija.h"
#include "konzola.h"
#include "zvuk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

constexpr double POLA_VIDA = 28.867513459481287;  // 50 tan 30 degrees: the scene from the centre to an edge
constexpr int HZ = snimac::UZORAKA_U_SEKUNDI;

struct Zvuk {
    std::vector<std::int16_t> u;
    std::size_t okvira() const { return u.size() / 2; }
    // The parts: runs between silences of 100 ms or more.
    std::vector<std::pair<std::size_t, std::size_t>> delovi() const
    {
        std::vector<std::pair<std::size_t, std::size_t>> d;
        std::size_t tiho = 0, pocetak = 0;
        for (std::size_t i = 0; i <= okvira(); ++i) {
            if (i < okvira() && u[2 * i] == 0 && u[2 * i + 1] == 0) {
                ++tiho;
                continue;
            }
            if (i == okvira() || tiho >= HZ / 10) {
                if (i - tiho > pocetak)
                    d.push_back({pocetak, i - tiho});
                pocetak = i;
            }
            tiho = 0;
        }
        return d;
    }
    // The pitch over [od, do): rising zero crossings of the left channel a second.
    double visina(std::size_t od, std::size_t kraj) const
    {
        std::size_t prvi = 0, poslednji = 0, n = 0;
        for (std::size_t i = od + 1; i < kraj; ++i)
            if (u[2 * (i - 1)] < 0 && u[2 * i] >= 0) {
                prvi = n++ ? prvi : i;
                poslednji = i;
            }
        return n > 1 ? (n - 1) * double(HZ) / double(poslednji - prvi) : 0;
    }
    // Where between the ears, 0 left to 1 right: the right channel's share, as the angle of equal power.
    double mesto(std::size_t od, std::size_t kraj) const
    {
        double l = 0, d = 0;
        for (std::size_t i = od; i < kraj; ++i) {
            l += std::abs(u[2 * i]);
            d += std::abs(u[2 * i + 1]);
        }
        return std::atan2(d, l) / (M_PI / 2);
    }
};

Zvuk zvukPosle(const std::string& odgovori)
{
    resetScene();
    setInput(odgovori);
    captureStdout([] {
        pocetniDijalog();
        drawFrame();
    });
    return Zvuk{snimac::zvuk(snimac::kadar())};
}

double ocekivanaVisina(double y) { return 220 * std::pow(4.0, (y + POLA_VIDA) / (2 * POLA_VIDA)); }
double ocekivanoMesto(double x) { return (x + POLA_VIDA) / (2 * POLA_VIDA); }

TEST(Zvuk, ParabolaCurveIncidentAndASteadyReflectedToneAtTheReflectionPoint)
{
    const Zvuk z = zvukPosle("3\n10\n0.5\n1\n");
    const auto d = z.delovi();
    ASSERT_EQ(3u, d.size()) << "the curve, the incident ray, the reflected ray, each after a silence";
    const double sekundi = z.okvira() / double(HZ);
    EXPECT_TRUE(sekundi >= 3 && sekundi <= 12) << sekundi;
    const auto [od, kraj] = d[2];  // the reflected ray, at the reflection point's height (2.5, 7.07)
    const std::size_t desetina = HZ / 10;
    EXPECT_NEAR(ocekivanaVisina(7.0710678), z.visina(od, od + 3 * desetina), 3.0);
    EXPECT_NEAR(z.visina(od, od + 3 * desetina), z.visina(kraj - 3 * desetina, kraj), 1.0) << "not steady";
    EXPECT_NEAR(ocekivanoMesto(2.5), z.mesto(od, od + desetina / 10), 0.005);
    EXPECT_NEAR(ocekivanoMesto(POLA_VIDA), z.mesto(kraj - desetina / 10, kraj), 0.005) << "to the picture's edge";
}

TEST(Zvuk, EllipseReflectedRayEndsAtTheRightFocus)
{
    const Zvuk z = zvukPosle("1\n5 3\n45\n");
    const auto d = z.delovi();
    ASSERT_EQ(3u, d.size());
    const std::size_t kraj = d[2].second, pedesetina = HZ / 50;
    EXPECT_NEAR(ocekivanoMesto(4), z.mesto(kraj - 2 * pedesetina, kraj - pedesetina / 2), 0.01);
    EXPECT_NEAR(ocekivanaVisina(0), z.visina(kraj - 4 * pedesetina, kraj), 6.0);
}

}  // namespace
