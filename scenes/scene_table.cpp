// The table of scenes: every scene's key, name, legend, step counter, block
// and last step in one row, and the procedures that read it for the front
// ends. Owns SCENE_TABLE, a constant.
#include "scenes/scene_blocks.hpp"

#include "geometry/geometry.hpp"

// ---- the legends ---------------------------------------------------------------
// ASCII only (draw_legend says why), each headed by the scene's number.

static const char* const ADDENDUM_LEGEND[] = {
    "(1) draw addendum involute generation",
    "     blue circle  : pitch circle",
    "     green circle : base circle",
    "     red point:point of rack generation of involute curve",
};

static const char* const DEDENDUM_LEGEND[] = {
    "(2) draw dedendum involute generation",
    "     blue circle  : pitch circle",
    "     green circle : base circle",
    "     red point:point of rack generation of involute curve",
};

static const char* const UNDERCUT_LEGEND[] = {
    "(3) draw undercut curve generation",
    "     blue circle  : pitch circle",
    "     green circle : base circle",
    "     blue point : point of generation of undercut curve",
};

static const char* const RACK_ROLLING_LEGEND[] = {
    "(4) whole tooth profile generation by rack rolling on pitch circle",
    "     blue : pitch circle",
    "     green: base circle",
};

static const char* const MESHING_LEGEND[] = {
    "(5) whole tooth profile generation by rack-gear meshing",
    "     blue  : pitch circle",
    "     green : base circle",
};

static const char* const ONE_TOOTH_LEGEND[] = {
    "(6) display one gear tooth",      "     blue : pitch circle",       "     green: base circle",
    "     blue tooth : standard gear", "     red tooth  : shifted gear",
};

static const char* const WHOLE_GEAR_LEGEND[] = {
    "(7) display whole gear teeth",    "    blue curve:standard gear",   "    red curve :shifted gear",
    "    blue  circle : pitch circle", "    green circle : base circle",
};

static const char* const MESH_LEGEND[] = {
    "(8) two gears in mesh",
    "     red curve : gear,  blue curve : mate",
    "     blue circle : working pitch circles",
    "     green : base circles, line of action",
    "     black points : teeth touching now",
};

// ---- where the steps end ---------------------------------------------------------
// A generation scene stops at the last point of its curve; the whole-tooth
// scenes and the mesh run on as far as a link may ask; a still picture has
// only step 0.

static int end_of_addendum_involute() {
    return the_gear.curves.addendum_last;
}
static int end_of_dedendum_involute() {
    return the_gear.curves.dedendum_last;
}
static int end_of_undercut_curve() {
    return the_gear.curves.undercut_last;
}
static int runs_on_to_step_limit() {
    return STEP_LIMIT;
}
static int still_picture() {
    return 0;
}

// ---- the table -------------------------------------------------------------------

#define LEGEND(lines) lines, static_cast<int>(sizeof lines / sizeof lines[0])

constexpr SceneRow SCENE_TABLE[SCENE_COUNT] = {
    {'1', "addendum involute generation", LEGEND(ADDENDUM_LEGEND), &addendum_step, end_of_addendum_involute,
     scene_addendum_involute},
    {'2', "dedendum involute generation", LEGEND(DEDENDUM_LEGEND), &dedendum_step, end_of_dedendum_involute,
     scene_dedendum_involute},
    {'3', "undercut curve generation", LEGEND(UNDERCUT_LEGEND), &undercut_step, end_of_undercut_curve,
     scene_undercut_curve},
    {'4', "whole teeth, the rack rolling", LEGEND(RACK_ROLLING_LEGEND), &tooth_step, runs_on_to_step_limit,
     scene_rack_rolling},
    {'5', "whole teeth, the gear turning", LEGEND(MESHING_LEGEND), &tooth_step, runs_on_to_step_limit,
     scene_rack_gear_meshing},
    {'6', "one tooth", LEGEND(ONE_TOOTH_LEGEND), nullptr, still_picture, scene_one_tooth},
    {'7', "whole gear", LEGEND(WHOLE_GEAR_LEGEND), nullptr, still_picture, scene_whole_gear},
    {'8', "gears in mesh", LEGEND(MESH_LEGEND), &tooth_step, runs_on_to_step_limit, scene_gears_in_mesh},
};

#undef LEGEND

// A link's scene number, --scene's and the page's are the key's digit, and
// FIRST_SCENE and MESH_SCENE name rows of the table.
constexpr bool keys_are_numbers() {
    for (int i = 0; i < SCENE_COUNT; ++i)
        if (SCENE_TABLE[i].key != '1' + i) return false;
    return true;
}
static_assert(keys_are_numbers(), "scene i has the key of the number i + 1");
static_assert(SCENE_TABLE[FIRST_SCENE - '1'].key == FIRST_SCENE);
static_assert(SCENE_TABLE[MESH_SCENE - '1'].block == scene_gears_in_mesh, "MESH_SCENE is the mesh");

constexpr bool legends_leave_the_cutter_a_line() {
    for (const SceneRow& row : SCENE_TABLE)
        if (row.legend_lines >= LEGEND_LINES_MAX) return false;
    return true;
}
static_assert(legends_leave_the_cutter_a_line(), "a scene's legend leaves a line for the cutter");

SceneMode scene_key(int i) {
    return i >= 0 && i < SCENE_COUNT ? SCENE_TABLE[i].key : '\0';
}

const char* scene_name(int i) {
    return i >= 0 && i < SCENE_COUNT ? SCENE_TABLE[i].name : "";
}

int scene_index(SceneMode key) {
    for (int i = 0; i < SCENE_COUNT; ++i)
        if (SCENE_TABLE[i].key == key) return i;
    return -1;
}
