// One tooth of a gear cut by a pinion-type cutter: the curves the scenes show
// (the involute on both sides of the reference pitch point, what the tip cuts
// from the root circle on) sampled every ROLL_STEP of roll, and the flank
// joined where flank_rolls finds the curves meet, exactly. Writes the gear's
// curves and the target ToothProfile; owns no state.
#include "geometry/geometry_private.hpp"

#include <cmath>

// Samples curve at from, from ± ROLL_STEP, … up to to (exactly, as the last
// point) into points[first …], at most POINT_CAPACITY in all; returns the last
// index written (first - 1 when there is no room).
template <typename Curve>
static int sample_rolls(Curve curve, double from, double to, ProfilePoint* points, int first,
                        bool& overflowed) {
    const double step = to >= from ? ROLL_STEP : -ROLL_STEP;
    int last = first - 1;
    for (int k = 0;; ++k) {
        if (last + 1 >= POINT_CAPACITY) {
            overflowed = true;
            return last;
        }
        const double t = from + k * step;
        const bool end = (step > 0.0) ? t >= to : t <= to;
        points[++last] = curve(end ? to : t);
        if (end) return last;
    }
}

// The involute starts, below, where the cutter's flank end touches it, or on
// the base circle when that end passes inside it (an undercut gear); a ring's
// where the flank end leaves it, out towards its root.
static double involute_low_roll(const GearParams& g) {
    const double t_f = pinion_flank_end_roll(g);
    return g.internal ? t_f : std::fmax(t_f, -g.tan_alpha);
}

constexpr int UNDERCUT_SAMPLES_LAST = 250;  // what a sharp corner cuts: 251 samples, beyond the flank too

void compute_pinion_tooth(Gear& gear, ToothProfile& tooth) {
    const GearParams& g = gear.params;
    GenerationCurves& c = gear.curves;
    bool& overflowed = gear.overflowed;
    const auto involute = [&g](double t) { return involute_point(g, t); };
    const auto cut = [&g](double t) { return undercut_point(g, t); };
    const FlankRolls rolls = flank_rolls(g, false);
    // The involute as far as the cutter generates it (a small cutter's stops
    // short of the tip circle, where its radial flank cuts on).
    const double tip_roll = std::fmin(involute_roll_at(g, g.tip_radius), g.pinion.involute_limit_roll);

    c.addendum_last = sample_rolls(involute, 0.0, tip_roll, c.addendum_involute, 0, overflowed);
    c.dedendum_last = sample_rolls(involute, 0.0, involute_low_roll(g), c.dedendum_involute, 0, overflowed);
    for (int i = 0; i <= c.addendum_last; ++i)
        c.addendum_rack[i] = pinion_cutter_place(g, i * ROLL_STEP).centre;
    for (int j = 0; j <= c.dedendum_last; ++j)
        c.dedendum_rack[j] = pinion_cutter_place(g, -j * ROLL_STEP).centre;
    int n = 0;
    for (int k = c.dedendum_last; k >= 0; --k) c.involute_curve[n++] = c.dedendum_involute[k];
    for (int k = 1; k <= c.addendum_last && n < POINT_CAPACITY; ++k)
        c.involute_curve[n++] = c.addendum_involute[k];
    c.involute_last = n - 1;

    // What the tip cuts, from the root circle: a sharp corner's whole trochoid
    // as far as the rack's is shown, a rounded tip's up to where its flank takes over.
    const double t_root = -g.undercut_start_roll;
    const double direction = rolls.undercut_end > t_root ? 1.0 : -1.0;
    const double t_last = g.tip_arc_radius > 0.0 ? pinion_flank_end_roll(g)
                                                 : t_root + direction * ROLL_STEP * UNDERCUT_SAMPLES_LAST;
    c.undercut_last = sample_rolls(cut, t_root, t_last, c.undercut_curve, 0, overflowed);
    for (int k = 0; k <= c.undercut_last; ++k)
        c.undercut_rack[k] = pinion_cutter_place(g, t_root + direction * k * ROLL_STEP).centre;

    // The flank: what the tip cuts up to where the involute takes over, the
    // involute to the tip circle, and what the radial flank cuts beyond its reach.
    int last = sample_rolls(cut, rolls.undercut_start, rolls.undercut_end, tooth.flank, 0, overflowed);
    // The involute's first point is where the cut ends: it takes that place.
    if (rolls.involute_end != rolls.involute_start)
        last =
            sample_rolls(involute, rolls.involute_start, rolls.involute_end, tooth.flank, last, overflowed);
    if (rolls.tip_flank_end != rolls.tip_flank_start) {
        const auto radial = [&g](double t) { return radial_flank_point(g, t); };
        last =
            sample_rolls(radial, rolls.tip_flank_start, rolls.tip_flank_end, tooth.flank, last, overflowed);
    }
    mirror_about_tooth_centre(g, last, tooth.flank, tooth.mirror_flank);
    tooth.flank_last = last;
    tooth.outline_last = assemble_outline(gear, last, tooth.flank, tooth.mirror_flank, tooth.outline);
}
