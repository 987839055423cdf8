// The recording fake itself: what the window tests read from it must be true.
#include "fake_gl.hpp"

#include <gtest/gtest.h>

namespace {

TEST(FakeGl, LogsCallsAsTextAndKeepsTheStateTheWindowSets) {
    fake_gl_reset();
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_MODELVIEW);
    glTranslated(0.5, -0.25, 0);
    EXPECT_EQ(fake_gl_state().modelview[12], 0.5);
    EXPECT_EQ(fake_gl_state().modelview[13], -0.25);
    glLoadIdentity();
    EXPECT_EQ(fake_gl_state().modelview[12], 0.0);
    glEnable(GL_LIGHTING);
    glBegin(GL_LINES);
    glVertex2d(0, 0);
    glEnd();
    glEnd();  // misuse is counted
    char text[256];
    EXPECT_STREQ(
        fake_gl_trace(text, sizeof text),
        "glViewport glMatrixMode glTranslated glLoadIdentity glEnable(GL_LIGHTING) glBegin(GL_LINES) "
        "glVertex2d glEnd glEnd");
    EXPECT_EQ(fake_gl_state().viewport[2], 640);
    EXPECT_EQ(fake_gl_state().errors, 1);
    EXPECT_EQ(fake_gl_count(FAKE_GL_END), 2);
    for (int i = 0; i < FAKE_GL_CALL_CAPACITY + 10; ++i) glFlush();  // counted past the log's end
    EXPECT_EQ(fake_gl_call_count(), FAKE_GL_CALL_CAPACITY);
    EXPECT_EQ(fake_gl_count(FAKE_GL_FLUSH), FAKE_GL_CALL_CAPACITY + 10);
}

void some_display() {}

TEST(FakeGl, KeepsTheWindowSetupCallbacksAndGlutAnswers) {
    fake_gl_reset();
    glutInitWindowSize(800, 600);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow("title");
    glutDisplayFunc(some_display);
    EXPECT_EQ(fake_glut_state().window_height, 600);
    EXPECT_EQ(fake_glut_state().display_mode, static_cast<unsigned>(GLUT_RGB | GLUT_DOUBLE));
    EXPECT_STREQ(fake_glut_state().title, "title");
    EXPECT_EQ(fake_glut_state().display, &some_display);
    EXPECT_EQ(glutGet(GLUT_WINDOW_STENCIL_SIZE), 0);
    fake_glut_set_get(GLUT_WINDOW_STENCIL_SIZE, 8);
    EXPECT_EQ(glutGet(GLUT_WINDOW_STENCIL_SIZE), 8);
}

}  // namespace
