// The GL painter: paints frame_record into the window's current frame with
// fixed-function GL 1.1 in immediate mode. Writes kept_traces: the trace
// racks whose union the trace mask holds from the frames before.
//
// GL calls it makes: glEnable/glDisable(GL_LIGHTING), glColor4f, glLineWidth,
// glBegin(GL_LINES | GL_LINE_LOOP | GL_POLYGON), glVertex2d, glEnd,
// glRasterPos2f, GLUT's glutBitmapCharacter (Helvetica 18), and through the
// trace mask glBitmap with its pixel-store settings. Both matrices are the
// identity (begin_frame, reshape): vertices are view units already. Lines and
// polygons are drawn unlit in their own colour; legend text is drawn lit,
// which with no light source switched on gives the window's near-black legend
// (0.04 grey: the default ambient light 0.2 times the default material's 0.2).
// The picture and page painters paint it black.
//
// The trace racks (ITEM_LAYER_TRACE) are one colour and drawn after
// everything else, so their union is all that shows of them: their lines are
// rasterised into the trace mask (trace_mask.cpp), a bit a pixel, and the mask
// is painted in one pass. A software GL spends far longer on thousands of
// long lines that mostly cover one another than the mask does. The mask is
// kept from frame to frame: while the next frame draws its traces in the same
// view (the next steps of scene '4', same size and zoom), the scene records
// only the racks of the steps the mask lacks and they are added to it;
// anything else (a step back, a zoom, a resize, a scene key, another gear,
// traces that turn with the gear) records them all and starts the mask
// afresh. The data panel (ITEM_LAYER_PANEL), recorded after
// everything else, is painted after the traces, over them.
#include "app/app.hpp"
#include "app/trace_mask.hpp"
#include "record/record.hpp"

#include <GL/freeglut.h>

// The GL state set last in this frame, so that each is set only when it
// changes (a software renderer pays for every change).
struct PaintState {
    bool lit;
    bool colour_set;
    Colour colour;
    float width;
};

static GLenum gl_mode(ItemKind kind) {
    if (kind == ItemKind::LINE_LOOP) return GL_LINE_LOOP;
    if (kind == ItemKind::POLYGON) return GL_POLYGON;
    return GL_LINES;
}

static void set_lighting(PaintState& state, bool lit) {
    if (state.lit == lit) return;
    if (lit)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    state.lit = lit;
}

static void paint_text(PaintState& state, const RecordItem& item) {
    const RecordVertex& at = frame_record.vertices[item.first_vertex];
    set_lighting(state, true);
    glRasterPos2f(static_cast<float>(at.x), static_cast<float>(at.y));
    for (const char* c = frame_record.text + item.text_offset; *c != '\0'; ++c)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, static_cast<signed char>(*c));
}

static void paint_shape(PaintState& state, const RecordItem& item) {
    set_lighting(state, false);
    const Colour& c = item.colour;
    if (!state.colour_set || !same_colour(c, state.colour)) {
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

// The index of the first item of the trailing run of panel items, or item_count.
static int panel_start() {
    int first = frame_record.item_count;
    while (first > 0 && frame_record.items[first - 1].layer == ITEM_LAYER_PANEL) --first;
    return first;
}

// The index of the first item of the run of trace items that ends at item end
// (the panel's first or item_count), all lines of one colour and width with
// their vertices in one block up to the panel's: end when there are none, -1
// when there are trace items that are not such a run.
static int trace_run_start(int end) {
    int first = end;
    while (first > 0 && frame_record.items[first - 1].layer == ITEM_LAYER_TRACE &&
           frame_record.items[first - 1].kind == ItemKind::LINES)
        --first;
    for (int i = 0; i < first; ++i)
        if (frame_record.items[i].layer == ITEM_LAYER_TRACE) return -1;
    if (first == end) return first;
    const RecordItem& head = frame_record.items[first];
    for (int i = first; i < end; ++i) {
        const RecordItem& item = frame_record.items[i];
        const int next = i + 1 < end                     ? frame_record.items[i + 1].first_vertex
                         : end < frame_record.item_count ? frame_record.items[end].first_vertex
                                                         : frame_record.vertex_count;
        if (!same_colour(item.colour, head.colour) || item.width != head.width ||
            item.first_vertex + item.vertex_count != next)
            return -1;
    }
    return first;
}

// The traces from item first to end, through the trace mask: while the scene
// left out the racks the kept mask holds (frame_record.traces.from > 0), only
// the new ones into it, else all of them into an emptied mask. A window too
// large for a mask gets them as GL lines, and then no mask is kept.
static void paint_traces(PaintState& state, int first, int end) {
    const RecordTraces& traces = frame_record.traces;
    const RecordVertex* vertices = frame_record.vertices;
    int count = 0;
    if (first < end) {
        vertices += frame_record.items[first].first_vertex;
        const int past =
            end < frame_record.item_count ? frame_record.items[end].first_vertex : frame_record.vertex_count;
        count = past - frame_record.items[first].first_vertex;
    }
    const float width = first < end ? frame_record.items[first].width : 0.0f;
    const bool go_on = traces.from > 0;
    if (!go_on && count == 0) {  // no rack to show and nothing kept: the mask's width is not known yet
        kept_traces.recorded = false;
        return;
    }
    set_lighting(state, false);  // before glRasterPos: the mask is painted in the current colour
    const Colour& c = traces.colour;
    glColor4f(c.red, c.green, c.blue, c.alpha);
    state.colour = c;
    state.colour_set = true;
    if (!go_on && !begin_window_traces(frame_record.width, frame_record.height)) {
        if (width != state.width) {
            glLineWidth(width);
            state.width = width;
        }
        glBegin(GL_LINES);
        for (int i = 0; i < count; ++i) glVertex2d(vertices[i].x, vertices[i].y);
        glEnd();
        kept_traces.recorded = false;  // no mask holds them
        return;
    }
    add_window_traces(vertices, count, width);
    paint_trace_mask();
    kept_traces = traces;
    kept_traces.recorded = !frame_record.overflowed;  // a frame cut short keeps nothing for the next
}

void paint_frame_record() {
    const int panel = panel_start();
    const int traces = frame_record.traces.recorded ? trace_run_start(panel) : -1;
    if (traces < 0) kept_traces.recorded = false;  // traces painted as items, or none: no mask kept
    PaintState state = {true, false, Colour{0, 0, 0, 0}, 0.0f};
    glEnable(GL_LIGHTING);  // GL's default is off: the first frame's legend needs it too
    for (int i = 0; i <= frame_record.item_count; ++i) {
        if (i == traces) {
            paint_traces(state, traces, panel);
            i = panel;
        }
        if (i == frame_record.item_count) break;
        const RecordItem& item = frame_record.items[i];
        if (item.kind == ItemKind::TEXT)
            paint_text(state, item);
        else if (item.vertex_count > 0)
            paint_shape(state, item);
    }
}
