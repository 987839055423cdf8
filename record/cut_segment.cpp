// Cutting a segment to a box (see record.hpp): the device cuts every line to
// its guard square, the GL painter's trace mask cuts lines to the window, and
// the drawing layer's segment_visible asks whether any of a segment reaches the view.
#include "record/record.hpp"

// Is the point in the box (false for a coordinate that is not a number)?
static bool inside(const RecordVertex& p, double x_low, double x_high, double y_low, double y_high) {
    return p.x >= x_low && p.x <= x_high && p.y >= y_low && p.y <= y_high;
}

bool cut_segment(RecordVertex& a, RecordVertex& b, double x_low, double x_high, double y_low, double y_high) {
    // Most segments lie wholly inside, where the cut below leaves both ends as they are.
    if (inside(a, x_low, x_high, y_low, y_high) && inside(b, x_low, x_high, y_low, y_high)) return true;
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - x_low, x_high - a.x, a.y - y_low, y_high - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;  // parallel to this edge and outside it (or not finite)
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    if (!(t0 <= t1)) return false;  // NaN: nothing sensible to draw
    const RecordVertex start = a;
    if (t0 > 0) a = RecordVertex{start.x + t0 * dx, start.y + t0 * dy};
    if (t1 < 1) b = RecordVertex{start.x + t1 * dx, start.y + t1 * dy};
    return true;
}
