// The parabola scene: its dialogue, the picture of one frame and the printed rays.
#include "geometrija.h"
#include "snimac.h"
#include "konzola.h"
#include "scena.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

const char* const PITAJ_P = "Unesite vrednost za parametar p:\n";
const char* const PITAJ_PARAMETAR =
    "Unesite parametar po kojem se zrak odbija.Vrednost mora biti veca od 0.Najbolje je uneti "
    "vrednosti izmedju 0.0 i 1.0 da bi se videla cela slika\n";
const char* const PITAJ_PRAVAC =
    "Unesite 1 za odbijanje zraka duz pozitivne ose ili -1 za odbijanje duz negativne y-ose:\n";

// One frame of the parabola scene as the window draws it; returns the console.
std::string frame(float pp, float param, int smer)
{
    resetScene();
    unos = 3;
    p = pp;
    parametar = param;
    pravac = smer;
    return captureStdout(drawFrame);
}

// The frame's batches in order: curve, focus, rays, directrix, axes.
struct Slika {
    snimac::Serija kriva, ziza, zraci, direktrisa;
};

Slika slika()
{
    const auto& b = snimac::kadar().serije;
    EXPECT_EQ(5u, b.size()) << "curve, focus, rays, directrix, axes";
    if (b.size() < 4)
        return {};
    return {b[0], b[1], b[2], b[3]};
}

// ---- dialogue ----

TEST(Unosparabola, AsksEchoesAndStoresTheThreeValues)
{
    resetScene();
    setInput("10\n0.5\n-1\n");
    const std::string out = captureStdout(unosparabola);
    EXPECT_EQ(std::string(PITAJ_P) + "Vrednost parametra p je:10.000000,a ziza je 5.000000\n" +
                  PITAJ_PARAMETAR + PITAJ_PRAVAC,
              out);
    EXPECT_EQ(10.0f, p);
    EXPECT_EQ(0.5f, parametar);
    EXPECT_EQ(-1, pravac);
}

TEST(Unosparabola, TakesPAsTypedNegativeAndZeroIncluded)
{
    for (const char* in : {"-7.5 2 1\n", "0 2 1\n"}) {
        resetScene();
        setInput(in);
        const std::string out = captureStdout(unosparabola);
        EXPECT_EQ(2.0f, parametar) << in;
        EXPECT_EQ(1, pravac) << in;
        if (p < 0) {
            EXPECT_NE(std::string::npos, out.find("je:-7.500000,a ziza je -3.750000\n")) << out;
        }
    }
}

TEST(Unosparabola, DirectionThatIsNoNumberStaysZero)
{
    resetScene();
    setInput("10 0.5 dole\n");
    captureStdout(unosparabola);
    EXPECT_EQ(0, pravac);
    EXPECT_EQ("dole\n", remainingInput());
}

class OdbijenParametar : public testing::TestWithParam<const char*> {};

TEST_P(OdbijenParametar, EndsWithStatusThreeAndTheMessage)
{
    resetScene();
    setInput(GetParam());
    EXPECT_EXIT(withStdoutOnStderr(unosparabola), testing::ExitedWithCode(3),
                "cela slika\nGreska,parametar mora biti veci od 0!\n$")
        << "input " << GetParam();
}

// Zero, negative, a p that is no number (which defeats the next read too), end of input.
INSTANTIATE_TEST_SUITE_P(Odgovori, OdbijenParametar,
                         testing::Values("10\n0\n1\n", "10\n-0.5\n1\n", "abc\n0.5\n1\n", "10\n", "",
                                         "10\n-0\n1\n"));

TEST(Unosparabola, SmallestPositiveParameterIsAccepted)
{
    resetScene();
    setInput("10 1e-30 1\n");
    const std::string out = captureStdout(unosparabola);
    EXPECT_EQ(std::string::npos, out.find("Greska"));
    EXPECT_EQ(1, pravac);
}

// ---- drawing ----

