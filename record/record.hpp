// The frame record: what one frame of a scene draws, as a list of drawing
// items in painting order with their vertices already placed in view units
// (double precision), ready for any painter. The drawing layer records into
// it through an immediate-mode device with its own double-precision matrix
// stack; the window's GL painter, the picture painter (PNG, SVG, PDF) and the
// web page's canvas painter each read it and nothing else.
//
// View units: -1 … 1 across the viewport on both axes, +y up (GL's clip
// square with no projection). A painter maps x to (x + 1)/2 · width pixels
// from the left and y to (1 - y)/2 · height pixels from the top.
#pragma once

// Colours are opaque; alpha is carried for GL and always 0.
struct Colour {
    float red;
    float green;
    float blue;
    float alpha;
};

inline bool same_colour(const Colour& a, const Colour& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

enum class ItemKind {
    LINES,      // vertex pairs, each an independent segment
    LINE_LOOP,  // a closed polyline through the vertices
    POLYGON,    // a filled convex polygon
    TEXT,       // one legend line: the text from its raster position (one vertex), Helvetica 18 px
};

struct RecordVertex {
    double x;  // view units
    double y;
};

// One item: a run of vertices drawn with one colour and one line width.
struct RecordItem {
    ItemKind kind;
    Colour colour;     // TEXT items are always black
    float width;       // line width in pixels (1, 2 or 4), whatever the window's size
    int first_vertex;  // index into frame_record.vertices
    int vertex_count;  // TEXT: 1, the raster position
    int text_offset;   // TEXT: index into frame_record.text of its terminated string; else -1
    int layer;         // ITEM_LAYER_PLAIN, ITEM_LAYER_TRACE for the trace racks of scenes '4' and '5',
                       // ITEM_LAYER_PANEL for the data panel
};

constexpr int ITEM_LAYER_PLAIN = 0;
constexpr int ITEM_LAYER_TRACE = 1;  // one colour, drawn after the plain items
constexpr int ITEM_LAYER_PANEL = 2;  // the data panel's box and text, drawn last over everything, traces too

// Capacities: the heaviest frame (scene '5' after thousands of steps, every
// trace rack in view) stays well below; what does not fit is dropped and
// counted in overflowed, never written past the end.
constexpr int RECORD_ITEM_CAPACITY = 1 << 16;
constexpr int RECORD_VERTEX_CAPACITY = 1 << 21;
constexpr int RECORD_TEXT_CAPACITY = 1 << 12;

// Everything a frame's drawing depends on besides the model and the scene state.
struct FrameSettings {
    int width;  // pixels
    int height;
    float line_width;  // pixels the frame starts with (the window's GL width carries between frames)
    bool
        leave_out_unseen;  // true for every frame a user sees; false only to compare against everything drawn
};

// The trace racks of a frame (scenes '4' and '5', ITEM_LAYER_TRACE): the
// racks of steps from … end - 1 were recorded, drawn in `view` (everything
// their pixels depend on besides the step: the device's matrix, the rolls,
// the line width, the zoom, the gear taken, the frame's settings), in colour.
// from > 0 when the racks of the steps before were left out because a
// painter keeps them in a trace mask of that view (kept_traces).
constexpr int TRACE_VIEW_NUMBERS = 15;
struct RecordTraces {
    bool recorded;  // false: the frame has no trace racks
    int from;
    int end;
    Colour colour;
    double view[TRACE_VIEW_NUMBERS];
};

// Are the two traces drawn in the same view (number for number)?
bool same_trace_view(const RecordTraces& a, const RecordTraces& b);

struct FrameRecord {
    int width;  // pixels of the frame the record was made for
    int height;
    int item_count;
    int vertex_count;
    int text_used;
    bool overflowed;      // something did not fit and was dropped
    int walked_unseen;    // line segments drawn wholly outside the guard square and dropped: wasted work
    RecordTraces traces;  // the trace racks it holds (recorded false until a scene draws them)
    RecordItem items[RECORD_ITEM_CAPACITY];
    RecordVertex vertices[RECORD_VERTEX_CAPACITY];
    char text[RECORD_TEXT_CAPACITY];
};

// ---- process-wide record -----------------------------------------------------
// Emptied by begin_record at the start of every frame, filled by the drawing
// layer during it, read by one painter after it. Nothing else writes it.
extern FrameRecord frame_record;
// The trace racks whose pixels a painter keeps in its trace mask from the
// frames before: written by the painters that keep one (the window's GL
// painter, the page's mask) after each frame, recorded false when they keep
// none; read by the scenes, which record only the racks from its end on when
// a frame's traces are drawn in its view. Nothing else writes it, so
// --render and the clips always record every rack.
extern RecordTraces kept_traces;

// Starts a new frame with those settings: the record emptied, the device's
// matrix stack back to the identity, its line width the frame's starting width.
void begin_record(const FrameSettings& frame);

// Cuts the segment a–b to the box [x_low, x_high] × [y_low, y_high]
// (Liang–Barsky, in double precision): the parts outside are dropped and the
// ends moved onto the box. False when none of it is inside, or when it is not
// finite.
bool cut_segment(RecordVertex& a, RecordVertex& b, double x_low, double x_high, double y_low, double y_high);
