// The gear's data from closed forms of the involute gear and, where only the
// generated form knows (the undercut gear's form circle, a pointed tooth's
// meeting point), from the computed tooth. No state.
#include "gear_data/gear_data.hpp"
#include "gear_data/interference_texts.hpp"

#include <cmath>

// inv α = tan α - α and its inverse: the geometry's.
static double inv(double alpha) {
    return involute_function(alpha);
}

static Measure known(double value) {
    return Measure{true, value, nullptr};
}

static Measure unknown(const char* reason) {
    return Measure{false, 0.0, reason};
}

// Is a contact at that radius (mm) on the involute, between form and tip circle?
static const char* contact_fault(double radius, const GearData& d) {
    if (d.involute_cut_away) return "the flank has no involute";
    if (radius < d.form_diameter / 2.0 - 1e-9) return "its contact points lie below the form circle";
    if (radius > d.tip_diameter / 2.0 + 1e-9) return "its contact points lie above the tip circle";
    if (d.pointed && radius > d.pointed_diameter.value / 2.0)
        return "its contact points lie above where the flanks meet";
    return nullptr;
}

// Span over k teeth: W = m·cos α·[π(k - 0.5) + z·inv α] + 2x·m·sin α, the
// caliper touching the involutes where they are W/2 from the base tangent's middle.
// A helical gear's is taken in the normal plane: W = m_n·cos α_n·[π(k - 0.5) +
// z·inv α_t] + 2x·m_n·sin α_n. Its contacts lie W/(2·cos β_b) from the
// middle in the transverse section, so k is the spur gear's there (z, α_t and
// the shift x·cos β in transverse modules), and the caliper needs a face of
// W·sin β_b. (alpha: the transverse angle, a spur gear's own.)
static void measure_span(GearData& d, double alpha) {
    if (d.internal) {
        d.span_teeth = 0;
        d.span = unknown("no caliper reaches across a ring's teeth: measure it between pins");
        return;
    }
    const bool helix = d.helix_angle > 0.0;
    const double alpha_n = helix ? d.pressure_angle * PI / 180.0 : alpha;
    const double beta_b = d.base_helix_angle * PI / 180.0;  // 0 for a spur gear
    const double z = d.teeth;
    const double x = d.shift;
    const double xt = helix ? x * std::cos(d.helix_angle * PI / 180.0) : x;
    const double K =
        (1.0 / PI) *
        (std::sqrt((1.0 + 2.0 * xt / z) * (1.0 + 2.0 * xt / z) - std::cos(alpha) * std::cos(alpha)) /
             std::cos(alpha) -
         inv(alpha) - 2.0 * (xt / z) * std::tan(alpha));
    // The whole number nearest z·K + 0.5; K is no number where the circle of
    // radius r + x·m lies inside the base circle: then one tooth, whose contacts
    // the check below refuses.
    const double nearest = std::floor(z * K + 0.5 + 0.5);
    d.span_teeth = !(nearest >= 1.0) ? 1 : nearest > z ? d.teeth : static_cast<int>(nearest);
    const double w = d.module * std::cos(alpha_n) * (PI * (d.span_teeth - 0.5) + z * inv(alpha)) +
                     2.0 * x * d.module * std::sin(alpha_n);
    const double rb = d.base_diameter / 2.0;
    const char* fault = d.span_teeth >= d.teeth
                            ? "it spans every tooth"
                            : contact_fault(std::hypot(rb, w / (2.0 * std::cos(beta_b))), d);
    if (helix) {
        d.span_least_face_width = fault ? unknown(fault) : known(w * std::sin(beta_b));
        if (!fault && d.face_width > 0.0 && d.face_width < d.span_least_face_width.value)
            fault = "the face is narrower than a caliper needs across the span (its least face width)";
    }
    d.span = fault ? unknown(fault) : known(w);
}

