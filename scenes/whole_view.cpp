// How far to zoom out (or in) for the whole gear: the zoom at which the gear
// cut in the scene shown, centred below the pitch point as every scene places
// it, or in scene '8' the gear and its mate on their line of centres, just
// fits the view. No state of its own; reads the gear and the scene state.
#include "scenes/scenes.hpp"

#include "choice/choice.hpp"
#include "draw/draw.hpp"
#include "gear_data/gear_data.hpp"

#include <algorithm>

// The view's half-height the whole gear may take: a little room at the edges.
constexpr double WHOLE_GEAR_MARGIN = 0.95;

// The farthest the picture reaches from the pitch point, model units: down to
// the bottom of the gear's tip circle (a ring's root circle), or in scene '8'
// also up to the top of the mate's (a pinion inside a ring: down to the
// bottom of the ring's root circle). The width never matters more: a tip circle is narrower than
// the distance from the pitch point to its far side.
static double reach_from_pitch_point() {
    const GearData gear = gear_data_in_units(the_gear);
    // A ring's root circle lies outside its tip circle.
    const double alone = gear.internal ? (gear.pitch_diameter + gear.root_diameter) / 2.0
                                       : gear.pitch_diameter / 2.0 + gear.tip_diameter / 2.0;
    if (scene_mode != MESH_SCENE) return alone;
    const GearData mate = gear_data_in_units(the_mate);
    const PairData pair = pair_data(the_gear, the_mate, gear, mate);
    if (pair.fault != nullptr) return alone;
    // A pinion inside a ring: the ring's centre its working pitch radius below the pitch point.
    if (pair.internal)
        return gear.internal ? (pair.working_pitch_diameter + gear.root_diameter) / 2.0
                             : (pair.mate_working_pitch_diameter + mate.root_diameter) / 2.0;
    return std::max(pair.working_pitch_diameter + gear.tip_diameter,
                    pair.mate_working_pitch_diameter + mate.tip_diameter) /
           2.0;
}

int whole_gear_zoom() {
    const double largest_scale = WHOLE_GEAR_MARGIN / reach_from_pitch_point();
    // The fewest presses of 'w' (or the most of 'W') that bring the scale to it.
    int zoom = -ZOOM_LIMIT;
    while (zoom < ZOOM_LIMIT && zoomed_scale(START_SCALE, zoom) > largest_scale) ++zoom;
    return zoom;
}
