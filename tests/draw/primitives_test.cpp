// The primitives drawn into the recording GL fake: their call order, segment
// counts and periods, line widths, matrices, and the colour of legend text.
#include "draw/draw.hpp"
#include "fake_gl.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// Positions built from a few products and trigonometric values: equal to
// within this many view units (far below a pixel, 1/400).
constexpr double EPS = 1e-9;
// Positions turned by glRotated: the degree factor 57.2957795 is short by
// 2.3e-10 of itself, so a turn through θ misplaces a point at radius R by
// about θ·R·2.3e-10 view units (10^-8 view units is 4·10^-6 pixel).
constexpr double ANGLE_EPS = 1e-8;

std::string trace() {
    static char buffer[4096];
    return fake_gl_trace(buffer, sizeof buffer);
}

bool starts_with(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

double distance(double x0, double y0, double x1, double y1) {
    return std::hypot(x1 - x0, y1 - y0);
}

bool is_identity(const double m[16]) {
    for (int i = 0; i < 16; ++i)
        if (std::fabs(m[i] - ((i % 5 == 0) ? 1.0 : 0.0)) > 1e-12) return false;
    return true;
}

// A frame starts from the GL state the window has after earlier frames: lit,
// 2-pixel lines. Tests of the very first frame call fake_gl_reset alone.
void later_frame() {
    fake_gl_reset();
    glEnable(GL_LIGHTING);
    glLineWidth(2.0f);
    fake_gl_clear_log();
}

// ---- solid and wide lines ------------------------------------------------------

TEST(SolidLine, DrawsOneUnlitSegmentInItsColourAndLeavesLightingOn) {
    fake_gl_reset();
    draw_line({0.1, 0.2}, {-0.3, 0.4}, green);
    EXPECT_EQ(trace(),
              "glDisable(GL_LIGHTING) glColor4f glBegin(GL_LINES) glVertex2d glVertex2d glEnd "
              "glEnable(GL_LIGHTING)");
    const FakeGlBlock& b = fake_gl_block(0);
    EXPECT_FALSE(b.lighting);
    EXPECT_EQ(b.colour[0], 0.0f);
    EXPECT_EQ(b.colour[1], 1.0f);
    EXPECT_EQ(b.colour[3], 0.0f);   // alpha handed on unchanged
    EXPECT_EQ(b.line_width, 1.0f);  // the width that is current: GL's default at the start
    EXPECT_EQ(fake_gl_vertex(0).x, 0.1);
    EXPECT_EQ(fake_gl_vertex(1).y, 0.4);
    EXPECT_TRUE(fake_gl_state().lighting);
    EXPECT_TRUE(is_identity(fake_gl_state().modelview));
}

TEST(SolidLine, ScaledVariantMultipliesBothEnds) {
    fake_gl_reset();
    draw_line_scaled(0.5, {2, -4}, {-1, 3}, red);
    ASSERT_EQ(fake_gl_vertex_count(), 2);
    EXPECT_EQ(fake_gl_vertex(0).x, 1.0);
    EXPECT_EQ(fake_gl_vertex(0).y, -2.0);
    EXPECT_EQ(fake_gl_vertex(1).x, -0.5);
    EXPECT_EQ(fake_gl_vertex(1).y, 1.5);
}

TEST(WideLine, WidthInPixelsThenTwoPixelsLeftBehind) {
    fake_gl_reset();
    draw_wide_line({0, 0}, {0.5, 0.5}, 0.05, blue);
    EXPECT_EQ(trace(),
              "glDisable(GL_LIGHTING) glColor4f glLineWidth glBegin(GL_LINES) glVertex2d glVertex2d "
              "glEnd glLineWidth glEnable(GL_LIGHTING)");
    EXPECT_FLOAT_EQ(fake_gl_block(0).line_width, 20.0f);  // 0.05 view units = 20 pixels
    EXPECT_EQ(fake_gl_state().line_width, 2.0f);
    draw_line({0, 0}, {1, 0}, red);
    EXPECT_EQ(fake_gl_block(1).line_width, 2.0f);
}

TEST(WideLine, TwoPixelsAfterwardsWhateverTheWidthBefore) {
    fake_gl_reset();
    glLineWidth(7.0f);
    draw_wide_line({0, 0}, {0.5, 0}, 0.001, red);
    EXPECT_FLOAT_EQ(fake_gl_block(0).line_width, 0.4f);
    EXPECT_EQ(fake_gl_state().line_width, 2.0f);
}

TEST(WidePolyline, DrawsLastSegmentsOfFourPixelsScaledByTheScaleFactor) {
    const ProfilePoint points[] = {{0, 0}, {1, 0}, {1, 1}, {0, 2}};
    scale_factor = 0.5;
    fake_gl_reset();
    draw_wide_polyline(points, 0, red);
    EXPECT_EQ(fake_gl_totals().calls, 0);
    draw_wide_polyline(points, -3, red);
    EXPECT_EQ(fake_gl_totals().calls, 0);

    draw_wide_polyline(points, 1, red);
    EXPECT_EQ(fake_gl_totals().segments, 1);

    fake_gl_clear_log();
    draw_wide_polyline(points, 3, red);
    // One block of wide lines under one width: the segments draw_wide_line would draw.
    ASSERT_EQ(fake_gl_block_count(), 1);
    EXPECT_EQ(fake_gl_count(FAKE_GL_DISABLE), 1);
    const FakeGlBlock& b = fake_gl_block(0);
    EXPECT_FLOAT_EQ(b.line_width, 4.0f);
    ASSERT_EQ(b.vertex_count, 6);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(v[2 * k].x, 0.5 * points[k].x);
        EXPECT_EQ(v[2 * k].y, 0.5 * points[k].y);
        EXPECT_EQ(v[2 * k + 1].x, 0.5 * points[k + 1].x);
        EXPECT_EQ(v[2 * k + 1].y, 0.5 * points[k + 1].y);
    }
    EXPECT_FLOAT_EQ(fake_gl_state().line_width, 2.0f);
}

