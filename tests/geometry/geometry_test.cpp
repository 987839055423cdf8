// The gear geometry against hand-worked gears: the parameter block, the rack
// formulas, the assembled tooth (sample counts, joins, the mirror flank), and
// the accepted range with a sweep proving every accepted gear gives a sound,
// closed tooth.
#include "geometry/geometry_private.hpp"

#include <gtest/gtest.h>
#include <cmath>
#include <initializer_list>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr double QUOTED = 5e-8;  // values quoted to seven places

Gear gear;                        // the gear a test computes
Cutter cutter = SPECIFIED_CUTTER;  // what it is cut with

// The tooth of z teeth and shift x_s into gear.shifted_tooth, with the parameter
// block and the generation curves it leaves behind (no standard tooth).
void compute(int z, double x_s) {
    gear.params.z = z;
    gear.params.cutter = cutter;
    compute_gear_params(gear.params);
    compute_tooth(gear, x_s, gear.shifted_tooth);
}

// Polar radius and angle about the centre of the gear a test computed.
double radius(const ProfilePoint& p) {
    return polar_radius(p, gear.params.pitch_radius);
}
double angle(const ProfilePoint& p) {
    return polar_angle(p, gear.params.pitch_radius);
}

bool same_point(const ProfilePoint& a, const ProfilePoint& b) {
    return a.x == b.x && a.y == b.y;
}

// ---- parameters and rack formulas -------------------------------------------------

// A rounded tip cuts from the root circle, with its lowest point, to the
// straight flank's end, where the involute takes over; also when a shift has
// raised the arc's centre above the rolling line (dedendum 0.3 < ρ = 0.39).
TEST(RackPoints, RoundedTipCutsFromRootCircleToFlankEnd) {
    cutter = Cutter{20.0, 1.0, 1.4, 0.39};
    for (double x_s : {0.0, 1.1}) {
        compute(12, x_s);
        ProfilePoint a{}, cut{}, contact{};
        double lambda;
        rack_undercut_point(gear.params, -gear.params.undercut_start_roll, a, cut);
        EXPECT_NEAR(radius(cut), gear.params.root_radius, 1e-12) << x_s;
        rack_undercut_point(gear.params, flank_end_roll(gear.params), a, cut);
        rack_involute_point(gear.params, flank_end_roll(gear.params), a, contact, lambda);
        EXPECT_NEAR(cut.x, contact.x, 1e-12) << x_s;
        EXPECT_NEAR(cut.y, contact.y, 1e-12) << x_s;
    }
    cutter = SPECIFIED_CUTTER;
}

TEST(GearParams, ShiftDependentFieldsOfWorkedGears) {
    compute(20, 0.0);
    const GearParams& g = gear.params;
    EXPECT_EQ(g.pitch_radius, 10.0);
    EXPECT_EQ(g.tip_radius, 11.0);
    EXPECT_EQ(g.root_radius, 8.75);
    EXPECT_NEAR(g.base_radius, 9.39692620785908, 1e-13);
    EXPECT_NEAR(g.tooth_angle, 0.15707963267949, 1e-14);
    EXPECT_NEAR(g.space_angle, 0.15707963267949, 1e-14);
    EXPECT_NEAR(g.undercut_start_roll, 0.0454962792832752, 1e-15);
    EXPECT_NEAR(g.tip_corner_distance, 1.33022221559489, 1e-13);

    compute(10, 0.5);
    EXPECT_EQ(g.dedendum, 0.75);
    EXPECT_EQ(g.addendum, 1.5);
    EXPECT_EQ(g.tip_radius, 6.5);
    EXPECT_EQ(g.root_radius, 4.25);
    EXPECT_NEAR(g.tooth_angle, 0.386953312212219, 1e-14);

    compute(17, 0.0);
    EXPECT_EQ(g.pitch_radius, 8.5);  // an odd z gives a half-integer radius
}

