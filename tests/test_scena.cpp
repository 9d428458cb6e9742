// The segment helper's cut to the box of +-1e6 scene units.
#include "gl_recorder.h"
#include "konzola.h"
#include "scena.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Duz, EndsInsideTheBoxStayExactAndFarOnesAreCutToItAlongTheSameLine)
{
    resetScene();
    glBegin(GL_LINES);
    duz(-3.6055512f, 0.3f, -5.4e9f, -3.6e9f);           // the hyperbola 3 2 1e9 -1: F1 to R
    duz(0.1f, 0.7f, 2e6f, 0.7f, -999990.0f, 5.0f);      // under a translation: lands at -999989.9
    duz(2e6f, 0.0f, 3e6f, 1e6f);                        // wholly outside: nothing
    glEnd();
    const std::vector<rec::Vertex>& v = rec::batches().at(0).v;
    ASSERT_EQ(4u, v.size());
    const auto sama = [](float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    EXPECT_TRUE(sama(-3.6055512f, v[0].x) && sama(0.3f, v[0].y)) << v[0].x << ", " << v[0].y;
    EXPECT_TRUE(sama(0.1f, v[2].x) && sama(0.7f, v[2].y)) << v[2].x << ", " << v[2].y;
    // The far end of the ray on the box's left side, still on the line through both ends.
    EXPECT_NEAR(-1e6, v[1].x, 0.07);
    const double nagib = (-3.6e9 - 0.3) / (-5.4e9 + 3.6055512);
    EXPECT_NEAR(0.3 + nagib * (v[1].x + 3.6055512), v[1].y, 0.07) << "off the line";
    // The translated one cut where it lands at x = 1e6, sent back under the translation.
    EXPECT_NEAR(1e6, v[3].x - 999990.0, 0.125) << "actual x " << v[3].x;
    EXPECT_TRUE(sama(0.7f, v[3].y));
}

}  // namespace
