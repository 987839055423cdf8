// Scene '8': the gear and its mate in mesh at the working centre distance, no
// backlash, the line of centres vertical through the pitch point. Each step
// turns the gear clockwise and the mate with it by the ratio z1/z2; the tooth
// pairs touch on the line of action, between where the tip circles cut it.
// A pinion inside a ring: both centres below the pitch point, both turning
// clockwise, the pinion z_ring/z_pinion times as fast as the ring.
// Advances tooth_step (shared with '4' and '5'); owns the scratch outlines of
// one tooth of each gear as cut.
#include "scenes/scene_blocks.hpp"

#include "draw/visibility.hpp"
#include "gear_data/gear_data.hpp"
#include "record/device.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

// ---- Global state ------------------------------------------------------------
// One tooth of each gear as cut; written and read by draw_mesh_step in one call.
static ProfilePoint gear_tooth_points[POINT_CAPACITY];
static ProfilePoint mate_tooth_points[POINT_CAPACITY];

constexpr double MESH_ROLL_STEP = 0.1;  // model units along the working pitch circles per step
constexpr double MARKER_RADIUS = 0.01;  // view units: not zoomed
constexpr double CONTACT_RADIUS = 0.008;
constexpr float INTERFERENCE_Y = 0.65f;  // view units: under the legend and its cutter line

// Where the pair stands: model units, the pitch point at the origin.
struct MeshLayout {
    double gear_centre;  // y of the gear's centre, -rw1
    double mate_centre;  // y of the mate's centre, +rw2
    double working_angle;
    double gear_turn;  // radians, counter-clockwise, of the gear at this step
    double mate_turn;
    double gear_form_radius;  // where each gear's involute begins
    double mate_form_radius;
    const char* interference;  // which tip digs into which root, or nullptr
    double path_start;         // the path of contact along the line of action, from the pitch point
    double path_end;
    const char* fault;  // why the pair cannot mesh, or nullptr
};

static MeshLayout mesh_layout(int n) {
    const GearData gear = gear_data_in_units(the_gear);
    const GearData mate = gear_data_in_units(the_mate);
    const PairData pair = pair_data(the_gear, the_mate, gear, mate);
    const double z1 = gear.teeth;
    const double z2 = mate.teeth;
    const double rw1 = pair.working_pitch_diameter / 2.0;
    const double rw2 = pair.mate_working_pitch_diameter / 2.0;
    const double turn = n * MESH_ROLL_STEP / rw1;
    return MeshLayout{-rw1,
                      rw2,
                      pair.working_pressure_angle * PI / 180.0,
                      -turn,
                      turn * z1 / z2,
                      gear.form_diameter / 2.0,
                      mate.form_diameter / 2.0,
                      pair.interference ? pair.interference_text : nullptr,
                      pair.path_start,
                      pair.path_end,
                      pair.fault};
}

// The point of the segment a–b where the turned flank crosses it, if it does.
static bool flank_contact(const ProfilePoint* flank, int last, double centre_y, double r, double turn,
                          const ProfilePoint& a, const ProfilePoint& b, ProfilePoint& contact) {
    const double c = std::cos(turn);
    const double sn = std::sin(turn);
    auto placed = [&](const ProfilePoint& p) {  // the frame's (0, -r) onto the centre, turned
        const double y = p.y + r;
        return ProfilePoint{c * p.x - sn * y, sn * p.x + c * y + centre_y};
    };
    ProfilePoint p = placed(flank[0]);
    for (int i = 1; i <= last; ++i) {
        const ProfilePoint q = placed(flank[i]);
        if (segments_cross(p, q, a, b, contact)) return true;
        p = q;
    }
    return false;
}

static ProfilePoint in_view(const ProfilePoint& p) {
    return ProfilePoint{scale_factor * p.x, scale_factor * p.y};
}

// Where the path of contact leaves a form circle, a tip digs into the other
// gear's root: that form circle in magenta, the path's end beyond it marked,
// and the warning under the legend.
static void draw_interference(const MeshLayout& at, const ProfilePoint& a, const ProfilePoint& b) {
    const double s = scale_factor;
    draw_text(-0.9f, INTERFERENCE_Y,
              legends_in_japanese ? interference_in_japanese(at.interference) : at.interference);
    if (std::hypot(a.x, a.y - at.gear_centre) <
        at.gear_form_radius) {  // the mate's tip below the gear's form circle
        draw_circle(ProfilePoint{0.0, s * at.gear_centre}, s * at.gear_form_radius, magenta);
        draw_disc(in_view(a), MARKER_RADIUS, magenta);
    }
    if (std::hypot(b.x, b.y - at.mate_centre) < at.mate_form_radius) {
        draw_circle(ProfilePoint{0.0, s * at.mate_centre}, s * at.mate_form_radius, magenta);
        draw_disc(in_view(b), MARKER_RADIUS, magenta);
    }
}

