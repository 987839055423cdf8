// The probe of the rackgen_probe build: the user's program with one line of
// window state on stderr before every frame and after every key, for the
// end-to-end tests. Owns nothing; hooks itself in before main runs.
//   probe: <event> key=<last_key> scene=<scene_mode> steps=<a>,<d>,<u>,<t> scale=<scale_factor>
// event is "display" (state the frame is drawn from, before the scene advances
// its counter) or "key" (state after on_key has done everything for the key);
// steps are addendum_step, dedendum_step, undercut_step, tooth_step. A key with
// no printable character is written as #<code>.
#include "app/app.hpp"
#include "draw/draw.hpp"
#include "geometry/geometry.hpp"

#include <cstdio>

static void report_probe_state(const char* event) {
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

// Runs before main: the observer is in place before the first key or frame.
static const bool probe_installed = (window_state_observer = report_probe_state, true);
