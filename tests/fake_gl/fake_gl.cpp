// The recording fake of GL and GLUT (see fake_gl.hpp): the C entry points and
// the query helpers. Owns the call, vertex, block and text logs, the running
// totals and the fake GL/GLUT state; only these entry points and reset write them.
#include "fake_gl.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int MATRIX_STACK_DEPTH = 32;  // GL guarantees at least 32 model-view entries
constexpr int ATTRIB_STACK_DEPTH = 16;  // GL guarantees at least 16
constexpr int GLUT_GET_CAPACITY = 16;
constexpr float LIT_RASTER_GREY = 0.04f;  // default material ambient 0.2 × light-model ambient 0.2

struct SavedAttrib {
    GLbitfield mask;
    FakeGlState state;
};

struct GlutAnswer {
    GLenum query;
    int value;
};

FakeGlState state;
FakeGlutState glut;
double modelview_stack[MATRIX_STACK_DEPTH][16];  // [depth - 1] mirrors state.modelview
double projection_stack[MATRIX_STACK_DEPTH][16];
SavedAttrib attrib_stack[ATTRIB_STACK_DEPTH];

FakeGlCall calls[FAKE_GL_CALL_CAPACITY];
int call_count;
FakeGlVertex vertices[FAKE_GL_VERTEX_CAPACITY];
int vertex_count;
FakeGlBlock blocks[FAKE_GL_BLOCK_CAPACITY];
int block_count;
long open_block;           // total index of the block being drawn, -1 outside
long open_block_vertices;  // vertices issued in it so far
FakeGlText texts[FAKE_GL_TEXT_CAPACITY];
int text_count;
bool text_open;  // the next character continues the last text
long kind_counts[FAKE_GL_KIND_COUNT];
FakeGlTotals totals;
bool overflowed;
GlutAnswer glut_answers[GLUT_GET_CAPACITY];
int glut_answer_count;

void set_identity(double m[16]) {
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

// m = m × r (column-major), as every GL matrix operation composes.
void post_multiply(double m[16], const double r[16]) {
    double out[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += m[k * 4 + row] * r[col * 4 + k];
            out[col * 4 + row] = sum;
        }
    std::memcpy(m, out, sizeof out);
}

double* current_matrix() {
    return state.matrix_mode == GL_PROJECTION ? state.projection : state.modelview;
}

void store_current_matrix() {
    if (state.matrix_mode == GL_PROJECTION)
        std::memcpy(projection_stack[state.projection_depth - 1], state.projection, sizeof state.projection);
    else
        std::memcpy(modelview_stack[state.modelview_depth - 1], state.modelview, sizeof state.modelview);
}

// The one place a call enters the log: counts always, stores while there is room.
FakeGlCall* record(FakeGlKind kind, unsigned code = 0, double a0 = 0, double a1 = 0, double a2 = 0,
                   double a3 = 0, const void* pointer = nullptr) {
    ++kind_counts[kind];
    ++totals.calls;
    if (call_count >= FAKE_GL_CALL_CAPACITY) {
        overflowed = true;
        return nullptr;
    }
    FakeGlCall* c = &calls[call_count++];
    *c = FakeGlCall{kind, code, {a0, a1, a2, a3}, pointer, -1, -1};
    return c;
}

// A matrix call is not allowed between glBegin and glEnd.
bool refuse_inside_begin() {
    if (!state.inside_begin) return false;
    ++state.errors;
    return true;
}

void reset_gl_state() {
    std::memset(&state, 0, sizeof state);
    set_identity(state.modelview);
    set_identity(state.projection);
    set_identity(modelview_stack[0]);
    set_identity(projection_stack[0]);
    state.modelview_depth = 1;
    state.projection_depth = 1;
    state.matrix_mode = GL_MODELVIEW;
    for (float& c : state.colour) c = 1.0f;
    for (float& c : state.raster_colour) c = 1.0f;
    state.line_width = 1.0f;
}

void reset_glut_state() {
    std::memset(&glut, 0, sizeof glut);
    glut.window_width = 300;  // GLUT's default window size
    glut.window_height = 300;
    glut.window_x = -1;
    glut.window_y = -1;
    glut_answer_count = 0;
}

bool* capability(GLenum cap) {
    switch (cap) {
        case GL_LIGHTING:
            return &state.lighting;
        case GL_DEPTH_TEST:
            return &state.depth_test;
        case GL_BLEND:
            return &state.blend;
        default:
            return nullptr;
    }
}

const char* enum_name(GLenum e) {
    switch (e) {
        case GL_POINTS:
            return "GL_POINTS";
        case GL_LINES:
            return "GL_LINES";
        case GL_LINE_LOOP:
            return "GL_LINE_LOOP";
        case GL_LINE_STRIP:
            return "GL_LINE_STRIP";
        case GL_TRIANGLES:
            return "GL_TRIANGLES";
        case GL_QUADS:
            return "GL_QUADS";
        case GL_POLYGON:
            return "GL_POLYGON";
        case GL_LIGHTING:
            return "GL_LIGHTING";
        case GL_DEPTH_TEST:
            return "GL_DEPTH_TEST";
        case GL_BLEND:
            return "GL_BLEND";
        case GL_MODELVIEW:
            return "GL_MODELVIEW";
        case GL_PROJECTION:
            return "GL_PROJECTION";
        default:
            return nullptr;
    }
}

const char* attrib_name(GLbitfield mask) {
    switch (mask) {
        case GL_CURRENT_BIT:
            return "GL_CURRENT_BIT";
        case GL_LINE_BIT:
            return "GL_LINE_BIT";
        case GL_ENABLE_BIT:
            return "GL_ENABLE_BIT";
        case GL_LIGHTING_BIT:
            return "GL_LIGHTING_BIT";
        case GL_ALL_ATTRIB_BITS:
            return "GL_ALL_ATTRIB_BITS";
        default:
            return nullptr;
    }
}

}  // namespace