// Over pins: inv φ = inv α + Dp/db - π/(2z) + 2x·tan α/z; even z: M = db/cos φ
// + Dp, odd z: db·cos(90°/z)/cos φ + Dp. A pin touches the involute at the base
// tangent length rb·tan φ - Dp/2.
// Between pins, a ring: inv φ = π/(2z) + inv α + 2x·tan α/z - Dp/db, the pin
// centres on the circle db/cos φ; even z: M = db/cos φ - Dp, odd z:
// db·cos(90°/z)/cos φ - Dp.
static void measure_between_pins(GearData& d, double alpha) {
    const double z = d.teeth;
    const double db = d.base_diameter;
    const double v = PI / (2.0 * z) + inv(alpha) + 2.0 * d.shift * std::tan(alpha) / z - d.pin_diameter / db;
    if (!(v > 0.0)) {
        d.between_pins = unknown("the pin is too large for the ring's spaces");
        return;
    }
    const double phi = inverse_involute(v);
    const double centres =
        d.teeth % 2 == 0 ? db / std::cos(phi) : db * std::cos(PI / (2.0 * z)) / std::cos(phi);
    const double rb = db / 2.0;
    const double along = rb * std::tan(phi) + d.pin_diameter / 2.0;  // the contacts lie outside the centres
    const double contact = std::hypot(rb, along);
    const char* fault =
        contact > d.form_diameter / 2.0 + 1e-9  ? "its contact points lie beyond the form circle"
        : contact < d.tip_diameter / 2.0 - 1e-9 ? "its contact points lie inside the tip circle"
                                                : nullptr;
    d.between_pins = fault ? unknown(fault) : known(centres - d.pin_diameter);
}

static void measure_over_pins(GearData& d, double alpha) {
    if (d.internal) {
        d.over_pins = unknown("a ring is measured between pins");
        measure_between_pins(d, alpha);
        return;
    }
    d.between_pins = unknown("an external gear is measured over pins");
    const double z = d.teeth;
    const double db = d.base_diameter;
    // A helical gear's balls: inv φ = inv α_t + Dp/(m_n·z·cos α_n) - π/(2z) +
    // 2x·tan α_n/z in the transverse section; a ball's contact lies
    // Dp/(2·cos β_b) along its base tangent from the ball's centre.
    const bool helix = d.helix_angle > 0.0;
    const double alpha_n = d.pressure_angle * PI / 180.0;
    const double phi = inverse_involute(
        helix ? inv(alpha) + d.pin_diameter / (d.module * z * std::cos(alpha_n)) - PI / (2.0 * z) +
                    2.0 * d.shift * std::tan(alpha_n) / z
              : inv(alpha) + d.pin_diameter / db - PI / (2.0 * z) + 2.0 * d.shift * std::tan(alpha) / z);
    const double centres =
        d.teeth % 2 == 0 ? db / std::cos(phi) : db * std::cos(PI / (2.0 * z)) / std::cos(phi);
    const double rb = db / 2.0;
    const double along =
        rb * std::tan(phi) -
        (helix ? d.pin_diameter / (2.0 * std::cos(d.base_helix_angle * PI / 180.0)) : d.pin_diameter / 2.0);
    const char* fault =
        along < 0.0 ? "the pin is too large to touch the involutes" : contact_fault(std::hypot(rb, along), d);
    d.over_pins = fault ? unknown(fault) : known(centres + d.pin_diameter);
}

// A flank with no involute: it is all what the tip cut, up to the tip (or the
// point where the flanks meet), and the tip land is the tooth's as cut.
static void tip_as_cut(GearData& d, const Gear& gear) {
    const GearParams& g = gear.params;
    const ToothProfile& tooth = gear.shifted_tooth;
    d.form_diameter = d.tip_diameter;
    const ProfilePoint& end = tooth.flank[tooth.flank_last];
    const double tip_land = g.tooth_angle - 2.0 * polar_angle(end, g.pitch_radius);
    d.tip_thickness = d.pointed || tip_land < 0.0 ? 0.0 : d.tip_diameter / 2.0 * tip_land;
}

