// The flank as the cutter cuts it, found on the exact curves rather than on
// their 0.01 samples: where the involute crosses what the tip cut, where it
// reaches the tip circle and where a pointed tooth's flank reaches the tooth
// centre line. Pure functions of the gear's parameters; no state.
#include "geometry/geometry_private.hpp"

#include <cmath>

ProfilePoint undercut_point(const GearParams& g, double t) {
    if (pinion_type(g.cutter)) return pinion_cut_point(g, t);
    ProfilePoint rack_point, point;
    rack_undercut_point(g, t, rack_point, point);
    return point;
}

// A ring's tooth flank is the involute of an external tooth's space: the
// external involute mirrored, run from the root circle inwards as t grows.
ProfilePoint involute_point(const GearParams& g, double t) {
    ProfilePoint rack_point, point;
    double flank_distance;
    rack_involute_point(g, g.internal ? -t : t, rack_point, point, flank_distance);
    if (g.internal) point.x = -point.x;
    return point;
}

// The contact point runs along the line of action, r·cos α per unit of roll,
// and passes the line's tangent point on the base circle, r·sin α from the
// pitch point, at t = -tan α. So at roll t it stands at radius
// √(rb² + (r·cos α·(t + tan α))²), and reaches radius R (≥ rb) on the
// involute's own side of the base circle at the roll returned.
double involute_roll_at(const GearParams& g, double radius) {
    const double run = std::sqrt(std::fmax(radius * radius - g.base_radius * g.base_radius, 0.0));
    const double roll = -g.tan_alpha + run / (g.pitch_radius * g.cos_alpha);
    return g.internal ? -roll : roll;
}

// The tip arc's centre this near the rolling line (module units) counts as on
// it: the arc is then cut within a roll of about 1e-12, and what it cuts lies
// within about 1e-12 of the arc about the point of rolling.
constexpr double ARC_ON_ROLLING_LINE = 1e-12;

// Where f first changes sign on the way from a to b: the first of SEARCH_STEPS
// steps over which it does, halved until no double lies between its ends. (A
// change that goes back within the same step is not seen.)
constexpr int SEARCH_STEPS = 1000;
template <typename Function>
static bool first_sign_change(double a, double b, Function f, double& root) {
    const bool a_positive = f(a) > 0.0;
    const double step = (b - a) / SEARCH_STEPS;
    for (int i = 1; i <= SEARCH_STEPS; ++i) {
        double low = a + (i - 1) * step;
        double high = i == SEARCH_STEPS ? b : a + i * step;
        if ((f(high) > 0.0) == a_positive) continue;
        for (;;) {
            const double middle = 0.5 * (low + high);
            if (middle == low || middle == high) break;
            if ((f(middle) > 0.0) == a_positive)
                low = middle;
            else
                high = middle;
        }
        root = 0.5 * (low + high);
        return true;
    }
    return false;
}

// How far the tip's cut at roll t lies beyond the involute, into the tooth: its
// polar angle less the involute's at the same radius. Within the base circle,
// where no involute is, the tip's cut is all there is: positive.
static double cut_beyond_involute(const GearParams& g, double t) {
    const double r = g.pitch_radius;
    const ProfilePoint cut = undercut_point(g, t);
    const double radius = polar_radius(cut, r);
    if (radius <= g.base_radius) return 1.0;
    return polar_angle(cut, r) - polar_angle(involute_point(g, involute_roll_at(g, radius)), r);
}

