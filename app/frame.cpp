// The frame of the display callback: clear, record the frame of the selected
// scene, paint the record, flush and swap; and the viewport on a resize. Owns
// the window size; each frame is drawn again from the profile store, the step
// counters and the scale factor.
#include "app/app.hpp"

#include <GL/freeglut.h>

// ---- Global state ------------------------------------------------------------
int window_width = WINDOW_SIZE;  // pixels; written by reshape, read by display
int window_height = WINDOW_SIZE;

void begin_frame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);  // the depth buffer exists but no test is ever on
    glLoadIdentity();
}

void end_frame() {
    glFlush();
    glutSwapBuffers();
}

// One complete frame of the scene scene_mode names. Any other value of
// scene_mode gives a cleared, empty frame and changes no counter.
void display() {
    if (window_state_observer) window_state_observer("display");  // the state this frame is drawn from
    draw_scene_frame(window_width, window_height);
}

void draw_scene_frame(int width, int height, bool leave_out_unseen) {
    begin_frame();
    record_scene_frame(width, height, leave_out_unseen);
    paint_frame_record();
    end_frame();
}

// No projection is ever set: the view spans -1 to 1 on both axes whatever the
// window's shape, so a window that is not square stretches the drawing.
void reshape(int width, int height) {
    window_width = width;
    window_height = height;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}
