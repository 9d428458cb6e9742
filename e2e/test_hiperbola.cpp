// geometrija with the hyperbola, run for real.
#include "harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace e2e;

const std::string ODBIJENI = "Jednacina odbijenog zraka je:";

// a1 = 3, b1 = 2: c = sqrt 13; parametar 0.5 puts R at (-(3/4) sqrt 29, sqrt 13 / 2).
const double C = std::sqrt(13.0);
const double RX = -0.75 * std::sqrt(29.0);
const double RY = C / 2;

struct Hiperbola : testing::Test {
    Program program{programPath("geometrija"), "geometrija"};
    Image img;
    void SetUp() override
    {
        program.type("2\n3 2\n0.5\n1\n");
        ASSERT_TRUE(program.waitForOutput(ODBIJENI)) << "no frame; console:\n" << program.output();
        ASSERT_NE(0u, program.window());
        // The frame has reached the screen when the right-branch vertex region shows the curve.
        img = program.screenshotWhen([](const Image& i) {
            return i.width == 500 && colourNear(i, pixelX(3), pixelY(0.5), CRNA, 2, 90);
        });
        ASSERT_EQ(500, img.width);
    }
    // A point of the segment from (x0, y0) to (x1, y1), t from 0 to 1.
    static bool olive(const Image& i, double x0, double y0, double x1, double y1, double t)
    {
        return colourNear(i, pixelX(x0 + t * (x1 - x0)), pixelY(y0 + t * (y1 - y0)), MASLINASTA);
    }
};

TEST_F(Hiperbola, ConsoleTranscriptIsExact)
{
    program.drain(0.3);
    EXPECT_EQ("Pritisnite 1 za elipsu,2 za hiperbolu,3 za parabolu.\n"
              "Unesite vrednosti za poluprecnike hiperbole po x i y osi!\n"
              "Vrednosti poluprecnika a i b su:3.000000 i 2.000000,a zize su -3.605551 i 3.605551\n"
              "Unesite parametar po kojem se zrak odbija.Vrednost mora biti veca od 0.Najbolje je "
              "uneti vrednosti izmedju 0.0 i 1.0 da bi se videla cela slika!\n"
              "Unesite 1 za odbijanje zraka duz pozitivne ose ili -1 za odbijanje duz negativne y-ose:\n"
              "Jednacina zraka je:x = -0.240364 * y - 3.605551\n"
              "Jednacina odbijenog zraka je:x = -4.240364 * y + 3.605551\n\n",
              program.output());
}

TEST_F(Hiperbola, BothBranchesAndTheAsymptotesThroughTheOrigin)
{
    for (double y : {-15.0, -6.0, 6.0, 15.0}) {
        const double x = 3 * std::sqrt(1 + y * y / 4);
        EXPECT_TRUE(colourNear(img, pixelX(x), pixelY(y), CRNA, 2, 90)) << "right branch at y " << y;
        EXPECT_TRUE(colourNear(img, pixelX(-x), pixelY(y), CRNA, 2, 90)) << "left branch at y " << y;
    }
    for (double x : {-25.0, -12.0, 12.0, 25.0}) {
        EXPECT_TRUE(colourNear(img, pixelX(x), pixelY(2.0 / 3 * x), CRNA, 1, 140)) << "y = 2x/3 at x " << x;
        EXPECT_TRUE(colourNear(img, pixelX(x), pixelY(-2.0 / 3 * x), CRNA, 1, 140)) << "y = -2x/3 at x " << x;
    }
    // Rectangle sides x = +-3 from y = -2 to 2.
    EXPECT_TRUE(colourNear(img, pixelX(3), pixelY(1.5), CRNA, 1, 140));
    EXPECT_TRUE(colourNear(img, pixelX(-3), pixelY(-1.5), CRNA, 1, 140));
    // Between the branches, off the asymptotes and the axes, there is nothing.
    std::string where;
    EXPECT_TRUE(clear(img, pixelX(1.5), pixelY(-0.3), pixelX(2.5), pixelY(-0.8), &where)) << where;
    EXPECT_TRUE(clear(img, pixelX(0.5), pixelY(14), pixelX(4), pixelY(9), &where))
        << "above the asymptotes, inside no branch: " << where;
}

TEST_F(Hiperbola, RaysAndTheDashedLineToTheFarFocus)
{
    // Incident ray F1 -> R, reflected ray from 2R - F2 to R.
    EXPECT_TRUE(olive(img, -C, 0, RX, RY, 0.5)) << "incident ray";
    EXPECT_TRUE(olive(img, 2 * RX - C, 2 * RY, RX, RY, 0.3)) << "reflected ray";
    EXPECT_TRUE(olive(img, 2 * RX - C, 2 * RY, RX, RY, 0.7)) << "reflected ray";
    // The dashed line R -> F2 is about 68 pixels long and the pattern repeats
    // every 48 (24 lit, 24 unlit): along it there are lit and unlit runs. The
    // solid reflected ray, drawn right after it, has no gap.
    auto runs = [&](double x0, double y0, double x1, double y1, int& lit, int& unlit, int& changes) {
        lit = unlit = changes = 0;
        bool before = true;
        for (int k = 10; k <= 90; ++k) {
            const double t = k / 100.0;
            const bool now = colourNear(img, pixelX(x0 + t * (x1 - x0)), pixelY(y0 + t * (y1 - y0)),
                                        MASLINASTA, 1, 60);
            (now ? lit : unlit)++;
            changes += k > 10 && now != before;
            before = now;
        }
    };
    int lit, unlit, changes;
    runs(RX, RY, C, 0, lit, unlit, changes);
    EXPECT_GT(lit, 16) << "dashes drawn: lit " << lit << ", unlit " << unlit;
    EXPECT_GT(unlit, 16) << "gaps between them: lit " << lit << ", unlit " << unlit;
    EXPECT_GE(changes, 1);
    runs(2 * RX - C, 2 * RY, RX, RY, lit, unlit, changes);
    EXPECT_EQ(0, unlit) << "the reflected ray is solid: lit " << lit;
}

TEST_F(Hiperbola, PanRedrawsAndPrintsTheEquationsAgain)
{
    program.pressKey("a");
    ASSERT_TRUE(program.waitForOutput(ODBIJENI, 2));
    const Image moved = program.screenshotWhen([](const Image& i) {
        return colourNear(i, pixelX(3, 1), pixelY(0.5), CRNA, 2, 90) && !colourNear(i, pixelX(3), pixelY(0.5), CRNA, 1, 90);
    });
    EXPECT_TRUE(colourNear(moved, pixelX(3, 1), pixelY(0.5), CRNA, 2, 90)) << "vertex one unit right";
    program.pressKey("Q");
    EXPECT_EQ(0, program.waitExit());
    EXPECT_EQ(2u, program.occurrences("Jednacina zraka je:x = -0.240364 * y - 3.605551\n"));
}

}  // namespace
