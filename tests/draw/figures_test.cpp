// The rack-cutter and gear figures drawn into the recording GL fake: the
// cutter outline, which rack copies are drawn for a roll, the gear circles,
// the teeth around the gear, and that the caller's matrix survives them all.
#include "draw/draw.hpp"
#include "fake_gl.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Positions after turns by glRotated: the degree factor 57.2957795 is short by
// 2.3e-10 of itself, so a turn through θ misplaces a point at radius R by about
// θ·R·2.3e-10 view units; 10^-8 view units is 4·10^-6 pixel. The rack's turn is
// undone with the same factor, so its matrix comes back to within rounding
// (MATRIX_EPS); the teeth's full turn falls short by 20 × that error
// (TURN_EPS, still far below a pixel).
constexpr double EPS = 1e-8;
constexpr double MATRIX_EPS = 1e-12;
constexpr double TURN_EPS = 1e-8;

void make_gear(int z, double x) {
    compute_gear(z, x);
}

void expect_identity(const double m[16], double tolerance = MATRIX_EPS) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], (i % 5 == 0) ? 1.0 : 0.0, tolerance) << "element " << i;
}

void expect_matrix(const double m[16], const double expected[16], double tolerance = MATRIX_EPS) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], tolerance) << "element " << i;
}

// A caller's matrix that is not the identity, to see that figures keep it.
void some_caller_matrix() {
    glTranslated(0.1, -0.2, 0);
    glRotated(25, 0, 0, 1);
}

double distance(double x0, double y0, double x1, double y1) {
    return std::hypot(x1 - x0, y1 - y0);
}

// ---- the cutter outline ----------------------------------------------------------

TEST(RackTooth, StandardOutlineHasTheEightCornerPoints) {
    make_gear(20, 0.0);
    scale_factor = 1.0;
    fake_gl_reset();
    draw_rack_tooth(red);
    const double expected[8][2] = {{-3.59656, -1.25}, {-2.77762, 1}, {-1.93477, 1}, {-1.11583, -1.25},
                                   {-0.45496, -1.25}, {0.36397, 1},  {1.20683, 1},  {2.02576, -1.25}};
    // The seven segments P1–P2 … P7–P8 as the lines of one block.
    ASSERT_EQ(fake_gl_block_count(), 1);
    ASSERT_EQ(fake_gl_block(0).vertex_count, 14);
    EXPECT_EQ(fake_gl_block(0).colour[0], 1.0f);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    for (int i = 0; i < 7; ++i) {
        EXPECT_NEAR(v[2 * i].x, expected[i][0], 5e-6) << "P" << i + 1;
        EXPECT_NEAR(v[2 * i].y, expected[i][1], 5e-6) << "P" << i + 1;
        EXPECT_NEAR(v[2 * i + 1].x, expected[i + 1][0], 5e-6) << "P" << i + 2;
        EXPECT_NEAR(v[2 * i + 1].y, expected[i + 1][1], 5e-6) << "P" << i + 2;
    }
    EXPECT_EQ(fake_gl_count(FAKE_GL_TRANSLATE) + fake_gl_count(FAKE_GL_PUSH_MATRIX), 0);
}

TEST(RackTooth, ShiftedOutlineStillMeetsTheRollingLineAtTheOriginAndRepeatsByPi) {
    make_gear(12, 0.5);
    scale_factor = 0.5;
    fake_gl_reset();
    draw_rack_tooth(red);
    ASSERT_EQ(fake_gl_block_count(), 1);
    // Model points: the vertices divided by the scale factor.
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    ProfilePoint p[8];
    for (int i = 0; i < 7; ++i) p[i] = {v[2 * i].x / 0.5, v[2 * i].y / 0.5};
    p[7] = {v[13].x / 0.5, v[13].y / 0.5};
    EXPECT_NEAR(p[4].y, -0.75, 1e-12);                         // tip line at -dedendum
    EXPECT_NEAR(p[5].y, 1.5, 1e-12);                           // root line at +addendum
    EXPECT_NEAR(p[4].x * p[5].y - p[4].y * p[5].x, 0, 1e-12);  // P5–P6 passes through the origin
    EXPECT_NEAR(p[4].x - p[0].x, PI, 1e-12);
    EXPECT_NEAR(p[5].x - p[1].x, PI, 1e-12);
    EXPECT_NEAR(p[7].x - p[3].x, PI, 1e-12);  // the next tooth's tip corner, from the neighbour copy
}

