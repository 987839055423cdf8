// The trace racks of scenes 4 and 5 set into a one-bit mask for the page's painter.
#include "web/wasm/export.hpp"

#include "record/record.hpp"
#include "trace/centre_lines.hpp"
#include "trace/trace_mask.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

// ---- the trace racks as a mask ---------------------------------------------------
// Thousands of long trace lines cost the painter a store a pixel in
// JavaScript; here each step sets a few bits of a one-bit mask instead, and
// the painter paints the mask's set bits in the trace colour.

// May the trace items go into the mask: all lines, one colour, none wider
// than a step of the mask sets?
static bool traces_fit_mask(double ratio) {
    const RecordItem* head = nullptr;
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        if (item.layer != ITEM_LAYER_TRACE) continue;
        if (item.kind != ItemKind::LINES && item.kind != ItemKind::LINE_LOOP) return false;
        if (std::lround(item.width * ratio) > TRACE_MASK_MAX_ACROSS) return false;
        if (head == nullptr) head = &item;
        if (item.colour.red != head->colour.red || item.colour.green != head->colour.green ||
            item.colour.blue != head->colour.blue)
            return false;
    }
    return true;
}

// The canvas the kept mask was set for (kept_traces holds its racks).
struct MaskCanvas {
    int width;
    int height;
    double ratio;
};
static MaskCanvas kept_canvas;  // written and read by web_trace_mask alone
static TraceMask page_mask;     // written by web_trace_mask, read by the painter through its answer

// Sets the record's trace items into the mask, as painter.js sets lines.
static void add_trace_items(int width, int height, double ratio) {
    const double sx = width / 2.0;
    const double sy = height / 2.0;
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        if (item.layer != ITEM_LAYER_TRACE) continue;
        const int across = std::max(1, static_cast<int>(std::lround(item.width * ratio)));
        const RecordVertex* v = frame_record.vertices + item.first_vertex;
        const int count = item.vertex_count;
        const bool loop = item.kind == ItemKind::LINE_LOOP;
        for (int k = 0; loop ? k < count : k + 1 < count; k += loop ? 1 : 2) {
            const RecordVertex& a = v[k];
            const RecordVertex& b = v[k + 1 < count ? k + 1 : 0];
            add_centre_line(page_mask, (a.x + 1) * sx, (1 - a.y) * sy, (b.x + 1) * sx, (1 - b.y) * sy,
                            across);
        }
    }
}

// The record's trace items set as painter.js sets lines (trace/centre_lines.hpp)
// into a mask of a width × height canvas on which the record's pixel is ratio
// canvas pixels (line widths grow by it, rounded, at least 1). The mask is
// kept from frame to frame: when the scene left out the racks it holds
// (frame_record.traces.from > 0) only the new ones are added; when it left
// them out for another canvas, the frame is recorded again with all of them.
// Answers the address of the mask's rows, row y from the canvas's top, each
// ⌈width / 64⌉ 64-bit words, pixel x bit x % 64 of word x / 64; or 0 when
// painter.js must set the traces itself: a canvas larger than the mask, or
// trace items that are not all lines of one colour at most
// TRACE_MASK_MAX_ACROSS pixels wide (then no mask is kept).
WEB_EXPORT const std::uint64_t* web_trace_mask(int width, int height, double ratio) {
    const bool same_canvas =
        kept_canvas.width == width && kept_canvas.height == height && kept_canvas.ratio == ratio;
    if (frame_record.traces.from > 0 && !same_canvas) record_last_frame_whole();
    const bool go_on = frame_record.traces.from > 0;
    if (!traces_fit_mask(ratio) || (!go_on && !clear_trace_mask(page_mask, width, height))) {
        kept_traces.recorded = false;
        return nullptr;
    }
    add_trace_items(width, height, ratio);
    merge_trace_halves(page_mask);
    kept_traces = frame_record.traces;
    kept_traces.recorded = frame_record.traces.recorded && !frame_record.overflowed;
    kept_canvas = {width, height, ratio};
    return trace_mask_image(page_mask).rows;
}

TraceMaskImage page_trace_image() {
    return trace_mask_image(page_mask);
}

// The colour of the record's trace racks as painter.js writes a pixel (red in
// the lowest byte, opaque), or 0 when the frame has none; the painter paints
// the mask in it when every rack of the frame is in the kept mask.
WEB_EXPORT unsigned web_trace_colour() {
    const RecordTraces& traces = frame_record.traces;
    if (!traces.recorded) return 0;
    const auto byte = [](float c) { return static_cast<unsigned>(std::lround(255.0 * c)); };
    return 0xff000000u | byte(traces.colour.blue) << 16 | byte(traces.colour.green) << 8 |
           byte(traces.colour.red);
}
