// The recording fake of GL and GLUT (see fake_gl.hpp): the C entry points and
// the readers. Owns the call counts and the fake state; only these entry
// points and the resets write them.
#include "fake_gl.hpp"

#include <cstring>

static FakeGlState state;
static long counts[FAKE_GL_KIND_COUNT];

static void count(FakeGlKind kind = FAKE_GL_OTHER) {
    ++counts[kind];
}

static void load_identity_projection() {
    for (int i = 0; i < 16; ++i) state.projection[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

void fake_gl_reset() {
    std::memset(counts, 0, sizeof counts);
    state = FakeGlState{};
    load_identity_projection();
    state.matrix_mode = GL_MODELVIEW;
}

FakeGlState& fake_gl_state() {
    return state;
}
long fake_gl_count(FakeGlKind kind) {
    return counts[kind];
}
long fake_gl_total() {
    long total = 0;
    for (long c : counts) total += c;
    return total;
}

// ---- the GL and GLUT entry points ----------------------------------------------------

extern "C" {

void glBegin(GLenum) {
    count(FAKE_GL_BEGIN);
}
void glEnd(void) {
    count();
}
void glVertex2d(GLdouble, GLdouble) {
    count();
}
void glColor4f(GLfloat, GLfloat, GLfloat, GLfloat) {
    count();
}
void glLineWidth(GLfloat) {
    count();
}
void glLoadIdentity(void) {
    count();
    if (state.matrix_mode == GL_PROJECTION) load_identity_projection();
}
void glMatrixMode(GLenum mode) {
    count();
    state.matrix_mode = mode;
}
void glEnable(GLenum) {
    count();
}
void glDisable(GLenum) {
    count();
}
void glRasterPos2f(GLfloat, GLfloat) {
    count();
}
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    count();
    state.viewport[0] = x;
    state.viewport[1] = y;
    state.viewport[2] = w;
    state.viewport[3] = h;
}
void glClear(GLbitfield) {
    count(FAKE_GL_CLEAR);
}
void glClearColor(GLfloat, GLfloat, GLfloat, GLfloat) {
    count();
}
void glFlush(void) {
    count();
}
void glBitmap(GLsizei, GLsizei, GLfloat, GLfloat, GLfloat, GLfloat, const GLubyte*) {
    count();
}
void glPixelStorei(GLenum, GLint) {
    count();
}
void glPushClientAttrib(GLbitfield) {
    count();
}
void glPopClientAttrib(void) {
    count();
}

// GLUT_BITMAP_HELVETICA_18 is the address of this object on Linux.
void* glutBitmapHelvetica18 = nullptr;

void glutBitmapCharacter(void*, int) {
    count();
}
void glutSwapBuffers(void) {
    count(FAKE_GLUT_SWAP_BUFFERS);
}
void glutInit(int*, char**) {
    count();
}
void glutInitWindowSize(int, int) {
    count();
}
void glutInitDisplayMode(unsigned int) {
    count();
}
int glutCreateWindow(const char*) {
    count();
    return 1;
}
void glutDisplayFunc(void (*)(void)) {
    count();
}
void glutReshapeFunc(void (*)(int, int)) {
    count();
}
void glutKeyboardFunc(void (*)(unsigned char, int, int)) {
    count();
}
void glutMainLoop(void) {  // returns at once: the tests drive the callbacks themselves
    count();
}
int glutGet(GLenum) {  // no stencil buffer, no window size: the window tests need neither
    count();
    return 0;
}

}  // extern "C"