// ---- the rack placed for a roll -----------------------------------------------------

// The index i of each rack copy drawn by draw_rack at the origin with s = 1:
// the view positions are turned back by t into the rack frame, where copy i's
// first vertex is P1 + (iπ, 0).
void rack_copies(double t, int copies[4]) {
    ProfilePoint p1;
    fake_gl_reset();
    draw_rack_tooth(red);
    p1 = {fake_gl_vertex(0).x, fake_gl_vertex(0).y};
    fake_gl_reset();
    draw_rack(0, ProfilePoint{0, 0}, t, black);
    ASSERT_EQ(fake_gl_block_count(), 4);  // one block per copy
    for (int c = 0; c < 4; ++c) {
        const FakeGlVertex& v = fake_gl_block_vertices(c)[0];
        const double x = v.view_x * std::cos(t) - v.view_y * std::sin(t);
        const double y = v.view_x * std::sin(t) + v.view_y * std::cos(t);
        EXPECT_NEAR(y, p1.y, EPS);
        const double shift = (x - p1.x) / PI;
        copies[c] = static_cast<int>(std::lround(shift));
        EXPECT_NEAR(shift, copies[c], 1e-9);
    }
}

TEST(Rack, CopiesFollowTheRollForTwentyTeeth) {
    make_gear(20, 0.0);
    scale_factor = 1.0;
    int copies[4];
    rack_copies(0.0, copies);
    EXPECT_EQ(copies[0], -2);
    EXPECT_EQ(copies[3], 1);
    rack_copies(1.0, copies);
    EXPECT_EQ(copies[0], 1);
    EXPECT_EQ(copies[3], 4);
    rack_copies(-1.0, copies);
    EXPECT_EQ(copies[0], -5);
    EXPECT_EQ(copies[1], -4);
    EXPECT_EQ(copies[2], -3);
    EXPECT_EQ(copies[3], -2);
}

TEST(Rack, IsPlacedAtTheReferencePointTurnedClockwiseAndLeavesTheMatrix) {
    make_gear(20, 0.0);
    scale_factor = 0.5;
    const ProfilePoint a = {1.5, -0.3};
    const double t = 0.4;
    fake_gl_reset();
    draw_rack_tooth(black);
    const ProfilePoint p5 = {fake_gl_block_vertices(0)[8].x, fake_gl_block_vertices(0)[8].y};  // s·P5

    fake_gl_reset();
    some_caller_matrix();
    double before[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, before);
    fake_gl_clear_log();
    draw_rack(0, a, t, black);
    expect_matrix(fake_gl_state().modelview, before);
    EXPECT_EQ(fake_gl_state().modelview_depth, 1);
    EXPECT_EQ(fake_gl_block_count(), 4);  // mode 0: no rolling line

    // q = 0.4 / 0.3044 → 1: copies -1 … 2; copy 0 is the second. Its P5, turned
    // clockwise by t and moved to s·A, seen through the caller's matrix.
    const FakeGlVertex& v = fake_gl_block_vertices(1)[8];
    const double x = 0.5 * a.x + p5.x * std::cos(t) + p5.y * std::sin(t);
    const double y = 0.5 * a.y - p5.x * std::sin(t) + p5.y * std::cos(t);
    double expected[2];
    fake_gl_transform(before, x, y, expected);
    EXPECT_NEAR(v.view_x, expected[0], EPS);
    EXPECT_NEAR(v.view_y, expected[1], EPS);
}

