// What one frame of each scene shows, read from the recording GL: the legend
// text and where it stands, the markers at positions worked out by hand from
// the rolling geometry, the matrix scene '5' leaves behind, and the figures of
// the two comparison scenes in their colours and drawing order.
#include "app/app.hpp"
#include "app/scenes.hpp"
#include "tests/app/scenes_support.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Legend {
    char key;
    void (*block)();
    std::vector<std::string> lines;
};

const Legend LEGENDS[] = {
    {'1',
     scene_addendum_involute,
     {"(1) draw addendum involute generation", "     blue circle  : pitch circle",
      "     green circle : base circle", "     red point:point of rack generation of involute curve"}},
    {'2',
     scene_dedendum_involute,
     {"(2) draw dedendum involute generation", "     blue circle  : pitch circle",
      "     green circle : base circle", "     red point:point of rack generation of involute curve"}},
    {'3',
     scene_undercut_curve,
     {"(3) draw undercut curve generation", "     blue circle  : pitch circle",
      "     green circle : base circle", "     blue point : point of generation of undercut curve"}},
    {'4',
     scene_rack_rolling,
     {"(4) whole tooth profile generation by rack rolling on pitch circle", "     blue : pitch circle",
      "     green: base circle"}},
    {'5',
     scene_rack_gear_meshing,
     {"(5) whole tooth profile generation by rack-gear meshing", "     blue  : pitch circle",
      "     green : base circle"}},
    {'6',
     scene_one_tooth,
     {"(6) display one gear tooth", "     blue : pitch circle", "     green: base circle",
      "     blue tooth : standard gear", "     red tooth  : shifted gear"}},
    {'7',
     scene_whole_gear,
     {"(7) display whole gear teeth", "    blue curve:standard gear", "    red curve :shifted gear",
      "    blue  circle : pitch circle", "    green circle : base circle"}},
};

void draw_frame(void (*block)()) {
    fake_gl_clear_log();
    begin_frame();
    block();
    end_frame();
}

// Each legend line, byte for byte, at x = -0.9 and y = 0.95, 0.9, … in the
// 18-point font, and dark: also in a GL fresh from context creation, where
// lighting is still off and the current colour white.
TEST(Legends, EveryLineByteForByteDarkAndInPlace) {
    make_gear(20, 0.5);
    for (const Legend& legend : LEGENDS) {
        fake_gl_reset();
        draw_frame(legend.block);
        ASSERT_EQ(legend_lines(), legend.lines) << "scene " << legend.key;
        for (int k = 0; k < fake_gl_text_count(); ++k) {
            const FakeGlText& t = fake_gl_text(k);
            EXPECT_EQ(t.font, GLUT_BITMAP_HELVETICA_18);
            EXPECT_NEAR(t.x, -0.9, 1e-6) << "scene " << legend.key << " line " << k + 1;
            EXPECT_NEAR(t.y, 0.95 - 0.05 * k, 1e-6) << "scene " << legend.key << " line " << k + 1;
            for (int c = 0; c < 3; ++c)
                EXPECT_LT(t.colour[c], 0.1f) << "scene " << legend.key << " line " << k + 1;
        }
        // A second frame, after the primitives have left lighting on.
        draw_frame(legend.block);
        for (int k = 0; k < fake_gl_text_count(); ++k)
            EXPECT_LT(fake_gl_text(k).colour[0], 0.1f) << "scene " << legend.key;
    }
}

class RollingMarkers : public ::testing::Test {
protected:
    void SetUp() override {
        fake_gl_reset();
        make_gear(20, 0.0);  // r = 10, scale factor 0.5
    }
};

