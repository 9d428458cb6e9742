// The ellipse scene: its dialogue, the picture of one frame, the tangent's rows,
// the printed rays and the bound on the work of one frame.
#include "geometrija.h"
#include "snimac.h"
#include "konzola.h"
#include "scena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const PITAJ_UGAO =
    "Unesite ugao za odbijanje zraka.Taj ugao mora biti u intervalu od 0 do 360 stepeni!:\n";
const float NAN_F = std::numeric_limits<float>::quiet_NaN();
const float INF_F = std::numeric_limits<float>::infinity();

struct Tacka {
    float x, y;
};

void PrintTo(const Tacka& t, std::ostream* os)
{
    *os << "(" << t.x << ", " << t.y << ")";
}

// The curve point of parameter u degrees, (a cos f, b sin f) each rounded once,
// with the degree factor rebuilt from its bit pattern: also where the reflection
// point must be.
Tacka tackaOdbijanja(float aa, float bb, float u)
{
    const std::uint32_t bitovi = 0x3C8EFA2D;
    float radijan;
    std::memcpy(&radijan, &bitovi, sizeof radijan);
    const double f = static_cast<float>(static_cast<double>(u) * radijan);
    return {static_cast<float>(aa * std::cos(f)), static_cast<float>(bb * std::sin(f))};
}

// One frame of the ellipse scene as the window draws it; returns the console.
std::string frame(float aa, float bb, float u)
{
    resetScene();
    unos = 1;
    a = aa;
    b = bb;
    ugao = u;
    return captureStdout(drawFrame);
}

// The curve and the rays come first; the tangent is whatever list 1 drew.
struct Slika {
    snimac::Serija kriva, zraci, tangenta;
};

Slika slika()
{
    const auto& sve = snimac::kadar().serije;
    Slika s;
    if (sve.size() < 3) {
        ADD_FAILURE() << "expected curve, rays and axes at least, got " << sve.size() << " batches";
        return s;
    }
    s.kriva = sve[0];
    s.zraci = sve[1];
    for (const snimac::Serija& b : sve)
        if (b.lista == 1)
            s.tangenta = b;
    return s;
}

// A tangent half as the recorded points show it: a run of points in which one
// coordinate moves by exactly one rounded step of 0.01 each time.
struct Polovina {
    char osa = '?';
    int smer = 0;  // +1 up, -1 down
    float od = 0, doKraja = 0;
    size_t tacaka = 1;
};

std::ostream& operator<<(std::ostream& os, const Polovina& p)
{
    return os << p.osa << (p.smer > 0 ? " up" : " down") << " from " << p.od << " to " << p.doKraja << " ("
              << p.tacaka << " points)";
}

std::vector<Polovina> polovine(const snimac::Serija& tangenta)
{
    const auto& v = tangenta.temena;
    const auto koord = [&](size_t k, char osa) { return osa == 'x' ? v[k].x : v[k].y; };
    const auto korak = [&](size_t k, char osa, int smer) {
        return koord(k + 1, osa) == static_cast<float>(static_cast<double>(koord(k, osa)) + smer * 0.01);
    };
    std::vector<Polovina> out;
    for (size_t k = 0; k < v.size(); ++k) {
        Polovina p;
        for (const char osa : {'x', 'y'})
            for (const int smer : {1, -1})
                if (p.smer == 0 && k + 1 < v.size() && korak(k, osa, smer)) {
                    p.osa = osa;
                    p.smer = smer;
                }
        p.od = p.doKraja = koord(k, p.osa == 'y' ? 'y' : 'x');
        for (; p.smer != 0 && k + 1 < v.size() && korak(k, p.osa, p.smer); ++k, ++p.tacaka)
            p.doKraja = koord(k + 1, p.osa);
        out.push_back(p);
    }
    return out;
}

// Distance of (x, y) from the ellipse's tangent at its point r.
double odTangente(float aa, float bb, Tacka r, double x, double y)
{
    const double nx = r.x / (double(aa) * aa), ny = r.y / (double(bb) * bb);
    return std::fabs(nx * (x - r.x) + ny * (y - r.y)) / std::hypot(nx, ny);
}

