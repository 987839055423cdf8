// The assembled tooth: sample counts and joins of the worked gears, the last
// dedendum sample at the cutter's tip corner, the mirror flank and the
// closed outline.
#include "geometry/geometry_private.hpp"

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr double QUOTED = 5e-8;  // values quoted to seven places

ProfileLasts compute(int z, double x_s, ToothProfile& tooth) {
    gear_params.z = z;
    compute_gear_params();
    ProfileLasts lasts{};
    compute_tooth_profile(x_s, tooth.flank, tooth.mirror_flank, tooth.outline, lasts);
    tooth.flank_last = lasts.flank_last;
    tooth.outline_last = lasts.outline_last;
    return lasts;
}

bool same_point(const ProfilePoint& a, const ProfilePoint& b) {
    return a.x == b.x && a.y == b.y;
}

// The flank is undercut points 0..i followed by involute points from some j+1
// on: returns i + 1, the index where the flank leaves the undercut curve.
int undercut_points_kept(const ToothProfile& tooth) {
    int m = 0;
    while (m <= tooth.flank_last && same_point(tooth.flank[m], generation_curves.undercut_curve[m])) ++m;
    return m;
}

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
        ProfileLasts lasts = compute(w.z, w.x, shifted_tooth);
        const GenerationCurves& c = generation_curves;
        const int kept = undercut_points_kept(shifted_tooth);
        EXPECT_TRUE(same_point(shifted_tooth.flank[kept], c.involute_curve[w.involute_joined]));
        if (w.kept >= 0) {
            EXPECT_EQ(c.addendum_last, w.addendum_last);
            EXPECT_EQ(c.dedendum_last, w.dedendum_last);
            EXPECT_EQ(kept, w.kept);
            EXPECT_EQ(lasts.flank_last, w.flank_last);
        }
        if (w.first.x != 0) {
            EXPECT_NEAR(shifted_tooth.flank[0].x, w.first.x, QUOTED);
            EXPECT_NEAR(shifted_tooth.flank[0].y, w.first.y, QUOTED);
            EXPECT_NEAR(shifted_tooth.flank[w.flank_last].x, w.last.x, QUOTED);
            EXPECT_NEAR(shifted_tooth.flank[w.flank_last].y, w.last.y, QUOTED);
        }
    }
    // Eight teeth: the dedendum stopped by the base circle.
    compute(8, 0.0, shifted_tooth);
    EXPECT_EQ(generation_curves.involute_last, 86);
    EXPECT_EQ(generation_curves.undercut_last, 250);
    EXPECT_EQ(generation_curves.addendum_last, 52);
    EXPECT_EQ(generation_curves.dedendum_last, 34);
    compute(20, 0.0, shifted_tooth);
    EXPECT_EQ(generation_curves.involute_last, 60);
}

