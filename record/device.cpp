// The immediate-mode device (see device.hpp): owns the matrix stack, the
// current colour, line width and layer, and the item being recorded. Clips
// what it records to the guard square in double precision.
#include "record/device.hpp"
#include "record/append.hpp"

#include <cmath>

// View units either side of the centre that every recorded line stays within:
// a window's worth beyond the view, so a line cut there ends out of sight
// whatever its width, and every coordinate a painter gets is small.
constexpr double GUARD = 2.0;
// Vertices of the copy an outline or polygon is cut from: the largest the
// figures draw, a circle of 120 (CIRCLE_SEGMENTS), fits twice over, and a
// convex polygon gains at most one vertex a guard edge. A longer item is cut
// in the record's free vertices instead (move_cut_down): slower, the same cut.
constexpr int CUT_CAPACITY = 256;

constexpr DeviceMatrix IDENTITY = {1, 0, 0, 0, 1, 0};

// ---- Global state ------------------------------------------------------------
static DeviceMatrix matrices[DEVICE_MATRIX_DEPTH];    // [0 … depth - 1]; the top is the current matrix
static int depth = 1;                                 // matrices in use, ≥ 1
static Colour colour_now = {0, 0, 0, 0};              // colour of the items begun from now on
static float width_now = 1.0f;                        // pixels; the frame's starting width at begin_record
static FrameSettings frame_now = {0, 0, 1.0f, true};  // the frame being recorded
static int layer_now = ITEM_LAYER_PLAIN;
static RecordItem* open_item = nullptr;  // between device_begin and device_end, else nullptr

static bool inside_guard(const RecordVertex& v) {
    return std::fabs(v.x) <= GUARD && std::fabs(v.y) <= GUARD;
}

// The point (x, y) of the current frame in view units.
static RecordVertex placed(double x, double y) {
    const DeviceMatrix& m = matrices[depth - 1];
    return RecordVertex{m.xx * x + m.xy * y + m.x0, m.yx * x + m.yy * y + m.y0};
}

// Cuts the segment a–b to the guard square; false when none of it is inside.
static bool clip_segment(RecordVertex& a, RecordVertex& b) {
    return cut_segment(a, b, -GUARD, GUARD, -GUARD, GUARD);
}

// One Sutherland–Hodgman pass: the part of the polygon on the inner side of
// the edge coordinate[axis] = sign·GUARD, into out (capacity vertices).
static int cut_polygon(const RecordVertex* in, int count, int axis, double sign, RecordVertex* out,
                       int capacity) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
        if (n + 2 > capacity) {
            frame_record.overflowed = true;
            break;
        }
        const RecordVertex& a = in[i];
        const RecordVertex& b = in[(i + 1) % count];
        const double da = GUARD - sign * (axis == 0 ? a.x : a.y);  // ≥ 0 inside
        const double db = GUARD - sign * (axis == 0 ? b.x : b.y);
        if (da >= 0) out[n++] = a;
        if ((da >= 0) != (db >= 0)) {
            const double t = da / (da - db);  // da and db differ in sign: no division by zero
            out[n++] = RecordVertex{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
        }
    }
    return n;
}

// The open item's vertices, copied out and taken back from the record.
static int take_vertices(RecordVertex* out) {
    const int count = open_item->vertex_count;
    for (int i = 0; i < count; ++i) out[i] = frame_record.vertices[open_item->first_vertex + i];
    frame_record.vertex_count = open_item->first_vertex;
    open_item->vertex_count = 0;
    return count;
}

// Do all the open item's vertices lie inside the guard?
static bool open_item_inside_guard() {
    for (int i = 0; i < open_item->vertex_count; ++i)
        if (!inside_guard(frame_record.vertices[open_item->first_vertex + i])) return false;
    return true;
}

static void append_vertex(const RecordVertex& v) {
    if (RecordVertex* slot = next_record_vertex()) {
        *slot = v;
        ++open_item->vertex_count;
    }
}

// The segments of the closed outline loop[0 … count-1], each cut, appended to the open item.
static void append_cut_loop(const RecordVertex* loop, int count) {
    for (int i = 0; i < count; ++i) {
        RecordVertex a = loop[i];
        RecordVertex b = loop[(i + 1) % count];
        if (!clip_segment(a, b)) continue;
        append_vertex(a);
        append_vertex(b);
    }
}

// For an item longer than a copy holds, cut from the record itself: its
// vertex_count vertices written after its own count (in the record's free
// vertices) take the place of its own.
static void move_cut_down(int count) {
    const int first = open_item->first_vertex;
    const int n = open_item->vertex_count;
    for (int i = 0; i < n; ++i) frame_record.vertices[first + i] = frame_record.vertices[first + count + i];
    frame_record.vertex_count = first + n;
}

// An outline that leaves the guard becomes independent segments, each cut.
static void finish_line_loop() {
    if (open_item_inside_guard()) return;
    open_item->kind = ItemKind::LINES;
    if (open_item->vertex_count > CUT_CAPACITY) {
        const int count = open_item->vertex_count;
        open_item->vertex_count = 0;
        append_cut_loop(frame_record.vertices + open_item->first_vertex, count);
        move_cut_down(count);
        return;
    }
    RecordVertex loop[CUT_CAPACITY];
    const int count = take_vertices(loop);
    append_cut_loop(loop, count);
}

