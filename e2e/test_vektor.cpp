// geometrija-slika's vector drawings against its PNG, their size, and its
// writer under hostile targets.
#include "harness.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace e2e;
namespace fs = std::filesystem;

const std::string LEKCIJE = std::string(GEOMETRIJA_IZVORNI_DIR) + "/docs/lekcije/";
const std::vector<std::string> BEZ_EKRANA = {"DISPLAY"};

fs::path folder(const std::string& ime)
{
    const fs::path f = fs::temp_directory_path() / (ime + "." + std::to_string(getpid()));
    fs::remove_all(f);
    fs::create_directories(f);
    return f;
}

// Runs geometrija-slika with the answers; its exit status.
int nacrtaj(const std::vector<std::string>& argumenti, const std::string& odgovori, std::string* greske = nullptr)
{
    Program slika(programPath("geometrija-slika"), "geometrija-slika", argumenti, {}, BEZ_EKRANA);
    slika.type(odgovori);
    slika.closeInput();
    const int status = slika.waitExit(60);
    if (greske)
        *greske = slika.errors();
    return status;
}

// The colour a pixel shows, whatever its strength, as smoothing leaves
// colours partly covered: 0 black (grey), 1 olive, 2 green, -1 white or
// nearly (no channel below 192) and any other.
int vrsta(Rgb c)
{
    if (distance(c, BELA) < 64)
        return -1;
    if (std::abs(c.r - c.g) <= 24 && std::abs(c.g - c.b) <= 24)
        return 0;
    if (std::abs(c.r - c.g) <= 24 && c.b < c.r - 40)
        return 1;
    if (c.g > c.r + 40 && std::abs(c.r - c.b) <= 24)
        return 2;
    return -1;
}

// Pixels of `a` in one of the three colours with no pixel of that colour
// within 1 pixel in `b`.
size_t bezPara(const Image& a, const Image& b)
{
    size_t bez = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const int v = vrsta(a.at(x, y));
            bool ima = v < 0;
            for (int dy = -1; dy <= 1 && !ima; ++dy)
                for (int dx = -1; dx <= 1 && !ima; ++dx)
                    ima = b.inside(x + dx, y + dy) && vrsta(b.at(x + dx, y + dy)) == v;
            bez += !ima;
        }
    return bez;
}

size_t obojenih(const Image& a)
{
    size_t n = 0;
    for (const Rgb& c : a.px)
        n += vrsta(c) >= 0;
    return n;
}

struct Lekcija {
    std::string ime;
    int x0, y0, x1, y1;  // a region the picture leaves clear
};

TEST(Vektor, SvgAgreesWithThePngForEachLessonAndThePdfPageHasThePictureSize)
{
    const fs::path slike = folder("geometrija-vektor");
    for (const Lekcija& l : {Lekcija{"elipsa", 300, 10, 490, 200}, Lekcija{"hiperbola", 260, 5, 490, 60},
                             Lekcija{"parabola", 10, 270, 190, 490},
                             Lekcija{"parabola-negativno-p", 310, 270, 490, 490}}) {
        SCOPED_TRACE(l.ime);
        const std::string odgovori = readFile(LEKCIJE + l.ime + ".txt");
        const std::string png = slike / (l.ime + ".png"), svg = slike / (l.ime + ".svg"),
                          pdf = slike / (l.ime + ".pdf"), raster = slike / (l.ime + ".svg.png");
        for (const std::string& f : {png, svg, pdf})
            ASSERT_EQ(0, nacrtaj({f}, odgovori)) << f;
        const std::string naredba = std::string(GEOMETRIJA_RSVG) + " -w 500 -h 500 -o '" + raster + "' '" + svg + "'";
        ASSERT_EQ(0, std::system(naredba.c_str())) << naredba;
        const Image p = readPng(png), s = readPng(raster);
        ASSERT_EQ(500, s.width);
        ASSERT_EQ(500, s.height);
        const size_t bezUSvg = bezPara(p, s), bezUPng = bezPara(s, p);
        std::printf("%s: %zu of %zu coloured PNG pixels and %zu of %zu coloured SVG pixels have no match within 1 px\n",
                    l.ime.c_str(), bezUSvg, obojenih(p), bezUPng, obojenih(s));
        EXPECT_EQ(0u, bezUPng) << "SVG pixels without a PNG pixel of their colour within 1 px";
        EXPECT_EQ(0u, bezUSvg) << "PNG pixels without an SVG pixel of their colour within 1 px";
        std::string gde;
        EXPECT_TRUE(clear(s, l.x0, l.y0, l.x1, l.y1, &gde)) << gde;

        // 500 pixels at 96 an inch are 375 points.
        const std::string stranica = readFile(pdf);
        EXPECT_TRUE(std::regex_search(stranica, std::regex("/MediaBox \\[ ?0 0 375 375 ?\\]")))
            << "page box: " << stranica.substr(stranica.find("/MediaBox"), 40);
    }

    // The hyperbola's dashed line, from R to F2: 24 pixels drawn, 24 left,
    // counted along x from R as the window does, in the SVG as in the PNG.
    const Image p = readPng(slike / "hiperbola.png"), s = readPng(slike / "hiperbola.svg.png");
    const double rx = -0.75 * std::sqrt(29.0), ry = std::sqrt(13.0) / 2, f2 = std::sqrt(13.0);
    const double x0 = 250 + rx * PIKSELA_PO_JEDINICI, y0 = 250 - ry * PIKSELA_PO_JEDINICI;
    const double duzina = (f2 - rx) * PIKSELA_PO_JEDINICI, nagib = ry / (f2 - rx);
    for (double d = 12; d < duzina - 12; d += 24) {
        const int x = static_cast<int>(x0 + d), y = static_cast<int>(std::lround(y0 + d * nagib - 0.5));
        if (std::abs(x - 250) < 6)
            continue;  // the y axis crosses here
        const bool crtica = static_cast<int>(d / 24) % 2 == 0;
        for (const Image* slika : {&p, &s})
            EXPECT_EQ(crtica, colourNear(*slika, x, y, MASLINASTA, 1))
                << (slika == &p ? "PNG" : "SVG") << " at (" << x << ", " << y << "), " << d << " px from R";
    }
    fs::remove_all(slike);
}