static void draw_mesh_step(int n) {
    const GearParams& g1 = the_gear.params;
    const GearParams& g2 = the_mate.params;
    const MeshLayout at = mesh_layout(n);
    const double s = scale_factor;
    draw_cross(ORIGIN, 0.0);
    if (at.fault != nullptr) {  // the default mate of a gear shifted far below zero: nothing to place
        char line[128];
        std::snprintf(line, sizeof line,
                      legends_in_japanese ? "相手歯車 z2 = %d とはかみあいません: 別の相手歯車を ('m')"
                                          : "no mesh with the mate z2 = %d: choose another ('m')",
                      g2.z);
        draw_text(-0.9f, INTERFERENCE_Y, line);
        return;
    }
    const ProfilePoint c1 = {0.0, s * at.gear_centre};
    const ProfilePoint c2 = {0.0, s * at.mate_centre};
    draw_dash_dot_circle(c1, -s * at.gear_centre, blue);
    draw_dash_dot_circle(c2, s * at.mate_centre, blue);
    draw_circle(c1, s * g1.base_radius, green);
    draw_circle(c2, s * g2.base_radius, green);
    // Gear: a tooth centred on the line of centres at step 0. Mate: turned over
    // (teeth down) with a space there, half a pitch on.
    const int last1 = tooth_as_cut(the_gear.shifted_tooth, g1.pitch_radius, gear_tooth_points);
    const int last2 = tooth_as_cut(the_mate.shifted_tooth, g2.pitch_radius, mate_tooth_points);
    // An outline's tooth is centred ψ/2 clockwise of +y (ψ: the tooth angle), so a
    // further ψ/2 centres tooth 0 at the gear's turn.
    draw_gear_teeth(TeethPlacement::TURN_ABOUT_CENTRE, ProfilePoint{0.0, at.gear_centre}, g1.pitch_radius,
                    g1.z, at.gear_turn + g1.tooth_angle / 2.0, gear_tooth_points, last1, red);
    draw_gear_teeth(TeethPlacement::TURN_ABOUT_CENTRE, ProfilePoint{0.0, at.mate_centre}, g2.pitch_radius,
                    g2.z, PI + PI / g2.z + at.mate_turn + g2.tooth_angle / 2.0, mate_tooth_points, last2,
                    blue);
    // The line of action: tangent to both base circles through the pitch point,
    // rising to the right at the working pressure angle; the gear's right flanks
    // drive the mate's left ones along it, on the path of contact the pair's data gives
    // (between the cuts of the tip circles reduced for the clearance).
    const ProfilePoint u = {std::cos(at.working_angle), std::sin(at.working_angle)};
    const double t1 = at.gear_centre * u.y;  // the base tangent points, along u from the pitch point
    const double t2 = at.mate_centre * u.y;
    draw_line(in_view(ProfilePoint{t1 * u.x, t1 * u.y}), in_view(ProfilePoint{t2 * u.x, t2 * u.y}), green);
    const ProfilePoint a = {at.path_start * u.x, at.path_start * u.y};
    const ProfilePoint b = {at.path_end * u.x, at.path_end * u.y};
    draw_disc(in_view(a), MARKER_RADIUS, green);
    draw_disc(in_view(b), MARKER_RADIUS, green);
    if (at.interference) draw_interference(at, a, b);
    draw_disc(ORIGIN, MARKER_RADIUS, blue);  // the pitch point
    // Each right flank of the gear that crosses the path of contact touches the mate there.
    for (int k = 0; k < g1.z; ++k) {
        const double turn = at.gear_turn + g1.tooth_angle / 2.0 + k * 2.0 * PI / g1.z;
        if (std::cos(turn) < 0.0) continue;  // the far side of the gear
        ProfilePoint contact;
        if (flank_contact(the_gear.shifted_tooth.mirror_flank, the_gear.shifted_tooth.flank_last,
                          at.gear_centre, g1.pitch_radius, turn, a, b, contact))
            draw_disc(in_view(contact), CONTACT_RADIUS, black);
    }
}

// ---- a pinion inside a ring ---------------------------------------------------

// Where an internal pair stands: model units, the pitch point at the origin and
// both centres below it on the line of centres.
struct InternalLayout {
    const Gear* pinion;
    const Gear* ring;
    bool gear_is_ring;
    double pinion_centre;  // y of the pinion's centre, -rw_pinion
    double ring_centre;    // y of the ring's centre, -rw_ring
    double working_angle;
    double pinion_turn;  // radians, counter-clockwise: both turn clockwise
    double ring_turn;
    double path_start;  // the path of contact along the line of action, from the pitch point
    double path_end;
    double pinion_form_radius;
};

