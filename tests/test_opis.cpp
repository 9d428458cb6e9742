// The page's description of the picture: the lessons' frames as a screen reader
// hears them, the wrong choice, and a pan.
#include "geometrija.h"
#include "konzola.h"
#include "opis.h"
#include "scena.h"
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

TEST(OpisSlike, LekcijeKazuTackeKojeSlikaPokazuje)
{
    EXPECT_EQ("Elipsa x^2/25 + y^2/9 = 1. Zrak iz leve zize odbija se u tacki (3,54; 2,12) ka desnoj zizi; "
              "zelena prava je tangenta.",
              opisPosle("1\n5 3\n45\n"));
    EXPECT_EQ("Hiperbola x^2/9 - y^2/4 = 1. Zrak iz leve zize odbija se u tacki (-4,04; 1,8), dalje od desne "
              "zize, duz isprekidane linije. Tanke prave su asimptote.",
              opisPosle("2\n3 2\n0.5\n1\n"));
    EXPECT_EQ("Parabola y^2 = 20x. Zrak iz zize odbija se u tacki (2,5; 7,07) paralelno osi x, udesno; zelena "
              "prava x = -5 je direktrisa.",
              opisPosle("3\n10\n0.5\n1\n"));
    EXPECT_EQ("Parabola y^2 = -20x. Zrak iz zize odbija se u tacki (-2,5; 7,07) paralelno osi x, ulevo; zelena "
              "prava x = 5 je direktrisa.",
              opisPosle("3\n-10\n0.5\n1\n"));
}

// The description knows a part by its name alone: the parabola's parts drawn
// by hand in another order and other colours, the rays in batches of their own.
TEST(OpisSlike, DeloviSePoznajuPoImenuNePoBojiIRedu)
{
    resetScene();
    unos = 3;
    p = 10;
    glColor3f(1, 0, 0);
    oznaci(Deo::DIREKTRISA);
    glBegin(GL_LINES);
    glVertex3f(-5, -100, 0);
    glVertex3f(-5, 100, 0);
    glEnd();
    oznaci(Deo::ODBIJENI_ZRAK);
    glBegin(GL_LINES);
    glVertex3f(2.5f, 7.07f, 0);
    glVertex3f(1000, 7.07f, 0);
    glEnd();
    glColor3f(0, 0, 0);
    oznaci(Deo::ZRAK);
    glBegin(GL_LINES);
    glVertex3f(5, 0, 0);
    glVertex3f(2.5f, 7.07f, 0);
    glEnd();
    EXPECT_STREQ("Parabola y^2 = 20x. Zrak iz zize odbija se u tacki (2,5; 7,07) paralelno osi x, udesno; zelena "
                 "prava x = -5 je direktrisa.",
                 opisSlike());
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
    EXPECT_EQ("Elipsa x^2/9 + y^2/25 = 1. Za ove vrednosti zize i zrak nisu nacrtani. Slika je pomerena za 1 "
              "udesno.",
              opisPosle("1\n3 5\n45\n", "a"));
}

// What a screen reader is given: no sign it would drop, numbers as the
// description writes them.
TEST(Izgovor, ZnaciPostajuReci)
{
    EXPECT_STREQ("Zrak: y jednako 0,28 puta x minus minus 14,14\nOdbijeni zrak: x jednako nije broj puta y plus beskonacno",
                 izgovor("Jednacina zraka je:y = 0.281509 * x - -14.142136\nJednacina odbijenog zraka je:x = nan * y + inf"));
    EXPECT_STREQ("Elipsa x na kvadrat kroz 25 jednako 1, zize x minus 4, y 0 i x 3,54, y 2,12; prava y jednako 0,67 x.",
                 izgovor("Elipsa x^2/25 = 1, zize (-4, 0) i (3,54; 2,12); prava y = 0,67x."));
}

}  // namespace