// What a pinion-type cutter makes different: the cutter at work, the root
// circle it cuts, a ring's tip and thicknesses, where undercut begins and the
// form circle, all from the gear as cut.
static void pinion_cut_data(GearData& d, const Gear& gear) {
    const GearParams& g = gear.params;
    const double m = d.module;
    const double x = d.shift;
    d.pinion_cutter = true;
    d.cutter_teeth = g.cutter.teeth;
    d.cutter_shift = g.cutter.shift;
    d.cutting_centre_distance = g.pinion.centre_distance * m;
    d.cutting_pressure_angle = g.pinion.pressure_angle * 180.0 / PI;
    d.internal = g.internal;
    d.tip_diameter = 2.0 * g.tip_radius * m;
    d.root_diameter = 2.0 * g.root_radius * m;
    d.tooth_dedendum = std::fabs(g.root_radius - g.pitch_radius) * m;
    const FlankRolls rolls = flank_rolls(g);
    const double form = polar_radius(involute_point(g, rolls.involute_start), g.pitch_radius);
    if (g.internal) {
        d.tooth_addendum = (g.addendum_coefficient - x) * m;
        d.tooth_thickness = m * (PI / 2.0 - 2.0 * x * g.tan_alpha);
        // The ring's tooth widens outwards: ψ + 2(inv α_R - inv α) across at R;
        // inside the base circle its flanks run radially, at the base circle's angle.
        const double alpha_tip = g.tip_radius > g.base_radius ? std::acos(g.base_radius / g.tip_radius) : 0.0;
        d.tip_thickness = g.tip_radius * m * (g.tooth_angle + 2.0 * (inv(alpha_tip) - inv(g.alpha)));
        if (d.pointed || d.tip_thickness < 0.0) d.tip_thickness = 0.0;
        d.undercut = false;
        d.form_diameter = 2.0 * m * form;
        d.involute_cut_away = false;
        return;
    }
    d.undercut = pinion_undercuts(g);
    d.min_shift_no_undercut = pinion_least_shift(g);
    d.min_teeth_no_undercut = pinion_least_teeth(g);
    // involute_cut_away's answer for this cutter, from the rolls at hand.
    d.involute_cut_away = !(rolls.involute_end > rolls.involute_start);
    if (d.involute_cut_away)
        tip_as_cut(d, gear);
    else
        d.form_diameter = 2.0 * m * form;
}

// The chord across the tooth at the reference circle and its height below the
// tip, as a gear-tooth caliper takes them (GearData's comment has the forms).
static void measure_chord(GearData& d) {
    if (d.internal) {
        d.chordal_thickness = d.chordal_height = unknown("a ring's teeth are measured between pins");
        return;
    }
    const double cos_beta = std::cos(d.helix_angle * PI / 180.0);
    const double zv = d.teeth / (cos_beta * cos_beta * cos_beta);
    const double psi = PI / (2.0 * zv) + 2.0 * d.shift * std::tan(d.pressure_angle * PI / 180.0) / zv;
    d.chordal_thickness = known(zv * d.module * std::sin(psi));
    // The tip stays where the blank put it: h_a = (tip diameter - reference diameter)/2.
    const double addendum = (d.tip_diameter - d.pitch_diameter) / 2.0;
    d.chordal_height = known(addendum + zv * d.module / 2.0 * (1.0 - std::cos(psi)));
}

// A helical gear's own figures; its span and pins follow from them.
static void helix_data(GearData& d, const GearParams& g, double face_width) {
    const Cutter& c = g.cutter;
    const double beta = c.helix_angle * PI / 180.0;
    d.helix_angle = c.helix_angle;
    d.left_hand = c.left_hand;
    d.transverse_pressure_angle = g.alpha * 180.0 / PI;
    d.base_helix_angle = std::asin(std::sin(beta) * std::cos(g.normal_alpha)) * 180.0 / PI;
    d.lead = PI * d.pitch_diameter / std::tan(beta);
    d.normal_tooth_thickness = d.tooth_thickness * std::cos(beta);
    d.face_width = face_width;
    d.overlap_ratio = face_width > 0.0 ? known(face_width * std::sin(beta) / (PI * d.module))
                                       : unknown("no face width is given");
}

GearData gear_data_in_units(const Gear& gear) {
    return gear_data(gear, gear.params.cos_beta, 0.0);
}

