// geometrija-slika run for real: its picture against the window of geometrija
// for the same answers, and its refusals of bad use.
#include "harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace e2e;

const std::string LEKCIJE = std::string(GEOMETRIJA_IZVORNI_DIR) + "/docs/lekcije/";
const std::string ODBIJENI = "Jednacina odbijenog zraka je:";
// Without DISPLAY: the picture must need no X server.
const std::vector<std::string> BEZ_EKRANA = {"DISPLAY"};

TEST(Slika, PictureMatchesTheWindowForEachConic)
{
    TempDir folder;
    for (const std::string ime : {"elipsa", "hiperbola", "parabola"}) {
        SCOPED_TRACE(ime);
        const std::string odgovori = readFile(LEKCIJE + ime + ".txt");
        ASSERT_FALSE(odgovori.empty()) << "no lesson " << LEKCIJE << ime << ".txt";

        Program prozor(programPath("geometrija"), "geometrija");
        prozor.type(odgovori);
        ASSERT_TRUE(prozor.waitForOutput(ODBIJENI)) << "no frame; console:\n" << prozor.output();
        // The axes cross at the centre in every scene: the frame has arrived.
        const Image ekran = prozor.screenshotWhen(
            [](const Image& i) { return i.width == 500 && !clear(i, 249, 249, 250, 250); });
        ASSERT_EQ(500, ekran.width);
        ASSERT_EQ(500, ekran.height);

        const std::string png = folder.path + "/" + ime + ".png";
        Program slika(programPath("geometrija-slika"), "geometrija-slika", {png}, {}, BEZ_EKRANA);
        slika.type(odgovori);
        slika.closeInput();
        ASSERT_EQ(0, slika.waitExit()) << slika.errors();
        EXPECT_EQ("", slika.errors());
        // The window's console goes on with every later frame; up to the first
        // frame's empty line it is the picture's console.
        prozor.drain(0.1);
        EXPECT_EQ(slika.output(), prozor.output().substr(0, slika.output().size()));
        EXPECT_EQ(1u, slika.occurrences(ODBIJENI));

        std::string greska;
        const Image datoteka = readPng(png, &greska);
        ASSERT_EQ(500, datoteka.width) << greska;
        ASSERT_EQ(500, datoteka.height);
        const Difference razlika = compare(ekran, datoteka, 2);
        const double slaganje = 1.0 - static_cast<double>(razlika.count) / ekran.px.size();
        std::printf("%s: %zu of %zu pixels differ by more than 2 (agreement %.4f %%), largest difference %d\n",
                    ime.c_str(), razlika.count, ekran.px.size(), 100 * slaganje, razlika.largest);
        if (slaganje < 0.999) {
            savePpm(ekran, "/tmp/geometrija-slika-" + ime + "-prozor.ppm");
            savePpm(datoteka, "/tmp/geometrija-slika-" + ime + "-png.ppm");
        }
        EXPECT_GE(slaganje, 0.999) << razlika.count << " pixels differ by more than 2 (window and PNG saved as "
                                   << "/tmp/geometrija-slika-" << ime << "-*.ppm)";
    }
}

TEST(Slika, BadUseIsRefusedWithItsOwnStatusAndLeavesNoFile)
{
    TempDir folder;
    const std::string png = folder.path + "/slika.png";
    struct Slucaj {
        std::vector<std::string> argumenti;
        int status;
        std::string poruka;  // part of the one line on standard error
        std::vector<std::string> okruzenje = {};
    };
    const std::vector<Slucaj> slucajevi = {
        {{}, 64, "no output file"},
        {{png, "--size"}, 64, "--size needs a value"},
        {{png, "--size", "500"}, 64, "malformed size '500'"},
        {{png, "--size", "500x-5"}, 64, "malformed size"},
        {{png, "--size", "0x500"}, 64, "out of range"},
        {{png, "--size", "500x8193"}, 64, "out of range"},
        {{png, "--boja"}, 64, "unknown option '--boja'"},
        {{png, png + "2"}, 64, "one output file only"},
        {{folder.path + "/nema/slika.png"}, 73, "cannot write"},
        {{folder.path}, 73, "cannot write"},
        {{png}, 69, "no off-screen OpenGL", {"LIBGL_DRIVERS_PATH=/nonexistent"}},
    };
    for (const Slucaj& s : slucajevi) {
        std::string opis = "geometrija-slika";
        for (const std::string& a : s.argumenti)
            opis += " " + a;
        SCOPED_TRACE(opis);
        std::vector<std::string> okruzenje = BEZ_EKRANA;
        okruzenje.insert(okruzenje.end(), s.okruzenje.begin(), s.okruzenje.end());
        Program program(programPath("geometrija-slika"), "geometrija-slika", s.argumenti, {}, okruzenje);
        program.type("1\n5 3\n45\n");
        program.closeInput();
        EXPECT_EQ(s.status, program.waitExit());
        const std::string& e = program.errors();
        EXPECT_EQ(0u, e.find("geometrija-slika: ")) << e;
        EXPECT_NE(std::string::npos, e.find(s.poruka)) << "expected '" << s.poruka << "' in: " << e;
        EXPECT_EQ(e.size() - 1, e.find('\n')) << "one line: " << e;
        EXPECT_EQ("", program.output()) << "refused before the dialogue";
        EXPECT_EQ(std::vector<std::string>{}, folder.entries());
    }

    // Refused at write time, after the dialogue: a folder nothing may be
    // created in, even by root.
    {
        Program program(programPath("geometrija-slika"), "geometrija-slika", {"/proc/slika.png"}, {},
                        BEZ_EKRANA);
        program.type("1\n5 3\n45\n");
        program.closeInput();
        EXPECT_EQ(73, program.waitExit());
        EXPECT_EQ(0u, program.errors().find("geometrija-slika: cannot write '/proc/slika.png'"))
            << program.errors();
    }

    // A value the dialogue rejects ends it with the dialogue's own status and
    // message, and no file, not even a temporary one.
    Program program(programPath("geometrija-slika"), "geometrija-slika", {png}, {}, BEZ_EKRANA);
    program.type("1\n5 3\n400\n");
    program.closeInput();
    EXPECT_EQ(1, program.waitExit());
    EXPECT_NE(std::string::npos, program.output().find("Greska,ugao ne moze biti manji od 0 i veci od 360!\n"))
        << program.output();
    EXPECT_EQ("", program.errors());
    EXPECT_EQ(std::vector<std::string>{}, folder.entries());
}

}  // namespace
