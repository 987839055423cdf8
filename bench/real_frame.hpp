// Real frames of the real program, for the frame benchmark and the
// pixel-identity test: the gear computed as the dialogue computes it, the
// scene, step, zoom and window size set as the keys and the window system set
// them, and the program's own display callback drawing into a real GLUT
// window on the X display named by DISPLAY. Owns that window.
#pragma once

#include "geometry/geometry.hpp"

struct FrameCase {
    char scene;  // a scene's key, '1' … '8'
    int z;       // number of teeth
    double x;    // profile shift of the shifted gear
    int step;    // the scene's step counter before the frame (the scene clamps it itself)
    int zoom;    // 'w' presses after the dialogue; negative: 'W' presses
    int width;   // window size in pixels
    int height;
    Cutter cutter = SPECIFIED_CUTTER;  // the cutter the gear is cut with
    bool internal = false;             // the gear is a ring (cut by a pinion-type cutter)
};

// Opens the program's 800×800 window (the window system must be reachable).
// Returns nullptr, or why no window could be opened.
const char* open_frame_window();

// Puts the program in the state of the case: gear (recomputed only when z, x
// or the cutter changes), scene, step counters, scale factor and window size (the
// program's reshape runs as on a real resize). Returns nullptr, or why not.
const char* prepare_frame(const FrameCase& c);

// One frame of the case as display draws it, finished (glFinish): the step
// counters are set back first, so every call draws the same frame. With
// leave_out_unseen false, the frame records every figure whole (to compare).
void draw_frame(const FrameCase& c, bool leave_out_unseen = true);

// The frame after the one drawn last, as the next 's' draws it: the step
// counters go on from where the last frame left them.
void draw_following_frame(const FrameCase& c, bool leave_out_unseen = true);

// The frame last drawn, read from the window (width × height RGB rows,
// bottom row first) into pixels, which must hold width·height·3 bytes.
void read_frame(const FrameCase& c, unsigned char* pixels);

// A name for the case, e.g. "scene 5 z=20 step 300 W×10 1600x400", with the
// cutter when it is not the specified one, e.g. "… cutter 25/1/1.25/0.2", a
// pinion-type cutter's teeth and shift, e.g. "… pinion 25/0.2", and "ring".
const char* frame_case_name(const FrameCase& c, char* out, int capacity);
