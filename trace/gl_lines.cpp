// The window's GL line rule for the trace mask (see gl_lines.hpp), stepped in
// 32.32 fixed point.
#include "trace/gl_lines.hpp"

#include <algorithm>
#include <cmath>

constexpr double FIXED_ONE = 4294967296.0;  // 2^32: the stepper's fixed point

// A coordinate as GL takes it: the vertex in single precision, then window pixels.
static double window_coordinate(double view, int pixels) {
    return (static_cast<double>(static_cast<float>(view)) + 1.0) * pixels / 2.0;
}

// Snapped to GL's sub-pixel grid of 1/256 pixel.
static double snapped(double pixels) {
    return std::nearbyint(pixels * 256.0) / 256.0;
}

// Is the point inside the diamond |du| + |dv| < 1/2 about the centre of its pixel?
static bool in_diamond(double u, double v) {
    return std::fabs(u - std::floor(u) - 0.5) + std::fabs(v - std::floor(v) - 0.5) < 0.5;
}

// Does a 1-pixel line fill the pixel (column) of its first end? It does when
// it leaves a diamond there: when it starts inside one, or crosses the
// column's centre on its way.
static bool first_pixel_filled(double u, double v, bool forward) {
    const double centre = std::floor(u) + 0.5;
    return (forward ? u <= centre : u > centre) || in_diamond(u, v);
}

// And that of its last end: when it crosses the column's centre and does not
// end inside a diamond.
static bool last_pixel_filled(double u, double v, bool forward) {
    const double centre = std::floor(u) + 0.5;
    return (forward ? u > centre : u <= centre) && !in_diamond(u, v);
}

// The columns (rows, for a line along y) are those of a 1-pixel line under
// the diamond-exit rule: every one from its first end's to its last end's,
// those two as the rule decides. A line that leaves the viewport is cut
// where its centre line does, as GL cuts it (in a window with a depth buffer).
static void add_line(const RecordVertex& a, const RecordVertex& b, const TraceMaskHalf& columns,
                     const TraceMaskHalf& rows, int pixels_across) {
    const int width = rows.across;
    const int height = columns.across;
    RecordVertex first_end = {window_coordinate(a.x, width), window_coordinate(a.y, height)};
    RecordVertex last_end = {window_coordinate(b.x, width), window_coordinate(b.y, height)};
    if (!cut_segment(first_end, last_end, 0, width, 0, height)) return;  // as GL cuts it to the viewport
    const double ax = snapped(first_end.x);
    const double ay = snapped(first_end.y);
    const double bx = snapped(last_end.x);
    const double by = snapped(last_end.y);
    const bool along_x = std::fabs(bx - ax) >= std::fabs(by - ay);
    const double us = along_x ? ax : ay;  // first end
    const double vs = along_x ? ay : ax;
    const double ue = along_x ? bx : by;  // last end
    const double ve = along_x ? by : bx;
    if (us == ue) return;  // no length: GL draws nothing
    const double du = ue - us;
    const double dv = ve - vs;
    const bool forward = du > 0;
    const bool first_end_filled = first_pixel_filled(us, vs, forward);
    const bool last_end_filled = last_pixel_filled(ue, ve, forward);
    // The lowest and highest column, each end's column kept as the rule decides.
    int first = static_cast<int>(std::floor(forward ? us : ue));
    int last = static_cast<int>(std::floor(forward ? ue : us));
    if (!(forward ? first_end_filled : last_end_filled)) ++first;
    if (!(forward ? last_end_filled : first_end_filled)) --last;
    const TraceMaskHalf& half = along_x ? columns : rows;
    first = std::max(first, 0);
    last = std::min(last, half.along - 1);
    if (first > last) return;
    const double slope = dv / du;
    // The lowest pixel n across, n + 0.5 ≥ line(m + 0.5) - w/2, stepped in 32.32 fixed point.
    const double lowest = vs + slope * (first + 0.5 - us) - pixels_across / 2.0 - 0.5;
    long long low = std::llround(lowest * FIXED_ONE);
    const long long step = std::llround(slope * FIXED_ONE);
    const long long ceiling = (1LL << 32) - 1;
    set_trace_run(half, first, last, low, step, pixels_across,
                  [](int, long long at) { return (at + ceiling) >> 32; });
}

void add_trace_lines(TraceMask& mask, const RecordVertex* vertices, int count, float line_width) {
    const int pixels_across = std::clamp(static_cast<int>(std::lround(line_width)), 1, TRACE_MASK_MAX_ACROSS);
    const TraceMaskHalf columns = trace_mask_columns(mask);
    const TraceMaskHalf rows = trace_mask_rows(mask);
    for (int i = 0; i + 1 < count; i += 2)
        add_line(vertices[i], vertices[i + 1], columns, rows, pixels_across);
}