// ---- dash-dot lines ----------------------------------------------------------

// Checks the pattern of a dash-dot line from a to b with the expected period
// count and period, in view positions: starts at a, dash 9, gap 2, dot 2, gap 2
// parts of each period, closing dash ending at b.
// end_tolerance: how near b the last vertex must be (exact but for rounding
// when the line runs along +x, so no turn is involved).
void expect_dash_dot_line(ProfilePoint a, ProfilePoint b, int periods, double period,
                          double end_tolerance = ANGLE_EPS) {
    ASSERT_EQ(fake_gl_block_count(), 1);
    ASSERT_EQ(fake_gl_block(0).vertex_count, 4 * periods + 2);
    EXPECT_EQ(fake_gl_totals().segments, 2 * periods + 1);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    const double length = distance(a.x, a.y, b.x, b.y);
    const double ux = length > 0 ? (b.x - a.x) / length : 1;
    const double uy = length > 0 ? (b.y - a.y) / length : 0;
    const double u = period;
    for (int i = 0; i <= periods; ++i) {
        const double along[4] = {i * u, i * u + 9 * u / 15, i * u + 11 * u / 15, i * u + 13 * u / 15};
        const int count = i < periods ? 4 : 2;
        for (int j = 0; j < count; ++j) {
            const FakeGlVertex& p = v[4 * i + j];
            EXPECT_NEAR(p.view_x, a.x + along[j] * ux, ANGLE_EPS) << "period " << i << " vertex " << j;
            EXPECT_NEAR(p.view_y, a.y + along[j] * uy, ANGLE_EPS) << "period " << i << " vertex " << j;
        }
    }
    const FakeGlVertex& end = v[4 * periods + 1];
    EXPECT_NEAR(end.view_x, b.x, end_tolerance);
    EXPECT_NEAR(end.view_y, b.y, end_tolerance);
}

