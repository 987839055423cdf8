// The window side of rackgen: the GLUT window, its callbacks and keyboard, the
// frame of the display callback (the scenes it records live in scenes/) and the
// GL painter that paints their frame record.
#pragma once

#include "scenes/scenes.hpp"

// ---- Global state ------------------------------------------------------------
// The last key typed in the window: on_key stores every key; the test build's
// observer reports it. (The scene shown is the scenes' scene_mode.)
extern char last_key;
// Called, when set, with "display" before every frame is drawn and with "key"
// when on_key has done everything for a key. rackgen leaves it empty; a test
// build sets it before the event loop to watch the window state.
extern void (*window_state_observer)(const char* event);
// The window's size in pixels: WINDOW_SIZE until the first reshape; written by
// reshape, read by display for the frame it records.
extern int window_width;
extern int window_height;

constexpr int WINDOW_SIZE = 800;  // width and height in pixels at creation

// Opens the window, registers the callbacks and runs the event loop; never returns.
void start_window(int* argc, char** argv);
// The window as start_window opens it, for it and the frame benchmark: GLUT
// started from the command line, the WINDOW_SIZE double-buffered RGB window
// with a depth buffer and its title, draw as its display callback, reshape,
// an opaque white clear colour. Keys and the event loop are the caller's.
void open_main_window(int* argc, char** argv, void (*draw)());
void display();
// What display draws, for a width × height window: the frame of scene_mode,
// recorded, painted and swapped. leave_out_unseen is false only to compare
// against the drawing of everything.
void draw_scene_frame(int width, int height, bool leave_out_unseen = true);
void reshape(int width, int height);
void on_key(unsigned char key, int x, int y);
void begin_frame();
void end_frame();
// Paints frame_record into the current GL frame (paint_gl.cpp).
void paint_frame_record();

// Why no window can be opened here (no X display reachable), as one line a user
// can act on, naming the program as started (argv[0]); nullptr when a window
// can be opened.
const char* window_system_problem(const char* program);
