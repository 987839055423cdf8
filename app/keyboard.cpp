// The keyboard callback: every key typed in the window. Owns scene_mode and last_key.
// Built with RACKGEN_PROBE (the test executable rackgen_probe only), it also
// reports the window state on stderr after every key and before every frame.
#include "app/app.hpp"
#include "console/console.hpp"
#include "draw/draw.hpp"
#include "geometry/geometry.hpp"

#include <cstdio>
#include <cstdlib>

// ---- Global state ------------------------------------------------------------
SceneMode scene_mode;  // scene display draws; written by the entry and on_key
char last_key;         // last key typed in the window; written by the entry and on_key, read by the dialogue

constexpr unsigned char KEY_ESCAPE = 27;

static void reset_step_counters() {
    tooth_step = 0;
    undercut_step = 0;
    dedendum_step = 0;
    addendum_step = 0;
}

// Keys are compared by character code: 'Z', 'X' and 'S' are other keys than
// 'z', 'x' and 's' and only replace last_key.
void on_key(unsigned char key, int /*x*/, int /*y*/) {
    last_key = static_cast<char>(key);
    if (key == 'z' || key == 'x') {
        // The dialogue runs here, inside the callback: the window waits, and shows
        // its old frame until the next key or repaint.
        scene_mode = '1';
        reset_step_counters();
        parameter_dialogue();
    } else if (key >= '1' && key <= '7') {
        scene_mode = static_cast<SceneMode>(key);  // a scene key restarts its scene, also the shown one
        reset_step_counters();
        display();
    } else if (key == 'w') {
        scale_factor *= ZOOM_STEP;
        display();
    } else if (key == 'W') {
        scale_factor /= ZOOM_STEP;
        display();
    } else if (key == 's') {
        display();
    } else if (key == KEY_ESCAPE) {
        std::exit(0);
    }
#ifdef RACKGEN_PROBE
    report_probe_state("key");
#endif
}

#ifdef RACKGEN_PROBE
// One line per event, for the end-to-end tests:
//   probe: <event> key=<last_key> scene=<scene_mode> steps=<a>,<d>,<u>,<t> scale=<scale_factor>
// event is "display" (state the frame is drawn from, before the scene advances
// its counter) or "key" (state after on_key has done everything for the key);
// steps are addendum_step, dedendum_step, undercut_step, tooth_step. A key with
// no printable character is written as #<code>.
void report_probe_state(const char* event) {
    unsigned char key = static_cast<unsigned char>(last_key);
    char key_text[8];
    if (key > ' ' && key < 127) {
        std::snprintf(key_text, sizeof key_text, "%c", key);
    } else {
        std::snprintf(key_text, sizeof key_text, "#%d", key);
    }
    std::fprintf(stderr, "probe: %s key=%s scene=%c steps=%d,%d,%d,%d scale=%.17g\n", event, key_text,
                 scene_mode, addendum_step, dedendum_step, undercut_step, tooth_step, scale_factor);
}
#endif