// The first frame of scene '1': all three markers on the pitch point, the rack
// at home with its rolling line along the x axis, no curve and no trace yet.
TEST_F(RollingMarkers, AddendumFirstFrameHasEverythingAtThePitchPoint) {
    draw_frame(scene_addendum_involute);
    std::vector<ViewDisc> red_discs = discs(red);
    std::vector<ViewDisc> blue_discs = discs(blue);
    ASSERT_EQ(red_discs.size(), 1u);
    ASSERT_EQ(blue_discs.size(), 2u);
    for (const ViewDisc& d : {red_discs[0], blue_discs[0], blue_discs[1]}) {
        EXPECT_NEAR(d.x, 0.0, VIEW_TOLERANCE);
        EXPECT_NEAR(d.y, 0.0, VIEW_TOLERANCE);
    }
    EXPECT_NEAR(red_discs[0].radius, 0.01, VIEW_TOLERANCE);
    EXPECT_NEAR(blue_discs[0].radius, 0.006, VIEW_TOLERANCE);  // the small one on the rack's reference point
    EXPECT_NEAR(blue_discs[1].radius, 0.01, VIEW_TOLERANCE);
    ViewSegment line = rolling_line();
    EXPECT_NEAR(line.y0, 0.0, VIEW_TOLERANCE);
    EXPECT_NEAR(line.y1, 0.0, VIEW_TOLERANCE);
    EXPECT_NEAR((line.x0 + line.x1) / 2, 0.0, VIEW_TOLERANCE);
    EXPECT_EQ(wide_segments(red), 0);
    EXPECT_EQ(rack_figures(green), 0);
}

// Step 10 (t = 0.1): A(0.1) = (0.0033300, 0.0498751), K = (0.4991671, -0.0249792) in the view.
TEST_F(RollingMarkers, AddendumStepTenRollsRight) {
    addendum_step = 10;
    draw_frame(scene_addendum_involute);
    std::vector<ViewDisc> blue_discs = discs(blue);
    ASSERT_EQ(blue_discs.size(), 2u);
    EXPECT_NEAR(blue_discs[0].x, 0.0016650, 1e-7);
    EXPECT_NEAR(blue_discs[0].y, 0.0249375, 1e-7);
    EXPECT_NEAR(blue_discs[1].x, 0.4991671, 1e-7);
    EXPECT_NEAR(blue_discs[1].y, -0.0249792, 1e-7);
    ViewSegment line = rolling_line();
    EXPECT_NEAR((line.x0 + line.x1) / 2, 0.0016650, 1e-7);
    EXPECT_NEAR((line.y0 + line.y1) / 2, 0.0249375, 1e-7);
}

// Scene '2' rolls the other way, shows the whole addendum involute from its
// first frame, and has no marker on the reference point.
TEST_F(RollingMarkers, DedendumStepTenIsTheMirrorImage) {
    draw_frame(scene_dedendum_involute);
    EXPECT_EQ(wide_segments(red), generation_curves.addendum_last);
    dedendum_step = 10;
    draw_frame(scene_dedendum_involute);
    std::vector<ViewDisc> blue_discs = discs(blue);
    ASSERT_EQ(blue_discs.size(), 1u);
    EXPECT_NEAR(blue_discs[0].x, -0.4991671, 1e-7);
    EXPECT_NEAR(blue_discs[0].y, -0.0249792, 1e-7);
    ViewSegment line = rolling_line();
    EXPECT_NEAR((line.x0 + line.x1) / 2, -0.0016650, 1e-7);
    EXPECT_NEAR((line.y0 + line.y1) / 2, 0.0249375, 1e-7);
    EXPECT_EQ(wide_segments(red), generation_curves.addendum_last + 10);
}

// Scene '3' starts with the tip corner on the root circle, on the radius
// through the point of rolling (polar angle -u0), and the whole involute drawn.
TEST_F(RollingMarkers, UndercutStartsOnTheRootCircle) {
    draw_frame(scene_undercut_curve);
    const double s = scale_factor;
    const double r = gear_params.pitch_radius;
    const double u0 = gear_params.undercut_start_roll;
    std::vector<ViewDisc> blue_discs = discs(blue);
    ASSERT_EQ(blue_discs.size(), 2u);
    const ViewDisc& corner = blue_discs[0];
    const ViewDisc& rolling = blue_discs[1];
    EXPECT_NEAR(std::hypot(corner.x, corner.y + s * r), s * gear_params.root_radius, VIEW_TOLERANCE);
    EXPECT_NEAR(std::atan2(corner.x, corner.y + s * r), -u0, VIEW_TOLERANCE);
    EXPECT_NEAR(std::hypot(rolling.x, rolling.y + s * r), s * r, VIEW_TOLERANCE);
    EXPECT_NEAR(std::atan2(rolling.x, rolling.y + s * r), -u0, VIEW_TOLERANCE);
    EXPECT_EQ(wide_segments(red), generation_curves.involute_last);
    EXPECT_EQ(wide_segments(blue), 0);
}

