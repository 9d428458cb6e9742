// geometrija.exe and geometrija-demo.exe, cross-built for Windows, run under
// Wine against the tests' private X server, beside the Linux programs.
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace e2e;

const std::string ODBIJENI = "Jednacina odbijenog zraka je:";
const std::string POGRESAN = "Pogresan izbor,pokusajte ponovo!";
const std::string PREFIKS = std::string(GEOMETRIJA_WINDOWS_DIR) + "/wine";

// The Wine of the tests: its own prefix in the Windows build folder, quiet, made
// without Mono and Gecko, and with no menu entries written outside the prefix
// for the installed shortcuts.
const std::vector<std::string> WINE_OKRUZENJE = {"WINEPREFIX=" + PREFIKS, "WINEDEBUG=-all",
                                                 "WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d"};

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

// ---- The MSI, as Windows Installer (Wine's) installs, upgrades and removes it ----

namespace fs = std::filesystem;

const std::string VERZIJA_MSI = GEOMETRIJA_VERZIJA;
const std::string MSI = std::string(GEOMETRIJA_WINDOWS_DIR) + "/geometrija-" + VERZIJA_MSI + ".msi";
const std::string INSTALIRANO = PREFIKS + "/drive_c/Program Files/geometrija";
const std::string INSTALIRANO_WINDOWS = "C:\\Program Files\\geometrija\\";
const std::string MENI = PREFIKS + "/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/geometrija";
const std::string UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string PROBA = fs::absolute("msi-proba").string();  // this test's own files

// A host path as Wine's drive Z: names it.
std::string naZ(const std::string& putanja)
{
    std::string z = "Z:" + putanja;
    std::replace(z.begin(), z.end(), '/', '\\');
    return z;
}

// A Windows command under Wine, to its end; the time of a named step is printed
// and kept in the test's record. Wine gives a status beyond 255 by its low byte.
int wineKorak(const std::string& korak, const std::vector<std::string>& argumenti,
              std::string* izlaz = nullptr)
{
    const auto pocetak = std::chrono::steady_clock::now();
    Program program(GEOMETRIJA_WINE, GEOMETRIJA_WINE, argumenti, "", WINE_OKRUZENJE);
    program.closeInput();
    const int status = program.waitExit(120);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - pocetak).count();
    if (!korak.empty()) {
        std::printf("Wine, %s: %.2f s\n", korak.c_str(), s);
        testing::Test::RecordProperty("sekundi_" + korak, std::to_string(s));
    }
    if (izlaz)
        *izlaz = program.output();
    return status;
}

// A host tool to its end: its status, and its output and errors in `izlaz`.
int alat(const std::string& program, const std::vector<std::string>& argumenti, std::string& izlaz,
         const std::vector<std::string>& okruzenje = {})
{
    Program p(program, program, argumenti, "", okruzenje);
    p.closeInput();
    const int status = p.waitExit(120);
    izlaz = p.output() + p.errors();
    return status;
}

// geometrija's entries in the Uninstall key of one registry view ("/reg:64", "/reg:32"),
// by product code: each value's name and data as `reg query` prints them.
std::map<std::string, std::map<std::string, std::string>> unosi(const std::string& pogled)
{
    std::string izlaz;
    wineKorak("", {"reg", "query", UNINSTALL, "/s", pogled}, &izlaz);
    std::map<std::string, std::map<std::string, std::string>> svi;
    std::string kljuc;
    std::istringstream redovi(bezCR(izlaz));
    for (std::string red; std::getline(redovi, red);) {
        std::istringstream polja(red);
        std::string ime, tip, vrednost;
        if (red.rfind("HKEY_", 0) == 0)
            kljuc = red.substr(red.rfind('\\') + 1);
        else if (polja >> ime >> tip && tip.rfind("REG_", 0) == 0 && std::getline(polja >> std::ws, vrednost))
            svi[kljuc][ime] = vrednost;
    }
    for (auto i = svi.begin(); i != svi.end();)
        i = i->second["DisplayName"] == "geometrija" ? std::next(i) : svi.erase(i);
    return svi;
}

