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

// The state a window shows a scene's step from: every step counter at step
// (each scene clamps its own as it draws) and the scale after zoom presses of
// 'w' (zoom < 0: -zoom presses of 'W') from the start scale.
void set_scene_state(int step, int zoom);

// One frame of the scene at that state, as the window shows it after its first
// frame: the window's later frames start with the line width the frame before
// left set, which the first lacks, so a light frame (the still scene '6',
// which moves no counter) is recorded first and dropped. For pictures and links.
void record_frame_at(SceneMode scene, int step, int zoom, int width, int height);