// Every tangent point on the tangent at r; far points may lean by the rounding.
void naTangenti(float aa, float bb, Tacka r, const snimac::Serija& tangenta, float u)
{
    for (const snimac::Teme& v : tangenta.temena)
        ASSERT_LT(odTangente(aa, bb, r, v.x, v.y), 1e-4 * (1 + std::hypot(v.x - r.x, v.y - r.y)))
            << "point (" << v.x << ", " << v.y << ") at " << u << " degrees";
}

// ---- dialogue ----

TEST(Unoselipsa, WorkedExampleTranscriptAndStoredValues)
{
    resetScene();
    setInput("5 3\n45\n");
    EXPECT_EQ(std::string("Unesite vrednosti za poluprecnike elipse po x i y osi!\n"
                          "Vrednosti poluprecnika a i b su:5.000000 i 3.000000,a zize su -4.000000 i 4.000000\n") +
                  PITAJ_UGAO,
              captureStdout(unoselipsa));
    EXPECT_EQ(5.0f, a);
    EXPECT_EQ(3.0f, b);
    EXPECT_EQ(45.0f, ugao);
}

TEST(Unoselipsa, FociEchoForEqualSwappedAndUnreadableSemiAxes)
{
    const struct {
        const char *ulaz, *eho, *ostatak;
    } slucajevi[] = {
        {"4 4\n10\n", "su:4\\.000000 i 4\\.000000,a zize su -0\\.000000 i 0\\.000000\n", "\n"},
        {"3 5\n30\n", "su:3\\.000000 i 5\\.000000,a zize su -?nan i -?nan\n", "\n"},
        // Not a number: all three reads fail, everything stays 0, the text stays unread.
        {"abc 3 45\n", "su:0\\.000000 i 0\\.000000,a zize su -0\\.000000 i 0\\.000000\n", "abc 3 45\n"},
    };
    for (const auto& s : slucajevi) {
        resetScene();
        setInput(s.ulaz);
        const std::string out = captureStdout(unoselipsa);
        EXPECT_TRUE(std::regex_search(out, std::regex(s.eho))) << "input " << s.ulaz << " printed\n" << out;
        EXPECT_TRUE(out.size() > std::strlen(PITAJ_UGAO) &&
                    out.compare(out.size() - std::strlen(PITAJ_UGAO), std::string::npos, PITAJ_UGAO) == 0)
            << "ends with the angle prompt and no error: " << out;
        EXPECT_EQ(s.ostatak, remainingInput());
    }
}

class PrihvacenUgao : public testing::TestWithParam<const char*> {};

TEST_P(PrihvacenUgao, IsStoredAsTyped)
{
    const std::string ulaz = std::string("5 3\n") + GetParam() + "\n";
    // In a child first, so that a wrong rejection fails here instead of ending the tests.
    resetScene();
    setInput(ulaz);
    ASSERT_EXIT(
        {
            withStdoutOnStderr(unoselipsa);
            std::exit(0);
        },
        testing::ExitedWithCode(0), "stepeni!:\n$")
        << "ugao " << GetParam();
    setInput(ulaz);
    captureStdout(unoselipsa);
    EXPECT_EQ(std::strtof(GetParam(), nullptr), ugao);
    EXPECT_EQ(GetParam()[0] == '-', std::signbit(ugao)) << "a typed minus zero stays a minus zero";
}

INSTANTIATE_TEST_SUITE_P(Granice, PrihvacenUgao, testing::Values("0", "360", "-0", "359.99997"));

class OdbijenUgao : public testing::TestWithParam<const char*> {};

TEST_P(OdbijenUgao, EndsWithStatusOneAndTheMessage)
{
    resetScene();
    setInput(std::string("5 3\n") + GetParam() + "\n");
    EXPECT_EXIT(withStdoutOnStderr(unoselipsa), testing::ExitedWithCode(1),
                "stepeni!:\nGreska,ugao ne moze biti manji od 0 i veci od 360!\n$")
        << "ugao " << GetParam();
}

// Just past either end as a float, well past, and the infinities.
INSTANTIATE_TEST_SUITE_P(Van, OdbijenUgao, testing::Values("-0.5", "361", "360.00004", "-1e-30", "inf", "-inf"));

// ---- curve and rays ----

