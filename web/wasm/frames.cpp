// The page's frames in the wasm module: keys through the window's key table,
// the frame of a link, what the page reads back after a frame, where the frame
// record lies and the table of scenes for the page's buttons.
#include "web/wasm/export.hpp"

#include "draw/draw.hpp"
#include "record/record.hpp"
#include "scenes/scenes.hpp"

// The state the last frame was recorded from (written by record_frame, read
// by record_last_frame_whole), so that it can be recorded again.
struct RecordedFrom {
    SceneMode scene;
    int steps[4];  // addendum_step, dedendum_step, undercut_step, tooth_step
    double scale;
    float line_width;
    int width;
    int height;
};
static RecordedFrom recorded_from;

// Records the frame of the scene state as it is now, which it keeps first.
static void record_frame(int width, int height) {
    recorded_from = {scene_mode,   {addendum_step, dedendum_step, undercut_step, tooth_step},
                     scale_factor, frame_line_width,
                     width,        height};
    record_scene_frame(width, height);
}

void record_last_frame_whole() {
    const RecordedFrom& f = recorded_from;
    scene_mode = f.scene;
    addendum_step = f.steps[0];
    dedendum_step = f.steps[1];
    undercut_step = f.steps[2];
    tooth_step = f.steps[3];
    scale_factor = f.scale;
    frame_line_width = f.line_width;
    kept_traces.recorded = false;
    record_scene_frame(f.width, f.height);
}

// A key typed on the canvas, through the window's key table: '1' … the last
// scene restart that scene, 'w'/'W' zoom, 's' continues, 'i' shows or hides
// the data; each draws one frame of width × height pixels into frame_record
// and returns 1. 'm', sent once the page's form has taken a mate, puts scene
// '8' at its start and, as in the window, draws nothing until the next key.
// Other keys ('z', 'x' and Esc are the page's own) change nothing and return 0.
WEB_EXPORT int web_key(int key, int width, int height) {
    if (key < 0 || key > 255) return 0;
    const unsigned char typed = static_cast<unsigned char>(key);
    if (typed == 'z' || typed == 'x' || typed == KEY_ESCAPE) return 0;
    if (take_scene_key(typed) != KEY_DRAW_FRAME) return 0;
    record_frame(width, height);
    return 1;
}

// The frame of a link, as --render draws it; also what the frame benchmark times.
WEB_EXPORT void web_open_frame(int scene, int step, int zoom, int width, int height) {
    set_scene_state(static_cast<SceneMode>('0' + scene), step, zoom);
    record_frame(width, height);
}

// What the page reads back after each frame, to show it in its controls and
// its address: the frame's scene, step and zoom as a link names them, the
// last step its scene can show, and whether it shows the gear's data.
WEB_EXPORT int web_shown_scene() {
    return scene_mode - '0';
}
WEB_EXPORT int web_shown_step() {
    return shown_step();
}
WEB_EXPORT int web_shown_zoom() {
    return shown_zoom();
}
WEB_EXPORT int web_last_step() {
    return last_step();
}
WEB_EXPORT int web_info_shown() {
    return info_panel_shown ? 1 : 0;
}

// The gear's data on the frames or not ('i' as a link's info=1 asks), without
// drawing a frame.
WEB_EXPORT void web_show_info(int shown) {
    if ((shown != 0) != info_panel_shown) take_scene_key('i');
}

// The language of the legends and of the data panel's names on the frames
// from the next on: Japanese (1), which the canvas's font paints, or English
// (0), as the window and the pictures draw them.
WEB_EXPORT void web_set_legend_language(int japanese) {
    legends_in_japanese = japanese != 0;
}

// The zoom of "whole gear in view" for the scene shown.
WEB_EXPORT int web_whole_gear_zoom() {
    return whole_gear_zoom();
}

// Where the frame record lies in the wasm memory; it never moves.
WEB_EXPORT const FrameRecord* web_frame_record() {
    return &frame_record;
}

// ---- the table of scenes -----------------------------------------------------------
// For the page's scene buttons: scene i, 0 … SCENE_COUNT - 1 (web_constant),
// by the character code of its key ('1' is 49; 0 for an i of no scene) and by
// what it shows, in English ("" for an i of no scene).
WEB_EXPORT int web_scene_key(int i) {
    return scene_key(i);
}
WEB_EXPORT const char* web_scene_name(int i) {
    return scene_name(i);
}