GearData gear_data(const Gear& gear, double module, double pin_diameter, double face_width) {
    const GearParams& g = gear.params;
    const ToothProfile& tooth = gear.shifted_tooth;
    const Cutter& c = g.cutter;
    const double m = module;
    // A helical gear's transverse section: its module m_t and angle α_t, the
    // normal plane's heights and shift (a spur gear's module and angle themselves).
    const double mt = transverse_module(c, m);
    const double alpha = g.alpha;
    const double z = g.z;
    const double x = nominal_shift(g);
    GearData d = {};
    d.teeth = g.z;
    d.shift = x;
    d.module = m;
    d.pressure_angle = c.pressure_angle;
    d.addendum = c.addendum * m;
    d.dedendum = c.dedendum * m;
    d.tip_radius = c.tip_radius * m;
    d.tooth_addendum = (c.addendum + x) * m;
    d.tooth_dedendum = (c.dedendum - x) * m;

    d.pitch_diameter = mt * z;
    d.base_diameter = d.pitch_diameter * std::cos(alpha);
    d.tip_diameter = d.pitch_diameter + 2.0 * (c.addendum + x) * m;
    d.root_diameter = d.pitch_diameter - 2.0 * (c.dedendum - x) * m;
    d.pitch = PI * mt;
    d.base_pitch = PI * mt * std::cos(alpha);

    d.tooth_thickness = helical(c) ? mt * PI / 2.0 + 2.0 * x * m * std::tan(alpha)
                                   : m * (PI / 2.0 + 2.0 * x * std::tan(alpha));
    ProfilePoint meeting;
    d.pointed = flank_until_meeting(tooth, g.pitch_radius, meeting) != tooth.flank_last;
    const double meeting_radius = std::hypot(meeting.x, meeting.y + g.pitch_radius);
    d.pointed_diameter = d.pointed ? known(2.0 * mt * meeting_radius) : unknown("the tooth has a tip land");
    const double alpha_tip = std::acos(d.base_diameter / d.tip_diameter);
    const double tip_thickness =
        d.tip_diameter * (d.tooth_thickness / d.pitch_diameter + inv(alpha) - inv(alpha_tip));
    d.tip_thickness = d.pointed || tip_thickness < 0.0 ? 0.0 : tip_thickness;

    // Undercut begins where the straight flank's end, hf - ρ(1 - sin α) below
    // the reference line, passes below the line of action's end at the base
    // circle (a helical gear's: ρ·(1 - sin α_n) and α_t, the pitch radius
    // z/(2·cos β) in normal modules).
    const double cos_beta = g.cos_beta;
    const double flank_end = c.dedendum - c.tip_radius * (1.0 - std::sin(g.normal_alpha));
    const double sin2 = std::sin(alpha) * std::sin(alpha);
    d.min_shift_no_undercut = flank_end - z * sin2 / (2.0 * cos_beta);
    d.min_teeth_no_undercut = 2.0 * (flank_end - x) * cos_beta / sin2;
    d.undercut = x < d.min_shift_no_undercut;
    d.flank_depth = flank_end * m;
    d.min_teeth_textbook = 2.0 * (c.addendum - x) * cos_beta / sin2;
    d.min_shift_textbook = c.addendum - z * sin2 / (2.0 * cos_beta);
    d.involute_cut_away = !pinion_type(c) && d.undercut && involute_cut_away(gear);
    ProfilePoint form;
    if (pinion_type(c)) {
        pinion_cut_data(d, gear);  // its own undercut and form circle
    } else if (d.involute_cut_away) {
        tip_as_cut(d, gear);
    } else if (d.undercut && undercut_meets_involute(gear, form)) {
        d.form_diameter = 2.0 * mt * polar_radius(form, g.pitch_radius);
    } else {
        const double r = mt * z / 2.0;
        const double rb = d.base_diameter / 2.0;
        const double along = r * std::sin(alpha) - (flank_end - x) * m / std::sin(alpha);
        d.form_diameter = 2.0 * std::sqrt(rb * rb + along * along);
    }

    d.pin_diameter = pin_diameter > 0.0 ? pin_diameter
                     : d.internal       ? RING_PIN_DIAMETER_PER_MODULE * m
                                        : PIN_DIAMETER_PER_MODULE * m;
    d.transverse_module = mt;
    if (helical(c)) helix_data(d, g, face_width);
    measure_span(d, alpha);
    measure_over_pins(d, alpha);
    measure_chord(d);
    return d;
}

// The transverse pressure angle the measures are taken with, radians.
static double measuring_angle(const GearData& d) {
    return (d.helix_angle > 0.0 ? d.transverse_pressure_angle : d.pressure_angle) * PI / 180.0;
}

double thinned_shift(const GearData& d, double allowance) {
    return d.shift + thinning_feed(d.pressure_angle, d.module, allowance, d.internal);
}

