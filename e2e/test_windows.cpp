// geometrija.exe and geometrija-demo.exe, cross-built for Windows, run under
// Wine against the tests' private X server, beside the Linux programs.
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
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
    const auto kraj = Sat::now() + std::chrono::seconds(30);
    while (program.running() && !program.occurrences(ODBIJENI) && !program.occurrences(POGRESAN) &&
           Sat::now() < kraj)
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
const std::string WINDOWS = GEOMETRIJA_WINDOWS_DIR, IZVOR = GEOMETRIJA_IZVORNI_DIR;
const std::string MSI = WINDOWS + "/geometrija-" + GEOMETRIJA_VERZIJA + ".msi";
const std::string MESTO = PREFIKS + "/drive_c/Program Files/geometrija", MESTO_W = "C:\\Program Files\\geometrija\\";
const std::string MENI = PREFIKS + "/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/geometrija";
const std::string PROBA = fs::absolute("msi-proba").string();  // this test's own files

std::string naZ(std::string putanja)  // a host path as Wine's drive Z: names it
{
    std::replace(putanja.begin(), putanja.end(), '/', '\\');
    return "Z:" + putanja;
}

// A command to its end: a Windows one under Wine unless `okruzenje` is given. The
// time of a named step is printed and recorded. Wine's statuses keep their low byte.
int korak(const std::string& ime, std::vector<std::string> naredba, std::string* izlaz = nullptr,
          const std::vector<std::string>& okruzenje = WINE_OKRUZENJE)
{
    if (&okruzenje == &WINE_OKRUZENJE)
        naredba.insert(naredba.begin(), GEOMETRIJA_WINE);
    const auto pocetak = Sat::now();
    Program p(naredba[0], naredba[0], {naredba.begin() + 1, naredba.end()}, "", okruzenje);
    p.closeInput();
    const int status = p.waitExit(120);
    const double s = sekundiOd(pocetak);
    if (!ime.empty()) {
        std::printf("Wine, %s: %.2f s\n", ime.c_str(), s);
        testing::Test::RecordProperty("sekundi_" + ime, std::to_string(s));
    }
    if (izlaz)
        *izlaz = p.output() + p.errors();
    return status;
}

std::vector<std::string> imena(const std::string& fascikla)  // sorted; none if it is missing
{
    std::vector<std::string> sva;
    std::error_code greska;
    for (const auto& d : fs::directory_iterator(fascikla, greska))
        sva.push_back(d.path().filename().string());
    std::sort(sva.begin(), sva.end());
    return sva;
}

