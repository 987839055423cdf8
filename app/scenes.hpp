// The scene blocks display runs between begin_frame and end_frame, one per
// scene key. Each draws one complete frame of its scene; the animated ones
// ('1' to '5') then advance their step counter by one.
#pragma once

void scene_addendum_involute();   // '1'
void scene_dedendum_involute();   // '2'
void scene_undercut_curve();      // '3'
void scene_rack_rolling();        // '4'
void scene_rack_gear_meshing();   // '5'
void scene_one_tooth();           // '6'
void scene_whole_gear();          // '7'
