// The gear's data against closed forms worked out here again, independently of
// the program's own (textbook formulas, a bisection where the program uses
// Newton), and the form and meeting circles against the generated flank.
#include "gear_data/gear_data.hpp"
#include "geometry/geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace {

constexpr double MM = 1e-9;  // closed forms agree to rounding

double inv(double a) {
    return std::tan(a) - a;
}

double solve_inv(double value) {  // bisection on [0, 1.5]: inv increases there
    double low = 0.0;
    double high = 1.5;
    for (int k = 0; k < 200; ++k) ((inv((low + high) / 2) < value) ? low : high) = (low + high) / 2;
    return low;
}

struct Case {
    int z;
    double x;
    double m;
    Cutter cutter;
};

Gear gear;  // the gears a test computes
Gear mate;

GearData compute(const Case& c) {
    EXPECT_EQ(gear_refusal(c.cutter, c.z, c.x), nullptr);
    compute_gear(gear, c.cutter, c.z, c.x);
    return gear_data(gear, c.m, 0.0);
}

TEST(GearData, APublishedWorkedExample) {
    const GearData d = compute({12, 0.6, 3.0, SPECIFIED_CUTTER});
    EXPECT_NEAR(d.base_diameter, 33.8289, 5e-5);
    EXPECT_NEAR(d.tip_diameter, 45.6, MM);
    EXPECT_NEAR(d.tooth_thickness, 6.0227, 5e-5);
}

// Circles, thicknesses, undercut limits, span and pins over even and odd z,
// negative, undercut and pointed gears and several cutters.
TEST(GearData, ClosedFormsOverASpreadOfGears) {
    const Cutter A = {20, 1, 1.25, 0.38};
    const Cutter WIDE = {25, 1, 1.25, 0};
    const Cutter STUB = {20, 0.8, 1, 0.2};
    for (const Case& c : {Case{8, 0, 1, SPECIFIED_CUTTER}, Case{20, 0.5, 2, SPECIFIED_CUTTER},
                          Case{10, 0.7, 1, SPECIFIED_CUTTER}, Case{31, -0.4, 1.5, A}, Case{15, 0.2, 4, WIDE},
                          Case{40, 0, 1, STUB}, Case{17, 0, 1, A}}) {
        SCOPED_TRACE(testing::Message()
                     << "z " << c.z << " x " << c.x << " alpha " << c.cutter.pressure_angle);
        const GearData d = compute(c);
        const double a = c.cutter.pressure_angle * 3.14159265358979 / 180.0;
        const double m = c.m;
        const double d0 = m * c.z;
        const double db = d0 * std::cos(a);
        const double da = d0 + 2 * (c.cutter.addendum + c.x) * m;
        EXPECT_NEAR(d.base_diameter, db, 1e-9);
        EXPECT_NEAR(d.tip_diameter, da, MM);
        EXPECT_NEAR(d.root_diameter, d0 - 2 * (c.cutter.dedendum - c.x) * m, MM);
        EXPECT_NEAR(d.base_pitch, 3.14159265358979 * m * std::cos(a), 1e-9);
        const double s = m * (3.14159265358979 / 2 + 2 * c.x * std::tan(a));
        EXPECT_NEAR(d.tooth_thickness, s, 1e-9);
        const double sa = da * (s / d0 + inv(a) - inv(std::acos(db / da)));
        EXPECT_NEAR(d.tip_thickness, d.pointed ? 0.0 : sa, 1e-9);
        EXPECT_EQ(d.pointed, sa <= 0.0);
        const double depth = c.cutter.dedendum - c.cutter.tip_radius * (1 - std::sin(a));
        EXPECT_NEAR(d.min_teeth_no_undercut, 2 * (depth - c.x) / std::pow(std::sin(a), 2), 1e-9);
        EXPECT_EQ(d.undercut, c.z < d.min_teeth_no_undercut);
        // Span: k from the rounded z·K + 0.5, then W_k.
        const double ratio = c.x / c.z;
        const double K = (std::sqrt(std::pow(1 + 2 * ratio, 2) - std::pow(std::cos(a), 2)) / std::cos(a) -
                          inv(a) - 2 * ratio * std::tan(a)) /
                         3.14159265358979;
        const int k = static_cast<int>(std::lround(c.z * K + 0.5));
        EXPECT_EQ(d.span_teeth, k);
        const double w =
            m * std::cos(a) * (3.14159265358979 * (k - 0.5) + c.z * inv(a)) + 2 * c.x * m * std::sin(a);
        if (d.span.known) {
            EXPECT_NEAR(d.span.value, w, 1e-9);
        }
        // Pins of 1.728 m: the pin centres' pressure angle from inv φ.
        const double dp = 1.728 * m;
        const double phi =
            solve_inv(inv(a) + dp / db - 3.14159265358979 / (2 * c.z) + 2 * c.x * std::tan(a) / c.z);
        const double pins = (c.z % 2 ? db * std::cos(3.14159265358979 / (2 * c.z)) : db) / std::cos(phi) + dp;
        if (d.over_pins.known) {
            EXPECT_NEAR(d.over_pins.value, pins, 1e-8);
        }
        // A measure is left out only where its contact leaves the involute.
        EXPECT_EQ(d.span.known,
                  std::hypot(db / 2, w / 2) >= d.form_diameter / 2 && std::hypot(db / 2, w / 2) <= da / 2 &&
                      k < c.z && (!d.pointed || std::hypot(db / 2, w / 2) <= d.pointed_diameter.value / 2));
    }
}

