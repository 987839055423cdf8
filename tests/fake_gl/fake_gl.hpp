// A recording stand-in for GL and GLUT, linked into the window's unit tests
// instead of the real libraries: every entry point the window shell and the
// GL painter call is defined here with C linkage, logs its call and keeps the
// little GL and GLUT state the tests look at. What a frame draws is checked on
// the frame record (record/record.hpp), not here.
//
// Link a test with rackgen_fake_gl (never with GLUT::GLUT or OpenGL::GL):
//   fake_gl_reset();                                  // empty log, state as after context creation
//   display();
//   EXPECT_EQ(fake_gl_count(FAKE_GLUT_SWAP_BUFFERS), 1);
//   fake_gl_trace(text, sizeof text);                 // "glClear glLoadIdentity … glutSwapBuffers"
// The log keeps the first FAKE_GL_CALL_CAPACITY calls; the counts go on.
#pragma once

#include <GL/gl.h>
#include <GL/freeglut.h>

enum FakeGlKind {
    FAKE_GL_BEGIN,
    FAKE_GL_END,
    FAKE_GL_VERTEX,  // glVertex2d
    FAKE_GL_COLOR,   // glColor4f
    FAKE_GL_LINE_WIDTH,
    FAKE_GL_TRANSLATE,  // glTranslated
    FAKE_GL_LOAD_IDENTITY,
    FAKE_GL_MATRIX_MODE,
    FAKE_GL_ENABLE,
    FAKE_GL_DISABLE,
    FAKE_GL_RASTER_POS,  // glRasterPos2f
    FAKE_GL_VIEWPORT,
    FAKE_GL_CLEAR,
    FAKE_GL_CLEAR_COLOR,
    FAKE_GL_FLUSH,
    FAKE_GL_STENCIL,  // glStencilFunc, glStencilOp, glColorMask
    FAKE_GLUT_BITMAP_CHARACTER,
    FAKE_GLUT_SWAP_BUFFERS,
    FAKE_GLUT_INIT,
    FAKE_GLUT_INIT_WINDOW_SIZE,
    FAKE_GLUT_INIT_DISPLAY_MODE,
    FAKE_GLUT_CREATE_WINDOW,
    FAKE_GLUT_DISPLAY_FUNC,
    FAKE_GLUT_RESHAPE_FUNC,
    FAKE_GLUT_KEYBOARD_FUNC,
    FAKE_GLUT_MAIN_LOOP,
    FAKE_GLUT_GET,
    FAKE_GL_KIND_COUNT
};

// One logged call: code is the GLenum, bitfield or character argument, a[]
// the numeric arguments in order.
struct FakeGlCall {
    FakeGlKind kind;
    unsigned code;
    double a[4];
};

// The GL state the fake keeps; defaults are those of a fresh GL context.
struct FakeGlState {
    double modelview[16];   // column-major; glTranslated and glLoadIdentity change it
    double projection[16];  // glLoadIdentity in GL_PROJECTION mode
    GLenum matrix_mode;     // GL_MODELVIEW at start
    int viewport[4];
    float clear_colour[4];  // (0, 0, 0, 0) at start
    bool inside_begin;      // between glBegin and glEnd
    int errors;             // misuse real GL would flag: glEnd without glBegin, a matrix call inside one
};

// The GLUT state the fake keeps.
struct FakeGlutState {
    int window_width, window_height;  // from glutInitWindowSize (300 x 300 by default)
    unsigned display_mode;            // glutInitDisplayMode
    int windows_created;
    char title[512];  // given to glutCreateWindow
    void (*display)(void);
    void (*reshape)(int, int);
    void (*keyboard)(unsigned char, int, int);
};

constexpr int FAKE_GL_CALL_CAPACITY = 4096;

void fake_gl_reset();                             // empty log and counts; GL and GLUT state as at start
void fake_gl_clear_log();                         // empty log and counts; keep the state
void fake_glut_set_get(GLenum query, int value);  // what glutGet(query) answers from now on (0 otherwise)

const FakeGlState& fake_gl_state();
const FakeGlutState& fake_glut_state();

long fake_gl_count(FakeGlKind kind);  // calls of a kind since the last reset (never capped)
int fake_gl_call_count();             // calls in the log (≤ FAKE_GL_CALL_CAPACITY)
const FakeGlCall& fake_gl_call(int i);
// The logged calls as text, one word each ("glClear glLoadIdentity …"); glBegin,
// glEnable and glDisable show their enum ("glBegin(GL_LINES)"). Writes at most
// capacity bytes, NUL-terminated; returns out.
const char* fake_gl_trace(char* out, int capacity);