// The file names of a folder, sorted; none when it is missing.
std::vector<std::string> imena(const std::string& fascikla)
{
    std::vector<std::string> sva;
    std::error_code greska;
    for (const auto& d : fs::directory_iterator(fascikla, greska))
        sva.push_back(d.path().filename().string());
    std::sort(sva.begin(), sva.end());
    return sva;
}

std::vector<std::string> lekcije()
{
    std::vector<std::string> sve;
    for (const std::string& ime : imena(std::string(GEOMETRIJA_IZVORNI_DIR) + "/docs/lekcije"))
        if (ime.size() > 4 && ime.compare(ime.size() - 4, 4, ".txt") == 0)
            sve.push_back(ime.substr(0, ime.size() - 4));
    return sve;
}

// A product code as Windows Installer files it in the registry: the first three
// groups reversed, each pair of digits after them swapped.
std::string spakovan(const std::string& kod)
{
    std::string h;
    for (char c : kod)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            h += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string p;
    for (auto [od, duzina] : {std::pair{0, 8}, {8, 4}, {12, 4}})
        p.append(h.rbegin() + (32 - od - duzina), h.rbegin() + (32 - od));
    for (size_t i = 16; i + 1 < h.size(); i += 2)
        p += {h[i + 1], h[i]};
    return p;
}

// What a program could leave behind in the prefix: every path under drive_c, and
// each key and value line of HKLM\Software (both views) and HKCU\Software\Microsoft.
struct Snimak {
    std::set<std::string> datoteke, registar;
};
Snimak snimi()
{
    Snimak s;
    const std::string c = PREFIKS + "/drive_c";
    for (auto d = fs::recursive_directory_iterator(c, fs::directory_options::skip_permission_denied);
         d != fs::recursive_directory_iterator(); ++d)
        s.datoteke.insert(d->path().string().substr(c.size()));
    // regedit, several times faster than reg at exporting a tree this size.
    for (const char* koren : {"HKEY_LOCAL_MACHINE\\Software", "HKEY_CURRENT_USER\\Software\\Microsoft"}) {
        const std::string izvoz = PROBA + "/registar.reg";
        fs::remove(izvoz);
        EXPECT_EQ(0, wineKorak("", {"regedit", "/E", naZ(izvoz), koren})) << koren;
        std::string tekst = readFile(izvoz);  // UTF-16: its names are ASCII
        tekst.erase(std::remove(tekst.begin(), tekst.end(), '\0'), tekst.end());
        std::istringstream redovi(bezCR(tekst));
        std::string kljuc;
        for (std::string red; std::getline(redovi, red);) {
            std::transform(red.begin(), red.end(), red.begin(), [](unsigned char z) { return std::tolower(z); });
            if (red.rfind("[", 0) == 0)
                s.registar.insert(kljuc = red);
            else if (red.rfind("\"", 0) == 0 || red.rfind("@", 0) == 0)
                s.registar.insert(kljuc + " " + red);
        }
    }
    return s;
}
// What `posle` holds that `pre` did not, of the registry only where it names one of `tragovi`.
std::vector<std::string> novo(const Snimak& pre, const Snimak& posle, const std::vector<std::string>& tragovi)
{
    std::vector<std::string> razlika;
    for (const std::string& d : posle.datoteke)
        if (!pre.datoteke.count(d))
            razlika.push_back(d);
    for (const std::string& r : posle.registar)
        if (!pre.registar.count(r) &&
            std::any_of(tragovi.begin(), tragovi.end(), [&](const std::string& t) { return r.find(t) != r.npos; }))
            razlika.push_back(r);
    return razlika;
}