// The dedendum loop stopped at the cutter's tip corner keeps its last sample on
// the 0.01 grid, unless that sample would lie inside the root circle: then it
// is taken where the corner meets the involute.
TEST(ToothProfile, LastDedendumSampleMovesToTheTipCornerOnlyInsideTheRootCircle) {
    // Sixty teeth: stopped by the tip corner at sample 13, which lies outside the root circle.
    compute(60, 0.0, shifted_tooth);
    const GenerationCurves& c = generation_curves;
    ASSERT_EQ(c.dedendum_last, 13);
    ProfilePoint a{}, q{};
    double lambda;
    rack_involute_point(-0.13, a, q, lambda);
    EXPECT_TRUE(same_point(c.dedendum_involute[13], q));
    EXPECT_GT(polar_radius(q), gear_params.root_radius);
    // Twenty teeth with x = 0.5 keep the grid sample too: the flank rises from the
    // root without folding back (a sample moved to the corner folded it at points 20 to 23).
    compute(20, 0.5, shifted_tooth);
    ASSERT_EQ(shifted_tooth.flank_last, 80);
    for (int i = 1; i <= shifted_tooth.flank_last; ++i)
        EXPECT_GT(polar_radius(shifted_tooth.flank[i]), polar_radius(shifted_tooth.flank[i - 1]))
            << "i=" << i;

    // Gears whose sample one step past the corner lay inside the root circle
    // (0.089 module for z = 150): the sample sits on the corner, and every flank
    // point on or outside the root circle.
    for (auto zx : {std::make_pair(150, 0.0), std::make_pair(108, 0.0), std::make_pair(400, 0.0),
                    std::make_pair(65, 0.5), std::make_pair(22, 1.0), std::make_pair(200, 1.0)}) {
        SCOPED_TRACE(testing::Message() << "z=" << zx.first << " x=" << zx.second);
        EXPECT_EQ(gear_refusal(zx.first, zx.second), nullptr);
        compute(zx.first, zx.second, shifted_tooth);
        const GearParams& g = gear_params;
        const ProfilePoint& last = generation_curves.dedendum_involute[generation_curves.dedendum_last];
        ProfilePoint corner{};
        rack_undercut_point(-g.tip_corner_distance / (g.pitch_radius * std::sin(g.alpha)), a, corner);
        EXPECT_NEAR(last.x, corner.x, 1e-12);
        EXPECT_NEAR(last.y, corner.y, 1e-12);
        for (int i = 0; i <= shifted_tooth.flank_last; ++i)
            ASSERT_GE(polar_radius(shifted_tooth.flank[i]), g.root_radius - 1e-9) << "i=" << i;
    }
}

TEST(ToothProfile, MirrorFlankIsTheReflectionAboutTheToothCentre) {
    compute(20, 0.0, shifted_tooth);
    const GearParams& g = gear_params;
    for (int i = 0; i <= shifted_tooth.flank_last; ++i) {
        const ProfilePoint& p = shifted_tooth.flank[i];
        const ProfilePoint& m = shifted_tooth.mirror_flank[i];
        EXPECT_NEAR(polar_radius(m), polar_radius(p), 1e-12);
        EXPECT_NEAR(polar_angle(m), g.tooth_angle - polar_angle(p), 1e-12);
    }
    // The pitch point maps to the pitch circle at polar angle tooth_angle.
    int pitch_index = 35 + generation_curves.dedendum_last;
    ASSERT_TRUE(same_point(shifted_tooth.flank[pitch_index], ProfilePoint{0.0, 0.0}));
    const ProfilePoint& m = shifted_tooth.mirror_flank[pitch_index];
    EXPECT_NEAR(polar_radius(m), 10.0, 1e-12);
    EXPECT_NEAR(polar_angle(m), g.tooth_angle, 1e-12);
}

TEST(ToothProfile, NewShiftLeavesStandardToothUntouched) {
    compute(12, 0.0, standard_tooth);
    static ToothProfile before;
    std::memcpy(&before, &standard_tooth, sizeof before);
    ProfileLasts lasts{};
    compute_tooth_profile(0.4, shifted_tooth.flank, shifted_tooth.mirror_flank, shifted_tooth.outline, lasts);
    compute_tooth_profile(-0.3, shifted_tooth.flank, shifted_tooth.mirror_flank, shifted_tooth.outline,
                          lasts);
    EXPECT_EQ(std::memcmp(&before, &standard_tooth, sizeof before), 0);
}

TEST(ToothProfile, DegenerateInputStopsWithinCapacity) {
    // Nonsense the range check refuses must still terminate and stay inside the lists.
    const int zs[] = {0, -5, 1, 2};
    const double xs[] = {0.0, 0.5, NAN, 1e9, -1e9};
    for (int z : zs) {
        for (double x : xs) {
            ProfileLasts lasts = compute(z, x, shifted_tooth);
            EXPECT_LE(lasts.flank_last, POINT_CAPACITY - 1);
            EXPECT_LE(lasts.outline_last, POINT_CAPACITY - 1);
            EXPECT_LE(generation_curves.involute_last, POINT_CAPACITY - 1);
        }
    }
    compute(2, 0.5, shifted_tooth);  // needs a 617-point outline
    EXPECT_TRUE(profile_overflowed);
    compute(20, 0.0, shifted_tooth);
    EXPECT_FALSE(profile_overflowed);
}

}  // namespace
