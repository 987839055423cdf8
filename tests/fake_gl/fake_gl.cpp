// The recording fake of GL and GLUT (see fake_gl.hpp): the C entry points and
// the readers. Owns the call log, the counts and the fake GL and GLUT state;
// only these entry points and the resets write them.
#include "fake_gl.hpp"

#include <cstdio>
#include <cstring>

namespace {

constexpr int GLUT_GET_CAPACITY = 16;

struct GlutAnswer {
    GLenum query;
    int value;
};

FakeGlState state;
FakeGlutState glut;
FakeGlCall calls[FAKE_GL_CALL_CAPACITY];
int call_count;
long kind_counts[FAKE_GL_KIND_COUNT];
GlutAnswer glut_answers[GLUT_GET_CAPACITY];
int glut_answer_count;

const char* const KIND_NAMES[FAKE_GL_KIND_COUNT] = {
    "glBegin",
    "glEnd",
    "glVertex2d",
    "glColor4f",
    "glLineWidth",
    "glTranslated",
    "glLoadIdentity",
    "glMatrixMode",
    "glEnable",
    "glDisable",
    "glRasterPos2f",
    "glViewport",
    "glClear",
    "glClearColor",
    "glFlush",
    "glStencil",
    "glutBitmapCharacter",
    "glutSwapBuffers",
    "glutInit",
    "glutInitWindowSize",
    "glutInitDisplayMode",
    "glutCreateWindow",
    "glutDisplayFunc",
    "glutReshapeFunc",
    "glutKeyboardFunc",
    "glutMainLoop",
    "glutGet",
};

void set_identity(double m[16]) {
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

void record(FakeGlKind kind, unsigned code = 0, double a0 = 0, double a1 = 0, double a2 = 0, double a3 = 0) {
    ++kind_counts[kind];
    if (call_count < FAKE_GL_CALL_CAPACITY) calls[call_count++] = FakeGlCall{kind, code, {a0, a1, a2, a3}};
}

const char* enum_name(GLenum e) {
    switch (e) {
        case GL_LINES:
            return "GL_LINES";
        case GL_LINE_LOOP:
            return "GL_LINE_LOOP";
        case GL_POLYGON:
            return "GL_POLYGON";
        case GL_LIGHTING:
            return "GL_LIGHTING";
        case GL_STENCIL_TEST:
            return "GL_STENCIL_TEST";
        default:
            return nullptr;
    }
}

}  // namespace

void fake_gl_clear_log() {
    call_count = 0;
    std::memset(kind_counts, 0, sizeof kind_counts);
}

void fake_gl_reset() {
    fake_gl_clear_log();
    state = FakeGlState{};
    set_identity(state.modelview);
    set_identity(state.projection);
    state.matrix_mode = GL_MODELVIEW;
    glut = FakeGlutState{};
    glut.window_width = glut.window_height = 300;
    glut_answer_count = 0;
}

void fake_glut_set_get(GLenum query, int value) {
    for (int i = 0; i < glut_answer_count; ++i)
        if (glut_answers[i].query == query) {
            glut_answers[i].value = value;
            return;
        }
    if (glut_answer_count < GLUT_GET_CAPACITY) glut_answers[glut_answer_count++] = GlutAnswer{query, value};
}

const FakeGlState& fake_gl_state() {
    return state;
}
const FakeGlutState& fake_glut_state() {
    return glut;
}
long fake_gl_count(FakeGlKind kind) {
    return kind_counts[kind];
}
int fake_gl_call_count() {
    return call_count;
}
const FakeGlCall& fake_gl_call(int i) {
    return calls[i];
}

const char* fake_gl_trace(char* out, int capacity) {
    int used = 0;
    out[0] = '\0';
    for (int i = 0; i < call_count && used < capacity; ++i) {
        const FakeGlCall& c = calls[i];
        const char* name = KIND_NAMES[c.kind];
        const char* arg = (c.kind == FAKE_GL_BEGIN || c.kind == FAKE_GL_ENABLE || c.kind == FAKE_GL_DISABLE)
                              ? enum_name(c.code)
                              : nullptr;
        const int n = arg ? std::snprintf(out + used, static_cast<size_t>(capacity - used), "%s%s(%s)",
                                          used ? " " : "", name, arg)
                          : std::snprintf(out + used, static_cast<size_t>(capacity - used), "%s%s",
                                          used ? " " : "", name);
        if (n < 0) break;
        used += n;
    }
    return out;
}

// ---- the GL and GLUT entry points ----------------------------------------------------

extern "C" {

void glBegin(GLenum mode) {
    record(FAKE_GL_BEGIN, mode);
    if (state.inside_begin) ++state.errors;
    state.inside_begin = true;
}
void glEnd(void) {
    record(FAKE_GL_END);
    if (!state.inside_begin) ++state.errors;
    state.inside_begin = false;
}
void glVertex2d(GLdouble x, GLdouble y) {
    record(FAKE_GL_VERTEX, 0, x, y);
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    record(FAKE_GL_COLOR, 0, r, g, b, a);
}
void glLineWidth(GLfloat width) {
    record(FAKE_GL_LINE_WIDTH, 0, width);
    if (state.inside_begin || width <= 0) ++state.errors;
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    record(FAKE_GL_TRANSLATE, 0, x, y, z);
    if (state.inside_begin) ++state.errors;
    double* m = state.matrix_mode == GL_PROJECTION ? state.projection : state.modelview;
    for (int row = 0; row < 4; ++row) m[12 + row] += m[row] * x + m[4 + row] * y + m[8 + row] * z;
}
void glLoadIdentity(void) {
    record(FAKE_GL_LOAD_IDENTITY);
    if (state.inside_begin) ++state.errors;
    set_identity(state.matrix_mode == GL_PROJECTION ? state.projection : state.modelview);
}
void glMatrixMode(GLenum mode) {
    record(FAKE_GL_MATRIX_MODE, mode);
    state.matrix_mode = mode;
}
void glEnable(GLenum cap) {
    record(FAKE_GL_ENABLE, cap);
}
void glDisable(GLenum cap) {
    record(FAKE_GL_DISABLE, cap);
}
void glRasterPos2f(GLfloat x, GLfloat y) {
    record(FAKE_GL_RASTER_POS, 0, x, y);
}
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    record(FAKE_GL_VIEWPORT, 0, x, y, w, h);
    state.viewport[0] = x;
    state.viewport[1] = y;
    state.viewport[2] = w;
    state.viewport[3] = h;
}
void glClear(GLbitfield mask) {
    record(FAKE_GL_CLEAR, mask);
}
void glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    record(FAKE_GL_CLEAR_COLOR, 0, r, g, b, a);
    state.clear_colour[0] = r;
    state.clear_colour[1] = g;
    state.clear_colour[2] = b;
    state.clear_colour[3] = a;
}
void glFlush(void) {
    record(FAKE_GL_FLUSH);
}
void glStencilFunc(GLenum func, GLint, GLuint) {
    record(FAKE_GL_STENCIL, func);
}
void glStencilOp(GLenum, GLenum, GLenum pass) {
    record(FAKE_GL_STENCIL, pass);
}
void glColorMask(GLboolean, GLboolean, GLboolean, GLboolean) {
    record(FAKE_GL_STENCIL);
}