// geometrija's entries in the Uninstall key of a registry view ("/reg:64", "/reg:32"):
// by product code, each value's name and data.
std::map<std::string, std::map<std::string, std::string>> unosi(const std::string& pogled)
{
    std::string izlaz, kljuc, ime, tip, vrednost;
    korak("", {"reg", "query", "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "/s", pogled}, &izlaz);
    std::map<std::string, std::map<std::string, std::string>> svi;
    std::istringstream redovi(bezCR(izlaz));
    for (std::string red; std::getline(redovi, red);) {
        std::istringstream polja(red);
        if (red.rfind("HKEY_", 0) == 0)
            kljuc = red.substr(red.rfind('\\') + 1);
        else if (polja >> ime >> tip && tip.rfind("REG_", 0) == 0 && std::getline(polja >> std::ws, vrednost))
            svi[kljuc][ime] = vrednost;
    }
    for (auto i = svi.begin(); i != svi.end();)
        i = i->second["DisplayName"] == "geometrija" ? std::next(i) : svi.erase(i);
    return svi;
}

// A product code as Windows Installer files it: the first three groups of digits
// reversed, the pairs after them swapped; lower case, as snimi() keeps the registry.
std::string spakovan(const std::string& kod)
{
    std::string h, p;
    for (char c : kod)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            h += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (auto [od, do_] : {std::pair{0, 8}, {8, 12}, {12, 16}})
        p.append(h.rbegin() + 32 - do_, h.rbegin() + 32 - od);
    for (size_t i = 16; i + 1 < h.size(); i += 2)
        p += {h[i + 1], h[i]};
    return p;
}

// What could be left in the prefix: each path under drive_c, and each key and value
// of HKLM\Software (with WOW6432Node) and HKCU\Software\Microsoft, in lower case.
std::set<std::string> snimi()
{
    std::set<std::string> s;
    const std::string c = PREFIKS + "/drive_c";
    for (fs::recursive_directory_iterator d(c), kraj; d != kraj; ++d)
        s.insert(d->path().string().substr(c.size()));
    // regedit, several times faster than reg at exporting a tree this size.
    for (const char* koren : {"HKEY_LOCAL_MACHINE\\Software", "HKEY_CURRENT_USER\\Software\\Microsoft"}) {
        EXPECT_EQ(0, korak("", {"regedit", "/E", naZ(PROBA + "/registar.reg"), koren})) << koren;
        std::string tekst = readFile(PROBA + "/registar.reg"), kljuc;  // UTF-16, its names ASCII
        tekst.erase(std::remove(tekst.begin(), tekst.end(), '\0'), tekst.end());
        std::transform(tekst.begin(), tekst.end(), tekst.begin(), [](unsigned char z) { return std::tolower(z); });
        std::istringstream redovi(bezCR(tekst));
        for (std::string red; std::getline(redovi, red);)
            if (red[0] == '[')
                s.insert(kljuc = red);
            else if (red[0] == '"' || red[0] == '@')
                s.insert(kljuc + " " + red);
    }
    return s;
}

// An older MSI made as the build makes its own (windows/msi.cmake, the build's
// parameters) but for version 0.1, from a copy of the zip's folder whose programs
// are signed, as is the MSI, through windows/potpis.cmake, by a certificate made here.
const std::string STARIJA = PROBA + "/geometrija-0.1.msi", SERTIFIKAT = PROBA + "/sertifikat.pem";
const std::string& napraviStariju()
{
    static const std::string greska = [] {
        fs::remove_all(PROBA);
        fs::create_directories(PROBA);
        fs::copy(WINDOWS + "/windows/geometrija", PROBA + "/geometrija");
        std::vector<std::string> msi;
        std::istringstream redovi(readFile(WINDOWS + "/msi-parametri.txt"));  // cmake, -D..., -P, msi.cmake
        for (std::string red; std::getline(redovi, red);)
            if (red.rfind("-DFASCIKLA=", 0) != 0)
                msi.push_back(red);
        const std::string p12 = PROBA + "/sertifikat.p12", programi = PROBA + "/geometrija/geometrija";
        msi.insert(msi.begin() + 1, {"-DFASCIKLA=" + PROBA + "/geometrija", "-DVERZIJA=0.1.0.0", "-DMSI=" + STARIJA});
        for (const auto& n : std::vector<std::vector<std::string>>{
                 {GEOMETRIJA_OPENSSL, "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", PROBA + "/k.pem",
                  "-out", SERTIFIKAT, "-days", "2", "-subj", "/CN=geometrija-proba"},
                 {GEOMETRIJA_OPENSSL, "pkcs12", "-export", "-inkey", PROBA + "/k.pem", "-in", SERTIFIKAT, "-out", p12,
                  "-passout", "pass:proba"},
                 {msi[0], "-DDATOTEKE=" + programi + ".exe;" + programi + "-demo.exe",
                  "-DOSSLSIGNCODE=" GEOMETRIJA_OSSLSIGNCODE, "-P", IZVOR + "/windows/potpis.cmake"},
                 msi}) {
            std::string izlaz;
            if (korak("", n, &izlaz, {"GEOMETRIJA_POTPIS=" + p12, "GEOMETRIJA_POTPIS_LOZINKA=proba",
                                      "GEOMETRIJA_POTPIS_VREME"}) != 0)
                return n[0] + " " + n[1] + ":\n" + izlaz;
        }
        return std::string();
    }();
    return greska;
}

class Msi : public Windows {
protected:
    static void SetUpTestSuite()
    {
        Windows::SetUpTestSuite();
        ASSERT_FALSE(readFile(MSI).empty()) << "no " << MSI << ": run ./dev.sh windows first";
        fs::create_directories(PROBA);
        korak("", {"msiexec", "/x", naZ(MSI), "/qn"});  // what an earlier run may have left
    }
};

TEST_F(Msi, InstallsSilentlyForAllUsersRunsTheLessonsAndUninstallsWithoutATrace)
{
    const std::set<std::string> pre = snimi();
    ASSERT_EQ(0, korak("install", {"msiexec", "/i", naZ(MSI), "/qn", "/l*v", naZ(PROBA + "/instalacija.log")}));

    std::vector<std::string> lekcije;
    std::vector<std::string> datoteke = {"LICENSE.txt", "PROCITAJ.txt", "geometrija-demo.exe", "geometrija.exe"};
    std::map<std::string, std::string> precice = {{"geometrija.lnk", "/k geometrija.exe"},
                                                  {"geometrija - demonstracija.lnk", "geometrija-demo.exe"},
                                                  {"PROCITAJ.lnk", "PROCITAJ.txt"}};
    for (std::string l : imena(IZVOR + "/docs/lekcije"))
        if (l.size() > 4 && l.substr(l.size() - 4) == ".txt") {
            datoteke.push_back(l);
            lekcije.push_back(l.erase(l.size() - 4));
            precice["Lekcija " + l + ".lnk"] = "/k geometrija.exe < " + l + ".txt";
        }
    std::sort(datoteke.begin(), datoteke.end());
    ASSERT_EQ(datoteke, imena(MESTO));
    for (const std::string& d : datoteke)
        EXPECT_EQ(readFile(WINDOWS + "/windows/geometrija/" + d), readFile(MESTO + "/" + d)) << d << ": not the zip's";
    std::vector<std::string> ocekivane;
    for (const auto& [ime, tekst] : precice) {
        ocekivane.push_back(ime);
        std::string lnk = readFile(MENI + "/" + ime);  // its strings in UTF-16
        lnk.erase(std::remove(lnk.begin(), lnk.end(), '\0'), lnk.end());
        EXPECT_NE(lnk.npos, lnk.find(tekst)) << ime << " without " << tekst;
        EXPECT_NE(lnk.npos, lnk.find(tekst[0] == '/' ? "\\system32\\cmd.exe" : MESTO_W)) << ime << ": the target";
        EXPECT_NE(lnk.npos, lnk.find(MESTO_W)) << ime << " does not start in the program's folder";
    }
    EXPECT_EQ(ocekivane, imena(MENI)) << "the shortcuts in the all-users Start menu";
    for (const std::string& ko : imena(PREFIKS + "/drive_c/users"))
        EXPECT_TRUE(imena(PREFIKS + "/drive_c/users/" + ko + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/"
                          "geometrija").empty()) << "shortcuts in " << ko << "'s own Start menu";
    const char* podaci = std::getenv("XDG_DATA_HOME");  // winemenubuilder's, outside the prefix
    const std::string linux_meni = podaci ? podaci : std::string(std::getenv("HOME")) + "/.local/share";
    EXPECT_FALSE(fs::exists(linux_meni + "/applications/wine/Programs/geometrija")) << "menu entries of this desktop";

    auto u = unosi("/reg:64");
    ASSERT_EQ(1u, u.size()) << "one Uninstall entry in the 64-bit view";
    const std::string kod = u.begin()->first, verzija = GEOMETRIJA_VERZIJA;
    EXPECT_EQ(verzija + (std::count(verzija.begin(), verzija.end(), '.') < 2 ? ".0" : ""), u[kod]["DisplayVersion"]);
    EXPECT_EQ("geometrija", u[kod]["Publisher"]);
    EXPECT_EQ(MESTO_W + "geometrija.exe,0", u[kod]["DisplayIcon"]);
    EXPECT_EQ(MESTO_W + "PROCITAJ.txt", u[kod]["HelpLink"]);
    EXPECT_TRUE(unosi("/reg:32").empty()) << "an entry in the 32-bit view (WOW6432Node)";

    const auto pocetak = Sat::now();
    for (const std::string& l : lekcije) {  // the installed program given each installed lesson
        Program program(GEOMETRIJA_WINE, GEOMETRIJA_WINE, {MESTO_W + "geometrija.exe"}, "", WINE_OKRUZENJE);
        const std::string ispis = prepis(program, readFile(MESTO + "/" + l + ".txt"));
        EXPECT_EQ(readFile(IZVOR + "/docs/lekcije/" + l + ".ispis"), bezCR(ispis)) << l;
        EXPECT_EQ(ispis.size() - bezCR(ispis).size(), std::count(ispis.begin(), ispis.end(), '\n')) << l;
    }
    const double s = sekundiOd(pocetak);
    std::printf("Wine, run (%zu lessons): %.2f s\n", lekcije.size(), s);
    RecordProperty("sekundi_run", std::to_string(s));

    // The product's registration, where the comparison looks for it.
    EXPECT_EQ(0, korak("", {"reg", "query", "HKLM\\Software\\Classes\\Installer\\Products\\" + spakovan(kod)}));
    ASSERT_EQ(0, korak("uninstall", {"msiexec", "/x", naZ(MSI), "/qn"}));
    std::string k = kod.substr(1, 36);
    std::transform(k.begin(), k.end(), k.begin(), [](unsigned char z) { return std::tolower(z); });
    std::vector<std::string> ostalo;
    for (const std::string& r : snimi())
        if (!pre.count(r) && (r[0] == '/' || r.find("geometrija") != r.npos || r.find(k) != r.npos ||
                              r.find(spakovan(kod)) != r.npos))
            ostalo.push_back(r);
    // Windows Installer's own cache folder, made on its first use here, stays, as on Windows.
    ostalo.erase(std::remove(ostalo.begin(), ostalo.end(), "/windows/Installer"), ostalo.end());
    EXPECT_EQ(std::vector<std::string>{}, ostalo) << "left after the uninstall";
}

TEST_F(Msi, UpgradesASignedOlderOneRefusesItAfterwardsAndReinstallsInPlace)
{
    ASSERT_EQ("", napraviStariju());
    const std::string programi = PROBA + "/geometrija/geometrija";
    for (const std::string& d : {programi + ".exe", programi + "-demo.exe", STARIJA}) {
        std::string izlaz;
        EXPECT_EQ(0, korak("", {GEOMETRIJA_OSSLSIGNCODE, "verify", "-in", d, "-CAfile", SERTIFIKAT}, &izlaz, {}))
            << izlaz;
        EXPECT_NE(izlaz.npos, izlaz.find("Subject: /CN=geometrija-proba")) << izlaz;
    }
    ASSERT_EQ(0, korak("install_older", {"msiexec", "/i", naZ(STARIJA), "/qn"}));
    auto u = unosi("/reg:64");
    ASSERT_EQ(1u, u.size());
    EXPECT_EQ("0.1.0", u.begin()->second["DisplayVersion"]);
    const std::vector<std::string> datoteke = imena(MESTO), precice = imena(MENI);
    {  // the signature appended to the program leaves it running as before
        Program program(GEOMETRIJA_WINE, GEOMETRIJA_WINE, {MESTO_W + "geometrija.exe"}, "", WINE_OKRUZENJE);
        const std::string ispis = prepis(program, readFile(MESTO + "/elipsa.txt"));
        EXPECT_EQ(readFile(IZVOR + "/docs/lekcije/elipsa.ispis"), bezCR(ispis));
    }

    ASSERT_EQ(0, korak("upgrade", {"msiexec", "/i", naZ(MSI), "/qn"}));
    u = unosi("/reg:64");
    ASSERT_EQ(1u, u.size()) << "the older entry left beside the new";
    const std::string kod = u.begin()->first;
    EXPECT_NE("0.1.0", u[kod]["DisplayVersion"]);
    EXPECT_EQ(MESTO_W + "geometrija.exe,0", u[kod]["DisplayIcon"]) << "the icon went with the older entry";
    // The older product goes once the new one is in: what they share stays.
    EXPECT_EQ(datoteke, imena(MESTO));
    EXPECT_EQ(precice, imena(MENI));

    const std::string dnevnik = PROBA + "/starija.log";
    EXPECT_NE(0, korak("downgrade", {"msiexec", "/i", naZ(STARIJA), "/qn", "/l*v", naZ(dnevnik)}));
    EXPECT_NE(std::string::npos, readFile(dnevnik).find("WIX_DOWNGRADE_DETECTED = " + kod)) << "not refused as older";
    u = unosi("/reg:64");
    EXPECT_EQ(1u, u.size());
    EXPECT_EQ(1u, u.count(kod));
    EXPECT_EQ(datoteke, imena(MESTO));

    EXPECT_EQ(0, korak("reinstall", {"msiexec", "/i", naZ(MSI), "/qn"}));
    EXPECT_EQ(1u, unosi("/reg:64").size());
    EXPECT_EQ(datoteke, imena(MESTO));

    EXPECT_EQ(0, korak("uninstall_by_code", {"msiexec", "/x", kod, "/qn"}));
    EXPECT_TRUE(unosi("/reg:64").empty());
    EXPECT_FALSE(fs::exists(MESTO));
    EXPECT_FALSE(fs::exists(MENI));
}

// IT's own folder, with a space and letters beyond ASCII, kept by the next version.
TEST_F(Msi, UpgradeStaysInTheFolderOfTheFirstInstallAndRemovalLeavesNothing)
{
    ASSERT_EQ("", napraviStariju());
    const std::string svoje_w = "C:\\\u0160kola programi\\geo\\", svoje = PREFIKS + "/drive_c/\u0160kola programi/geo";
    const std::set<std::string> pre = snimi();
    ASSERT_EQ(0, korak("install_older_into", {"msiexec", "/i", naZ(STARIJA), "/qn", "INSTALLDIR=" + svoje_w}));
    const std::vector<std::string> datoteke = imena(svoje);
    ASSERT_EQ(0, korak("upgrade_in_place", {"msiexec", "/i", naZ(MSI), "/qn"}));
    auto u = unosi("/reg:64");
    ASSERT_EQ(1u, u.size()) << "one Uninstall entry after the upgrade";
    // reg prints through the console's code page, which has no Š.
    EXPECT_NE(std::string::npos, u.begin()->second["DisplayIcon"].find("kola programi\\geo\\geometrija.exe,0"));
    EXPECT_FALSE(datoteke.empty() || fs::exists(MESTO)) << "nothing in " << svoje << ", or the upgrade in Program Files";
    EXPECT_EQ(datoteke, imena(svoje));
    {  // ended before the removal: Wine leaves a running program's file for the next boot
        Program program(GEOMETRIJA_WINE, GEOMETRIJA_WINE, {svoje_w + "geometrija.exe"}, "", WINE_OKRUZENJE);
        EXPECT_EQ(readFile(IZVOR + "/docs/lekcije/elipsa.ispis"),
                  bezCR(prepis(program, readFile(svoje + "/elipsa.txt"))));
    }

    ASSERT_EQ(0, korak("uninstall_from", {"msiexec", "/x", u.begin()->first, "/qn"}));
    for (const std::string& r : snimi())  // the folder above is IT's
        EXPECT_TRUE(pre.count(r) || r == "/windows/Installer" || r == "/\u0160kola programi") << r << " left after the removal";
}

}  // namespace