// Eight teeth: at t = 0 everything stands on the pitch point; at t = ±0.01 the
// contact point; at -u0 the tip corner on the root circle.
TEST(RackPoints, WorkedPointsOfEightTeeth) {
    compute(8, 0.0);
    ProfilePoint a{}, q{}, b{};
    double lambda = 1.0;
    rack_involute_point(gear.params, 0.0, a, q, lambda);
    EXPECT_TRUE(same_point(a, ProfilePoint{0, 0}));
    EXPECT_TRUE(same_point(q, ProfilePoint{0, 0}));
    EXPECT_EQ(lambda, 0.0);
    rack_undercut_point(gear.params, 0.0, a, b);  // the tip corner, 1.25 below and 1.25·tan 20° left
    EXPECT_NEAR(b.x, -0.4549628, QUOTED);
    EXPECT_NEAR(b.y, -1.25, 1e-15);

    rack_involute_point(gear.params, 0.01, a, q, lambda);
    EXPECT_NEAR(q.x, 0.0048088, QUOTED);
    EXPECT_NEAR(q.y, 0.0130083, QUOTED);
    EXPECT_NEAR(radius(q), 4.013011, 5e-7);
    EXPECT_NEAR(angle(q), 0.0011983, QUOTED);
    EXPECT_GT(lambda, 0.0);
    rack_involute_point(gear.params, -0.01, a, q, lambda);
    EXPECT_NEAR(q.x, -0.0045517, QUOTED);
    EXPECT_NEAR(q.y, -0.0127019, QUOTED);
    EXPECT_LT(lambda, 0.0);

    const double u0 = gear.params.undercut_start_roll;
    EXPECT_NEAR(u0, 0.1137407, QUOTED);
    rack_undercut_point(gear.params, -u0, a, b);
    EXPECT_NEAR(b.x, -0.3121129, QUOTED);
    EXPECT_NEAR(b.y, -1.2677691, QUOTED);
    EXPECT_NEAR(radius(b), 2.75, 1e-12);
    EXPECT_NEAR(angle(b), -u0, 1e-12);
}

// The rack rolls on the pitch circle without slipping: after a roll t its
// rolling line touches the circle at K = r·(sin t, cos t - 1), and its
// reference point, which stood on the pitch point, lies r·t back along that
// line from K.
TEST(RackPoints, ReferencePointRollsWithoutSlipping) {
    compute(20, 0.0);
    ProfilePoint a{}, q{};
    double lambda;
    for (double t : {-1.0, -0.1, 0.1, 1.0}) {
        rack_involute_point(gear.params, t, a, q, lambda);
        EXPECT_NEAR(a.x, 10.0 * std::sin(t) - 10.0 * t * std::cos(t), 1e-12);
        EXPECT_NEAR(a.y, 10.0 * (std::cos(t) - 1) + 10.0 * t * std::sin(t), 1e-12);
    }
    rack_involute_point(gear.params, 0.1, a, q, lambda);  // the worked step 10 of the first scene
    EXPECT_NEAR(a.x, 0.0033300, QUOTED);
    EXPECT_NEAR(a.y, 0.0498751, QUOTED);
}

TEST(ClipToTipCircle, ShortensLengthensOrLeavesAlone) {
    compute(20, 0.0);  // tip circle: radius 11 about (0, -10)
    ProfilePoint line[2];
    // Ending outside: moved back onto the circle.
    line[0] = {0.1, 0.5};
    line[1] = {0.3, 2.0};
    ASSERT_EQ(clip_to_tip_circle(gear.params, 1, line), 1);
    EXPECT_NEAR(radius(line[1]), 11.0, 1e-12);
    EXPECT_LT(line[1].y, 2.0);
    // Ending inside: lengthened along the same line.
    line[0] = {0.1, 0.5};
    line[1] = {0.2, 0.7};
    ASSERT_EQ(clip_to_tip_circle(gear.params, 1, line), 1);
    EXPECT_NEAR(radius(line[1]), 11.0, 1e-12);
    EXPECT_NEAR((line[1].y - 0.5) / (line[1].x - 0.1), 2.0, 1e-9);
    EXPECT_GT(line[1].x, 0.2);
    // A line passing outside the circle: untouched, result 0.
    line[0] = {20.0, 5.0};
    line[1] = {21.0, 5.1};
    ASSERT_EQ(clip_to_tip_circle(gear.params, 1, line), 0);
    EXPECT_TRUE(same_point(line[1], ProfilePoint{21.0, 5.1}));
    // Of the two crossings the larger-x one is taken.
    line[0] = {-1.0, 0.0};
    line[1] = {0.0, 0.0};
    ASSERT_EQ(clip_to_tip_circle(gear.params, 1, line), 1);
    EXPECT_NEAR(line[1].x, std::sqrt(21.0), 1e-12);
}

// ---- the assembled tooth -------------------------------------------------------------

