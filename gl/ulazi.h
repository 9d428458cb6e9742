// Every GL, GLU and GLUT entry the program's shared drawing calls, named once.
//
//   X(grupa, tip, ime, parametri, argumenti)
//
// grupa      GL: state and drawing, recorded, and compiled into the display
//            list being compiled; GLU: likewise, the matrices it multiplies on
//            computed by the layer (matrice.h); UPIT: a question the recorder
//            answers from the state it keeps; LISTA: display lists, kept by
//            the recorder; GLUT: the window toolkit, which a picture without a
//            window does not need; PROZOR: the native window system's layer
//            (prozor.h), likewise.
// tip        the result type; parametri, argumenti: the parameter list and its names.
//
// From this table come the recorder's entry points and the names and enum of
// its record (snimac.h). Adding an entry is one line here; the recorder's
// switch (snimac.cpp) then fails to build until the entry's effect is
// written there.
#ifndef GEOMETRIJA_ULAZI_H
#define GEOMETRIJA_ULAZI_H

#include "prozor.h"

#include <GL/glut.h>

#define GEOMETRIJA_ULAZI(X)                                                                      \
    X(GL, void, glBegin, (GLenum nacin), (nacin))                                                \
    X(GL, void, glEnd, (), ())                                                                   \
    X(GL, void, glVertex2f, (GLfloat x, GLfloat y), (x, y))                                      \
    X(GL, void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                        \
    X(GL, void, glColor3f, (GLfloat r, GLfloat g, GLfloat b), (r, g, b))                         \
    X(GL, void, glPointSize, (GLfloat velicina), (velicina))                                     \
    X(GL, void, glLineWidth, (GLfloat debljina), (debljina))                                     \
    X(GL, void, glEnable, (GLenum mogucnost), (mogucnost))                                       \
    X(GL, void, glDisable, (GLenum mogucnost), (mogucnost))                                      \
    X(GL, void, glLineStipple, (GLint ponavljanje, GLushort sablon), (ponavljanje, sablon))      \
    X(GL, void, glHint, (GLenum cilj, GLenum nacin), (cilj, nacin))                              \
    X(GL, void, glBlendFunc, (GLenum izvor, GLenum odrediste), (izvor, odrediste))               \
    X(GL, void, glClear, (GLbitfield maska), (maska))                                            \
    X(GL, void, glFinish, (), ())                                                                \
    X(GL, void, glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a))    \
    X(UPIT, void, glGetIntegerv, (GLenum ime, GLint* vrednosti), (ime, vrednosti))                 \
    X(GL, void, glViewport, (GLint x, GLint y, GLsizei sirina, GLsizei visina),                  \
      (x, y, sirina, visina))                                                                    \
    X(GL, void, glMatrixMode, (GLenum nacin), (nacin))                                           \
    X(GL, void, glLoadIdentity, (), ())                                                          \
    X(GL, void, glPushMatrix, (), ())                                                            \
    X(GL, void, glPopMatrix, (), ())                                                             \
    X(GL, void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                      \
    X(LISTA, void, glNewList, (GLuint lista, GLenum nacin), (lista, nacin))                         \
    X(LISTA, void, glEndList, (), ())                                                               \
    X(LISTA, void, glCallList, (GLuint lista), (lista))                                             \
    X(GLU, void, gluPerspective, (GLdouble polje, GLdouble odnos, GLdouble blizu, GLdouble daleko), \
      (polje, odnos, blizu, daleko))                                                             \
    X(GLU, void, gluLookAt,                                                                      \
      (GLdouble okoX, GLdouble okoY, GLdouble okoZ, GLdouble centarX, GLdouble centarY,          \
       GLdouble centarZ, GLdouble goreX, GLdouble goreY, GLdouble goreZ),                        \
      (okoX, okoY, okoZ, centarX, centarY, centarZ, goreX, goreY, goreZ))                        \
    X(GLUT, void, glutInit, (int* argc, char** argv), (argc, argv))                              \
    X(GLUT, void, glutInitDisplayMode, (unsigned int nacin), (nacin))                            \
    X(GLUT, void, glutInitWindowSize, (int sirina, int visina), (sirina, visina))                \
    X(GLUT, void, glutInitWindowPosition, (int x, int y), (x, y))                                \
    X(GLUT, int, glutCreateWindow, (const char* naslov), (naslov))                               \
    X(GLUT, void, glutReshapeFunc, (void (*f)(int, int)), (f))                                   \
    X(GLUT, void, glutKeyboardFunc, (void (*f)(unsigned char, int, int)), (f))                   \
    X(GLUT, void, glutDisplayFunc, (void (*f)()), (f))                                           \
    X(GLUT, void, glutReshapeWindow, (int sirina, int visina), (sirina, visina))                 \
    X(GLUT, void, glutPostRedisplay, (), ())                                                     \
    X(GLUT, void, glutSwapBuffers, (), ())                                                       \
    X(GLUT, void, glutMainLoop, (), ())                                                          \
    X(PROZOR, void, pratiNestanakProzora, (), ())

#endif
