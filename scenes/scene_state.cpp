// The scene state and the procedures that change it: a new gear, a key, the
// state of a picture or link. Owns scene_mode, the step counters and the line
// width carried from frame to frame; writes the drawing layer's scale factor.
#include "scenes/scene_blocks.hpp"

#include "draw/draw.hpp"
#include "choice/choice.hpp"

#include <algorithm>
#include <cmath>

// ---- Global state ------------------------------------------------------------
SceneMode scene_mode = FIRST_SCENE;  // scene the next frame shows
int addendum_step;                   // scene '1' step
int dedendum_step;                   // scene '2' step
int undercut_step;                   // scene '3' step
int tooth_step;                      // scenes '4', '5' and '8' step
bool info_panel_shown;               // written by take_scene_key
bool legends_in_japanese;            // written by the page and by --render --lang
float frame_line_width = 1.0f;       // pixels; written by record_scene_frame and set_scene_state

// Every frame after the first starts at this width: every scene draws a cross.
constexpr float LATER_FRAME_LINE_WIDTH = 2.0f;

void reset_step_counters() {
    for (const SceneRow& scene : SCENE_TABLE)
        if (scene.step != nullptr) *scene.step = 0;
}

void start_new_gear() {
    scene_mode = FIRST_SCENE;
    reset_step_counters();
    scale_factor = START_SCALE;
}

KeyEffect take_scene_key(unsigned char key) {
    if (scene_index(static_cast<SceneMode>(key)) >= 0) {
        scene_mode = static_cast<SceneMode>(key);  // a scene key restarts its scene, also the shown one
        reset_step_counters();
        return KEY_DRAW_FRAME;
    }
    switch (key) {
        case 'w':
            scale_factor = zoomed_scale(scale_factor, 1);
            return KEY_DRAW_FRAME;
        case 'W':
            scale_factor = zoomed_scale(scale_factor, -1);
            return KEY_DRAW_FRAME;
        case 's':
            return KEY_DRAW_FRAME;
        case 'i':
            info_panel_shown = !info_panel_shown;
            return KEY_DRAW_FRAME;
        case 'z':
            return KEY_NEW_GEAR;
        case 'x':
            return KEY_NEW_SHIFT;
        case 'm':
            scene_mode = MESH_SCENE;
            reset_step_counters();
            return KEY_NEW_MATE;
        case KEY_ESCAPE:
            return KEY_END;
        default:
            return KEY_IGNORED;
    }
}

void set_scene_state(SceneMode scene, int step, int zoom) {
    scene_mode = scene;
    for (const SceneRow& row : SCENE_TABLE)
        if (row.step != nullptr) *row.step = step;
    scale_factor = zoomed_scale(START_SCALE, zoom);
    frame_line_width = LATER_FRAME_LINE_WIDTH;
}

int shown_step() {
    const int i = scene_index(scene_mode);
    if (i < 0 || SCENE_TABLE[i].step == nullptr) return 0;
    return std::max(0, *SCENE_TABLE[i].step - 1);
}

int last_step() {
    const int i = scene_index(scene_mode);
    return i < 0 ? 0 : SCENE_TABLE[i].last_step();
}

int shown_zoom() {
    return static_cast<int>(std::lround(std::log(scale_factor / START_SCALE) / std::log(ZOOM_STEP)));
}

bool pair_data_shown() {
    return mate_chosen() || scene_mode == MESH_SCENE;
}