TEST(CrtajElipsu, CurveHas3600PointsFromParameterZeroToJustShortOf360)
{
    for (const Tacka ab : {Tacka{3, 5}, Tacka{0, 0}, Tacka{-7, 2}, Tacka{1e6f, 1}, Tacka{5, 3}}) {
        frame(ab.x, ab.y, 45);
        ASSERT_EQ(3600u, slika().kriva.temena.size()) << "a " << ab.x << " b " << ab.y;
        EXPECT_EQ(3600u, snimac::broj(snimac::Ulaz::glVertex2f)) << "two-dimensional, and only the curve";
    }
    const snimac::Serija kriva = slika().kriva;
    EXPECT_EQ(static_cast<GLenum>(GL_POINTS), kriva.nacin);
    EXPECT_EQ(5.0f, kriva.temena.front().x);
    EXPECT_EQ(0.0f, kriva.temena.front().y);
    // The float parameter drifts off the tenths: point 900 is not at 90 but at
    // 89.9991989, and the last one at 359.91275, about 0.09 short of 360.
    const struct {
        size_t k;
        float u;
    } drift[] = {{900, 89.9991989f}, {1800, 180.001785f}, {2700, 270.007263f}, {3599, 359.91275f}};
    for (const auto& d : drift) {
        const Tacka t = tackaOdbijanja(5, 3, d.u);
        EXPECT_EQ(t.x, kriva.temena[d.k].x) << "point " << d.k << " at parameter " << d.u;
        EXPECT_EQ(t.y, kriva.temena[d.k].y) << "point " << d.k << " at parameter " << d.u;
    }
    for (const snimac::Teme& v : kriva.temena)
        ASSERT_NEAR(1.0, (v.x / 5.0) * (v.x / 5.0) + (v.y / 3.0) * (v.y / 3.0), 1e-6) << v.x << ", " << v.y;
}

TEST(CrtajElipsu, CurveTakesTheColourCurrentOnEntryAndBlackIsLeftCurrent)
{
    resetScene();
    unos = 1;
    a = 5;
    b = 3;
    ugao = 45;
    glColor3f(0.2f, 0.3f, 0.4f);
    captureStdout(crtajElipsu);
    EXPECT_EQ((Boja{0.2f, 0.3f, 0.4f}), snimac::kadar().serije.at(0).temena.at(0).boja);
    EXPECT_EQ(CRNA_BOJA, snimac::tekucaBoja());
}

class Zraci : public testing::TestWithParam<float> {};

// Past 180 the program works with the mirror image and must mirror back.
TEST_P(Zraci, RunFromTheLeftFocusToTheCurvePointOfTheAngleAndOnToTheRightFocus)
{
    frame(5, 3, GetParam());
    const snimac::Serija zraci = slika().zraci;
    EXPECT_EQ(static_cast<GLenum>(GL_LINES), zraci.nacin);
    ASSERT_EQ(4u, zraci.temena.size());
    const Tacka r = tackaOdbijanja(5, 3, GetParam());
    const float ocekivano[4][2] = {{-4, 0}, {r.x, r.y}, {r.x, r.y}, {4, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ocekivano[i][0], zraci.temena[i].x) << "ray vertex " << i;
        EXPECT_EQ(ocekivano[i][1], zraci.temena[i].y) << "ray vertex " << i;
        EXPECT_EQ(3, zraci.temena[i].dimenzija);
        EXPECT_EQ(MASLINASTA, zraci.temena[i].boja);
    }
    EXPECT_EQ(std::signbit(r.y), std::signbit(zraci.temena[1].y)) << "y " << zraci.temena[1].y;
    EXPECT_EQ(2.0f, zraci.debljina);
}

INSTANTIATE_TEST_SUITE_P(Uglovi, Zraci, testing::Values(45.0f, 90.0f, 180.0f, 270.0f, 360.0f, -0.0f, 200.0f, 300.0f));

// ---- tangent ----