// Scene '4' at step 0: the rack stands upright on the rightmost point of the
// pitch circle, (5, -5) in the view; A(π/2) = (10, 5.7079633) in the model.
TEST_F(RollingMarkers, RollingStartsAtTheRightOfThePitchCircle) {
    draw_frame(scene_rack_rolling);
    std::vector<ViewDisc> blue_discs = discs(blue);
    ASSERT_EQ(blue_discs.size(), 1u);
    EXPECT_NEAR(blue_discs[0].x, 5.0, VIEW_TOLERANCE);
    EXPECT_NEAR(blue_discs[0].y, -5.0, VIEW_TOLERANCE);
    ViewSegment line = rolling_line();
    EXPECT_NEAR(line.x0, line.x1, 1e-6);  // upright
    EXPECT_NEAR((line.x0 + line.x1) / 2, 5.0, 1e-7);
    EXPECT_NEAR((line.y0 + line.y1) / 2, 2.8539816, 1e-7);
}

// Scene '5': the current rack is level on the x axis with its reference point
// at (-s·r·t, 0): (-7.8539816, 0) at step 0 and (-5.0539816, 0) at step 28.
TEST_F(RollingMarkers, MeshingRackIsLevelAndSlidesRight) {
    for (int step : {0, 28}) {
        tooth_step = step;
        draw_frame(scene_rack_gear_meshing);
        ViewSegment line = rolling_line();
        EXPECT_NEAR(line.y0, 0.0, VIEW_TOLERANCE) << "step " << step;
        EXPECT_NEAR(line.y1, 0.0, VIEW_TOLERANCE) << "step " << step;
        double expected = step == 0 ? -7.8539816 : -5.0539816;
        EXPECT_NEAR((line.x0 + line.x1) / 2, expected, 1e-7) << "step " << step;
    }
    // At step 0 the gear's marker lies on the fixed marker at the pitch point.
    tooth_step = 0;
    draw_frame(scene_rack_gear_meshing);
    std::vector<ViewDisc> blue_discs = discs(blue);
    ASSERT_EQ(blue_discs.size(), 2u);
    EXPECT_NEAR(blue_discs[1].x, blue_discs[0].x, VIEW_TOLERANCE);
    EXPECT_NEAR(blue_discs[1].y, blue_discs[0].y, VIEW_TOLERANCE);
}

// Scene '5' leaves its turn about the gear centre on the matrix; the next
// frame's begin_frame takes it off again.
TEST_F(RollingMarkers, MeshingLeavesTheTurnOnTheMatrixUntilTheNextFrame) {
    tooth_step = 10;
    fake_gl_clear_log();
    begin_frame();
    scene_rack_gear_meshing();
    const double t = PI / 2 - 10 * 0.02;
    const double sr = scale_factor * gear_params.pitch_radius;
    double moved[2];
    fake_gl_transform(fake_gl_state().modelview, 0.0, 0.0, moved);
    EXPECT_NEAR(moved[0], -sr * std::sin(t), VIEW_TOLERANCE);
    EXPECT_NEAR(moved[1], sr * std::cos(t) - sr, VIEW_TOLERANCE);
    fake_gl_transform(fake_gl_state().modelview, 0.0, -sr, moved);  // the centre stays
    EXPECT_NEAR(moved[0], 0.0, VIEW_TOLERANCE);
    EXPECT_NEAR(moved[1], -sr, VIEW_TOLERANCE);
    EXPECT_EQ(fake_gl_state().modelview_depth, 1);
    end_frame();
    begin_frame();
    fake_gl_transform(fake_gl_state().modelview, 0.3, 0.4, moved);
    EXPECT_DOUBLE_EQ(moved[0], 0.3);
    EXPECT_DOUBLE_EQ(moved[1], 0.4);
    EXPECT_EQ(fake_gl_state().errors, 0);
}

class Comparison : public ::testing::Test {
protected:
    void SetUp() override {
        fake_gl_reset();
        make_gear(20, 0.5);
    }
};

