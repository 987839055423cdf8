// The primitives as recorded: the counts, places and widths of their
// segments, checked on the frame record (every figure recorded whole).
#include "draw/draw.hpp"
#include "record/device.hpp"
#include "tests/record/record_reading.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void whole_frame() {
    begin_record({800, 800, 1.0f, false});
    device_line_width(2);
}

// ---- solid and wide lines --------------------------------------------------------

TEST(Lines, SolidWideAndPolylineWidthsAndPlaces) {
    whole_frame();
    device_line_width(1);
    draw_line(ProfilePoint{0.1, 0.2}, ProfilePoint{0.3, 0.4}, red);
    draw_line_scaled(0.5, ProfilePoint{1, 1}, ProfilePoint{-1, 0}, red);
    ASSERT_EQ(frame_record.item_count, 1);  // one colour and width: one item
    EXPECT_EQ(frame_record.items[0].width, 1.0f);
    const std::vector<ViewSegment> s = segments(red);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[1].x0, 0.5);
    EXPECT_EQ(s[1].x1, -0.5);
    // A wide line is width × 400 pixels, and every later line is 2 pixels.
    draw_wide_line(ProfilePoint{0, 0}, ProfilePoint{0.1, 0}, 0.05, green);
    EXPECT_EQ(frame_record.items[1].width, 20.0f);
    EXPECT_EQ(device_line_width(), 2.0f);
    // The polyline: last segments of 4 pixels, model points times the scale factor.
    const ProfilePoint points[] = {{0, 0}, {1, 0}, {1, 1}, {0, 2}};
    scale_factor = 0.5;
    const int items = frame_record.item_count;
    draw_wide_polyline(points, 0, blue);
    draw_wide_polyline(points, -3, blue);
    EXPECT_EQ(frame_record.item_count, items);
    draw_wide_polyline(points, 3, blue);
    const std::vector<ViewSegment> p = segments(blue, 4.0f);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[2].x0, 0.5);
    EXPECT_EQ(p[2].y1, 1.0);
    EXPECT_EQ(device_line_width(), 2.0f);
}

// ---- dash-dot lines ----------------------------------------------------------

// The pattern from a to b: n periods of dash 9, gap 2, dot 2, gap 2 parts and
// a closing dash ending at b.
void expect_dash_dot_line(ProfilePoint a, ProfilePoint b, int periods, double period) {
    whole_frame();
    draw_dash_dot_line(a, b, blue);
    const std::vector<ViewSegment> s = segments(blue);
    ASSERT_EQ(s.size(), static_cast<size_t>(2 * periods + 1));
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const double ux = length > 0 ? (b.x - a.x) / length : 1;
    const double uy = length > 0 ? (b.y - a.y) / length : 0;
    for (int i = 0; i <= periods; ++i) {
        const double along[4] = {i * period, (i + 0.6) * period, (i + 11.0 / 15) * period,
                                 (i + 13.0 / 15) * period};
        for (int j = 0; j < (i < periods ? 2 : 1); ++j) {
            const ViewSegment& seg = s[2 * i + j];
            EXPECT_NEAR(seg.x0, a.x + along[2 * j] * ux, 1e-12) << "period " << i;
            EXPECT_NEAR(seg.y0, a.y + along[2 * j] * uy, 1e-12) << "period " << i;
            EXPECT_NEAR(seg.x1, a.x + along[2 * j + 1] * ux, 1e-12) << "period " << i;
        }
    }
    EXPECT_NEAR(s.back().x1, b.x, 1e-12);
    EXPECT_NEAR(s.back().y1, b.y, 1e-12);
}

TEST(DashDotLine, PeriodsFollowTheLength) {
    expect_dash_dot_line(ProfilePoint{0, 0}, ProfilePoint{0.3, 0}, 2, 0.3 * 15 / 39);
    expect_dash_dot_line(ProfilePoint{-0.5, -0.5}, ProfilePoint{0.5 * M_SQRT1_2 - 0.5, 0.5 * M_SQRT1_2 - 0.5},
                         2, 0.5 * 15 / 39);
    expect_dash_dot_line(ProfilePoint{0.1, 0.2}, ProfilePoint{0.1 + M_SQRT1_2, 0.2 + M_SQRT1_2}, 5,
                         15.0 / 84);
    expect_dash_dot_line(ProfilePoint{-1, 0.3}, ProfilePoint{1, 0.3}, 11, 2.0 * 15 / (15 * 11 + 9));
    expect_dash_dot_line(ProfilePoint{0.2, 0.2}, ProfilePoint{0.2, 0.2}, 2, 0);  // five empty segments at a
    // The scaled variant measures the scaled length: 0.5·(2, 0) has 5 periods, not 11.
    whole_frame();
    draw_dash_dot_line_scaled(0.5, ProfilePoint{-1, 0}, ProfilePoint{1, 0}, blue);
    EXPECT_EQ(segments(blue).size(), 11u);
}

// ---- discs and circles --------------------------------------------------------

TEST(Circles, DiscAndOutlineAre120GonsAndANegativeRadiusMirrors) {
    whole_frame();
    draw_disc(ProfilePoint{0.1, -0.2}, 0.3, black);
    draw_circle(ProfilePoint{0.1, -0.2}, -0.3, green);
    ASSERT_EQ(frame_record.item_count, 2);
    for (int i = 0; i < 2; ++i) {
        const RecordItem& item = frame_record.items[i];
        EXPECT_EQ(item.kind, i == 0 ? ItemKind::POLYGON : ItemKind::LINE_LOOP);
        ASSERT_EQ(item.vertex_count, CIRCLE_SEGMENTS);
        const double sign = i == 0 ? 1 : -1;
        for (int k = 0; k < CIRCLE_SEGMENTS; k += 17) {
            const RecordVertex& v = frame_record.vertices[item.first_vertex + k];
            const double angle = k * 2 * CIRCLE_PI / CIRCLE_SEGMENTS;
            EXPECT_NEAR(v.x, 0.1 + sign * 0.3 * std::cos(angle), 1e-15);
            EXPECT_NEAR(v.y, -0.2 + sign * 0.3 * std::sin(angle), 1e-15);
        }
    }
}

