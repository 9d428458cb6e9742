// The gallery kept true: every lesson drawn afresh by geometrija-slika must
// give its committed picture and transcript, and the demonstration its
// picture. `./dev.sh galerija` makes them all again.
#include "harness.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace e2e;

const std::string LEKCIJE = std::string(GEOMETRIJA_IZVORNI_DIR) + "/docs/lekcije/";
const std::string GALERIJA = std::string(GEOMETRIJA_IZVORNI_DIR) + "/docs/galerija/";
const std::string DEMO = "demo";  // the demonstration's picture, demo.png
const std::string OSVEZI = "; if the change is meant, run ./dev.sh galerija and commit the result";

// The names in `folder` that end in `nastavak`, without it, sorted.
std::vector<std::string> imena(const std::string& folder, const std::string& nastavak)
{
    std::vector<std::string> rezultat;
    if (DIR* d = opendir(folder.c_str())) {
        while (const dirent* e = readdir(d)) {
            const std::string ime = e->d_name;
            if (ime.size() > nastavak.size() && ime.compare(ime.size() - nastavak.size(), nastavak.size(), nastavak) == 0)
                rezultat.push_back(ime.substr(0, ime.size() - nastavak.size()));
        }
        closedir(d);
    }
    std::sort(rezultat.begin(), rezultat.end());
    return rezultat;
}

// The fresh picture against the committed one, pixel by pixel within 2.
void uporediSliku(const std::string& nova, const std::string& ime)
{
    std::string greska;
    const Image sveza = readPng(nova, &greska);
    ASSERT_EQ(500, sveza.width) << greska;
    const Image sacuvana = readPng(GALERIJA + ime + ".png", &greska);
    ASSERT_EQ(sveza.width, sacuvana.width) << greska << OSVEZI;
    ASSERT_EQ(sveza.height, sacuvana.height) << OSVEZI;
    const Difference razlika = compare(sveza, sacuvana, 2);
    EXPECT_EQ(0u, razlika.count) << "pixels of " << ime << ".png off by more than 2 (largest " << razlika.largest
                                 << ")" << OSVEZI;
}

TEST(Galerija, EachLessonAndTheDemonstrationDrawTheirCommittedPictures)
{
    const std::vector<std::string> lekcije = imena(LEKCIJE, ".txt");
    ASSERT_FALSE(lekcije.empty()) << "no lessons in " << LEKCIJE;
    // Nothing in the gallery without its lesson: a picture left over would go stale.
    std::vector<std::string> ocekivane = lekcije;
    ocekivane.push_back(DEMO);
    std::sort(ocekivane.begin(), ocekivane.end());
    EXPECT_EQ(ocekivane, imena(GALERIJA, ".png")) << OSVEZI;

    TempDir folder;
    for (const std::string& ime : lekcije) {
        SCOPED_TRACE(ime);
        const std::string png = folder.path + "/" + ime + ".png";
        Program slika(programPath("geometrija-slika"), "geometrija-slika", {png}, {}, {"DISPLAY"});
        slika.type(readFile(LEKCIJE + ime + ".txt"));
        slika.closeInput();
        ASSERT_EQ(0, slika.waitExit()) << slika.errors();
        EXPECT_EQ(readFile(LEKCIJE + ime + ".ispis"), slika.output()) << "transcript " << ime << ".ispis" << OSVEZI;
        uporediSliku(png, ime);
    }

    const std::string png = folder.path + "/" + DEMO + ".png";
    Program demo(programPath("geometrija-slika-demo"), "geometrija-slika-demo", {png}, {}, {"DISPLAY"});
    demo.closeInput();
    ASSERT_EQ(0, demo.waitExit()) << demo.errors();
    EXPECT_EQ("", demo.output());
    uporediSliku(png, DEMO);
}

}  // namespace
