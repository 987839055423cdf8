// The numbers the page's scripts share with the program, asked by name.
#include "web/wasm/export.hpp"

#include "app/app.hpp"
#include "choice/choice.hpp"
#include "cli/options.hpp"
#include "draw/draw.hpp"
#include "geometry/geometry.hpp"
#include "record/record.hpp"
#include "scenes/scenes.hpp"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <type_traits>

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
    CONSTANT(RECORD_TEXT_CAPACITY),
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
    CONSTANT(PAINT_TILE_SHIFT),
    CONSTANT(SCENE_COUNT),
    CONSTANT(STEP_LIMIT),
    CONSTANT(ZOOM_LIMIT),
    CONSTANT(SIZE_SIDE_MIN),
    CONSTANT(SIZE_SIDE_MAX),
    CONSTANT(WINDOW_SIZE),
    CONSTANT(DEFAULT_MATE_TEETH_MAX),
    CONSTANT(CUTTER_PROFILE_COUNT),
    CONSTANT(CUTTER_TEETH_MIN),
    CONSTANT(CUTTER_TEETH_MAX),
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
// source: MODULE_MIN, MODULE_MAX, ZOOM_STEP, FACE_WIDTH_MAX and each value of
// SPECIFIED_CUTTER and of the profiles, as "SPECIFIED_CUTTER.tip_radius" and
// "CUTTER_PROFILES.A.tip_radius".
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
    if (std::strcmp(name, "FACE_WIDTH_MAX") == 0) return FACE_WIDTH_MAX;
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