// Radius 0.1: 6 periods of 60 degrees, 9 dash and 2 dot segments each; radius
// 1: n = 31, m = 45, k = 10, 1,705 segments. Periods start at P, 2P, … 2π.
TEST(DashDotCircle, CountsAndPlacesOfThePeriods) {
    whole_frame();
    draw_dash_dot_circle(ProfilePoint{0.2, 0.1}, 0.1, blue);
    std::vector<ViewSegment> s = segments(blue);
    ASSERT_EQ(s.size(), 66u);
    const double delta = 2 * CIRCLE_PI / (6 * 15);
    for (int i = 1; i <= 6; ++i) {
        const ViewSegment& dash = s[11 * (i - 1)];
        const ViewSegment& dot = s[11 * (i - 1) + 9];
        EXPECT_NEAR(dash.x0, 0.2 + 0.1 * std::cos(i * CIRCLE_PI / 3), 1e-15) << "period " << i;
        EXPECT_NEAR(dash.y0, 0.1 + 0.1 * std::sin(i * CIRCLE_PI / 3), 1e-15) << "period " << i;
        EXPECT_NEAR(dot.x0, 0.2 + 0.1 * std::cos(i * CIRCLE_PI / 3 + 11 * delta), 1e-15) << "period " << i;
    }
    whole_frame();
    draw_dash_dot_circle(ProfilePoint{0, 0}, 1.0, blue);
    EXPECT_EQ(segments(blue).size(), 1705u);
    whole_frame();  // a negative radius counts by its size and mirrors the points
    draw_dash_dot_circle(ProfilePoint{0, 0}, -1.0, blue);
    s = segments(blue);
    ASSERT_EQ(s.size(), 1705u);
    EXPECT_NEAR(s[0].x0, -std::cos(2 * CIRCLE_PI / 31), 1e-15);
    whole_frame();  // a radius without value draws nothing
    draw_dash_dot_circle(ProfilePoint{0, 0}, INFINITY, blue);
    draw_dash_dot_circle(ProfilePoint{0, 0}, NAN, blue);
    EXPECT_EQ(frame_record.item_count, 0);
}

// Past a pixel's worth of sub-steps a dash is drawn as chords across whole
// sub-steps: its ends stay where they were, and the count stays bounded.
TEST(DashDotCircle, SubPixelSubStepsJoinIntoChordsWithTheSameEnds) {
    whole_frame();
    const double radius = 40;  // sub-steps of 1/40 px
    draw_dash_dot_circle(ProfilePoint{0, -radius}, radius, blue);
    const std::vector<ViewSegment> s = segments(blue);
    const int n = static_cast<int>(10 * CIRCLE_PI * radius);
    const int m = static_cast<int>(45 * radius);
    const int k = static_cast<int>(10 * radius);
    // The 800 px across the view hold about 2,400 chords of 9 sub-steps (22,000 sub-steps).
    int in_view = 0;
    for (const ViewSegment& seg : s) in_view += std::fabs(seg.x0) <= 1 && std::fabs(seg.x1) <= 1;
    EXPECT_GT(in_view, 1500);
    EXPECT_LT(in_view, 4000);
    // The period that starts at the top of the circle: its first chord starts
    // on its period's first sub-step point, and its dash ends on the m-th sub-step.
    const double delta = 2 * CIRCLE_PI / (static_cast<double>(n) * (m + 3 * k));
    const double start = (n / 4) * 2 * CIRCLE_PI / n;
    const double end_x = radius * std::cos(start + m * delta);
    const double end_y = radius * std::sin(start + m * delta) - radius;
    EXPECT_LT(distance_to(s, end_x, end_y), 1e-9);
    EXPECT_LT(distance_to(s, radius * std::cos(start), radius * std::sin(start) - radius), 1e-9);
}

// ---- cross, turn and text ---------------------------------------------------------

TEST(CrossTurnAndText, AsTheScenesUseThem) {
    whole_frame();
    device_line_width(1);
    draw_cross(ProfilePoint{0.25, 0}, M_PI / 2);  // cut to the guard square
    const std::vector<ViewSegment> s = segments(black, 2.0f);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_NEAR(s[0].x0, 0.25, 1e-14);
    EXPECT_NEAR(s[0].y0, -2, 1e-14);
    EXPECT_NEAR(s[1].x0, 2, 1e-14);
    EXPECT_NEAR(s[1].y0, 0, 1e-14);
    EXPECT_EQ(device_line_width(), 2.0f);
    // A quarter turn about (0, -0.5): the origin goes to (-0.5, -0.5), and the
    // legend is placed through the turned matrix too.
    whole_frame();
    rotate_about(ProfilePoint{0, 0}, ProfilePoint{0, -0.5}, M_PI / 2);
    draw_line(ProfilePoint{0, 0}, ProfilePoint{0, 0}, red);
    draw_text(0.0f, 0.0f, "\x82\xa0 bytes");
    EXPECT_NEAR(segments(red)[0].x0, -0.5, 1e-15);
    EXPECT_NEAR(segments(red)[0].y0, -0.5, 1e-15);
    EXPECT_EQ(legend_lines(), std::vector<std::string>{"\x82\xa0 bytes"});
    EXPECT_NEAR(legend_positions()[0].x, -0.5, 1e-15);
}

}  // namespace