// Where the flank leaves the undercut for the involute, and the sample counts,
// of the worked gears (-1: not worked out by hand); the first and last flank
// points quoted to seven places (0, 0: not quoted).
TEST(ToothProfile, WorkedGearsJoinUndercutAndInvoluteWhereTheyCross) {
    struct Worked {
        int z;
        double x;
        int addendum_last, dedendum_last, kept, involute_joined, flank_last;
        ProfilePoint first, last;
    };
    const Worked worked[] = {
        {8, 0.0, 52, 34, 68, 20, 134, {-0.3121129, -1.2677691}, {0.7087715, 0.9495094}},
        {10, 0.5, 60, 34, 41, 3, 132, {-0.2319158, -0.7563324}, {1.1520684, 1.3970883}},
        {18, 0.0, -1, -1, -1, 2, -1, {0, 0}, {0, 0}},  // still crossing, at involute segment 1
        {19, 0.0, -1, -1, -1, 1, -1, {0, 0}, {0, 0}},  // and at segment 0
        {20, 0.0, 25, 35, 35, 0, 95, {0, 0}, {0, 0}},  // joined where the undercut comes nearest
    };
    for (const Worked& w : worked) {
        SCOPED_TRACE(testing::Message() << "z=" << w.z << " x=" << w.x);
        compute(w.z, w.x);
        const GenerationCurves& c = gear.curves;
        const ToothProfile& t = gear.shifted_tooth;
        int kept = 0;  // flank points taken from the undercut curve
        while (kept <= t.flank_last && same_point(t.flank[kept], c.undercut_curve[kept])) ++kept;
        EXPECT_TRUE(same_point(t.flank[kept], c.involute_curve[w.involute_joined]));
        if (w.kept >= 0) {
            EXPECT_EQ(c.addendum_last, w.addendum_last);
            EXPECT_EQ(c.dedendum_last, w.dedendum_last);
            EXPECT_EQ(kept, w.kept);
            EXPECT_EQ(t.flank_last, w.flank_last);
        }
        if (w.first.x != 0) {
            EXPECT_NEAR(t.flank[0].x, w.first.x, QUOTED);
            EXPECT_NEAR(t.flank[0].y, w.first.y, QUOTED);
            EXPECT_NEAR(t.flank[w.flank_last].x, w.last.x, QUOTED);
            EXPECT_NEAR(t.flank[w.flank_last].y, w.last.y, QUOTED);
        }
    }
    // Eight teeth: the dedendum stopped by the base circle.
    compute(8, 0.0);
    EXPECT_EQ(gear.curves.involute_last, 86);
    EXPECT_EQ(gear.curves.undercut_last, 250);
    compute(20, 0.0);
    EXPECT_EQ(gear.curves.involute_last, 60);
}

// The dedendum loop stopped at the cutter's tip corner keeps its last sample on
// the 0.01 grid, unless that sample would lie inside the root circle: then it
// is taken where the corner meets the involute.
TEST(ToothProfile, LastDedendumSampleMovesToTheTipCornerOnlyInsideTheRootCircle) {
    // Sixty teeth: stopped by the tip corner at sample 13, which lies outside the root circle.
    compute(60, 0.0);
    const GenerationCurves& c = gear.curves;
    ASSERT_EQ(c.dedendum_last, 13);
    ProfilePoint a{}, q{};
    double lambda;
    rack_involute_point(gear.params, -0.13, a, q, lambda);
    EXPECT_TRUE(same_point(c.dedendum_involute[13], q));
    EXPECT_GT(radius(q), gear.params.root_radius);
    // Twenty teeth with x = 0.5 keep the grid sample too: the flank rises from the
    // root without folding back (a sample moved to the corner folded it at points 20 to 23).
    compute(20, 0.5);
    ASSERT_EQ(gear.shifted_tooth.flank_last, 80);
    for (int i = 1; i <= gear.shifted_tooth.flank_last; ++i)
        EXPECT_GT(radius(gear.shifted_tooth.flank[i]), radius(gear.shifted_tooth.flank[i - 1]))
            << "i=" << i;

    // Gears whose sample one step past the corner lay inside the root circle
    // (0.089 module for z = 150): the sample sits where the corner generates
    // the involute, on the involute at the form circle the straight flank cuts,
    // R² = rb² + (r·sin α - (hf - x)/sin α)², and every flank point on or
    // outside the root circle.
    for (auto zx : {std::make_pair(150, 0.0), std::make_pair(108, 0.0), std::make_pair(400, 0.0),
                    std::make_pair(65, 0.5), std::make_pair(22, 1.0), std::make_pair(200, 1.0)}) {
        SCOPED_TRACE(testing::Message() << "z=" << zx.first << " x=" << zx.second);
        EXPECT_EQ(gear_refusal(cutter, zx.first, zx.second), nullptr);
        compute(zx.first, zx.second);
        const GearParams& g = gear.params;
        const double sin_alpha = std::sin(PI / 9);
        const double rb = zx.first / 2.0 * std::cos(PI / 9);
        const double along = zx.first / 2.0 * sin_alpha - (1.25 - zx.second) / sin_alpha;
        const ProfilePoint& last = c.dedendum_involute[c.dedendum_last];
        EXPECT_NEAR(radius(last), std::sqrt(rb * rb + along * along), 1e-9);
        auto involute_constant = [&](const ProfilePoint& p) {  // polar angle - inv α_R, cos α_R = rb/R
            const double a_r = std::acos(rb / radius(p));
            return angle(p) - (std::tan(a_r) - a_r);
        };
        EXPECT_NEAR(involute_constant(last), involute_constant(c.dedendum_involute[0]), 1e-12);
        for (int i = 0; i <= gear.shifted_tooth.flank_last; ++i)
            ASSERT_GE(radius(gear.shifted_tooth.flank[i]), g.root_radius - 1e-9) << "i=" << i;
    }
}

