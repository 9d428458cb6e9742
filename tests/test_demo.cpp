// The demonstration build: no dialogue, no console, one fixed parabola scene.
#include "snimac.h"
#include "geometrija.h"
#include "konzola.h"
#include "scena.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Must run before anything resets the scene: the values the build starts with.
TEST(Demo, StartsWithTheParabolaChosenAndTheRayParameterOne)
{
    EXPECT_EQ(3, unos);
    EXPECT_EQ(1.0f, parametar);
    EXPECT_EQ(0.0f, p) << "p is set by the drawing, not at start";
    EXPECT_EQ(0, pravac);
    EXPECT_EQ(0.0f, xtranslate);
    EXPECT_EQ(0.0f, ytranslate);
    EXPECT_EQ(0.0f, a);
    EXPECT_EQ(0.0f, a1);
}

std::string pokreni(const std::string& input)
{
    resetScene();
    setInput(input);
    char ime[] = "./geometrija-demo";
    char* argv[] = {ime, nullptr};
    int argc = 1;
    return captureStdout([&] { pokreniProgram(argc, argv); });
}

TEST(Demo, StartUpReadsNothingAndPrintsNothing)
{
    const std::string out = pokreni("1\n5 3\n45\n");
    EXPECT_EQ("", out);
    EXPECT_EQ("1\n5 3\n45\n", remainingInput()) << "the waiting text is left unread";
    EXPECT_EQ(3, unos);
    EXPECT_EQ(0.0f, a);
}

TEST(Demo, StartUpGoesFromTheWindowStraightToTheCallbacks)
{
    pokreni("");
    EXPECT_EQ(POKRETANJE, pozivBezZagrevanja());
    EXPECT_EQ("./geometrija-demo", snimac::prozor().naslov);
    EXPECT_EQ(500, snimac::prozor().sirina);
    EXPECT_EQ(&display, snimac::prozor().prikaz);
}

// The frame's batches: curve, focus, rays, directrix, axes.
std::vector<snimac::Serija> frame()
{
    const std::string out = captureStdout(drawFrame);
    EXPECT_EQ("", out) << "the demonstration prints nothing";
    EXPECT_EQ(5u, snimac::kadar().serije.size());
    return snimac::kadar().serije;
}

TEST(Demo, FrameShowsTheFixedSceneBelowTheAxisAndPrintsNothing)
{
    resetScene();
    const auto b = frame();
    ASSERT_EQ(5u, b.size());
    EXPECT_EQ(10.0f, p);

    EXPECT_EQ(4000u, b[0].temena.size()) << "y^2 = 20 x shows for x > 0 only";
    for (const snimac::Teme& v : b[0].temena)
        ASSERT_GT(v.x, 0.0f);

    ASSERT_EQ(1u, b[1].temena.size());
    EXPECT_EQ(5.0f, b[1].temena[0].x) << "focus";
    EXPECT_EQ(0.0f, b[1].temena[0].y);

    ASSERT_EQ(4u, b[2].temena.size());
    const float zraci[4][2] = {{5, 0}, {5, -10}, {5, -10}, {1000, -10}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(zraci[i][0], b[2].temena[i].x) << "ray vertex " << i;
        EXPECT_EQ(zraci[i][1], b[2].temena[i].y) << "ray vertex " << i;
        EXPECT_EQ(MASLINASTA, b[2].temena[i].boja);
    }

    ASSERT_EQ(2u, b[3].temena.size());
    EXPECT_EQ(-5.0f, b[3].temena[0].x) << "directrix";
    EXPECT_EQ(-100.0f, b[3].temena[0].y);
    EXPECT_EQ(100.0f, b[3].temena[1].y);
    EXPECT_EQ(ZELENA, b[3].temena[0].boja);
}

TEST(Demo, EveryFrameSetsPToTenAndKeepsTheRayBelow)
{
    resetScene();
    p = 3.0f;
    pravac = 1;
    const auto b = frame();
    ASSERT_EQ(5u, b.size());
    EXPECT_EQ(10.0f, p);
    ASSERT_EQ(4u, b[2].temena.size());
    EXPECT_EQ(-10.0f, b[2].temena[1].y) << "the reflection point stays below the axis";
}

TEST(Demo, PanAndResetRedrawSilently)
{
    resetScene();
    reshape(500, 500);
    std::string out;
    for (unsigned char key : {'a', 'A', 'd', 's', 'W', 'r'}) {
        keyboard(key, 0, 0);
        out += captureStdout(display);
    }
    reshape(1000, 500);
    out += captureStdout(display);
    EXPECT_EQ("", out);
    EXPECT_EQ(6, snimac::prozor().zahteviZaCrtanje);
    EXPECT_EQ(0.0f, xtranslate);
    EXPECT_EQ(0.0f, ytranslate);
}

TEST(DemoDeath, QuitKeysEndWithStatusZero)
{
    EXPECT_EXIT(keyboard('q', 0, 0), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(keyboard(27, 0, 0), testing::ExitedWithCode(0), "");
}

}  // namespace
