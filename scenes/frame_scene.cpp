// The scene dispatch: which block records the frame of a scene. Owns no state.
#include "scenes/scenes.hpp"

#include "record/device.hpp"
#include "record/record.hpp"
#include "scenes/scene_blocks.hpp"

// The block of scene '1' + i at index i.
static void (*const SCENE_BLOCKS[SCENE_COUNT])() = {
    scene_addendum_involute, scene_dedendum_involute, scene_undercut_curve, scene_rack_rolling,
    scene_rack_gear_meshing, scene_one_tooth,         scene_whole_gear,     scene_gears_in_mesh,
};

void record_scene_frame(int width, int height, bool leave_out_unseen) {
    begin_record(FrameSettings{width, height, frame_line_width, leave_out_unseen});
    const bool scene = scene_mode >= FIRST_SCENE && scene_mode <= LAST_SCENE;
    if (scene && info_panel_shown) draw_info_panel();
    if (scene) SCENE_BLOCKS[scene_mode - FIRST_SCENE]();
    frame_line_width = device_line_width();
}
