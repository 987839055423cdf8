// The web page's entry into the program: the functions page.js calls on the
// wasm module. The gear, the scenes and the drawing are the program's own;
// a frame is recorded into frame_record and painted by painter.js on a canvas.
// The scene state is the scenes' own, changed through their procedures.
#include "console/console.hpp"
#include "console/dialogue_texts.hpp"
#include "draw/draw.hpp"
#include "geometry/geometry.hpp"
#include "outline/outline.hpp"
#include "record/record.hpp"
#include "scenes/scenes.hpp"

#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

#define WEB_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE

// ---- Global state ------------------------------------------------------------
// The message handed back to the page; valid until the next call that writes it.
static char message[ANSWER_MESSAGE_CAPACITY];
// The last answers web_check_teeth and web_check_shift accepted; read by the page.
static int checked_teeth;
static double checked_shift;

// ---- texts -------------------------------------------------------------------

// The dialogue's texts without the line end they start with on the console:
// 0 headline, 1 step (1), 2 the z prompt, 3 the x prompt, 4 the data-file
// question, 5 the note on the file name, 6 … 11 the key help lines.
WEB_EXPORT const char* web_text(int which) {
    const char* texts[] = {HEADLINE_TEXT,     TEETH_HEADING_TEXT,      TEETH_PROMPT_TEXT,
                           SHIFT_PROMPT_TEXT, DATA_FILE_QUESTION_TEXT, DATA_FILE_INTRO_TEXT};
    constexpr int TEXTS = static_cast<int>(sizeof texts / sizeof texts[0]);
    if (which >= 0 && which < TEXTS) return texts[which] + 1;
    if (which >= TEXTS && which < TEXTS + KEY_HELP_LINES) return KEY_HELP_TEXT[which - TEXTS] + 1;
    return "";
}

// ---- the form's answers --------------------------------------------------------
// The console dialogue's own checks and messages (check_teeth_answer,
// check_shift_answer), a word longer than it reads refused as it refuses it.
// "" when the answer is accepted.

static bool longer_than_read(const char* word) {
    return std::strlen(word) >= static_cast<size_t>(ANSWER_WORD_CAPACITY);
}

WEB_EXPORT const char* web_check_teeth(const char* word) {
    int z = 0;
    if (!check_teeth_answer(word, longer_than_read(word), z, message, ANSWER_MESSAGE_CAPACITY))
        return message;
    checked_teeth = z;
    return "";
}

WEB_EXPORT const char* web_check_shift(int z, const char* word) {
    double x = 0.0;
    if (!check_shift_answer(word, longer_than_read(word), z, x, message, ANSWER_MESSAGE_CAPACITY))
        return message;
    checked_shift = x;
    return "";
}

WEB_EXPORT int web_checked_teeth() {
    return checked_teeth;
}
WEB_EXPORT double web_checked_shift() {
    return checked_shift;
}

// ---- the gear and its scenes ---------------------------------------------------

// A new gear, as the dialogue computes it once both answers are accepted (the
// page checks them first), then scene '1' from its start at the start scale.
// Returns the dialogue's warning line for a pointed tooth, or "".
WEB_EXPORT const char* web_start(int z, double x) {
    compute_gear(z, x);
    start_new_gear();
    return gear_warning(z, x, message, sizeof message) ? message : "";
}

// A key typed on the canvas, through the window's key table: '1' … '7' restart
// that scene, 'w'/'W' zoom, 's' continues; each draws one frame of width ×
// height pixels into frame_record and returns 1. Other keys ('z', 'x' and Esc
// are the page's own) change nothing and return 0.
WEB_EXPORT int web_key(int key, int width, int height) {
    if (key < 0 || key > 255) return 0;
    const unsigned char typed = static_cast<unsigned char>(key);
    if (typed == 'z' || typed == 'x' || typed == KEY_ESCAPE) return 0;
    if (take_scene_key(typed) != KEY_DRAW_FRAME) return 0;
    record_scene_frame(width, height);
    return 1;
}

// The frame of a link, as --render draws it; also what the frame benchmark times.
WEB_EXPORT void web_open_frame(int scene, int step, int zoom, int width, int height) {
    set_scene_state(static_cast<SceneMode>('0' + scene), step, zoom);
    record_scene_frame(width, height);
}

// ---- files for download -----------------------------------------------------------
// Written into the module's memory file system under the page's path, from
// where the page hands the bytes to the browser. Each returns "" or why not.

// The tooth data file of the shifted gear, the bytes the dialogue's '1' writes.
WEB_EXPORT const char* web_write_data_file(const char* path) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return "the data file could not be made";
    bool ok = write_tooth_data(gear_params.z, shifted_tooth.flank_last, shifted_tooth.flank, file) == 0;
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the data file could not be written";
}

// The outline of the whole gear being written; filled and read by web_write_gear.
static ProfilePoint gear_points[GEAR_OUTLINE_CAPACITY];

// The shifted gear's whole outline at module 1 mm: SVG, or DXF when path ends in ".dxf".
WEB_EXPORT const char* web_write_gear(const char* path) {
    int count = build_gear_outline(shifted_tooth, gear_params.z, 1.0, gear_points, GEAR_OUTLINE_CAPACITY);
    size_t length = std::strlen(path);
    bool dxf = length >= 4 && std::strcmp(path + length - 4, ".dxf") == 0;
    FILE* file = count > 0 ? std::fopen(path, "wb") : nullptr;
    if (file == nullptr) return "the gear's outline could not be made";
    bool ok = dxf ? write_outline_dxf_file(gear_points, count, file)
                  : write_outline_svg_file(gear_points, count, file);
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the gear's outline could not be written";
}

// ---- the frame record, as painter.js reads it from the wasm memory -----------

// Byte offsets into frame_record and into one item, in the order painter.js
// expects them; written into out (15 ints). Returns the record's address.
WEB_EXPORT const FrameRecord* web_record_layout(int* out) {
    const int offsets[] = {
        static_cast<int>(offsetof(FrameRecord, item_count)),
        static_cast<int>(offsetof(FrameRecord, vertex_count)),
        static_cast<int>(offsetof(FrameRecord, items)),
        static_cast<int>(offsetof(FrameRecord, vertices)),
        static_cast<int>(offsetof(FrameRecord, text)),
        static_cast<int>(sizeof(RecordItem)),
        static_cast<int>(offsetof(RecordItem, kind)),
        static_cast<int>(offsetof(RecordItem, colour)),
        static_cast<int>(offsetof(RecordItem, width)),
        static_cast<int>(offsetof(RecordItem, first_vertex)),
        static_cast<int>(offsetof(RecordItem, vertex_count)),
        static_cast<int>(offsetof(RecordItem, text_offset)),
        static_cast<int>(sizeof(RecordVertex)),
        static_cast<int>(offsetof(FrameRecord, overflowed)),
        static_cast<int>(offsetof(RecordItem, layer)),
    };
    for (int k = 0; k < static_cast<int>(sizeof offsets / sizeof offsets[0]); ++k) out[k] = offsets[k];
    return &frame_record;
}
