// geometrija run for real: the console dialogue, the window and its pixels,
// the keys, the exit statuses.
#include "harness.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace e2e;

// The axes are one pixel wide and lie on a pixel boundary: smoothing spreads
// them over two pixels at half coverage, mid grey.
constexpr int OSA = 140;

const std::string PROMPT = "Pritisnite 1 za elipsu,2 za hiperbolu,3 za parabolu.\n";
const std::string POGRESAN = "Pogresan izbor,pokusajte ponovo!";
const std::string ODBIJENI = "Jednacina odbijenog zraka je:";
const std::string PARABOLA_DIJALOG =
    "Unesite vrednost za parametar p:\n"
    "Vrednost parametra p je:10.000000,a ziza je 5.000000\n"
    "Unesite parametar po kojem se zrak odbija.Vrednost mora biti veca od 0.Najbolje je uneti "
    "vrednosti izmedju 0.0 i 1.0 da bi se videla cela slika\n"
    "Unesite 1 za odbijanje zraka duz pozitivne ose ili -1 za odbijanje duz negativne y-ose:\n";
const std::string PARABOLA_JEDNACINE =
    "Jednacina zraka je:y = -2.828427 * x - -14.142136\n"
    "Jednacina odbijenog zraka je:y = 7.071068\n\n";

void expectWindow500AtTopLeft(Program& program)
{
    int x, y, w, h;
    program.geometry(x, y, w, h);
    EXPECT_EQ(0, x) << "window x";
    EXPECT_EQ(0, y) << "window y";
    EXPECT_EQ(500, w) << "window width";
    EXPECT_EQ(500, h) << "window height";
}

// Whether the frame with the directrix x = -5 at the given pan has reached the screen.
std::function<bool(const Image&)> direktrisa(double panX, double panY)
{
    return [=](const Image& img) {
        return img.width > 0 && colourNear(img, pixelX(-5, panX), pixelY(20, panY), ZELENA) &&
               colourNear(img, pixelX(-5, panX), pixelY(-20, panY), ZELENA);
    };
}

// geometrija with the parabola p = 10, parametar 0.5, pravac 1, its first frame drawn.
struct Parabola : testing::Test {
    Program program{programPath("geometrija"), programPath("geometrija")};
    void SetUp() override
    {
        program.type("3\n10\n0.5\n1\n");
        ASSERT_TRUE(program.waitForOutput(ODBIJENI)) << "no frame; console:\n" << program.output();
        ASSERT_NE(0u, program.window());
    }
    // Presses a key and waits for the frame it causes.
    void press(const std::string& key)
    {
        const size_t frames = program.occurrences(ODBIJENI);
        program.pressKey(key);
        ASSERT_TRUE(program.waitForOutput(ODBIJENI, static_cast<int>(frames) + 1))
            << "no redraw after " << key;
    }
};

TEST_F(Parabola, ConsoleTranscriptIsExact)
{
    program.drain(0.3);
    EXPECT_EQ(PROMPT + PARABOLA_DIJALOG + PARABOLA_JEDNACINE, program.output());
    EXPECT_EQ("", program.errors());
}

TEST_F(Parabola, WindowIs500By500AtTopLeftTitledWithInvocationPath)
{
    expectWindow500AtTopLeft(program);
    EXPECT_EQ(programPath("geometrija"), program.title());
}

