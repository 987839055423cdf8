// The pinion-type cutter: the published cutting figures, the cutter standing
// where its flank's end generates the involute's start, what its tip cuts
// lying on its tip, and the refusals and warnings of rings and cutters.
#include "geometry/geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

Gear gear;  // large: static storage, as the program keeps its gears

Cutter pinion(int teeth, double shift, double tip_radius = 0.0) {
    Cutter c = SPECIFIED_CUTTER;
    c.teeth = teeth;
    c.shift = shift;
    c.tip_radius = tip_radius;
    return c;
}

double degrees(double radians) {
    return radians * 180.0 / PI;
}

double distance(const ProfilePoint& a, const ProfilePoint& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

TEST(PinionCutter, PublishedCuttingFiguresOfAnExternalGearAndARing) {
    compute_gear(gear, pinion(25, 0.2), 12, 0.0);
    EXPECT_NEAR(degrees(gear.params.pinion.pressure_angle), 21.5642, 5e-5);
    EXPECT_NEAR(gear.params.pinion.centre_distance, 18.6927, 5e-5);
    EXPECT_NEAR(2.0 * gear.params.root_radius, 9.4854, 5e-5);

    compute_gear(gear, pinion(20, 0.0), 50, 0.5, true);
    EXPECT_NEAR(degrees(gear.params.pinion.pressure_angle), 24.1968, 5e-5);
    EXPECT_NEAR(gear.params.pinion.centre_distance, 15.4530, 5e-5);
    EXPECT_NEAR(2.0 * gear.params.root_radius, 53.4061, 5e-5);
    EXPECT_DOUBLE_EQ(2.0 * gear.params.tip_radius, 50.0 - 2.0 * (1.0 - 0.5));
}

// Where the flank's end takes over from the tip, both curves pass through one
// point: the cutter's turning, its place and its tooth agree with the involute.
// What a sharp tip cuts lies on the cutter's tip circle at every roll.
TEST(PinionCutter, TipCutMeetsInvoluteAndLiesOnTheCutterTip) {
    struct Case {
        int z;
        double x;
        int zc;
        double xc;
        double rho;
        bool internal;
    };
    const Case cases[] = {{12, 0.0, 25, 0.2, 0.0, false},
                          {20, 0.3, 16, 0.0, 0.25, false},
                          {12, 0.0, 60, -0.2, 0.0, false},
                          {50, 0.5, 20, 0.0, 0.0, true},
                          {60, 0.0, 20, 0.0, 0.3, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "z " << c.z << " zc " << c.zc << " rho " << c.rho);
        ASSERT_EQ(gear_refusal(pinion(c.zc, c.xc, c.rho), c.z, c.x, c.internal), nullptr);
        compute_gear(gear, pinion(c.zc, c.xc, c.rho), c.z, c.x, c.internal);
        const GearParams& g = gear.params;
        const FlankRolls rolls = flank_rolls(g);
        EXPECT_LT(distance(undercut_point(g, rolls.undercut_end), involute_point(g, rolls.involute_start)),
                  1e-9);
        EXPECT_NEAR(polar_radius(undercut_point(g, rolls.undercut_start), g.pitch_radius), g.root_radius,
                    1e-9);
        if (c.rho > 0.0) continue;
        for (double t = rolls.undercut_start; std::fabs(t - rolls.undercut_start) < 0.5; t -= 0.05) {
            const CutterPlace place = pinion_cutter_place(g, t);
            EXPECT_NEAR(distance(undercut_point(g, t), place.centre), g.pinion.tip_circle, 1e-9);
        }
    }
}

// A 25-tooth cutter undercuts fewer gears than the rack: z = 17 … 21 (x = 0)
// keep their whole involute.
TEST(PinionCutter, UndercutsFewerTeethThanTheRack) {
    for (int z = 12; z <= 22; ++z) {
        compute_gear(gear, pinion(25, 0.0), z, 0.0);
        EXPECT_EQ(pinion_undercuts(gear.params), z <= 16) << z;
    }
}

TEST(PinionCutter, RefusalsAndWarningsOfCuttersAndRings) {
    EXPECT_NE(std::strstr(gear_refusal(SPECIFIED_CUTTER, 50, 0.0, true), "only by a pinion-type cutter"),
              nullptr);
    EXPECT_NE(std::strstr(gear_refusal(pinion(50, 0.0), 50, 0.0, true), "too large for the ring"), nullptr);
    EXPECT_NE(std::strstr(gear_refusal(pinion(5, 0.0), 30, 0.0), "from 6 to 400 teeth"), nullptr);
    EXPECT_NE(std::strstr(gear_refusal(pinion(25, 1.5), 30, 0.0), "shift must be from -1 to 1"), nullptr);
    EXPECT_NE(std::strstr(gear_refusal(pinion(25, 0.0, 0.45), 30, 0.0), "tip radius is too large"), nullptr);
    EXPECT_NE(std::strstr(gear_refusal(pinion(25, 0.0), 30, 1.2, true), "ring's shift coefficient"), nullptr);

    char text[GEAR_WARNING_CAPACITY];
    EXPECT_FALSE(gear_warning(pinion(20, 0.0), 50, 0.5, text, sizeof text, true));
    ASSERT_TRUE(gear_warning(pinion(15, 0.0), 30, 0.0, text, sizeof text, true));
    EXPECT_NE(std::strstr(text, "tip circle (radius 14.0000) lies inside its base circle"), nullptr) << text;
    EXPECT_NE(std::strstr(text, "(trimming)"), nullptr) << text;
}

// The published table of the smallest standard ring (x = 0) each standard
// cutter (x_c = 0, hf 1.25) cuts without trimming, every row. The table also
// asks for the ring's tip circle outside its base circle (z >= 34): that
// alone decides the row z_c = 15, whose ring of 33 teeth the cutter leaves
// without trimming.
TEST(PinionCutter, SmallestRingsWithoutTrimming) {
    const int table[][2] = {{15, 34}, {16, 34}, {17, 35}, {18, 36}, {19, 37}, {20, 38}, {21, 39}, {22, 40},
                            {24, 42}, {25, 43}, {27, 45}, {28, 46}, {30, 48}, {31, 49}, {32, 50}, {33, 51},
                            {34, 52}, {35, 53}, {38, 56}, {40, 58}, {42, 60}, {44, 62}, {48, 66}, {50, 68},
                            {56, 74}, {60, 78}, {64, 82}, {66, 84}, {80, 98}, {96, 114}, {100, 118}};
    for (const auto& [zc, published] : table) {
        int smallest = 0;
        for (int z = zc + 1; z <= 200 && smallest == 0; ++z) {
            ASSERT_EQ(gear_refusal(pinion(zc, 0.0), z, 0.0, true), nullptr) << zc << " " << z;
            compute_gear(gear, pinion(zc, 0.0), z, 0.0, true);
            if (!cutter_trims_ring(gear.params) && gear.params.tip_radius >= gear.params.base_radius) smallest = z;
        }
        EXPECT_EQ(smallest, published) << "z_c = " << zc;
    }
    compute_gear(gear, pinion(15, 0.0), 33, 0.0, true);
    EXPECT_FALSE(cutter_trims_ring(gear.params));
}

// The published internal pair, m = 3, z = 16/24, x = 0/0.5 (module units):
// α_w 31.0937°, a 13.1683/3; its involute check is marginal (z1/z2 0.6667
// against 0.6681: interference by the rule), with x2 = 0.516 it passes.
TEST(InternalMesh, PublishedPairAndItsInvoluteCheck) {
    const double alpha = 20.0 * PI / 180.0;
    for (const double x2 : {0.5, 0.516}) {
        const double aw = inverse_involute(2.0 * std::tan(alpha) * x2 / 8.0 + involute_function(alpha));
        const double a = 4.0 * std::cos(alpha) / std::cos(aw);
        const InternalMesh mesh = {
            16, 24, 9.0, 12.0 - 1.0 + x2, 8.0 * std::cos(alpha), 12.0 * std::cos(alpha), a, aw};
        if (x2 == 0.5) {
            // 31.09362° exactly; the table rounds inv α_w to 0.060401 first.
            EXPECT_NEAR(degrees(aw), 31.0937, 1e-4);
            EXPECT_NEAR(3.0 * a, 13.1683, 5e-5);
        } else {
            EXPECT_NEAR(3.0 * a, 13.2000, 5e-5);
        }
        EXPECT_EQ(internal_involute_interference(mesh), x2 == 0.5) << x2;
    }
}

}  // namespace
