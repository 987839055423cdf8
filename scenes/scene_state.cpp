// The scene state and the procedures that change it: a new gear, a key, the
// state of a picture or link. Owns scene_mode, the step counters and the line
// width carried from frame to frame; writes the drawing layer's scale factor.
#include "scenes/scenes.hpp"

#include "draw/draw.hpp"
#include "choice/choice.hpp"

#include <algorithm>
#include <cmath>

// ---- Global state ------------------------------------------------------------
SceneMode scene_mode = FIRST_SCENE;  // scene the next frame shows
int addendum_step;                   // scene '1' step
int dedendum_step;                   // scene '2' step
int undercut_step;                   // scene '3' step
int tooth_step;                      // scenes '4' and '5' step
bool info_panel_shown;               // written by take_scene_key
float frame_line_width = 1.0f;       // pixels; written by record_scene_frame and set_scene_state

// Every frame after the first starts at this width: every scene draws a cross.
constexpr float LATER_FRAME_LINE_WIDTH = 2.0f;

void reset_step_counters() {
    tooth_step = 0;
    undercut_step = 0;
    dedendum_step = 0;
    addendum_step = 0;
}

void start_new_gear() {
    scene_mode = FIRST_SCENE;
    reset_step_counters();
    scale_factor = START_SCALE;
}

KeyEffect take_scene_key(unsigned char key) {
    if (key >= FIRST_SCENE && key <= LAST_SCENE) {
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
            scene_mode = LAST_SCENE;
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
    addendum_step = dedendum_step = undercut_step = tooth_step = step;
    scale_factor = zoomed_scale(START_SCALE, zoom);
    frame_line_width = LATER_FRAME_LINE_WIDTH;
}

int shown_step() {
    switch (scene_mode) {
        case '1': return std::max(0, addendum_step - 1);
        case '2': return std::max(0, dedendum_step - 1);
        case '3': return std::max(0, undercut_step - 1);
        case '4':
        case '5':
        case LAST_SCENE: return std::max(0, tooth_step - 1);
        default: return 0;
    }
}

int last_step() {
    switch (scene_mode) {
        case '1': return the_gear.curves.addendum_last;
        case '2': return the_gear.curves.dedendum_last;
        case '3': return the_gear.curves.undercut_last;
        case '4':
        case '5':
        case LAST_SCENE: return STEP_LIMIT;
        default: return 0;
    }
}

int shown_zoom() {
    return static_cast<int>(std::lround(std::log(scale_factor / START_SCALE) / std::log(ZOOM_STEP)));
}
