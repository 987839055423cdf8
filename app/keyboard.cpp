// The keyboard callback: every key typed in the window. Owns scene_mode,
// last_key and the window state observer.
#include "app/app.hpp"
#include "console/console.hpp"
#include "draw/draw.hpp"
#include "geometry/geometry.hpp"

#include <cstdlib>

// ---- Global state ------------------------------------------------------------
SceneMode scene_mode;  // scene display draws; written by the entry and on_key
char last_key;         // last key typed in the window; written by the entry and on_key, read by the dialogue
// Empty in rackgen; a test build sets it before the event loop.
void (*window_state_observer)(const char* event);

constexpr unsigned char KEY_ESCAPE = 27;

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
        scale_factor = zoomed_scale(scale_factor, 1);
        display();
    } else if (key == 'W') {
        scale_factor = zoomed_scale(scale_factor, -1);
        display();
    } else if (key == 's') {
        display();
    } else if (key == KEY_ESCAPE) {
        std::exit(0);
    }
    if (window_state_observer) window_state_observer("key");
}
