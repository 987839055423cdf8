// The parameter block and the rack-generation point formulas, checked against
// hand-computed values of the worked gears.
#include "geometry/geometry_private.hpp"

#include <gtest/gtest.h>
#include <cmath>

namespace {

// Tolerance for values quoted to seven places; exact constants use EXPECT_DOUBLE_EQ.
constexpr double QUOTED = 5e-8;

void set_gear(int z, double x_s) {
    gear_params.z = z;
    compute_gear_params();
    ProfileLasts lasts{};
    compute_tooth_profile(x_s, shifted_tooth.flank, shifted_tooth.mirror_flank, shifted_tooth.outline, lasts);
}

TEST(GearParams, PressureAngleConstantsAndRackLands) {
    compute_gear_params();
    EXPECT_DOUBLE_EQ(gear_params.alpha, 0.34906585039886556);
    EXPECT_NEAR(gear_params.tan_alpha, 0.363970234266202, 1e-15);
    EXPECT_NEAR(gear_params.cos_alpha, 0.939692620785908, 1e-15);
    EXPECT_EQ(gear_params.addendum_coefficient, 1.0);
    EXPECT_EQ(gear_params.dedendum_coefficient, 1.25);
    EXPECT_NEAR(gear_params.rack_root_land, 0.842855858262491, 1e-14);
    EXPECT_NEAR(gear_params.rack_tip_land, 0.66087074112939, 1e-14);
}

TEST(GearParams, ShiftDependentFieldsOfWorkedGears) {
    set_gear(20, 0.0);
    const GearParams& g = gear_params;
    EXPECT_EQ(g.pitch_radius, 10.0);
    EXPECT_EQ(g.tip_radius, 11.0);
    EXPECT_EQ(g.root_radius, 8.75);
    EXPECT_NEAR(g.base_radius, 9.39692620785908, 1e-13);
    EXPECT_NEAR(g.tooth_angle, 0.15707963267949, 1e-14);
    EXPECT_NEAR(g.space_angle, 0.15707963267949, 1e-14);
    EXPECT_NEAR(g.undercut_start_roll, 0.0454962792832752, 1e-15);
    EXPECT_NEAR(g.tip_corner_distance, 1.25 / g.cos_alpha, 1e-15);

    set_gear(10, 0.5);
    EXPECT_EQ(g.dedendum, 0.75);
    EXPECT_EQ(g.addendum, 1.5);
    EXPECT_EQ(g.tip_radius, 6.5);
    EXPECT_EQ(g.root_radius, 4.25);
    EXPECT_NEAR(g.tooth_angle, 0.386953312212219, 1e-14);

    set_gear(17, 0.0);
    EXPECT_EQ(g.pitch_radius, 8.5);  // an odd z gives a half-integer radius
}

TEST(RackPoints, StartPositionIsThePitchPoint) {
    set_gear(8, 0.0);
    ProfilePoint a{}, q{}, b{};
    double lambda = 1.0;
    rack_involute_point(0.0, a, q, lambda);
    EXPECT_EQ(a.x, 0.0);
    EXPECT_EQ(a.y, 0.0);
    EXPECT_EQ(q.x, 0.0);
    EXPECT_EQ(q.y, 0.0);
    EXPECT_EQ(lambda, 0.0);
    rack_undercut_point(0.0, a, b);
    EXPECT_NEAR(b.x, -gear_params.dedendum_offset, 1e-15);
    EXPECT_NEAR(b.y, -gear_params.dedendum, 1e-15);
}

TEST(RackPoints, ContactPointOfEightTeeth) {
    set_gear(8, 0.0);
    ProfilePoint a{}, q{};
    double lambda;
    rack_involute_point(0.01, a, q, lambda);
    EXPECT_NEAR(q.x, 0.0048088, QUOTED);
    EXPECT_NEAR(q.y, 0.0130083, QUOTED);
    EXPECT_NEAR(polar_radius(q), 4.013011, 5e-7);
    EXPECT_NEAR(polar_angle(q), 0.0011983, QUOTED);
    EXPECT_GT(lambda, 0.0);
    rack_involute_point(-0.01, a, q, lambda);
    EXPECT_NEAR(q.x, -0.0045517, QUOTED);
    EXPECT_NEAR(q.y, -0.0127019, QUOTED);
    EXPECT_LT(lambda, 0.0);
}

TEST(RackPoints, TipCornerMeetsRootCircleAtUndercutStart) {
    set_gear(8, 0.0);
    ProfilePoint a{}, b{};
    double u0 = gear_params.undercut_start_roll;
    EXPECT_NEAR(u0, 0.1137407, QUOTED);
    rack_undercut_point(-u0, a, b);
    EXPECT_NEAR(b.x, -0.3121129, QUOTED);
    EXPECT_NEAR(b.y, -1.2677691, QUOTED);
    EXPECT_NEAR(polar_radius(b), 2.75, 1e-12);
    EXPECT_NEAR(polar_angle(b), -u0, 1e-12);
}

// A rounded tip cuts from the root circle, with its lowest point, to the
// straight flank's end, where the involute takes over; also when a shift has
// raised the arc's centre above the rolling line (dedendum 0.3 < ρ = 0.39).
TEST(RackPoints, RoundedTipCutsFromRootCircleToFlankEnd) {
    gear_cutter = Cutter{20.0, 1.0, 1.4, 0.39};
    for (double x_s : {0.0, 1.1}) {
        set_gear(12, x_s);
        ProfilePoint a{}, cut{}, contact{};
        double lambda;
        rack_undercut_point(-gear_params.undercut_start_roll, a, cut);
        EXPECT_NEAR(polar_radius(cut), gear_params.root_radius, 1e-12) << x_s;
        rack_undercut_point(flank_end_roll(), a, cut);
        rack_involute_point(flank_end_roll(), a, contact, lambda);
        EXPECT_NEAR(cut.x, contact.x, 1e-12) << x_s;
        EXPECT_NEAR(cut.y, contact.y, 1e-12) << x_s;
    }
    gear_cutter = SPECIFIED_CUTTER;
}

TEST(RackPoints, ReferencePointLiesOnTheInvoluteOfThePitchCircle) {
    set_gear(20, 0.0);
    ProfilePoint a{}, q{};
    double lambda;
    for (double t : {-1.0, -0.1, 0.1, 1.0}) {
        rack_involute_point(t, a, q, lambda);
        EXPECT_NEAR(polar_radius(a), 10.0 * std::sqrt(1.0 + t * t), 1e-12);
        EXPECT_NEAR(polar_angle(a), t - std::atan(t), 1e-12);
    }
    rack_involute_point(0.1, a, q, lambda);  // the worked step 10 of the first scene
    EXPECT_NEAR(a.x, 0.0033300, QUOTED);
    EXPECT_NEAR(a.y, 0.0498751, QUOTED);
}

TEST(ClipToTipCircle, ShortensLengthensOrLeavesAlone) {
    set_gear(20, 0.0);  // tip circle: radius 11 about (0, -10)
    ProfilePoint line[2];
    // Vertical-ish rising segment ending outside: moved back onto the circle.
    line[0] = {0.1, 0.5};
    line[1] = {0.3, 2.0};
    ASSERT_EQ(clip_to_tip_circle(1, line), 1);
    EXPECT_NEAR(polar_radius(line[1]), 11.0, 1e-12);
    EXPECT_LT(line[1].y, 2.0);
    // Ending inside: lengthened along the same line.
    line[0] = {0.1, 0.5};
    line[1] = {0.2, 0.7};
    ASSERT_EQ(clip_to_tip_circle(1, line), 1);
    EXPECT_NEAR(polar_radius(line[1]), 11.0, 1e-12);
    EXPECT_NEAR((line[1].y - 0.5) / (line[1].x - 0.1), 2.0, 1e-9);
    EXPECT_GT(line[1].x, 0.2);
    // A line passing outside the circle: untouched, result 0.
    line[0] = {20.0, 5.0};
    line[1] = {21.0, 5.1};
    ASSERT_EQ(clip_to_tip_circle(1, line), 0);
    EXPECT_EQ(line[1].x, 21.0);
    EXPECT_EQ(line[1].y, 5.1);
    // Of the two crossings the larger-x one is taken.
    line[0] = {-1.0, 0.0};
    line[1] = {0.0, 0.0};
    ASSERT_EQ(clip_to_tip_circle(1, line), 1);
    EXPECT_NEAR(line[1].x, std::sqrt(21.0), 1e-12);
}

}  // namespace
