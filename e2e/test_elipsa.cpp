// geometrija with the ellipse, run for real.
#include "harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace e2e;

const std::string ODBIJENI = "Jednacina odbijenog zraka je:";
const std::string JEDNACINE = "Jednacina zraka je:y = 0.281509 * x + 1.126035\n"
                              "Jednacina odbijenog zraka je:y = -4.567243 * x + 18.268974\n\n";

// a = 5, b = 3, ugao = 45: foci (-4, 0) and (4, 0), R = (5 cos 45, 3 sin 45),
// the tangent there has the slope -0.6.
const double RX = 5 * std::sqrt(0.5);
const double RY = 3 * std::sqrt(0.5);
double tangenta(double x) { return RY - 0.6 * (x - RX); }

struct Elipsa : testing::Test {
    Program program{programPath("geometrija"), "geometrija"};
    void SetUp() override
    {
        program.type("1\n5 3\n45\n");
        ASSERT_TRUE(program.waitForOutput(ODBIJENI)) << "no frame; console:\n" << program.output();
        ASSERT_NE(0u, program.window());
    }
    // The frame panned by (panX, 0) has reached the screen when the tangent shows there.
    Image frame(double panX = 0)
    {
        return program.screenshotWhen([=](const Image& i) {
            return i.width == 500 && colourNear(i, pixelX(12, panX), pixelY(tangenta(12)), ZELENA) &&
                   colourNear(i, pixelX(-4, panX), pixelY(tangenta(-4)), ZELENA);
        });
    }
};

TEST_F(Elipsa, ConsoleTranscriptIsExact)
{
    program.drain(0.3);
    EXPECT_EQ("Pritisnite 1 za elipsu,2 za hiperbolu,3 za parabolu.\n"
              "Unesite vrednosti za poluprecnike elipse po x i y osi!\n"
              "Vrednosti poluprecnika a i b su:5.000000 i 3.000000,a zize su -4.000000 i 4.000000\n"
              "Unesite ugao za odbijanje zraka.Taj ugao mora biti u intervalu od 0 do 360 stepeni!:\n" +
                  JEDNACINE,
              program.output());
}

TEST_F(Elipsa, CurveRaysAndTangent)
{
    const Image img = frame();
    ASSERT_EQ(500, img.width);
    EXPECT_TRUE(colourNear(img, pixelX(5), pixelY(0.6), CRNA, 2, 90)) << "vertex (5, 0)";
    EXPECT_TRUE(colourNear(img, pixelX(-5), pixelY(-0.6), CRNA, 2, 90)) << "vertex (-5, 0)";
    EXPECT_TRUE(colourNear(img, pixelX(0.8), pixelY(3), CRNA, 2, 90)) << "vertex (0, 3)";
    EXPECT_TRUE(colourNear(img, pixelX(-0.8), pixelY(-3), CRNA, 2, 90)) << "vertex (0, -3)";
    for (double t : {0.25, 0.5, 0.75}) {
        EXPECT_TRUE(colourNear(img, pixelX(-4 + t * (RX + 4)), pixelY(t * RY), MASLINASTA))
            << "incident ray from (-4, 0) at t " << t;
        EXPECT_TRUE(colourNear(img, pixelX(RX + t * (4 - RX)), pixelY(RY - t * RY), MASLINASTA))
            << "reflected ray to (4, 0) at t " << t;
    }
    for (double x : {-20.0, 1.0, 6.0, 20.0})
        EXPECT_TRUE(colourNear(img, pixelX(x), pixelY(tangenta(x)), ZELENA)) << "tangent at x " << x;
    // Inside the ellipse below the axis, and outside it far from the tangent, nothing shows.
    std::string where;
    EXPECT_TRUE(clear(img, pixelX(-3), pixelY(-0.4), pixelX(-1), pixelY(-1.8), &where)) << where;
    EXPECT_TRUE(clear(img, pixelX(-25), pixelY(-6), pixelX(-8), pixelY(-25), &where)) << where;
}

TEST_F(Elipsa, PanMovesThePictureAndPrintsTheEquationsAgain)
{
    frame();
    program.pressKey("d");
    ASSERT_TRUE(program.waitForOutput(ODBIJENI, 2));
    const Image img = frame(-1);
    EXPECT_TRUE(colourNear(img, pixelX(5, -1), pixelY(0.6), CRNA, 2, 90)) << "vertex one unit left";
    EXPECT_TRUE(colourNear(img, pixelX(0, -1), pixelY(20), CRNA, 1, 140)) << "y axis one unit left";
    program.drain(0.2);
    EXPECT_EQ(2u, program.occurrences(JEDNACINE));
    program.pressKey("Escape");
    EXPECT_EQ(0, program.waitExit());
}

TEST(ElipsaUgao, OutsideTheRangeEndsWithStatusOne)
{
    Program program(programPath("geometrija"), "geometrija");
    program.type("1\n5 3\n361\n");
    EXPECT_EQ(1, program.waitExit());
    EXPECT_NE(std::string::npos,
              program.output().find("stepeni!:\nGreska,ugao ne moze biti manji od 0 i veci od 360!\n"))
        << program.output();
}

TEST(ElipsaUgao, HugeSemiAxisStillDrawsEveryFrameAndQuits)
{
    Program program(programPath("geometrija"), "geometrija");
    program.type("1\n1e6 1\n45\n");
    ASSERT_TRUE(program.waitForOutput(ODBIJENI)) << program.output();
    program.pressKey("a");
    ASSERT_TRUE(program.waitForOutput(ODBIJENI, 2, 5)) << "the second frame came in time";
    program.pressKey("q");
    EXPECT_EQ(0, program.waitExit());
}

}  // namespace
