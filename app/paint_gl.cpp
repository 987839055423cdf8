// The GL painter: paints frame_record into the window's current frame with
// fixed-function GL 1.1 in immediate mode. Owns the trace cache: the trace
// vertices whose union the trace mask holds from the frames before.
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
// long lines that mostly cover one another than the mask does. While a
// frame's trace vertices begin with those of the frame before (the next step
// of scene '4', same size), the mask keeps the old ones and takes only the new;
// anything else (a zoom, a resize, a scene key, traces that turn with the
// gear) starts it afresh. The data panel (ITEM_LAYER_PANEL), recorded after
// everything else, is painted after the traces, over them.
#include "app/app.hpp"
#include "app/trace_mask.hpp"
#include "record/record.hpp"

#include <GL/freeglut.h>

#include <cstring>

// Trace vertices the cache can hold (16 MB, touched only as far as used): the
// racks of scene '4' all in view up to about step 20,000 (about 50 vertices a step at
// w×15, z = 8); a frame with more paints its traces whole every time.
constexpr int TRACE_CACHE_CAPACITY = 1 << 20;

// ---- Global state ------------------------------------------------------------
// Written and read only by paint_frame_record, on the one thread of the window.
static RecordVertex cached_traces[TRACE_CACHE_CAPACITY];  // the trace vertices of the frame before
// Vertices in it, whose union the trace mask holds; -1: none.
static int cached_count = -1;
static float cached_width;      // pixels, of the cached traces' lines
static int cached_frame_width;  // pixels of the frame they were drawn for
static int cached_frame_height;

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
// (the panel's first or item_count), all one colour and width with their
// vertices in one block up to the panel's, or end when there is no such run
// to cache.
static int trace_run_start(int end) {
    int first = end;
    while (first > 0 && frame_record.items[first - 1].layer == ITEM_LAYER_TRACE &&
           frame_record.items[first - 1].kind == ItemKind::LINES)
        --first;
    if (first == end) return first;
    const RecordItem& head = frame_record.items[first];
    for (int i = first; i < end; ++i) {
        const RecordItem& item = frame_record.items[i];
        const int next = i + 1 < end ? frame_record.items[i + 1].first_vertex
               : end < frame_record.item_count ? frame_record.items[end].first_vertex
                                              : frame_record.vertex_count;
        if (!same_colour(item.colour, head.colour) || item.width != head.width ||
            item.first_vertex + item.vertex_count != next)
            return end;
    }
    return first;
}

// Do the frame's trace vertices begin with those of the frame before, as wide
// and in a frame of the same size, so that the mask holds their union? (The
// mask is painted in the frame's own trace colour.)
static bool traces_go_on(const RecordItem& head, const RecordVertex* traces, int count) {
    return cached_count >= 0 && cached_count <= count && cached_width == head.width &&
           cached_frame_width == frame_record.width && cached_frame_height == frame_record.height &&
           std::memcmp(cached_traces, traces, static_cast<size_t>(cached_count) * sizeof traces[0]) == 0;
}

// The traces from item first on, through the trace mask: only the new ones
// into it while they go on from the frame before and it holds those, else all
// of them into an emptied mask. A window too large for a mask gets them as GL
// lines.
static void paint_traces(PaintState& state, int first, int end) {
    const RecordItem& head = frame_record.items[first];
    const RecordVertex* traces = frame_record.vertices + head.first_vertex;
    const int past = end < frame_record.item_count ? frame_record.items[end].first_vertex : frame_record.vertex_count;
    const int count = past - head.first_vertex;
    const bool go_on = traces_go_on(head, traces, count);
    set_lighting(state, false);  // before glRasterPos: the mask is painted in the current colour
    glColor4f(head.colour.red, head.colour.green, head.colour.blue, head.colour.alpha);
    state.colour = head.colour;
    state.colour_set = true;
    if (go_on) {
        add_trace_lines(traces + cached_count, count - cached_count);
        paint_trace_mask();
    } else if (begin_trace_mask(frame_record.width, frame_record.height, head.width)) {
        add_trace_lines(traces, count);
        paint_trace_mask();
    } else {
        if (head.width != state.width) {
            glLineWidth(head.width);
            state.width = head.width;
        }
        glBegin(GL_LINES);
        for (int i = 0; i < count; ++i) glVertex2d(traces[i].x, traces[i].y);
        glEnd();
        cached_count = -1;  // no mask holds them
        return;
    }
    if (count > TRACE_CACHE_CAPACITY) {
        cached_count = -1;
        return;
    }
    const int kept = go_on ? cached_count : 0;
    std::memcpy(cached_traces + kept, traces + kept, static_cast<size_t>(count - kept) * sizeof traces[0]);
    cached_count = count;
    cached_width = head.width;
    cached_frame_width = frame_record.width;
    cached_frame_height = frame_record.height;
}

void paint_frame_record() {
    if (frame_record.item_count == 0) {
        cached_count = -1;
        return;
    }
    const int panel = panel_start();
    const int traces = trace_run_start(panel);
    if (traces == panel) {  // no traces: nothing to go on from
        cached_count = -1;
    }
    PaintState state = {true, false, Colour{0, 0, 0, 0}, 0.0f};
    glEnable(GL_LIGHTING);  // GL's default is off: the first frame's legend needs it too
    for (int i = 0; i < frame_record.item_count; ++i) {
        if (i == traces && traces < panel) {
            paint_traces(state, traces, panel);
            i = panel - 1;
            continue;
        }
        const RecordItem& item = frame_record.items[i];
        if (item.kind == ItemKind::TEXT)
            paint_text(state, item);
        else if (item.vertex_count > 0)
            paint_shape(state, item);
    }
}
