// The page painter's line rule for the trace mask (see centre_lines.hpp).
#include "trace/centre_lines.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

constexpr double FIXED_ONE = 4294967296.0;  // 2^32: the stepper's fixed point
constexpr long long NEAR = 1 << 12;         // 2^-20 pixel in fixed point
constexpr double FAR = 1 << 24;             // pixels: beside any image, yet exact in fixed point

// The pixels of one line from (u0, v0) to (u1, v1), u0 < u1, u along the
// half's lines (x for the column half) and v across them.
static void add_run(double u0, double v0, double u1, double v1, int across, const TraceMaskHalf& half) {
    const double slope = (v1 - v0) / (u1 - u0);
    const double centre_to_low = across / 2.0 - 0.5;  // from the line to the centre of its lowest pixel
    double first = std::max(0.0, std::ceil(u0 - 0.5));
    double last = std::min(half.along - 1.0, std::ceil(u1 - 0.5) - 1);
    if (slope != 0) {
        // Only where the line is across the image: between the u where its
        // lowest pixel is `across` below the image and where it is past it,
        // give or take two steps for rounding (each step is still checked).
        const double below = u0 - 0.5 + (-across - v0 + centre_to_low) / slope;
        const double past = u0 - 0.5 + (half.across - v0 + centre_to_low) / slope;
        first = std::max(first, std::floor(std::min(below, past)) - 2);
        last = std::min(last, std::ceil(std::max(below, past)) + 2);
    }
    if (!(first <= last)) return;  // beside the image, or not a number
    // The lowest pixel's v, stepped in 32.32 fixed point: its floor is the
    // pixel unless it is within NEAR of a whole number, where the stepping's
    // error (below 2^-32 a step) might tip it; there it is worked out afresh.
    const int from = static_cast<int>(first);
    const int to = static_cast<int>(last);
    const double start = v0 + (from + 0.5 - u0) * slope - centre_to_low;
    if (!(std::fabs(start) < FAR)) return;  // far beside the image (a level line), or not a number
    long long low = std::llround(start * FIXED_ONE);
    const long long step = std::llround(slope * FIXED_ONE);
    set_trace_run(half, from, to, low, step, across, [&](int u, long long at) -> long long {
        if (static_cast<std::uint32_t>(at + NEAR) >= 2 * NEAR) return at >> 32;
        const double exact = std::floor(v0 + (u + 0.5 - u0) * slope - centre_to_low);
        if (!(exact < half.across) || exact + across <= 0) return half.across;  // beside the image
        return static_cast<long long>(exact);
    });
}

void add_centre_line(TraceMask& mask, double x0, double y0, double x1, double y1, int across) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double adx = std::fabs(dx);
    const double ady = std::fabs(dy);
    if (!(adx + ady > 0)) return;  // a point, or not a number
    if (adx >= ady) {
        const TraceMaskHalf columns = trace_mask_columns(mask);
        if (dx >= 0)
            add_run(x0, y0, x1, y1, across, columns);
        else
            add_run(x1, y1, x0, y0, across, columns);
    } else {
        const TraceMaskHalf rows = trace_mask_rows(mask);
        if (dy >= 0)
            add_run(y0, x0, y1, x1, across, rows);
        else
            add_run(y1, x1, y0, x0, across, rows);
    }
}
