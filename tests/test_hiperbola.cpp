// The hyperbola scene: its dialogue, the picture of one frame and the printed rays.
#include "geometrija.h"
#include "snimac.h"
#include "konzola.h"
#include "scena.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

namespace {

const char* const PITAJ_POLUOSE = "Unesite vrednosti za poluprecnike hiperbole po x i y osi!\n";
const char* const PITAJ_PARAMETAR =
    "Unesite parametar po kojem se zrak odbija.Vrednost mora biti veca od 0.Najbolje je uneti "
    "vrednosti izmedju 0.0 i 1.0 da bi se videla cela slika!\n";
const char* const PITAJ_PRAVAC =
    "Unesite 1 za odbijanje zraka duz pozitivne ose ili -1 za odbijanje duz negativne y-ose:\n";


// One frame of the hyperbola scene as the window draws it; returns the console.
std::string frame(float poluosaX, float poluosaY, float param, int smer)
{
    resetScene();
    unos = 2;
    a1 = poluosaX;
    b1 = poluosaY;
    parametar = param;
    pravac = smer;
    return captureStdout(drawFrame);
}

// The frame's batches in drawing order, the axes last.
struct Slika {
    snimac::Serija kriva, zize, asimptota1, asimptota2, stranice, upadni, isprekidana, odbijeni;
};

Slika slika()
{
    const auto& b = snimac::kadar().serije;
    EXPECT_EQ(9u, b.size()) << "curve, foci, 2 asymptotes, rectangle sides, 3 rays, axes";
    if (b.size() < 9)
        return {};
    return {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]};
}

// ---- dialogue ----

TEST(Unoshiperbola, AsksEchoesTheFociAndStoresTheFourValues)
{
    resetScene();
    setInput("3 2\n0.5\n-1\n");
    const std::string out = captureStdout(unoshiperbola);
    EXPECT_EQ(std::string(PITAJ_POLUOSE) +
                  "Vrednosti poluprecnika a i b su:3.000000 i 2.000000,a zize su -3.605551 i 3.605551\n" +
                  PITAJ_PARAMETAR + PITAJ_PRAVAC,
              out);
    EXPECT_EQ(3.0f, a1);
    EXPECT_EQ(2.0f, b1);
    EXPECT_EQ(0.5f, parametar);
    EXPECT_EQ(-1, pravac);
}

TEST(Unoshiperbola, AfterChoiceTwoReadsTheRestOfTheSameStreamAndNothingMore)
{
    resetScene();
    setInput("2 3\n2 0.5 1\n");
    captureStdout([] {
        izborfigure();
        unoshiperbola();
    });
    EXPECT_EQ(2, unos);
    EXPECT_EQ(3.0f, a1);
    EXPECT_EQ(2.0f, b1);
    EXPECT_EQ(1, pravac);
    EXPECT_EQ("\n", remainingInput()) << "only the line break after the direction stays unread";
    EXPECT_EQ(0.0f, a) << "the ellipse and parabola parameters stay zero";
    EXPECT_EQ(0.0f, b);
    EXPECT_EQ(0.0f, p);
    EXPECT_EQ(0.0f, ugao);
}

TEST(Unoshiperbola, EchoesDegenerateSemiAxesAsTyped)
{
    const std::pair<const char*, const char*> slucajevi[] = {
        {"0 0 1 1\n", "su:0.000000 i 0.000000,a zize su -0.000000 i 0.000000\n"},
        {"0 -5 1 1\n", "su:0.000000 i -5.000000,a zize su -5.000000 i 5.000000\n"},
        {"-3 2 1 1\n", "su:-3.000000 i 2.000000,a zize su -3.605551 i 3.605551\n"},
    };
    for (const auto& [ulaz, eho] : slucajevi) {
        resetScene();
        setInput(ulaz);
        const std::string out = captureStdout(unoshiperbola);
        EXPECT_NE(std::string::npos, out.find(eho)) << "input " << ulaz << "\nactual:\n" << out;
    }
}

TEST(Unoshiperbola, DirectionThatIsNoNumberStaysZero)
{
    resetScene();
    setInput("3 2 0.5 gore\n");
    captureStdout(unoshiperbola);
    EXPECT_EQ(0, pravac);
    EXPECT_EQ("gore\n", remainingInput());
}