TEST(CrtajElipsu, TangentIsCompiledIntoList1AndCalledOnEveryFrame)
{
    resetScene();
    unos = 1;
    a = 5;
    b = 3;
    ugao = 45;
    reshape(500, 500);
    for (int kadar = 1; kadar <= 2; ++kadar) {
        snimac::isprazni();
        captureStdout(display);
        const auto nove = snimac::poziviOd(snimac::Ulaz::glNewList);
        const auto pozivi = snimac::poziviOd(snimac::Ulaz::glCallList);
        ASSERT_EQ(1u, nove.size()) << "frame " << kadar;
        ASSERT_EQ(1u, pozivi.size()) << "frame " << kadar;
        EXPECT_EQ((std::vector<double>{1, GL_COMPILE}), nove[0].argumenti);
        EXPECT_EQ(std::vector<double>{1}, pozivi[0].argumenti);
        const auto imena = snimac::imena();
        const auto kraj = std::find(imena.begin(), imena.end(), "glEndList");
        EXPECT_LT(kraj, std::find(imena.begin(), imena.end(), "glCallList")) << "called once closed";
        const Slika s = slika();
        ASSERT_FALSE(s.tangenta.temena.empty()) << "frame " << kadar;
        EXPECT_EQ(static_cast<GLenum>(GL_POINTS), s.tangenta.nacin);
        EXPECT_EQ(ZELENA, s.tangenta.temena.front().boja) << "the colour is in the list";
        EXPECT_EQ(3, s.tangenta.temena.front().dimenzija);
        EXPECT_EQ(0, s.zraci.lista) << "only the tangent goes through the list";
    }
}

TEST(CrtajElipsu, OtherFiguresOnlySetBlack)
{
    for (int figura : {0, 2, 3, 4, -1}) {
        resetScene();
        unos = figura;
        a = 5;
        b = 3;
        ugao = 45;
        EXPECT_EQ("", captureStdout(crtajElipsu)) << "unos " << figura;
        ASSERT_EQ(std::vector<std::string>{"glColor3f"}, snimac::imena()) << "unos " << figura;
        EXPECT_EQ((std::vector<double>{0, 0, 0}), snimac::zapis()[0].argumenti);
    }
}

struct Red {
    float ugao;
    char osa1;
    int smer1;
    char osa2;
    int smer2;
};

std::ostream& operator<<(std::ostream& os, const Red& r)
{
    return os << "ugao " << std::setprecision(9) << r.ugao;
}

class RedTangente : public testing::TestWithParam<Red> {};

// Which coordinate steps, which way, in which order, from where and how far.
TEST_P(RedTangente, AngleTakesItsRowAndEveryPointLiesOnTheTangent)
{
    const Red red = GetParam();
    frame(5, 3, red.ugao);
    const snimac::Serija tangenta = slika().tangenta;
    const Tacka r = tackaOdbijanja(5, 3, red.ugao);
    const std::vector<Polovina> p = polovine(tangenta);
    ASSERT_EQ(2u, p.size()) << "two halves, the first " << (p.empty() ? Polovina{} : p[0]);
    const Polovina ocekivano[2] = {{red.osa1, red.smer1}, {red.osa2, red.smer2}};
    const float ye = red.ugao > 180 ? -r.y : r.y;  // past 180 the mirror image's height
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(ocekivano[k].osa, p[k].osa) << "half " << k + 1 << ": " << p[k];
        EXPECT_EQ(ocekivano[k].smer, p[k].smer) << "half " << k + 1 << ": " << p[k];
        EXPECT_EQ(p[k].osa == 'x' ? r.x : ye, p[k].od) << "half " << k + 1 << ": " << p[k];
        EXPECT_NEAR(p[k].smer * 99.995, p[k].doKraja, 0.005) << "half " << k + 1 << " stops at the bound: " << p[k];
    }
    naTangenti(5, 3, r, tangenta, red.ugao);
}

INSTANTIATE_TEST_SUITE_P(
    Granice, RedTangente,
    testing::Values(Red{45, 'x', 1, 'y', 1}, Red{90, 'x', 1, 'x', -1}, Red{std::nextafter(90.0f, 100.0f), 'x', 1, 'y', -1},
                    Red{std::nextafter(180.0f, 0.0f), 'x', 1, 'y', -1}, Red{180, 'y', 1, 'y', -1},
                    Red{std::nextafter(180.0f, 200.0f), 'x', -1, 'x', 1}, Red{std::nextafter(270.0f, 0.0f), 'x', -1, 'x', 1},
                    Red{270, 'x', 1, 'x', -1}, Red{std::nextafter(270.0f, 300.0f), 'x', -1, 'x', 1},
                    Red{std::nextafter(360.0f, 0.0f), 'x', -1, 'x', 1}, Red{360, 'y', 1, 'y', -1},
                    Red{0, 'y', 1, 'y', -1}, Red{-0.0f, 'y', 1, 'y', -1}));

