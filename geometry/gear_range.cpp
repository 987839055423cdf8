// The accepted range of gears: which z and x the rack generation can turn into
// a sound tooth, and why the others are refused. The dialogue asks here before
// it computes anything. Owns only the scratch copies of the model state that a
// trial computation needs.
#include "geometry/geometry.hpp"

#include <cmath>
#include <cstdio>

// A trial computation runs on the real procedures, so the state they write is
// saved here first and put back afterwards; the caller sees nothing change.
static GearParams saved_params;
static GenerationCurves saved_curves;
static ToothProfile trial_tooth;
static char reason[200];  // the refusal text handed back; valid until the next call

// Radii are compared with this slack: a point computed on a circle lands on
// it only to rounding.
constexpr double RADIUS_SLACK = 1e-9;

// Runs the computation for (z, x) and says what is wrong with the tooth it
// gives, or nullptr when it is sound.
static const char* trial_tooth_fault(int z, double x) {
    gear_params.z = z;
    compute_gear_params();
    ProfileLasts lasts{};
    compute_tooth_profile(x, trial_tooth.flank, trial_tooth.mirror_flank, trial_tooth.outline, lasts);
    const GearParams& g = gear_params;
    const GenerationCurves& c = generation_curves;

    if (profile_overflowed) return "its tooth profile needs more than 601 points in one list";
    double tip_end = polar_radius(c.involute_curve[c.involute_last]);
    if (std::fabs(tip_end - g.tip_radius) > RADIUS_SLACK) return "its involute does not reach the tip circle";
    for (int i = 0; i <= lasts.flank_last; ++i) {
        double rho = polar_radius(trial_tooth.flank[i]);
        if (!(rho >= g.root_radius - RADIUS_SLACK && rho <= g.tip_radius + RADIUS_SLACK))
            return "its flank leaves the band between root and tip circle";
    }
    if (g.tooth_angle - 2.0 * polar_angle(trial_tooth.flank[lasts.flank_last]) < 0.0)
        return "its tooth comes to a point below the tip circle";
    return nullptr;
}

static const char* run_trial(int z, double x) {
    saved_params = gear_params;
    saved_curves = generation_curves;
    int steps[3] = {addendum_step, dedendum_step, undercut_step};
    bool overflowed = profile_overflowed;

    const char* fault = trial_tooth_fault(z, x);

    gear_params = saved_params;
    generation_curves = saved_curves;
    addendum_step = steps[0];
    dedendum_step = steps[1];
    undercut_step = steps[2];
    profile_overflowed = overflowed;
    return fault;
}

const char* gear_refusal(int z, double x) {
    if (z < Z_MIN || z > Z_MAX) {
        std::snprintf(reason, sizeof reason, "the number of teeth must be a whole number from %d to %d",
                      Z_MIN, Z_MAX);
        return reason;
    }
    // Addendum 1 + x, dedendum 1.25 - x and root radius z/2 - 1.25 + x must all
    // be positive: the cutter's tip line must lie below its rolling line and
    // above the gear centre.
    double x_min = 1.25 - z / 2.0;
    if (x_min < -1.0) x_min = -1.0;
    const double x_max = 1.25;
    if (!(x > x_min && x < x_max)) {  // also refuses NaN
        std::snprintf(reason, sizeof reason,
                      "with z = %d the shift coefficient must be greater than %g and less than %g "
                      "(addendum 1+x, dedendum 1.25-x and root radius z/2-1.25+x must be positive)",
                      z, x_min, x_max);
        return reason;
    }
    const char* fault = run_trial(z, x);
    if (fault) {
        std::snprintf(reason, sizeof reason, "z = %d with x = %g cannot be generated: %s", z, x, fault);
        return reason;
    }
    return nullptr;
}