TEST(DashDotLine, ShortLineHasTwoPeriodsAndFiveSegments) {
    later_frame();
    draw_dash_dot_line({0.1, -0.2}, {0.4, -0.2}, blue);  // length 0.3
    expect_dash_dot_line({0.1, -0.2}, {0.4, -0.2}, 2, 0.3 * 15 / 39, 1e-15);
    EXPECT_PRED2(starts_with, trace(),
                 "glDisable(GL_LIGHTING) glPushMatrix glTranslated glRotated glColor4f glBegin(GL_LINES) "
                 "glVertex2d glVertex2d glVertex2d");
    EXPECT_EQ(fake_gl_call(fake_gl_call_count() - 3).kind, FAKE_GL_END);
    EXPECT_EQ(fake_gl_call(fake_gl_call_count() - 2).kind, FAKE_GL_POP_MATRIX);
    EXPECT_EQ(fake_gl_call(fake_gl_call_count() - 1).kind, FAKE_GL_ENABLE);
    EXPECT_TRUE(is_identity(fake_gl_state().modelview));
    EXPECT_EQ(fake_gl_state().modelview_depth, 1);
    EXPECT_EQ(fake_gl_block(0).line_width, 2.0f);  // the current width; no width of its own
}

TEST(DashDotLine, UnitDiagonalHasFivePeriodsOfFifteenEightyFourths) {
    later_frame();
    const double h = std::sqrt(0.5);
    draw_dash_dot_line({-h / 2, -h / 2}, {h / 2, h / 2}, red);  // length 1 at 45 degrees
    expect_dash_dot_line({-h / 2, -h / 2}, {h / 2, h / 2}, 5, 15.0 / 84);
}

TEST(DashDotLine, PeriodCountFollowsTheLengthPastHalfAUnit) {
    later_frame();
    draw_dash_dot_line({0, 0}, {0, -0.5}, red);  // 0.5: both rules give 2
    expect_dash_dot_line({0, 0}, {0, -0.5}, 2, 0.5 * 15 / 39);
    later_frame();
    draw_dash_dot_line({1, 0}, {-1, 0}, red);  // 2: 6·2 − 1 = 11 periods, right to left
    expect_dash_dot_line({1, 0}, {-1, 0}, 11, 30.0 / (15 * 11 + 9));
}

