// The eight scenes, GL-free, and the scene state they are shown from: which
// scene, the step each animated scene has reached, the scale and the line
// width the next frame starts with. One frame is recorded into frame_record
// (record/record.hpp) for any painter to show. The window, the page and the
// command line change the state only through the procedures below.
#pragma once

using SceneMode = char;  // a scene's key, '1' to '8'

// ---- The table of scenes ----------------------------------------------------
// Every scene is one row of one table (scene_table.cpp): its key, its name,
// its legend, its step counter, the block that draws it and where its steps
// end. Scene i (0 … SCENE_COUNT - 1) is the one --scene and a link number
// i + 1; its key is the character of that number.
constexpr int SCENE_COUNT = 8;
constexpr SceneMode FIRST_SCENE = '1';  // a new gear starts on it
constexpr SceneMode MESH_SCENE = '8';   // the gear and its mate in mesh; 'm' leads to it

// The key of scene i, 0 for an i of no scene.
SceneMode scene_key(int i);
// What scene i shows, in English ("" for an i of no scene).
const char* scene_name(int i);
// The scene a key shows (its i), or -1 for a key that shows no scene.
int scene_index(SceneMode key);

// How far a frame asked for from outside (the command line's --step and --zoom,
// a link in the page) may go; keys in the window and on the page have no limit.
// Scenes '4' and '5' draw a trace cutter for every step before, and a picture
// painter pays for every one that crosses the view: at step 10000 with the
// whole gear of z = 8 in view a PNG takes about 2.5 s, at 40000 nearly a minute.
constexpr int STEP_LIMIT = 10000;
constexpr int ZOOM_LIMIT = 300;  // 0.9^300 ≈ 2e-14: any further and nothing is left to see

// ---- Global state ------------------------------------------------------------
// All written only by the procedures of this header (and the scale factor, which
// the drawing layer owns, too); read by record_scene_frame and the scene blocks.
// The scene the next frame shows; '1' at start.
extern SceneMode scene_mode;
// Step counters of the animated scenes; a scene's row in the table names the
// one it draws from ('4', '5' and '8' share tooth_step). Set through the table
// by reset_step_counters (a new gear, a scene key, 'm') and set_scene_state;
// read and advanced by one a frame by the scene blocks (those of '1' to '3'
// clamp theirs to the end of their curve first), read by shown_step.
extern int addendum_step;  // scene '1'
extern int dedendum_step;  // scene '2'
extern int undercut_step;  // scene '3'
extern int tooth_step;     // scenes '4', '5' and '8'
// Whether the frames show the gear's data ('i' shows and hides it); off at start.
extern bool info_panel_shown;
// Whether the legends and the panel's names are in Japanese: written by the
// page (its legend language) and by --render --lang ja for its picture, read by
// record_scene_frame and the panel; false in the window, whose font is ASCII.
extern bool legends_in_japanese;
// Pixels: the line width the next frame starts with, as GL's carries from frame
// to frame in the window: 1 until the first wide line or cross, 2 from then on.
extern float frame_line_width;

// Sets every step counter of the table to 0: every scene starts from its first step.
void reset_step_counters();

// A gear has just been taken (the dialogue, the page's form): scene '1' from its
// start at the start scale.
void start_new_gear();

// What a key typed in the window or on the page asks its front end to do after
// take_scene_key has changed the scene state.
enum KeyEffect {
    KEY_IGNORED,     // no command: only the window's last key changes
    KEY_DRAW_FRAME,  // a scene key (the scene restarted), 's', 'w', 'W' (zoomed), 'i' (the data shown
                     // or hidden)
    KEY_NEW_GEAR,    // 'z': ask the number of teeth and the shift
    KEY_NEW_SHIFT,   // 'x': ask the shift only, the number of teeth stays
    KEY_NEW_MATE,    // 'm': ask the mate's number of teeth and shift; MESH_SCENE from its start
    KEY_END,         // Esc
};
constexpr unsigned char KEY_ESCAPE = 27;
// The one key table: keys are compared by character code, so 'Z', 'X' and 'S'
// are other keys than 'z', 'x' and 's'.
KeyEffect take_scene_key(unsigned char key);

// The state a window shows a frame from after its first frame, for pictures and
// links: scene, every step counter at step (scenes '1' to '3' clamp theirs as
// they draw), the scale after zoom presses of 'w' (zoom < 0: -zoom presses of 'W')
// from the start scale, and the 2-pixel line width every later frame starts with.
void set_scene_state(SceneMode scene, int step, int zoom);

// What the page reads back to show and link the frame it has just recorded:
// the step that frame drew (each scene's counter rests one past it; 0 in the
// still scenes '6' and '7'), the last step scene_mode can show (a generation
// scene's curve ends, '4', '5' and '8' run on to STEP_LIMIT as links may ask;
// 0 for the still scenes) and the zoom of the scale factor (presses of 'w'
// from the start scale; negative: of 'W').
int shown_step();
int last_step();
int shown_zoom();

// Whether the pair's data is shown beside the gear's (the frames' data panel,
// the page's data): when a mate was chosen, and whenever the mesh scene shows
// the pair (a pinion inside a ring too).
bool pair_data_shown();

// The zoom at which the whole gear (in the mesh scene both gears) just fits the
// view, within ZOOM_LIMIT.
int whole_gear_zoom();

// Records one frame of scene_mode for a frame of width × height pixels, as the
// window's display callback draws it: begin_record, the scene's legend and its
// block, which draws its step and advances its step counter, then the gear's
// data while info_panel_shown (a scene_mode of no scene: an empty record, no
// counter changed), and the line width it leaves for the next frame.
// leave_out_unseen is true for every frame a user sees; false only to compare
// against the drawing of everything.
void record_scene_frame(int width, int height, bool leave_out_unseen = true);
