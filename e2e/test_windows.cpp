// geometrija.exe and geometrija-demo.exe, cross-built for Windows, run under
// Wine against the tests' private X server, beside the Linux programs.
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace e2e;

const std::string ODBIJENI = "Jednacina odbijenog zraka je:";
const std::string POGRESAN = "Pogresan izbor,pokusajte ponovo!";
const std::string PREFIKS = std::string(GEOMETRIJA_WINDOWS_DIR) + "/wine";

// The Wine of the tests: its own prefix in the Windows build folder, quiet.
const std::vector<std::string> WINE_OKRUZENJE = {"WINEPREFIX=" + PREFIKS, "WINEDEBUG=-all",
                                                 "WINEDLLOVERRIDES=mscoree,mshtml="};

std::unique_ptr<Program> podWineom(const std::string& exe)
{
    const std::string putanja = std::string(GEOMETRIJA_WINDOWS_DIR) + "/" + exe;
    return std::make_unique<Program>(GEOMETRIJA_WINE, GEOMETRIJA_WINE, std::vector<std::string>{putanja},
                                     "", WINE_OKRUZENJE);
}

// Windows's text mode writes each line end as CRLF.
std::string bezCR(std::string s)
{
    for (size_t i = s.find("\r\n"); i != std::string::npos; i = s.find("\r\n", i))
        s.erase(i, 1);
    return s;
}

// The console up to the first frame (or the end, or the wrong choice), for `odgovori`.
std::string prepis(Program& program, const std::string& odgovori)
{
    program.type(odgovori);
    program.closeInput();
    // Wine's first start in a new prefix takes several seconds.
    const auto kraj = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (program.running() && !program.occurrences(ODBIJENI) && !program.occurrences(POGRESAN) &&
           std::chrono::steady_clock::now() < kraj)
        program.drain(0.02);
    program.drain(0.3);
    return program.output();
}

class Windows : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_FALSE(readFile(std::string(GEOMETRIJA_WINDOWS_DIR) + "/geometrija.exe").empty())
            << "no geometrija.exe in " << GEOMETRIJA_WINDOWS_DIR << ": run ./dev.sh windows first";
        // The prefix is made once, on the first run, and kept in the build folder.
        Program pripremi(GEOMETRIJA_WINE, GEOMETRIJA_WINE, {"wineboot", "-i"}, "", WINE_OKRUZENJE);
        ASSERT_EQ(0, pripremi.waitExit(120)) << pripremi.errors();
    }
    // The helpers Wine started for these programs (its server, explorer.exe,
    // services.exe) would linger for a while and outlive the X server: the
    // server of this prefix ends them and itself.
    static void TearDownTestSuite()
    {
        Program server(GEOMETRIJA_WINESERVER, GEOMETRIJA_WINESERVER, {"-k"}, "", WINE_OKRUZENJE);
        server.waitExit(30);
    }
};

TEST_F(Windows, TranscriptsEqualTheLinuxProgramsApartFromCrlf)
{
    const std::string lekcije = std::string(GEOMETRIJA_IZVORNI_DIR) + "/docs/lekcije/";
    const std::vector<std::string> odgovori = {
        readFile(lekcije + "elipsa.txt"), readFile(lekcije + "hiperbola.txt"),
        readFile(lekcije + "parabola.txt"), readFile(lekcije + "parabola-negativno-p.txt"),
        "1\n3 5\n45\n",             // b > a: the foci and slopes not a number, "-nan"
        "1\n1e38 1e38\n0x1p5\n",    // a hex float; infinite products
        "2\n3 0\ninf\n-1\n",        // infinities read and printed
        "4294967299\n10\n.5\n1\n",  // "%d" beyond int keeps its low 32 bits: 3
        "3\n1e1\n5e-1\n4294967295\n",  // the direction then reads as -1
        "3\n-nan\n0.5\n1\n", "3.7\n0.5\n1x\n", "abc\n",
    };
    for (const std::string& o : odgovori) {
        Program linux(programPath("geometrija"), "geometrija");
        const std::string ocekivano = prepis(linux, o);
        std::unique_ptr<Program> windows = podWineom("geometrija.exe");
        const std::string ispis = prepis(*windows, o);
        EXPECT_EQ(ocekivano, bezCR(ispis)) << "answers:\n" << o;
        EXPECT_EQ(ispis.size() - bezCR(ispis).size(), std::count(ispis.begin(), ispis.end(), '\n'))
            << "every line ends in CRLF";
    }
}