// ---- query helpers ------------------------------------------------------------

void fake_gl_clear_log() {
    call_count = 0;
    vertex_count = 0;
    block_count = 0;
    text_count = 0;
    text_open = false;
    open_block = -1;
    open_block_vertices = 0;
    std::memset(kind_counts, 0, sizeof kind_counts);
    totals = FakeGlTotals{};
    overflowed = false;
}

void fake_gl_reset() {
    fake_gl_clear_log();
    reset_gl_state();
    reset_glut_state();
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
const FakeGlTotals& fake_gl_totals() {
    return totals;
}
bool fake_gl_overflowed() {
    return overflowed;
}
int fake_gl_call_count() {
    return call_count;
}
const FakeGlCall& fake_gl_call(int i) {
    return calls[i];
}
int fake_gl_vertex_count() {
    return vertex_count;
}
const FakeGlVertex& fake_gl_vertex(int i) {
    return vertices[i];
}
int fake_gl_block_count() {
    return block_count;
}
const FakeGlBlock& fake_gl_block(int i) {
    return blocks[i];
}
const FakeGlVertex* fake_gl_block_vertices(int i) {
    return &vertices[blocks[i].first_vertex];
}
int fake_gl_text_count() {
    return text_count;
}
const FakeGlText& fake_gl_text(int i) {
    return texts[i];
}

int fake_gl_find(FakeGlKind kind, int from) {
    for (int i = from < 0 ? 0 : from; i < call_count; ++i)
        if (calls[i].kind == kind) return i;
    return -1;
}

const char* fake_gl_kind_name(FakeGlKind kind) {
    static const char* const names[FAKE_GL_KIND_COUNT] = {"glBegin",
                                                          "glEnd",
                                                          "glVertex2d",
                                                          "glColor4f",
                                                          "glLineWidth",
                                                          "glPushMatrix",
                                                          "glPopMatrix",
                                                          "glTranslated",
                                                          "glRotated",
                                                          "glLoadIdentity",
                                                          "glMatrixMode",
                                                          "glEnable",
                                                          "glDisable",
                                                          "glIsEnabled",
                                                          "glPushAttrib",
                                                          "glPopAttrib",
                                                          "glRasterPos2f",
                                                          "glViewport",
                                                          "glClear",
                                                          "glClearColor",
                                                          "glFlush",
                                                          "glGet",
                                                          "glutBitmapCharacter",
                                                          "glutSwapBuffers",
                                                          "glutInit",
                                                          "glutInitWindowSize",
                                                          "glutInitWindowPosition",
                                                          "glutInitDisplayMode",
                                                          "glutCreateWindow",
                                                          "glutSetWindowTitle",
                                                          "glutDisplayFunc",
                                                          "glutReshapeFunc",
                                                          "glutKeyboardFunc",
                                                          "glutMainLoop",
                                                          "glutPostRedisplay",
                                                          "glutGet",
                                                          "glutSetOption"};
    return (kind >= 0 && kind < FAKE_GL_KIND_COUNT) ? names[kind] : "?";
}

const char* fake_gl_trace(char* out, int capacity, int first, int last) {
    if (capacity <= 0) return out;
    out[0] = '\0';
    int used = 0;
    if (last >= call_count) last = call_count - 1;
    for (int i = first < 0 ? 0 : first; i <= last; ++i) {
        const FakeGlCall& c = calls[i];
        if (c.kind == FAKE_GL_GET) continue;  // queries draw nothing and change nothing
        char word[64];
        const char* arg = nullptr;
        bool has_arg = false;
        switch (c.kind) {
            case FAKE_GL_BEGIN:
            case FAKE_GL_ENABLE:
            case FAKE_GL_DISABLE:
            case FAKE_GL_MATRIX_MODE:
                arg = enum_name(c.code);
                has_arg = true;
                break;
            case FAKE_GL_PUSH_ATTRIB:
                arg = attrib_name(c.code);
                has_arg = true;
                break;
            default:
                break;
        }
        if (has_arg && arg)
            std::snprintf(word, sizeof word, "%s(%s)", fake_gl_kind_name(c.kind), arg);
        else if (has_arg)
            std::snprintf(word, sizeof word, "%s(0x%x)", fake_gl_kind_name(c.kind), c.code);
        else
            std::snprintf(word, sizeof word, "%s", fake_gl_kind_name(c.kind));
        int n = std::snprintf(out + used, capacity - used, "%s%s", used ? " " : "", word);
        if (n < 0 || used + n >= capacity) {
            out[used] = '\0';  // cut at the last whole word
            break;
        }
        used += n;
    }
    return out;
}

void fake_gl_transform(const double m[16], double x, double y, double out[2]) {
    double w = m[3] * x + m[7] * y + m[15];
    if (w == 0) w = 1;  // only a degenerate matrix gives w = 0; report the raw product then
    out[0] = (m[0] * x + m[4] * y + m[12]) / w;
    out[1] = (m[1] * x + m[5] * y + m[13]) / w;
}

// ---- GL -----------------------------------------------------------------------
extern "C" {

void glBegin(GLenum mode) {
    FakeGlCall* c = record(FAKE_GL_BEGIN, mode);
    if (state.inside_begin) {
        ++state.errors;
        return;
    }
    state.inside_begin = true;
    state.begin_mode = mode;
    open_block = totals.blocks++;
    open_block_vertices = 0;
    if (block_count >= FAKE_GL_BLOCK_CAPACITY) {
        overflowed = true;
        return;
    }
    FakeGlBlock& b = blocks[block_count];
    b.mode = mode;
    b.first_vertex = vertex_count;
    b.vertex_count = 0;
    std::memcpy(b.colour, state.colour, sizeof b.colour);
    b.line_width = state.line_width;
    b.lighting = state.lighting;
    std::memcpy(b.modelview, state.modelview, sizeof b.modelview);
    b.closed = false;
    if (c) c->block = block_count;
    ++block_count;
}

void glEnd(void) {
    FakeGlCall* c = record(FAKE_GL_END);
    if (!state.inside_begin) {
        ++state.errors;
        return;
    }
    state.inside_begin = false;
    long n = open_block_vertices;
    switch (state.begin_mode) {
        case GL_LINES:
            totals.segments += n / 2;
            break;
        case GL_LINE_STRIP:
            totals.segments += n > 1 ? n - 1 : 0;
            break;
        case GL_LINE_LOOP:
            totals.segments += n > 1 ? n : 0;
            break;
        default:
            break;
    }
    if (open_block >= 0 && open_block < block_count) {
        blocks[open_block].closed = true;
        if (c) c->block = static_cast<int>(open_block);
    }
    open_block = -1;
}

void glVertex2d(GLdouble x, GLdouble y) {
    FakeGlCall* c = record(FAKE_GL_VERTEX, 0, x, y);
    if (!state.inside_begin) {
        ++state.errors;
        return;
    }
    ++totals.vertices;
    ++open_block_vertices;
    if (open_block < 0 || open_block >= block_count) return;  // the block itself was not stored
    FakeGlBlock& b = blocks[open_block];
    ++b.vertex_count;
    if (c) c->block = static_cast<int>(open_block);
    if (vertex_count >= FAKE_GL_VERTEX_CAPACITY) {
        overflowed = true;
        return;
    }
    double eye[2];
    double view[2];
    fake_gl_transform(state.modelview, x, y, eye);
    fake_gl_transform(state.projection, eye[0], eye[1], view);
    vertices[vertex_count] = FakeGlVertex{x, y, view[0], view[1], static_cast<int>(open_block)};
    if (c) c->vertex = vertex_count;
    ++vertex_count;
}

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    record(FAKE_GL_COLOR, 0, red, green, blue, alpha);
    state.colour[0] = red;
    state.colour[1] = green;
    state.colour[2] = blue;
    state.colour[3] = alpha;
}

void glLineWidth(GLfloat width) {
    record(FAKE_GL_LINE_WIDTH, 0, width);
    if (state.inside_begin || width <= 0) {
        ++state.errors;
        return;
    }
    state.line_width = width;
}

// The trace mask's stencil calls: accepted, not logged. The fake has no stencil
// buffer and glutGet says so, so the painter never uses the mask here.
void glStencilFunc(GLenum, GLint, GLuint) {}
void glStencilOp(GLenum, GLenum, GLenum) {}
void glColorMask(GLboolean, GLboolean, GLboolean, GLboolean) {}

void glPushMatrix(void) {
    record(FAKE_GL_PUSH_MATRIX);
    if (refuse_inside_begin()) return;
    bool projection = state.matrix_mode == GL_PROJECTION;
    int& depth = projection ? state.projection_depth : state.modelview_depth;
    if (depth >= MATRIX_STACK_DEPTH) {
        ++state.errors;  // GL_STACK_OVERFLOW
        return;
    }
    ++depth;
    store_current_matrix();
}

void glPopMatrix(void) {
    record(FAKE_GL_POP_MATRIX);
    if (refuse_inside_begin()) return;
    bool projection = state.matrix_mode == GL_PROJECTION;
    int& depth = projection ? state.projection_depth : state.modelview_depth;
    if (depth <= 1) {
        ++state.errors;  // GL_STACK_UNDERFLOW
        return;
    }
    --depth;
    if (projection)
        std::memcpy(state.projection, projection_stack[depth - 1], sizeof state.projection);
    else
        std::memcpy(state.modelview, modelview_stack[depth - 1], sizeof state.modelview);
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    record(FAKE_GL_TRANSLATE, 0, x, y, z);
    if (refuse_inside_begin()) return;
    double t[16];
    set_identity(t);
    t[12] = x;
    t[13] = y;
    t[14] = z;
    post_multiply(current_matrix(), t);
    store_current_matrix();
}

// The rotation GL defines: angle in degrees, counter-clockwise about the axis.
void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
    record(FAKE_GL_ROTATE, 0, angle, x, y, z);
    if (refuse_inside_begin()) return;
    double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) return;  // GL leaves the matrix alone for a zero axis
    x /= length;
    y /= length;
    z /= length;
    double radians = angle * 3.14159265358979323846 / 180.0;
    double c = std::cos(radians);
    double s = std::sin(radians);
    double r[16] = {x * x * (1 - c) + c,
                    y * x * (1 - c) + z * s,
                    x * z * (1 - c) - y * s,
                    0,
                    x * y * (1 - c) - z * s,
                    y * y * (1 - c) + c,
                    y * z * (1 - c) + x * s,
                    0,
                    x * z * (1 - c) + y * s,
                    y * z * (1 - c) - x * s,
                    z * z * (1 - c) + c,
                    0,
                    0,
                    0,
                    0,
                    1};
    post_multiply(current_matrix(), r);
    store_current_matrix();
}