TEST_F(Parabola, PictureShowsCurveFocusRaysAndDirectrix)
{
    const Image img = program.screenshotWhen(direktrisa(0, 0));
    ASSERT_EQ(500, img.width);
    // The axes cross at the centre.
    EXPECT_TRUE(colourNear(img, pixelX(0), pixelY(12), CRNA, 1, OSA)) << "y axis";
    EXPECT_TRUE(colourNear(img, pixelX(-12), pixelY(0), CRNA, 1, OSA)) << "x axis";
    // The curve y^2 = 20 x.
    EXPECT_TRUE(colourNear(img, pixelX(10), pixelY(14.142), CRNA, 2, 90)) << "curve above";
    EXPECT_TRUE(colourNear(img, pixelX(10), pixelY(-14.142), CRNA, 2, 90)) << "curve below";
    EXPECT_TRUE(colourNear(img, pixelX(20), pixelY(20), CRNA, 2, 90)) << "curve at (20, 20)";
    // Incident ray from the focus (5, 0) to (2.5, 7.07), reflected ray to the right.
    EXPECT_TRUE(colourNear(img, pixelX(3.75), pixelY(3.536), MASLINASTA)) << "incident ray";
    EXPECT_TRUE(colourNear(img, pixelX(15), pixelY(7.071), MASLINASTA)) << "reflected ray";
    EXPECT_TRUE(colourNear(img, pixelX(27), pixelY(7.071), MASLINASTA)) << "reflected ray at the edge";
    // Directrix x = -5.
    EXPECT_TRUE(colourNear(img, pixelX(-5), pixelY(20), ZELENA)) << "directrix above";
    EXPECT_TRUE(colourNear(img, pixelX(-5), pixelY(-20), ZELENA)) << "directrix below";
    // Left of the directrix and left of the reflection point above the ray there is nothing.
    std::string where;
    EXPECT_TRUE(clear(img, pixelX(-27), pixelY(27), pixelX(-6), pixelY(1), &where)) << where;
    EXPECT_TRUE(clear(img, pixelX(-4), pixelY(27), pixelX(-1), pixelY(9), &where)) << where;
    EXPECT_TRUE(clear(img, 0, 0, 20, 20, &where)) << "top left corner: " << where;
}

TEST_F(Parabola, PanKeysMoveThePictureAndEachRedrawPrintsTheEquations)
{
    for (int i = 0; i < 3; ++i)
        press(i == 1 ? "A" : "a");
    Image img = program.screenshotWhen(direktrisa(3, 0));
    EXPECT_TRUE(colourNear(img, pixelX(-5, 3), pixelY(20), ZELENA)) << "directrix 3 units right";
    EXPECT_TRUE(colourNear(img, pixelX(0, 3), pixelY(-20), CRNA, 1, OSA)) << "y axis 3 units right";
    EXPECT_TRUE(clear(img, pixelX(0) - 3, pixelY(-14), pixelX(0) + 3, pixelY(-22)))
        << "nothing left at the old y axis below the curve";

    press("d");
    for (int i = 0; i < 10; ++i)
        press(i % 2 ? "S" : "s");
    img = program.screenshotWhen(direktrisa(2, 3));
    EXPECT_TRUE(colourNear(img, pixelX(-20, 2), pixelY(0, 3), CRNA, 1, OSA)) << "x axis 3 units up";
    EXPECT_TRUE(colourNear(img, pixelX(-5, 2), pixelY(20, 3), ZELENA)) << "directrix 2 right";

    press("w");
    press("R");
    img = program.screenshotWhen(direktrisa(0, 0));
    EXPECT_TRUE(colourNear(img, pixelX(0), pixelY(-20), CRNA, 1, OSA)) << "y axis home";
    EXPECT_TRUE(colourNear(img, pixelX(-20), pixelY(0), CRNA, 1, OSA)) << "x axis home";
    EXPECT_TRUE(colourNear(img, pixelX(-5), pixelY(20), ZELENA)) << "directrix home";

    program.drain(0.2);
    EXPECT_EQ(1u + 3 + 1 + 10 + 2, program.occurrences(PARABOLA_JEDNACINE))
        << "one frame per key, each printing the equations";
}

TEST_F(Parabola, OtherKeysCauseNoRedraw)
{
    const size_t frames = program.occurrences(ODBIJENI);
    for (const char* key : {"x", "1", "space", "Left", "F1"})
        program.pressKey(key);
    program.drain(0.5);
    EXPECT_EQ(frames, program.occurrences(ODBIJENI));
    EXPECT_TRUE(program.running());
}

TEST_F(Parabola, QuitKeysEndWithStatusZero)
{
    program.pressKey("q");
    EXPECT_EQ(0, program.waitExit());
}

TEST_F(Parabola, EscapeEndsWithStatusZero)
{
    program.pressKey("Escape");
    EXPECT_EQ(0, program.waitExit());
}

TEST_F(Parabola, ClosingTheWindowEndsWithStatusZero)
{
    program.closeWindow();
    EXPECT_EQ(0, program.waitExit());
}

