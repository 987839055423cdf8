// Real frames of the real program (see real_frame.hpp): one GLUT window,
// resized as a case asks, and the program's display and reshape callbacks.
// Owns the window; the gear of a case is taken as the command line takes it.
#include "bench/real_frame.hpp"

#include "app/app.hpp"
#include "draw/draw.hpp"
#include "choice/choice.hpp"

#include <GL/gl.h>
#include <GL/freeglut.h>

#include <unistd.h>

#include <cstdio>

constexpr int RESIZE_WAIT_MS = 5000;

// Expose events must not draw: every call of display advances a scene.
static void no_display() {}

const char* open_frame_window() {
    static char name[] = "rackgen_frame";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInitWindowPosition(0, 0);  // no window manager places it
    open_main_window(&argc, argv, no_display);
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();  // mapped, first reshape done
    reshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
    return nullptr;
}

const char* prepare_frame(const FrameCase& c) {
    // As the command line takes the gear; a gear taken already is not computed again.
    if (c.z != gear_choice.z || c.x != gear_choice.x || !same_cutter(c.cutter, gear_choice.cutter) ||
        c.internal != gear_choice.internal) {
        if (const char* refusal = take_gear(GearChoice{c.z, c.x, c.cutter, 1.0, 0, 0.0, c.internal}))
            return refusal;
    }
    set_scene_state(c.scene, c.step, c.zoom);  // after the dialogue and the case's zoom keys
    if (glutGet(GLUT_WINDOW_WIDTH) != c.width || glutGet(GLUT_WINDOW_HEIGHT) != c.height) {
        glutReshapeWindow(c.width, c.height);
        for (int waited = 0; waited < RESIZE_WAIT_MS; ++waited) {
            glutMainLoopEvent();
            if (glutGet(GLUT_WINDOW_WIDTH) == c.width && glutGet(GLUT_WINDOW_HEIGHT) == c.height) break;
            usleep(1000);
        }
        if (glutGet(GLUT_WINDOW_WIDTH) != c.width || glutGet(GLUT_WINDOW_HEIGHT) != c.height)
            return "the window could not be resized (is the screen large enough?)";
        reshape(c.width, c.height);  // as GLUT calls it after a resize
    }
    return nullptr;
}

void draw_frame(const FrameCase& c, bool leave_out_unseen) {
    set_scene_state(c.scene, c.step, c.zoom);
    draw_following_frame(c, leave_out_unseen);
}

void draw_following_frame(const FrameCase& c, bool leave_out_unseen) {
    draw_scene_frame(c.width, c.height, leave_out_unseen);
    glFinish();  // the frame is really drawn, not only queued
}

// display swaps the buffers; Mesa's software GL keeps the finished frame in the back buffer after the swap.
void read_frame(const FrameCase& c, unsigned char* pixels) {
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, c.width, c.height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
}

const char* frame_case_name(const FrameCase& c, char* out, int capacity) {
    char step[24] = "";
    if (c.step != 0) std::snprintf(step, sizeof step, " step %d", c.step);
    char zoom[16] = "";
    if (c.zoom > 0) std::snprintf(zoom, sizeof zoom, " w×%d", c.zoom);
    if (c.zoom < 0) std::snprintf(zoom, sizeof zoom, " W×%d", -c.zoom);
    char size[24] = "";
    if (c.width != WINDOW_SIZE || c.height != WINDOW_SIZE)
        std::snprintf(size, sizeof size, " %dx%d", c.width, c.height);
    char cutter[64] = "";
    const Cutter profile = {c.cutter.pressure_angle, c.cutter.addendum, c.cutter.dedendum,
                            c.cutter.tip_radius};
    if (!same_cutter(profile, SPECIFIED_CUTTER))
        std::snprintf(cutter, sizeof cutter, " cutter %g/%g/%g/%g", c.cutter.pressure_angle,
                      c.cutter.addendum, c.cutter.dedendum, c.cutter.tip_radius);
    char pinion[48] = "";
    if (pinion_type(c.cutter))
        std::snprintf(pinion, sizeof pinion, " pinion %d/%g%s", c.cutter.teeth, c.cutter.shift,
                      c.internal ? " ring" : "");
    std::snprintf(out, capacity, "scene %c z=%d%s%s%s%s%s", c.scene, c.z, step, zoom, size, cutter, pinion);
    return out;
}
