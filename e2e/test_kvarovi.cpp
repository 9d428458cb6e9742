// Faults of a hostile environment, run for real: a closed standard stream, a
// ray whose far end lies far out of the picture, a window as large as X allows,
// a window destroyed by another client, an X server that dies in the dialogue.
#include "harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>

namespace {

using namespace e2e;

// Whether the frame shows the incident ray of the hyperbola 3 2 1e9 -1, from the
// focus (-3.6, 0) towards (-5.4e9, -3.6e9), at (-9.6, -4) with the picture panned
// by `pan`, and nothing at its mirror image above the axis.
std::function<bool(const Image&)> zrak(double pan)
{
    return [=](const Image& i) {
        const int x = pixelX(-9.6, pan);
        return i.width == 500 && colourNear(i, x, pixelY(-4), MASLINASTA) &&
               clear(i, x - 3, pixelY(4) - 3, x + 3, pixelY(4) + 3);
    };
}

TEST(Kvarovi, HostileEnvironmentNeitherKillsNorHangsTheProgram)
{
    const std::string geometrija = programPath("geometrija");
    {
        Program p("/bin/sh", "sh", {"-c", "exec \"$0\" >&-", geometrija});  // no standard output
        p.type("2\n3 2 1e9 -1\n");
        EXPECT_TRUE(zrak(0)(p.screenshotWhen(zrak(0)))) << "the window is drawn, the far ray shows";
        p.pressKey("a");
        EXPECT_TRUE(zrak(1)(p.screenshotWhen(zrak(1)))) << "the key moves the picture";
        for (const int strana : {32767, 65535}) {
            p.resize(strana, strana);
            int x, y, w = 0, h = 0;
            for (int i = 0; i < 100 && p.running() && w != 16384; ++i, p.drain(0.1))
                p.geometry(x, y, w, h);
            EXPECT_EQ(16384, w == h ? w : 0) << "llvmpipe's GL_MAX_VIEWPORT_DIMS, asked " << strana;
        }
        p.resize(500, 500);
        EXPECT_TRUE(zrak(1)(p.screenshotWhen(zrak(1)))) << "drawing goes on";
        ASSERT_EQ(0, std::system(("xdotool windowclose " + std::to_string(p.window())).c_str()));
        EXPECT_EQ(0, p.waitExit(3)) << "a window destroyed by another client";
        EXPECT_EQ("", p.errors());
    }
    {
        Program p("/bin/sh", "sh", {"-c", "exec \"$0\" <&-", geometrija});  // no standard input
        EXPECT_TRUE(p.waitForOutput("parabolu.\nPogresan izbor,pokusajte ponovo!"));
        const Image img = p.screenshotWhen([](const Image& i) { return distance(i.at(5, 5), BELA) == 0; });
        EXPECT_TRUE(colourNear(img, 250, 100, CRNA, 1, 140) && clear(img, 0, 0, 246, 246)) << "axes alone";
    }
    for (const auto& [odgovori, status] : {std::pair{"2\n3 2\n", 2}, std::pair{"3\n10\n", 3}}) {
        // A server of the test's own, to kill in the dialogue; it prints its display number.
        Program x("/usr/bin/Xvfb", "Xvfb", {"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
        ASSERT_TRUE(x.waitForOutput("\n", 1, 20));
        Program p("/usr/bin/env", "env", {"DISPLAY=:" + x.output().substr(0, x.output().find('\n')), geometrija});
        p.type(odgovori);
        ASSERT_TRUE(p.waitForOutput("Unesite parametar po kojem")) << p.errors();
        kill(x.pid(), SIGKILL);
        x.waitExit();
        p.type("0\n");
        EXPECT_EQ(status, p.waitExit()) << p.errors();
        EXPECT_NE(std::string::npos, p.output().find("\nGreska,parametar mora biti veci od 0!\n"));
    }
}

}  // namespace
