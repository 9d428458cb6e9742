// The recorder's record, on which every painter and the fuzz targets' frame
// checks rest, and what the painters share: the matrices and the projection step.
#include "geometrija.h"
#include "konzola.h"
#include "projekcija.h"
#include "scena.h"
#include "snimac.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

namespace {

std::size_t temena()
{
    std::size_t n = 0;
    for (const snimac::Serija& s : snimac::kadar().serije)
        n += s.temena.size();
    return n;
}

std::size_t nekonacna()
{
    std::size_t n = 0;
    for (const snimac::Serija& s : snimac::kadar().serije)
        for (const snimac::Teme& t : s.temena)
            n += !std::isfinite(t.x) || !std::isfinite(t.y) || !std::isfinite(t.z);
    return n;
}

// A whole frame spelled out: each vertex one call, each batch's place at its
// glBegin, the vertices named as many times as the batches hold them.
TEST(Snimac, SpellsOutWholeFramesCallByCall)
{
    struct Scena {
        int unos;
        float prvi, drugi, treci;  // a b ugao, a1 b1 parametar, or p parametar
        const char* ime;
    };
    for (const Scena s : {Scena{1, 5, 3, 45, "ellipse 5 3 45"}, Scena{1, 1e6f, 3, 200, "ellipse 1e6 3 200"},
                          Scena{2, 3, 2, 0.5f, "hyperbola 3 2 0.5"}, Scena{3, 10, 0.5f, 0, "parabola 10 0.5"}}) {
        resetScene();
        unos = s.unos;
        a = a1 = p = s.prvi;
        b = b1 = s.drugi;
        parametar = s.unos == 3 ? s.drugi : s.treci;
        ugao = s.treci;
        captureStdout(drawFrame);
        const std::vector<std::string> imena = snimac::imena();
        std::size_t poslato = 0;
        for (const snimac::Serija& serija : snimac::kadar().serije) {
            ASSERT_LT(serija.poziv, imena.size()) << s.ime;
            EXPECT_EQ("glBegin", imena[serija.poziv]) << s.ime;
            if (serija.lista == 0)
                poslato += serija.temena.size();
        }
        std::size_t imenovano = 0;
        for (const std::string& ime : imena)
            imenovano += ime == "glVertex2f" || ime == "glVertex3f";
        // The tangent's vertices are named twice: compiled into its list, then replayed.
        std::size_t lista = 0;
        for (const snimac::Serija& serija : snimac::kadar().serije)
            lista += serija.lista ? serija.temena.size() : 0;
        EXPECT_EQ(poslato + 2 * lista, imenovano) << s.ime;
        EXPECT_EQ(0u, snimac::greske().izvanSerije + snimac::greske().ugnezdjavanje) << s.ime;
    }
}

TEST(Snimac, CountsStrayVerticesAndMisnestedBatchesAndReplaysAList)
{
    snimac::isprazni();
    glBegin(GL_POINTS);
    glVertex2f(NAN, 0);
    glVertex3f(0, 0, INFINITY);
    glVertex2f(1, 1);
    glEnd();
    glEnd();              // outside a batch
    glVertex2f(0, 0);     // outside a batch
    glNewList(1, GL_COMPILE);
    glColor3f(0, 0.5f, 0);
    glBegin(GL_POINTS);
    glVertex3f(1, 2, 0);  // the list ends inside this batch
    glEndList();
    EXPECT_EQ(3u, temena()) << "compiled, not yet sent";
    EXPECT_TRUE(snimac::tekucaBoja() == (Boja{1, 1, 1})) << "the compiled colour is not current yet";
    glCallList(1);
    glCallList(1);        // its glBegin falls inside the batch the first call left open
    EXPECT_EQ(5u, temena());
    EXPECT_EQ(2u, nekonacna());
    EXPECT_EQ(1u, snimac::greske().izvanSerije);
    EXPECT_EQ(3u, snimac::greske().ugnezdjavanje);
    EXPECT_TRUE(ZELENA == snimac::tekucaBoja());
    EXPECT_EQ(ZELENA, snimac::kadar().serije.back().temena.back().boja);
}

// A part named stays with the vertices sent after it, through a display list
// too, whatever colour they have.
TEST(Snimac, VerticesKeepThePartNamedBeforeThem)
{
    snimac::isprazni();
    glNewList(1, GL_COMPILE);
    glBegin(GL_POINTS);
    glVertex2f(0, 0);
    glEnd();
    glEndList();
    oznaci(Deo::OSE);
    glBegin(GL_LINES);
    glVertex3f(0, 0, 0);
    glVertex3f(1, 0, 0);
    glColor3f(0.5f, 0.5f, 0);
    oznaci(Deo::ZRAK);
    glVertex3f(0, 0, 0);
    glVertex3f(1, 1, 0);
    glEnd();
    oznaci(Deo::TANGENTA);
    glCallList(1);
    std::vector<Deo> delovi;
    for (const snimac::Serija& s : snimac::kadar().serije)
        for (const snimac::Teme& t : s.temena)
            delovi.push_back(t.deo);
    EXPECT_EQ((std::vector<Deo>{Deo::OSE, Deo::OSE, Deo::ZRAK, Deo::ZRAK, Deo::TANGENTA}), delovi);
}

// ---- What the painters share --------------------------------------------------

// The program's camera (60 degrees, 50 units away) over a 500 x 500 window:
// the scene's origin at the centre, y up in GL and down in the picture, and a
// translation carried into every point.
TEST(Matrice, CameraAndPanPutSceneUnitsWhereTheWindowShowsThem)
{
    resetScene();
    reshape(500, 500);
    glTranslatef(1, 0, 0);
    glBegin(GL_POINTS);
    glVertex3f(0, 0, 0);
    glVertex3f(0, 10, 0);
    glEnd();
    const snimac::Serija& s = snimac::kadar().serije.at(0);
    snimac::SlikaSerije slika;
    ASSERT_TRUE(snimac::projektuj(s, 500, 500, 1, slika));
    ASSERT_EQ(2u, slika.tacke.size());
    const double jedinica = 250 / (50 * std::tan(M_PI / 6));  // pixels per scene unit
    EXPECT_NEAR(250 + jedinica, slika.tacke[0].x, 1e-3);
    EXPECT_NEAR(250, slika.tacke[0].y, 1e-3);
    EXPECT_NEAR(250 - 10 * jedinica, slika.tacke[1].y, 1e-3) << "up in the scene is up in the picture";
}

// A segment running far out is cut to the picture widened by its width; one
// wholly behind the eye, or of another mode, is not drawn; the stipple comes
// as dashes that start lit; sizes follow the scale factor.
TEST(Projekcija, CutsSegmentsToThePictureAndGivesTheirDashes)
{
    snimac::isprazni();
    glViewport(0, 0, 100, 100);
    glLineWidth(2);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1000, 0x00FF);  // held to 256, as GL holds it
    glBegin(GL_LINES);
    glVertex3f(0, 0, 0);
    glVertex3f(1e6f, 0, 0);
    glVertex3f(0, 0, -5);  // a segment with no extent
    glVertex3f(0, 0, -5);
    glEnd();
    glBegin(GL_LINE_STRIP);
    glEnd();
    snimac::SlikaSerije slika;
    ASSERT_TRUE(snimac::projektuj(snimac::kadar().serije.at(0), 100, 100, 2, slika));
    EXPECT_EQ(4.0f, slika.mera) << "the width times the scale";
    ASSERT_EQ(1u, slika.duzi.size()) << "the segment without extent is left out";
    const snimac::DuzSlike& d = slika.duzi[0];
    EXPECT_DOUBLE_EQ(50, d.x1);
    EXPECT_DOUBLE_EQ(50, d.y1);
    EXPECT_DOUBLE_EQ(105, d.x2) << "cut to the picture and its width plus one";
    ASSERT_TRUE(d.isprekidana);
    ASSERT_EQ(2u, d.crtice.duzine.size());
    EXPECT_DOUBLE_EQ(8 * 256 * 2, d.crtice.duzine[0]) << "8 lit bits of 256 pixels each, doubled by the scale";
    EXPECT_DOUBLE_EQ(8 * 256 * 2, d.crtice.duzine[1]);
    EXPECT_FALSE(snimac::projektuj(snimac::kadar().serije.at(1), 100, 100, 1, slika)) << "GL_LINE_STRIP";
}

}  // namespace