class OdbijenParametarHiperbole : public testing::TestWithParam<const char*> {};

TEST_P(OdbijenParametarHiperbole, EndsWithStatusTwoAndTheMessage)
{
    resetScene();
    setInput(GetParam());
    EXPECT_EXIT(withStdoutOnStderr(unoshiperbola), testing::ExitedWithCode(2),
                "cela slika!\nGreska,parametar mora biti veci od 0!\n$")
        << "input " << GetParam();
}

// Zero, negative, negative zero, end of input, and a first semi-axis that is no
// number, which leaves it unread so that it defeats the next reads as well.
INSTANTIATE_TEST_SUITE_P(Odgovori, OdbijenParametarHiperbole,
                         testing::Values("3 2\n0\n1\n", "3 2\n-0.5\n1\n", "3 2\n-0\n1\n", "3 2\n",
                                         "abc 2\n0.5\n1\n"));

TEST(Unoshiperbola, FirstSemiAxisThatIsNoNumberEchoesZerosBeforeTheRejection)
{
    resetScene();
    setInput("abc 2\n0.5\n1\n");
    EXPECT_EXIT(withStdoutOnStderr(unoshiperbola), testing::ExitedWithCode(2),
                "su:0\\.000000 i 0\\.000000,a zize su -0\\.000000 i 0\\.000000\n");
}

// ---- drawing: state around the scene ----

TEST(CrtajHiperbolu, OtherFiguresGetPointSizeOneAndBlackOnly)
{
    for (int figura : {0, 1, 3, 4, -2}) {
        resetScene();
        unos = figura;
        a1 = 3;
        b1 = 2;
        parametar = 0.5f;
        glPointSize(7);
        glColor3f(0.2f, 0.3f, 0.4f);
        const std::string out = captureStdout(crtajHiperbolu);
        EXPECT_EQ("", out) << "unos " << figura;
        EXPECT_EQ((std::vector<std::string>{"glPointSize", "glColor3f", "glPointSize", "glColor3f"}),
                  snimac::imena())
            << "unos " << figura;
        EXPECT_EQ(1.0f, snimac::tekucaVelicinaTacke()) << "unos " << figura;
        EXPECT_EQ(CRNA_BOJA, snimac::tekucaBoja()) << "unos " << figura;
    }
}

TEST(CrtajHiperbolu, LeavesWidthTwoBlackNoStippleAndTheMatrixAsFound)
{
    resetScene();
    unos = 2;
    a1 = 3;
    b1 = 2;
    parametar = 0.5f;
    glTranslatef(1.5f, -0.3f, 0);
    glLineWidth(2);
    captureStdout(crtajHiperbolu);
    EXPECT_EQ(2.0f, snimac::tekucaDebljina());
    EXPECT_EQ(CRNA_BOJA, snimac::tekucaBoja());
    EXPECT_FALSE(snimac::ukljuceno(GL_LINE_STIPPLE));
    EXPECT_EQ(0, snimac::dubinaModelview());
    EXPECT_EQ(1.5f, snimac::modelview()[12]) << "the pan in force before the call";
    EXPECT_EQ(-0.3f, snimac::modelview()[13]);
    EXPECT_EQ(1u, snimac::broj(snimac::Ulaz::glPushMatrix));
    EXPECT_EQ(1u, snimac::broj(snimac::Ulaz::glPopMatrix));
    EXPECT_EQ("glColor3f", snimac::zapis().back().ime) << "black is the last action";
}

// ---- drawing: the picture for a1 = 3, b1 = 2, parametar 0.5 ----