static InternalLayout internal_layout(const PairData& pair, int n) {
    const bool gear_is_ring = the_gear.params.internal;
    const Gear& pinion = gear_is_ring ? the_mate : the_gear;
    const Gear& ring = gear_is_ring ? the_gear : the_mate;
    const double rw_gear = pair.working_pitch_diameter / 2.0;
    const double rw_mate = pair.mate_working_pitch_diameter / 2.0;
    const double rw_pinion = gear_is_ring ? rw_mate : rw_gear;
    const double rw_ring = gear_is_ring ? rw_gear : rw_mate;
    // The working pitch circles roll on each other: the same length along both per step.
    const double ring_turn = -n * MESH_ROLL_STEP / rw_ring;
    const GearData pinion_data = gear_data_in_units(pinion);
    return InternalLayout{&pinion,
                          &ring,
                          gear_is_ring,
                          -rw_pinion,
                          -rw_ring,
                          pair.working_pressure_angle * PI / 180.0,
                          ring_turn * ring.params.z / pinion.params.z,
                          ring_turn,
                          pair.path_start,
                          pair.path_end,
                          pinion_data.form_diameter / 2.0};
}

// A line under the legend from y down, broken at spaces where the frame is
// too narrow for it; the y of the next line.
static float draw_text_lines(float y, const char* text) {
    const double room = 0.95 * device_frame().width;  // pixels from x = -0.9 to the right edge
    char line[256];
    const char* rest = text;
    while (*rest != '\0') {
        int length = static_cast<int>(std::strlen(rest));
        if (length >= static_cast<int>(sizeof line)) length = static_cast<int>(sizeof line) - 1;
        std::memcpy(line, rest, static_cast<size_t>(length));
        line[length] = '\0';
        while (legend_text_pixels(line) > room) {  // back to the last space that fits
            int cut = length - 1;
            while (cut > 0 && line[cut] != ' ') --cut;
            if (cut == 0) break;  // one word wider than the frame: as it is
            length = cut;
            line[length] = '\0';
        }
        draw_text(-0.9f, y, line);
        rest += length;
        while (*rest == ' ') ++rest;
        y -= 0.05f;
    }
    return y;
}

// The internal pair's interferences under the legend, in the data's words
// (the scene's own in Japanese), and the end of the path of contact that lies
// inside the pinion's form circle marked on that circle in magenta.
static void draw_internal_interference(const PairData& pair, const InternalLayout& at,
                                       const ProfilePoint& a) {
    float y = INTERFERENCE_Y;
    char line[GEAR_WARNING_CAPACITY];
    if (pair.interference) {
        const char* text = pair.interference_text;
        if (legends_in_japanese)
            std::snprintf(line, sizeof line, "%s: %s", pair.involute_interference ? "インボリュート干渉" : "トロコイド干渉",
                          interference_in_japanese(text));
        else
            std::snprintf(line, sizeof line, "%s: %s",
                          pair.involute_interference ? "involute interference" : "trochoid interference", text);
        y = draw_text_lines(y, line);
        const double s = scale_factor;
        if (std::hypot(a.x, a.y - at.pinion_centre) < at.pinion_form_radius) {
            draw_circle(ProfilePoint{0.0, s * at.pinion_centre}, s * at.pinion_form_radius, magenta);
            draw_disc(in_view(a), MARKER_RADIUS, magenta);
        }
    }
    if (pair.trimming_interference) {
        std::snprintf(line, sizeof line, "%s: %s", legends_in_japanese ? "トリミング干渉" : "trimming interference",
                      legends_in_japanese ? interference_in_japanese(pair.trimming_text) : pair.trimming_text);
        draw_text_lines(y, line);
    }
}