TEST(DashDotLine, CoincidentEndsDrawFiveEmptySegmentsAtTheStart) {
    later_frame();
    draw_dash_dot_line({0.25, 0.75}, {0.25, 0.75}, red);
    ASSERT_EQ(fake_gl_vertex_count(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_DOUBLE_EQ(fake_gl_vertex(i).view_x, 0.25);
        EXPECT_DOUBLE_EQ(fake_gl_vertex(i).view_y, 0.75);
    }
}

TEST(DashDotLine, ScaledVariantMeasuresTheScaledLength) {
    later_frame();
    draw_dash_dot_line_scaled(0.5, {0, 0}, {2, 0}, blue);  // 2 model units = 1 view unit
    expect_dash_dot_line({0, 0}, {1, 0}, 5, 15.0 / 84, 1e-15);
}

// ---- discs and circles ---------------------------------------------------------

TEST(Disc, IsAFilledPolygonOf120PointsOnTheRadius) {
    later_frame();
    draw_disc({0.5, -0.25}, 0.1, black);
    EXPECT_PRED2(starts_with, trace(),
                 "glDisable(GL_LIGHTING) glPushMatrix glTranslated glColor4f glBegin(GL_POLYGON) glVertex2d");
    EXPECT_EQ(fake_gl_call(fake_gl_call_count() - 2).kind, FAKE_GL_POP_MATRIX);
    ASSERT_EQ(fake_gl_block_count(), 1);
    EXPECT_EQ(fake_gl_block(0).mode, static_cast<GLenum>(GL_POLYGON));
    ASSERT_EQ(fake_gl_block(0).vertex_count, 120);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    for (int i = 0; i < 120; ++i) EXPECT_NEAR(distance(0.5, -0.25, v[i].view_x, v[i].view_y), 0.1, EPS);
    EXPECT_NEAR(v[0].view_x, 0.6, EPS);
    EXPECT_NEAR(v[30].view_y, -0.15, EPS);  // a quarter turn on, counter-clockwise
    EXPECT_EQ(fake_gl_state().modelview_depth, 1);
    EXPECT_TRUE(is_identity(fake_gl_state().modelview));
}

TEST(Circle, IsAClosedOutlineGivenAsConsecutivePairs) {
    later_frame();
    draw_circle({0, -5}, 4.6985, green);
    ASSERT_EQ(fake_gl_block_count(), 1);
    EXPECT_EQ(fake_gl_block(0).mode, static_cast<GLenum>(GL_LINE_LOOP));
    ASSERT_EQ(fake_gl_block(0).vertex_count, 238);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    EXPECT_EQ(v[0].x, 4.6985);
    EXPECT_EQ(v[0].y, 0.0);
    for (int i = 1; i < 119; ++i) {  // pair i ends where pair i+1 starts
        EXPECT_EQ(v[2 * i - 1].x, v[2 * i].x);
        EXPECT_EQ(v[2 * i - 1].y, v[2 * i].y);
    }
    for (int i = 0; i < 238; ++i) EXPECT_NEAR(distance(0, -5, v[i].view_x, v[i].view_y), 4.6985, EPS);
    EXPECT_NEAR(std::atan2(v[237].y, v[237].x), -2 * CIRCLE_PI / 120, 1e-9);  // P(119), closing to P(0)
    EXPECT_TRUE(is_identity(fake_gl_state().modelview));
}

TEST(Circle, NegativeRadiusDrawsTheMirroredPoints) {
    later_frame();
    draw_circle({0, 0}, -0.5, red);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    EXPECT_NEAR(v[0].view_x, -0.5, EPS);
    for (int i = 0; i < 238; ++i) EXPECT_NEAR(distance(0, 0, v[i].view_x, v[i].view_y), 0.5, EPS);
}

// Checks the dash-dot circle's counts: periods n, dash m and dot k sub-steps.
void expect_dash_dot_circle(int n, int m, int k) {
    EXPECT_EQ(fake_gl_count(FAKE_GL_ROTATE), n);
    EXPECT_EQ(fake_gl_totals().blocks, 2L * n);
    EXPECT_EQ(fake_gl_totals().segments, static_cast<long>(n) * (m + k));
    EXPECT_EQ(fake_gl_count(FAKE_GL_PUSH_MATRIX), 1);
    EXPECT_EQ(fake_gl_count(FAKE_GL_POP_MATRIX), 1);
    EXPECT_TRUE(is_identity(fake_gl_state().modelview));
}

TEST(DashDotCircle, SmallRadiusHasSixPeriodsOfSixtyDegrees) {
    later_frame();
    draw_dash_dot_circle({0.2, 0.1}, 0.1, blue);
    expect_dash_dot_circle(6, 9, 2);
    ASSERT_EQ(fake_gl_block_count(), 12);
    int rotate = -1;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(fake_gl_block(2 * i).vertex_count, 18);
        EXPECT_EQ(fake_gl_block(2 * i + 1).vertex_count, 4);
        rotate = fake_gl_find(FAKE_GL_ROTATE, rotate + 1);
        ASSERT_GE(rotate, 0);
        EXPECT_NEAR(fake_gl_call(rotate).a[0], 60.0, 1e-6);
    }
    // Period i starts at (i + 1)·60° (the turn comes before the first period);
    // the dot starts 11/15 into the period and each sub-step is 4 degrees.
    const double sub = 60.0 / 15 * CIRCLE_PI / 180;
    for (int i = 0; i < 6; ++i) {
        const double start = (i + 1) * CIRCLE_PI / 3;
        const FakeGlVertex* dash = fake_gl_block_vertices(2 * i);
        const FakeGlVertex* dot = fake_gl_block_vertices(2 * i + 1);
        EXPECT_NEAR(dash[0].view_x, 0.2 + 0.1 * std::cos(start), EPS);
        EXPECT_NEAR(dash[0].view_y, 0.1 + 0.1 * std::sin(start), EPS);
        EXPECT_NEAR(dash[17].view_x, 0.2 + 0.1 * std::cos(start + 9 * sub), EPS);
        EXPECT_NEAR(dot[0].view_x, 0.2 + 0.1 * std::cos(start + 11 * sub), EPS);
        EXPECT_NEAR(dot[3].view_y, 0.1 + 0.1 * std::sin(start + 13 * sub), EPS);
    }
}

