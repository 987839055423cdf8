// The accepted range of gears: its edges, that asking leaves the model state
// alone, and a sweep proving every accepted gear gives a sound, closed tooth.
#include "geometry/geometry.hpp"

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>

namespace {

ProfileLasts compute(int z, double x_s, ToothProfile& tooth) {
    gear_params.z = z;
    compute_gear_params();
    ProfileLasts lasts{};
    compute_tooth_profile(x_s, tooth.flank, tooth.mirror_flank, tooth.outline, lasts);
    return lasts;
}

TEST(GearRange, EdgesOfTheNumberOfTeeth) {
    EXPECT_NE(gear_refusal(Z_MIN - 1, 0.0), nullptr);
    EXPECT_EQ(gear_refusal(Z_MIN, 0.0), nullptr);
    EXPECT_EQ(gear_refusal(Z_MAX, 0.0), nullptr);
    EXPECT_NE(gear_refusal(Z_MAX + 1, 0.0), nullptr);
    EXPECT_NE(gear_refusal(0, 0.0), nullptr);
    EXPECT_NE(gear_refusal(-20, 0.0), nullptr);
    EXPECT_NE(std::strstr(gear_refusal(2, 0.0), "from 3 to 1000"), nullptr);
}

TEST(GearRange, EdgesOfTheShift) {
    EXPECT_NE(gear_refusal(20, NAN), nullptr);
    EXPECT_NE(gear_refusal(20, INFINITY), nullptr);
    // Dedendum 1.25 - x must be positive.
    EXPECT_NE(gear_refusal(400, 1.25), nullptr);
    EXPECT_EQ(gear_refusal(400, 1.2), nullptr);
    // Addendum 1 + x must be positive.
    EXPECT_NE(gear_refusal(50, -1.0), nullptr);
    EXPECT_EQ(gear_refusal(50, -0.95), nullptr);
    // Root radius z/2 - 1.25 + x must be positive: for z = 3 that means x > -0.25.
    EXPECT_NE(gear_refusal(3, -0.25), nullptr);
    EXPECT_NE(std::strstr(gear_refusal(3, -0.25), "greater than -0.25 and less than 1.25"), nullptr);
    // Too much shift for few teeth: the tooth would come to a point.
    EXPECT_NE(gear_refusal(3, 0.5), nullptr);
    EXPECT_NE(std::strstr(gear_refusal(3, 0.5), "point"), nullptr);
    EXPECT_EQ(gear_refusal(10, 0.5), nullptr);
    EXPECT_EQ(gear_refusal(8, 0.0), nullptr);
}

TEST(GearRange, AskingLeavesTheModelStateAlone) {
    compute(20, 0.5, shifted_tooth);
    addendum_step = 7;
    static GearParams params_before;
    static GenerationCurves curves_before;
    params_before = gear_params;
    curves_before = generation_curves;
    EXPECT_NE(gear_refusal(3, 0.8), nullptr);
    EXPECT_EQ(gear_refusal(8, 0.0), nullptr);
    EXPECT_EQ(std::memcmp(&params_before, &gear_params, sizeof params_before), 0);
    EXPECT_EQ(std::memcmp(&curves_before, &generation_curves, sizeof curves_before), 0);
    EXPECT_EQ(addendum_step, 7);
}

// z = 1 … 400, x = -1.5 … 1.5 in steps of 0.05: every gear is computed (under
// the sanitizers this proves no write past a list and no endless loop), and
// every accepted one must give a closed outline whose flank stays between the
// root and the tip circle.
TEST(GearRange, SweepOfTeethAndShifts) {
    int accepted = 0;
    for (int z = 1; z <= 400; ++z) {
        for (int step = -30; step <= 30; ++step) {
            double x = step * 0.05;
            const char* refusal = gear_refusal(z, x);
            ProfileLasts lasts = compute(z, x, shifted_tooth);
            ASSERT_LE(lasts.outline_last, POINT_CAPACITY - 1);
            if (refusal) continue;
            ++accepted;
            const GearParams& g = gear_params;
            const ToothProfile& t = shifted_tooth;
            ASSERT_FALSE(profile_overflowed) << "z=" << z << " x=" << x;
            ASSERT_EQ(lasts.outline_last, 2 * lasts.flank_last + 20);
            const ProfilePoint& first = t.outline[0];
            const ProfilePoint& last = t.outline[lasts.outline_last];
            ASSERT_NEAR(polar_radius(first), g.root_radius, 1e-9) << "z=" << z << " x=" << x;
            ASSERT_NEAR(polar_radius(last), g.root_radius, 1e-9) << "z=" << z << " x=" << x;
            ASSERT_NEAR(polar_angle(last) - polar_angle(first), 2.0 * PI / z, 1e-9)
                << "z=" << z << " x=" << x;
            for (int i = 0; i <= lasts.flank_last; ++i) {
                double rho = polar_radius(t.flank[i]);
                ASSERT_GE(rho, g.root_radius - 1e-9) << "z=" << z << " x=" << x << " i=" << i;
                ASSERT_LE(rho, g.tip_radius + 1e-9) << "z=" << z << " x=" << x << " i=" << i;
            }
        }
    }
    // The usual range (z from 8 up, |x| ≤ 0.5) is accepted whole.
    EXPECT_GT(accepted, 393 * 21);
}

}  // namespace