// The flank point's distance from the involute through the tip: its polar
// angle plus inv(α_R) is the same all along an involute.
double involute_constant(const ProfilePoint& p) {
    const double r = gear.params.pitch_radius;
    const double radius = std::hypot(p.x, p.y + r);
    return std::atan2(p.x, p.y + r) - inv(std::acos(gear.params.base_radius / radius));
}

// Gears whose undercut removes the whole involute have no form circle and no
// involute to measure on (once a form circle far beyond the tip); a shifted
// pitch circle inside the base circle leaves no span (once a NaN made an int).
TEST(GearData, NoInvoluteLeft) {
    for (const Case& c : {Case{4, -0.74, 1, SPECIFIED_CUTTER}, Case{12, -0.45, 1, Cutter{10, 0.5, 1.25, 0}}}) {
        const GearData d = compute(c);
        EXPECT_TRUE(d.involute_cut_away) << c.z;
        EXPECT_FALSE(d.span.known);
        EXPECT_LE(d.tip_thickness, PI * d.tip_diameter / c.z);
        char warning[GEAR_WARNING_CAPACITY];
        ASSERT_TRUE(gear_warning(c.cutter, c.z, c.x, warning, sizeof warning));
        EXPECT_NE(std::strstr(warning, "removes the whole involute"), nullptr) << warning;
    }
    const GearData d = compute({20, -0.7, 1, SPECIFIED_CUTTER});
    EXPECT_FALSE(d.involute_cut_away);
    EXPECT_EQ(d.span_teeth, 1);
    EXPECT_FALSE(d.span.known);
}

TEST(GearData, FormAndMeetingCirclesAreThoseOfTheGeneratedFlank) {
    for (const Case& c : {Case{8, 0, 1, SPECIFIED_CUTTER}, Case{12, 0, 1, SPECIFIED_CUTTER},
                          Case{10, 0.8, 1, SPECIFIED_CUTTER}, Case{14, 0, 1, Cutter{20, 1, 1.25, 0.38}}}) {
        SCOPED_TRACE(testing::Message() << "z " << c.z << " x " << c.x);
        const GearData d = compute(c);
        const ToothProfile& t = gear.shifted_tooth;
        const double r = gear.params.pitch_radius;
        if (d.undercut) {  // walk down the flank while it stays on the involute
            const double on = involute_constant(t.flank[t.flank_last - 1]);
            int i = t.flank_last - 1;
            while (i > 0 && std::fabs(involute_constant(t.flank[i - 1]) - on) < 1e-9) --i;
            const double lowest = 2 * std::hypot(t.flank[i].x, t.flank[i].y + r);
            EXPECT_LT(d.form_diameter, lowest + 1e-9);
            EXPECT_GT(d.form_diameter, 2 * std::hypot(t.flank[i - 1].x, t.flank[i - 1].y + r) - 1e-9);
        }
        if (d.pointed) {  // where the flank crosses the tooth's centre line
            const double centre = gear.params.tooth_angle / 2;
            int i = 0;
            while (std::atan2(t.flank[i + 1].x, t.flank[i + 1].y + r) < centre) ++i;
            EXPECT_GT(d.pointed_diameter.value, 2 * std::hypot(t.flank[i].x, t.flank[i].y + r) - 1e-9);
            EXPECT_LT(d.pointed_diameter.value,
                      2 * std::hypot(t.flank[i + 1].x, t.flank[i + 1].y + r) + 1e-9);
        }
    }
}

}  // namespace

namespace {

// A published pair: m = 3, 20°, z = 12/24, x = 0.6/0.36.
TEST(PairData, APublishedWorkedExample) {
    compute_gear(gear, SPECIFIED_CUTTER, 12, 0.6);
    compute_gear(mate, SPECIFIED_CUTTER, 24, 0.36);
    const PairData p = pair_data(gear, mate, gear_data(gear, 3, 0), gear_data(mate, 3, 0));
    EXPECT_NEAR(p.working_pressure_angle, 26.0886, 5e-5);
    EXPECT_NEAR(p.centre_distance, 56.4999, 5e-5);
    EXPECT_NEAR(p.centre_distance_modification, 0.8333, 5e-5);
    EXPECT_NEAR(p.reduced_tip_diameter, 44.8397, 5e-5);
    EXPECT_NEAR(p.mate_reduced_tip_diameter, 79.3997, 5e-5);
    EXPECT_NEAR(p.contact_ratio, 1.202, 5e-4);
    EXPECT_FALSE(p.interference);
    // A small undercut pinion against a large standard wheel: the wheel's tip
    // reaches below the pinion's form circle, into the undercut, which clears it.
    compute_gear(gear, SPECIFIED_CUTTER, 8, 0.0);
    compute_gear(mate, SPECIFIED_CUTTER, 60, 0.0);
    EXPECT_EQ(pair_interference(gear, mate), nullptr);  // the undercut clears the wheel's tip
    // A cutter whose addendum passes its dedendum leaves no clearance: the tips dig in.
    const Cutter tall = {20.0, 1.4, 1.0, 0.0};
    compute_gear(gear, tall, 20, 0.0);
    compute_gear(mate, tall, 30, 0.0);
    EXPECT_STREQ(pair_interference(gear, mate), "each gear's tip digs into the other's root");
}

}  // namespace