TEST(DashDotCircle, CountsGrowWithTheRadius) {
    later_frame();
    draw_dash_dot_circle({0, 0}, 1, blue);
    expect_dash_dot_circle(31, 45, 10);  // 1,705 segments
    EXPECT_EQ(fake_gl_totals().segments, 1705);

    later_frame();
    draw_dash_dot_circle({0, -5}, 5, blue);  // the pitch circle of z = 20 at the start zoom
    expect_dash_dot_circle(157, 225, 50);
    EXPECT_EQ(fake_gl_totals().segments, 43175);
    EXPECT_FALSE(fake_gl_overflowed());
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    for (int i = 0; i < fake_gl_vertex_count(); i += 97)
        EXPECT_NEAR(distance(0, -5, fake_gl_vertex(i).view_x, fake_gl_vertex(i).view_y), 5, 1e-9);
    EXPECT_NEAR(v[0].view_x, 5 * std::cos(2 * CIRCLE_PI / 157), 1e-9);
}

TEST(DashDotCircle, NegativeRadiusCountsByItsSizeAndMirrorsThePoints) {
    later_frame();
    draw_dash_dot_circle({0, 0}, -1, blue);
    expect_dash_dot_circle(31, 45, 10);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    const double start = 2 * CIRCLE_PI / 31;
    EXPECT_NEAR(v[0].view_x, -std::cos(start), EPS);
    EXPECT_NEAR(v[0].view_y, -std::sin(start), EPS);
}

// ---- the cross and turns ---------------------------------------------------------

TEST(Cross, TwoBlackTwoPixelLinesAcrossTheWindow) {
    fake_gl_reset();  // first primitive of a run: width 1 before it
    draw_cross({0, 0}, 0.0);
    EXPECT_EQ(trace(),
              "glDisable(GL_LIGHTING) glLineWidth glPushMatrix glColor4f glTranslated glRotated "
              "glBegin(GL_LINES) glVertex2d glVertex2d glVertex2d glVertex2d glEnd glPopMatrix "
              "glEnable(GL_LIGHTING)");
    const FakeGlBlock& b = fake_gl_block(0);
    EXPECT_EQ(b.line_width, 2.0f);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(b.colour[c], 0.0f);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    EXPECT_NEAR(v[0].view_x, -10, EPS);
    EXPECT_NEAR(v[1].view_x, 10, EPS);
    EXPECT_NEAR(v[0].view_y, 0, EPS);
    EXPECT_NEAR(v[2].view_y, -10, EPS);
    EXPECT_NEAR(v[3].view_x, 0, EPS);
    EXPECT_EQ(fake_gl_state().line_width, 2.0f);
    EXPECT_EQ(fake_gl_state().colour[0], 0.0f);  // black is left current
    EXPECT_TRUE(is_identity(fake_gl_state().modelview));
}

TEST(Cross, TurnsWithTheAngleAboutItsPoint) {
    later_frame();
    draw_cross({0, -0.5}, PI / 6);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    EXPECT_NEAR(v[1].view_x, 10 * std::cos(PI / 6), 1e-8);
    EXPECT_NEAR(v[1].view_y, -0.5 + 10 * std::sin(PI / 6), 1e-8);
    EXPECT_NEAR(v[3].view_x, -10 * std::sin(PI / 6), 1e-8);
}

TEST(RotateAbout, QuarterTurnAboutTheGearCentreMovesTheOrigin) {
    later_frame();
    rotate_about({0, 0}, {0, -0.5}, PI / 2);
    EXPECT_EQ(fake_gl_count(FAKE_GL_PUSH_MATRIX), 0);  // nothing saved: the caller undoes it
    draw_line({0, 0}, {0, 0.5}, red);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    EXPECT_NEAR(v[0].view_x, -0.5, 1e-9);
    EXPECT_NEAR(v[0].view_y, -0.5, 1e-9);
    EXPECT_NEAR(v[1].view_x, -1.0, 1e-9);  // counter-clockwise: up turns to the left
    EXPECT_NEAR(v[1].view_y, -0.5, 1e-9);
}

// ---- text ------------------------------------------------------------------------

