// A recording stand-in for GL and GLUT, linked into unit tests instead of the
// real libraries: every entry point the program calls is defined here with C
// linkage, logs its call and keeps the little GL state the tests look at.
// Owns the call, vertex and block logs and the fake GL/GLUT state below.
//
// Link a test with rackgen_fake_gl (never with GLUT::GLUT or OpenGL::GL) and
// include "fake_gl.hpp" (or "fake_gl/fake_gl.hpp"). How to use it:
//   fake_gl_reset();                       // empty logs, GL state as after context creation
//   draw_something();
//   EXPECT_EQ(fake_gl_count(FAKE_GL_BEGIN), 1);
//   const FakeGlBlock& b = fake_gl_block(0);                   // first glBegin/glEnd block
//   const FakeGlVertex& v = fake_gl_vertex(b.first_vertex + 1); // its second vertex
//   v.x, v.y: as passed to glVertex2d; v.view_x, v.view_y: after model-view and projection
//   b.modelview: the model-view matrix the block was issued under (column-major, as GL)
//   fake_gl_state().line_width, .lighting, .colour, .raster_colour, .modelview ...
//
// Logs have fixed capacities. Past a capacity nothing more is stored, but the
// totals keep counting (fake_gl_count, fake_gl_totals) and fake_gl_overflowed()
// turns true, so a frame of any size can be measured by its counts. The state
// (matrices, colour, width, lighting, raster) is tracked for every call.
//
// Misuse that real GL would flag (a matrix call between glBegin and glEnd, a
// stack overflow or underflow, glEnd without glBegin, an unknown query) is
// counted in fake_gl_state().errors instead of being acted on.
#pragma once

#include <GL/gl.h>
#include <GL/freeglut.h>

enum FakeGlKind {
    FAKE_GL_BEGIN,
    FAKE_GL_END,
    FAKE_GL_VERTEX,  // glVertex2d
    FAKE_GL_COLOR,   // glColor4f
    FAKE_GL_LINE_WIDTH,
    FAKE_GL_PUSH_MATRIX,
    FAKE_GL_POP_MATRIX,
    FAKE_GL_TRANSLATE,  // glTranslated
    FAKE_GL_ROTATE,     // glRotated
    FAKE_GL_LOAD_IDENTITY,
    FAKE_GL_MATRIX_MODE,
    FAKE_GL_ENABLE,
    FAKE_GL_DISABLE,
    FAKE_GL_IS_ENABLED,
    FAKE_GL_PUSH_ATTRIB,
    FAKE_GL_POP_ATTRIB,
    FAKE_GL_RASTER_POS,  // glRasterPos2f
    FAKE_GL_VIEWPORT,
    FAKE_GL_CLEAR,
    FAKE_GL_CLEAR_COLOR,
    FAKE_GL_FLUSH,
    FAKE_GL_GET,  // glGetDoublev, glGetFloatv, glGetIntegerv, glGetError
    FAKE_GLUT_BITMAP_CHARACTER,
    FAKE_GLUT_SWAP_BUFFERS,
    FAKE_GLUT_INIT,
    FAKE_GLUT_INIT_WINDOW_SIZE,
    FAKE_GLUT_INIT_WINDOW_POSITION,
    FAKE_GLUT_INIT_DISPLAY_MODE,
    FAKE_GLUT_CREATE_WINDOW,
    FAKE_GLUT_SET_WINDOW_TITLE,  // glutSetWindowTitle, glutSetIconTitle
    FAKE_GLUT_DISPLAY_FUNC,
    FAKE_GLUT_RESHAPE_FUNC,
    FAKE_GLUT_KEYBOARD_FUNC,
    FAKE_GLUT_MAIN_LOOP,  // glutMainLoop, glutMainLoopEvent, glutLeaveMainLoop
    FAKE_GLUT_POST_REDISPLAY,
    FAKE_GLUT_GET,  // glutGet
    FAKE_GLUT_SET_OPTION,
    FAKE_GL_KIND_COUNT
};

// One logged call. Which fields mean something depends on the kind:
//   code: the GLenum / bitfield / character / int argument (mode, cap, mask,
//         matrix mode, glutBitmapCharacter's character, glutGet's query ...)
//   a[0..3]: the numeric arguments in order (vertex x, y; colour r, g, b, a;
//         width; translate x, y, z; rotate angle, x, y, z; raster x, y;
//         viewport x, y, w, h; clear colour; window size w, h)
//   pointer: the font of glutBitmapCharacter, the callback of glut*Func
//   block / vertex: index of the block (glBegin..glEnd) and of the vertex this
//         call opened or issued, -1 otherwise (or when the log was full)
struct FakeGlCall {
    FakeGlKind kind;
    unsigned code;
    double a[4];
    const void* pointer;
    int block;
    int vertex;
};

struct FakeGlVertex {
    double x, y;            // as passed to glVertex2d
    double view_x, view_y;  // projection × model-view × (x, y, 0, 1), divided by w
    int block;              // index of its block
};

// One glBegin ... glEnd block and the state it was drawn with.
struct FakeGlBlock {
    GLenum mode;           // GL_LINES, GL_LINE_LOOP, GL_POLYGON ...
    int first_vertex;      // index into the vertex log (valid while not overflowed)
    int vertex_count;      // vertices issued in the block (counted even past the log's end)
    float colour[4];       // current colour at glBegin (the primitives set it before glBegin)
    float line_width;      // pixels
    bool lighting;         // GL_LIGHTING enabled
    double modelview[16];  // column-major, as glGetDoublev(GL_MODELVIEW_MATRIX)
    bool closed;           // glEnd seen
};