TEST(CrtajHiperbolu, SweepHas4000SamplesMirroredOnBothBranches)
{
    frame(3, 2, 0.5f, 1);
    const snimac::Serija kriva = slika().kriva;
    EXPECT_EQ(static_cast<GLenum>(GL_POINTS), kriva.nacin);
    ASSERT_EQ(8000u, kriva.temena.size());
    EXPECT_EQ(-20.0f, kriva.temena.front().y);
    EXPECT_EQ(0x1.3fda02p+4f, kriva.temena.back().y) << "drifted float steps end about 0.009 below 20";
    // The double step rounded into a float y: a float step 0.01f would drift differently.
    EXPECT_EQ(-0x1.3bcd7cp-7f, kriva.temena[2 * 1999].y) << "the last negative sample, about -9.6e-3";
    EXPECT_EQ(0x1.7c131p-12f, kriva.temena[2 * 2000].y) << "the sample nearest 0, about 3.6e-4";
    int negativni = 0, nule = 0;
    for (size_t i = 0; i < kriva.temena.size(); i += 2) {
        const snimac::Teme& desna = kriva.temena[i];
        const snimac::Teme& leva = kriva.temena[i + 1];
        ASSERT_EQ(desna.y, leva.y) << "sample " << i / 2;
        ASSERT_EQ(-desna.x, leva.x) << "sample " << i / 2 << " at y " << desna.y;
        ASSERT_EQ(2, desna.dimenzija) << "curve points are two-dimensional";
        ASSERT_EQ(CRNA_BOJA, desna.boja);
        negativni += desna.y < 0;
        nule += desna.y == 0;
    }
    EXPECT_EQ(2000, negativni);
    EXPECT_EQ(0, nule) << "no sample at y = 0, so (+-a1, 0) are not among the points";
}

// A float square root rounds twice and is off by one float in about a third of the samples.
TEST(CrtajHiperbolu, CurvePointsAreTheCorrectlyRoundedAbscissa)
{
    frame(3, 2, 0.5f, 1);
    const snimac::Serija kriva = slika().kriva;
    int pogresni = 0;
    for (size_t i = 0; i < kriva.temena.size(); i += 2) {
        const long double y = kriva.temena[i].y;
        const float tacno = static_cast<float>(1.5L * std::sqrt(4.0L + y * y));
        if (kriva.temena[i].x != tacno && ++pogresni <= 3)
            ADD_FAILURE() << "at y " << kriva.temena[i].y << " expected " << tacno << " actual " << kriva.temena[i].x;
    }
    EXPECT_EQ(0, pogresni);
}

TEST(CrtajHiperbolu, FociAsymptotesAndRectangleSides)
{
    frame(3, 2, 0.5f, 1);
    const Slika s = slika();
    const float c = static_cast<float>(std::sqrt(13.0));

    ASSERT_EQ(2u, s.zize.temena.size());
    EXPECT_EQ(static_cast<GLenum>(GL_POINTS), s.zize.nacin);
    EXPECT_EQ(c, s.zize.temena[0].x);
    EXPECT_EQ(-c, s.zize.temena[1].x);
    for (const snimac::Teme& v : s.zize.temena) {
        EXPECT_EQ(0.0f, v.y);
        EXPECT_EQ(3, v.dimenzija);
        EXPECT_EQ(CRNA_BOJA, v.boja);
    }

    const float visina = 2000.0f / 3;
    const float asimptote[2][4] = {{-1000, -visina, 1000, visina}, {1000, -visina, -1000, visina}};
    const snimac::Serija* const batch[2] = {&s.asimptota1, &s.asimptota2};
    for (int i = 0; i < 2; ++i) {
        const snimac::Serija& a = *batch[i];
        EXPECT_EQ(static_cast<GLenum>(GL_LINES), a.nacin) << "asymptote " << i;
        EXPECT_EQ(1.0f, a.debljina) << "asymptote " << i;
        ASSERT_EQ(2u, a.temena.size()) << "asymptote " << i;
        EXPECT_EQ(asimptote[i][0], a.temena[0].x) << "asymptote " << i;
        EXPECT_FLOAT_EQ(asimptote[i][1], a.temena[0].y) << "asymptote " << i;
        EXPECT_EQ(asimptote[i][2], a.temena[1].x) << "asymptote " << i;
        EXPECT_FLOAT_EQ(asimptote[i][3], a.temena[1].y) << "asymptote " << i;
        EXPECT_EQ(CRNA_BOJA, a.temena[0].boja) << "asymptote " << i;
    }

    EXPECT_EQ(static_cast<GLenum>(GL_LINES), s.stranice.nacin);
    EXPECT_EQ(1.0f, s.stranice.debljina);
    ASSERT_EQ(4u, s.stranice.temena.size());
    const float stranice[4][2] = {{3, -2}, {3, 2}, {-3, -2}, {-3, 2}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(stranice[i][0], s.stranice.temena[i].x) << "side vertex " << i;
        EXPECT_EQ(stranice[i][1], s.stranice.temena[i].y) << "side vertex " << i;
        EXPECT_EQ(CRNA_BOJA, s.stranice.temena[i].boja);
    }
}