void set_allowance(GearData& d, double upper, double lower) {
    d.allowance_given = true;
    d.allowance[0] = upper;
    d.allowance[1] = lower;
    const double cos_beta = std::cos(d.helix_angle * PI / 180.0);
    for (int k = 0; k < 2; ++k) {
        d.tooth_thickness_limits[k] = d.tooth_thickness + d.allowance[k] / cos_beta;
        GearData thinned = d;
        thinned.shift = thinned_shift(d, d.allowance[k]);
        measure_span(thinned, measuring_angle(d));
        measure_over_pins(thinned, measuring_angle(d));
        measure_chord(thinned);
        d.span_limits[k] = thinned.span;
        d.over_pins_limits[k] = d.internal ? thinned.between_pins : thinned.over_pins;
        d.chordal_thickness_limits[k] = thinned.chordal_thickness;
    }
}

// A pinion inside a ring (either may be the gear): inv α_w = 2·tan α·(x2 - x1)/(z2
// - z1) + inv α, y = (z2 - z1)/2·(cos α/cos α_w - 1), a = ((z2 - z1)/2 + y)·m,
// working pitch diameters 2a·z/(z2 - z1), ε_α = [√(ra1² - rb1²) - √(ra2² -
// rb2²) + a·sin α_w]/(π·m·cos α); no tip is reduced.
static PairData internal_pair_data(const GearData& g1, const GearData& g2) {
    PairData p = {};
    p.internal = true;
    const bool gear_is_ring = g1.internal;
    const GearData& pinion = gear_is_ring ? g2 : g1;
    const GearData& ring = gear_is_ring ? g1 : g2;
    const double alpha = g1.pressure_angle * PI / 180.0;
    const double m = g1.module;
    const double z1 = pinion.teeth;
    const double z2 = ring.teeth;
    if (!(z2 > z1)) {
        p.fault = "the ring must have more teeth than the pinion inside it";
        return p;
    }
    const double inv_aw = inv(alpha) + 2.0 * std::tan(alpha) * (ring.shift - pinion.shift) / (z2 - z1);
    if (!(inv_aw > 0.0)) {
        p.fault =
            "the ring's shift is too far below the pinion's for them to mesh without backlash "
            "(no working pressure angle has that involute)";
        return p;
    }
    const double aw = inverse_involute(inv_aw);
    p.working_pressure_angle = aw * 180.0 / PI;
    const double y = (z2 - z1) / 2.0 * (std::cos(alpha) / std::cos(aw) - 1.0);
    p.centre_distance_modification = y;
    p.centre_distance = ((z2 - z1) / 2.0 + y) * m;
    const double pinion_working = 2.0 * p.centre_distance * z1 / (z2 - z1);
    const double ring_working = 2.0 * p.centre_distance * z2 / (z2 - z1);
    p.working_pitch_diameter = gear_is_ring ? ring_working : pinion_working;
    p.mate_working_pitch_diameter = gear_is_ring ? pinion_working : ring_working;
    p.reduced_tip_diameter = g1.tip_diameter;
    p.mate_reduced_tip_diameter = g2.tip_diameter;
    const double ra1 = pinion.tip_diameter / 2.0;
    const double ra2 = ring.tip_diameter / 2.0;
    const double rb1 = pinion.base_diameter / 2.0;
    const double rb2 = ring.base_diameter / 2.0;
    const double line = p.centre_distance * std::sin(aw);  // between the base tangent points
    const double tip1 = std::sqrt(std::fmax(0.0, ra1 * ra1 - rb1 * rb1));
    const double tip2 = std::sqrt(std::fmax(0.0, ra2 * ra2 - rb2 * rb2));
    p.contact_ratio = (tip1 - tip2 + line) / (PI * m * std::cos(alpha));
    // Along the line of action from the pitch point, the pinion's base tangent
    // point rw1·sin α_w before it: contact from where the ring's tip circle
    // cuts it to where the pinion's does.
    const double before = pinion_working / 2.0 * std::sin(aw);
    p.path_start = tip2 - line - before;
    p.path_end = tip1 - before;
    if (!(p.path_end > p.path_start)) {
        p.fault = "their teeth do not reach each other on the line of action";
        return p;
    }
    const InternalMesh mesh = {z1, z2, ra1 / m, ra2 / m, rb1 / m, rb2 / m, p.centre_distance / m, aw};
    p.involute_interference = internal_involute_interference(mesh);
    p.trochoid_interference = internal_trochoid_interference(mesh);
    p.trimming_interference = internal_trimming(mesh);
    p.interference = p.involute_interference || p.trochoid_interference;
    p.interference_text = p.involute_interference   ? (pinion.undercut ? RING_TIP_MAY_CLEAR : RING_TIP_DIGS)
                          : p.trochoid_interference ? PINION_TIP_HITS
                                                    : nullptr;
    p.trimming_text = p.trimming_interference ? PINION_GOES_IN_AXIALLY : nullptr;
    return p;
}