// A polygon that leaves the guard is cut to it (convex stays convex).
static void finish_polygon() {
    if (open_item_inside_guard()) return;
    if (open_item->vertex_count > CUT_CAPACITY / 2) {
        for (int pass = 0; pass < 4; ++pass) {  // the same passes as below
            const int count = open_item->vertex_count;
            RecordVertex* spare = frame_record.vertices + frame_record.vertex_count;
            open_item->vertex_count = cut_polygon(frame_record.vertices + open_item->first_vertex, count,
                                                  pass / 2, pass % 2 == 0 ? 1 : -1, spare,
                                                  RECORD_VERTEX_CAPACITY - frame_record.vertex_count);
            move_cut_down(count);
        }
        return;
    }
    RecordVertex a[CUT_CAPACITY];
    RecordVertex b[CUT_CAPACITY];
    int count = take_vertices(a);
    count = cut_polygon(a, count, 0, 1, b, CUT_CAPACITY);
    count = cut_polygon(b, count, 0, -1, a, CUT_CAPACITY);
    count = cut_polygon(a, count, 1, 1, b, CUT_CAPACITY);
    count = cut_polygon(b, count, 1, -1, a, CUT_CAPACITY);
    for (int i = 0; i < count; ++i) append_vertex(a[i]);
}

void device_reset(const FrameSettings& frame) {
    frame_now = frame;
    width_now = frame.line_width;
    matrices[0] = IDENTITY;
    depth = 1;
    layer_now = ITEM_LAYER_PLAIN;
    open_item = nullptr;
}

void device_push_matrix() {
    if (depth >= DEVICE_MATRIX_DEPTH) {
        frame_record.overflowed = true;
        return;
    }
    matrices[depth] = matrices[depth - 1];
    ++depth;
}

void device_pop_matrix() {
    if (depth <= 1) {
        frame_record.overflowed = true;
        return;
    }
    --depth;
}

void device_load_identity() {
    matrices[depth - 1] = IDENTITY;
}

void device_translate(double dx, double dy) {
    DeviceMatrix& m = matrices[depth - 1];
    m.x0 += m.xx * dx + m.xy * dy;
    m.y0 += m.yx * dx + m.yy * dy;
}

void device_rotate(double angle) {
    DeviceMatrix& m = matrices[depth - 1];
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const DeviceMatrix old = m;
    m.xx = old.xx * c + old.xy * s;
    m.xy = -old.xx * s + old.xy * c;
    m.yx = old.yx * c + old.yy * s;
    m.yy = -old.yx * s + old.yy * c;
}

const FrameSettings& device_frame() {
    return frame_now;
}

const DeviceMatrix& device_matrix() {
    return matrices[depth - 1];
}

void device_colour(const Colour& colour) {
    colour_now = colour;
}

void device_line_width(float pixels) {
    width_now = pixels;
}

float device_line_width() {
    return width_now;
}

void device_layer(int layer) {
    layer_now = layer;
}

void device_begin(ItemKind kind) {
    if (kind == ItemKind::LINES && frame_record.item_count > 0) {
        RecordItem& last = frame_record.items[frame_record.item_count - 1];
        if (last.kind == ItemKind::LINES && same_colour(last.colour, colour_now) && last.width == width_now &&
            last.layer == layer_now && last.first_vertex + last.vertex_count == frame_record.vertex_count) {
            open_item = &last;  // the same draw for every painter: carry on with it
            return;
        }
    }
    open_item = next_record_item();
    if (open_item == nullptr) return;
    *open_item = RecordItem{kind, colour_now, width_now, frame_record.vertex_count, 0, -1, layer_now};
}

void device_vertex(double x, double y) {
    if (open_item == nullptr) return;
    RecordVertex v = placed(x, y);
    if (open_item->kind != ItemKind::LINES || open_item->vertex_count % 2 == 0) {
        append_vertex(v);  // a segment's first end waits for its second to be cut with it
        return;
    }
    RecordVertex& a = frame_record.vertices[open_item->first_vertex + open_item->vertex_count - 1];
    if (clip_segment(a, v)) {
        append_vertex(v);
    } else {  // wholly outside the guard: its first end goes too
        --open_item->vertex_count;
        --frame_record.vertex_count;
        ++frame_record.walked_unseen;
    }
}

void device_end() {
    if (open_item == nullptr) return;
    if (open_item->kind == ItemKind::LINES && open_item->vertex_count % 2 == 1) {
        --open_item->vertex_count;  // an unpaired end draws nothing
        --frame_record.vertex_count;
    }
    if (open_item->kind == ItemKind::LINE_LOOP) finish_line_loop();
    if (open_item->kind == ItemKind::POLYGON) finish_polygon();
    if (open_item->vertex_count == 0 && open_item == &frame_record.items[frame_record.item_count - 1]) {
        --frame_record.item_count;  // nothing left to draw
    }
    open_item = nullptr;
}

void device_text(double x, double y, const char* text) {
    const int offset = store_record_text(text);
    if (offset < 0) return;
    RecordItem* item = next_record_item();
    if (item == nullptr) return;
    const Colour black = {0, 0, 0, 0};
    *item = RecordItem{ItemKind::TEXT, black, width_now, frame_record.vertex_count, 0, offset, layer_now};
    open_item = item;
    append_vertex(placed(x, y));
    open_item = nullptr;
}