TEST(Rack, ModeOneAddsTheBlueRollingLineThroughTheReferencePoint) {
    make_gear(20, 0.0);
    scale_factor = 0.5;
    fake_gl_reset();
    draw_rack(1, ProfilePoint{0, 0}, 0.0, black);
    ASSERT_EQ(fake_gl_block_count(), 5);
    const FakeGlBlock& line = fake_gl_block(4);
    EXPECT_EQ(line.colour[2], 1.0f);
    EXPECT_EQ(line.colour[0], 0.0f);
    EXPECT_EQ(line.vertex_count, 4 * 119 + 2);  // 20 view units long: 119 periods
    const FakeGlVertex* v = fake_gl_block_vertices(4);
    EXPECT_NEAR(v[0].view_x, 10, EPS);
    EXPECT_NEAR(v[0].view_y, 0, EPS);
    EXPECT_NEAR(v[4 * 119 + 1].view_x, -10, 10 * EPS);  // turned through π at radius 20
    EXPECT_NEAR(v[4 * 119 + 1].view_y, 0, 10 * EPS);
    expect_identity(fake_gl_state().modelview);

    fake_gl_reset();
    const double t = -0.7;
    draw_rack(1, ProfilePoint{2, 1}, t, black);
    const FakeGlVertex* w = fake_gl_block_vertices(4);
    const int last = fake_gl_block(4).vertex_count - 1;
    EXPECT_NEAR(w[0].view_x, 0.5 * (2 + 20 * std::cos(t)), EPS);
    EXPECT_NEAR(w[0].view_y, 0.5 * (1 - 20 * std::sin(t)), EPS);
    EXPECT_NEAR(w[last].view_x, 0.5 * (2 - 20 * std::cos(t)), 10 * EPS);
    EXPECT_NEAR(w[last].view_y, 0.5 * (1 + 20 * std::sin(t)), 10 * EPS);
}

// ---- the gear circles -------------------------------------------------------------

TEST(GearCircles, TwentyTeethAtTheStartZoom) {
    make_gear(20, 0.0);
    scale_factor = 0.5;
    fake_gl_reset();
    draw_gear_circles(ProfilePoint{0, -10});
    // The dash-dot pitch circle of view radius 5: 157 periods of two blocks.
    const int circles = 2 * 157;
    ASSERT_EQ(fake_gl_block_count(), circles + 6);
    for (int i = 0; i < circles; i += 31) {
        const FakeGlVertex* v = fake_gl_block_vertices(i);
        EXPECT_NEAR(distance(0, -5, v[0].view_x, v[0].view_y), 5, EPS);
        EXPECT_EQ(fake_gl_block(i).colour[2], 1.0f);
    }
    struct Expected {
        GLenum mode;
        double radius;
        float red, green;
    };
    const Expected rings[4] = {{GL_LINE_LOOP, 5.5, 1, 0},
                               {GL_LINE_LOOP, 4.375, 1, 0},
                               {GL_LINE_LOOP, 4.69846310392954, 0, 1},
                               {GL_POLYGON, 0.05, 0, 0}};
    for (int r = 0; r < 4; ++r) {
        const FakeGlBlock& b = fake_gl_block(circles + r);
        EXPECT_EQ(b.mode, rings[r].mode) << r;
        EXPECT_EQ(b.colour[0], rings[r].red) << r;
        EXPECT_EQ(b.colour[1], rings[r].green) << r;
        EXPECT_EQ(b.colour[2], 0.0f) << r;
        const FakeGlVertex* v = fake_gl_block_vertices(circles + r);
        for (int i = 0; i < b.vertex_count; i += 7)
            EXPECT_NEAR(distance(0, -5, v[i].view_x, v[i].view_y), rings[r].radius, EPS) << r;
    }
    const FakeGlVertex* across = fake_gl_block_vertices(circles + 4);
    const int across_last = fake_gl_block(circles + 4).vertex_count - 1;
    EXPECT_NEAR(across[0].view_x, 5, EPS);
    EXPECT_NEAR(across[0].view_y, -5, EPS);
    EXPECT_NEAR(across[across_last].view_x, -5, EPS);
    EXPECT_NEAR(across[across_last].view_y, -5, EPS);
    const FakeGlVertex* down = fake_gl_block_vertices(circles + 5);
    const int down_last = fake_gl_block(circles + 5).vertex_count - 1;
    EXPECT_NEAR(down[0].view_x, 0, EPS);
    EXPECT_NEAR(down[0].view_y, 0, EPS);
    EXPECT_NEAR(down[down_last].view_x, 0, EPS);
    EXPECT_NEAR(down[down_last].view_y, -10, EPS);
    EXPECT_EQ(fake_gl_block(circles + 5).colour[2], 1.0f);
    expect_identity(fake_gl_state().modelview);
}

