// Start-up: the order of the GLUT and GL calls before the main loop, the figure
// choice and the branch into the dialogues.
#include "snimac.h"
#include "geometrija.h"
#include "konzola.h"
#include "scena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Runs the program's start-up with a command line and typed input.
void startUp(const std::string& input, std::vector<std::string> args)
{
    resetScene();
    setInput(input);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(args.size());
    pokreniProgram(argc, argv.data());
}

// The same, returning what start-up printed.
std::string pokreni(const std::string& input, std::vector<std::string> args = {"./geometrija"})
{
    return captureStdout([&] { startUp(input, args); });
}

const char* const PROMPT = "Pritisnite 1 za elipsu,2 za hiperbolu,3 za parabolu.\n";
const char* const POGRESAN = "Pogresan izbor,pokusajte ponovo!";

TEST(Pokretanje, CallsGlutAndGlInTheOrderOfStartUp)
{
    pokreni("3\n10\n0.5\n1\n", {"/put/do/geometrija", "-geometry", "100x80+40+30"});
    EXPECT_EQ(POKRETANJE, pozivBezZagrevanja());
}

TEST(Pokretanje, WindowIsDoubleBufferedRgb500By500AtTopLeftTitledWithInvocationPath)
{
    pokreni("3\n10\n0.5\n1\n", {"/put/do/geometrija", "-geometry", "100x80+40+30"});
    const snimac::Prozor& g = snimac::prozor();
    EXPECT_EQ(3, g.argc) << "the whole command line goes to glutInit";
    EXPECT_EQ(GLUT_DOUBLE | GLUT_RGB, g.nacinPrikaza);
    EXPECT_EQ(2, g.nacinPrikaza);
    EXPECT_EQ(500, g.sirina);
    EXPECT_EQ(500, g.visina);
    EXPECT_EQ(0, g.x);
    EXPECT_EQ(0, g.y);
    EXPECT_EQ("/put/do/geometrija", g.naslov);
}

TEST(Pokretanje, RegistersTheThreeCallbacksAndFixedDrawingState)
{
    pokreni("3\n10\n0.5\n1\n");
    const snimac::Prozor& g = snimac::prozor();
    EXPECT_EQ(&reshape, g.preoblikovanje);
    EXPECT_EQ(&keyboard, g.tastatura);
    EXPECT_EQ(&display, g.prikaz);
    EXPECT_EQ(1, g.glavnePetlje);

    const auto clear = snimac::poziviOd(snimac::Ulaz::glClearColor);
    ASSERT_EQ(1u, clear.size());
    EXPECT_EQ((std::vector<double>{1, 1, 1, 0}), clear[0].argumenti) << "white background, alpha 0";
    const auto enables = snimac::poziviOd(snimac::Ulaz::glEnable);
    ASSERT_EQ(3u, enables.size());
    EXPECT_EQ(GL_BLEND, enables[0].argumenti[0]);
    EXPECT_EQ(GL_LINE_SMOOTH, enables[1].argumenti[0]);
    EXPECT_EQ(GL_POINT_SMOOTH, enables[2].argumenti[0]);
    const auto hints = snimac::poziviOd(snimac::Ulaz::glHint);
    ASSERT_EQ(2u, hints.size());
    EXPECT_EQ((std::vector<double>{GL_LINE_SMOOTH_HINT, GL_FASTEST}), hints[0].argumenti);
    EXPECT_EQ((std::vector<double>{GL_POINT_SMOOTH_HINT, GL_NICEST}), hints[1].argumenti);
    const auto blend = snimac::poziviOd(snimac::Ulaz::glBlendFunc);
    ASSERT_EQ(1u, blend.size());
    EXPECT_EQ((std::vector<double>{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}), blend[0].argumenti);
}