TEST(CrtajParabolu, OtherFiguresDrawAndPrintNothingAndKeepTheColour)
{
    for (int figura : {0, 1, 2, 4, -3}) {
        resetScene();
        unos = figura;
        p = 10;
        parametar = 0.5f;
        glColor3f(0.2f, 0.3f, 0.4f);
        snimac::isprazni();
        const std::string out = captureStdout(crtajParabolu);
        EXPECT_EQ("", out) << "unos " << figura;
        EXPECT_TRUE(snimac::zapis().empty()) << "unos " << figura;
    }
}

TEST(CrtajParabolu, SweepHasExactly4000SamplesDriftingOffTheHundredths)
{
    // With p = 0 every sample is finite (sqrt(-0) is -0), so each gives two vertices.
    frame(0, 0.5f, 1);
    const snimac::Serija kriva = slika().kriva;
    EXPECT_EQ(static_cast<GLenum>(GL_POINTS), kriva.nacin);
    ASSERT_EQ(8000u, kriva.temena.size());
    EXPECT_EQ(-20.0f, kriva.temena.front().x);
    const float poslednji = kriva.temena.back().x;
    EXPECT_LT(poslednji, 20.0f);
    // The accumulated float steps end here, not at 19.99 as x = -20 + 0.01 i would.
    EXPECT_EQ(0x1.3fda02p+4f, poslednji) << "last sample about 0.009 below 20: " << poslednji;
    int negativni = 0, nule = 0;
    float najbliziNuli = 100, prethodnik = 0;
    for (size_t i = 0; i < kriva.temena.size(); i += 2) {
        const float x = kriva.temena[i].x;
        ASSERT_EQ(x, kriva.temena[i + 1].x) << "the two vertices of a sample share x";
        ASSERT_EQ(2, kriva.temena[i].dimenzija) << "curve points are two-dimensional";
        negativni += x < 0;
        nule += x == 0;
        if (x > 0 && x < najbliziNuli) {
            najbliziNuli = x;
            prethodnik = kriva.temena[i - 2].x;
        }
    }
    EXPECT_EQ(2000, negativni);
    EXPECT_EQ(0, nule) << "no sample is exactly 0";
    EXPECT_NEAR(3.6e-4, najbliziNuli, 0.1e-4);
    EXPECT_NEAR(-9.6e-3, prethodnik, 0.1e-3);
}

TEST(CrtajParabolu, CurveLiesOnTheParabolaAndSkipsTheImaginarySamples)
{
    frame(10, 0.5f, 1);
    const snimac::Serija kriva = slika().kriva;
    ASSERT_EQ(4000u, kriva.temena.size()) << "the 2000 samples at x > 0, two vertices each";
    for (const snimac::Teme& v : kriva.temena) {
        ASSERT_GT(v.x, 0.0f);
        ASSERT_NEAR(20.0 * v.x, double(v.y) * v.y, 1e-5 * 20 * v.x + 1e-6) << "at x = " << v.x;
        ASSERT_EQ(CRNA_BOJA, v.boja) << "the curve takes the black current on entry";
    }
    EXPECT_EQ(1.0f, kriva.velicinaTacke);
}

TEST(CrtajParabolu, NegativePShowsOnlyTheLeftHalf)
{
    frame(-10, 0.5f, 1);
    const snimac::Serija kriva = slika().kriva;
    ASSERT_EQ(4000u, kriva.temena.size());
    for (const snimac::Teme& v : kriva.temena)
        ASSERT_LT(v.x, 0.0f);
}