TEST(ToothProfile, MirrorFlankIsTheReflectionAboutTheToothCentre) {
    compute(20, 0.0);
    const GearParams& g = gear.params;
    for (int i = 0; i <= gear.shifted_tooth.flank_last; ++i) {
        const ProfilePoint& p = gear.shifted_tooth.flank[i];
        const ProfilePoint& m = gear.shifted_tooth.mirror_flank[i];
        EXPECT_NEAR(radius(m), radius(p), 1e-12);
        EXPECT_NEAR(angle(m), g.tooth_angle - angle(p), 1e-12);
    }
    // The pitch point maps to the pitch circle at polar angle tooth_angle.
    int pitch_index = 35 + gear.curves.dedendum_last;
    ASSERT_TRUE(same_point(gear.shifted_tooth.flank[pitch_index], ProfilePoint{0.0, 0.0}));
    const ProfilePoint& m = gear.shifted_tooth.mirror_flank[pitch_index];
    EXPECT_NEAR(radius(m), 10.0, 1e-12);
    EXPECT_NEAR(angle(m), g.tooth_angle, 1e-12);
}

// ---- the accepted range ----------------------------------------------------------------

TEST(GearRange, EdgesOfTheNumberOfTeethAndTheShift) {
    for (int z : {Z_MIN - 1, Z_MAX + 1, 0, -20}) EXPECT_NE(gear_refusal(cutter, z, 0.0), nullptr) << z;
    EXPECT_EQ(gear_refusal(cutter, Z_MIN, 0.0), nullptr);
    EXPECT_EQ(gear_refusal(cutter, Z_MAX, 0.0), nullptr);
    EXPECT_NE(std::strstr(gear_refusal(cutter, 2, 0.0), "from 3 to 1000"), nullptr);

    EXPECT_NE(gear_refusal(cutter, 20, NAN), nullptr);
    EXPECT_NE(gear_refusal(cutter, 20, INFINITY), nullptr);
    // Dedendum 1.25 - x must be positive.
    EXPECT_NE(gear_refusal(cutter, 400, 1.25), nullptr);
    EXPECT_EQ(gear_refusal(cutter, 400, 1.2), nullptr);
    // Addendum 1 + x must be positive.
    EXPECT_NE(gear_refusal(cutter, 50, -1.0), nullptr);
    EXPECT_EQ(gear_refusal(cutter, 50, -0.95), nullptr);
    // Root radius z/2 - 1.25 + x must be positive: for z = 3 that means x > -0.25.
    EXPECT_NE(std::strstr(gear_refusal(cutter, 3, -0.25), "greater than -0.25 and less than 1.25"), nullptr);
    // A flank that leaves the band between root and tip circle.
    EXPECT_NE(std::strstr(gear_refusal(cutter, 5, -0.95), "band between root and tip circle"), nullptr);
    EXPECT_EQ(gear_refusal(cutter, 5, -0.9), nullptr);
}

// Half the tooth's angular thickness at radius R, from the involute function
// inv φ = tan φ - φ: ψ/2 + inv α - inv α_R with cos α_R = r_b/R. The tooth comes
// to a point where it is zero; found here by bisection between r_b and the tip.
double pointed_radius(int z, double x) {
    const double alpha = PI / 9.0;
    const double r = z / 2.0;
    const double base = r * std::cos(alpha);
    const double half_tooth = (2.0 * x * std::tan(alpha) + PI / 2.0) / r / 2.0;
    auto half_thickness = [&](double radius) {
        double a = std::acos(base / radius);
        return half_tooth + (std::tan(alpha) - alpha) - (std::tan(a) - a);
    };
    double lo = base, hi = r + 1.0 + x;
    for (int i = 0; i < 100; ++i) {
        double mid = (lo + hi) / 2.0;
        (half_thickness(mid) > 0.0 ? lo : hi) = mid;
    }
    return lo;
}