TEST(CrtajHiperbolu, IncidentRayRunsFromTheLeftFocusToTheLeftBranch)
{
    frame(3, 2, 0.5f, 1);
    const snimac::Serija upadni = slika().upadni;
    ASSERT_EQ(2u, upadni.temena.size());
    EXPECT_EQ(-static_cast<float>(std::sqrt(13.0)), upadni.temena[0].x);
    EXPECT_EQ(0.0f, upadni.temena[0].y);
    EXPECT_FLOAT_EQ(-0.75f * std::sqrt(29.0f), upadni.temena[1].x);
    EXPECT_FLOAT_EQ(std::sqrt(13.0f) / 2, upadni.temena[1].y);
    EXPECT_EQ(2.0f, upadni.debljina);
    EXPECT_FALSE(upadni.isprekidana);
    EXPECT_EQ(MASLINASTA, upadni.temena[0].boja);
}

TEST(CrtajHiperbolu, OnlyTheLineToTheRightFocusIsDashedWithFactorThreeAndPattern00FF)
{
    frame(3, 2, 0.5f, 1);
    const Slika s = slika();
    ASSERT_TRUE(s.isprekidana.isprekidana);
    EXPECT_EQ(3, s.isprekidana.ponavljanje);
    EXPECT_EQ(0x00FF, s.isprekidana.sablon);
    ASSERT_EQ(2u, s.isprekidana.temena.size());
    EXPECT_EQ(s.upadni.temena[1].x, s.isprekidana.temena[0].x) << "starts at R";
    EXPECT_EQ(s.upadni.temena[1].y, s.isprekidana.temena[0].y);
    EXPECT_EQ(s.zize.temena[0].x, s.isprekidana.temena[1].x) << "ends at F2";
    EXPECT_EQ(0.0f, s.isprekidana.temena[1].y);
    EXPECT_EQ(2.0f, s.isprekidana.debljina);
    EXPECT_EQ(MASLINASTA, s.isprekidana.temena[0].boja);
    int isprekidanih = 0;
    for (const snimac::Serija& b : snimac::kadar().serije)
        isprekidanih += b.isprekidana;
    EXPECT_EQ(1, isprekidanih) << "stippling is on for the construction line only";

    const auto& pozivi = snimac::zapis();
    const size_t i = s.isprekidana.poziv;
    ASSERT_TRUE(i >= 2 && i + 4 < pozivi.size());
    EXPECT_EQ("glEnable", pozivi[i - 2].ime);
    EXPECT_EQ(GL_LINE_STIPPLE, pozivi[i - 2].argumenti[0]);
    EXPECT_EQ("glLineStipple", pozivi[i - 1].ime);
    EXPECT_EQ("glEnd", pozivi[i + 3].ime);
    EXPECT_EQ("glDisable", pozivi[i + 4].ime);
    EXPECT_EQ(GL_LINE_STIPPLE, pozivi[i + 4].argumenti[0]);
}

