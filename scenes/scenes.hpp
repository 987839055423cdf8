// The seven scenes, GL-free: one frame of a scene recorded into frame_record
// (record/record.hpp), for any painter to show. What the window's display,
// a picture writer or a web page calls.
#pragma once

using SceneMode = char;  // '1' to '7'

// Records one frame of the scene for a frame of width × height pixels, as the
// window's display callback draws it: begin_record, the scene's block, which
// draws its step and advances its step counter (any other scene: an empty
// record, no counter changed). leave_out_unseen is true for every frame a user
// sees; false only to compare against the drawing of everything.
void record_scene_frame(SceneMode scene, int width, int height, bool leave_out_unseen = true);