void glLoadIdentity(void) {
    record(FAKE_GL_LOAD_IDENTITY);
    if (refuse_inside_begin()) return;
    set_identity(current_matrix());
    store_current_matrix();
}

void glMatrixMode(GLenum mode) {
    record(FAKE_GL_MATRIX_MODE, mode);
    if (refuse_inside_begin()) return;
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION) {
        ++state.errors;  // texture and colour matrices are not modelled
        return;
    }
    state.matrix_mode = mode;
}

void glEnable(GLenum cap) {
    record(FAKE_GL_ENABLE, cap);
    if (refuse_inside_begin()) return;
    if (bool* flag = capability(cap)) *flag = true;
}

void glDisable(GLenum cap) {
    record(FAKE_GL_DISABLE, cap);
    if (refuse_inside_begin()) return;
    if (bool* flag = capability(cap)) *flag = false;
}

GLboolean glIsEnabled(GLenum cap) {
    record(FAKE_GL_IS_ENABLED, cap);
    bool* flag = capability(cap);
    return (flag && *flag) ? GL_TRUE : GL_FALSE;
}

void glPushAttrib(GLbitfield mask) {
    record(FAKE_GL_PUSH_ATTRIB, mask);
    if (refuse_inside_begin()) return;
    if (state.attrib_depth >= ATTRIB_STACK_DEPTH) {
        ++state.errors;
        return;
    }
    attrib_stack[state.attrib_depth] = SavedAttrib{mask, state};
    ++state.attrib_depth;
}