TEST(CrtajParabolu, FocusRaysAndDirectrixForTheWorkedExample)
{
    frame(10, 0.5f, 1);
    const Slika s = slika();
    const float visina = static_cast<float>(std::sqrt(50.0));  // 5 sqrt 2

    ASSERT_EQ(1u, s.ziza.temena.size());
    EXPECT_EQ(5.0f, s.ziza.temena[0].x);
    EXPECT_EQ(0.0f, s.ziza.temena[0].y);
    EXPECT_EQ(3, s.ziza.temena[0].dimenzija);
    EXPECT_EQ(CRNA_BOJA, s.ziza.temena[0].boja);

    EXPECT_EQ(static_cast<GLenum>(GL_LINES), s.zraci.nacin);
    ASSERT_EQ(4u, s.zraci.temena.size());
    const float ocekivano[4][2] = {{5, 0}, {2.5f, visina}, {2.5f, visina}, {1000, visina}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ocekivano[i][0], s.zraci.temena[i].x) << "ray vertex " << i;
        EXPECT_EQ(ocekivano[i][1], s.zraci.temena[i].y) << "ray vertex " << i;
        EXPECT_EQ(MASLINASTA, s.zraci.temena[i].boja);
    }
    EXPECT_EQ(2.0f, s.zraci.debljina);

    EXPECT_EQ(static_cast<GLenum>(GL_LINES), s.direktrisa.nacin);
    ASSERT_EQ(2u, s.direktrisa.temena.size());
    EXPECT_EQ(-5.0f, s.direktrisa.temena[0].x);
    EXPECT_EQ(-100.0f, s.direktrisa.temena[0].y);
    EXPECT_EQ(-5.0f, s.direktrisa.temena[1].x);
    EXPECT_EQ(100.0f, s.direktrisa.temena[1].y);
    EXPECT_EQ(ZELENA, s.direktrisa.temena[0].boja);
    EXPECT_EQ(2.0f, s.direktrisa.debljina);
}

TEST(CrtajParabolu, LeavesBlackCurrent)
{
    resetScene();
    unos = 3;
    p = 10;
    parametar = 0.5f;
    glColor3f(0, 0, 0);
    captureStdout(crtajParabolu);
    EXPECT_EQ(CRNA_BOJA, snimac::tekucaBoja());
    EXPECT_EQ(0, snimac::dubinaModelview());
}

class Pravac : public testing::TestWithParam<int> {};

TEST_P(Pravac, OnlyMinusOnePutsTheReflectionPointBelowTheAxis)
{
    frame(10, 0.5f, GetParam());
    const snimac::Serija zraci = slika().zraci;
    ASSERT_EQ(4u, zraci.temena.size());
    const float visina = static_cast<float>(std::sqrt(50.0));
    const float ocekivano = GetParam() == -1 ? -visina : visina;
    EXPECT_EQ(ocekivano, zraci.temena[1].y) << "pravac " << GetParam();
    EXPECT_EQ(ocekivano, zraci.temena[3].y) << "the reflected ray keeps the height";
}

INSTANTIATE_TEST_SUITE_P(Vrednosti, Pravac, testing::Values(-1, 1, 0, 2, -2, 1000));

TEST(CrtajParabolu, PrintsBothEquationsByteForByte)
{
    EXPECT_EQ("Jednacina zraka je:y = -2.828427 * x - -14.142136\n"
              "Jednacina odbijenog zraka je:y = 7.071068\n\n",
              frame(10, 0.5f, 1));
    EXPECT_EQ("Jednacina zraka je:y = 2.828427 * x - 14.142136\n"
              "Jednacina odbijenog zraka je:y = -7.071068\n\n",
              frame(10, 0.5f, -1));
}

TEST(CrtajParabolu, VerticalIncidentRayPrintsInfiniteCoefficients)
{
    EXPECT_EQ("Jednacina zraka je:y = inf * x - inf\nJednacina odbijenog zraka je:y = 10.000000\n\n",
              frame(10, 1, 1));
    EXPECT_EQ("Jednacina zraka je:y = -inf * x - -inf\nJednacina odbijenog zraka je:y = -10.000000\n\n",
              frame(10, 1, -1));
    const snimac::Serija zraci = slika().zraci;
    ASSERT_EQ(4u, zraci.temena.size());
    EXPECT_EQ(5.0f, zraci.temena[1].x) << "the reflection point stands right below the focus";
    EXPECT_EQ(-10.0f, zraci.temena[1].y);
}

TEST(CrtajParabolu, ZeroPPutsEverythingAtTheOriginAndPrintsNotANumber)
{
    const std::string out = frame(0, 0.5f, 1);
    const Slika s = slika();
    ASSERT_EQ(4u, s.zraci.temena.size());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(0.0f, s.zraci.temena[i].x);
        EXPECT_EQ(0.0f, s.zraci.temena[i].y);
    }
    EXPECT_EQ(1000.0f, s.zraci.temena[3].x) << "the reflected ray lies on the positive x axis";
    EXPECT_EQ(0.0f, s.direktrisa.temena[0].x) << "directrix on the y axis";
    const size_t prva = out.find("nan");
    ASSERT_NE(std::string::npos, prva) << out;
    EXPECT_NE(std::string::npos, out.find("nan", prva + 3)) << out;
    EXPECT_NE(std::string::npos, out.find("Jednacina odbijenog zraka je:y = 0.000000\n\n")) << out;
}

