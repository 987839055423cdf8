// The gear's data against published worked examples, and against the flank the
// rack cuts (geometry/): its circles, the involute's base circle, the span and
// the measurement over pins taken on the generated involute as a caliper and
// pins would take them, and the form and meeting circles.
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

// A point's polar angle about the centre (0, -r) less inv α_R, cos α_R = rb/R:
// the same all along an involute of the base circle rb.
double involute_constant(const ProfilePoint& p, double r, double rb) {
    return polar_angle(p, r) - inv(std::acos(rb / polar_radius(p, r)));
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

// Published worked examples: m = 3, z = 12, x = 0.6; the tooth thickness of
// m = 10, z = 12, x = 0.3; the span of m = 2, z = 20 over 3 teeth; and the
// fewest teeth without undercut for a basic rack of addendum 1 (profile A:
// its tip arc leaves a straight flank 1.25 - 0.38·(1 - sin 20°) = 1.0 deep), 2/sin²α.
TEST(GearData, PublishedWorkedExamples) {
    GearData d = compute({12, 0.6, 3.0, SPECIFIED_CUTTER});
    EXPECT_NEAR(d.base_diameter, 33.8289, 5e-5);
    EXPECT_NEAR(d.tip_diameter, 45.6, MM);
    EXPECT_NEAR(d.tooth_thickness, 6.0227, 5e-5);
    EXPECT_NEAR(compute({12, 0.3, 10.0, SPECIFIED_CUTTER}).tooth_thickness, 17.8918, 5e-5);
    d = compute({20, 0.0, 2.0, SPECIFIED_CUTTER});
    EXPECT_EQ(d.span_teeth, 3);
    ASSERT_TRUE(d.span.known);
    EXPECT_NEAR(d.span.value, 15.321, 5e-4);
    EXPECT_NEAR(compute({17, 0.0, 1.0, Cutter{20, 1, 1.25, 0.38}}).min_teeth_no_undercut, 17.1, 0.01);
}

// ---- measures taken on the generated flank --------------------------------------
// The involute part of tooth 0's left flank, involute_point(t) for t over the
// rolls flank_rolls gives; module units about the centre (0, -r), tooth 0
// centred at polar angle ψ/2, tooth j j·2π/z further.

// The t in [low, high] where f is largest, f rising then falling there: golden section.
template <class F>
double peak(F f, double low, double high) {
    const double g = (std::sqrt(5.0) - 1) / 2;
    for (int k = 0; k < 200; ++k) {
        const double a = high - g * (high - low);
        const double b = low + g * (high - low);
        (f(a) < f(b) ? low : high) = f(a) < f(b) ? a : b;
    }
    return (low + high) / 2;
}

// A measure on the flank and whether its contact lies strictly inside the involute.
struct Taken {
    double value;
    bool on_involute;
};

bool inside(double t, const FlankRolls& rolls) {
    return t > rolls.involute_start + 1e-6 && t < rolls.involute_end - 1e-6;
}

// Over k teeth: the caliper's jaws lie parallel to the axis of teeth 0 … k-1,
// each touching an outer flank; by symmetry W is twice the farthest that tooth
// 0's left flank reaches from the axis.
Taken caliper_span(const GearParams& g, int k) {
    const FlankRolls rolls = flank_rolls(g);
    const double axis = g.tooth_angle / 2 + (k - 1) * PI / g.z;
    auto reach = [&](double t) {
        const ProfilePoint p = involute_point(g, t);
        return polar_radius(p, g.pitch_radius) * std::sin(axis - polar_angle(p, g.pitch_radius));
    };
    const double t = peak(reach, rolls.involute_start, rolls.involute_end);
    return Taken{2 * reach(t), inside(t, rolls)};
}

// A pin of diameter dp in the space before tooth 0, its centre on the space's
// axis at the radius where it touches the flank (found by bisection: the space
// widens outwards), and one in the space opposite: M over both pins.
Taken pins_over(const GearParams& g, double dp) {
    const FlankRolls rolls = flank_rolls(g);
    const double r = g.pitch_radius;
    const double axis = g.tooth_angle / 2 - PI / g.z;
    double touch = 0;
    auto gap = [&](double centre_radius) {  // from the pin's centre to the nearest flank point
        const ProfilePoint c = {centre_radius * std::sin(axis), centre_radius * std::cos(axis) - r};
        auto near = [&](double t) {
            const ProfilePoint p = involute_point(g, t);
            return -std::hypot(p.x - c.x, p.y - c.y);
        };
        touch = peak(near, rolls.involute_start, rolls.involute_end);
        return -near(touch);
    };
    double low = g.root_radius;
    double high = g.tip_radius + dp;
    for (int k = 0; k < 100; ++k) (gap((low + high) / 2) < dp / 2 ? low : high) = (low + high) / 2;
    gap(low);
    const double centres = g.z % 2 == 0 ? 2 * low : 2 * low * std::cos(PI / (2 * g.z));
    return Taken{centres + dp, inside(touch, rolls)};
}

// Over even and odd z, negative, undercut and pointed gears and several
// cutters: the circles the generated tooth keeps within, the base circle of its
// involute, the tip thickness where the flank meets the tip circle, the undercut
// where the cutter's straight flank reaches below the base circle, and span and
// pins as a caliper and pins take them, known where they touch the involute.
// One tooth more in the span adds the base pitch.
TEST(GearData, MeasuresOfTheGeneratedFlankOverASpreadOfGears) {
    const Cutter A = {20, 1, 1.25, 0.38};
    const Cutter WIDE = {25, 1, 1.25, 0};
    const Cutter STUB = {20, 0.8, 1, 0.2};
    for (const Case& c : {Case{8, 0, 1, SPECIFIED_CUTTER}, Case{20, 0.5, 2, SPECIFIED_CUTTER},
                          Case{10, 0.7, 1, SPECIFIED_CUTTER}, Case{31, -0.4, 1.5, A}, Case{15, 0.2, 4, WIDE},
                          Case{40, 0, 1, STUB}, Case{17, 0, 1, A}}) {
        SCOPED_TRACE(testing::Message()
                     << "z " << c.z << " x " << c.x << " alpha " << c.cutter.pressure_angle);
        const GearData d = compute(c);
        const GearParams& g = gear.params;
        const ToothProfile& t = gear.shifted_tooth;
        const double m = c.m;
        const double r = g.pitch_radius;
        EXPECT_NEAR(d.root_diameter, 2 * m * polar_radius(t.outline[0], r), 1e-8);
        EXPECT_NEAR(d.tip_diameter, 2 * m * polar_radius(t.outline[t.flank_last + ARC_POINTS + 1], r), 1e-8);
        // The flank's involute part is an involute of the base circle.
        const FlankRolls rolls = flank_rolls(g);
        const double rb = d.base_diameter / (2 * m);
        const double start = involute_constant(involute_point(g, rolls.involute_start), r, rb);
        for (int k = 1; k <= 4; ++k) {
            const double roll = rolls.involute_start + k * (rolls.involute_end - rolls.involute_start) / 4;
            EXPECT_NEAR(involute_constant(involute_point(g, roll), r, rb), start, 1e-12);
        }
        if (!d.pointed) {
            const ProfilePoint tip = involute_point(g, rolls.involute_end);
            EXPECT_NEAR(d.tip_thickness, m * polar_radius(tip, r) * (g.tooth_angle - 2 * polar_angle(tip, r)), 1e-9);
        }
        // Undercut: the straight flank's end cuts past where the involute begins on the base circle.
        EXPECT_EQ(d.undercut, flank_end_roll(g) < -g.tan_alpha);
        EXPECT_EQ(d.undercut, c.z < d.min_teeth_no_undercut);

        const Taken span = caliper_span(g, d.span_teeth);
        EXPECT_EQ(d.span.known, span.on_involute && d.span_teeth < c.z);
        if (d.span.known) {
            EXPECT_NEAR(d.span.value, m * span.value, 1e-9);
        }
        const Taken wider = caliper_span(g, d.span_teeth + 1);
        if (span.on_involute && wider.on_involute) {
            EXPECT_NEAR(m * (wider.value - span.value), d.base_pitch, 1e-9);
        }
        const Taken pins = pins_over(g, d.pin_diameter / m);
        EXPECT_EQ(d.over_pins.known, pins.on_involute);
        if (d.over_pins.known) {
            EXPECT_NEAR(d.over_pins.value, m * pins.value, 1e-8);
        }
    }
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
            const double rb = gear.params.base_radius;
            const double on = involute_constant(t.flank[t.flank_last - 1], r, rb);
            int i = t.flank_last - 1;
            while (i > 0 && std::fabs(involute_constant(t.flank[i - 1], r, rb) - on) < 1e-9) --i;
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

// A published normal-system helical pair: m_n 3, α_n 20°, β 30°, z 12/60,
// x_n 0.09809/0, face 20 mm. Its centre distance of 125.000 holds only with
// the shift taken as x·m_n (x·m_t would give 125.045).
TEST(PairData, APublishedHelicalPair) {
    Cutter hob = SPECIFIED_CUTTER;
    hob.helix_angle = 30.0;
    compute_gear(gear, hob, 12, 0.09809);
    hob.left_hand = true;  // the mate's opposite hand
    compute_gear(mate, hob, 60, 0.0);
    const GearData g = gear_data(gear, 3, 0, 20.0);
    const GearData w = gear_data(mate, 3, 0, 20.0);
    EXPECT_NEAR(g.transverse_pressure_angle, 22.79588, 5e-6);
    const PairData p = pair_data(gear, mate, g, w);
    EXPECT_NEAR(p.working_pressure_angle, 23.1126, 5e-5);
    EXPECT_NEAR(p.centre_distance, 125.000, 5e-4);
    const double published[][2] = {{41.569, 207.846}, {38.322, 191.611}, {48.154, 213.842}, {34.658, 200.346}};
    const double computed[][2] = {{g.pitch_diameter, w.pitch_diameter},
                                  {g.base_diameter, w.base_diameter},
                                  {p.reduced_tip_diameter, p.mate_reduced_tip_diameter},
                                  {g.root_diameter, w.root_diameter}};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 2; ++k) EXPECT_NEAR(computed[i][k], published[i][k], 5e-4) << i << " " << k;
    EXPECT_NEAR(p.contact_ratio, 1.294, 5e-4);
    EXPECT_NEAR(p.overlap_ratio.value, 1.061, 5e-4);
    EXPECT_DOUBLE_EQ(p.total_contact_ratio.value, p.contact_ratio + p.overlap_ratio.value);
    // The span in the normal plane (k = 2: 14.2441 by W = m_n·cos α_n·[π(k - 0.5)
    // + z·inv α_t] + 2x·m_n·sin α_n) and the face a caliper needs, W·sin β_b; the
    // mate's 8-tooth span needs more face than 20 mm.
    EXPECT_EQ(g.span_teeth, 2);
    EXPECT_NEAR(g.span.value, 14.2441, 5e-5);
    EXPECT_NEAR(g.span_least_face_width.value, 14.2441 * std::sin(std::asin(0.5 * std::cos(PI / 9.0))), 5e-5);
    EXPECT_EQ(w.span_teeth, 8);
    EXPECT_FALSE(w.span.known);
    EXPECT_GT(w.span_least_face_width.value, 20.0);
}

// A worked pair with allowances (m 3, z 12/24, x 0.6/0.36; -0.080/-0.130 and
// -0.090/-0.150 mm; a = a_w ± 0.020 mm): spans and their limits, the backlash
// from the allowances alone and with the tolerance, the recommended least;
// over-pins limits from the fed-in shift exactly, not from a linear step.
TEST(PairData, AllowancesLimitsAndBacklash) {
    compute_gear(gear, SPECIFIED_CUTTER, 12, 0.6);
    compute_gear(mate, SPECIFIED_CUTTER, 24, 0.36);
    GearData g = gear_data(gear, 3, 0);
    GearData w = gear_data(mate, 3, 0);
    EXPECT_NEAR(mate_shift_for_centre_distance(g, 24, 56.4999), 0.36, 5e-5);
    set_allowance(g, -0.080, -0.130);
    set_allowance(w, -0.090, -0.150);
    const double spans[][3] = {{23.8765, 23.8013, 23.7543}, {32.7445, 32.6600, 32.6036}};
    const GearData* both[] = {&g, &w};
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(both[i]->span.value, spans[i][0], 5e-5);
        EXPECT_NEAR(both[i]->span_limits[0].value, spans[i][1], 5e-5);
        EXPECT_NEAR(both[i]->span_limits[1].value, spans[i][2], 5e-5);
    }
    GearData thinned = g;  // over pins at the upper limit: the gear cut at x + E/(2·m·tan α)
    thinned.shift = thinned_shift(g, -0.080);
    compute_gear(gear, SPECIFIED_CUTTER, 12, thinned.shift);
    EXPECT_DOUBLE_EQ(g.over_pins_limits[0].value, gear_data(gear, 3, 0).over_pins.value);
    compute_gear(gear, SPECIFIED_CUTTER, 12, 0.6);
    for (const double tolerance : {0.0, 0.020}) {
        PairData p = pair_data(gear, mate, g, w);
        pair_backlash(p, g, w, 0.0, tolerance);
        EXPECT_NEAR(p.normal_backlash[0], tolerance > 0.0 ? 0.1422 : 0.1597, 5e-5) << tolerance;
        EXPECT_NEAR(p.normal_backlash[1], tolerance > 0.0 ? 0.2807 : 0.2631, 5e-5) << tolerance;
        EXPECT_NEAR(p.least_recommended_backlash, 0.1188, 5e-5);
        EXPECT_EQ(p.backlash_warning, nullptr);
    }
}

// The gear-tooth caliper: a published helical gear (m_n 5, α_n 20°, β 25°, z
// 16, x 0.2, z_v 21.4928) and the same closed form for a spur gear (β = 0).
TEST(GearData, ChordalThicknessAndHeight) {
    Cutter hob = SPECIFIED_CUTTER;
    hob.helix_angle = 25.0;
    compute_gear(gear, hob, 16, 0.2);
    GearData d = gear_data(gear, 5, 0);
    EXPECT_NEAR(d.normal_tooth_thickness, 8.5819, 5e-5);
    EXPECT_NEAR(d.chordal_thickness.value, 8.5728, 5e-5);
    EXPECT_NEAR(d.chordal_height.value, 6.1712, 5e-5);
    compute_gear(gear, SPECIFIED_CUTTER, 16, 0.2);
    d = gear_data(gear, 5, 0);
    const double psi = PI / 32.0 + 0.4 * std::tan(PI / 9.0) / 16.0;
    EXPECT_NEAR(d.chordal_thickness.value, 80.0 * std::sin(psi), 1e-12);
    EXPECT_NEAR(d.chordal_height.value, 6.0 + 40.0 * (1.0 - std::cos(psi)), 1e-12);
}

}  // namespace
