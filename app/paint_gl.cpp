// The GL painter: paints frame_record into the window's current frame with
// fixed-function GL 1.1 in immediate mode. Owns no state between frames.
//
// GL calls it makes: glEnable/glDisable(GL_LIGHTING), glColor4f, glLineWidth,
// glBegin(GL_LINES | GL_LINE_LOOP | GL_POLYGON), glVertex2d, glEnd,
// glRasterPos2f and GLUT's glutBitmapCharacter (Helvetica 18). Both matrices
// are the identity (begin_frame, reshape): vertices are view units already.
// Lines and polygons are drawn unlit in their own colour; legend text is
// drawn lit, which with no light source switched on gives the window's
// near-black legend (0.04 grey).
#include "app/app.hpp"
#include "record/record.hpp"

#include <GL/freeglut.h>

namespace {

// The GL state set last in this frame, so that each is set only when it
// changes (a software renderer pays for every change).
struct PaintState {
    bool lit;
    bool colour_set;
    Colour colour;
    float width;
};

GLenum gl_mode(ItemKind kind) {
    if (kind == ItemKind::LINE_LOOP) return GL_LINE_LOOP;
    if (kind == ItemKind::POLYGON) return GL_POLYGON;
    return GL_LINES;
}

void set_lighting(PaintState& state, bool lit) {
    if (state.lit == lit) return;
    if (lit)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    state.lit = lit;
}

void paint_text(PaintState& state, const RecordItem& item) {
    const RecordVertex& at = frame_record.vertices[item.first_vertex];
    set_lighting(state, true);
    glRasterPos2f(static_cast<float>(at.x), static_cast<float>(at.y));
    for (const char* c = frame_record.text + item.text_offset; *c != '\0'; ++c)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, static_cast<signed char>(*c));
}

void paint_shape(PaintState& state, const RecordItem& item) {
    set_lighting(state, false);
    const Colour& c = item.colour;
    if (!state.colour_set || c.red != state.colour.red || c.green != state.colour.green ||
        c.blue != state.colour.blue || c.alpha != state.colour.alpha) {
        glColor4f(c.red, c.green, c.blue, c.alpha);
        state.colour = c;
        state.colour_set = true;
    }
    if (item.kind != ItemKind::POLYGON && item.width != state.width) {
        glLineWidth(item.width);
        state.width = item.width;
    }
    glBegin(gl_mode(item.kind));
    const RecordVertex* v = frame_record.vertices + item.first_vertex;
    for (int i = 0; i < item.vertex_count; ++i) glVertex2d(v[i].x, v[i].y);
    glEnd();
}

}  // namespace

void paint_frame_record() {
    if (frame_record.item_count == 0) return;
    PaintState state = {true, false, Colour{0, 0, 0, 0}, 0.0f};
    glEnable(GL_LIGHTING);  // GL's default is off: the first frame's legend needs it too
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        if (item.kind == ItemKind::TEXT)
            paint_text(state, item);
        else if (item.vertex_count > 0)
            paint_shape(state, item);
    }
}