// The pair's transverse figures: α_t, m_t, the reference centre distance a0
// = (z1 + z2)·m_t/2, cos β_b and cos β (1 for spur gears), α_n.
struct PairSection {
    double alpha, mt, a0, cos_beta_b, cos_beta, alpha_n;
};
static PairSection pair_section(const GearData& g1, int z2) {
    const double alpha_n = g1.pressure_angle * PI / 180.0;
    const bool helix = g1.helix_angle > 0.0;
    const double alpha = helix ? g1.transverse_pressure_angle * PI / 180.0 : alpha_n;
    return PairSection{alpha,
                       g1.transverse_module,
                       (g1.teeth + z2) * g1.transverse_module / 2.0,
                       std::cos(g1.base_helix_angle * PI / 180.0),
                       helix ? std::cos(g1.helix_angle * PI / 180.0) : 1.0,
                       alpha_n};
}

PairData pair_data(const Gear& gear, const Gear& mate, const GearData& g1, const GearData& g2) {
    if (g1.internal || g2.internal) return internal_pair_data(g1, g2);
    PairData p = {};
    // A helical pair in its transverse section: inv α_wt = 2·tan α_n·(x1 +
    // x2)/(z1 + z2) + inv α_t, a = (z1 + z2)·m_t/2 · cos α_t/cos α_wt, y in
    // normal modules (z1 + z2)/(2·cos β)·(cos α_t/cos α_wt - 1), the contact
    // ratio over the transverse base pitch. A spur pair's α_t and m_t are α and m.
    const PairSection s = pair_section(g1, g2.teeth);
    const bool helix = g1.helix_angle > 0.0;
    const double alpha_n = s.alpha_n;
    const double alpha = s.alpha;
    const double m = g1.module;
    const double mt = s.mt;
    const double cos_beta = s.cos_beta;
    const double z1 = g1.teeth;
    const double z2 = g2.teeth;
    const double inv_aw = inv(alpha) + 2.0 * std::tan(alpha_n) * (g1.shift + g2.shift) / (z1 + z2);
    if (!(inv_aw > 0.0)) {
        p.fault =
            "their shifts are too far below zero for them to mesh without backlash "
            "(no working pressure angle has that involute)";
        return p;
    }
    const double aw = inverse_involute(inv_aw);
    p.working_pressure_angle = aw * 180.0 / PI;
    p.centre_distance = (z1 + z2) * mt / 2.0 * std::cos(alpha) / std::cos(aw);
    const double y = (z1 + z2) / 2.0 * (std::cos(alpha) / std::cos(aw) - 1.0) / cos_beta;
    p.centre_distance_modification = y;
    const double gear_working_radius = p.centre_distance * z1 / (z1 + z2);
    p.working_pitch_diameter = 2.0 * gear_working_radius;
    p.mate_working_pitch_diameter = 2.0 * (p.centre_distance - gear_working_radius);
    // Negative, the clearance is larger than the standard one already: the tips stay.
    p.tip_reduction = std::fmax(0.0, (g1.shift + g2.shift - y) * m);
    p.reduced_tip_diameter = g1.tip_diameter - 2.0 * p.tip_reduction;
    p.mate_reduced_tip_diameter = g2.tip_diameter - 2.0 * p.tip_reduction;
    const double rb1 = g1.base_diameter / 2.0;
    const double rb2 = g2.base_diameter / 2.0;
    const double ra1 = p.reduced_tip_diameter / 2.0;
    const double ra2 = p.mate_reduced_tip_diameter / 2.0;
    const double tip1 =
        std::sqrt(ra1 * ra1 - rb1 * rb1);  // along the line of action from gear 1's base tangent point
    const double tip2 = std::sqrt(ra2 * ra2 - rb2 * rb2);
    const double line = p.centre_distance * std::sin(aw);  // between the two base tangent points
    p.contact_ratio = (tip1 + tip2 - line) / (PI * mt * std::cos(alpha));
    if (helix) {  // a spur pair's stay empty: no rows of them
        p.overlap_ratio = g1.overlap_ratio;
        p.total_contact_ratio = p.overlap_ratio.known ? known(p.contact_ratio + p.overlap_ratio.value)
                                                      : unknown(p.overlap_ratio.reason);
    }
    // The base tangent points lie rw1·sin α_w before the pitch point and rw2·sin α_w after it.
    const double before = gear_working_radius * std::sin(aw);
    const double after = line - before;
    p.path_start = std::fmax(-before, after - tip2);
    p.path_end = std::fmin(after, tip1 - before);
    if (!(p.path_end > p.path_start)) {
        p.fault = "their teeth do not reach each other on the line of action";
        return p;
    }
    p.interference_text = pair_collision(gear, mate, p, mt);
    p.interference = p.interference_text != nullptr;
    return p;
}

