// The gear's parameter block and the profile store: the model state every other
// part of rackgen reads. Owns gear_params, generation_curves and both teeth.
#include "geometry/geometry_private.hpp"

#include <cmath>

// ---- Global state ------------------------------------------------------------
GearParams gear_params;              // written by compute_gear_params / compute_tooth_profile
GenerationCurves generation_curves;  // written by compute_tooth_profile; read by the scenes
ToothProfile standard_tooth;         // written by the dialogue's first computation
ToothProfile shifted_tooth;          // written by the dialogue's second computation
bool profile_overflowed;             // a list of the last computation did not fit

// The pressure-angle constants and the rack cutter's land widths: the cutter's
// tooth and space are each half a pitch (π/2) wide on the rolling line, and
// narrow towards its tip and root by the flank runs.
void compute_gear_params() {
    GearParams& g = gear_params;
    g.alpha = PI / 9.0;
    g.tan_alpha = std::tan(g.alpha);
    g.cos_alpha = std::cos(g.alpha);
    g.addendum_coefficient = 1.0;
    g.dedendum_coefficient = 1.25;
    g.rack_root_land = PI / 2.0 - 2.0 * g.addendum_coefficient * g.tan_alpha;
    g.rack_tip_land = PI / 2.0 - 2.0 * g.dedendum_coefficient * g.tan_alpha;
}

double polar_radius(const ProfilePoint& p) {
    double r = gear_params.pitch_radius;
    return std::sqrt(p.x * p.x + (p.y + r) * (p.y + r));
}

// atan2(x, y + r): the angle at the gear centre from +y towards +x.
double polar_angle(const ProfilePoint& p, double r) {
    return std::atan2(p.x, p.y + r);
}

double polar_angle(const ProfilePoint& p) {
    return polar_angle(p, gear_params.pitch_radius);
}
