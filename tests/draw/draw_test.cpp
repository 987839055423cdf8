// The drawing layer as recorded, every figure recorded whole: the dash-dot
// line and circle (the one place their counts are worked out), circles and
// discs, the cross, the turn and the legend, and the rack-cutter and gear
// figures, each placed exactly with the caller's matrix left as it was.
#include "draw/draw.hpp"
#include "record/device.hpp"
#include "tests/record/record_reading.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

namespace {

Gear gear;  // the gear the figures are handed

void whole_frame(int z = 20, double x = 0.0, double scale = 0.5) {
    compute_gear(gear, SPECIFIED_CUTTER, z, x);
    scale_factor = scale;
    begin_record({800, 800, 1.0f, false});
    device_line_width(2);
}

// ---- primitives ------------------------------------------------------------------

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
// Radius 40 has sub-steps of 1/40 pixel: a dash is drawn as chords across whole
// sub-steps, its ends where they were and the count bounded.
TEST(DashDotCircle, CountsPlacesAndChords) {
    whole_frame();
    draw_dash_dot_circle(ProfilePoint{0.2, 0.1}, 0.1, blue);
    std::vector<ViewSegment> s = segments(blue);
    ASSERT_EQ(s.size(), 66u);
    const double sixth = 2 * CIRCLE_PI / (6 * 15);
    for (int i = 1; i <= 6; ++i) {
        const ViewSegment& dash = s[11 * (i - 1)];
        const ViewSegment& dot = s[11 * (i - 1) + 9];
        EXPECT_NEAR(dash.x0, 0.2 + 0.1 * std::cos(i * CIRCLE_PI / 3), 1e-15) << "period " << i;
        EXPECT_NEAR(dash.y0, 0.1 + 0.1 * std::sin(i * CIRCLE_PI / 3), 1e-15) << "period " << i;
        EXPECT_NEAR(dot.x0, 0.2 + 0.1 * std::cos(i * CIRCLE_PI / 3 + 11 * sixth), 1e-15) << "period " << i;
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

    const double radius = 40;
    whole_frame();
    draw_dash_dot_circle(ProfilePoint{0, -radius}, radius, blue);
    s = segments(blue);
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
    EXPECT_LT(
        distance_to(s, radius * std::cos(start + m * delta), radius * std::sin(start + m * delta) - radius),
        1e-9);
    EXPECT_LT(distance_to(s, radius * std::cos(start), radius * std::sin(start) - radius), 1e-9);
}

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
    draw_disc(ProfilePoint{0, 0}, 0.01, red);
    draw_text(0.0f, 0.0f, "\x82\xa0 bytes");
    EXPECT_NEAR(discs(red)[0].x, -0.5, 1e-15);
    EXPECT_NEAR(discs(red)[0].y, -0.5, 1e-15);
    EXPECT_EQ(legend_lines(), std::vector<std::string>{"\x82\xa0 bytes"});
    EXPECT_NEAR(legend_positions()[0].x, -0.5, 1e-15);
}

// ---- figures ---------------------------------------------------------------------

// Which copies q-2 … q+1 a roll draws (q = r·t/π toward zero): for z = 20,
// t = 1 gives copies 1 to 4, t = -1 copies -5 to -2, t = 0 copies -2 to 1.
// Copy i's right flank of its middle tooth crosses the rolling line at i·π.
// 22 segments: a copy after the first leaves out the two flanks it shares
// with the one before. Unturned, the first copy is the x = 0 outline P1 … P8
// (rounded to five places) moved by -2π.
TEST(Rack, CopiesFollowTheRollAndArePlacedAtTheReferencePointTurned) {
    for (double t : {1.0, -1.0, 0.0}) {
        whole_frame(20, 0.0, 0.05);
        const ProfilePoint a = {0.3, -0.7};
        draw_rack(gear.params, 0, a, t, black);
        const std::vector<ViewSegment> s = segments(black);
        ASSERT_EQ(s.size(), 22u) << "t = " << t;
        const int first = t > 0 ? 1 : t < 0 ? -5 : -2;
        for (int c = 0; c < 4; ++c) {
            // The 5th segment (P5-P6) of a copy passes the rolling line at (i·π, 0) of the rack frame.
            const double along = (first + c) * PI * 0.05;
            const double x = 0.05 * a.x + along * std::cos(t);
            const double y = 0.05 * a.y - along * std::sin(t);
            const ViewSegment& flank = s[c == 0 ? 4 : 7 + 5 * (c - 1) + 2];  // P5-P6
            EXPECT_LT(distance_to(std::vector<ViewSegment>{flank}, x, y), 1e-12)
                << "t " << t << " copy " << c;
        }
        if (t != 0) continue;
        const double corners[8][2] = {{-3.59656, -1.25}, {-2.77762, 1}, {-1.93477, 1}, {-1.11583, -1.25},
                                      {-0.45496, -1.25}, {0.36397, 1},  {1.20683, 1},  {2.02576, -1.25}};
        for (int i = 0; i < 7; ++i) {
            EXPECT_NEAR(s[i].x0, 0.05 * (a.x + corners[i][0] - 2 * PI), 1e-6) << "P" << i + 1;
            EXPECT_NEAR(s[i].y0, 0.05 * (a.y + corners[i][1]), 1e-6) << "P" << i + 1;
            EXPECT_NEAR(s[i].x1, 0.05 * (a.x + corners[i + 1][0] - 2 * PI), 1e-6) << "P" << i + 2;
        }
    }
}

// Mode 1 adds the rolling line: blue, through the reference point along the
// rack's x axis, 20 model units to either side.
TEST(Rack, ModeOneAddsTheRollingLineAndTheMatrixIsKept) {
    whole_frame(20, 0.0, 0.02);
    device_translate(0.1, -0.2);
    device_rotate(0.3);
    const DeviceMatrix before = device_matrix();
    draw_rack(gear.params, 1, ProfilePoint{1, 2}, 0.4, black);
    const DeviceMatrix& after = device_matrix();
    EXPECT_EQ(after.xx, before.xx);
    EXPECT_EQ(after.x0, before.x0);
    EXPECT_EQ(after.y0, before.y0);
    const std::vector<ViewSegment> line = segments(blue);
    ASSERT_FALSE(line.empty());
    // In the caller's frame: from A + 20·(cos t, -sin t) to A - 20·(cos t, -sin t), times 0.02.
    const double c = std::cos(0.3);
    const double sn = std::sin(0.3);
    auto view = [&](double x, double y) { return ProfilePoint{0.1 + c * x - sn * y, -0.2 + sn * x + c * y}; };
    const ProfilePoint start = view(0.02 * (1 + 20 * std::cos(0.4)), 0.02 * (2 - 20 * std::sin(0.4)));
    const ProfilePoint end = view(0.02 * (1 - 20 * std::cos(0.4)), 0.02 * (2 + 20 * std::sin(0.4)));
    EXPECT_NEAR(line.front().x0, start.x, 1e-12);
    EXPECT_NEAR(line.front().y0, start.y, 1e-12);
    EXPECT_NEAR(line.back().x1, end.x, 1e-12);
    EXPECT_NEAR(line.back().y1, end.y, 1e-12);
}

// A pinion-type cutter of 25 teeth on z = 12 at s = 0.05: all its teeth are
// 25 copies of the tooth about the centre where the geometry places it, which
// close into one outline between its root and tip circles (every end is met
// by another); the teeth that cut are fewer copies, those facing the gear;
// mode 1 adds the two cutting pitch circles and the centre disc, and the
// caller's matrix is kept.
TEST(PinionCutter, CopiesCloseIntoOneOutlineAboutItsCentre) {
    const Cutter cutter = {20.0, 1.0, 1.25, 0.0, 25, 0.2};
    compute_gear(gear, cutter, 12, 0.0);
    scale_factor = 0.05;
    begin_record({800, 800, 1.0f, false});
    CutterTooth tooth;
    make_cutter_tooth(gear.params, tooth);
    ASSERT_GT(tooth.last, 8);
    const CutterPlace place = pinion_cutter_place(gear.params, 0.3);
    draw_pinion_cutter(gear.params, tooth, 0, 0.3, CutterTeeth::ALL, black);
    const std::vector<ViewSegment> all = segments(black);
    ASSERT_EQ(all.size(), static_cast<size_t>(25 * tooth.last));
    std::map<std::pair<long long, long long>, int> ends;
    for (const ViewSegment& g : all) {
        for (const ProfilePoint p : {ProfilePoint{g.x0, g.y0}, ProfilePoint{g.x1, g.y1}}) {
            const double radius = std::hypot(p.x - 0.05 * place.centre.x, p.y - 0.05 * place.centre.y) / 0.05;
            EXPECT_GE(radius, gear.params.pinion.root_circle - 1e-9);
            EXPECT_LE(radius, gear.params.pinion.tip_circle + 1e-9);
            ++ends[{std::llround(p.x * 1e9), std::llround(p.y * 1e9)}];
        }
    }
    for (const auto& end : ends) EXPECT_EQ(end.second % 2, 0);
    begin_record({800, 800, 1.0f, false});
    draw_pinion_cutter(gear.params, tooth, 0, 0.3, CutterTeeth::CUTTING, green);
    const size_t cutting = segments(green).size();
    EXPECT_EQ(cutting % tooth.last, 0u);
    EXPECT_GE(cutting / tooth.last, 2u);
    EXPECT_LE(cutting / tooth.last, 5u);
    for (const ViewSegment& g : segments(green))  // the lower side, towards the gear
        EXPECT_LT(g.y0, 0.05 * place.centre.y);
    begin_record({800, 800, 1.0f, false});
    device_rotate(0.3);
    const DeviceMatrix before = device_matrix();
    draw_pinion_cutter(gear.params, tooth, 1, 0.3, CutterTeeth::ALL, black);
    EXPECT_EQ(device_matrix().xx, before.xx);
    EXPECT_EQ(device_matrix().xy, before.xy);
    EXPECT_FALSE(segments(blue).empty());
    ASSERT_EQ(discs(black).size(), 1u);
}

// z = 20, x = 0 at s = 0.05 about (0, -10): tip 0.55, root 0.4375, base
// 0.46985, disc 0.005, all about (0, -0.5); the centre lines from (0.5, -0.5)
// to (-0.5, -0.5) and from (0, 0) to (0, -1), dash-dot, begin and end with a dash.
TEST(GearCircles, TwentyTeethRadiiCentreAndLines) {
    whole_frame(20, 0.0, 0.05);
    draw_gear_circles(gear.params, ProfilePoint{0, -10});
    const std::vector<ViewCircle> reds = outlines(red);
    const std::vector<ViewCircle> greens = outlines(green);
    const std::vector<ViewCircle> disc = discs(black);
    ASSERT_EQ(reds.size(), 2u);
    ASSERT_EQ(greens.size(), 1u);
    ASSERT_EQ(disc.size(), 1u);
    EXPECT_NEAR(reds[0].radius, 0.55, 1e-12);
    EXPECT_NEAR(reds[1].radius, 0.4375, 1e-12);
    EXPECT_NEAR(greens[0].radius, 0.46985, 1e-5);
    EXPECT_NEAR(disc[0].radius, 0.005, 1e-12);
    for (const ViewCircle& c : {reds[0], reds[1], greens[0], disc[0]}) {
        EXPECT_NEAR(c.x, 0, 1e-12);
        EXPECT_NEAR(c.y, -0.5, 1e-12);
    }
    const std::vector<ViewSegment> dashes = segments(blue);
    for (const ProfilePoint& end :
         {ProfilePoint{0.5, -0.5}, ProfilePoint{-0.5, -0.5}, ProfilePoint{0, 0}, ProfilePoint{0, -1}})
        EXPECT_LT(distance_to(dashes, end.x, end.y), 1e-12) << end.x << ", " << end.y;
}

// A gear of 20 teeth (r = 10) at s = 0.05, from an outline in its own frame
// (centre (0, -10)): copy k is the outline turned by k·18° about that centre
// and moved onto the gear's centre, whichever way the copies are placed. The
// mesh's way starts from the turn given and goes round counter-clockwise; the
// whole gear's steps round clockwise and its 20th copy falls on the outline.
// Nothing for no teeth or an empty polyline.
TEST(GearTeeth, EachCopyIsTheOutlineTurnedByItsPitchesAboutTheCentre) {
    const ProfilePoint points[] = {{-0.5, 0.2}, {0.0, 1.0}, {0.5, 0.2}};
    const ProfilePoint centre = {3.0, 4.0};
    auto tip_of = [&](double turn, const ProfilePoint& at) {  // where the copy turned by turn puts (0, 1)
        return ProfilePoint{0.05 * (at.x - 11 * std::sin(turn)), 0.05 * (at.y + 11 * std::cos(turn))};
    };
    whole_frame(20, 0.0, 0.05);
    draw_gear_teeth(TeethPlacement::TURN_ABOUT_CENTRE, centre, 10, 20, 0.3, points, 2, red);
    std::vector<ViewSegment> s = segments(red, 4.0f);
    ASSERT_EQ(s.size(), 40u);
    for (int k = 0; k < 20; ++k) {
        const ProfilePoint tip = tip_of(0.3 + k * PI / 10, centre);
        EXPECT_NEAR(s[2 * k].x1, tip.x, 1e-12) << "copy " << k;
        EXPECT_NEAR(s[2 * k].y1, tip.y, 1e-12) << "copy " << k;
    }
    whole_frame(20, 0.0, 0.05);
    draw_gear_teeth(TeethPlacement::PITCH_STEPS, ProfilePoint{0, -10}, 10, 20, 0.0, points, 2, red);
    s = segments(red, 4.0f);
    ASSERT_EQ(s.size(), 40u);
    for (int k = 1; k <= 20; ++k) {
        const ProfilePoint tip = tip_of(-k * PI / 10, ProfilePoint{0, -10});
        EXPECT_NEAR(s[2 * (k - 1)].x1, tip.x, 1e-12) << "copy " << k;
        EXPECT_NEAR(s[2 * (k - 1)].y1, tip.y, 1e-12) << "copy " << k;
    }
    EXPECT_NEAR(s[38].x0, 0.05 * -0.5, 1e-12);  // 20·φ is 2π but for the short π
    EXPECT_NEAR(s[38].y0, 0.05 * 0.2, 1e-12);
    const int items = frame_record.item_count;
    draw_gear_teeth(TeethPlacement::PITCH_STEPS, ProfilePoint{0, -10}, 10, 0, 0.0, points, 2, red);
    draw_gear_teeth(TeethPlacement::TURN_ABOUT_CENTRE, centre, 10, 20, 0.0, points, 0, red);
    EXPECT_EQ(frame_record.item_count, items);
    EXPECT_EQ(device_matrix().x0, 0);
}

// Rounded tips (20°, 1, 1.25, ρ 0.38), z = 20 and x = 0: the first of the
// unrolled rack's four pitches, moved back onto the reference point, is drawn
// in order P1 arc and flank, root land, flank and P4 arc, tip land, P5 arc and
// flank, root land, flank and P8 arc, n chords an arc (each later pitch leaves
// out the flank and arc it shares with the one before). Each arc's centre is
// where the tip line and the flank, both moved ρ into the tooth, cross; every
// chord end lies ρ from it, the arc's ends on the tip line and the flank with
// their radii square to them, where the straight parts begin; no chord strays
// a quarter pixel from the circle, in a frame where ρ is 76 pixels (as at the
// start scale in the window) and in one 40 times as large (as if zoomed far in).
// The scale keeps all four pitches within the guard square.
TEST(Rack, RoundedTipsAreArcsTangentToFlankAndTipLine) {
    const double rho = 0.38;
    const double s = 0.1;
    for (int size : {4000, 160000}) {
        SCOPED_TRACE(testing::Message() << "frame " << size);
        compute_gear(gear, Cutter{20.0, 1.0, 1.25, rho}, 20, 0.0);
        scale_factor = s;
        begin_record({size, size, 1.0f, false});
        device_translate(2 * PI * s, 0);  // the first pitch, at -2π along the rack, comes to the origin
        draw_rack(gear.params, 0, ProfilePoint{0, 0}, 0.0, black);
        const std::vector<ViewSegment> seg = segments(black);
        ASSERT_EQ((seg.size() - 22) % 10, 0u);
        const int n = static_cast<int>(seg.size() - 22) / 10;
        ASSERT_GE(n, size > 4000 ? 40 : 6);
        const double alpha = PI / 9;
        const double hf = 1.25;
        const double dof = hf * std::tan(alpha);
        const double tip_land = PI / 2 - 2 * hf * std::tan(alpha);
        struct Corner {
            double x;         // on the tip line y = -hf
            double side;      // +1: the tooth lies to the right of the corner
            int first_chord;  // index of its first chord
            bool from_flank;  // the outline reaches the arc along the flank
        };
        const Corner corners[] = {{-PI - dof, -1, 0, false},
                                  {-dof - tip_land, 1, n + 3, true},
                                  {-dof, -1, 2 * n + 4, false},
                                  {PI / 2 + dof, 1, 3 * n + 7, true}};
        for (const Corner& c : corners) {
            SCOPED_TRACE(testing::Message() << "corner at x = " << c.x);
            // The flank rises from the corner away from the tooth: unit u; n_in points into the tooth.
            const double ux = -c.side * std::sin(alpha);
            const double uy = std::cos(alpha);
            const double nx = c.side * std::cos(alpha);
            const double ny = std::sin(alpha);
            // Centre: y = -hf + ρ, and (centre - corner)·n_in = ρ.
            const double cy = -hf + rho;
            const double cx = c.x + (rho - (cy + hf) * ny) / nx;
            auto radius_at = [&](double vx, double vy) { return std::hypot(vx / s - cx, vy / s - cy); };
            for (int k = 0; k < n; ++k) {
                const ViewSegment& chord = seg[c.first_chord + k];
                EXPECT_NEAR(radius_at(chord.x0, chord.y0), rho, 1e-12);
                EXPECT_NEAR(radius_at(chord.x1, chord.y1), rho, 1e-12);
                const double sagitta =
                    rho - radius_at(0.5 * (chord.x0 + chord.x1), 0.5 * (chord.y0 + chord.y1));
                EXPECT_LT(sagitta * s * size / 2, 0.25) << "chord " << k;
            }
            const ViewSegment& first = seg[c.first_chord];
            const ViewSegment& last = seg[c.first_chord + n - 1];
            // Ends in outline order: the flank's end and the tip line's, whichever comes first.
            const double flank_x = c.from_flank ? first.x0 : last.x1;
            const double flank_y = c.from_flank ? first.y0 : last.y1;
            const double tip_x = c.from_flank ? last.x1 : first.x0;
            const double tip_y = c.from_flank ? last.y1 : first.y0;
            // On each line, with the radius square to it: the tangent points.
            EXPECT_NEAR(tip_y / s, -hf, 1e-12);
            EXPECT_NEAR(tip_x / s, cx, 1e-12);
            EXPECT_NEAR((flank_x / s - c.x) * nx + (flank_y / s + hf) * ny, 0, 1e-12);
            EXPECT_NEAR((flank_x / s - cx) * ux + (flank_y / s - cy) * uy, 0, 1e-12);
            // The straight parts go on from the arc's ends.
            const ViewSegment& flank = seg[c.from_flank ? c.first_chord - 1 : c.first_chord + n];
            EXPECT_EQ(c.from_flank ? flank.x1 : flank.x0, flank_x);
            EXPECT_EQ(c.from_flank ? flank.y1 : flank.y0, flank_y);
        }
        const ViewSegment& tip_land_segment = seg[2 * n + 3];
        EXPECT_EQ(tip_land_segment.x0, seg[2 * n + 2].x1);
        EXPECT_EQ(tip_land_segment.x1, seg[2 * n + 4].x0);
    }
}

}  // namespace
