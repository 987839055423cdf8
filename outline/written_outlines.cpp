// What a front end writes as the gear's outline file: the gear alone, or the
// pair in mesh, at the module the user gave (a helical gear's normal module:
// its transverse section is written, in transverse modules of m_n/cos β).
#include "outline/outline.hpp"

int build_written_outlines(const Gear& gear, const Gear* mate, double x_s, double module, double tolerance,
                           double rim_diameter, GearOutline* outlines) {
    const double unit = transverse_module(gear.params.cutter, module);
    if (mate != nullptr) {
        const PairData pair =
            pair_data(gear, *mate, gear_data(gear, module, 0.0), gear_data(*mate, module, 0.0));
        build_pair_outlines(gear, *mate, pair_place(pair, unit), unit, tolerance, rim_diameter, outlines);
        return 2;
    }
    outlines[0] = gear.params.internal ? build_ring_outline(gear, x_s, unit, tolerance, rim_diameter)
                                       : build_gear_outline(gear, x_s, unit, tolerance);
    return 1;
}
