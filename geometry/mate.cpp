// The mate: a second gear, cut by the same cutter, that meshes with the gear
// computed last. Its tooth and parameters are computed on the same procedures
// as the gear's, with the gear's own state put back afterwards, so everything
// else keeps describing the gear. Owns the mate's state.
#include "geometry/geometry_private.hpp"

// ---- Global state ------------------------------------------------------------
int mate_teeth;           // 0: the default mate; written by the front ends, read by compute_mate
double mate_shift;        // the chosen mate's shift; written with mate_teeth
GearParams mate_params;   // the mate's parameters, as gear_params would hold them; written by compute_mate
ToothProfile mate_tooth;  // the mate's tooth as cut; written by compute_mate

int mate_teeth_in_use() {
    if (mate_teeth > 0) return mate_teeth;
    const int twice = 2 * gear_params.z;
    return twice < DEFAULT_MATE_TEETH_MAX ? twice : DEFAULT_MATE_TEETH_MAX;
}

double mate_shift_in_use() {
    return mate_teeth > 0 ? mate_shift : 0.0;
}

static bool same_cutter(const Cutter& a, const Cutter& b) {
    return a.pressure_angle == b.pressure_angle && a.addendum == b.addendum && a.dedendum == b.dedendum &&
           a.tip_radius == b.tip_radius;
}

// The mate's tooth depends on its z and x and the cutter alone: a mate already
// computed for them (mate_params says which) is not computed again, so scene
// '8' and the data panel can ask every frame.
void compute_mate() {
    const int z = mate_teeth_in_use();
    const double x = mate_shift_in_use();
    if (mate_params.z == z && mate_params.x == x && same_cutter(mate_params.cutter, gear_params.cutter))
        return;
    keep_gear_state();
    gear_params.z = z;
    gear_params.x = x;
    compute_tooth(x, mate_tooth);
    mate_params = gear_params;
    restore_gear_state();
}
