// The shell: the figure prompt, the view, the frame and the keyboard.
#include "geometrija.h"
#include "snimac.h"
#include "konzola.h"
#include "scena.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

uint32_t bits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

TEST(Radian, HasTheExactBitPatternOfThreePointOneFourOneFiveNineOverOneEighty)
{
    EXPECT_EQ(0x3C8EFA2Du, bits(RADIAN)) << std::hex << "actual 0x" << bits(RADIAN);
    EXPECT_NE(bits(static_cast<float>(M_PI / 180)), bits(RADIAN)) << "not the float nearest pi/180";
}

TEST(Izborfigure, PromptsOnceAndReadsADecimalIntegerIntoUnos)
{
    resetScene();
    setInput("2\n");
    const std::string out = captureStdout(izborfigure);
    EXPECT_EQ("Pritisnite 1 za elipsu,2 za hiperbolu,3 za parabolu.\n", out);
    EXPECT_EQ(2, unos);
}

TEST(Izborfigure, TextThatIsNoNumberLeavesUnosAndTheInputAlone)
{
    resetScene();
    setInput("abc 3\n");
    captureStdout(izborfigure);
    EXPECT_EQ(0, unos);
    EXPECT_EQ("abc 3\n", remainingInput());
}

// ---- reshape ----

TEST(Reshape, SetsViewportPerspectiveAndCameraInThatOrder)
{
    resetScene();
    reshape(500, 500);
    // First the renderer's largest viewport, which caps the one set.
    const std::vector<std::string> expected = {"glGetIntegerv", "glViewport", "glMatrixMode",
                                               "glLoadIdentity", "gluPerspective", "glMatrixMode",
                                               "glLoadIdentity", "gluLookAt"};
    ASSERT_EQ(expected, snimac::imena());
    EXPECT_EQ(GL_MAX_VIEWPORT_DIMS, snimac::zapis()[0].argumenti[0]);
    const std::vector<snimac::Zapis> zapis = snimac::zapis();
    const snimac::Zapis* c = zapis.data() + 1;  // from the viewport on
    EXPECT_EQ((std::vector<double>{0, 0, 500, 500}), c[0].argumenti);
    EXPECT_EQ(GL_PROJECTION, c[1].argumenti[0]);
    EXPECT_EQ((std::vector<double>{60.0, 1.0, 1.0, 1000.0}), c[3].argumenti);
    EXPECT_EQ(GL_MODELVIEW, c[4].argumenti[0]);
    EXPECT_EQ((std::vector<double>{0, 0, 50, 0, 0, 0, 0, 1, 0}), c[6].argumenti);
    EXPECT_EQ(GL_MODELVIEW, snimac::nacinMatrice()) << "the model-view matrix is left current";
}

TEST(Reshape, AspectIsTheFloatingPointQuotientOfTheSizes)
{
    resetScene();
    reshape(1000, 500);
    EXPECT_EQ(2.0, snimac::poziviOd(snimac::Ulaz::gluPerspective)[0].argumenti[1]);
    snimac::isprazni();
    reshape(500, 300);
    EXPECT_EQ(500.0 / 300.0, snimac::poziviOd(snimac::Ulaz::gluPerspective)[0].argumenti[1]) << "no integer division";
}

TEST(Reshape, ZeroHeightWindowGetsAFiniteProjection)
{
    resetScene();
    reshape(400, 0);
    const auto persp = snimac::poziviOd(snimac::Ulaz::gluPerspective);
    ASSERT_EQ(1u, persp.size());
    EXPECT_TRUE(std::isfinite(persp[0].argumenti[1])) << "aspect " << persp[0].argumenti[1];
    EXPECT_EQ(400.0, persp[0].argumenti[1]) << "a height of 0 counts as 1";
    EXPECT_EQ((std::vector<double>{0, 0, 400, 0}), snimac::poziviOd(snimac::Ulaz::glViewport)[0].argumenti);
}

TEST(Reshape, WindowBeyondTheRendererLimitIsAskedBackToItAndTheViewportCapped)
{
    resetScene();
    reshape(32767, 65535);
    reshape(snimac::NAJVECI_POGLED, 300);  // at the limit: left alone
    const std::vector<double> najveci{snimac::NAJVECI_POGLED, snimac::NAJVECI_POGLED};
    ASSERT_EQ(1u, snimac::broj(snimac::Ulaz::glutReshapeWindow));
    EXPECT_EQ(najveci, snimac::poziviOd(snimac::Ulaz::glutReshapeWindow)[0].argumenti);
    EXPECT_EQ((std::vector<double>{0, 0, najveci[0], najveci[1]}), snimac::poziviOd(snimac::Ulaz::glViewport)[0].argumenti);
    EXPECT_EQ(1.0, snimac::poziviOd(snimac::Ulaz::gluPerspective)[0].argumenti[1]) << "aspect of the capped size";
}

