// Leaving out what cannot be seen, against the recording GL fake: what is
// still drawn is exactly what a full drawing draws there (same vertices under
// the same matrices), everything that reaches into the view is kept, and the
// matrix, lighting, colour and line width are left as a full drawing leaves
// them. Each case is drawn twice, with draw_only_visible off and on.
#include "draw/draw.hpp"
#include "fake_gl.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <tuple>
#include <utility>

namespace {

// A segment as GL gets it: the matrix it is drawn under (the entries that a
// turn and a move in the plane use) and its two vertices, all bit for bit.
using Segment = std::tuple<double, double, double, double, double, double, double, double, double, double>;

struct Drawing {
    std::set<Segment> segments;       // GL_LINES segments of the log
    std::set<Segment> touching_view;  // those that pass through the view square
    long segment_total;               // counted even past the log's capacity
    FakeGlState state;                // GL state afterwards
    long rotations;
    long translations;
};

// The state a frame has after earlier frames: an 800×800 window, lit, 2-pixel lines.
void window_frame() {
    fake_gl_reset();
    glViewport(0, 0, 800, 800);
    glEnable(GL_LIGHTING);
    glLineWidth(2.0f);
    fake_gl_clear_log();
}

// Does the segment a–b (view positions) pass through the view square [-1, 1]²?
// The part of it inside each bound, cut down axis by axis (Liang–Barsky).
bool crosses_view(const FakeGlVertex& a, const FakeGlVertex& b) {
    double first = 0;
    double last = 1;
    const double start[2] = {a.view_x, a.view_y};
    const double along[2] = {b.view_x - a.view_x, b.view_y - a.view_y};
    for (int axis = 0; axis < 2; ++axis) {
        if (along[axis] == 0) {
            if (std::fabs(start[axis]) > 1) return false;
            continue;
        }
        double enter = (-1 - start[axis]) / along[axis];
        double leave = (1 - start[axis]) / along[axis];
        if (enter > leave) std::swap(enter, leave);
        first = std::fmax(first, enter);
        last = std::fmin(last, leave);
    }
    return first <= last;
}

template <typename Draw>
Drawing draw(bool only_visible, Draw figure, void (*setup)() = window_frame) {
    setup();
    draw_only_visible = only_visible;
    figure();
    draw_only_visible = true;
    EXPECT_FALSE(fake_gl_overflowed()) << "the test case is too large for the log";
    Drawing d;
    for (int b = 0; b < fake_gl_block_count(); ++b) {
        const FakeGlBlock& block = fake_gl_block(b);
        if (block.mode != GL_LINES) continue;
        const FakeGlVertex* v = fake_gl_block_vertices(b);
        const double* m = block.modelview;
        for (int k = 0; k + 1 < block.vertex_count; k += 2) {
            const Segment s{m[0], m[1], m[4], m[5], m[12], m[13], v[k].x, v[k].y, v[k + 1].x, v[k + 1].y};
            d.segments.insert(s);
            if (crosses_view(v[k], v[k + 1])) d.touching_view.insert(s);
        }
    }
    d.segment_total = fake_gl_totals().segments;
    d.state = fake_gl_state();
    d.rotations = fake_gl_count(FAKE_GL_ROTATE);
    d.translations = fake_gl_count(FAKE_GL_TRANSLATE);
    return d;
}

bool includes(const std::set<Segment>& all, const std::set<Segment>& part) {
    for (const Segment& s : part)
        if (all.count(s) == 0) return false;
    return true;
}

// What a full drawing and a culled one must share: every segment the culled one
// draws is one of the full drawing's, every full segment reaching into the view
// is kept, and GL is left in the same state with the same matrix steps taken.
void expect_same_picture(const Drawing& all, const Drawing& culled) {
    EXPECT_TRUE(includes(all.segments, culled.segments)) << "a segment the full drawing does not have";
    EXPECT_TRUE(includes(culled.segments, all.touching_view)) << "a segment inside the view was left out";
    EXPECT_EQ(std::memcmp(all.state.modelview, culled.state.modelview, sizeof all.state.modelview), 0);
    EXPECT_EQ(culled.state.modelview_depth, all.state.modelview_depth);
    EXPECT_EQ(culled.state.lighting, all.state.lighting);
    EXPECT_EQ(culled.state.line_width, all.state.line_width);
    EXPECT_EQ(std::memcmp(all.state.colour, culled.state.colour, sizeof all.state.colour), 0);
    EXPECT_EQ(culled.state.errors, 0);
    EXPECT_EQ(culled.rotations, all.rotations);
    EXPECT_EQ(culled.translations, all.translations);
}

void make_gear(int z, double x) {
    compute_gear(z, x);
}

// ---- dash-dot circles ------------------------------------------------------------

TEST(CulledDashDotCircle, FarOutsideTheViewIssuesNoSegmentButTurnsAndLeavesTheSameState) {
    auto circle = [] { draw_dash_dot_circle({10, 10}, 1, blue); };
    const Drawing all = draw(false, circle);
    const Drawing culled = draw(true, circle);
    EXPECT_EQ(all.segment_total, 1705);
    EXPECT_EQ(culled.segment_total, 0);
    EXPECT_EQ(fake_gl_count(FAKE_GL_BEGIN), 0);  // no empty blocks either
    EXPECT_EQ(culled.rotations, 31);             // every period still turns the matrix
    expect_same_picture(all, culled);
}

TEST(CulledDashDotCircle, AHugeCircleThroughTheViewIssuesOnlyItsVisibleArc) {
    // The pitch circle of z = 12 at 'W' ×16 or so: view radius 3 about (0, -3),
    // n = 94 periods of m = 135 and k = 30 sub-steps; its top crosses the view.
    auto circle = [] { draw_dash_dot_circle({0, -3}, 3, blue); };
    const Drawing all = draw(false, circle);
    const Drawing culled = draw(true, circle);
    EXPECT_EQ(all.segment_total, 94L * (135 + 30));
    EXPECT_GT(culled.segment_total, 0);
    EXPECT_LT(culled.segment_total, all.segment_total / 5);  // about 2 of the 18.8 units of arc
    expect_same_picture(all, culled);
    EXPECT_FALSE(all.touching_view.empty());
}

TEST(CulledDashDotCircle, CrossingACornerAndAWideWindowKeepsEverySegmentInView) {
    auto corner = [] { draw_dash_dot_circle({1.3, -1.2}, 0.7, red); };  // cuts the lower right corner
    expect_same_picture(draw(false, corner), draw(true, corner));
    auto wide = [] {
        glViewport(0, 0, 1600, 400);  // a stretched window: the margin differs along x and y
        draw_dash_dot_circle({0.4, 1.9}, -1.05, green);
    };
    const Drawing all = draw(false, wide);
    const Drawing culled = draw(true, wide);
    EXPECT_LT(culled.segment_total, all.segment_total);
    expect_same_picture(all, culled);
}

TEST(CulledDashDotCircle, UnderATurnedAndMovedMatrixAsInTheMeshingScene) {
    auto turned = [] {
        glTranslated(0, -2.5, 0);
        glRotated(57.0, 0, 0, 1);
        draw_dash_dot_circle({0, 0}, 2.5, blue);
    };
    const Drawing all = draw(false, turned);
    const Drawing culled = draw(true, turned);
    EXPECT_LT(culled.segment_total, all.segment_total / 2);
    expect_same_picture(all, culled);
}

TEST(CulledDashDotCircle, SwitchOffOrNoViewportDrawsEveryPeriodAsBefore) {
    auto circle = [] { draw_dash_dot_circle({0, -5}, 5, blue); };
    const Drawing all = draw(false, circle);
    EXPECT_EQ(all.segment_total, 43175);  // 157 periods of 225 + 50 segments
    const Drawing no_viewport = draw(true, circle, [] { fake_gl_reset(); });  // nothing to judge by
    EXPECT_EQ(no_viewport.segment_total, 43175);
}

TEST(CulledDashDotCircle, ARadiusWithoutValueDrawsNothingAndABigOneKeepsItsSubStep) {
    window_frame();
    draw_dash_dot_circle({0, 0}, std::numeric_limits<double>::quiet_NaN(), blue);
    draw_dash_dot_circle({0, 0}, std::numeric_limits<double>::infinity(), blue);
    EXPECT_EQ(fake_gl_count(FAKE_GL_BEGIN), 0);
    EXPECT_EQ(fake_gl_count(FAKE_GL_ROTATE), 0);
    EXPECT_TRUE(fake_gl_state().lighting);
    EXPECT_EQ(fake_gl_state().colour[2], 1.0f);

    // Radius 1200: n·(m + 3k) = 37699 · 90000 is past the int range; the
    // sub-step stays 2π/(n·(m + 3k)) all the same.
    window_frame();
    draw_dash_dot_circle({0, -1200}, 1200, blue);
    const int n = 37699;
    const double delta = 2 * CIRCLE_PI / (static_cast<double>(n) * (54000 + 3 * 12000));
    ASSERT_GT(fake_gl_block_count(), 0);
    const FakeGlVertex* v = fake_gl_block_vertices(0);
    const double step = std::atan2(v[1].y, v[1].x) - std::atan2(v[0].y, v[0].x);
    EXPECT_NEAR(step, delta, delta * 1e-6);
    EXPECT_EQ(fake_gl_count(FAKE_GL_ROTATE), n);
}

// ---- dash-dot lines --------------------------------------------------------------

TEST(CulledDashDotLine, OnlyThePeriodsNearTheViewOfALongLine) {
    auto line = [] { draw_dash_dot_line({-20, 0.5}, {20, 0.5}, blue); };  // 239 periods
    const Drawing all = draw(false, line);
    const Drawing culled = draw(true, line);
    EXPECT_EQ(all.segment_total, 2 * 239 + 1);
    EXPECT_LE(culled.segment_total, 2 * 16);  // 2 view units of 40: 12 periods, 2 of margin, 2 of rounding
    expect_same_picture(all, culled);
}

TEST(CulledDashDotLine, WhollyOutsideIssuesNoBlockButLeavesTheSameState) {
    auto line = [] { draw_dash_dot_line({3, -4}, {5, 7}, green); };
    const Drawing all = draw(false, line);
    const Drawing culled = draw(true, line);
    EXPECT_EQ(fake_gl_count(FAKE_GL_BEGIN), 0);
    EXPECT_EQ(fake_gl_count(FAKE_GL_PUSH_MATRIX), 1);
    EXPECT_EQ(fake_gl_count(FAKE_GL_POP_MATRIX), 1);
    expect_same_picture(all, culled);
}

TEST(CulledDashDotLine, TheClosingDashIsKeptWhenTheLineEndsInView) {
    auto line = [] { draw_dash_dot_line({-30, 0.2}, {0.3, 0.2}, red); };
    const Drawing all = draw(false, line);
    const Drawing culled = draw(true, line);
    expect_same_picture(all, culled);
    const FakeGlBlock& b = fake_gl_block(0);
    const FakeGlVertex& end = fake_gl_block_vertices(0)[b.vertex_count - 1];
    EXPECT_NEAR(end.view_x, 0.3, 1e-7);  // the last dash still ends at b
}

// A rolling line after a hundred and more presses of 'W': its period count
// stays in the int range, and a line gone to infinity draws nothing.
TEST(CulledDashDotLine, AnAbsurdlyZoomedLineStillDrawsOnlyWhatIsInView) {
    window_frame();
    draw_dash_dot_line({-1e12, 0.5}, {1e12, 0.5}, blue);
    EXPECT_GT(fake_gl_totals().segments, 0);
    // Far fewer than the 6·10^7 periods of the capped count (the allowance for
    // GL's single-precision rounding grows with the 10^12 offset).
    EXPECT_LE(fake_gl_totals().segments, 4000);
    window_frame();
    draw_dash_dot_line({-INFINITY, 0.5}, {INFINITY, 0.5}, blue);
    EXPECT_EQ(fake_gl_count(FAKE_GL_BEGIN), 0);
    EXPECT_TRUE(fake_gl_state().lighting);
}

// ---- rack and teeth ---------------------------------------------------------------

TEST(CulledRack, WhollyOutsideDrawsNoSegmentAndEndsWithTheSameMatrix) {
    make_gear(20, 0.0);
    scale_factor = 0.5;
    auto rack = [] {
        glTranslated(0.1, -0.2, 0);  // a caller's matrix, as in the meshing scene
        glRotated(25, 0, 0, 1);
        draw_rack(0, ProfilePoint{40, 40}, 1.3, green);
    };
    const Drawing all = draw(false, rack);
    const Drawing culled = draw(true, rack);
    EXPECT_EQ(all.segment_total, 28);
    EXPECT_EQ(culled.segment_total, 0);
    EXPECT_EQ(culled.translations, 1 + 2 + 8);  // the copies' steps are all still taken
    expect_same_picture(all, culled);
}

TEST(CulledRack, PartlyVisibleKeepsWhatReachesTheViewAndItsRollingLine) {
    make_gear(20, 0.0);
    scale_factor = 0.5;
    for (double t : {0.0, 0.35, -1.2}) {
        SCOPED_TRACE(t);
        auto rack = [t] { draw_rack(1, ProfilePoint{0.3 * t, 0.2}, t, black); };
        const Drawing all = draw(false, rack);
        const Drawing culled = draw(true, rack);
        EXPECT_LT(culled.segment_total, all.segment_total);
        EXPECT_GT(culled.segment_total, 0);
        expect_same_picture(all, culled);
    }
}

TEST(CulledGearTeeth, OnlyTheTeethNearTheViewAndTheSameStateAfterwards) {
    make_gear(40, 0.5);
    scale_factor = 0.5;
    auto teeth = [] {
        draw_gear_teeth(0.5, 40, ProfilePoint{0, 0}, shifted_tooth.outline_last, shifted_tooth.outline, red);
    };
    const Drawing all = draw(false, teeth);
    const Drawing culled = draw(true, teeth);
    EXPECT_EQ(all.segment_total, 40L * shifted_tooth.outline_last);
    EXPECT_LT(culled.segment_total, all.segment_total / 4);
    expect_same_picture(all, culled);
}

TEST(CulledWidePolyline, WhollyOutsideOnTheFirstFrameStillLeavesTwoPixelsAndLighting) {
    scale_factor = 0.5;
    const ProfilePoint far[] = {{10, 10}, {11, 10}, {11, 12}};
    auto polyline = [&far] { draw_wide_polyline(far, 2, magenta); };
    auto first_frame = [] {  // a new run: 1-pixel lines, lighting off
        fake_gl_reset();
        glViewport(0, 0, 800, 800);
        fake_gl_clear_log();
    };
    const Drawing all = draw(false, polyline, first_frame);
    const Drawing culled = draw(true, polyline, first_frame);
    EXPECT_EQ(culled.segment_total, 0);
    EXPECT_EQ(culled.state.line_width, 2.0f);
    EXPECT_TRUE(culled.state.lighting);
    expect_same_picture(all, culled);

    const ProfilePoint across[] = {{-6, 0}, {-4, 0.1}, {4, 0.1}, {6, 0}};  // only the middle segment in view
    auto middle = [&across] { draw_wide_polyline(across, 3, red); };
    const Drawing culled_middle = draw(true, middle);
    EXPECT_EQ(culled_middle.segment_total, 1);
    expect_same_picture(draw(false, middle), culled_middle);
}

}  // namespace