// The tip's cut and the involute meet at the flank's end, t_f. There the
// involute touches what the tip cuts, unless t_f lies below -tan α, the roll at
// which the involute leaves the base circle: then t_f's contact lies on the
// involute's far side of the base circle, and what the tip cuts from the root
// circle up (inside the base circle at first) lies beyond the involute until it
// first crosses it, at the roll sought.
//
// The flank ends where it first reaches the tooth centre line (the mirrored
// flank meets it there), else on the tip circle. On a deeply undercut tooth
// either may lie on what the tip cuts, and the flank has no involute: the
// undercuts from both sides cut the tooth off on the centre line.
//
// A pinion-type cutter's flank end may pass inside an external gear's base
// circle just as the rack's does; a ring's involute starts outside its base
// circle, beyond the cutter's, and is never undercut so. Its involute reaches
// only the cutter's base tangent point: beyond, towards the tip, the cutter's
// radial flank cuts.
FlankRolls flank_rolls(const GearParams& g, bool stop_at_centre) {
    const double r = g.pitch_radius;
    const bool pinion = pinion_type(g.cutter);
    const double t_f = pinion ? pinion_flank_end_roll(g) : flank_end_roll(g);
    FlankRolls rolls{
        -g.undercut_start_roll, t_f, t_f, involute_roll_at(g, g.tip_radius), false, false, 0.0, 0.0};
    // (An elliptical arc, a helical gear's, cuts along a curve even then.)
    if (!pinion && g.tip_arc_radius > 0.0 && g.tip_arc_height == g.tip_arc_radius &&
        std::fabs(g.dedendum - g.tip_arc_radius) <= ARC_ON_ROLLING_LINE) {
        rolls.undercut_end = rolls.undercut_start;
        rolls.fillet_arc = true;
    }
    const double tip = g.tip_radius;
    rolls.tip_flank_start = rolls.tip_flank_end = rolls.involute_end;
    if (pinion && rolls.involute_end > g.pinion.involute_limit_roll) {
        rolls.involute_end = rolls.tip_flank_start = rolls.tip_flank_end = g.pinion.involute_limit_roll;
        const auto radial_past_tip = [&g, r, tip](double t) {
            return polar_radius(radial_flank_point(g, t), r) - tip;
        };
        // It reaches the tip within a tenth of a turn of the gear, or not at all (then refused).
        first_sign_change(rolls.tip_flank_start, rolls.tip_flank_start + 0.2 * PI, radial_past_tip,
                          rolls.tip_flank_end);
    }
    if (!g.internal && t_f < -g.tan_alpha &&
        first_sign_change(
            rolls.undercut_start, t_f, [&g](double t) { return cut_beyond_involute(g, t); },
            rolls.undercut_end))
        rolls.involute_start = involute_roll_at(g, polar_radius(undercut_point(g, rolls.undercut_end), r));

    // What the tip cuts may reach the tip circle before it meets the involute:
    // then the whole involute is cut away, and the flank ends there.
    const auto cut_past_tip = [&g, r, tip](double t) { return polar_radius(undercut_point(g, t), r) - tip; };
    if (first_sign_change(rolls.undercut_start, rolls.undercut_end, cut_past_tip, rolls.undercut_end)) {
        rolls.involute_start = rolls.involute_end;
        rolls.tip_flank_start = rolls.tip_flank_end = rolls.involute_end;
    }

    if (!stop_at_centre) return rolls;
    const double centre = g.tooth_angle / 2.0;
    const auto cut_past_centre = [&g, r, centre](double t) {
        return polar_angle(undercut_point(g, t), r) - centre;
    };
    if (first_sign_change(rolls.undercut_start, rolls.undercut_end, cut_past_centre, rolls.undercut_end)) {
        rolls.involute_start = rolls.involute_end;
        rolls.tip_flank_start = rolls.tip_flank_end = rolls.involute_end;
        rolls.pointed = true;
        return rolls;
    }
    // The involute's polar angle grows with its roll: it crosses at most once.
    const auto past_centre = [&g, r, centre](double t) {
        return polar_angle(involute_point(g, t), r) - centre;
    };
    rolls.pointed =
        first_sign_change(rolls.involute_start, rolls.involute_end, past_centre, rolls.involute_end);
    if (rolls.pointed) {
        rolls.tip_flank_start = rolls.tip_flank_end = rolls.involute_end;
    } else if (rolls.tip_flank_end != rolls.tip_flank_start) {
        const auto radial_past_centre = [&g, r, centre](double t) {
            return polar_angle(radial_flank_point(g, t), r) - centre;
        };
        rolls.pointed = first_sign_change(rolls.tip_flank_start, rolls.tip_flank_end, radial_past_centre,
                                          rolls.tip_flank_end);
    }
    return rolls;
}

FlankRolls flank_rolls(const GearParams& g) {
    return flank_rolls(g, true);
}

bool involute_cut_away(const Gear& gear) {
    const GearParams& g = gear.params;
    if (pinion_type(g.cutter)) {
        const FlankRolls rolls = flank_rolls(g);
        return !(rolls.involute_end > rolls.involute_start);
    }
    ProfilePoint meeting;
    if (undercut_meets_involute(gear, meeting)) return polar_radius(meeting, g.pitch_radius) >= g.tip_radius;
    const FlankRolls rolls = flank_rolls(g);
    return !(rolls.involute_end > rolls.involute_start);
}
