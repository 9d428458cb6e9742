// geometrija-slika run for real: its picture against the window of geometrija
// for the same answers, and its refusals of bad use.
#include "harness.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace e2e;
namespace fs = std::filesystem;

const std::string LEKCIJE = std::string(GEOMETRIJA_IZVORNI_DIR) + "/docs/lekcije/";
const std::vector<std::string> BEZ_EKRANA = {"DISPLAY"};  // the picture needs no X server

// A private, empty folder for the pictures of one test.
fs::path folder(const std::string& ime)
{
    const fs::path f = fs::temp_directory_path() / (ime + "." + std::to_string(getpid()));
    fs::remove_all(f);
    fs::create_directories(f);
    return f;
}

TEST(Slika, PictureMatchesTheWindowForEachConic)
{
    const fs::path slike = folder("geometrija-slika");
    for (const std::string ime : {"elipsa", "hiperbola", "parabola"}) {
        SCOPED_TRACE(ime);
        const std::string odgovori = readFile(LEKCIJE + ime + ".txt");
        Program prozor(programPath("geometrija"), "geometrija");
        prozor.type(odgovori);
        ASSERT_TRUE(prozor.waitForOutput("Jednacina odbijenog zraka je:")) << prozor.output();
        // The axes cross at the centre in every scene: the frame has arrived.
        const Image ekran = prozor.screenshotWhen(
            [](const Image& i) { return i.width == 500 && !clear(i, 249, 249, 250, 250); });

        const std::string png = slike / (ime + ".png");
        Program slika(programPath("geometrija-slika"), "geometrija-slika", {png}, {}, BEZ_EKRANA);
        slika.type(odgovori);
        slika.closeInput();
        ASSERT_EQ(0, slika.waitExit()) << slika.errors();
        // The window's console goes on with each later frame; up to the end of
        // the first one it is the picture's console.
        prozor.drain(0.1);
        EXPECT_EQ(slika.output(), prozor.output().substr(0, slika.output().size()));

        std::string greska;
        const Image datoteka = readPng(png, &greska);
        ASSERT_EQ(ekran.width, datoteka.width) << greska;
        ASSERT_EQ(ekran.height, datoteka.height);
        const Difference razlika = compare(ekran, datoteka, 2);
        const double slaganje = 1.0 - static_cast<double>(razlika.count) / ekran.px.size();
        std::printf("%s: %zu of %zu pixels differ by more than 2 (agreement %.4f %%), largest difference %d\n",
                    ime.c_str(), razlika.count, ekran.px.size(), 100 * slaganje, razlika.largest);
        EXPECT_GE(slaganje, 0.999) << razlika.count << " pixels differ by more than 2";
    }
    fs::remove_all(slike);
}

TEST(Slika, BadUseIsRefusedWithItsOwnStatusAndLeavesNoFile)
{
    const fs::path prazan = folder("geometrija-slika-odbijanja");
    const std::string png = prazan / "slika.png";
    struct Slucaj {
        std::vector<std::string> argumenti;
        int status;
        std::string poruka;  // part of the one line on standard error
        std::vector<std::string> okruzenje = BEZ_EKRANA;
    };
    const std::vector<Slucaj> slucajevi = {
        {{}, 64, "no output file"},
        {{png, "--size", "500"}, 64, "malformed size '500'"},
        {{png, "--size", "0x500"}, 64, "out of range"},
        {{png, "--size", "500x8193"}, 64, "out of range"},
        {{png, "--boja"}, 64, "unknown option '--boja'"},
        {{png, "--size=0x500"}, 64, "out of range"},
        {{prazan / "slika.gif"}, 64, "extension must be .png, .svg, .pdf or .wav"},
        {{prazan / "ne\nma" / "slika.svg"}, 73, "cannot write '" + (prazan / "ne\\nma").string()},
        {{prazan / "nema" / "slika.png"}, 73, "cannot write"},
        // Not even root may create a file here, though access() allows it: a trial file finds it.
        {{"/proc/slika.png"}, 73, "cannot write '/proc/slika.png'"},
        {{png}, 69, "no off-screen OpenGL", {"DISPLAY", "LIBGL_DRIVERS_PATH=/nonexistent"}},
    };
    for (const Slucaj& s : slucajevi) {
        SCOPED_TRACE("geometrija-slika " + (s.argumenti.empty() ? "" : s.argumenti.back()));
        Program program(programPath("geometrija-slika"), "geometrija-slika", s.argumenti, {}, s.okruzenje);
        program.type("1\n5 3\n45\n");
        program.closeInput();
        EXPECT_EQ(s.status, program.waitExit());
        const std::string& e = program.errors();
        EXPECT_EQ(0u, e.find("geometrija-slika: ")) << e;
        EXPECT_NE(std::string::npos, e.find(s.poruka)) << "expected '" << s.poruka << "' in: " << e;
        EXPECT_EQ(e.size() - 1, e.find('\n')) << "one line: " << e;
        EXPECT_EQ("", program.output()) << "refused only after the dialogue";
        EXPECT_TRUE(fs::is_empty(prazan)) << "a file was left in " << prazan;
    }

    for (const auto& [opcija, pocetak] : {std::pair<std::string, std::string>{"--help", "usage: geometrija-slika "},
                                          {"--version", "geometrija-slika " GEOMETRIJA_VERZIJA "\n"}}) {
        Program program(programPath("geometrija-slika"), "geometrija-slika", {opcija}, {}, BEZ_EKRANA);
        EXPECT_EQ(0, program.waitExit()) << opcija;
        EXPECT_EQ(0u, program.output().find(pocetak)) << opcija << ": " << program.output();
    }

    // A value the dialogue rejects ends it with the dialogue's own status and
    // message, and leaves no file, not even a temporary one.
    Program program(programPath("geometrija-slika"), "geometrija-slika", {png}, {}, BEZ_EKRANA);
    program.type("1\n5 3\n400\n");
    program.closeInput();
    EXPECT_EQ(1, program.waitExit());
    EXPECT_NE(std::string::npos, program.output().find("Greska,ugao ne moze biti manji od 0 i veci od 360!\n"));
    EXPECT_EQ("", program.errors());
    EXPECT_TRUE(fs::is_empty(prazan)) << "a file was left in " << prazan;
    fs::remove_all(prazan);
}

}  // namespace