TEST(CrtajHiperbolu, ReflectedRayIsTheDashedLineShiftedByRMinusF2)
{
    for (int smer : {1, -1}) {
        frame(3, 2, 0.5f, smer);
        const Slika s = slika();
        const size_t i = s.odbijeni.poziv;
        const auto& pozivi = snimac::zapis();
        ASSERT_TRUE(i >= 3 && i + 4 < pozivi.size());
        std::vector<std::string> okolo;
        for (size_t j = i - 3; j <= i + 4; ++j)
            okolo.push_back(pozivi[j].ime);
        EXPECT_EQ((std::vector<std::string>{"glPushMatrix", "glTranslatef", "glTranslatef", "glBegin",
                                            "glVertex3f", "glVertex3f", "glEnd", "glPopMatrix"}),
                  okolo);
        const snimac::Teme r = s.upadni.temena[1], f2 = s.zize.temena[0];
        EXPECT_EQ((std::vector<double>{0, r.y, 0}), pozivi[i - 2].argumenti) << "first up by znak * yh";
        EXPECT_EQ(0, pozivi[i - 1].argumenti[1]);
        EXPECT_NEAR(r.x - f2.x, pozivi[i - 1].argumenti[0], 1e-5) << "then across by -xh - c";

        ASSERT_EQ(2u, s.odbijeni.temena.size());
        EXPECT_FALSE(s.odbijeni.isprekidana) << "the reflected ray is solid";
        EXPECT_EQ(MASLINASTA, s.odbijeni.temena[0].boja);
        const snimac::Teme dalji = s.odbijeni.temena[0], blizi = s.odbijeni.temena[1];
        EXPECT_NEAR(2.0 * r.x - f2.x, scenaX(s.odbijeni, dalji), 1e-5) << "far end at 2R - F2, pravac " << smer;
        EXPECT_NEAR(2.0 * r.y, scenaY(s.odbijeni, dalji), 1e-6) << "pravac " << smer;
        EXPECT_NEAR(r.x, scenaX(s.odbijeni, blizi), 1e-5) << "near end at R, pravac " << smer;
        EXPECT_NEAR(r.y, scenaY(s.odbijeni, blizi), 1e-6) << "pravac " << smer;
        EXPECT_NEAR(-1.5 * std::sqrt(29.0) - std::sqrt(13.0), scenaX(s.odbijeni, dalji), 1e-5);
        EXPECT_NEAR(smer * std::sqrt(13.0), scenaY(s.odbijeni, dalji), 1e-6);
    }
}

class PravacHiperbole : public testing::TestWithParam<int> {};

TEST_P(PravacHiperbole, OnlyMinusOnePutsTheReflectionPointBelowTheAxis)
{
    frame(3, 2, 0.5f, GetParam());
    const snimac::Serija upadni = slika().upadni;
    ASSERT_EQ(2u, upadni.temena.size());
    const float visina = static_cast<float>(std::sqrt(13.0) / 2);
    EXPECT_EQ(GetParam() == -1 ? -visina : visina, upadni.temena[1].y) << "pravac " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Vrednosti, PravacHiperbole, testing::Values(-1, 1, 0, 2, -2));

// ---- printed rays ----

TEST(CrtajHiperbolu, PrintsBothEquationsByteForByte)
{
    EXPECT_EQ("Jednacina zraka je:x = -0.240364 * y - 3.605551\n"
              "Jednacina odbijenog zraka je:x = -4.240364 * y + 3.605551\n\n",
              frame(3, 2, 0.5f, 1));
    EXPECT_EQ("Jednacina zraka je:x = 0.240364 * y - 3.605551\n"
              "Jednacina odbijenog zraka je:x = 4.240364 * y + 3.605551\n\n",
              frame(3, 2, 0.5f, -1));
}

// ---- degenerate semi-axes ----

TEST(CrtajHiperbolu, NegativeSecondSemiAxisDrawsAndPrintsTheSameAsPositive)
{
    const std::string pozitivna = frame(3, 2, 0.5f, 1);
    const Slika s = slika();
    const std::string negativna = frame(3, -2, 0.5f, 1);
    const Slika n = slika();
    EXPECT_EQ(pozitivna, negativna);
    ASSERT_EQ(s.kriva.temena.size(), n.kriva.temena.size());
    for (size_t i = 0; i < s.kriva.temena.size(); ++i)
        ASSERT_EQ(s.kriva.temena[i].x, n.kriva.temena[i].x) << "curve vertex " << i;
    ASSERT_EQ(2u, n.upadni.temena.size());
    EXPECT_EQ(s.upadni.temena[1].x, n.upadni.temena[1].x);
    EXPECT_EQ(s.upadni.temena[1].y, n.upadni.temena[1].y);
    ASSERT_EQ(2u, n.asimptota1.temena.size());
    EXPECT_EQ(s.asimptota2.temena[1].x, n.asimptota1.temena[0].x) << "the asymptote batches exchange lines";
    EXPECT_EQ(s.asimptota2.temena[1].y, n.asimptota1.temena[0].y) << "the asymptote batches exchange lines";
}

