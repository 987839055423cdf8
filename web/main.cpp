// The web page's entry into the program: the functions page.js calls on the
// wasm module. The gear, the scenes and the drawing are the program's own;
// a frame is recorded into frame_record and painted by painter.js on a canvas.
// The scene state is the scenes' own, changed through their procedures.
#include "choice/choice.hpp"
#include "app/app.hpp"
#include "cli/options.hpp"
#include "console/console.hpp"
#include "console/dialogue_texts.hpp"
#include "draw/draw.hpp"
#include "gear_data/gear_data.hpp"
#include "geometry/geometry.hpp"
#include "outline/outline.hpp"
#include "record/record.hpp"
#include "scenes/scenes.hpp"
#include "trace/centre_lines.hpp"
#include "trace/trace_mask.hpp"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>

#define WEB_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE

// ---- Global state ------------------------------------------------------------
// The message handed back to the page; valid until the next call that writes it.
static char message[ANSWER_MESSAGE_CAPACITY];
// The last answers web_check_teeth and web_check_shift accepted; read by the page.
static int checked_teeth;
static double checked_shift;
// The cutter the form's answers are checked with and its next gear is cut
// with: written by web_set_cutter, read by the checks and web_take_gear. The
// gear shown keeps its own (gear_choice), so a refused form changes nothing.
static Cutter form_cutter = SPECIFIED_CUTTER;

// ---- texts -------------------------------------------------------------------

// The dialogue's texts without the line end they start with on the console:
// 0 headline, 1 step (1), 2 the z prompt, 3 the x prompt, 4 the data-file
// question, 5 the note on the file name, 6 … 5 + KEY_HELP_LINES the key help
// lines (the page shows the first six, the keys the page shares with the
// window as the console names them, and words of its own for the rest).
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
// check_shift_answer); a word of any length is read whole, as on the command
// line. "" when the answer is accepted.

WEB_EXPORT const char* web_check_teeth(const char* word) {
    int z = 0;
    if (!check_teeth_answer(form_cutter, word, false, z, message, ANSWER_MESSAGE_CAPACITY))
        return message;
    checked_teeth = z;
    return "";
}