TEST_F(Parabola, ResizeRedrawsWithoutMovingTheCentre)
{
    const size_t frames = program.occurrences(ODBIJENI);
    program.resize(1000, 500);
    ASSERT_TRUE(program.waitForOutput(ODBIJENI, static_cast<int>(frames) + 1));
    const Image img = program.screenshotWhen([](const Image& i) { return i.width == 1000; });
    ASSERT_EQ(1000, img.width);
    // Same scale, the centre now at x = 500: the directrix at x = -5 keeps its offset.
    EXPECT_TRUE(colourNear(img, pixelX(-5) + 250, pixelY(20), ZELENA));
    EXPECT_TRUE(colourNear(img, pixelX(50) + 250, pixelY(7.071), MASLINASTA)) << "x range now +-57.7";
}

class PogresanIzbor : public testing::TestWithParam<const char*> {};

TEST_P(PogresanIzbor, PrintsTheMessageAndShowsOnlyTheAxes)
{
    Program program(programPath("geometrija"), "geometrija");
    program.type(GetParam());
    ASSERT_TRUE(program.waitForOutput(POGRESAN)) << program.output();
    ASSERT_NE(0u, program.window());
    // Nothing is printed per frame here: wait for the frame in the pixels.
    const Image img = program.screenshotWhen([](const Image& i) {
        return i.width == 500 && colourNear(i, 250, 100, CRNA, 1, OSA) && distance(i.at(5, 5), BELA) == 0;
    });
    program.drain(0.2);
    EXPECT_EQ(PROMPT + POGRESAN, program.output()) << "no line break, no second prompt";
    EXPECT_TRUE(colourNear(img, 250, 100, CRNA, 1, OSA)) << "y axis";
    EXPECT_TRUE(colourNear(img, 100, 250, CRNA, 1, OSA)) << "x axis";
    std::string where;
    EXPECT_TRUE(clear(img, 0, 0, 246, 246, &where)) << where;
    EXPECT_TRUE(clear(img, 254, 0, 499, 246, &where)) << where;
    EXPECT_TRUE(clear(img, 0, 254, 246, 499, &where)) << where;
    EXPECT_TRUE(clear(img, 254, 254, 499, 499, &where)) << where;
    program.pressKey("Escape");
    EXPECT_EQ(0, program.waitExit());
}

INSTANTIATE_TEST_SUITE_P(Odgovori, PogresanIzbor, testing::Values("4\n", "0\n", "abc\n"));

TEST(Geometrija, ChoiceAndAnswersShareOneStream)
{
    Program program(programPath("geometrija"), "geometrija");
    program.type("3.7\n0.5\n1\n");
    ASSERT_TRUE(program.waitForOutput(ODBIJENI)) << program.output();
    EXPECT_NE(std::string::npos,
              program.output().find("Vrednost parametra p je:0.700000,a ziza je 0.350000\n"))
        << program.output();
    program.pressKey("Q");
    EXPECT_EQ(0, program.waitExit());
}

TEST(Geometrija, TitleIsTheInvocationPathAndCommandLineGeometryIsOverridden)
{
    Program program(programPath("geometrija"), "./geometrija", {"-geometry", "200x100+30+40"},
                    GEOMETRIJA_BIN_DIR);
    program.type("3\n10\n0.5\n-1\n");
    ASSERT_TRUE(program.waitForOutput(ODBIJENI)) << program.output() << program.errors();
    EXPECT_EQ("./geometrija", program.title());
    expectWindow500AtTopLeft(program);
    const Image img = program.screenshotWhen(direktrisa(0, 0));
    EXPECT_TRUE(colourNear(img, pixelX(15), pixelY(-7.071), MASLINASTA)) << "pravac -1: ray below";
    EXPECT_TRUE(clear(img, pixelX(10), pixelY(9), pixelX(27), pixelY(5))) << "nothing above";
}

TEST(Geometrija, RejectedParameterEndsWithStatusThree)
{
    Program program(programPath("geometrija"), "geometrija");
    program.type("3\n10\n0\n");
    EXPECT_EQ(3, program.waitExit());
    EXPECT_NE(std::string::npos, program.output().find("cela slika\nGreska,parametar mora biti veci od 0!\n"))
        << program.output();
}

TEST(Geometrija, EndOfInputNeverHangs)
{
    Program program(programPath("geometrija"), "geometrija");
    program.type("3\n");
    program.closeInput();
    EXPECT_EQ(3, program.waitExit()) << "p and parametar stay 0, so the parameter is rejected";
}

}  // namespace