TEST(CrtajParabolu, NegativePReflectsAwayFromTheDirectrix)
{
    const std::string out = frame(-10, 0.5f, 1);
    const Slika s = slika();
    const float visina = static_cast<float>(std::sqrt(50.0));
    ASSERT_EQ(4u, s.zraci.temena.size());
    EXPECT_EQ(-5.0f, s.zraci.temena[0].x) << "focus left of the origin";
    EXPECT_EQ(-2.5f, s.zraci.temena[1].x);
    EXPECT_EQ(visina, s.zraci.temena[1].y);
    EXPECT_EQ(-1000.0f, s.zraci.temena[3].x) << "the reflected ray runs into the opening, to the left";
    EXPECT_EQ(visina, s.zraci.temena[3].y);
    EXPECT_EQ(5.0f, s.direktrisa.temena[0].x) << "directrix right of the origin";
    EXPECT_EQ("Jednacina zraka je:y = 2.828427 * x - -14.142136\n"
              "Jednacina odbijenog zraka je:y = 7.071068\n\n",
              out);
}

// The focal property itself: the reflected ray is the incident ray mirrored in
// the tangent at the reflection point, for every p and ray parameter.
TEST(CrtajParabolu, ReflectedRayIsTheIncidentRayMirroredInTheTangent)
{
    for (float pp : {10.0f, 3.0f, 0.25f, 17.5f, -10.0f, -2.0f})
        for (float param : {0.05f, 0.5f, 0.9f, 1.5f, 4.0f})
            for (int smer : {1, -1}) {
                frame(pp, param, smer);
                const snimac::Serija zraci = slika().zraci;
                ASSERT_EQ(4u, zraci.temena.size());
                const double fx = zraci.temena[0].x, fy = zraci.temena[0].y;
                const double rx = zraci.temena[1].x, ry = zraci.temena[1].y;
                EXPECT_NEAR(2.0 * pp * rx, ry * ry, 1e-4 * std::fabs(ry * ry) + 1e-9) << "R on the curve";
                // Tangent of y^2 = 2 p x at (rx, ry) has direction (ry, p); its unit normal:
                const double len = std::hypot(ry, double(pp));
                const double nx = -pp / len, ny = ry / len;
                double ix = rx - fx, iy = ry - fy;  // incident direction
                const double il = std::hypot(ix, iy);
                ix /= il;
                iy /= il;
                const double dot = ix * nx + iy * ny;
                const double ox = ix - 2 * dot * nx, oy = iy - 2 * dot * ny;  // mirrored
                double sx = zraci.temena[3].x - zraci.temena[2].x, sy = zraci.temena[3].y - zraci.temena[2].y;
                const double sl = std::hypot(sx, sy);
                sx /= sl;
                sy /= sl;
                EXPECT_NEAR(ox, sx, 1e-5) << "p " << pp << " parametar " << param << " pravac " << smer;
                EXPECT_NEAR(oy, sy, 1e-5) << "p " << pp << " parametar " << param << " pravac " << smer;
                EXPECT_EQ(zraci.temena[1].x, zraci.temena[2].x) << "the reflected ray starts at R";
                EXPECT_EQ(zraci.temena[1].y, zraci.temena[2].y);
            }
}

TEST(CrtajParabolu, EveryRedrawPrintsTheSameLinesAgain)
{
    resetScene();
    unos = 3;
    p = 10;
    parametar = 0.5f;
    pravac = 1;
    reshape(500, 500);
    const std::string prvi = captureStdout(display);
    keyboard('a', 0, 0);
    const std::string drugi = captureStdout(display);
    EXPECT_FALSE(prvi.empty());
    EXPECT_EQ(prvi, drugi);
}

}  // namespace
