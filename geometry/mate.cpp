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
static GearParams gear_params_kept;        // the gear's state while the mate is computed
static GenerationCurves gear_curves_kept;  // (compute_mate's own scratch)

int mate_teeth_in_use() {
    if (mate_teeth > 0) return mate_teeth;
    const int twice = 2 * gear_params.z;
    return twice < DEFAULT_MATE_TEETH_MAX ? twice : DEFAULT_MATE_TEETH_MAX;
}

double mate_shift_in_use() {
    return mate_teeth > 0 ? mate_shift : 0.0;
}

void compute_mate() {
    gear_params_kept = gear_params;
    gear_curves_kept = generation_curves;
    const bool overflowed = profile_overflowed;
    gear_params.z = mate_teeth_in_use();
    gear_params.x = mate_shift_in_use();
    compute_tooth(gear_params.x, mate_tooth);
    mate_params = gear_params;
    gear_params = gear_params_kept;
    generation_curves = gear_curves_kept;
    profile_overflowed = overflowed;
}
