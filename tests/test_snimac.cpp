// The recorder's counting mode, on which the fuzz targets' frame checks rest.
#include "gl_recorder.h"
#include "konzola.h"
#include "scena.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

namespace {

// Counting sees every vertex the full record keeps, the tangent's from display
// list 1 included, and ends on the same colour.
TEST(Brojanje, CountsWhatTheFullRecordKeepsForWholeFrames)
{
    struct Scena {
        int unos;
        float prvi, drugi, treci;  // a b ugao, a1 b1 parametar, or p parametar
        const char* ime;
    };
    for (const Scena s : {Scena{1, 5, 3, 45, "ellipse 5 3 45"}, Scena{1, 1e6f, 3, 200, "ellipse 1e6 3 200"},
                          Scena{2, 3, 2, 0.5f, "hyperbola 3 2 0.5"}, Scena{2, 3, 0, 0.5f, "hyperbola 3 0 0.5"},
                          Scena{3, 10, 0.5f, 0, "parabola 10 0.5"}}) {
        resetScene();
        unos = s.unos;
        a = a1 = s.prvi;
        p = s.prvi;
        b = b1 = s.drugi;
        parametar = s.unos == 3 ? s.drugi : s.treci;
        ugao = s.treci;
        captureStdout(drawFrame);
        std::size_t zapisano = 0;
        for (const rec::Batch& batch : rec::batches())
            zapisano += batch.v.size();
        const rec::Color boja = rec::currentColor();

        rec::countOnly();
        captureStdout(drawFrame);
        EXPECT_EQ(zapisano, rec::counts().vertices) << s.ime;
        EXPECT_EQ(0u, rec::counts().nonFinite + rec::counts().outsideBatch + rec::counts().misnested) << s.ime;
        EXPECT_TRUE(boja == rec::currentColor()) << s.ime;
    }
}

TEST(Brojanje, CountsStrayVerticesAndMisnestedBatchesAndReplaysAList)
{
    rec::countOnly();
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
    EXPECT_EQ(3u, rec::counts().vertices) << "compiled, not yet sent";
    EXPECT_TRUE(rec::currentColor() == rec::Color{}) << "the compiled colour is not current yet";
    glCallList(1);
    glCallList(1);
    EXPECT_EQ(5u, rec::counts().vertices);
    EXPECT_EQ(2u, rec::counts().nonFinite);
    EXPECT_EQ(1u, rec::counts().outsideBatch);
    EXPECT_EQ(3u, rec::counts().misnested);
    EXPECT_TRUE(ZELENA == rec::currentColor());
}

}  // namespace