TEST(CrtajHiperbolu, NegativeFirstSemiAxisReflectsAtTheRightBranch)
{
    const std::string out = frame(-3, 2, 0.5f, 1);
    const Slika s = slika();
    ASSERT_EQ(8000u, s.kriva.temena.size());
    EXPECT_LT(s.kriva.temena[0].x, 0) << "the same points, each pair in the other order";
    EXPECT_EQ(static_cast<float>(std::sqrt(13.0)), s.zize.temena[0].x);
    ASSERT_EQ(2u, s.upadni.temena.size());
    EXPECT_FLOAT_EQ(0.75f * std::sqrt(29.0f), s.upadni.temena[1].x);
    EXPECT_EQ("Jednacina zraka je:x = 4.240364 * y - 3.605551\n"
              "Jednacina odbijenog zraka je:x = 0.240364 * y + 3.605551\n\n",
              out);
}

TEST(CrtajHiperbolu, ZeroFirstSemiAxisPutsEverythingOnTheYAxis)
{
    const std::string out = frame(0, 2, 0.5f, 1);
    const Slika s = slika();
    ASSERT_EQ(8000u, s.kriva.temena.size());
    for (const snimac::Teme& v : s.kriva.temena)
        ASSERT_EQ(0.0f, v.x) << "at y " << v.y;
    EXPECT_EQ(2.0f, s.zize.temena[0].x) << "c = |b1|";
    EXPECT_TRUE(s.asimptota1.temena.empty()) << "infinite slope: not sent";
    EXPECT_TRUE(s.asimptota2.temena.empty());
    ASSERT_EQ(2u, s.upadni.temena.size());
    EXPECT_EQ(0.0f, s.upadni.temena[1].x);
    EXPECT_EQ(1.0f, s.upadni.temena[1].y);
    ASSERT_EQ(2u, s.odbijeni.temena.size());
    EXPECT_EQ(-2.0f, scenaX(s.odbijeni, s.odbijeni.temena[0]));
    EXPECT_EQ(2.0f, scenaY(s.odbijeni, s.odbijeni.temena[0]));
    EXPECT_EQ("Jednacina zraka je:x = 2.000000 * y - 2.000000\n"
              "Jednacina odbijenog zraka je:x = -2.000000 * y + 2.000000\n\n",
              out);
}

// The end of a degenerate frame: the two equations, then the axes drawn normally.
void expectInfiniteFrameEndsSafely(const std::string& out, const std::string& ocekivano)
{
    EXPECT_TRUE(std::regex_match(out, std::regex(ocekivano))) << "actual:\n" << out;
    EXPECT_EQ(0, snimac::dubinaModelview());
    EXPECT_EQ(snimac::broj(snimac::Ulaz::glPushMatrix), snimac::broj(snimac::Ulaz::glPopMatrix));
    for (const snimac::Serija& b : snimac::kadar().serije)
        for (const snimac::Teme& v : b.temena)
            ASSERT_TRUE(std::isfinite(scenaX(b, v)) && std::isfinite(scenaY(b, v))) << "a vertex sent";
    for (const snimac::Zapis& c : snimac::poziviOd(snimac::Ulaz::glTranslatef))
        ASSERT_TRUE(std::isfinite(c.argumenti[0]) && std::isfinite(c.argumenti[1])) << "a translation sent";
    EXPECT_EQ(4u, snimac::kadar().serije.back().temena.size()) << "the axes follow";
}

TEST(CrtajHiperbolu, ZeroSecondSemiAxisDrawsNoCurveAndPrintsInfiniteSlopes)
{
    const std::string out = frame(3, 0, 0.5f, 1);
    const auto& b = snimac::kadar().serije;
    ASSERT_EQ(8u, b.size()) << "no reflected ray batch: its shift is infinite";
    EXPECT_TRUE(b[0].temena.empty()) << "no sample is finite";
    ASSERT_EQ(2u, b[2].temena.size());
    EXPECT_EQ(0.0f, b[2].temena[0].y) << "k = 0: the asymptote lies on the x axis";
    ASSERT_EQ(4u, b[4].temena.size());
    EXPECT_EQ(3.0f, b[4].temena[0].x);
    EXPECT_EQ(0.0f, b[4].temena[1].y) << "the sides shrink to (+-a1, 0)";
    EXPECT_TRUE(b[5].temena.empty()) << "the reflection point is infinite";
    EXPECT_TRUE(b[6].temena.empty());
    expectInfiniteFrameEndsSafely(out, "Jednacina zraka je:x = -inf \\* y - 3\\.000000\n"
                                       "Jednacina odbijenog zraka je:x = -inf \\* y \\+ 3\\.000000\n\n");
}

