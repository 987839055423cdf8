// The table of scenes and the scene blocks, for the files of scenes/:
// record_scene_frame runs one block per frame, after the scene's legend. Each
// block draws the rest of the frame of its scene; the animated ones then
// advance their step counter by one.
#pragma once

#include "choice/choice.hpp"
#include "draw/draw.hpp"
#include "scenes/scenes.hpp"

// One scene: what the dispatch and the scene state read, and what the
// procedures of the table in scenes.hpp hand the front ends.
struct SceneRow {
    SceneMode key;                 // the key that shows it, the character of its number
    const char* name;              // what it shows, in English
    const char* const* legend;     // its own legend lines, drawn before its block
    const char* const* legend_ja;  // the same lines in Japanese (UTF-8), for a page that asks for them
    int legend_lines;
    // The legend instead for a ring, where the scene shows something else for
    // one: '8' for a pair with a ring, the gear or its mate (nullptr: the same legend).
    const char* const* ring_legend;
    const char* const* ring_legend_ja;
    int ring_legend_lines;
    int* step;           // the step counter it draws from and advances; nullptr: a still picture
    int (*last_step)();  // the last step it can show
    void (*block)();     // draws the frame below its legend
};
// Scene i at index i. Constant; read by frame_scene.cpp, scene_state.cpp and
// the procedures of the table in scenes.hpp.
extern const SceneRow SCENE_TABLE[SCENE_COUNT];

void scene_addendum_involute();  // '1'
void scene_dedendum_involute();  // '2'
void scene_undercut_curve();     // '3'
void scene_rack_rolling();       // '4'
void scene_rack_gear_meshing();  // '5'
void scene_one_tooth();          // '6'
void scene_whole_gear();         // '7'
void scene_gears_in_mesh();      // '8'
// The gear's data over any scene, while info_panel_shown: drawn after the
// scene's block on an opaque box in the panel layer, in the corner the scene
// leaves emptiest and never over the legend, with as many rows as fit.
void draw_info_panel();
// The pixels a legend or panel line takes across in Helvetica 18 in any of
// the painters (no less than the widest of their fonts).
double legend_text_pixels(const char* text);

// ---- shared by the scene files (generation.cpp) -----------------------------
constexpr ProfilePoint ORIGIN = {0.0, 0.0};  // the pitch point, in model and view units alike
constexpr int LEGEND_LINES_MAX = 6;          // a scene's own lines and the cutter's

// Legend line k (1 to count) in Helvetica 18 at (-0.9, 0.95 - 0.05·(k - 1)),
// view units, so the legend neither moves nor grows with the zoom; then, for a
// gear cut by another cutter than the specified one, a line that names it:
// "cutter: 25 deg, ha 1, hf 1.25, tip radius 0.38", or "pinion cutter: 25
// teeth, x 0.2" (and its profile, when it is not the specified one). A gear
// cut by a pinion-type cutter reads "cutter" for the scene's "rack", a ring
// "internal gear" for its "gear". ASCII, "deg" for the degree sign: the window
// paints a legend byte by byte as ASCII glyphs, Cairo and the canvas read it
// as UTF-8, and only ASCII is the same text to all (the Japanese lines are for
// the page and the pictures).
void draw_legend(const char* const* lines, int count);

// The cutter of the_gear as the scenes '1' to '5' draw it, the rack or a
// pinion-type cutter, each standing where it stands at roll t:
// Makes this frame's tooth of a pinion-type cutter (nothing for the rack); the
// first thing each frame of those scenes does.
void begin_cutter_frame();
// The cutter after rolling through t: the rack (draw_rack at its reference
// point A(t), turned by t), or the pinion-type cutter with all its teeth. Mode
// 1 adds the rack's rolling line, or the pinion cutter's cutting pitch circle
// and centre.
void draw_cutter_rolled(int mode, double t, const Colour& colour);
// Where the cutter's reference stands at roll t (view units): the rack's
// reference point A(t), or the pinion cutter's centre.
ProfilePoint cutter_reference_at(double t);
// The point of rolling at roll t (view units): for the rack K(t) = s·r·(sin t,
// cos t - 1), where its rolling line touches the pitch circle; for a pinion
// cutter where the two cutting pitch circles touch (cutting_pitch_point).
ProfilePoint rolling_point_at(double t);
// The green trace cutters of the steps 0, every, 2·every, … below step n, in
// the given layer of the record (ITEM_LAYER_TRACE where they are drawn last):
// the rack's four pitches, or the pinion cutter's teeth that cut.
void draw_trace_cutters(double first_roll, double roll_step, int n, int every, int layer);