// An older MSI, made as the build makes its own (windows/msi.cmake with the build's
// parameters) but for version 0.1, from a copy of the zip's folder whose programs
// are signed, as is the MSI, through windows/potpis.cmake with a certificate made here.
struct Starija {
    std::string msi, sertifikat, fascikla, greska;
};
const Starija& starija()
{
    static const Starija s = [] {
        Starija s;
        s.fascikla = PROBA + "/geometrija";
        s.msi = PROBA + "/geometrija-0.1.msi";
        s.sertifikat = PROBA + "/sertifikat.pem";
        fs::remove_all(PROBA);
        fs::create_directories(PROBA);
        fs::copy(std::string(GEOMETRIJA_WINDOWS_DIR) + "/windows/geometrija", s.fascikla);
        std::vector<std::string> parametri;
        std::istringstream redovi(readFile(std::string(GEOMETRIJA_WINDOWS_DIR) + "/msi-parametri.txt"));
        for (std::string red; std::getline(redovi, red);)
            if (red.rfind("-DFASCIKLA=", 0) != 0)
                parametri.push_back(red);
        const std::string cmake = parametri.front();
        parametri.erase(parametri.begin());
        std::string osslsigncode;
        for (const std::string& p : parametri)
            if (p.rfind("-DOSSLSIGNCODE=", 0) == 0)
                osslsigncode = p;
        const std::vector<std::string> potpis = {"GEOMETRIJA_POTPIS=" + PROBA + "/sertifikat.p12",
                                                 "GEOMETRIJA_POTPIS_LOZINKA=proba", "GEOMETRIJA_POTPIS_VREME"};
        parametri.insert(parametri.begin(), {"-DFASCIKLA=" + s.fascikla, "-DVERZIJA=0.1.0.0", "-DMSI=" + s.msi});
        const std::vector<std::vector<std::string>> koraci = {
            {GEOMETRIJA_OPENSSL, "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", PROBA + "/kljuc.pem",
             "-out", s.sertifikat, "-days", "2", "-subj", "/CN=geometrija-proba", "-addext",
             "extendedKeyUsage=codeSigning"},
            {GEOMETRIJA_OPENSSL, "pkcs12", "-export", "-inkey", PROBA + "/kljuc.pem", "-in", s.sertifikat, "-out",
             PROBA + "/sertifikat.p12", "-passout", "pass:proba"},
            {cmake, "-DDATOTEKE=" + s.fascikla + "/geometrija.exe;" + s.fascikla + "/geometrija-demo.exe",
             osslsigncode, "-P", std::string(GEOMETRIJA_IZVORNI_DIR) + "/windows/potpis.cmake"},
            {cmake},
        };
        for (std::vector<std::string> k : koraci) {
            if (k.size() == 1)
                k.insert(k.end(), parametri.begin(), parametri.end());
            std::string izlaz;
            if (alat(k[0], {k.begin() + 1, k.end()}, izlaz, potpis) != 0) {
                s.greska = k[0] + " " + k[1] + ":\n" + izlaz;
                break;
            }
        }
        return s;
    }();
    return s;
}

class Msi : public Windows {
protected:
    static void SetUpTestSuite()
    {
        Windows::SetUpTestSuite();
        ASSERT_FALSE(readFile(MSI).empty()) << "no " << MSI << ": run ./dev.sh windows first";
        // What an earlier run may have left installed, by its own MSI.
        fs::create_directories(PROBA);
        wineKorak("", {"msiexec", "/x", naZ(MSI), "/qn"});
    }
};

