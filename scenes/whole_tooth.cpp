// Scenes '4' and '5': the cutter cuts the whole tooth space; every earlier
// cutter stays on the picture and their envelope outlines the teeth. '4' rolls
// the rack, or a pinion-type cutter, round the fixed gear; '5' turns the gear
// against a sliding rack, or against a cutter turning in place.
// Advances tooth_step, which the two scenes share with the mesh; no clamp, no
// stored points.
#include "scenes/scene_blocks.hpp"

#include "record/device.hpp"

#include <cmath>

// Step 0 has the rack touching the pitch circle at its rightmost point (a
// pinion cutter stands there too, off by its roll offset); each step rolls it
// 0.02 rad counter-clockwise round the gear, over the top and on.
static const double FIRST_ROLL = PI / 2.0;
constexpr double TOOTH_ROLL_STEP = -0.02;
constexpr double MARKER_RADIUS = 0.01;  // view units: not zoomed

static void draw_rack_rolling_step(int n) {
    double t = roll_at_step(FIRST_ROLL, TOOTH_ROLL_STEP, n);
    begin_cutter_frame();
    draw_cross(ORIGIN, 0.0);
    draw_gear_circles(the_gear.params, ProfilePoint{0.0, -the_gear.params.pitch_radius});
    draw_disc(rolling_point_at(t), MARKER_RADIUS, blue);
    draw_cutter_rolled(1, t, black);
    draw_trace_cutters(FIRST_ROLL, TOOTH_ROLL_STEP, n, 1, ITEM_LAYER_TRACE);
}

void scene_rack_rolling() {
    draw_rack_rolling_step(tooth_step);
    tooth_step = tooth_step + 1;
}

// The gear's circles turned counter-clockwise by t about its centre; the matrix
// is put back afterwards.
static void draw_turned_gear_circles(double t) {
    double sr = scale_factor * the_gear.params.pitch_radius;
    device_push_matrix();
    device_translate(0.0, -sr);
    device_rotate(t);
    draw_gear_circles(the_gear.params, ORIGIN);
    device_pop_matrix();
}

// Scene '4' seen from the gear: the whole frame is turned back by t about the
// gear centre, so the current rack stands level on the horizontal through the
// pitch point (a pinion cutter turns in place, its centre still) and the
// traces turn with the gear. The turn stays on the matrix until the next frame
// loads the identity.
static void draw_meshing_step(int n) {
    double t = roll_at_step(FIRST_ROLL, TOOTH_ROLL_STEP, n);
    double sr = scale_factor * the_gear.params.pitch_radius;
    const bool pinion = pinion_type(the_gear.params.cutter);
    begin_cutter_frame();
    draw_cross(ORIGIN, 0.0);
    if (!pinion) draw_disc(ORIGIN, MARKER_RADIUS, blue);  // the pitch point, where the rack rolls
    draw_turned_gear_circles(t);
    // The pitch circle's point that stood on the pitch point at step 0, turning with the gear.
    draw_disc(ProfilePoint{sr * std::cos(t), sr * (std::sin(t) - 1.0)}, MARKER_RADIUS, blue);
    rotate_about(ORIGIN, ProfilePoint{0.0, -sr}, t);
    if (pinion) draw_disc(rolling_point_at(t), MARKER_RADIUS, blue);  // where the cutting pitch circles touch
    draw_cutter_rolled(1, t, black);
    draw_trace_cutters(FIRST_ROLL, TOOTH_ROLL_STEP, n, 1, ITEM_LAYER_TRACE);
}

void scene_rack_gear_meshing() {
    draw_meshing_step(tooth_step);
    tooth_step = tooth_step + 1;
}
