// The gallery kept true: each lesson drawn afresh by geometrija-slika must give
// its committed picture, drawing (SVG), sound (WAV) and transcript, and the
// demonstration its picture.
// `./dev.sh galerija` makes them all again.
#include "harness.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

using namespace e2e;
namespace fs = std::filesystem;

const fs::path DOKUMENTI = fs::path(GEOMETRIJA_IZVORNI_DIR) / "docs";
const std::string OSVEZI = "; if the change is meant, run ./dev.sh galerija and commit the result";

// Draws `program`'s picture of the answers `odgovori` and compares it with the
// gallery's `ime`.png within 2 per channel; returns what the program printed.
std::string uporedi(const std::string& program, const std::string& odgovori, const std::string& ime)
{
    const std::string png = fs::temp_directory_path() / (ime + "." + std::to_string(getpid()) + ".png");
    Program slika(programPath(program), program, {png}, {}, {"DISPLAY"});
    slika.type(odgovori);
    slika.closeInput();
    EXPECT_EQ(0, slika.waitExit()) << slika.errors();
    std::string greska;
    const Image sveza = readPng(png, &greska), sacuvana = readPng(DOKUMENTI / "galerija" / (ime + ".png"));
    fs::remove(png);
    EXPECT_EQ(500, sveza.width) << greska;
    EXPECT_EQ(sveza.px.size(), sacuvana.px.size()) << OSVEZI;
    const Difference razlika = compare(sveza, sacuvana, 2);
    EXPECT_EQ(0u, razlika.count) << "pixels off by more than 2 (largest " << razlika.largest << ")" << OSVEZI;
    return slika.output();
}

TEST(Galerija, EachLessonAndTheDemonstrationDrawTheirCommittedPictures)
{
    std::set<std::string> lekcije, slike;
    for (const auto& e : fs::directory_iterator(DOKUMENTI / "lekcije"))
        if (e.path().extension() == ".txt")
            lekcije.insert(e.path().stem());
    for (const auto& e : fs::directory_iterator(DOKUMENTI / "galerija"))
        slike.insert(e.path().stem());
    ASSERT_FALSE(lekcije.empty());
    for (const std::string& ime : lekcije) {
        SCOPED_TRACE(ime);
        const std::string lekcija = DOKUMENTI / "lekcije" / ime;
        EXPECT_EQ(readFile(lekcija + ".ispis"), uporedi("geometrija-slika", readFile(lekcija + ".txt"), ime))
            << "transcript " << ime << ".ispis" << OSVEZI;
        // The drawing as cairo writes it, and the sound, exactly.
        for (const std::string vrsta : {".svg", ".wav"}) {
            const std::string put = fs::temp_directory_path() / (ime + "." + std::to_string(getpid()) + vrsta);
            Program slika(programPath("geometrija-slika"), "geometrija-slika", {put}, {}, {"DISPLAY"});
            slika.type(readFile(lekcija + ".txt"));
            slika.closeInput();
            EXPECT_EQ(0, slika.waitExit()) << slika.errors();
            const std::string sveza = readFile(put);
            fs::remove(put);
            EXPECT_FALSE(sveza.empty());
            EXPECT_TRUE(sveza == readFile(DOKUMENTI / "galerija" / (ime + vrsta)))
                << ime << vrsta << " differs from a fresh one" << OSVEZI;
        }
    }
    EXPECT_EQ("", uporedi("geometrija-slika-demo", "", "demo"));
    // Nothing in the gallery without its lesson: a picture left over would go stale.
    lekcije.insert("demo");
    EXPECT_EQ(lekcije, slike) << OSVEZI;
}

}  // namespace
