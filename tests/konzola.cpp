#include "konzola.h"

#include "geometrija.h"
#include "snimac.h"
#include "pocetna_scena.h"
#include "pokretanje.h"
#include "prozor.h"
#include "scena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

void setInput(const std::string& text)
{
    char path[] = "/tmp/geometrija-ulaz-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(static_cast<ssize_t>(text.size()), write(fd, text.data(), text.size()));
    close(fd);
    ASSERT_NE(nullptr, std::freopen(path, "r", stdin));
    unlink(path);
}

std::string remainingInput()
{
    std::string rest;
    int c;
    while ((c = std::getchar()) != EOF)
        rest += static_cast<char>(c);
    return rest;
}

std::string captureStdout(const std::function<void()>& work)
{
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    work();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

void withStdoutOnStderr(const std::function<void()>& work)
{
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    work();
}

const std::vector<std::string> POKRETANJE = {
    "glutInit", "glutInitDisplayMode", "glutInitWindowSize", "glutInitWindowPosition",
    "glutCreateWindow", "pratiNestanakProzora",
    "glClearColor", "glEnable", "glEnable", "glEnable", "glHint", "glHint", "glBlendFunc",
    "glutReshapeFunc", "glutKeyboardFunc", "glutDisplayFunc", "glutMainLoop"};

std::vector<std::string> pozivBezZagrevanja()
{
    std::vector<std::string> imena = snimac::imena();
    const auto od = std::find(imena.begin(), imena.end(), "glBlendFunc");
    const auto doPoziva = std::find(od, imena.end(), "glutReshapeFunc");
    if (od != imena.end())
        imena.erase(od + 1, doPoziva);
    return imena;
}

void pokreniProgram(int& argc, char** argv)
{
    Pokretanje nacin;
    nacin.prozorOtvoren = pratiNestanakProzora;
    pokreni(argc, argv, nacin);
}

void resetScene()
{
    pocetnaScena();
    snimac::isprazni();
}

void drawFrame()
{
    reshape(500, 500);
    display();
}