TEST(CrtajHiperbolu, BothSemiAxesZeroPrintsNotANumberAndDrawsOnlyFociAndSides)
{
    const std::string out = frame(0, 0, 0.5f, 1);
    const auto& b = snimac::kadar().serije;
    ASSERT_EQ(8u, b.size());
    const size_t ocekivano[] = {0, 2, 0, 0, 4, 0, 0};
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(ocekivano[i], b[i].temena.size()) << "batch " << i;
    for (const snimac::Teme& v : b[4].temena)
        EXPECT_EQ(0.0f, std::hypot(v.x, v.y)) << "the sides shrink to the origin";
    expectInfiniteFrameEndsSafely(out, "Jednacina zraka je:x = -?nan \\* y - 0\\.000000\n"
                                       "Jednacina odbijenog zraka je:x = -?nan \\* y \\+ 0\\.000000\n\n");
}

// ---- the focal property ----

// The reflected ray continues the line from F2 through R, and the incident and
// reflected rays make equal angles with the tangent at R (the normal component
// flips, the tangential one stays), on either branch.
TEST(CrtajHiperbolu, ReflectedRayComesFromTheRightFocusAndObeysTheLawOfReflection)
{
    for (float pa : {3.0f, 0.5f, 7.0f, -2.5f})
        for (float pb : {2.0f, 0.4f, -5.0f})
            for (float param : {0.05f, 0.5f, 1.0f, 2.5f})
                for (int smer : {1, -1}) {
                    frame(pa, pb, param, smer);
                    const Slika s = slika();
                    ASSERT_EQ(2u, s.odbijeni.temena.size());
                    const std::string gde = "a1 " + std::to_string(pa) + " b1 " + std::to_string(pb) +
                                            " parametar " + std::to_string(param) +
                                            " pravac " + std::to_string(smer);
                    const double f1x = s.upadni.temena[0].x, rx = s.upadni.temena[1].x, ry = s.upadni.temena[1].y;
                    const double f2x = s.isprekidana.temena[1].x;
                    const double ax = scenaX(s.odbijeni, s.odbijeni.temena[0]), ay = scenaY(s.odbijeni, s.odbijeni.temena[0]);
                    const double duzina = std::hypot(ax - rx, ay - ry);
                    const double clanX = rx * rx / (double(pa) * pa), clanY = ry * ry / (double(pb) * pb);
                    EXPECT_NEAR(1.0, clanX - clanY, 1e-6 * (clanX + clanY)) << "R on the curve, " << gde;
                    EXPECT_NEAR(rx, scenaX(s.odbijeni, s.odbijeni.temena[1]), 1e-5 * duzina) << gde;
                    EXPECT_NEAR(ry, scenaY(s.odbijeni, s.odbijeni.temena[1]), 1e-5 * duzina) << gde;
                    // Extended backwards past R the reflected ray meets F2.
                    const double ux = (rx - ax) / duzina, uy = (ry - ay) / duzina;
                    const double unazad = (f2x - rx) * ux + (0 - ry) * uy;
                    EXPECT_GT(unazad, 0) << "F2 lies behind R, " << gde;
                    EXPECT_NEAR(0, (f2x - rx) * uy - (0 - ry) * ux, 1e-5 * (std::fabs(unazad) + duzina))
                        << "F2 on the reflected ray's line, " << gde;
                    // Unit tangent (ry / b1^2, rx / a1^2) and normal at R.
                    double tx = ry / (pb * pb), ty = rx / (pa * pa);
                    const double tl = std::hypot(tx, ty);
                    tx /= tl;
                    ty /= tl;
                    const double il = std::hypot(rx - f1x, ry);
                    const double ix = (rx - f1x) / il, iy = ry / il;  // incident, towards R
                    const double ox = -ux, oy = -uy;                    // reflected, away from R
                    EXPECT_NEAR(ix * tx + iy * ty, ox * tx + oy * ty, 1e-5) << "equal angles, " << gde;
                    EXPECT_NEAR(-(ix * -ty + iy * tx), ox * -ty + oy * tx, 1e-5) << "normal flips, " << gde;
                }
}

}  // namespace
