// Scenes '6' and '7': the finished teeth of the standard gear (blue) and of the
// shifted gear (red) laid over each other about one centre. Still pictures:
// they read the two tooth profiles and the scale factor and own no state.
#include "scenes/scene_blocks.hpp"

// The gear centre (0, -r) in view units.
static ProfilePoint gear_centre_in_view() {
    return ProfilePoint{0.0, -scale_factor * gear_params.pitch_radius};
}

static const char* const ONE_TOOTH_LEGEND[] = {
    "(6) display one gear tooth",      "     blue : pitch circle",       "     green: base circle",
    "     blue tooth : standard gear", "     red tooth  : shifted gear",
};

// One tooth of each gear, by its two flanks, with the tip and root circles of
// both. The standard gear's circles are the shifted gear's less the shift (the
// shift is x module units, and the module is 1); pitch and base circle are shared.
void scene_one_tooth() {
    const double s = scale_factor;
    const ProfilePoint g = gear_centre_in_view();
    draw_legend(ONE_TOOTH_LEGEND, 5);
    draw_cross(g, 0.0);
    draw_dash_dot_circle(g, s * gear_params.pitch_radius, blue);
    draw_circle(g, s * gear_params.tip_radius, red);
    draw_circle(g, s * gear_params.root_radius, red);
    draw_circle(g, (gear_params.tip_radius - gear_params.x) * s, blue);
    draw_circle(g, (gear_params.root_radius - gear_params.x) * s, blue);
    draw_circle(g, s * gear_params.base_radius, green);
    draw_disc(g, 0.1 * s, black);  // 0.1 model units: grows with the zoom
    draw_wide_polyline(standard_tooth.flank, standard_tooth.flank_last, blue);
    draw_wide_polyline(standard_tooth.mirror_flank, standard_tooth.flank_last, blue);
    draw_wide_polyline(shifted_tooth.flank, shifted_tooth.flank_last, red);
    draw_wide_polyline(shifted_tooth.mirror_flank, shifted_tooth.flank_last, red);
}

static const char* const WHOLE_GEAR_LEGEND[] = {
    "(7) display whole gear teeth",    "    blue curve:standard gear",   "    red curve :shifted gear",
    "    blue  circle : pitch circle", "    green circle : base circle",
};

// Every tooth of both gears: each outline is one angular pitch, and z copies
// of it round the centre close up into the whole gear. The standard gear is
// drawn last, over the shifted one.
void scene_whole_gear() {
    const double s = scale_factor;
    const ProfilePoint g = gear_centre_in_view();
    const ProfilePoint no_offset = {0.0, 0.0};
    draw_legend(WHOLE_GEAR_LEGEND, 5);
    draw_cross(g, 0.0);
    draw_dash_dot_circle(g, s * gear_params.pitch_radius, blue);
    draw_circle(g, s * gear_params.base_radius, green);
    draw_disc(g, 0.1 * s, black);
    draw_gear_teeth(s, gear_params.z, no_offset, shifted_tooth.outline_last, shifted_tooth.outline, red);
    draw_gear_teeth(s, gear_params.z, no_offset, standard_tooth.outline_last, standard_tooth.outline, blue);
}