// Restores the groups of the saved mask that the fake tracks.
void glPopAttrib(void) {
    record(FAKE_GL_POP_ATTRIB);
    if (refuse_inside_begin()) return;
    if (state.attrib_depth <= 0) {
        ++state.errors;
        return;
    }
    --state.attrib_depth;
    const SavedAttrib& saved = attrib_stack[state.attrib_depth];
    const FakeGlState& old = saved.state;
    GLbitfield mask = saved.mask;
    if (mask & GL_CURRENT_BIT) {
        std::memcpy(state.colour, old.colour, sizeof state.colour);
        std::memcpy(state.raster_position, old.raster_position, sizeof state.raster_position);
        std::memcpy(state.raster_colour, old.raster_colour, sizeof state.raster_colour);
        state.raster_set = old.raster_set;
    }
    if (mask & GL_LINE_BIT) state.line_width = old.line_width;
    if (mask & (GL_ENABLE_BIT | GL_LIGHTING_BIT)) state.lighting = old.lighting;
    if (mask & (GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT)) state.depth_test = old.depth_test;
    if (mask & (GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT)) state.blend = old.blend;
    if (mask & GL_COLOR_BUFFER_BIT)
        std::memcpy(state.clear_colour, old.clear_colour, sizeof state.clear_colour);
    if (mask & GL_TRANSFORM_BIT) state.matrix_mode = old.matrix_mode;
    if (mask & GL_VIEWPORT_BIT) std::memcpy(state.viewport, old.viewport, sizeof state.viewport);
}