TEST(Pokretanje, ShowsNothingBeforeTheMainLoop)
{
    // The renderer's warm-up draws into the back buffer before the dialogue; it
    // must clear it again, wait for the renderer and never swap.
    pokreni("3\n10\n0.5\n1\n");
    const auto imena = snimac::imena();
    const auto petlja = std::find(imena.begin(), imena.end(), "glutMainLoop");
    const auto poslednjiBegin = std::find(imena.rbegin(), imena.rend(), "glBegin");
    ASSERT_NE(imena.rend(), poslednjiBegin) << "the warm-up draws something";
    const auto brisanje = std::find(poslednjiBegin.base(), petlja, "glClear");
    ASSERT_NE(petlja, brisanje) << "the back buffer is cleared after the last drawing";
    EXPECT_NE(petlja, std::find(brisanje, petlja, "glFinish")) << "the renderer is waited for";
    EXPECT_EQ(0u, snimac::broj(snimac::Ulaz::glutSwapBuffers));
    EXPECT_EQ(CRNA_BOJA, snimac::tekucaBoja());
    EXPECT_EQ(1.0f, snimac::tekucaDebljina());
}

TEST(Pokretanje, ChoiceThreeRunsTheParabolaDialogue)
{
    const std::string out = pokreni("3\n10\n0.5\n-1\n");
    EXPECT_EQ(3, unos);
    EXPECT_EQ(10.0f, p);
    EXPECT_EQ(0.5f, parametar);
    EXPECT_EQ(-1, pravac);
    EXPECT_EQ(0, out.find(std::string(PROMPT) + "Unesite vrednost za parametar p:\n")) << out;
    EXPECT_EQ(0.0f, a);
    EXPECT_EQ(0.0f, a1);
    EXPECT_EQ(0.0f, ugao);
}

class PogresanIzbor : public testing::TestWithParam<const char*> {};

TEST_P(PogresanIzbor, PrintsTheMessageWithoutLineBreakAndGoesOnWithoutFigure)
{
    const std::string out = pokreni(GetParam());
    EXPECT_EQ(std::string(PROMPT) + POGRESAN, out) << "answer " << GetParam();
    EXPECT_NE(1, unos);
    EXPECT_NE(2, unos);
    EXPECT_NE(3, unos);
    EXPECT_EQ(1, snimac::prozor().glavnePetlje) << "the main loop runs with no figure";
    EXPECT_EQ(&display, snimac::prozor().prikaz);
    EXPECT_EQ(0.0f, p);
    EXPECT_EQ(0.0f, parametar);
}

INSTANTIATE_TEST_SUITE_P(Odgovori, PogresanIzbor,
                         testing::Values("4\n", "0\n", "-1\n", "abc\n", "", "99999\n"));

TEST(Pokretanje, UnreadableChoiceStaysInTheInputAndIsNotAskedAgain)
{
    const std::string out = pokreni("abc\n3\n");
    EXPECT_EQ(std::string(PROMPT) + POGRESAN, out);
    EXPECT_EQ(0, unos);
    EXPECT_EQ("abc\n3\n", remainingInput());
}

TEST(Pokretanje, BlankLinesBeforeTheAnswerAreSkippedWithoutRepeatingThePrompt)
{
    const std::string out = pokreni("\n\n   \n3\n10\n0.5\n1\n");
    EXPECT_EQ(3, unos);
    EXPECT_EQ(0u, out.find(PROMPT)) << out;
    EXPECT_EQ(std::string::npos, out.find(PROMPT, 1)) << "prompt printed once:\n" << out;
}

TEST(Pokretanje, ChoiceAndAnswersShareOneStreamWithoutLineDiscipline)
{
    // 3.7 selects the parabola; the rest of the line, .7, is read as p.
    const std::string out = pokreni("3.7\n0.5\n1\n");
    EXPECT_EQ(3, unos);
    EXPECT_EQ(0.7f, p);
    EXPECT_EQ(0.5f, parametar);
    EXPECT_NE(std::string::npos, out.find("Vrednost parametra p je:0.700000,a ziza je 0.350000\n")) << out;
}

TEST(PokretanjeDeath, RejectedParabolaParameterEndsWithStatusThreeBeforeTheCallbacks)
{
    EXPECT_EXIT(withStdoutOnStderr([] { startUp("3\n10\n0\n", {"./geometrija"}); }), testing::ExitedWithCode(3),
                "Greska,parametar mora biti veci od 0!");
}

}  // namespace
