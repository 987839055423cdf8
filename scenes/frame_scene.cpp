// The scene dispatch: which block records the frame of a scene. Owns no state.
#include "scenes/scenes.hpp"

#include "draw/draw.hpp"
#include "geometry/geometry.hpp"
#include "record/record.hpp"
#include "scenes/scene_blocks.hpp"

// The block of scene '1' + i at index i.
static void (*const SCENE_BLOCKS[])() = {
    scene_addendum_involute, scene_dedendum_involute, scene_undercut_curve, scene_rack_rolling,
    scene_rack_gear_meshing, scene_one_tooth,         scene_whole_gear,
};

void record_scene_frame(SceneMode scene, int width, int height, bool leave_out_unseen) {
    begin_record(width, height, leave_out_unseen);
    if (scene >= '1' && scene <= '7') SCENE_BLOCKS[scene - '1']();
}

void set_scene_state(int step, int zoom) {
    addendum_step = dedendum_step = undercut_step = tooth_step = step;
    scale_factor = zoomed_scale(START_SCALE, zoom);
}

void record_frame_at(SceneMode scene, int step, int zoom, int width, int height) {
    record_scene_frame('6', width, height);
    set_scene_state(step, zoom);
    record_scene_frame(scene, width, height);
}