WEB_EXPORT const char* web_check_shift(int z, const char* word) {
    double x = 0.0;
    if (!check_shift_answer(form_cutter, word, false, z, x, message, ANSWER_MESSAGE_CAPACITY))
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

// ---- the cutter and the module -------------------------------------------------

// A number of the cutter or the module, typed into the form or given in a
// link, read as the command line reads its numbers; NaN when it is none.
WEB_EXPORT double web_number(const char* word) {
    double value = 0.0;
    return parse_real(word, value) ? value : NAN;
}

// The form's cutter, which the checks of z and x read and the next gear is
// cut with: set, and "", when cutter_refusal accepts it; otherwise its reason,
// and the form's cutter stays as it was. The gear shown keeps its cutter.
WEB_EXPORT const char* web_set_cutter(double pressure_angle, double addendum, double dedendum,
                                      double tip_radius) {
    const Cutter cutter = {pressure_angle, addendum, dedendum, tip_radius};
    if (const char* reason = cutter_refusal(cutter)) return reason;
    form_cutter = cutter;
    return "";
}

// ---- the gear and its scenes ---------------------------------------------------

// Takes a choice as every front end does; "" when it is taken, else why not
// (the page checks every answer first, so only a fault of its own gets here).
static const char* take(const GearChoice& choice) {
    const char* refusal = take_gear(choice);
    return refusal != nullptr ? refusal : "";
}

// A new gear cut with the form's cutter, at module mm per module unit, with
// the mate of z2 teeth and shift x2 (0 teeth: the default mate), as the
// dialogue takes one once both answers are accepted; then scene '1' from its
// start at the start scale. Returns "" or the refusal.
WEB_EXPORT const char* web_take_gear(int z, double x, double module, int z2, double x2) {
    const char* refusal = take(GearChoice{z, x, form_cutter, module, z2, z2 > 0 ? x2 : 0.0});
    if (*refusal == '\0') start_new_gear();
    return refusal;
}

// The warning line of the dialogue for a pointed tooth of the gear shown
// (mate 0) or of its chosen mate (mate 1), or "".
WEB_EXPORT const char* web_gear_warning(int mate) {
    const GearChoice& c = gear_choice;
    const bool shown = mate != 0 ? c.mate_z > 0 && gear_warning(c.cutter, c.mate_z, c.mate_x, message, sizeof message)
                                 : gear_warning(c.cutter, c.z, c.x, message, sizeof message);
    return shown ? message : "";
}

// Another mate for the gear shown (0 teeth: the default mate), which scene '8'
// shows and the data read. Returns "" or the refusal.
WEB_EXPORT const char* web_set_mate(int z2, double x2) {
    GearChoice choice = gear_choice;
    choice.mate_z = z2;
    choice.mate_x = z2 > 0 ? x2 : 0.0;
    return take(choice);
}

// Another module for the gear shown's data and downloads, in mm. Returns "" or
// the refusal.
WEB_EXPORT const char* web_set_module(double module) {
    GearChoice choice = gear_choice;
    choice.module = module;
    return take(choice);
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
    record_scene_frame(width, height);
    return 1;
}

// The frame of a link, as --render draws it; also what the frame benchmark times.
WEB_EXPORT void web_open_frame(int scene, int step, int zoom, int width, int height) {
    set_scene_state(static_cast<SceneMode>('0' + scene), step, zoom);
    record_scene_frame(width, height);
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

// ---- files for download -----------------------------------------------------------
// Written into the module's memory file system under the page's path, from
// where the page hands the bytes to the browser. Each returns "" or why not.

// The tooth data file of the shifted gear, the bytes the dialogue's '1' writes.
WEB_EXPORT const char* web_write_data_file(const char* path) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return "the data file could not be made";
    const ToothProfile& tooth = the_gear.shifted_tooth;
    bool ok = write_tooth_data(the_gear.params.z, tooth.flank_last, tooth.flank, file) == 0;
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the data file could not be written";
}

// The shifted gear's whole outline at module millimetres per module unit (the
// page checks it against MODULE_MIN and MODULE_MAX) and the command line's
// default tolerance, with a chosen mate beside it meshing, as --gear with
// --mate writes them: SVG, or DXF when path ends in ".dxf".
WEB_EXPORT const char* web_write_gear(const char* path, double module) {
    GearOutline outlines[2];
    int count = 1;
    if (mate_chosen()) {
        const PairData pair = pair_data(the_gear, the_mate, gear_data(the_gear, module, 0.0), gear_data(the_mate, module, 0.0));
        build_pair_outlines(the_gear, the_mate, pair_place(pair, module), module, OUTLINE_TOLERANCE, outlines);
        count = 2;
    } else {
        outlines[0] = build_gear_outline(the_gear, the_gear.params.x, module, OUTLINE_TOLERANCE);
    }
    if (const char* refusal = outline_refusal(outlines, count)) return refusal;
    size_t length = std::strlen(path);
    bool dxf = length >= 4 && std::strcmp(path + length - 4, ".dxf") == 0;
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return "the gear's outline could not be made";
    bool ok =
        dxf ? write_outlines_dxf_file(outlines, count, file) : write_outlines_svg_file(outlines, count, file);
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the gear's outline could not be written";
}

// ---- the gear's data ------------------------------------------------------------------
// At the module of the gear shown, with the usual pins; the pair's whenever
// pair_data_shown says so.

struct DataShown {
    GearData gear;
    bool with_pair;
    GearData mate;
    PairData pair;
};

static DataShown data_shown(bool with_pair) {
    DataShown shown = {gear_data(the_gear, gear_choice.module, 0.0), with_pair, {}, {}};
    if (with_pair) {
        shown.mate = gear_data(the_mate, gear_choice.module, 0.0);
        shown.pair = pair_data(the_gear, the_mate, shown.gear, shown.mate);
    }
    return shown;
}

// The gear's data as --info FILE.json writes it: the pair's only for a chosen
// mate, as --info writes them only after --mate.
WEB_EXPORT const char* web_write_gear_data(const char* path) {
    const DataShown shown = data_shown(mate_chosen());
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return "the gear's data could not be made";
    bool ok = (shown.with_pair ? write_gear_data_json(shown.gear, file, &shown.mate, &shown.pair)
                               : write_gear_data_json(shown.gear, file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the gear's data could not be written";
}

// The rows of the page's data panel, each "name\tJapanese name\tvalue\n";
// filled by web_gear_data_rows.
static char data_rows[8192];
static size_t data_rows_length;

// The rows meant for the page: the value with its unit, "— (why)" for a
// measure that does not exist, "yes — which tip digs in" for a noted row.
static void add_page_rows(const DataRows& rows) {
    char value[ROW_VALUE_CAPACITY];
    for (int i = 0; i < rows.count; ++i) {
        const DataRow& row = rows.rows[i];
        if (!(row.shown & ROW_ON_PAGE)) continue;
        row_value_and_unit(row, value, ROW_VALUE_CAPACITY);
        const size_t room = sizeof data_rows - data_rows_length;
        const int written =
            !row.known ? std::snprintf(data_rows + data_rows_length, room, "%s\t%s\t— (%s)\n", row.name,
                                       row.name_ja, row.note ? row.note : "")
            : row.note ? std::snprintf(data_rows + data_rows_length, room, "%s\t%s\t%s — %s\n", row.name,
                                       row.name_ja, value, row.note)
                       : std::snprintf(data_rows + data_rows_length, room, "%s\t%s\t%s\n", row.name,
                                       row.name_ja, value);
        // A row that would not fit is left out (the longest list uses a third of the room).
        if (written > 0 && static_cast<size_t>(written) < room)
            data_rows_length += static_cast<size_t>(written);
        else
            data_rows[data_rows_length] = '\0';
    }
}

// The page's data beside the canvas: the gear's rows, and the pair's as
// pair_data_shown says for the frame shown last.
WEB_EXPORT const char* web_gear_data_rows() {
    data_rows_length = 0;
    data_rows[0] = '\0';
    if (gear_choice.z == 0) return data_rows;  // no gear taken yet
    const DataShown shown = data_shown(pair_data_shown());
    add_page_rows(gear_rows(shown.gear));
    if (shown.with_pair) add_page_rows(pair_rows(shown.mate, shown.pair));
    return data_rows;
}

// ---- what the page's scripts share with the program ---------------------------------
// painter.js reads the frame record straight from the wasm memory and page.js
// checks a link against the command line's limits. Neither types a number of
// the program again: at start each asks web_constant for every number it uses,
// by the name it has here, and the page does not start when one is unknown
// (its scripts and this module come from different builds). Offsets and sizes
// are this build's own: wasm pointers have 32 bits, so they differ from the
// desktop program's.

struct SharedConstant {
    const char* name;
    int value;
};

constexpr SharedConstant shared(const char* name, size_t value) {
    return {name, static_cast<int>(value)};
}
// Each number under the name it has in the program's source.
#define FIELD(type, field) shared(#type "." #field, offsetof(type, field))
#define SIZE(type) shared("sizeof " #type, sizeof(type))
#define KIND(kind) shared("ItemKind::" #kind, static_cast<size_t>(ItemKind::kind))
#define CONSTANT(name) shared(#name, static_cast<size_t>(name))
#define PROFILE_LETTER(k) \
    shared("CUTTER_PROFILES[" #k "].letter", static_cast<size_t>(CUTTER_PROFILES[k].letter))
static constexpr SharedConstant SHARED_CONSTANTS[] = {
    FIELD(FrameRecord, item_count),
    FIELD(FrameRecord, vertex_count),
    FIELD(FrameRecord, overflowed),
    FIELD(FrameRecord, items),
    FIELD(FrameRecord, vertices),
    FIELD(FrameRecord, text),
    SIZE(RecordItem),
    FIELD(RecordItem, kind),
    FIELD(RecordItem, colour),
    FIELD(RecordItem, width),
    FIELD(RecordItem, first_vertex),
    FIELD(RecordItem, vertex_count),
    FIELD(RecordItem, text_offset),
    FIELD(RecordItem, layer),
    SIZE(RecordVertex),
    KIND(LINES),
    KIND(LINE_LOOP),
    KIND(POLYGON),
    KIND(TEXT),
    CONSTANT(ITEM_LAYER_PLAIN),
    CONSTANT(ITEM_LAYER_TRACE),
    CONSTANT(ITEM_LAYER_PANEL),
    CONSTANT(SCENE_COUNT),
    CONSTANT(STEP_LIMIT),
    CONSTANT(ZOOM_LIMIT),
    CONSTANT(SIZE_SIDE_MIN),
    CONSTANT(SIZE_SIDE_MAX),
    CONSTANT(WINDOW_SIZE),
    CONSTANT(DEFAULT_MATE_TEETH_MAX),
    CONSTANT(CUTTER_PROFILE_COUNT),
    PROFILE_LETTER(0),
    PROFILE_LETTER(1),
    PROFILE_LETTER(2),
    PROFILE_LETTER(3),
};
static_assert(CUTTER_PROFILE_COUNT == 4, "a PROFILE_LETTER above for each profile");
#undef FIELD
#undef SIZE
#undef KIND
#undef CONSTANT
#undef PROFILE_LETTER

constexpr bool none_negative() {
    for (const SharedConstant& constant : SHARED_CONSTANTS)
        if (constant.value < 0) return false;
    return true;
}
static_assert(none_negative(), "web_constant answers -1 for a name it does not know");

// What painter.js takes for granted beyond the numbers it asks for: it reads
// every int of the record as a 32-bit integer, a colour as three 32-bit floats
// in a row, a width as one, a vertex as x and y in 64-bit floats at an address
// divisible by 8, and overflowed as one byte.
template <typename Field>
constexpr bool int32 = std::is_same_v<Field, int> && sizeof(int) == 4;
static_assert(int32<decltype(FrameRecord::item_count)> && int32<decltype(FrameRecord::vertex_count)>);
static_assert(int32<std::underlying_type_t<ItemKind>> && int32<decltype(RecordItem::first_vertex)> &&
              int32<decltype(RecordItem::vertex_count)> && int32<decltype(RecordItem::text_offset)> &&
              int32<decltype(RecordItem::layer)>);
static_assert(std::is_same_v<decltype(RecordItem::width), float> && sizeof(float) == 4);
static_assert(std::is_same_v<decltype(RecordItem::colour), Colour> && offsetof(Colour, red) == 0 &&
              offsetof(Colour, green) == 4 && offsetof(Colour, blue) == 8);
static_assert(std::is_same_v<decltype(RecordVertex::x), double> && offsetof(RecordVertex, x) == 0 &&
              offsetof(RecordVertex, y) == 8 && sizeof(RecordVertex) % 8 == 0);
static_assert(alignof(FrameRecord) % 8 == 0 && offsetof(FrameRecord, vertices) % 8 == 0);
static_assert(std::is_same_v<decltype(FrameRecord::overflowed), bool> && sizeof(bool) == 1);
static_assert(std::is_same_v<decltype(FrameRecord::text), char[RECORD_TEXT_CAPACITY]>);

// The shared number of that name, or -1 when there is none.
WEB_EXPORT int web_constant(const char* name) {
    for (const SharedConstant& constant : SHARED_CONSTANTS)
        if (std::strcmp(constant.name, name) == 0) return constant.value;
    return -1;
}

// The real numbers the page shares with the program, by their names in its
// source: MODULE_MIN, MODULE_MAX, ZOOM_STEP and each value of SPECIFIED_CUTTER and of the
// profiles, as "SPECIFIED_CUTTER.tip_radius" and "CUTTER_PROFILES.A.tip_radius".
// NaN for a name it does not know.
struct CutterField {
    const char* name;
    double Cutter::*value;
};
static constexpr CutterField CUTTER_FIELDS[] = {
    {"pressure_angle", &Cutter::pressure_angle},
    {"addendum", &Cutter::addendum},
    {"dedendum", &Cutter::dedendum},
    {"tip_radius", &Cutter::tip_radius},
};

WEB_EXPORT double web_real(const char* name) {
    if (std::strcmp(name, "MODULE_MIN") == 0) return MODULE_MIN;
    if (std::strcmp(name, "MODULE_MAX") == 0) return MODULE_MAX;
    if (std::strcmp(name, "ZOOM_STEP") == 0) return ZOOM_STEP;
    if (std::strcmp(name, "DEFAULT_MODULE") == 0) return DEFAULT_MODULE;
    char known[64];
    for (const CutterField& field : CUTTER_FIELDS) {
        std::snprintf(known, sizeof known, "SPECIFIED_CUTTER.%s", field.name);
        if (std::strcmp(name, known) == 0) return SPECIFIED_CUTTER.*field.value;
        for (const CutterProfile& profile : CUTTER_PROFILES) {
            std::snprintf(known, sizeof known, "CUTTER_PROFILES.%c.%s", profile.letter, field.name);
            if (std::strcmp(name, known) == 0) return profile.cutter.*field.value;
        }
    }
    return NAN;
}

// Where the frame record lies in the wasm memory; it never moves.
WEB_EXPORT const FrameRecord* web_frame_record() {
    return &frame_record;
}

// ---- the trace racks as a mask ---------------------------------------------------
// Thousands of long trace lines cost the painter a store a pixel in
// JavaScript; here each step sets a few bits of a one-bit mask instead, and
// the painter paints the mask's set bits in the trace colour.

// May the trace items go into the mask: all lines, one colour, none wider
// than a step of the mask sets?
static bool traces_fit_mask(double ratio) {
    const RecordItem* head = nullptr;
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        if (item.layer != ITEM_LAYER_TRACE) continue;
        if (item.kind != ItemKind::LINES && item.kind != ItemKind::LINE_LOOP) return false;
        if (std::lround(item.width * ratio) > TRACE_MASK_MAX_ACROSS) return false;
        if (head == nullptr) head = &item;
        if (item.colour.red != head->colour.red || item.colour.green != head->colour.green ||
            item.colour.blue != head->colour.blue)
            return false;
    }
    return true;
}

// The record's trace items set as painter.js sets lines (trace/centre_lines.hpp)
// into a mask of a width × height canvas on which the record's pixel is ratio
// canvas pixels (line widths grow by it, rounded, at least 1). Answers the
// address of the mask's rows, row y from the canvas's top, each ⌈width / 64⌉
// 64-bit words, pixel x bit x % 64 of word x / 64; or 0 when painter.js must
// set the traces itself: a canvas larger than the mask, or trace items that
// are not all lines of one colour at most TRACE_MASK_MAX_ACROSS pixels wide.
WEB_EXPORT const std::uint64_t* web_trace_mask(int width, int height, double ratio) {
    if (!traces_fit_mask(ratio) || !clear_trace_mask(width, height)) return nullptr;
    const double sx = width / 2.0;
    const double sy = height / 2.0;
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        if (item.layer != ITEM_LAYER_TRACE) continue;
        const int across = std::max(1, static_cast<int>(std::lround(item.width * ratio)));
        const RecordVertex* v = frame_record.vertices + item.first_vertex;
        const int count = item.vertex_count;
        const bool loop = item.kind == ItemKind::LINE_LOOP;
        for (int k = 0; loop ? k < count : k + 1 < count; k += loop ? 1 : 2) {
            const RecordVertex& a = v[k];
            const RecordVertex& b = v[k + 1 < count ? k + 1 : 0];
            add_centre_line((a.x + 1) * sx, (1 - a.y) * sy, (b.x + 1) * sx, (1 - b.y) * sy, across);
        }
    }
    merge_trace_columns();
    return trace_mask_rows().lines;
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