// Latches position and colour: lit, the default material with no light gives
// the 0.04 grey; unlit, the current colour.
void glRasterPos2f(GLfloat x, GLfloat y) {
    record(FAKE_GL_RASTER_POS, 0, x, y);
    if (refuse_inside_begin()) return;
    double eye[2];
    fake_gl_transform(state.modelview, x, y, eye);
    fake_gl_transform(state.projection, eye[0], eye[1], state.raster_position);
    if (state.lighting) {
        state.raster_colour[0] = state.raster_colour[1] = state.raster_colour[2] = LIT_RASTER_GREY;
        state.raster_colour[3] = 1.0f;
    } else {
        std::memcpy(state.raster_colour, state.colour, sizeof state.raster_colour);
    }
    state.raster_set = true;
    text_open = false;
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    record(FAKE_GL_VIEWPORT, 0, x, y, width, height);
    state.viewport[0] = x;
    state.viewport[1] = y;
    state.viewport[2] = width;
    state.viewport[3] = height;
}

void glClear(GLbitfield mask) {
    record(FAKE_GL_CLEAR, mask);
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    record(FAKE_GL_CLEAR_COLOR, 0, red, green, blue, alpha);
    state.clear_colour[0] = red;
    state.clear_colour[1] = green;
    state.clear_colour[2] = blue;
    state.clear_colour[3] = alpha;
}