// The GL state the fake keeps; defaults are those of a fresh GL context.
struct FakeGlState {
    double modelview[16];   // top of the model-view stack, column-major
    double projection[16];  // top of the projection stack
    int modelview_depth;    // 1 = only the base matrix (as GL_MODELVIEW_STACK_DEPTH)
    int projection_depth;
    GLenum matrix_mode;         // GL_MODELVIEW at start
    float colour[4];            // current colour, (1, 1, 1, 1) at start
    float line_width;           // 1 at start
    bool lighting;              // GL_LIGHTING, off at start
    bool depth_test;            // GL_DEPTH_TEST, off at start
    bool blend;                 // GL_BLEND, off at start
    double raster_position[2];  // window-normalised position of the last glRasterPos2f
    float raster_colour[4];     // colour latched by glRasterPos2f (lit: 0.04 grey)
    bool raster_set;            // glRasterPos2f was called since reset
    int attrib_depth;           // glPushAttrib nesting
    bool inside_begin;          // between glBegin and glEnd
    GLenum begin_mode;
    int viewport[4];
    float clear_colour[4];  // (0, 0, 0, 0) at start
    int errors;             // misuse counted instead of acted on (see top)
};

// The GLUT state the fake keeps.
struct FakeGlutState {
    int init_count;                   // glutInit calls
    int init_argc;                    // *pargc seen by glutInit
    int window_width, window_height;  // from glutInitWindowSize (300 x 300 by default)
    int window_x, window_y;           // from glutInitWindowPosition (-1, -1 by default)
    unsigned display_mode;            // glutInitDisplayMode
    int windows_created;
    char title[512];        // last title given to glutCreateWindow / glutSetWindowTitle
    void (*display)(void);  // registered callbacks, nullptr until registered
    void (*reshape)(int, int);
    void (*keyboard)(unsigned char, int, int);
    int main_loop_count;  // glutMainLoop calls (the fake returns at once)
    int swap_count;
    int post_redisplay_count;
};

// One piece of bitmap text: the characters drawn since one glRasterPos2f.
struct FakeGlText {
    char text[256];   // NUL-terminated, cut at 255 bytes
    double x, y;      // raster position (window-normalised)
    float colour[4];  // raster colour, i.e. the colour the text shows in
    const void* font;
};

// Log capacities: large enough for one frame of the densest scenes with room
// to spare; larger frames are counted, not stored.
constexpr int FAKE_GL_CALL_CAPACITY = 131072;
constexpr int FAKE_GL_VERTEX_CAPACITY = 262144;
constexpr int FAKE_GL_BLOCK_CAPACITY = 32768;
constexpr int FAKE_GL_TEXT_CAPACITY = 64;

// Running totals; they keep counting past every capacity.
struct FakeGlTotals {
    long calls;
    long vertices;
    long blocks;
    long segments;  // line segments drawn: GL_LINES n/2, GL_LINE_STRIP n-1, GL_LINE_LOOP n
};

// ---- control ------------------------------------------------------------------
void fake_gl_reset();                             // empty logs and totals; GL and GLUT state as at start
void fake_gl_clear_log();                         // empty logs and totals; keep the GL and GLUT state
void fake_glut_set_get(GLenum query, int value);  // what glutGet(query) answers from now on

// ---- state --------------------------------------------------------------------
const FakeGlState& fake_gl_state();
const FakeGlutState& fake_glut_state();

// ---- logs ---------------------------------------------------------------------
long fake_gl_count(FakeGlKind kind);  // calls of a kind since the last reset (never capped)
const FakeGlTotals& fake_gl_totals();
bool fake_gl_overflowed();  // some log was full and dropped entries

int fake_gl_call_count();  // calls stored (≤ FAKE_GL_CALL_CAPACITY)
const FakeGlCall& fake_gl_call(int i);
int fake_gl_vertex_count();  // vertices stored
const FakeGlVertex& fake_gl_vertex(int i);
int fake_gl_block_count();  // blocks stored
const FakeGlBlock& fake_gl_block(int i);
const FakeGlVertex* fake_gl_block_vertices(int i);  // the block's first vertex; its vertex_count follow
int fake_gl_text_count();
const FakeGlText& fake_gl_text(int i);

// Index of the first stored call of the kind at or after call index from; -1 if none.
int fake_gl_find(FakeGlKind kind, int from);

// The stored calls first .. last (inclusive, clamped) as text, one per word,
// e.g. "glDisable(GL_LIGHTING) glColor4f glBegin(GL_LINES) glVertex2d glVertex2d glEnd".
// Enum arguments of glBegin/glEnable/glDisable/glMatrixMode/glPushAttrib are shown
// by name (or number when not known). Queries (glGetDoublev, glGetIntegerv,
// glGetFloatv, glGetError: the drawing layer reads the matrices, viewport and
// line width to leave out what cannot be seen) change nothing and are left out
// of the text; they stay in the call log as FAKE_GL_GET. Writes at most
// capacity bytes, NUL-terminated; returns out.
const char* fake_gl_trace(char* out, int capacity, int first = 0, int last = 0x7fffffff);

const char* fake_gl_kind_name(FakeGlKind kind);

// Apply a column-major 4x4 matrix to (x, y, 0, 1): result in out[0], out[1].
void fake_gl_transform(const double m[16], double x, double y, double out[2]);
