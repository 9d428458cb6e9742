// geometrija-demo run for real: silent, deaf to its input, one fixed parabola.
#include "harness.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace e2e;

// The fixed scene is drawn: the green directrix at x = -5 shows.
bool nacrtano(const Image& img, double panX = 0, double panY = 0)
{
    return img.width == 500 && colourNear(img, pixelX(-5, panX), pixelY(20, panY), ZELENA) &&
           colourNear(img, pixelX(5, panX), pixelY(-5, panY), MASLINASTA);
}

TEST(Demo, ShowsTheFixedSceneSilentlyAndLeavesItsInputUnread)
{
    Program program(programPath("geometrija-demo"), programPath("geometrija-demo"));
    program.type("3\n10\n0.5\n1\n");
    ASSERT_NE(0u, program.window());
    Image img = program.screenshotWhen([](const Image& i) { return nacrtano(i); });
    ASSERT_TRUE(nacrtano(img)) << "the fixed scene did not appear";

    // Vertical incident ray from the focus (5, 0) down to (5, -10), reflected to the right.
    EXPECT_TRUE(colourNear(img, pixelX(5), pixelY(-2), MASLINASTA)) << "incident ray near the focus";
    EXPECT_TRUE(colourNear(img, pixelX(5), pixelY(-8), MASLINASTA)) << "incident ray near R";
    EXPECT_TRUE(colourNear(img, pixelX(15), pixelY(-10), MASLINASTA)) << "reflected ray";
    EXPECT_TRUE(colourNear(img, 497, pixelY(-10), MASLINASTA)) << "reflected ray at the right edge";
    EXPECT_TRUE(colourNear(img, pixelX(-5), pixelY(-20), ZELENA)) << "directrix";
    EXPECT_TRUE(colourNear(img, pixelX(10), pixelY(14.142), CRNA, 2, 90)) << "curve above";
    EXPECT_TRUE(colourNear(img, pixelX(10), pixelY(-14.142), CRNA, 2, 90)) << "curve below";
    std::string where;
    EXPECT_TRUE(clear(img, pixelX(7), pixelY(8), pixelX(27), pixelY(1.5), &where))
        << "no ray above the axis: " << where;
    EXPECT_TRUE(clear(img, pixelX(7), pixelY(-1.5), pixelX(27), pixelY(-8.5), &where))
        << "nothing between the axis and the reflected ray: " << where;

    // Pans, a reset and a resize: the picture moves and comes back, the console stays silent.
    program.pressKey("a");
    program.pressKey("a");
    img = program.screenshotWhen([](const Image& i) { return nacrtano(i, 2); });
    EXPECT_TRUE(nacrtano(img, 2)) << "two units right";
    program.pressKey("s");
    program.pressKey("d");
    program.pressKey("w");
    program.pressKey("r");
    img = program.screenshotWhen([](const Image& i) { return nacrtano(i) && !nacrtano(i, 2); });
    EXPECT_TRUE(nacrtano(img)) << "back home";
    EXPECT_TRUE(colourNear(img, pixelX(0), pixelY(-20), CRNA, 1, 140)) << "y axis at the centre";
    program.resize(600, 500);
    program.screenshotWhen([](const Image& i) { return i.width == 600; });
    program.drain(0.3);

    program.pressKey("q");
    EXPECT_EQ(0, program.waitExit());
    EXPECT_EQ("", program.output()) << "nothing on standard output";
    EXPECT_EQ("", program.errors()) << "nothing on standard error";
    EXPECT_EQ("3\n10\n0.5\n1\n", program.unreadInput()) << "the typed text is still waiting";
}

TEST(Demo, EscapeEndsWithStatusZero)
{
    Program program(programPath("geometrija-demo"), "geometrija-demo");
    ASSERT_NE(0u, program.window());
    program.screenshotWhen([](const Image& i) { return nacrtano(i); });
    program.pressKey("Escape");
    EXPECT_EQ(0, program.waitExit());
}

}  // namespace