TEST_F(Msi, InstallsSilentlyForAllUsersRunsTheLessonsAndUninstallsWithoutATrace)
{
    const Snimak pre = snimi();
    ASSERT_EQ(0, wineKorak("install", {"msiexec", "/i", naZ(MSI), "/qn", "/l*v", naZ(PROBA + "/instalacija.log")}));

    std::vector<std::string> datoteke = {"LICENSE.txt", "PROCITAJ.txt", "geometrija-demo.exe", "geometrija.exe"};
    std::map<std::string, std::string> precice = {{"geometrija.lnk", "/k geometrija.exe"},
                                                  {"geometrija - demonstracija.lnk", "geometrija-demo.exe"},
                                                  {"PROCITAJ.lnk", "PROCITAJ.txt"}};
    for (const std::string& l : lekcije()) {
        datoteke.push_back(l + ".txt");
        precice["Lekcija " + l + ".lnk"] = "/k geometrija.exe < " + l + ".txt";
    }
    std::sort(datoteke.begin(), datoteke.end());
    ASSERT_EQ(datoteke, imena(INSTALIRANO));
    for (const std::string& d : datoteke)
        EXPECT_EQ(readFile(std::string(GEOMETRIJA_WINDOWS_DIR) + "/windows/geometrija/" + d),
                  readFile(INSTALIRANO + "/" + d)) << d << " is not the zip's";

    std::vector<std::string> ocekivane;
    for (const auto& [ime, tekst] : precice)
        ocekivane.push_back(ime);
    EXPECT_EQ(ocekivane, imena(MENI)) << "the shortcuts in the all-users Start menu";
    for (const auto& [ime, tekst] : precice) {
        std::string lnk = readFile(MENI + "/" + ime);  // its strings in UTF-16
        lnk.erase(std::remove(lnk.begin(), lnk.end(), '\0'), lnk.end());
        EXPECT_NE(lnk.npos, lnk.find(tekst)) << ime << " without " << tekst;
        if (tekst.rfind("/k", 0) == 0) {
            EXPECT_NE(lnk.npos, lnk.find("\\system32\\cmd.exe")) << ime << " is not the console's";
        }
        EXPECT_NE(lnk.npos, lnk.find(INSTALIRANO_WINDOWS)) << ime << " does not start in the program's folder";
    }
    for (const std::string& korisnik : imena(PREFIKS + "/drive_c/users"))
        EXPECT_TRUE(imena(PREFIKS + "/drive_c/users/" + korisnik +
                          "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/geometrija").empty())
            << "shortcuts in " << korisnik << "'s own Start menu";

    auto u = unosi("/reg:64");
    ASSERT_EQ(1u, u.size()) << "one Uninstall entry in the 64-bit view";
    const std::string kod = u.begin()->first;
    auto& unos = u.begin()->second;
    EXPECT_EQ(VERZIJA_MSI + (std::count(VERZIJA_MSI.begin(), VERZIJA_MSI.end(), '.') < 2 ? ".0" : ""),
              unos["DisplayVersion"]);
    EXPECT_EQ("geometrija", unos["Publisher"]);
    EXPECT_EQ(INSTALIRANO_WINDOWS + "geometrija.exe,0", unos["DisplayIcon"]);
    EXPECT_EQ(INSTALIRANO_WINDOWS + "PROCITAJ.txt", unos["HelpLink"]);
    EXPECT_TRUE(unosi("/reg:32").empty()) << "an entry in the 32-bit view (WOW6432Node)";

    // The installed program given each installed lesson, as its shortcut does.
    const auto pocetak = std::chrono::steady_clock::now();
    for (const std::string& l : lekcije()) {
        Program program(GEOMETRIJA_WINE, GEOMETRIJA_WINE, {INSTALIRANO_WINDOWS + "geometrija.exe"}, "",
                        WINE_OKRUZENJE);
        const std::string ispis = prepis(program, readFile(INSTALIRANO + "/" + l + ".txt"));
        EXPECT_EQ(readFile(std::string(GEOMETRIJA_IZVORNI_DIR) + "/docs/lekcije/" + l + ".ispis"), bezCR(ispis)) << l;
        EXPECT_EQ(ispis.size() - bezCR(ispis).size(), std::count(ispis.begin(), ispis.end(), '\n')) << l;
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - pocetak).count();
    std::printf("Wine, run (%zu lessons): %.2f s\n", lekcije().size(), s);
    RecordProperty("sekundi_run", std::to_string(s));

    // The product's registration, where the comparison below looks for it.
    EXPECT_EQ(0, wineKorak("", {"reg", "query", "HKLM\\Software\\Classes\\Installer\\Products\\" + spakovan(kod)}))
        << kod << " packed as " << spakovan(kod);
    ASSERT_EQ(0, wineKorak("uninstall", {"msiexec", "/x", naZ(MSI), "/qn"}));
    const Snimak posle = snimi();
    std::string k = kod;
    std::transform(k.begin(), k.end(), k.begin(), [](unsigned char z) { return std::tolower(z); });
    const std::vector<std::string> tragovi = {"geometrija", k.substr(1, 36), spakovan(kod)};
    // Windows Installer's own cache folder, made on its first use here, is Windows's for good.
    std::vector<std::string> ostalo = novo(pre, posle, tragovi);
    ostalo.erase(std::remove(ostalo.begin(), ostalo.end(), "/windows/Installer"), ostalo.end());
    EXPECT_EQ(std::vector<std::string>{}, ostalo) << "left after the uninstall";
}

