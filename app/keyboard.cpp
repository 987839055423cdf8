// The keyboard callback: every key typed in the window, through the scenes'
// one key table. Owns last_key and the window state observer.
#include "app/app.hpp"
#include "console/console.hpp"

#include <cstdlib>

// ---- Global state ------------------------------------------------------------
char last_key;  // last key typed in the window; written by on_key, read by the test build's observer
// Empty in rackgen; a test build sets it before the event loop.
void (*window_state_observer)(const char* event);

void on_key(unsigned char key, int /*x*/, int /*y*/) {
    last_key = static_cast<char>(key);
    switch (take_scene_key(key)) {
        case KEY_DRAW_FRAME:
            display();
            break;
        case KEY_NEW_GEAR:
        case KEY_NEW_SHIFT:
            // The dialogue runs here, inside the callback: the window waits, and
            // shows its old frame until the next key or repaint.
            parameter_dialogue(key == 'x');
            break;
        case KEY_NEW_MATE:
            mate_dialogue();  // the window shows the mesh from its start at the next key
            break;
        case KEY_END:
            std::exit(0);
        case KEY_IGNORED:
            break;
    }
    if (window_state_observer) window_state_observer("key");
}