// GLUT_BITMAP_HELVETICA_18 is the address of this object on Linux.
void* glutBitmapHelvetica18 = nullptr;

void glutBitmapCharacter(void*, int character) {
    record(FAKE_GLUT_BITMAP_CHARACTER, static_cast<unsigned>(character));
}
void glutSwapBuffers(void) {
    record(FAKE_GLUT_SWAP_BUFFERS);
}
void glutInit(int* argc, char**) {
    record(FAKE_GLUT_INIT, argc ? static_cast<unsigned>(*argc) : 0);
}
void glutInitWindowSize(int width, int height) {
    record(FAKE_GLUT_INIT_WINDOW_SIZE, 0, width, height);
    glut.window_width = width;
    glut.window_height = height;
}
void glutInitDisplayMode(unsigned int mode) {
    record(FAKE_GLUT_INIT_DISPLAY_MODE, mode);
    glut.display_mode = mode;
}
int glutCreateWindow(const char* title) {
    record(FAKE_GLUT_CREATE_WINDOW);
    std::snprintf(glut.title, sizeof glut.title, "%s", title);
    return ++glut.windows_created;
}
void glutDisplayFunc(void (*callback)(void)) {
    record(FAKE_GLUT_DISPLAY_FUNC);
    glut.display = callback;
}
void glutReshapeFunc(void (*callback)(int, int)) {
    record(FAKE_GLUT_RESHAPE_FUNC);
    glut.reshape = callback;
}
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
    record(FAKE_GLUT_KEYBOARD_FUNC);
    glut.keyboard = callback;
}
void glutMainLoop(void) {  // returns at once: the tests drive the callbacks themselves
    record(FAKE_GLUT_MAIN_LOOP);
}
int glutGet(GLenum query) {
    record(FAKE_GLUT_GET, query);
    for (int i = 0; i < glut_answer_count; ++i)
        if (glut_answers[i].query == query) return glut_answers[i].value;
    return 0;
}

}  // extern "C"
