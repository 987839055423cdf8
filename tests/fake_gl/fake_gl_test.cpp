// Tests of the recording GL fake itself: the tests of the drawing layer and the
// scenes trust its matrices, counts and latched colours, so they are checked here.
#include "fake_gl.hpp"

#include <gtest/gtest.h>

namespace {

constexpr double EPS = 1e-12;  // matrix products of a few exact rotations

TEST(FakeGlMatrix, TranslateAndRotateComposeAsGlDoes) {
    fake_gl_reset();
    glTranslated(1, 2, 0);
    glRotated(90, 0, 0, 1);  // counter-clockwise
    glBegin(GL_LINES);
    glVertex2d(1, 0);
    glVertex2d(0, 1);
    glEnd();
    ASSERT_EQ(fake_gl_vertex_count(), 2);
    EXPECT_NEAR(fake_gl_vertex(0).view_x, 1, EPS);
    EXPECT_NEAR(fake_gl_vertex(0).view_y, 3, EPS);
    EXPECT_NEAR(fake_gl_vertex(1).view_x, 0, EPS);
    EXPECT_NEAR(fake_gl_vertex(1).view_y, 2, EPS);
    EXPECT_EQ(fake_gl_vertex(1).x, 0);
    EXPECT_EQ(fake_gl_vertex(1).y, 1);
    const FakeGlBlock& b = fake_gl_block(0);
    EXPECT_EQ(b.mode, static_cast<GLenum>(GL_LINES));
    EXPECT_EQ(b.vertex_count, 2);
    EXPECT_NEAR(b.modelview[12], 1, EPS);
    EXPECT_NEAR(b.modelview[13], 2, EPS);
    EXPECT_EQ(fake_gl_state().errors, 0);
}

TEST(FakeGlMatrix, PushPopRestoresAndUnbalancedPopIsCounted) {
    fake_gl_reset();
    glPushMatrix();
    glTranslated(0.5, 0, 0);
    EXPECT_EQ(fake_gl_state().modelview_depth, 2);
    glPopMatrix();
    EXPECT_EQ(fake_gl_state().modelview_depth, 1);
    EXPECT_EQ(fake_gl_state().modelview[12], 0);
    glPopMatrix();
    EXPECT_EQ(fake_gl_state().errors, 1);
    glMatrixMode(GL_PROJECTION);
    glTranslated(0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_EQ(fake_gl_state().modelview[13], 0);
    glBegin(GL_LINES);
    glVertex2d(0, 0);
    glTranslated(1, 0, 0);  // not allowed inside a block
    glEnd();
    EXPECT_NEAR(fake_gl_vertex(0).view_y, 1, EPS);
    EXPECT_EQ(fake_gl_state().errors, 2);
}

TEST(FakeGlState, RasterColourIsCurrentColourUnlitAndGreyLit) {
    fake_gl_reset();
    glRasterPos2f(-0.9f, 0.95f);
    EXPECT_EQ(fake_gl_state().raster_colour[0], 1.0f);  // white, the start colour
    glColor4f(1, 0, 0, 0);
    glEnable(GL_LIGHTING);
    EXPECT_EQ(glIsEnabled(GL_LIGHTING), GL_TRUE);
    glPushAttrib(GL_CURRENT_BIT);
    glColor4f(0, 1, 0, 0);
    glRasterPos2f(0.5f, 0.25f);
    glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, 'A');
    glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, 'b');
    glPopAttrib();
    EXPECT_EQ(fake_gl_state().colour[0], 1.0f);
    EXPECT_EQ(fake_gl_state().colour[1], 0.0f);
    ASSERT_EQ(fake_gl_text_count(), 1);
    const FakeGlText& t = fake_gl_text(0);
    EXPECT_STREQ(t.text, "Ab");
    EXPECT_NEAR(t.x, 0.5, 1e-7);
    EXPECT_FLOAT_EQ(t.colour[0], 0.04f);
    EXPECT_EQ(t.font, GLUT_BITMAP_HELVETICA_18);
}

TEST(FakeGlLog, TraceNamesCallsAndEnums) {
    fake_gl_reset();
    glDisable(GL_LIGHTING);
    glColor4f(0, 0, 1, 0);
    glBegin(GL_LINE_LOOP);
    glVertex2d(0, 0);
    glEnd();
    glEnable(GL_LIGHTING);
    char trace[256];
    EXPECT_STREQ(
        fake_gl_trace(trace, sizeof trace),
        "glDisable(GL_LIGHTING) glColor4f glBegin(GL_LINE_LOOP) glVertex2d glEnd glEnable(GL_LIGHTING)");
    EXPECT_STREQ(fake_gl_trace(trace, 30), "glDisable(GL_LIGHTING)");  // cut at a whole word
    EXPECT_STREQ(fake_gl_trace(trace, sizeof trace, 2, 3), "glBegin(GL_LINE_LOOP) glVertex2d");
}

TEST(FakeGlLog, LargeFramesAreCountedPastTheLogCapacity) {
    fake_gl_reset();
    const long segments = 100000;  // 200,000 vertices: beyond the call log
    glBegin(GL_LINES);
    for (long i = 0; i < 2 * segments; ++i) glVertex2d(0, 0);
    glEnd();
    for (int i = 0; i < FAKE_GL_BLOCK_CAPACITY + 5; ++i) {
        glBegin(GL_LINE_LOOP);
        glVertex2d(0, 0);
        glVertex2d(1, 0);
        glEnd();
    }
    EXPECT_TRUE(fake_gl_overflowed());
    EXPECT_EQ(fake_gl_count(FAKE_GL_VERTEX), 2 * segments + 2L * (FAKE_GL_BLOCK_CAPACITY + 5));
    EXPECT_EQ(fake_gl_totals().blocks, FAKE_GL_BLOCK_CAPACITY + 6L);
    EXPECT_EQ(fake_gl_totals().segments, segments + 2L * (FAKE_GL_BLOCK_CAPACITY + 5));
    EXPECT_EQ(fake_gl_call_count(), FAKE_GL_CALL_CAPACITY);
    EXPECT_EQ(fake_gl_block_count(), FAKE_GL_BLOCK_CAPACITY);
    EXPECT_EQ(fake_gl_block(0).vertex_count, 2 * segments);
    EXPECT_EQ(fake_gl_state().errors, 0);
    fake_gl_reset();
    EXPECT_FALSE(fake_gl_overflowed());
    EXPECT_EQ(fake_gl_count(FAKE_GL_VERTEX), 0);
}

TEST(FakeGlut, KeepsWindowSetupAndCallbacks) {
    fake_gl_reset();
    int argc = 1;
    char name[] = "prog";
    char* argv[] = {name, nullptr};
    glutInitWindowSize(800, 800);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    EXPECT_EQ(glutCreateWindow("title"), 1);
    static int displays = 0;
    glutDisplayFunc([] { ++displays; });
    glutMainLoop();
    const FakeGlutState& g = fake_glut_state();
    EXPECT_EQ(g.window_width, 800);
    EXPECT_EQ(g.display_mode, 18u);
    EXPECT_STREQ(g.title, "title");
    ASSERT_NE(g.display, nullptr);
    g.display();
    EXPECT_EQ(displays, 1);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 800);
    fake_glut_set_get(GLUT_ELAPSED_TIME, 1234);
    EXPECT_EQ(glutGet(GLUT_ELAPSED_TIME), 1234);
}

}  // namespace