TEST_F(Msi, SignedWithTheGivenCertificateAsAreItsPrograms)
{
    const Starija& s = starija();
    ASSERT_EQ("", s.greska);
    for (const std::string& d : {s.fascikla + "/geometrija.exe", s.fascikla + "/geometrija-demo.exe", s.msi}) {
        std::string izlaz;
        EXPECT_EQ(0, alat(GEOMETRIJA_OSSLSIGNCODE, {"verify", "-in", d, "-CAfile", s.sertifikat}, izlaz))
            << d << ":\n" << izlaz;
        EXPECT_NE(izlaz.npos, izlaz.find("Subject: /CN=geometrija-proba")) << d << ":\n" << izlaz;
    }
    // A signature appended to the program leaves it running as before.
    Program program(GEOMETRIJA_WINE, GEOMETRIJA_WINE, {s.fascikla + "/geometrija.exe"}, "", WINE_OKRUZENJE);
    const std::string lekcija = std::string(GEOMETRIJA_IZVORNI_DIR) + "/docs/lekcije/elipsa";
    EXPECT_EQ(readFile(lekcija + ".ispis"), bezCR(prepis(program, readFile(lekcija + ".txt"))));
}

TEST_F(Msi, UpgradesAnOlderOneRefusesItAfterwardsAndReinstallsInPlace)
{
    const Starija& s = starija();
    ASSERT_EQ("", s.greska);
    ASSERT_EQ(0, wineKorak("install_older", {"msiexec", "/i", naZ(s.msi), "/qn"}));
    auto u = unosi("/reg:64");
    ASSERT_EQ(1u, u.size());
    EXPECT_EQ("0.1.0", u.begin()->second["DisplayVersion"]);
    const std::vector<std::string> datoteke = imena(INSTALIRANO), precice = imena(MENI);

    ASSERT_EQ(0, wineKorak("upgrade", {"msiexec", "/i", naZ(MSI), "/qn"}));
    u = unosi("/reg:64");
    ASSERT_EQ(1u, u.size()) << "the older entry left beside the new";
    const std::string kod = u.begin()->first;
    EXPECT_NE("0.1.0", u.begin()->second["DisplayVersion"]);
    // The older product is removed after the new one is in: what they share stays.
    EXPECT_EQ(datoteke, imena(INSTALIRANO));
    EXPECT_EQ(precice, imena(MENI));

    const std::string dnevnik = PROBA + "/starija.log";
    EXPECT_NE(0, wineKorak("downgrade", {"msiexec", "/i", naZ(s.msi), "/qn", "/l*v", naZ(dnevnik)}));
    EXPECT_NE(std::string::npos, readFile(dnevnik).find("WIX_DOWNGRADE_DETECTED = " + kod))
        << "refused, but not as an older version";
    u = unosi("/reg:64");
    ASSERT_EQ(1u, u.size());
    EXPECT_EQ(kod, u.begin()->first);
    EXPECT_EQ(datoteke, imena(INSTALIRANO));

    EXPECT_EQ(0, wineKorak("reinstall", {"msiexec", "/i", naZ(MSI), "/qn"}));
    u = unosi("/reg:64");
    EXPECT_EQ(1u, u.size());
    EXPECT_EQ(datoteke, imena(INSTALIRANO));

    EXPECT_EQ(0, wineKorak("uninstall_by_code", {"msiexec", "/x", kod, "/qn"}));
    EXPECT_TRUE(unosi("/reg:64").empty());
    EXPECT_FALSE(fs::exists(INSTALIRANO));
    EXPECT_FALSE(fs::exists(MENI));
}

}  // namespace
