// The shell: the figure prompt, the view, the frame and the keyboard.
#include "geometrija.h"
#include "gl_recorder.h"
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
    ASSERT_EQ(expected, rec::callNames());
    EXPECT_EQ(GL_MAX_VIEWPORT_DIMS, rec::calls()[0].args[0]);
    const rec::Call* c = rec::calls().data() + 1;  // from the viewport on
    EXPECT_EQ((std::vector<double>{0, 0, 500, 500}), c[0].args);
    EXPECT_EQ(GL_PROJECTION, c[1].args[0]);
    EXPECT_EQ((std::vector<double>{60.0, 1.0, 1.0, 1000.0}), c[3].args);
    EXPECT_EQ(GL_MODELVIEW, c[4].args[0]);
    EXPECT_EQ((std::vector<double>{0, 0, 50, 0, 0, 0, 0, 1, 0}), c[6].args);
    EXPECT_EQ(GL_MODELVIEW, rec::matrixMode()) << "the model-view matrix is left current";
}

TEST(Reshape, AspectIsTheFloatingPointQuotientOfTheSizes)
{
    resetScene();
    reshape(1000, 500);
    EXPECT_EQ(2.0, rec::callsOf("gluPerspective")[0].args[1]);
    rec::reset();
    reshape(500, 300);
    EXPECT_EQ(500.0 / 300.0, rec::callsOf("gluPerspective")[0].args[1]) << "no integer division";
}

TEST(Reshape, ZeroHeightWindowGetsAFiniteProjection)
{
    resetScene();
    reshape(400, 0);
    const auto persp = rec::callsOf("gluPerspective");
    ASSERT_EQ(1u, persp.size());
    EXPECT_TRUE(std::isfinite(persp[0].args[1])) << "aspect " << persp[0].args[1];
    EXPECT_EQ(400.0, persp[0].args[1]) << "a height of 0 counts as 1";
    EXPECT_EQ((std::vector<double>{0, 0, 400, 0}), rec::callsOf("glViewport")[0].args);
}

TEST(Reshape, WindowBeyondTheRendererLimitIsAskedBackToItAndTheViewportCapped)
{
    resetScene();
    reshape(32767, 65535);
    reshape(rec::NAJVECI_POGLED, 300);  // at the limit: left alone
    const std::vector<double> najveci{rec::NAJVECI_POGLED, rec::NAJVECI_POGLED};
    ASSERT_EQ(1u, rec::count("glutReshapeWindow"));
    EXPECT_EQ(najveci, rec::callsOf("glutReshapeWindow")[0].args);
    EXPECT_EQ((std::vector<double>{0, 0, najveci[0], najveci[1]}), rec::callsOf("glViewport")[0].args);
    EXPECT_EQ(1.0, rec::callsOf("gluPerspective")[0].args[1]) << "aspect of the capped size";
}

// ---- display ----

TEST(Display, WithoutFigureDrawsOnlyTheAxesAndPrintsNothing)
{
    resetScene();
    unos = 0;
    reshape(500, 500);
    rec::reset();
    const std::string out = captureStdout(display);
    EXPECT_EQ("", out);
    // Only the ellipse routine's black and the hyperbola routine's point size and
    // black come between the pan and the axes.
    const std::vector<std::string> expected = {
        "glClear", "glColor3f", "glPushMatrix", "glTranslatef", "glLineWidth",
        "glColor3f", "glPointSize", "glColor3f",
        "glLineWidth", "glColor3f", "glBegin", "glVertex3f", "glVertex3f", "glVertex3f",
        "glVertex3f", "glEnd", "glPopMatrix", "glutSwapBuffers"};
    EXPECT_EQ(expected, rec::callNames());
    EXPECT_EQ(GL_COLOR_BUFFER_BIT, rec::calls().front().args[0]) << "colour buffer only";
    ASSERT_EQ(1u, rec::batches().size()) << "only the axes";
    const rec::Batch& osa = rec::batches()[0];
    EXPECT_EQ(static_cast<GLenum>(GL_LINES), osa.mode);
    EXPECT_EQ(1.0f, osa.lineWidth);
    ASSERT_EQ(4u, osa.v.size());
    const float ocekivano[4][2] = {{-1000, 0}, {1000, 0}, {0, -1000}, {0, 1000}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ocekivano[i][0], osa.v[i].x) << "axis vertex " << i;
        EXPECT_EQ(ocekivano[i][1], osa.v[i].y) << "axis vertex " << i;
        EXPECT_EQ(0.0f, osa.v[i].z);
        EXPECT_EQ(3, osa.v[i].dims);
        EXPECT_EQ(CRNA_BOJA, osa.v[i].color);
    }
}

TEST(Display, ClearsThenBlackThenPanThenSceneWidthTwo)
{
    resetScene();
    reshape(500, 500);
    rec::reset();
    display();
    const auto names = rec::callNames();
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ((std::vector<std::string>{"glClear", "glColor3f"}),
              std::vector<std::string>(names.begin(), names.begin() + 2));
    EXPECT_EQ((std::vector<double>{0, 0, 0}), rec::calls()[1].args);
    const auto widths = rec::callsOf("glLineWidth");
    ASSERT_EQ(2u, widths.size());
    EXPECT_EQ(2.0, widths[0].args[0]) << "scene lines";
    EXPECT_EQ(1.0, widths[1].args[0]) << "axes";
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
    rec::reset();
    captureStdout(display);
    ASSERT_FALSE(rec::batches().empty());
    for (const rec::Batch& batch : rec::batches())
        for (const rec::Vertex& v : batch.v) {
            ASSERT_EQ(2.0f, v.tx) << "every vertex of the frame is shifted by exactly the pan";
            ASSERT_EQ(-0.3f, v.ty);
            ASSERT_EQ(0.0f, v.tz);
        }
    float x, y, z;
    rec::translation(x, y, z);
    EXPECT_EQ(0.0f, x) << "the camera view is restored after the frame";
    EXPECT_EQ(0.0f, y);
    EXPECT_EQ(0, rec::modelviewDepth());
}

TEST(Display, AxesComeAfterTheSceneAndThenTheBuffersAreSwapped)
{
    resetScene();
    unos = 3;
    p = 10;
    parametar = 0.5f;
    captureStdout(drawFrame);
    const auto& batches = rec::batches();
    ASSERT_GE(batches.size(), 2u);
    const rec::Batch& last = batches.back();
    EXPECT_EQ(4u, last.v.size());
    EXPECT_EQ(-1000.0f, last.v[0].x) << "the last batch is the axes";
    EXPECT_EQ(1.0f, last.lineWidth);
    for (size_t i = 0; i + 1 < batches.size(); ++i)
        EXPECT_LT(batches[i].callIndex, last.callIndex);
    EXPECT_EQ("glutSwapBuffers", rec::callNames().back());
    EXPECT_EQ(1, rec::glut().swaps);
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
    EXPECT_EQ(1, rec::glut().postRedisplays);
    EXPECT_EQ(0u, rec::count("glBegin")) << "the frame is drawn later, by display";
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
    EXPECT_EQ(3, rec::glut().postRedisplays);
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
        EXPECT_EQ(8, rec::glut().postRedisplays);
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
    EXPECT_EQ(0, rec::glut().postRedisplays);
    EXPECT_TRUE(rec::calls().empty());
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
