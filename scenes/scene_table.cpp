// The table of scenes: every scene's key, name, legends, step counter, block
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

// Scene '8' for a pinion inside a ring (the gear or its mate a ring). When the
// gear is the ring its "gear" reads "internal gear" (draw_legend).
static const char* const INTERNAL_MESH_LEGEND[] = {
    "(8) a pinion inside a ring in mesh",       "     red curve : gear,  blue curve : mate",
    "     blue circle : working pitch circles", "     green : base circles, line of action",
    "     black points : teeth touching now",
};

// The same lines in Japanese (UTF-8) for the page, which paints them with the
// canvas's font; the window's bitmap font is ASCII only and keeps the above.

static const char* const ADDENDUM_LEGEND_JA[] = {
    "(1) 歯末のインボリュート曲線の創成",
    "     青い円 : ピッチ円",
    "     緑の円 : 基礎円",
    "     赤い点 : ラックがインボリュート曲線を創成する点",
};

static const char* const DEDENDUM_LEGEND_JA[] = {
    "(2) 歯元のインボリュート曲線の創成",
    "     青い円 : ピッチ円",
    "     緑の円 : 基礎円",
    "     赤い点 : ラックがインボリュート曲線を創成する点",
};

static const char* const UNDERCUT_LEGEND_JA[] = {
    "(3) 切り下げ曲線の創成",
    "     青い円 : ピッチ円",
    "     緑の円 : 基礎円",
    "     青い点 : 切り下げ曲線を創成する点",
};

static const char* const RACK_ROLLING_LEGEND_JA[] = {
    "(4) ピッチ円上を転がるラックによる歯形全体の創成",
    "     青 : ピッチ円",
    "     緑 : 基礎円",
};

static const char* const MESHING_LEGEND_JA[] = {
    "(5) ラックと歯車のかみあいによる歯形全体の創成",
    "     青 : ピッチ円",
    "     緑 : 基礎円",
};

static const char* const ONE_TOOTH_LEGEND_JA[] = {
    "(6) 歯を一つ表示",       "     青 : ピッチ円",     "     緑 : 基礎円",
    "     青い歯 : 標準歯車", "     赤い歯 : 転位歯車",
};

static const char* const WHOLE_GEAR_LEGEND_JA[] = {
    "(7) 歯車の全歯を表示",  "    青い曲線 : 標準歯車", "    赤い曲線 : 転位歯車",
    "    青い円 : ピッチ円", "    緑の円 : 基礎円",
};

static const char* const MESH_LEGEND_JA[] = {
    "(8) かみあう二つの歯車",         "     赤い曲線 : 歯車,  青い曲線 : 相手歯車",
    "     青い円 : かみあいピッチ円", "     緑 : 基礎円, 作用線",
    "     黒い点 : いま接している歯",
};

static const char* const INTERNAL_MESH_LEGEND_JA[] = {
    "(8) リングギヤの内側でかみあうピニオン", "     赤い曲線 : 歯車,  青い曲線 : 相手歯車",
    "     青い円 : かみあいピッチ円",         "     緑 : 基礎円, 作用線",
    "     黒い点 : いま接している歯",
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

#define LEGEND(lines) lines, lines##_JA, static_cast<int>(sizeof lines / sizeof lines[0])
#define SAME_FOR_RING nullptr, nullptr, 0
// Each Japanese legend has as many lines as its English one.
#define SAME_LINES(lines) static_assert(sizeof lines == sizeof lines##_JA, #lines " in both languages")
SAME_LINES(ADDENDUM_LEGEND);
SAME_LINES(DEDENDUM_LEGEND);
SAME_LINES(UNDERCUT_LEGEND);
SAME_LINES(RACK_ROLLING_LEGEND);
SAME_LINES(MESHING_LEGEND);
SAME_LINES(ONE_TOOTH_LEGEND);
SAME_LINES(WHOLE_GEAR_LEGEND);
SAME_LINES(MESH_LEGEND);
SAME_LINES(INTERNAL_MESH_LEGEND);
#undef SAME_LINES

constexpr SceneRow SCENE_TABLE[SCENE_COUNT] = {
    {'1', "addendum involute generation", LEGEND(ADDENDUM_LEGEND), SAME_FOR_RING, &addendum_step,
     end_of_addendum_involute, scene_addendum_involute},
    {'2', "dedendum involute generation", LEGEND(DEDENDUM_LEGEND), SAME_FOR_RING, &dedendum_step,
     end_of_dedendum_involute, scene_dedendum_involute},
    {'3', "undercut curve generation", LEGEND(UNDERCUT_LEGEND), SAME_FOR_RING, &undercut_step,
     end_of_undercut_curve, scene_undercut_curve},
    {'4', "whole teeth, the rack rolling", LEGEND(RACK_ROLLING_LEGEND), SAME_FOR_RING, &tooth_step,
     runs_on_to_step_limit, scene_rack_rolling},
    {'5', "whole teeth, the gear turning", LEGEND(MESHING_LEGEND), SAME_FOR_RING, &tooth_step,
     runs_on_to_step_limit, scene_rack_gear_meshing},
    {'6', "one tooth", LEGEND(ONE_TOOTH_LEGEND), SAME_FOR_RING, nullptr, still_picture, scene_one_tooth},
    {'7', "whole gear", LEGEND(WHOLE_GEAR_LEGEND), SAME_FOR_RING, nullptr, still_picture, scene_whole_gear},
    {'8', "gears in mesh", LEGEND(MESH_LEGEND), LEGEND(INTERNAL_MESH_LEGEND), &tooth_step,
     runs_on_to_step_limit, scene_gears_in_mesh},
};

#undef LEGEND
#undef SAME_FOR_RING

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
        if (row.legend_lines >= LEGEND_LINES_MAX || row.ring_legend_lines >= LEGEND_LINES_MAX) return false;
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