// The inputs that send the most points or the farthest ends.
TEST(Vektor, WorstInputsStaySmallAndTheTangentBecomesFewPaths)
{
    const fs::path slike = folder("geometrija-vektor-najgore");
    for (const std::string odgovori : {"1\n1e6 1e6\n135\n", "2\n3 1e-30\n0.5\n1\n", "3\n1e38\n0.5\n1\n",
                                       "1\n5 3\n45\n"}) {
        SCOPED_TRACE(odgovori);
        for (const std::string nastavak : {".svg", ".pdf"}) {
            const std::string f = slike / ("crtez" + nastavak);
            ASSERT_EQ(0, nacrtaj({f}, odgovori));
            EXPECT_LT(fs::file_size(f), 200u * 1024) << f;
        }
        const std::string svg = readFile(slike / "crtez.svg");
        size_t putanja = 0;
        for (size_t i = svg.find("<path"); i != std::string::npos; i = svg.find("<path", i + 1))
            ++putanja;
        std::string ime = odgovori;
        std::replace(ime.begin(), ime.end(), '\n', ' ');
        std::printf("%s: %zu paths, SVG %zu bytes, PDF %ju bytes\n", ime.c_str(), putanja, svg.size(),
                    static_cast<std::uintmax_t>(fs::file_size(slike / "crtez.pdf")));
        EXPECT_LE(putanja, 20u) << "paths in the SVG";
    }
    fs::remove_all(slike);
}

TEST(Vektor, TheWriterNeverHarmsWhatThePathNames)
{
    const fs::path f = folder("geometrija-vektor-upis");
    const std::string elipsa = "1\n5 3\n45\n";
    std::string greske;

    // A device node and a FIFO are refused before the first question, and stay.
    const std::string uredjaj = f / "uredjaj.svg", cev = f / "cev.png";
    ASSERT_EQ(0, mknod(uredjaj.c_str(), S_IFCHR | 0666, makedev(1, 3))) << "mknod needs root";
    ASSERT_EQ(0, mkfifo(cev.c_str(), 0666));
    for (const std::string& cilj : {uredjaj, cev}) {
        Program slika(programPath("geometrija-slika"), "geometrija-slika", {cilj}, {}, BEZ_EKRANA);
        slika.closeInput();
        EXPECT_EQ(73, slika.waitExit()) << cilj;
        EXPECT_EQ("", slika.output()) << "asked before refusing " << cilj;
        EXPECT_NE(std::string::npos, slika.errors().find("not a regular file")) << slika.errors();
    }
    struct stat st {};
    EXPECT_TRUE(stat(uredjaj.c_str(), &st) == 0 && S_ISCHR(st.st_mode)) << "the device node was replaced";
    EXPECT_TRUE(stat(cev.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) << "the FIFO was replaced";

    // A name as long as the file system allows is written; one byte more is
    // refused before the dialogue.
    const std::string dugo = f / (std::string(251, 'd') + ".pdf");
    EXPECT_EQ(0, nacrtaj({dugo}, elipsa, &greske)) << greske;
    EXPECT_TRUE(fs::exists(dugo));
    Program predugo(programPath("geometrija-slika"), "geometrija-slika", {dugo + "x.pdf"}, {}, BEZ_EKRANA);
    predugo.closeInput();
    EXPECT_EQ(73, predugo.waitExit());
    EXPECT_EQ("", predugo.output());

    // A replaced file keeps its permission bits.
    chmod(dugo.c_str(), 0604);
    EXPECT_EQ(0, nacrtaj({dugo}, elipsa));
    EXPECT_EQ(0604u, static_cast<unsigned>(fs::status(dugo).permissions() & fs::perms::mask));
    fs::remove(dugo);

    // A signal while a large picture is written leaves no file behind.
    Program slika(programPath("geometrija-slika"), "geometrija-slika", {f / "velika.png", "--size=8192x8192"}, {},
                  BEZ_EKRANA);
    slika.type(elipsa);
    slika.closeInput();
    ASSERT_TRUE(slika.waitForOutput("Jednacina odbijenog zraka je:", 1, 60)) << "the frame was never drawn";
    bool privremena = false;
    for (int i = 0; i < 600 && !privremena && slika.running(); ++i) {
        for (const auto& e : fs::directory_iterator(f))
            privremena = privremena || e.path().filename().string().rfind(".geometrija-slika-", 0) == 0;
        if (!privremena)
            usleep(20000);
    }
    ASSERT_TRUE(privremena) << "the temporary file never appeared";
    kill(slika.pid(), SIGTERM);
    slika.waitExit(30);
    std::vector<std::string> ostalo;
    for (const auto& e : fs::directory_iterator(f))
        if (e.path() != uredjaj && e.path() != cev)
            ostalo.push_back(e.path().filename());
    EXPECT_TRUE(ostalo.empty()) << "left after SIGTERM: " << ostalo.front();
    fs::remove_all(f);
}

}  // namespace
