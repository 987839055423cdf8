// The accepted range of gears: its edges, that asking leaves the model state
// alone, and a sweep proving every accepted gear gives a sound, closed tooth.
#include "geometry/geometry_private.hpp"

#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool same_point(const ProfilePoint& a, const ProfilePoint& b) {
    return a.x == b.x && a.y == b.y;
}

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
    // A flank that leaves the band between root and tip circle.
    EXPECT_NE(std::strstr(gear_refusal(5, -0.95), "band between root and tip circle"), nullptr);
    EXPECT_EQ(gear_refusal(5, -0.9), nullptr);
    EXPECT_EQ(gear_refusal(8, 0.0), nullptr);
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
        EXPECT_EQ(gear_refusal(c.z, c.x), nullptr);
        ASSERT_TRUE(gear_warning(c.z, c.x, text, sizeof text));
        EXPECT_NE(std::strstr(text, "the tooth comes to a point below its tip circle"), nullptr) << text;
        EXPECT_EQ(std::strchr(text, '\n'), nullptr) << text;
        const char* at = std::strstr(text, "flanks meet at radius ");
        ASSERT_NE(at, nullptr) << text;
        double radius = std::atof(at + std::strlen("flanks meet at radius "));
        EXPECT_LT(radius, c.z / 2.0 + 1.0 + c.x);
        // The involute part of the flank is sampled at 0.01 roll: the meeting
        // point, taken between two samples, is within a thousandth of a module.
        EXPECT_NEAR(radius, pointed_radius(c.z, c.x), 1e-3) << text;
    }
    // Gears whose tooth keeps a top land, and refused gears, get no warning.
    for (Case c : {Case{10, 0.69}, Case{20, 0.0}, Case{20, 1.25}, Case{5, -0.95}}) {
        std::strcpy(text, "old");
        EXPECT_FALSE(gear_warning(c.z, c.x, text, sizeof text)) << c.z << " " << c.x;
        EXPECT_STREQ(text, "");
    }
}

TEST(GearRange, AskingLeavesTheModelStateAlone) {
    compute(20, 0.5, shifted_tooth);
    static GearParams params_before;
    static GenerationCurves curves_before;
    params_before = gear_params;
    curves_before = generation_curves;
    EXPECT_NE(gear_refusal(5, -0.95), nullptr);  // refused after a trial computation
    EXPECT_EQ(gear_refusal(8, 0.0), nullptr);
    char text[GEAR_WARNING_CAPACITY];
    EXPECT_TRUE(gear_warning(10, 0.7, text, sizeof text));
    EXPECT_EQ(std::memcmp(&params_before, &gear_params, sizeof params_before), 0);
    EXPECT_EQ(std::memcmp(&curves_before, &generation_curves, sizeof curves_before), 0);
}

// z = 1 … 400, x = -1.5 … 1.5 in steps of 0.05: every gear is computed (under
// the sanitizers this proves no write past a list and no endless loop), and
// every accepted one must give one closed pitch of outline (root arc, flank,
// tip arc, mirror flank, root arc: tooth and space make 2π/z) whose flank
// stays between the root and the tip circle.
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
            const int n = lasts.flank_last;
            ASSERT_TRUE(same_point(t.outline[10], t.flank[0])) << "z=" << z << " x=" << x;
            ASSERT_TRUE(same_point(last, t.mirror_flank[0])) << "z=" << z << " x=" << x;
            ASSERT_NEAR(t.outline[10 + n].x, t.flank[n].x, 1e-12) << "z=" << z << " x=" << x;
            ASSERT_NEAR(t.outline[10 + n].y, t.flank[n].y, 1e-12) << "z=" << z << " x=" << x;
            for (int k = 1; k < 10; ++k)
                ASSERT_NEAR(polar_radius(t.outline[10 + n + k]), g.tip_radius, 1e-12)
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