// The pinion inside the ring: a pinion tooth in a ring space on the line of
// centres at step 0; the gear red, the mate blue, as in the external pair.
static void draw_internal_mesh_step(const PairData& pair, int n) {
    const InternalLayout at = internal_layout(pair, n);
    const GearParams& gp = at.pinion->params;
    const GearParams& gr = at.ring->params;
    const double s = scale_factor;
    const ProfilePoint cp = {0.0, s * at.pinion_centre};
    const ProfilePoint cr = {0.0, s * at.ring_centre};
    draw_dash_dot_circle(cp, -s * at.pinion_centre, blue);
    draw_dash_dot_circle(cr, -s * at.ring_centre, blue);
    draw_circle(cp, s * gp.base_radius, green);
    draw_circle(cr, s * gr.base_radius, green);
    ProfilePoint* pinion_points = at.gear_is_ring ? mate_tooth_points : gear_tooth_points;
    ProfilePoint* ring_points = at.gear_is_ring ? gear_tooth_points : mate_tooth_points;
    const int last_p = tooth_as_cut(at.pinion->shifted_tooth, gp.pitch_radius, pinion_points);
    const int last_r = tooth_as_cut(at.ring->shifted_tooth, gr.pitch_radius, ring_points);
    // A pinion tooth is centred ψ/2 clockwise of +y in its outline, a ring's
    // space its space angle counter-clockwise of it: each turned onto the line.
    draw_gear_teeth(TeethPlacement::TURN_ABOUT_CENTRE, ProfilePoint{0.0, at.pinion_centre}, gp.pitch_radius,
                    gp.z, at.pinion_turn + gp.tooth_angle / 2.0, pinion_points, last_p,
                    at.gear_is_ring ? blue : red);
    draw_gear_teeth(TeethPlacement::TURN_ABOUT_CENTRE, ProfilePoint{0.0, at.ring_centre}, gr.pitch_radius,
                    gr.z, at.ring_turn - gr.space_angle / 2.0, ring_points, last_r,
                    at.gear_is_ring ? red : blue);
    // The line of action: through the pitch point, tangent to both base circles
    // on the same side, rising to the right; the pinion's right flanks drive the
    // ring's along it, from the ring's tip circle (path_start) past the pitch
    // point to the pinion's (path_end). Drawn from the ring's base tangent
    // point, past the pinion's, to the path's end.
    const ProfilePoint u = {std::cos(at.working_angle), std::sin(at.working_angle)};
    const double t_ring = at.ring_centre * u.y;
    const ProfilePoint a = {at.path_start * u.x, at.path_start * u.y};
    const ProfilePoint b = {at.path_end * u.x, at.path_end * u.y};
    draw_line(in_view(ProfilePoint{t_ring * u.x, t_ring * u.y}), in_view(b), green);
    draw_disc(in_view(a), MARKER_RADIUS, green);
    draw_disc(in_view(b), MARKER_RADIUS, green);
    draw_internal_interference(pair, at, a);
    draw_disc(ORIGIN, MARKER_RADIUS, blue);  // the pitch point
    for (int k = 0; k < gp.z; ++k) {
        const double turn = at.pinion_turn + gp.tooth_angle / 2.0 + k * 2.0 * PI / gp.z;
        if (std::cos(turn) < 0.0) continue;  // the far side of the pinion
        ProfilePoint contact;
        if (flank_contact(at.pinion->shifted_tooth.mirror_flank, at.pinion->shifted_tooth.flank_last,
                          at.pinion_centre, gp.pitch_radius, turn, a, b, contact))
            draw_disc(in_view(contact), CONTACT_RADIUS, black);
    }
}

// A ring whose mate cannot turn inside it (the default mate, twice its
// teeth): the ring alone in the gear's red, a space on the line of centres,
// its pitch and base circles, and what to do.
static void draw_ring_without_pinion() {
    const GearParams& g = the_gear.params;
    const double s = scale_factor;
    const ProfilePoint c = {0.0, -s * g.pitch_radius};
    draw_cross(ORIGIN, 0.0);
    draw_dash_dot_circle(c, s * g.pitch_radius, blue);
    draw_circle(c, s * g.base_radius, green);
    const int last = tooth_as_cut(the_gear.shifted_tooth, g.pitch_radius, gear_tooth_points);
    draw_gear_teeth(TeethPlacement::TURN_ABOUT_CENTRE, ProfilePoint{0.0, -g.pitch_radius}, g.pitch_radius,
                    g.z, -g.space_angle / 2.0, gear_tooth_points, last, red);
    char line[160];
    std::snprintf(line, sizeof line,
                  legends_in_japanese
                      ? "相手歯車 z2 = %d は内歯車の内側でかみあいません: 歯数の少ない相手歯車を ('m')"
                      : "the mate z2 = %d cannot turn inside the ring: choose one of fewer teeth ('m')",
                  the_mate.params.z);
    draw_text_lines(INTERFERENCE_Y, line);
}

void scene_gears_in_mesh() {
    if (the_gear.params.internal || the_mate.params.internal) {
        const PairData pair =
            pair_data(the_gear, the_mate, gear_data_in_units(the_gear), gear_data_in_units(the_mate));
        if (pair.fault == nullptr) {
            draw_cross(ORIGIN, 0.0);
            draw_internal_mesh_step(pair, tooth_step);
        } else if (the_gear.params.internal) {
            draw_ring_without_pinion();
        } else {  // a chosen pair that cannot mesh is refused before it is taken
            draw_mesh_step(tooth_step);
        }
    } else {
        draw_mesh_step(tooth_step);
    }
    tooth_step = tooth_step + 1;
}