// Scene '6': the shifted gear's circles in red, the standard gear's (less the
// shift) in blue, and the flanks: the standard tooth first, the shifted over it.
TEST_F(Comparison, OneToothCirclesAndFlanksInOrder) {
    draw_frame(scene_one_tooth);
    const double s = scale_factor;
    std::vector<ViewDisc> red_circles = circles(red), blue_circles = circles(blue);
    ASSERT_EQ(red_circles.size(), 2u);
    ASSERT_EQ(blue_circles.size(), 2u);
    EXPECT_NEAR(red_circles[0].radius, s * 11.5, 1e-6);  // r + 1 + x
    EXPECT_NEAR(red_circles[1].radius, s * 9.25, 1e-6);  // r - 1.25 + x
    EXPECT_NEAR(blue_circles[0].radius, s * 11.0, 1e-6);
    EXPECT_NEAR(blue_circles[1].radius, s * 8.75, 1e-6);
    for (const ViewDisc& c : {red_circles[0], red_circles[1], blue_circles[0], blue_circles[1]}) {
        EXPECT_NEAR(c.x, 0.0, VIEW_TOLERANCE);
        EXPECT_NEAR(c.y, -s * 10.0, VIEW_TOLERANCE);
    }
    EXPECT_EQ(wide_segments(blue), 2 * standard_tooth.flank_last);
    EXPECT_EQ(wide_segments(red), 2 * shifted_tooth.flank_last);
    int last_blue = -1, first_red = -1;
    for (int b = 0; b < fake_gl_block_count(); ++b) {
        const FakeGlBlock& block = fake_gl_block(b);
        if (block.line_width != 4.0f) continue;
        if (has_colour(block.colour, blue)) last_blue = b;
        if (has_colour(block.colour, red) && first_red < 0) first_red = b;
    }
    EXPECT_LT(last_blue, first_red);
    std::vector<ViewDisc> centre = discs(black);
    ASSERT_EQ(centre.size(), 1u);
    EXPECT_NEAR(centre[0].radius, 0.1 * s, VIEW_TOLERANCE);
}

// Scene '7': z copies of each outline all round the centre, the standard gear
// over the shifted one, and the matrix back where it was.
TEST_F(Comparison, WholeGearHasEveryToothOfBoth) {
    draw_frame(scene_whole_gear);
    const double s = scale_factor;
    EXPECT_EQ(wide_segments(red), 20 * shifted_tooth.outline_last);
    EXPECT_EQ(wide_segments(blue), 20 * standard_tooth.outline_last);
    bool sector_has_tooth[20] = {};
    int last_red = -1, first_blue = -1;
    for (int b = 0; b < fake_gl_block_count(); ++b) {
        const FakeGlBlock& block = fake_gl_block(b);
        if (block.line_width != 4.0f) continue;
        if (has_colour(block.colour, red)) {
            last_red = b;
            const FakeGlVertex& v = fake_gl_block_vertices(b)[0];
            double angle = std::atan2(v.view_x, v.view_y + s * 10.0);
            int sector = static_cast<int>(std::floor((angle + PI) / (2 * PI / 20))) % 20;
            sector_has_tooth[sector] = true;
        }
        if (has_colour(block.colour, blue) && first_blue < 0) first_blue = b;
    }
    EXPECT_LT(last_red, first_blue);
    for (int k = 0; k < 20; ++k) EXPECT_TRUE(sector_has_tooth[k]) << "no red tooth in sector " << k;
    double moved[2];
    fake_gl_transform(fake_gl_state().modelview, 0.7, -0.2, moved);
    EXPECT_NEAR(moved[0], 0.7, VIEW_TOLERANCE);
    EXPECT_NEAR(moved[1], -0.2, VIEW_TOLERANCE);
}

// The still pictures own no counter: 's' draws the same frame again.
TEST_F(Comparison, StillPicturesRepeatAndLeaveTheCounters) {
    for (void (*block)() : {scene_one_tooth, scene_whole_gear}) {
        draw_frame(block);
        std::vector<ViewSegment> red_first = short_segments(red);
        std::vector<ViewSegment> blue_first = short_segments(blue);
        long vertices = fake_gl_totals().vertices;
        draw_frame(block);
        EXPECT_EQ(fake_gl_totals().vertices, vertices);
        EXPECT_TRUE(all_found_in(red_first, short_segments(red)));
        EXPECT_TRUE(all_found_in(blue_first, short_segments(blue)));
    }
    EXPECT_EQ(addendum_step + dedendum_step + undercut_step + tooth_step, 0);
}

}  // namespace