// ---- display ----

TEST(Display, WithoutFigureDrawsOnlyTheAxesAndPrintsNothing)
{
    resetScene();
    unos = 0;
    reshape(500, 500);
    snimac::isprazni();
    const std::string out = captureStdout(display);
    EXPECT_EQ("", out);
    // Only the ellipse routine's black and the hyperbola routine's point size and
    // black come between the pan and the axes.
    const std::vector<std::string> expected = {
        "glClear", "glColor3f", "glPushMatrix", "glTranslatef", "glLineWidth",
        "glColor3f", "glPointSize", "glColor3f",
        "glLineWidth", "glColor3f", "glBegin", "glVertex3f", "glVertex3f", "glVertex3f",
        "glVertex3f", "glEnd", "glPopMatrix", "glutSwapBuffers"};
    EXPECT_EQ(expected, snimac::imena());
    EXPECT_EQ(GL_COLOR_BUFFER_BIT, snimac::zapis().front().argumenti[0]) << "colour buffer only";
    ASSERT_EQ(1u, snimac::kadar().serije.size()) << "only the axes";
    const snimac::Serija& osa = snimac::kadar().serije[0];
    EXPECT_EQ(static_cast<GLenum>(GL_LINES), osa.nacin);
    EXPECT_EQ(1.0f, osa.debljina);
    ASSERT_EQ(4u, osa.temena.size());
    const float ocekivano[4][2] = {{-1000, 0}, {1000, 0}, {0, -1000}, {0, 1000}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ocekivano[i][0], osa.temena[i].x) << "axis vertex " << i;
        EXPECT_EQ(ocekivano[i][1], osa.temena[i].y) << "axis vertex " << i;
        EXPECT_EQ(0.0f, osa.temena[i].z);
        EXPECT_EQ(3, osa.temena[i].dimenzija);
        EXPECT_EQ(CRNA_BOJA, osa.temena[i].boja);
    }
}

TEST(Display, ClearsThenBlackThenPanThenSceneWidthTwo)
{
    resetScene();
    reshape(500, 500);
    snimac::isprazni();
    display();
    const auto names = snimac::imena();
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ((std::vector<std::string>{"glClear", "glColor3f"}),
              std::vector<std::string>(names.begin(), names.begin() + 2));
    EXPECT_EQ((std::vector<double>{0, 0, 0}), snimac::zapis()[1].argumenti);
    const auto widths = snimac::poziviOd(snimac::Ulaz::glLineWidth);
    ASSERT_EQ(2u, widths.size());
    EXPECT_EQ(2.0, widths[0].argumenti[0]) << "scene lines";
    EXPECT_EQ(1.0, widths[1].argumenti[0]) << "axes";
}

TEST(Display, PanMovesEverythingAndDoesNotAccumulateOverFrames)
{
    resetScene();
    unos = 3;
    p = 10;
    parametar = 0.5f;
    pravac = 1;
    xtranslate = 2.0f;
    ytranslate = -0.3f;
    reshape(500, 500);
    for (int frame = 0; frame < 3; ++frame)
        captureStdout(display);
    snimac::novaSlika();
    captureStdout(display);
    ASSERT_FALSE(snimac::kadar().serije.empty());
    for (const snimac::Serija& batch : snimac::kadar().serije) {
        ASSERT_EQ(2.0f, pomakX(batch)) << "every batch of the frame is shifted by exactly the pan";
        ASSERT_EQ(-0.3f, pomakY(batch));
        ASSERT_EQ(-50.0f, batch.modelview[14]) << "the camera's distance alone";
    }
    EXPECT_EQ(0.0f, snimac::modelview()[12]) << "the camera view is restored after the frame";
    EXPECT_EQ(0.0f, snimac::modelview()[13]);
    EXPECT_EQ(0, snimac::dubinaModelview());
}

TEST(Display, AxesComeAfterTheSceneAndThenTheBuffersAreSwapped)
{
    resetScene();
    unos = 3;
    p = 10;
    parametar = 0.5f;
    captureStdout(drawFrame);
    const auto& batches = snimac::kadar().serije;
    ASSERT_GE(batches.size(), 2u);
    const snimac::Serija& last = batches.back();
    EXPECT_EQ(4u, last.temena.size());
    EXPECT_EQ(-1000.0f, last.temena[0].x) << "the last batch is the axes";
    EXPECT_EQ(1.0f, last.debljina);
    for (size_t i = 0; i + 1 < batches.size(); ++i)
        EXPECT_LT(batches[i].poziv, last.poziv);
    EXPECT_EQ("glutSwapBuffers", snimac::imena().back());
    EXPECT_EQ(1, snimac::prozor().zamene);
}

