// The scene dispatch: a frame of the scene shown, as the table of scenes
// draws it (a ring's own legend where its row has one: the gear or, in the
// mesh, its mate is a ring). Owns no state.
#include "scenes/scene_blocks.hpp"

#include "record/device.hpp"
#include "record/record.hpp"

void record_scene_frame(int width, int height, bool leave_out_unseen) {
    begin_record(FrameSettings{width, height, frame_line_width, leave_out_unseen});
    const int i = scene_index(scene_mode);
    if (i >= 0) {
        const SceneRow& scene = SCENE_TABLE[i];
        if ((the_gear.params.internal || the_mate.params.internal) && scene.ring_legend != nullptr)
            draw_legend(legends_in_japanese ? scene.ring_legend_ja : scene.ring_legend,
                        scene.ring_legend_lines);
        else
            draw_legend(legends_in_japanese ? scene.legend_ja : scene.legend, scene.legend_lines);
        scene.block();
        if (info_panel_shown) draw_info_panel();
    }
    frame_line_width = device_line_width();
}