// ---- all teeth of a gear ------------------------------------------------------------

TEST(GearTeeth, TwentyCopiesEighteenDegreesApartAndTheMatrixComesBack) {
    make_gear(20, 0.0);
    scale_factor = 0.5;
    const int last = shifted_tooth.outline_last;
    const ProfilePoint* points = shifted_tooth.outline;
    fake_gl_reset();
    some_caller_matrix();
    double before[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, before);
    fake_gl_clear_log();
    draw_gear_teeth(0.5, 20, ProfilePoint{0, 0}, last, points, red);
    expect_matrix(fake_gl_state().modelview, before, TURN_EPS);
    ASSERT_EQ(fake_gl_totals().blocks, 20);  // one block of wide lines per copy
    ASSERT_EQ(fake_gl_totals().segments, 20L * last);
    ASSERT_FALSE(fake_gl_overflowed());

    // Copy k is turned clockwise by k·18° about the gear centre (0, -5).
    const double phi = 2 * PI / 20;
    for (int k = 1; k <= 20; ++k)
        for (int j = 0; j < last; j += 13) {
            const FakeGlVertex& v = fake_gl_block_vertices(k - 1)[2 * j];
            const double px = 0.5 * points[j].x;
            const double py = 0.5 * points[j].y + 5;
            const double x = px * std::cos(k * phi) + py * std::sin(k * phi);
            const double y = -px * std::sin(k * phi) + py * std::cos(k * phi) - 5;
            double expected[2];
            fake_gl_transform(before, x, y, expected);
            EXPECT_NEAR(v.view_x, expected[0], EPS) << "copy " << k << " point " << j;
            EXPECT_NEAR(v.view_y, expected[1], EPS) << "copy " << k << " point " << j;
        }
    EXPECT_FLOAT_EQ(fake_gl_block(0).line_width, 4.0f);
}

TEST(GearTeeth, EmptyPolylineStillTurnsFullCircleAndNoTeethDrawNothing) {
    make_gear(17, 0.2);
    scale_factor = 0.7;
    fake_gl_reset();
    draw_gear_teeth(0.7, 17, ProfilePoint{0, 0}, 0, shifted_tooth.outline, blue);
    EXPECT_EQ(fake_gl_totals().blocks, 0);
    EXPECT_EQ(fake_gl_count(FAKE_GL_ROTATE), 17);
    expect_identity(fake_gl_state().modelview, TURN_EPS);

    fake_gl_reset();
    draw_gear_teeth(0.7, 0, ProfilePoint{0, 0}, shifted_tooth.outline_last, shifted_tooth.outline, blue);
    draw_gear_teeth(0.7, -4, ProfilePoint{0, 0}, shifted_tooth.outline_last, shifted_tooth.outline, blue);
    EXPECT_EQ(fake_gl_totals().calls, 0);
}

}  // namespace