TEST(GearRange, PointedToothIsAcceptedWithAWarningWhereItsFlanksMeet) {
    char text[GEAR_WARNING_CAPACITY];
    struct Case {
        int z;
        double x;
    };
    for (Case c : {Case{10, 0.7}, Case{20, 1.24}, Case{8, 0.6}, Case{3, 0.5}}) {
        SCOPED_TRACE(testing::Message() << "z=" << c.z << " x=" << c.x);
        EXPECT_EQ(gear_refusal(cutter, c.z, c.x), nullptr);
        ASSERT_TRUE(gear_warning(cutter, c.z, c.x, text, sizeof text));
        EXPECT_NE(std::strstr(text, "the tooth comes to a point below its tip circle"), nullptr) << text;
        EXPECT_EQ(std::strchr(text, '\n'), nullptr) << text;
        const char* at = std::strstr(text, "flanks meet at radius ");
        ASSERT_NE(at, nullptr) << text;
        // The involute part of the flank is sampled at 0.01 roll: the meeting
        // point, taken between two samples, is within a thousandth of a module.
        EXPECT_NEAR(std::atof(at + std::strlen("flanks meet at radius ")), pointed_radius(c.z, c.x), 1e-3);
    }
    // Gears whose tooth keeps a top land, and refused gears, get no warning.
    for (Case c : {Case{10, 0.69}, Case{20, 0.0}, Case{20, 1.25}, Case{5, -0.95}}) {
        std::strcpy(text, "old");
        EXPECT_FALSE(gear_warning(cutter, c.z, c.x, text, sizeof text)) << c.z << " " << c.x;
        EXPECT_STREQ(text, "");
    }
}

// z = 1 … 400, x = -1.5 … 1.5 in steps of 0.05, and nonsense the range check
// refuses: every gear is computed (under the sanitizers this proves no write
// past a list and no endless loop), and every accepted one must give one closed
// pitch of outline (root arc, flank, tip arc, mirror flank, root arc: tooth and
// space make 2π/z) whose flank stays between the root and the tip circle.
TEST(GearRange, SweepOfTeethAndShifts) {
    for (int z : {0, -5, 1, 2})
        for (double x : {0.0, 0.5, double(NAN), 1e9, -1e9}) {
            compute(z, x);
            EXPECT_LE(gear.shifted_tooth.outline_last, POINT_CAPACITY - 1);
            EXPECT_LE(gear.curves.involute_last, POINT_CAPACITY - 1);
        }
    compute(2, 0.5);  // needs a 617-point outline
    EXPECT_TRUE(gear.overflowed);

    int accepted = 0;
    for (int z = 1; z <= 400; ++z) {
        for (int step = -30; step <= 30; ++step) {
            double x = step * 0.05;
            const char* refusal = gear_refusal(cutter, z, x);
            compute(z, x);
            const ToothProfile& t = gear.shifted_tooth;
            ASSERT_LE(t.outline_last, POINT_CAPACITY - 1);
            if (refusal) continue;
            ++accepted;
            SCOPED_TRACE(testing::Message() << "z=" << z << " x=" << x);
            const GearParams& g = gear.params;
            const int n = t.flank_last;
            ASSERT_FALSE(gear.overflowed);
            ASSERT_EQ(t.outline_last, 2 * n + 20);
            const ProfilePoint& first = t.outline[0];
            const ProfilePoint& last = t.outline[t.outline_last];
            ASSERT_NEAR(radius(first), g.root_radius, 1e-9);
            ASSERT_NEAR(radius(last), g.root_radius, 1e-9);
            ASSERT_NEAR(angle(last) - angle(first), 2.0 * PI / z, 1e-9);
            ASSERT_TRUE(same_point(t.outline[10], t.flank[0]));
            ASSERT_TRUE(same_point(last, t.mirror_flank[0]));
            ASSERT_NEAR(t.outline[10 + n].x, t.flank[n].x, 1e-12);
            ASSERT_NEAR(t.outline[10 + n].y, t.flank[n].y, 1e-12);
            for (int k = 1; k < 10; ++k) ASSERT_NEAR(radius(t.outline[10 + n + k]), g.tip_radius, 1e-12);
            for (int i = 0; i <= n; ++i) {
                double rho = radius(t.flank[i]);
                ASSERT_GE(rho, g.root_radius - 1e-9) << "i=" << i;
                ASSERT_LE(rho, g.tip_radius + 1e-9) << "i=" << i;
            }
        }
    }
    // The usual range (z from 8 up, |x| ≤ 0.5) is accepted whole.
    EXPECT_GT(accepted, 393 * 21);
}

}  // namespace