void glFlush(void) {
    record(FAKE_GL_FLUSH);
}

GLenum glGetError(void) {
    record(FAKE_GL_GET, 0);
    return GL_NO_ERROR;
}

}  // extern "C"

// The floating-point state glGetDoublev and glGetFloatv answer; returns the
// number of values written to params, 0 for a query the fake does not know.
static int query_values(GLenum pname, double* params) {
    switch (pname) {
        case GL_MODELVIEW_MATRIX:
            for (int i = 0; i < 16; ++i) params[i] = state.modelview[i];
            return 16;
        case GL_PROJECTION_MATRIX:
            for (int i = 0; i < 16; ++i) params[i] = state.projection[i];
            return 16;
        case GL_CURRENT_COLOR:
            for (int i = 0; i < 4; ++i) params[i] = state.colour[i];
            return 4;
        case GL_CURRENT_RASTER_COLOR:
            for (int i = 0; i < 4; ++i) params[i] = state.raster_colour[i];
            return 4;
        case GL_LINE_WIDTH:
            params[0] = state.line_width;
            return 1;
        case GL_COLOR_CLEAR_VALUE:
            for (int i = 0; i < 4; ++i) params[i] = state.clear_colour[i];
            return 4;
        case GL_VIEWPORT:
            for (int i = 0; i < 4; ++i) params[i] = state.viewport[i];
            return 4;
        default:
            return 0;
    }
}

