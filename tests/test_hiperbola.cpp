// The hyperbola scene: its dialogue, the picture of one frame and the printed rays.
#include "geometrija.h"
#include "gl_recorder.h"
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
    rec::Batch kriva, zize, asimptota1, asimptota2, stranice, upadni, isprekidana, odbijeni;
};

Slika slika()
{
    const auto& b = rec::batches();
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
                  rec::callNames())
            << "unos " << figura;
        EXPECT_EQ(1.0f, rec::currentPointSize()) << "unos " << figura;
        EXPECT_EQ(CRNA_BOJA, rec::currentColor()) << "unos " << figura;
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
    EXPECT_EQ(2.0f, rec::currentLineWidth());
    EXPECT_EQ(CRNA_BOJA, rec::currentColor());
    EXPECT_FALSE(rec::enabled(GL_LINE_STIPPLE));
    EXPECT_EQ(0, rec::modelviewDepth());
    float x, y, z;
    rec::translation(x, y, z);
    EXPECT_EQ(1.5f, x) << "the pan in force before the call";
    EXPECT_EQ(-0.3f, y);
    EXPECT_EQ(1u, rec::count("glPushMatrix"));
    EXPECT_EQ(1u, rec::count("glPopMatrix"));
    EXPECT_EQ("glColor3f", rec::calls().back().name) << "black is the last action";
}

// ---- drawing: the picture for a1 = 3, b1 = 2, parametar 0.5 ----

