// The drawing layer: the scale factor (view units per model unit), the colour
// table, the primitives and the rack-cutter and gear figures, all drawn through
// the record's device (record/device.hpp) into frame_record; no GL here. View
// units span -1 to 1 across the frame; model units are module units.
#pragma once

#include "geometry/geometry.hpp"
#include "record/record.hpp"

// ---- process-wide drawing state ---------------------------------------------
// View units per model unit. Written only by the scene state (scenes/scenes.hpp):
// START_SCALE for a new gear, 'w' multiplies and 'W' divides it by ZOOM_STEP,
// set_scene_state zooms from the start. Read by the primitives, the figures
// and the scenes.
extern double scale_factor;
constexpr double START_SCALE = 0.5;
constexpr double ZOOM_STEP = 0.9;  // 'w' multiplies the scale factor by it, 'W' divides
// The scale after presses of 'w' from scale (presses < 0: -presses of 'W'), one
// factor at a time as the keys apply them, so its bits are those the keys give.
double zoomed_scale(double scale, int presses);

// The colour table (read-only); black, the zero colour, is the current rack's
// and the centre discs'.
extern const Colour red;
extern const Colour green;
extern const Colour blue;
extern const Colour magenta;  // scene 8 marks an interference in it
extern const Colour black;

constexpr int CIRCLE_SEGMENTS = 120;  // vertices of a disc and of a circle outline
// The circle primitives' own π, deliberately not PI: every circle and dash count
// of the pictures was drawn with these 11 digits.
constexpr double CIRCLE_PI = 3.1415926536;
constexpr double PIXELS_PER_VIEW_UNIT = 400.0;
constexpr double POLYLINE_WIDTH = 0.01;  // view units (4 pixels): the width of draw_wide_polyline

// ---- primitives (view units unless the name says scaled) --------------------
// Each leaves out what cannot be seen in the frame being recorded (see
// visibility.hpp) unless the frame was begun to record everything.
// The identity, kept so that each coordinate handed to the device is marked; primitives and figures call it.
double to_screen(double v);
// A solid line (the mesh's line of action).
void draw_line(const ProfilePoint& a, const ProfilePoint& b, const Colour& colour);
void draw_wide_polyline(const ProfilePoint* points, int last, const Colour& colour);
void draw_dash_dot_line(const ProfilePoint& a, const ProfilePoint& b, const Colour& colour);
void draw_dash_dot_line_scaled(double s, const ProfilePoint& a, const ProfilePoint& b, const Colour& colour);
void draw_disc(const ProfilePoint& centre, double radius, const Colour& colour);
void draw_circle(const ProfilePoint& centre, double radius, const Colour& colour);
void draw_dash_dot_circle(const ProfilePoint& centre, double radius, const Colour& colour);
void draw_cross(const ProfilePoint& p, double angle);
void rotate_about(const ProfilePoint& a, const ProfilePoint& b, double angle);
// One legend line (Helvetica 18 px, recorded black) from raster position (x, y).
void draw_text(float x, float y, const char* text);

// ---- figures (model units, scaled by scale_factor) --------------------------
// Each draws from the parameters g of the gear it is handed.
// The cutter that cuts g, rolled through t: four pitches about its reference
// point, turned clockwise by t; mode 1 adds its rolling line.
void draw_rack(const GearParams& g, int mode, const ProfilePoint& reference, double t, const Colour& colour);
// The racks that cut g rolled through the rolls of steps first, first + every,
// … below end (roll_at_step), each as draw_rack draws it at its reference
// point A(t) in mode 0: the trace racks. The pitch is worked out once for
// them all, and racks that cannot be seen are passed over, runs of them
// without working each out.
void draw_rolled_racks(const GearParams& g, double first_roll, double roll_step, int first, int end,
                       int every, const Colour& colour);
// ---- the pinion-type cutter (pinion_cutter.cpp) ------------------------------
// One tooth of the cutter that cuts g as a frame draws it, in the cutter's own
// frame (centre at the origin, tooth 0 centred on +y, model units): the
// geometry's outline (pinion_cutter_tooth) less the points that lie within a
// quarter pixel of the chord that skips them at the frame's scale, and what
// the figure judges copies by. Made once a frame, after begin_record and the
// scale, and handed to every cutter of that frame.
constexpr int CUTTER_TOOTH_CAPACITY = 128;
struct CutterTooth {
    ProfilePoint points[CUTTER_TOOTH_CAPACITY];
    int last;                   // -1: no pinion-type cutter
    ProfilePoint disc_centre;   // a disc that holds the tooth: its centre
    double disc_radius;         // and radius
    double tip_circle;          // no part of the cutter lies farther from its centre
    double rolling_radius;      // its cutting pitch circle, which rolls on the gear's
    double cutting_half_angle;  // a tooth within it of the line of centres reaches into the gear's teeth
};
void make_cutter_tooth(const GearParams& g, CutterTooth& tooth);
// Which of the cutter's teeth a figure shows: all of them, or those that
// reach into the gear's teeth (the rest of a trace cutter cuts nothing, as a
// trace rack is only the pitches in mesh).
enum class CutterTeeth { ALL, CUTTING };
// The cutter that cuts g as it stands at roll t (pinion_cutter_place): copies
// of the tooth about its centre, 2 pixels wide; mode 1 adds its cutting pitch
// circle and the gear's, on which it rolls (dash-dot, blue), and its centre disc. A cutter, a copy or a
// segment that cannot be seen is left out, the cutter after one disc test.
void draw_pinion_cutter(const GearParams& g, const CutterTooth& tooth, int mode, double t, CutterTeeth which,
                        const Colour& colour);

// g's pitch, tip, root and base circles about centre, its centre disc and centre lines.
void draw_gear_circles(const GearParams& g, const ProfilePoint& centre);
// How draw_gear_teeth places the copies of a tooth. Both draw the same teeth;
// they differ in the order of the copies and in the last bits of where they
// fall, and the pictures' bytes follow those of each scene.
enum class TeethPlacement {
    TURN_ABOUT_CENTRE,  // copy k = 0 … z-1 turned by turn + k·2π/z (the mesh)
    PITCH_STEPS,        // copy k = 1 … z turned by turn - k·2π/z, stepping clockwise pitch by pitch
                        // (the whole gear: copy z falls on the outline's own place)
};
// The z teeth of a gear about its centre (model units) from one tooth outline
// points[0 … last], given in the gear's own frame (centre (0, -r)): each copy
// is the outline turned about (0, -r) and moved onto the centre. Copies that
// cannot be seen are left out; nothing for z < 2 or last < 1.
void draw_gear_teeth(TeethPlacement placement, const ProfilePoint& centre, double r, int z, double turn,
                     const ProfilePoint* points, int last, const Colour& colour);