// ---- printed rays ----

TEST(CrtajElipsu, PrintsBothEquationsByteForByteForTheWorkedExamples)
{
    EXPECT_EQ("Jednacina zraka je:y = 0.281509 * x + 1.126035\n"
              "Jednacina odbijenog zraka je:y = -4.567243 * x + 18.268974\n\n",
              frame(5, 3, 45));
    EXPECT_EQ("Jednacina zraka je:y = 0.749999 * x + 2.999995\n"
              "Jednacina odbijenog zraka je:y = -0.750001 * x + 3.000005\n\n",
              frame(5, 3, 90));
    EXPECT_EQ("Jednacina zraka je:y = -0.750004 * x + -3.000016\n"
              "Jednacina odbijenog zraka je:y = 0.749996 * x + -2.999984\n\n",
              frame(5, 3, 270));
    EXPECT_EQ("Jednacina zraka je:y = 0.000000 * x + 0.000000\n"
              "Jednacina odbijenog zraka je:y = 0.000000 * x + 0.000000\n\n",
              frame(5, 3, 0));
}

TEST(CrtajElipsu, WiderThanLongPrintsNotANumberAndStillDrawsCurveAndTangent)
{
    const std::string out = frame(3, 5, 30);
    EXPECT_TRUE(std::regex_match(out, std::regex("Jednacina zraka je:y = -?nan \\* x \\+ -?nan\n"
                                                 "Jednacina odbijenog zraka je:y = -?nan \\* x \\+ -?nan\n\n")))
        << out;
    const Slika s = slika();
    EXPECT_EQ(3600u, s.kriva.temena.size());
    EXPECT_TRUE(s.zraci.temena.empty()) << "both rays end at a focus that is not a number";
    EXPECT_FALSE(s.tangenta.temena.empty());
}

TEST(CrtajElipsu, EveryRedrawPrintsTheSameLinesAgainInsideThePan)
{
    const std::string prvi = frame(5, 3, 45);
    keyboard('a', 0, 0);
    snimac::isprazni();
    EXPECT_EQ(prvi, captureStdout(display));
    const Slika s = slika();
    EXPECT_EQ(1.0f, pomakX(s.zraci));
    EXPECT_EQ(1.0f, pomakX(s.tangenta)) << "the list is drawn inside the pan";
}

// ---- the reflective property ----

// The incident ray from the left focus and the reflected ray make equal angles
// with the tangent as drawn, and the reflected ray ends at the right focus. At
// the boundary angles the drawn tangent may lean by the rounding of the angle,
// about 1e-4 for the flattest ellipse here.
class Odbijanje : public testing::TestWithParam<Tacka> {};

TEST_P(Odbijanje, EqualAnglesWithTheTangentAndTheReflectedRayEndsAtTheRightFocus)
{
    const Tacka ab = GetParam();
    const float c = static_cast<float>(std::sqrt(double(ab.x) * ab.x - double(ab.y) * ab.y));
    for (const float u : {0.0f, 17.0f, 90.0f, 123.4f, 180.0f, 222.0f, 270.0f, 299.0f}) {
        frame(ab.x, ab.y, u);
        const Slika s = slika();
        ASSERT_EQ(4u, s.zraci.temena.size()) << "ugao " << u;
        const snimac::Teme &f1 = s.zraci.temena[0], &r = s.zraci.temena[1], &f2 = s.zraci.temena[3];
        EXPECT_EQ(-c, f1.x) << "ugao " << u;
        EXPECT_EQ(c, f2.x) << "ugao " << u;
        EXPECT_EQ(0.0f, f2.y) << "ugao " << u;
        const std::vector<Polovina> p = polovine(s.tangenta);
        ASSERT_EQ(2u, p.size()) << "ugao " << u;
        const snimac::Teme &k1 = s.tangenta.temena.at(p[0].tacaka - 1), &k2 = s.tangenta.temena.back();  // the far ends
        const double tl = std::hypot(double(k2.x) - k1.x, double(k2.y) - k1.y);
        const double tx = (double(k2.x) - k1.x) / tl, ty = (double(k2.y) - k1.y) / tl;
        const double ul = std::hypot(double(r.x) - f1.x, double(r.y) - f1.y);
        const double ux = (double(r.x) - f1.x) / ul, uy = (double(r.y) - f1.y) / ul;
        const double ol = std::hypot(double(f2.x) - r.x, double(f2.y) - r.y);
        const double ox = (double(f2.x) - r.x) / ol, oy = (double(f2.y) - r.y) / ol;
        EXPECT_NEAR(ux * tx + uy * ty, ox * tx + oy * ty, 5e-4) << "ugao " << u << ": along the tangent";
        EXPECT_NEAR(uy * tx - ux * ty, -(oy * tx - ox * ty), 5e-4) << "ugao " << u << ": across it";
    }
}