extern "C" {

void glGetDoublev(GLenum pname, GLdouble* params) {
    record(FAKE_GL_GET, pname);
    if (query_values(pname, params) == 0) {
        params[0] = 0;
        ++state.errors;
    }
}

// Single precision, as real GL gives it (the fake keeps its matrices in double).
void glGetFloatv(GLenum pname, GLfloat* params) {
    record(FAKE_GL_GET, pname);
    double values[16];
    const int count = query_values(pname, values);
    if (count == 0) {
        params[0] = 0;
        ++state.errors;
    }
    for (int i = 0; i < count; ++i) params[i] = static_cast<GLfloat>(values[i]);
}

void glGetIntegerv(GLenum pname, GLint* params) {
    record(FAKE_GL_GET, pname);
    switch (pname) {
        case GL_MODELVIEW_STACK_DEPTH:
            params[0] = state.modelview_depth;
            break;
        case GL_PROJECTION_STACK_DEPTH:
            params[0] = state.projection_depth;
            break;
        case GL_MATRIX_MODE:
            params[0] = static_cast<GLint>(state.matrix_mode);
            break;
        case GL_ATTRIB_STACK_DEPTH:
            params[0] = state.attrib_depth;
            break;
        case GL_VIEWPORT:
            for (int i = 0; i < 4; ++i) params[i] = state.viewport[i];
            break;
        default:
            params[0] = 0;
            ++state.errors;
            break;
    }
}

// ---- GLUT ---------------------------------------------------------------------

// GLUT_BITMAP_HELVETICA_18 is the address of this object on this platform.
void* glutBitmapHelvetica18 = nullptr;

void glutBitmapCharacter(void* font, int character) {
    record(FAKE_GLUT_BITMAP_CHARACTER, static_cast<unsigned>(character), 0, 0, 0, 0, font);
    if (!text_open) {
        if (text_count >= FAKE_GL_TEXT_CAPACITY) {
            overflowed = true;
            return;
        }
        FakeGlText& t = texts[text_count++];
        t.text[0] = '\0';
        t.x = state.raster_position[0];
        t.y = state.raster_position[1];
        std::memcpy(t.colour, state.raster_colour, sizeof t.colour);
        t.font = font;
        text_open = true;
    }
    FakeGlText& t = texts[text_count - 1];
    size_t n = std::strlen(t.text);
    if (n + 1 < sizeof t.text) {
        t.text[n] = static_cast<char>(character);
        t.text[n + 1] = '\0';
    }
}

void glutSwapBuffers(void) {
    record(FAKE_GLUT_SWAP_BUFFERS);
    ++glut.swap_count;
}

void glutInit(int* pargc, char** argv) {
    record(FAKE_GLUT_INIT, pargc ? static_cast<unsigned>(*pargc) : 0, 0, 0, 0, 0, argv);
    ++glut.init_count;
    glut.init_argc = pargc ? *pargc : -1;
}

void glutInitWindowSize(int width, int height) {
    record(FAKE_GLUT_INIT_WINDOW_SIZE, 0, width, height);
    glut.window_width = width;
    glut.window_height = height;
}

void glutInitWindowPosition(int x, int y) {
    record(FAKE_GLUT_INIT_WINDOW_POSITION, 0, x, y);
    glut.window_x = x;
    glut.window_y = y;
}

void glutInitDisplayMode(unsigned int mode) {
    record(FAKE_GLUT_INIT_DISPLAY_MODE, mode);
    glut.display_mode = mode;
}

static void keep_title(const char* title) {
    std::snprintf(glut.title, sizeof glut.title, "%s", title ? title : "");
}

int glutCreateWindow(const char* title) {
    record(FAKE_GLUT_CREATE_WINDOW, 0, 0, 0, 0, 0, title);
    keep_title(title);
    return ++glut.windows_created;
}

void glutSetWindowTitle(const char* title) {
    record(FAKE_GLUT_SET_WINDOW_TITLE, 0, 0, 0, 0, 0, title);
    keep_title(title);
}

void glutSetIconTitle(const char* title) {
    record(FAKE_GLUT_SET_WINDOW_TITLE, 1, 0, 0, 0, 0, title);
}

void glutDisplayFunc(void (*callback)(void)) {
    record(FAKE_GLUT_DISPLAY_FUNC, 0, 0, 0, 0, 0, reinterpret_cast<const void*>(callback));
    glut.display = callback;
}

void glutReshapeFunc(void (*callback)(int, int)) {
    record(FAKE_GLUT_RESHAPE_FUNC, 0, 0, 0, 0, 0, reinterpret_cast<const void*>(callback));
    glut.reshape = callback;
}

void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
    record(FAKE_GLUT_KEYBOARD_FUNC, 0, 0, 0, 0, 0, reinterpret_cast<const void*>(callback));
    glut.keyboard = callback;
}

// The fake event loop returns at once; tests call the registered callbacks themselves.
void glutMainLoop(void) {
    record(FAKE_GLUT_MAIN_LOOP, 0);
    ++glut.main_loop_count;
}

void glutMainLoopEvent(void) {
    record(FAKE_GLUT_MAIN_LOOP, 1);
}
void glutLeaveMainLoop(void) {
    record(FAKE_GLUT_MAIN_LOOP, 2);
}

void glutPostRedisplay(void) {
    record(FAKE_GLUT_POST_REDISPLAY);
    ++glut.post_redisplay_count;
}

void glutSetOption(GLenum what, int value) {
    record(FAKE_GLUT_SET_OPTION, what, value);
}

// Answers set with fake_glut_set_get first; else the window size and 0.
int glutGet(GLenum query) {
    record(FAKE_GLUT_GET, query);
    for (int i = 0; i < glut_answer_count; ++i)
        if (glut_answers[i].query == query) return glut_answers[i].value;
    switch (query) {
        case GLUT_WINDOW_WIDTH:
        case GLUT_INIT_WINDOW_WIDTH:
            return glut.window_width;
        case GLUT_WINDOW_HEIGHT:
        case GLUT_INIT_WINDOW_HEIGHT:
            return glut.window_height;
        case GLUT_INIT_DISPLAY_MODE:
            return static_cast<int>(glut.display_mode);
        default:
            return 0;
    }
}

}  // extern "C"

namespace {
// The state is valid before the first reset, too.
struct InitialState {
    InitialState() { fake_gl_reset(); }
} initial_state;
}  // namespace