TEST_F(Windows, RejectedAngleEndsWithStatusOne)
{
    std::unique_ptr<Program> program = podWineom("geometrija.exe");
    program->type("1\n5 3\n400\n");
    EXPECT_EQ(1, program->waitExit(30));
    EXPECT_NE(std::string::npos,
              program->output().find("Greska,ugao ne moze biti manji od 0 i veci od 360!\r\n"))
        << program->output();
}

TEST_F(Windows, WindowPixelsAgreeWithTheLinuxWindow)
{
    const std::string hiperbola = readFile(std::string(GEOMETRIJA_IZVORNI_DIR) + "/docs/lekcije/hiperbola.txt");
    // The dashed line from the right focus, drawn last but the axes, shows the frame is there.
    auto nacrtano = [](const Image& i) {
        return i.width == 500 && colourNear(i, pixelX(3.605551), pixelY(0.2), MASLINASTA, 3);
    };
    Image ocekivano;
    {
        // Gone before Wine's window appears, so no window lookup can take it.
        Program linux(programPath("geometrija"), "geometrija");
        prepis(linux, hiperbola);
        ocekivano = linux.screenshotWhen(nacrtano);
    }
    std::unique_ptr<Program> windows = podWineom("geometrija.exe");
    prepis(*windows, hiperbola);
    const Image slika = windows->screenshotWhen(nacrtano, 30);
    ASSERT_EQ(500, slika.width);
    ASSERT_EQ(500, slika.height);
    EXPECT_TRUE(colourNear(slika, pixelX(-3), pixelY(0.5), CRNA, 2, 90)) << "left vertex of the curve";
    std::string gde;
    EXPECT_TRUE(colourNear(slika, pixelX(0), pixelY(25), CRNA, 1, 140)) << "y axis";
    EXPECT_TRUE(clear(slika, pixelX(-14), pixelY(-0.7), pixelX(-8), pixelY(-4), &gde))
        << "inside the left branch, below the axis: " << gde;

    const Difference razlika = compare(ocekivano, slika, 2);
    const double slaganje = 1.0 - static_cast<double>(razlika.count) / slika.px.size();
    std::printf("%zu of %zu pixels differ by more than 2 (agreement %.4f %%), largest difference %d\n",
                razlika.count, slika.px.size(), 100 * slaganje, razlika.largest);
    EXPECT_GE(slaganje, 0.999) << razlika.count << " pixels differ by more than 2";
    if (slaganje < 0.999) {
        savePpm(ocekivano, "windows-linux.ppm");
        savePpm(slika, "windows-wine.ppm");
    }
}

TEST_F(Windows, AKeyRedrawsAndPrintsAgainQEndsWithStatusZeroAsDoesClosing)
{
    std::unique_ptr<Program> program = podWineom("geometrija.exe");
    program->type("3\n10\n0.5\n1\n");
    ASSERT_TRUE(program->waitForOutput(ODBIJENI, 1, 30)) << program->output();
    program->pressKey("A");
    EXPECT_TRUE(program->waitForOutput(ODBIJENI, 2)) << "no redraw after A:\n" << program->output();
    program->pressKey("q");
    EXPECT_EQ(0, program->waitExit(30));

    std::unique_ptr<Program> zatvoren = podWineom("geometrija.exe");
    zatvoren->type("3\n10\n0.5\n1\n");
    ASSERT_TRUE(zatvoren->waitForOutput(ODBIJENI, 1, 30)) << zatvoren->output();
    zatvoren->closeWindow();
    EXPECT_EQ(0, zatvoren->waitExit(30)) << "closing the window";
}

TEST_F(Windows, DemoPrintsNothing)
{
    std::unique_ptr<Program> program = podWineom("geometrija-demo.exe");
    const Image slika = program->screenshotWhen(
        [](const Image& i) { return i.width == 500 && colourNear(i, pixelX(-5), pixelY(20), ZELENA); }, 30);
    EXPECT_TRUE(colourNear(slika, pixelX(-5), pixelY(20), ZELENA)) << "the demonstration's directrix";
    program->drain(0.3);
    program->pressKey("q");
    EXPECT_EQ(0, program->waitExit(30));
    EXPECT_EQ("", program->output());
}

}  // namespace
