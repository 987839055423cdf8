// What a front end writes as the gear's outline file: the gear alone, or the
// pair in mesh, at the module the user gave (a helical gear's normal module:
// its transverse section is written, in transverse modules of m_n/cos β).
#include "outline/outline.hpp"

#include <cmath>
#include <cstdio>

// A thinned gear's outline says how it was cut: at the middle of its
// thickness limits, the cutter fed in by |feed|·m.
static void note_thinning(const Gear& gear, double module, GearOutline& outline) {
    const GearParams& g = gear.params;
    if (g.feed == 0.0) return;
    const double allowance = 2.0 * g.feed * module * std::tan(g.normal_alpha) * (g.internal ? -1.0 : 1.0);
    char text[160];
    std::snprintf(text, sizeof text,
                  "%s z = %d cut to the middle of its tooth thickness limits: allowance %.4f mm, the cutter fed "
                  "in by %.4f mm",
                  g.internal ? "ring" : "gear", g.z, allowance, std::fabs(g.feed) * module);
    outline.note = text;
}

int build_written_outlines(const Gear& gear, const Gear* mate, double x_s, double module, double tolerance,
                           double rim_diameter, GearOutline* outlines) {
    const double unit = transverse_module(gear.params.cutter, module);
    if (mate != nullptr) {
        const PairData pair =
            pair_data(gear, *mate, gear_data(gear, module, 0.0), gear_data(*mate, module, 0.0));
        build_pair_outlines(gear, *mate, pair_place(pair, unit), unit, tolerance, rim_diameter, outlines);
        note_thinning(gear, module, outlines[0]);
        note_thinning(*mate, module, outlines[1]);
        return 2;
    }
    outlines[0] = gear.params.internal ? build_ring_outline(gear, x_s, unit, tolerance, rim_diameter)
                                       : build_gear_outline(gear, x_s, unit, tolerance);
    if (x_s == gear.params.x) note_thinning(gear, module, outlines[0]);
    return 1;
}
