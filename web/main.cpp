// The web page's entry into the program: the functions page.js calls on the
// wasm module. The gear, the scenes and the drawing are the program's own;
// a frame is recorded into frame_record and painted by painter.js on a canvas.
// The scene state is the scenes' own, changed through their procedures.
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

// ---- the cutter and the module -------------------------------------------------

// A number of the cutter or the module, typed into the form or given in a
// link, read as the command line reads its numbers; NaN when it is none.
WEB_EXPORT double web_number(const char* word) {
    double value = 0.0;
    return parse_real(word, value) ? value : NAN;
}

// The cutter the next gear is cut with (and the checks of z and x read):
// set, and "", when cutter_refusal accepts it; otherwise its reason, and the
// cutter stays as it was.
WEB_EXPORT const char* web_set_cutter(double pressure_angle, double addendum, double dedendum,
                                      double tip_radius) {
    const Cutter cutter = {pressure_angle, addendum, dedendum, tip_radius};
    if (const char* reason = cutter_refusal(cutter)) return reason;
    gear_cutter = cutter;
    return "";
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

// The mate scene '8' shows and the data read, once the page has checked it as
// a gear (0 teeth: the default mate). Returns the dialogue's warning line for
// a pointed mate tooth, or "".
WEB_EXPORT const char* web_set_mate(int z, double x) {
    mate_teeth = z;
    mate_shift = z > 0 ? x : 0.0;
    return z > 0 && gear_warning(z, x, message, sizeof message) ? message : "";
}

// The module of the gear's data, in mm (the page checks it against MODULE_MIN
// and MODULE_MAX); 'i' shows the data at it.
WEB_EXPORT void web_set_module(double module) {
    gear_module = module;
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
    bool ok = write_tooth_data(gear_params.z, shifted_tooth.flank_last, shifted_tooth.flank, file) == 0;
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the data file could not be written";
}

// The shifted gear's whole outline at module millimetres per module unit (the
// page checks it against MODULE_MIN and MODULE_MAX) and the command line's
// default tolerance, with a chosen mate beside it meshing, as --gear with
// --mate writes them: SVG, or DXF when path ends in ".dxf".
WEB_EXPORT const char* web_write_gear(const char* path, double module) {
    GearOutline outlines[2] = {build_gear_outline(gear_params.x, module, OUTLINE_TOLERANCE), {}};
    int count = 1;
    if (mate_teeth > 0) {
        compute_mate();
        const PairData pair = pair_data(gear_data(module, 0.0), mate_data(module, 0.0));
        outlines[count++] = build_mate_outline(module, OUTLINE_TOLERANCE, pair.centre_distance);
    }
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
// At the module web_set_module set, with the usual pins; the mate's and the
// pair's only for a chosen mate, as --info writes them only after --mate.

struct DataShown {
    GearData gear;
    bool with_mate;
    GearData mate;
    PairData pair;
};

static DataShown data_shown() {
    DataShown shown = {gear_data(gear_module, 0.0), mate_teeth > 0, {}, {}};
    if (shown.with_mate) {
        compute_mate();
        shown.mate = mate_data(gear_module, 0.0);
        shown.pair = pair_data(shown.gear, shown.mate);
    }
    return shown;
}

// The gear's data as --info FILE.json writes it.
WEB_EXPORT const char* web_write_gear_data(const char* path) {
    const DataShown shown = data_shown();
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return "the gear's data could not be made";
    bool ok = (shown.with_mate ? write_gear_data_json(shown.gear, file, &shown.mate, &shown.pair)
                               : write_gear_data_json(shown.gear, file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the gear's data could not be written";
}

// The rows of the page's data panel, each "name\tvalue\n"; filled by web_gear_data_rows.
static char data_rows[4096];
static size_t data_rows_length;

// One row more; a row that would not fit is left out (the longest panel uses a
// quarter of the room).
__attribute__((format(printf, 2, 3))) static void data_row(const char* name, const char* format, ...) {
    char value[160];
    va_list values;
    va_start(values, format);
    std::vsnprintf(value, sizeof value, format, values);
    va_end(values);
    const size_t room = sizeof data_rows - data_rows_length;
    const int written = std::snprintf(data_rows + data_rows_length, room, "%s\t%s\n", name, value);
    if (written > 0 && static_cast<size_t>(written) < room)
        data_rows_length += static_cast<size_t>(written);
    else
        data_rows[data_rows_length] = '\0';
}

static void measure_row(const char* name, const Measure& measure) {
    if (measure.known)
        data_row(name, "%.4f mm", measure.value);
    else
        data_row(name, "— (%s)", measure.reason);
}

// The panel beside the canvas: the figures a student checks, in mm at the
// module, and the undercut and pointed states in words.
WEB_EXPORT const char* web_gear_data_rows() {
    const DataShown shown = data_shown();
    const GearData& d = shown.gear;
    data_rows_length = 0;
    data_rows[0] = '\0';
    data_row("module", "%g mm", d.module);
    data_row("pitch diameter", "%.4f mm", d.pitch_diameter);
    data_row("base diameter", "%.4f mm", d.base_diameter);
    data_row("tip diameter", "%.4f mm", d.tip_diameter);
    data_row("root diameter", "%.4f mm", d.root_diameter);
    data_row("form diameter", "%.4f mm", d.form_diameter);
    data_row("tooth thickness on the pitch circle", "%.4f mm", d.tooth_thickness);
    if (d.pointed)
        data_row("tooth thickness on the tip circle", "— (the tooth is pointed)");
    else
        data_row("tooth thickness on the tip circle", "%.4f mm", d.tip_thickness);
    char name[64];
    std::snprintf(name, sizeof name, "span over %d %s", d.span_teeth, d.span_teeth == 1 ? "tooth" : "teeth");
    measure_row(name, d.span);
    std::snprintf(name, sizeof name, "over pins of %.4f mm", d.pin_diameter);
    measure_row(name, d.over_pins);
    // The least shift rounded up, so that the shift it names does avoid the undercut.
    if (d.undercut)
        data_row("undercut", "yes — a shift of at least %.3f avoids it",
                 std::ceil(d.min_shift_no_undercut * 1000.0 - 1e-9) / 1000.0);
    else
        data_row("undercut", "no");
    if (d.pointed)
        data_row("pointed", "yes — the flanks meet at d = %.4f mm", d.pointed_diameter.value);
    else
        data_row("pointed", "no");
    if (shown.with_mate) {
        const PairData& p = shown.pair;
        data_row("mate", "z2 = %d, x2 = %g", shown.mate.teeth, shown.mate.shift);
        data_row("working pressure angle", "%.4f°", p.working_pressure_angle);
        data_row("centre distance", "%.4f mm", p.centre_distance);
        data_row("contact ratio", "%.4f", p.contact_ratio);
        if (p.interference)
            data_row("interference", "yes — %s", p.interference_text);
        else
            data_row("interference", "no");
    }
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
