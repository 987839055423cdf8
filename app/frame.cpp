// The frame of the display callback: clear, the block of the selected scene,
// flush and swap; and the viewport on a resize. Owns no state: each frame is
// drawn again from the profile store, the step counters and the scale factor.
#include "app/app.hpp"
#include "app/scenes.hpp"

#include <GL/freeglut.h>

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
    begin_frame();
    if (scene_mode == '1') {
        scene_addendum_involute();
    } else if (scene_mode == '2') {
        scene_dedendum_involute();
    } else if (scene_mode == '3') {
        scene_undercut_curve();
    } else if (scene_mode == '4') {
        scene_rack_rolling();
    } else if (scene_mode == '5') {
        scene_rack_gear_meshing();
    } else if (scene_mode == '6') {
        scene_one_tooth();
    } else if (scene_mode == '7') {
        scene_whole_gear();
    }
    end_frame();
}

// No projection is ever set: the view spans -1 to 1 on both axes whatever the
// window's shape, so a window that is not square stretches the drawing.
void reshape(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}
