// The chosen gear's data as every front end shows it. No state of its own.
#include "choice/choice.hpp"

ChosenData chosen_data(double module, double pin_diameter, bool with_pair) {
    const GearChoice& c = gear_choice;
    ChosenData d = {gear_data(the_gear, module, pin_diameter, c.face_width), with_pair, {}, {}};
    if (c.allowance_given) set_allowance(d.gear, c.allowance[0], c.allowance[1]);
    if (!with_pair) return d;
    d.mate = gear_data(the_mate, module, pin_diameter, c.face_width);
    if (c.mate_allowance_given) set_allowance(d.mate, c.mate_allowance[0], c.mate_allowance[1]);
    d.pair = pair_data(the_gear, the_mate, d.gear, d.mate);
    if (c.allowance_given || c.mate_allowance_given || c.centre_distance > 0.0 ||
        c.centre_distance_tolerance > 0.0)
        pair_backlash(d.pair, d.gear, d.mate, c.centre_distance * module / c.module,
                      c.centre_distance_tolerance * module / c.module);
    return d;
}