TEST(Text, FirstFrameLegendIsDarkAndChangesNothingElse) {
    fake_gl_reset();  // a new run: lighting off, current colour white
    draw_text(-0.9f, 0.95f, GLUT_BITMAP_HELVETICA_18, "Addendum");
    ASSERT_EQ(fake_gl_text_count(), 1);
    const FakeGlText& t = fake_gl_text(0);
    EXPECT_STREQ(t.text, "Addendum");
    EXPECT_EQ(t.font, GLUT_BITMAP_HELVETICA_18);
    EXPECT_NEAR(t.x, -0.9, 1e-6);
    EXPECT_NEAR(t.y, 0.95, 1e-6);
    for (int c = 0; c < 3; ++c) EXPECT_LT(t.colour[c], 0.1f);  // dark on the white background
    const FakeGlState& s = fake_gl_state();
    EXPECT_FALSE(s.lighting);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(s.colour[c], 1.0f);  // the current colour is given back
    EXPECT_EQ(s.attrib_depth, 0);
    EXPECT_EQ(fake_gl_count(FAKE_GL_ENABLE) + fake_gl_count(FAKE_GL_DISABLE), 0);
}

TEST(Text, LaterFramesKeepTheLitGreyAndSetNoColour) {
    later_frame();
    glColor4f(0, 0, 1, 0);
    draw_text(-0.9f, 0.9f, GLUT_BITMAP_HELVETICA_18, "x = 0.5");
    EXPECT_EQ(fake_gl_count(FAKE_GL_COLOR), 1);  // only the test's own
    EXPECT_EQ(trace(),
              "glColor4f glPushAttrib(GL_CURRENT_BIT) glIsEnabled glRasterPos2f glutBitmapCharacter "
              "glutBitmapCharacter glutBitmapCharacter glutBitmapCharacter glutBitmapCharacter "
              "glutBitmapCharacter glutBitmapCharacter glPopAttrib");
    EXPECT_FLOAT_EQ(fake_gl_text(0).colour[0], 0.04f);
    EXPECT_STREQ(fake_gl_text(0).text, "x = 0.5");
    EXPECT_EQ(fake_gl_state().colour[2], 1.0f);
    EXPECT_TRUE(fake_gl_state().lighting);
}

TEST(Text, BytesAreHandedOnAsSignedCharacters) {
    later_frame();
    draw_text(0, 0, GLUT_BITMAP_HELVETICA_18, "\xB5z");
    int first = fake_gl_find(FAKE_GLUT_BITMAP_CHARACTER, 0);
    ASSERT_GE(first, 0);
    EXPECT_EQ(static_cast<int>(fake_gl_call(first).code), -75);  // 0xB5 as a signed char
    EXPECT_EQ(fake_gl_call(first + 1).code, static_cast<unsigned>('z'));
    later_frame();
    draw_text(0, 0, GLUT_BITMAP_HELVETICA_18, "");
    EXPECT_EQ(fake_gl_count(FAKE_GLUT_BITMAP_CHARACTER), 0);
    EXPECT_EQ(fake_gl_count(FAKE_GL_POP_ATTRIB), 1);
}

// ---- state left behind -------------------------------------------------------------

TEST(StateLeftBehind, EveryPrimitiveLeavesLightingOnAndTheMatrixAlone) {
    fake_gl_reset();
    const ProfilePoint a = {0.1, 0.1};
    const ProfilePoint b = {0.3, -0.2};
    const ProfilePoint pts[] = {a, b};
    draw_line(a, b, red);
    draw_wide_polyline(pts, 1, red);
    draw_dash_dot_line(a, b, red);
    draw_disc(a, 0.3, red);
    draw_circle(a, 0.3, red);
    draw_dash_dot_circle(a, 0.3, red);
    draw_cross(a, 1.0);
    EXPECT_EQ(fake_gl_count(FAKE_GL_DISABLE), 7);
    EXPECT_EQ(fake_gl_count(FAKE_GL_ENABLE), 7);
    EXPECT_TRUE(fake_gl_state().lighting);
    EXPECT_TRUE(is_identity(fake_gl_state().modelview));
    EXPECT_EQ(fake_gl_state().modelview_depth, 1);
    EXPECT_EQ(fake_gl_state().errors, 0);
    for (int i = 0; i < fake_gl_block_count(); ++i) EXPECT_FALSE(fake_gl_block(i).lighting) << i;
}

}  // namespace
