// The keyboard callback: every key typed in the window. Owns scene_mode and last_key.
#include "app/app.hpp"

// ---- Global state ------------------------------------------------------------
SceneMode scene_mode;  // scene display draws; written by the entry and on_key
char last_key;         // last key typed in the window; written by the entry and on_key, read by the dialogue