INSTANTIATE_TEST_SUITE_P(Elipse, Odbijanje,
                         testing::Values(Tacka{5, 3}, Tacka{10, 2}, Tacka{7, 6.5f}, Tacka{20, 15}, Tacka{4, 4}));

// ---- the work of one frame ----

// Values typed far out put a tangent half's start beyond the square on the far
// side; no frame may hang or send millions of points for them.
TEST(Granica, EveryFrameEndsWithABoundedNumberOfPoints)
{
    const Tacka ulazi[] = {{1e6f, 3}, {3e5f, 1}, {INF_F, 3}, {-1e6f, -1e6f}, {3, INF_F}};
    size_t najvise = 0;
    std::ostringstream gde;
    for (const Tacka ab : ulazi)
        for (const float u : {45.0f, 135.0f, 200.0f, 300.0f}) {  // one of each kind of row
            frame(ab.x, ab.y, u);
            size_t n = 0;
            for (const snimac::Serija& b : snimac::kadar().serije)
                n += b.temena.size();
            if (n > najvise) {
                najvise = n;
                gde.str("");
                gde << "a " << ab.x << " b " << ab.y << " ugao " << u;
            }
        }
    // 3600 curve points, 4 ray and 4 axis vertices, two tangent halves of 20000.
    EXPECT_LE(najvise, 3600u + 4 + 4 + 2 * 20000u) << "worst frame " << gde.str();
    RecordProperty("worst_frame_vertices", static_cast<int>(najvise));
    std::printf("[ elipsa   ] worst frame: %zu vertices (%s)\n", najvise, gde.str().c_str());
}

TEST(Granica, HalfStartingFarOutOnTheOtherSideBeginsAtTheSquareOnTheTangent)
{
    // At x of about -141 the half stepping down sends nothing, the one stepping up starts at -100.
    frame(150, 3, 200);
    const snimac::Serija tangenta = slika().tangenta;
    const Tacka r = tackaOdbijanja(150, 3, 200);
    ASSERT_LT(r.x, -100.0f);
    const std::vector<Polovina> p = polovine(tangenta);
    ASSERT_EQ(1u, p.size());
    EXPECT_EQ('x', p[0].osa) << p[0];
    EXPECT_EQ(-100.0f, p[0].od) << p[0];
    EXPECT_EQ(20000u, p[0].tacaka) << p[0];
    naTangenti(150, 3, r, tangenta, 200);
}

TEST(Granica, NotANumberSendsNoTangentPoint)
{
    frame(NAN_F, 3, 45);  // both halves start at a coordinate that is not a number
    EXPECT_TRUE(slika().tangenta.temena.empty());
    // An angle that is not a number passes the dialogue, matches no row and
    // leaves only the colour in the list: compiled once, replayed once.
    frame(5, 3, NAN_F);
    std::vector<std::string> lista;
    for (const snimac::Zapis& c : snimac::zapis())
        if (c.lista == 1 && c.ime != "glCallList" && c.ime != "glEndList")
            lista.push_back(c.ime);
    EXPECT_EQ((std::vector<std::string>{"glColor3f", "glColor3f"}), lista);
}

}  // namespace
