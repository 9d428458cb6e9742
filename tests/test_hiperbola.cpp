// The hyperbola scene: its dialogue, the picture of one frame and the printed rays.
#include "geometrija.h"
#include "gl_recorder.h"
#include "konzola.h"
#include "scena.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const PITAJ_POLUOSE = "Unesite vrednosti za poluprecnike hiperbole po x i y osi!\n";
const char* const PITAJ_PARAMETAR =
    "Unesite parametar po kojem se zrak odbija.Vrednost mora biti veca od 0.Najbolje je uneti "
    "vrednosti izmedju 0.0 i 1.0 da bi se videla cela slika!\n";
const char* const PITAJ_PRAVAC =
    "Unesite 1 za odbijanje zraka duz pozitivne ose ili -1 za odbijanje duz negativne y-ose:\n";

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

}  // namespace