// ---- keyboard ----

struct Taster {
    unsigned char key;
    float dx, dy;
};

class PanKey : public testing::TestWithParam<Taster> {};

TEST_P(PanKey, MovesThePanAndRequestsOneRedraw)
{
    resetScene();
    const Taster t = GetParam();
    keyboard(t.key, 123, 45);
    EXPECT_EQ(t.dx, xtranslate) << "key '" << t.key << "'";
    EXPECT_EQ(t.dy, ytranslate) << "key '" << t.key << "'";
    EXPECT_EQ(1, snimac::prozor().zahteviZaCrtanje);
    EXPECT_EQ(0u, snimac::broj(snimac::Ulaz::glBegin)) << "the frame is drawn later, by display";
}

INSTANTIATE_TEST_SUITE_P(BothCases, PanKey,
                         testing::Values(Taster{'A', 1, 0}, Taster{'a', 1, 0}, Taster{'D', -1, 0},
                                         Taster{'d', -1, 0}, Taster{'S', 0, 0.3f},
                                         Taster{'s', 0, 0.3f}, Taster{'W', 0, -0.3f},
                                         Taster{'w', 0, -0.3f}));

TEST(Keyboard, TwoAAndOneDLeaveThePictureOneUnitRight)
{
    resetScene();
    keyboard('A', 0, 0);
    keyboard('a', 0, 0);
    keyboard('D', 0, 0);
    EXPECT_EQ(1.0f, xtranslate);
    EXPECT_EQ(3, snimac::prozor().zahteviZaCrtanje);
}

TEST(Keyboard, TenUpStepsEndOneFloatShortOfThree)
{
    resetScene();
    for (int i = 0; i < 10; ++i)
        keyboard('S', 0, 0);
    const float ocekivano = 3.0f - std::ldexp(1.0f, -22);
    EXPECT_EQ(bits(ocekivano), bits(ytranslate)) << "expected " << ocekivano << ", actual " << ytranslate;
}

TEST(Keyboard, ThreeUpThenThreeDownLeaveAFloatRemainder)
{
    resetScene();
    for (int i = 0; i < 3; ++i)
        keyboard('s', 0, 0);
    for (int i = 0; i < 3; ++i)
        keyboard('w', 0, 0);
    EXPECT_NE(0.0f, ytranslate);
    EXPECT_NEAR(1.2e-8, ytranslate, 0.1e-8);
}

TEST(Keyboard, ResetSetsBothPansToExactlyZero)
{
    for (unsigned char key : {'R', 'r'}) {
        resetScene();
        for (int i = 0; i < 3; ++i)
            keyboard('s', 0, 0);
        for (int i = 0; i < 3; ++i)
            keyboard('w', 0, 0);
        keyboard('d', 0, 0);
        keyboard(key, 0, 0);
        EXPECT_EQ(0u, bits(xtranslate)) << "key " << key << ": +0, not a remainder";
        EXPECT_EQ(0u, bits(ytranslate)) << "key " << key;
        EXPECT_EQ(8, snimac::prozor().zahteviZaCrtanje);
    }
}

TEST(Keyboard, OtherKeysChangeNothingAndRequestNoRedraw)
{
    resetScene();
    xtranslate = 4.0f;
    ytranslate = -0.6f;
    const unsigned char ostali[] = {'1', '0', ' ', 'x', 'e', 'Z', '\r', '\t', 0xE1, 0xFF, 127};
    for (unsigned char key : ostali) {
        keyboard(key, 10, 10);
        EXPECT_EQ(4.0f, xtranslate) << "key " << int(key);
        EXPECT_EQ(-0.6f, ytranslate) << "key " << int(key);
    }
    EXPECT_EQ(0, snimac::prozor().zahteviZaCrtanje);
    EXPECT_TRUE(snimac::zapis().empty());
}

TEST(KeyboardDeath, EscapeAndQEndTheProgramWithStatusZero)
{
    resetScene();
    EXPECT_EXIT(keyboard(27, 0, 0), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(keyboard('Q', 0, 0), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(keyboard('q', 0, 0), testing::ExitedWithCode(0), "");
    unos = 0;
    EXPECT_EXIT(keyboard('q', 0, 0), testing::ExitedWithCode(0), "") << "also without a figure";
}

}  // namespace
