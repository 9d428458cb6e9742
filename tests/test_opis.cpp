// The page's description of the picture: the lessons' frames as a screen reader
// hears them, the wrong choice, and a pan.
#include "geometrija.h"
#include "konzola.h"
#include "opis.h"
#include "snimac.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string opisPosle(const std::string& odgovori, const std::string& tasteri = "")
{
    resetScene();
    setInput(odgovori);
    captureStdout([&] {
        pocetniDijalog();
        for (const char taster : tasteri)
            keyboard(static_cast<unsigned char>(taster), 0, 0);
        drawFrame();
    });
    return opisSlike();  // copied: the next frame writes over it
}

const std::string OSE = " Crne prave kroz koordinatni pocetak su ose x i y.";

TEST(OpisSlike, LekcijeKazuTackeKojeSlikaPokazuje)
{
    EXPECT_EQ("Elipsa x^2/25 + y^2/9 = 1, zize (-4, 0) i (4, 0). Zrak iz leve zize pogadja elipsu u tacki "
              "(3,54; 2,12) i odbija se u desnu zizu; zelena prava je tangenta u toj tacki." +
                  OSE + " Slika nije pomerena.",
              opisPosle("1\n5 3\n45\n"));
    EXPECT_EQ("Hiperbola x^2/9 - y^2/4 = 1, zize (-3,61; 0) i (3,61; 0). Zrak iz leve zize pogadja levu granu "
              "u tacki (-4,04; 1,8) i odbija se od nje duz prave iz desne zize kroz tu tacku, dalje od desne "
              "zize; isprekidana linija spaja tu tacku sa desnom zizom. Tanke crne prave su asimptote "
              "y = 0,67x i y = -0,67x, a uspravne duzi x = -3 i x = 3 su stranice pravougaonika." +
                  OSE + " Slika nije pomerena.",
              opisPosle("2\n3 2\n0.5\n1\n"));
    EXPECT_EQ("Parabola y^2 = 20x, ziza (5, 0). Zrak iz zize pogadja parabolu u tacki (2,5; 7,07) i odbija se "
              "paralelno osi x, udesno; zelena prava x = -5 je direktrisa." +
                  OSE + " Slika nije pomerena.",
              opisPosle("3\n10\n0.5\n1\n"));
    EXPECT_EQ("Parabola y^2 = -20x, ziza (-5, 0). Zrak iz zize pogadja parabolu u tacki (-2,5; 7,07) i odbija "
              "se paralelno osi x, ulevo; zelena prava x = 5 je direktrisa." +
                  OSE + " Slika nije pomerena.",
              opisPosle("3\n-10\n0.5\n1\n"));
}

TEST(OpisSlike, BezFigureSamoOseIPomak)
{
    EXPECT_EQ("Nije izabrana nijedna figura, pa su prikazane samo ose x i y. Slika je pomerena za 2 ulevo i "
              "0,3 nagore.",
              opisPosle("7\n", "dds"));
}

TEST(OpisSlike, ZrakKojiSeNeCrtaNeDobijaTacke)
{
    // b > a: the foci are not numbers, so neither ray is drawn.
    const std::string opis = opisPosle("1\n3 5\n45\n", "a");
    EXPECT_EQ("Elipsa x^2/9 + y^2/25 = 1. Za ove vrednosti zize i zrak nisu nacrtani." + OSE +
                  " Slika je pomerena za 1 udesno.",
              opis);
}

}  // namespace