// The pair's transverse figures: α_t, m_t, the reference centre distance a0
// = (z1 + z2)·m_t/2 and cos β_b (1 for spur gears).

double mate_shift_for_centre_distance(const GearData& g1, int z2, double centre_distance) {
    const PairSection s = pair_section(g1, z2);
    const double c = s.a0 * std::cos(s.alpha) / centre_distance;
    if (!(c > 0.0 && c < 1.0)) return NAN;
    const double aw = std::acos(c);
    return (inv(aw) - inv(s.alpha)) * (g1.teeth + z2) / (2.0 * std::tan(s.alpha_n)) - g1.shift;
}

// The teeth as cut mesh without backlash at the working centre distance a_w;
// mounted at A the normal backlash grows by cos β_b·m_t·cos α_t·(z1 +
// z2)·(inv α_A - inv α_w), cos α_A = a0·cos α_t/A, and each allowance E
// (normal plane, on the reference circle) adds -E·cos α_n.
void pair_backlash(PairData& p, const GearData& g1, const GearData& g2, double centre_distance,
                   double tolerance) {
    if (p.fault != nullptr || p.internal) return;
    const PairSection s = pair_section(g1, g2.teeth);
    const double z = g1.teeth + g2.teeth;
    const double aw = p.working_pressure_angle * PI / 180.0;
    const double a = centre_distance > 0.0 ? centre_distance : p.centre_distance;
    p.backlash_given = true;
    p.mounted_centre_distance = a;
    p.centre_distance_tolerance = tolerance;
    const double upper =
        (g1.allowance_given ? g1.allowance[0] : 0.0) + (g2.allowance_given ? g2.allowance[0] : 0.0);
    const double lower =
        (g1.allowance_given ? g1.allowance[1] : 0.0) + (g2.allowance_given ? g2.allowance[1] : 0.0);
    for (int k = 0; k < 2; ++k) {
        const double at = a + (k == 0 ? -tolerance : tolerance);
        const double alpha_at = std::acos(std::fmin(1.0, s.a0 * std::cos(s.alpha) / at));
        double jn = -(k == 0 ? upper : lower) * std::cos(s.alpha_n) +
                    s.cos_beta_b * s.mt * std::cos(s.alpha) * z * (inv(alpha_at) - inv(aw));
        // A pair mounted where it meshes without backlash has none, whatever the last bits of
        // one libm's involutes say (else one build would call it binding and another not).
        if (std::fabs(jn) < 1e-9 * s.mt) jn = 0.0;
        p.normal_backlash[k] = jn;
        p.circumferential_backlash[k] = jn / (std::cos(alpha_at) * s.cos_beta_b);
        p.angular_backlash[k] = p.circumferential_backlash[k] / (at * g1.teeth / z) * 180.0 / PI;
        p.mate_angular_backlash[k] = p.circumferential_backlash[k] / (at * g2.teeth / z) * 180.0 / PI;
    }
    p.least_recommended_backlash = 2.0 / 3.0 * (0.06 + 0.0005 * a + 0.03 * g1.module);
    p.backlash_warning = p.normal_backlash[0] < 0.0 ? "the gears bind: their least backlash is negative"
                         : p.normal_backlash[0] < p.least_recommended_backlash
                             ? "the least backlash is below the least recommended"
                             : nullptr;
}

PairPlace pair_place(const PairData& pair, double module) {
    return PairPlace{pair.centre_distance, pair.reduced_tip_diameter / 2.0 / module,
                     pair.mate_reduced_tip_diameter / 2.0 / module};
}

const char* pair_interference(const Gear& gear, const Gear& mate) {
    const PairData pair = pair_data(gear, mate, gear_data_in_units(gear), gear_data_in_units(mate));
    return pair.fault == nullptr && pair.interference ? pair.interference_text : nullptr;
}
