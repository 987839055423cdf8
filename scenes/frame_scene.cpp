// The scene dispatch: which block records the frame of a scene. Owns no state.
#include "scenes/scenes.hpp"

#include "record/record.hpp"
#include "scenes/scene_blocks.hpp"

void record_scene_frame(SceneMode scene, int width, int height, bool leave_out_unseen) {
    begin_record(width, height, leave_out_unseen);
    if (scene == '1') {
        scene_addendum_involute();
    } else if (scene == '2') {
        scene_dedendum_involute();
    } else if (scene == '3') {
        scene_undercut_curve();
    } else if (scene == '4') {
        scene_rack_rolling();
    } else if (scene == '5') {
        scene_rack_gear_meshing();
    } else if (scene == '6') {
        scene_one_tooth();
    } else if (scene == '7') {
        scene_whole_gear();
    }
}