TEST(CrtajHiperbolu, SweepHas4000SamplesMirroredOnBothBranches)
{
    frame(3, 2, 0.5f, 1);
    const rec::Batch kriva = slika().kriva;
    EXPECT_EQ(static_cast<GLenum>(GL_POINTS), kriva.mode);
    ASSERT_EQ(8000u, kriva.v.size());
    EXPECT_EQ(-20.0f, kriva.v.front().y);
    EXPECT_EQ(0x1.3fda02p+4f, kriva.v.back().y) << "drifted float steps end about 0.009 below 20";
    // The double step rounded into a float y: a float step 0.01f would drift differently.
    EXPECT_EQ(-0x1.3bcd7cp-7f, kriva.v[2 * 1999].y) << "the last negative sample, about -9.6e-3";
    EXPECT_EQ(0x1.7c131p-12f, kriva.v[2 * 2000].y) << "the sample nearest 0, about 3.6e-4";
    int negativni = 0, nule = 0;
    for (size_t i = 0; i < kriva.v.size(); i += 2) {
        const rec::Vertex& desna = kriva.v[i];
        const rec::Vertex& leva = kriva.v[i + 1];
        ASSERT_EQ(desna.y, leva.y) << "sample " << i / 2;
        ASSERT_EQ(-desna.x, leva.x) << "sample " << i / 2 << " at y " << desna.y;
        ASSERT_EQ(2, desna.dims) << "curve points are two-dimensional";
        ASSERT_EQ(CRNA_BOJA, desna.color);
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
    const rec::Batch kriva = slika().kriva;
    int pogresni = 0;
    for (size_t i = 0; i < kriva.v.size(); i += 2) {
        const long double y = kriva.v[i].y;
        const float tacno = static_cast<float>(1.5L * std::sqrt(4.0L + y * y));
        if (kriva.v[i].x != tacno && ++pogresni <= 3)
            ADD_FAILURE() << "at y " << kriva.v[i].y << " expected " << tacno << " actual " << kriva.v[i].x;
    }
    EXPECT_EQ(0, pogresni);
}

TEST(CrtajHiperbolu, FociAsymptotesAndRectangleSides)
{
    frame(3, 2, 0.5f, 1);
    const Slika s = slika();
    const float c = static_cast<float>(std::sqrt(13.0));

    ASSERT_EQ(2u, s.zize.v.size());
    EXPECT_EQ(static_cast<GLenum>(GL_POINTS), s.zize.mode);
    EXPECT_EQ(c, s.zize.v[0].x);
    EXPECT_EQ(-c, s.zize.v[1].x);
    for (const rec::Vertex& v : s.zize.v) {
        EXPECT_EQ(0.0f, v.y);
        EXPECT_EQ(3, v.dims);
        EXPECT_EQ(CRNA_BOJA, v.color);
    }

    const float visina = 2000.0f / 3;
    const float asimptote[2][4] = {{-1000, -visina, 1000, visina}, {1000, -visina, -1000, visina}};
    const rec::Batch* const batch[2] = {&s.asimptota1, &s.asimptota2};
    for (int i = 0; i < 2; ++i) {
        const rec::Batch& a = *batch[i];
        EXPECT_EQ(static_cast<GLenum>(GL_LINES), a.mode) << "asymptote " << i;
        EXPECT_EQ(1.0f, a.lineWidth) << "asymptote " << i;
        ASSERT_EQ(2u, a.v.size()) << "asymptote " << i;
        EXPECT_EQ(asimptote[i][0], a.v[0].x) << "asymptote " << i;
        EXPECT_FLOAT_EQ(asimptote[i][1], a.v[0].y) << "asymptote " << i;
        EXPECT_EQ(asimptote[i][2], a.v[1].x) << "asymptote " << i;
        EXPECT_FLOAT_EQ(asimptote[i][3], a.v[1].y) << "asymptote " << i;
        EXPECT_EQ(CRNA_BOJA, a.v[0].color) << "asymptote " << i;
    }

    EXPECT_EQ(static_cast<GLenum>(GL_LINES), s.stranice.mode);
    EXPECT_EQ(1.0f, s.stranice.lineWidth);
    ASSERT_EQ(4u, s.stranice.v.size());
    const float stranice[4][2] = {{3, -2}, {3, 2}, {-3, -2}, {-3, 2}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(stranice[i][0], s.stranice.v[i].x) << "side vertex " << i;
        EXPECT_EQ(stranice[i][1], s.stranice.v[i].y) << "side vertex " << i;
        EXPECT_EQ(CRNA_BOJA, s.stranice.v[i].color);
    }
}

TEST(CrtajHiperbolu, IncidentRayRunsFromTheLeftFocusToTheLeftBranch)
{
    frame(3, 2, 0.5f, 1);
    const rec::Batch upadni = slika().upadni;
    ASSERT_EQ(2u, upadni.v.size());
    EXPECT_EQ(-static_cast<float>(std::sqrt(13.0)), upadni.v[0].x);
    EXPECT_EQ(0.0f, upadni.v[0].y);
    EXPECT_FLOAT_EQ(-0.75f * std::sqrt(29.0f), upadni.v[1].x);
    EXPECT_FLOAT_EQ(std::sqrt(13.0f) / 2, upadni.v[1].y);
    EXPECT_EQ(2.0f, upadni.lineWidth);
    EXPECT_FALSE(upadni.stipple);
    EXPECT_EQ(MASLINASTA, upadni.v[0].color);
}

TEST(CrtajHiperbolu, OnlyTheLineToTheRightFocusIsDashedWithFactorThreeAndPattern00FF)
{
    frame(3, 2, 0.5f, 1);
    const Slika s = slika();
    ASSERT_TRUE(s.isprekidana.stipple);
    EXPECT_EQ(3, s.isprekidana.stippleFactor);
    EXPECT_EQ(0x00FF, s.isprekidana.stipplePattern);
    ASSERT_EQ(2u, s.isprekidana.v.size());
    EXPECT_EQ(s.upadni.v[1].x, s.isprekidana.v[0].x) << "starts at R";
    EXPECT_EQ(s.upadni.v[1].y, s.isprekidana.v[0].y);
    EXPECT_EQ(s.zize.v[0].x, s.isprekidana.v[1].x) << "ends at F2";
    EXPECT_EQ(0.0f, s.isprekidana.v[1].y);
    EXPECT_EQ(2.0f, s.isprekidana.lineWidth);
    EXPECT_EQ(MASLINASTA, s.isprekidana.v[0].color);
    int isprekidanih = 0;
    for (const rec::Batch& b : rec::batches())
        isprekidanih += b.stipple;
    EXPECT_EQ(1, isprekidanih) << "stippling is on for the construction line only";

    const auto& pozivi = rec::calls();
    const size_t i = s.isprekidana.callIndex;
    ASSERT_TRUE(i >= 2 && i + 4 < pozivi.size());
    EXPECT_EQ("glEnable", pozivi[i - 2].name);
    EXPECT_EQ(GL_LINE_STIPPLE, pozivi[i - 2].args[0]);
    EXPECT_EQ("glLineStipple", pozivi[i - 1].name);
    EXPECT_EQ("glEnd", pozivi[i + 3].name);
    EXPECT_EQ("glDisable", pozivi[i + 4].name);
    EXPECT_EQ(GL_LINE_STIPPLE, pozivi[i + 4].args[0]);
}

TEST(CrtajHiperbolu, ReflectedRayIsTheDashedLineShiftedByRMinusF2)
{
    for (int smer : {1, -1}) {
        frame(3, 2, 0.5f, smer);
        const Slika s = slika();
        const size_t i = s.odbijeni.callIndex;
        const auto& pozivi = rec::calls();
        ASSERT_TRUE(i >= 3 && i + 4 < pozivi.size());
        std::vector<std::string> okolo;
        for (size_t j = i - 3; j <= i + 4; ++j)
            okolo.push_back(pozivi[j].name);
        EXPECT_EQ((std::vector<std::string>{"glPushMatrix", "glTranslatef", "glTranslatef", "glBegin",
                                            "glVertex3f", "glVertex3f", "glEnd", "glPopMatrix"}),
                  okolo);
        const rec::Vertex r = s.upadni.v[1], f2 = s.zize.v[0];
        EXPECT_EQ((std::vector<double>{0, r.y, 0}), pozivi[i - 2].args) << "first up by znak * yh";
        EXPECT_EQ(0, pozivi[i - 1].args[1]);
        EXPECT_NEAR(r.x - f2.x, pozivi[i - 1].args[0], 1e-5) << "then across by -xh - c";

        ASSERT_EQ(2u, s.odbijeni.v.size());
        EXPECT_FALSE(s.odbijeni.stipple) << "the reflected ray is solid";
        EXPECT_EQ(MASLINASTA, s.odbijeni.v[0].color);
        const rec::Vertex dalji = s.odbijeni.v[0], blizi = s.odbijeni.v[1];
        EXPECT_NEAR(2.0 * r.x - f2.x, dalji.sceneX(), 1e-5) << "far end at 2R - F2, pravac " << smer;
        EXPECT_NEAR(2.0 * r.y, dalji.sceneY(), 1e-6) << "pravac " << smer;
        EXPECT_NEAR(r.x, blizi.sceneX(), 1e-5) << "near end at R, pravac " << smer;
        EXPECT_NEAR(r.y, blizi.sceneY(), 1e-6) << "pravac " << smer;
        EXPECT_NEAR(-1.5 * std::sqrt(29.0) - std::sqrt(13.0), dalji.sceneX(), 1e-5);
        EXPECT_NEAR(smer * std::sqrt(13.0), dalji.sceneY(), 1e-6);
    }
}

class PravacHiperbole : public testing::TestWithParam<int> {};

TEST_P(PravacHiperbole, OnlyMinusOnePutsTheReflectionPointBelowTheAxis)
{
    frame(3, 2, 0.5f, GetParam());
    const rec::Batch upadni = slika().upadni;
    ASSERT_EQ(2u, upadni.v.size());
    const float visina = static_cast<float>(std::sqrt(13.0) / 2);
    EXPECT_EQ(GetParam() == -1 ? -visina : visina, upadni.v[1].y) << "pravac " << GetParam();
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
    ASSERT_EQ(s.kriva.v.size(), n.kriva.v.size());
    for (size_t i = 0; i < s.kriva.v.size(); ++i)
        ASSERT_EQ(s.kriva.v[i].x, n.kriva.v[i].x) << "curve vertex " << i;
    ASSERT_EQ(2u, n.upadni.v.size());
    EXPECT_EQ(s.upadni.v[1].x, n.upadni.v[1].x);
    EXPECT_EQ(s.upadni.v[1].y, n.upadni.v[1].y);
    ASSERT_EQ(2u, n.asimptota1.v.size());
    EXPECT_EQ(s.asimptota2.v[1].x, n.asimptota1.v[0].x) << "the asymptote batches exchange lines";
    EXPECT_EQ(s.asimptota2.v[1].y, n.asimptota1.v[0].y) << "the asymptote batches exchange lines";
}

TEST(CrtajHiperbolu, NegativeFirstSemiAxisReflectsAtTheRightBranch)
{
    const std::string out = frame(-3, 2, 0.5f, 1);
    const Slika s = slika();
    ASSERT_EQ(8000u, s.kriva.v.size());
    EXPECT_LT(s.kriva.v[0].x, 0) << "the same points, each pair in the other order";
    EXPECT_EQ(static_cast<float>(std::sqrt(13.0)), s.zize.v[0].x);
    ASSERT_EQ(2u, s.upadni.v.size());
    EXPECT_FLOAT_EQ(0.75f * std::sqrt(29.0f), s.upadni.v[1].x);
    EXPECT_EQ("Jednacina zraka je:x = 4.240364 * y - 3.605551\n"
              "Jednacina odbijenog zraka je:x = 0.240364 * y + 3.605551\n\n",
              out);
}

TEST(CrtajHiperbolu, ZeroFirstSemiAxisPutsEverythingOnTheYAxis)
{
    const std::string out = frame(0, 2, 0.5f, 1);
    const Slika s = slika();
    ASSERT_EQ(8000u, s.kriva.v.size());
    for (const rec::Vertex& v : s.kriva.v)
        ASSERT_EQ(0.0f, v.x) << "at y " << v.y;
    EXPECT_EQ(2.0f, s.zize.v[0].x) << "c = |b1|";
    EXPECT_TRUE(s.asimptota1.v.empty()) << "infinite slope: not sent";
    EXPECT_TRUE(s.asimptota2.v.empty());
    ASSERT_EQ(2u, s.upadni.v.size());
    EXPECT_EQ(0.0f, s.upadni.v[1].x);
    EXPECT_EQ(1.0f, s.upadni.v[1].y);
    ASSERT_EQ(2u, s.odbijeni.v.size());
    EXPECT_EQ(-2.0f, s.odbijeni.v[0].sceneX());
    EXPECT_EQ(2.0f, s.odbijeni.v[0].sceneY());
    EXPECT_EQ("Jednacina zraka je:x = 2.000000 * y - 2.000000\n"
              "Jednacina odbijenog zraka je:x = -2.000000 * y + 2.000000\n\n",
              out);
}

// The end of a degenerate frame: the two equations, then the axes drawn normally.
void expectInfiniteFrameEndsSafely(const std::string& out, const std::string& ocekivano)
{
    EXPECT_TRUE(std::regex_match(out, std::regex(ocekivano))) << "actual:\n" << out;
    EXPECT_EQ(0, rec::modelviewDepth());
    EXPECT_EQ(rec::count("glPushMatrix"), rec::count("glPopMatrix"));
    for (const rec::Batch& b : rec::batches())
        for (const rec::Vertex& v : b.v)
            ASSERT_TRUE(std::isfinite(v.sceneX()) && std::isfinite(v.sceneY())) << "a vertex sent";
    for (const rec::Call& c : rec::callsOf("glTranslatef"))
        ASSERT_TRUE(std::isfinite(c.args[0]) && std::isfinite(c.args[1])) << "a translation sent";
    EXPECT_EQ(4u, rec::batches().back().v.size()) << "the axes follow";
}

TEST(CrtajHiperbolu, ZeroSecondSemiAxisDrawsNoCurveAndPrintsInfiniteSlopes)
{
    const std::string out = frame(3, 0, 0.5f, 1);
    const auto& b = rec::batches();
    ASSERT_EQ(8u, b.size()) << "no reflected ray batch: its shift is infinite";
    EXPECT_TRUE(b[0].v.empty()) << "no sample is finite";
    ASSERT_EQ(2u, b[2].v.size());
    EXPECT_EQ(0.0f, b[2].v[0].y) << "k = 0: the asymptote lies on the x axis";
    ASSERT_EQ(4u, b[4].v.size());
    EXPECT_EQ(3.0f, b[4].v[0].x);
    EXPECT_EQ(0.0f, b[4].v[1].y) << "the sides shrink to (+-a1, 0)";
    EXPECT_TRUE(b[5].v.empty()) << "the reflection point is infinite";
    EXPECT_TRUE(b[6].v.empty());
    expectInfiniteFrameEndsSafely(out, "Jednacina zraka je:x = -inf \\* y - 3\\.000000\n"
                                       "Jednacina odbijenog zraka je:x = -inf \\* y \\+ 3\\.000000\n\n");
}

TEST(CrtajHiperbolu, BothSemiAxesZeroPrintsNotANumberAndDrawsOnlyFociAndSides)
{
    const std::string out = frame(0, 0, 0.5f, 1);
    const auto& b = rec::batches();
    ASSERT_EQ(8u, b.size());
    const size_t ocekivano[] = {0, 2, 0, 0, 4, 0, 0};
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(ocekivano[i], b[i].v.size()) << "batch " << i;
    for (const rec::Vertex& v : b[4].v)
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
                    ASSERT_EQ(2u, s.odbijeni.v.size());
                    const std::string gde = "a1 " + std::to_string(pa) + " b1 " + std::to_string(pb) +
                                            " parametar " + std::to_string(param) +
                                            " pravac " + std::to_string(smer);
                    const double f1x = s.upadni.v[0].x, rx = s.upadni.v[1].x, ry = s.upadni.v[1].y;
                    const double f2x = s.isprekidana.v[1].x;
                    const double ax = s.odbijeni.v[0].sceneX(), ay = s.odbijeni.v[0].sceneY();
                    const double duzina = std::hypot(ax - rx, ay - ry);
                    const double clanX = rx * rx / (double(pa) * pa), clanY = ry * ry / (double(pb) * pb);
                    EXPECT_NEAR(1.0, clanX - clanY, 1e-6 * (clanX + clanY)) << "R on the curve, " << gde;
                    EXPECT_NEAR(rx, s.odbijeni.v[1].sceneX(), 1e-5 * duzina) << gde;
                    EXPECT_NEAR(ry, s.odbijeni.v[1].sceneY(), 1e-5 * duzina) << gde;
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
