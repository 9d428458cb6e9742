// The segment helper's cut to the box of +-1e6 scene units.
#include "snimac.h"
#include "konzola.h"
#include "scena.h"

#include <gtest/gtest.h>

TEST(Duz, EndsInsideTheBoxStayExactAndFarOnesAreCutToItAlongTheSameLine)
{
    resetScene();
    glBegin(GL_LINES);
    duz(-3.6055512f, 0.3f, -5.4e9f, -3.6e9f);       // as the hyperbola 3 2 1e9 -1 has it
    duz(0.1f, 0.7f, 2e6f, 0.7f, -999990.0f, 5.0f);  // translated: from x = -999989.9 to 1000010
    duz(2e6f, 0.0f, 3e6f, 1e6f);                    // wholly outside: nothing
    glEnd();
    const std::vector<snimac::Teme>& v = snimac::kadar().serije.at(0).temena;
    ASSERT_EQ(4u, v.size());
    EXPECT_TRUE(v[0].x == -3.6055512f && v[0].y == 0.3f && v[2].x == 0.1f && v[2].y == 0.7f)
        << "ends inside, bit for bit: " << v[0].x << ", " << v[0].y << "; " << v[2].x << ", " << v[2].y;
    EXPECT_NEAR(-1e6, v[1].x, 0.07);
    EXPECT_NEAR(0.3 + (v[1].x + 3.6055512) * (3.6e9 + 0.3) / (5.4e9 - 3.6055512), v[1].y, 0.07) << "off the line";
    EXPECT_NEAR(1e6, v[3].x - 999990.0, 0.125) << "cut where it lands, sent back under the translation";
    EXPECT_EQ(0.7f, v[3].y);
}
