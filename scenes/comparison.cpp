// Scenes '6' and '7': the finished teeth of the standard gear (blue) and of the
// shifted gear (red) laid over each other about one centre; a ring's point to
// its centre. Still pictures:
// they read the two tooth profiles and the scale factor. Own the scratch copy
// of a tooth as cut.
#include "scenes/scene_blocks.hpp"

// ---- Global state ------------------------------------------------------------
// One tooth as cut (a pointed tooth ends where its flanks meet); written and
// read by draw_flanks_as_cut and draw_whole_gear_as_cut in the same call.
static ProfilePoint tooth_points[POINT_CAPACITY];

// The gear centre (0, -r) in view units.
static ProfilePoint gear_centre_in_view() {
    return ProfilePoint{0.0, -scale_factor * the_gear.params.pitch_radius};
}

// The two flanks of a tooth, each up to where they meet if the tooth is pointed.
static void draw_flanks_as_cut(const ToothProfile& tooth, const Colour& colour) {
    ProfilePoint meeting;
    const int i = flank_until_meeting(tooth, the_gear.params.pitch_radius, meeting);
    if (i == tooth.flank_last) {
        draw_wide_polyline(tooth.flank, tooth.flank_last, colour);
        draw_wide_polyline(tooth.mirror_flank, tooth.flank_last, colour);
        return;
    }
    const ProfilePoint* const flanks[] = {tooth.flank, tooth.mirror_flank};
    for (const ProfilePoint* flank : flanks) {
        for (int k = 0; k <= i; ++k) tooth_points[k] = flank[k];
        tooth_points[i + 1] = meeting;
        draw_wide_polyline(tooth_points, i + 1, colour);
    }
}

// The z copies of one tooth as cut round the gear centre.
static void draw_whole_gear_as_cut(const ToothProfile& tooth, const Colour& colour) {
    const int last = tooth_as_cut(tooth, the_gear.params.pitch_radius, tooth_points);
    const double r = the_gear.params.pitch_radius;
    draw_gear_teeth(TeethPlacement::PITCH_STEPS, ProfilePoint{0.0, -r}, r, the_gear.params.z, 0.0,
                    tooth_points, last, colour);
}

// The standard gear's tip and root radii, model units. Cut by the rack they
// are the shifted gear's less the shift (the shift is x module units, and the
// module is 1); a pinion-type cutter cuts the standard gear at a centre
// distance of its own, and a ring's tip lies the shift the other way.
static void standard_radii(double& tip, double& root) {
    const GearParams& g = the_gear.params;
    if (!pinion_type(g.cutter)) {
        tip = g.tip_radius - g.x;
        root = g.root_radius - g.x;
        return;
    }
    GearParams standard = g;
    set_shift_params(standard, 0.0);
    tip = standard.tip_radius;
    root = standard.root_radius;
}

// One tooth of each gear by its two flanks, over the tip and root circles of
// both. Pitch and base circle are shared.
void scene_one_tooth() {
    const double s = scale_factor;
    const ProfilePoint g = gear_centre_in_view();
    double standard_tip;
    double standard_root;
    standard_radii(standard_tip, standard_root);
    draw_cross(g, 0.0);
    draw_dash_dot_circle(g, s * the_gear.params.pitch_radius, blue);
    draw_circle(g, s * the_gear.params.tip_radius, red);
    draw_circle(g, s * the_gear.params.root_radius, red);
    draw_circle(g, standard_tip * s, blue);
    draw_circle(g, standard_root * s, blue);
    draw_circle(g, s * the_gear.params.base_radius, green);
    draw_disc(g, 0.1 * s, black);  // 0.1 model units: grows with the zoom
    draw_flanks_as_cut(the_gear.standard_tooth, blue);
    draw_flanks_as_cut(the_gear.shifted_tooth, red);
}

// Every tooth of both gears as cut: each outline is one angular pitch, and z copies
// of it round the centre close up into the whole gear. The standard gear is
// drawn last, over the shifted one.
void scene_whole_gear() {
    const double s = scale_factor;
    const ProfilePoint g = gear_centre_in_view();
    draw_cross(g, 0.0);
    draw_dash_dot_circle(g, s * the_gear.params.pitch_radius, blue);
    draw_circle(g, s * the_gear.params.base_radius, green);
    draw_disc(g, 0.1 * s, black);
    draw_whole_gear_as_cut(the_gear.shifted_tooth, red);
    draw_whole_gear_as_cut(the_gear.standard_tooth, blue);
}
