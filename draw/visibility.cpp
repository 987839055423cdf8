// What can be seen (see visibility.hpp): from the device's matrix and the
// frame's size, decides conservatively whether a rectangle, a segment, a disc,
// a part of an axis or an arc of a circle can light a pixel. Owns no state;
// every answer errs towards "visible", which costs only time.
#include "draw/visibility.hpp"

#include "record/device.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Pixels added to the line width for the margin: a wide line reaches half its
// width beyond its ideal segment, and a rasteriser rounds by under a pixel.
constexpr double MARGIN_PIXELS = 2.0;

// Every coordinate here is a double, and so is every vertex the device records:
// the slack allows for rounding of a few units of 2e-16 of the largest term.
constexpr double ROUNDING_SLACK = 1e-12;

// 2π to a double's precision, not 2·PI or 2·CIRCLE_PI: the angles folded with
// it come from atan2 and acos, which measure in true radians.
constexpr double TWO_PI = 2 * 3.14159265358979323846;

// Do [low, high] and [-limit, limit] overlap?
bool overlaps(double low, double high, double limit) {
    return high >= -limit && low <= limit;
}

double normalised_angle(double a) {
    a = std::fmod(a, TWO_PI);
    return a < 0 ? a + TWO_PI : a;
}

// The angles where a + amplitude·cos(θ - phase) = ±limit, added to cuts.
void add_crossings(double a, double amplitude, double phase, double limit, double* cuts, int& count) {
    if (!(amplitude > 0)) return;
    for (int sign = -1; sign <= 1; sign += 2) {
        const double c = (sign * limit - a) / amplitude;
        if (c < -1 || c > 1) continue;
        const double turn = std::acos(c);
        cuts[count++] = normalised_angle(phase + turn);
        cuts[count++] = normalised_angle(phase - turn);
    }
}

}  // namespace

bool read_view_box(double line_width_pixels, ViewBox& box) {
    const FrameSettings& frame = device_frame();
    if (!frame.leave_out_unseen || frame.width <= 0 || frame.height <= 0) return false;
    const DeviceMatrix& m = device_matrix();
    if (!(std::isfinite(m.xx) && std::isfinite(m.xy) && std::isfinite(m.x0) && std::isfinite(m.yx) &&
          std::isfinite(m.yy) && std::isfinite(m.y0)))
        return false;  // a zoom gone past the doubles: nothing can be judged
    const double margin = std::fmax(line_width_pixels, device_line_width()) + MARGIN_PIXELS;
    box = ViewBox{m.xx,
                  m.xy,
                  m.x0,
                  m.yx,
                  m.yy,
                  m.y0,
                  1 + 2 * margin / frame.width,
                  1 + 2 * margin / frame.height};  // two view units span the frame
    return true;
}

// The rectangle's image is the parallelogram about the image of its centre
// with half-extents |xx|·w + |xy|·h across x and |yx|·w + |yy|·h across y.
bool rectangle_visible(const ViewBox& box, double x_low, double y_low, double x_high, double y_high) {
    const double cx = 0.5 * (x_low + x_high);
    const double cy = 0.5 * (y_low + y_high);
    const double w = 0.5 * (x_high - x_low);
    const double h = 0.5 * (y_high - y_low);
    const double vx = box.xx * cx + box.xy * cy + box.x0;
    const double vy = box.yx * cx + box.yy * cy + box.y0;
    const double reach_x = std::fabs(box.xx) * w + std::fabs(box.xy) * h;
    const double reach_y = std::fabs(box.yx) * w + std::fabs(box.yy) * h;
    const double size =
        std::fabs(vx) + std::fabs(vy) + reach_x + reach_y + std::fabs(box.x0) + std::fabs(box.y0);
    if (!std::isfinite(size)) return true;  // cannot judge: keep it
    const double slack = ROUNDING_SLACK * size;
    return std::fabs(vx) <= box.limit_x + slack + reach_x && std::fabs(vy) <= box.limit_y + slack + reach_y;
}

// The segment lies in the rectangle its ends span; within that, it is cut
// against the box like any recorded line (cut_segment: a segment passing a
// corner of the view is left out).
bool segment_visible(const ViewBox& box, const ProfilePoint& a, const ProfilePoint& b) {
    const double ax = box.xx * a.x + box.xy * a.y + box.x0;
    const double ay = box.yx * a.x + box.yy * a.y + box.y0;
    const double bx = box.xx * b.x + box.xy * b.y + box.x0;
    const double by = box.yx * b.x + box.yy * b.y + box.y0;
    const double size =
        std::fabs(ax) + std::fabs(ay) + std::fabs(bx) + std::fabs(by) + std::fabs(box.x0) + std::fabs(box.y0);
    if (!std::isfinite(size)) return true;
    const double lx = box.limit_x + ROUNDING_SLACK * size;
    const double ly = box.limit_y + ROUNDING_SLACK * size;
    if ((ax > lx && bx > lx) || (ax < -lx && bx < -lx) || (ay > ly && by > ly) || (ay < -ly && by < -ly))
        return false;  // both ends beyond one bound
    if ((std::fabs(ax) <= lx && std::fabs(ay) <= ly) || (std::fabs(bx) <= lx && std::fabs(by) <= ly))
        return true;  // an end inside
    // Does any of it survive the cut to the box?
    RecordVertex first = {ax, ay};
    RecordVertex last = {bx, by};
    return cut_segment(first, last, -lx, lx, -ly, ly);
}

// A disc in view units: its centre, its half extents along the view's axes
// (a turned or stretched view stretches its reach) and the size that scales
// the rounding slack.
struct ViewDisc {
    double x, y, rx, ry, size;
};

static ViewDisc view_disc(const ViewBox& box, double x, double y, double reach) {
    ViewDisc d;
    d.x = box.xx * x + box.xy * y + box.x0;
    d.y = box.yx * x + box.yy * y + box.y0;
    d.rx = reach * std::hypot(box.xx, box.xy);
    d.ry = reach * std::hypot(box.yx, box.yy);
    d.size = std::fabs(d.x) + std::fabs(d.y) + d.rx + d.ry + std::fabs(box.x0) + std::fabs(box.y0);
    return d;
}

bool disc_visible(const ViewBox& box, double x, double y, double reach) {
    const ViewDisc d = view_disc(box, x, y, reach);
    if (!std::isfinite(d.size)) return true;
    const double slack = ROUNDING_SLACK * d.size;
    return overlaps(d.x - d.rx, d.x + d.rx, box.limit_x + slack) &&
           overlaps(d.y - d.ry, d.y + d.ry, box.limit_y + slack);
}

bool disc_inside(const ViewBox& box, double x, double y, double reach) {
    const ViewDisc d = view_disc(box, x, y, reach);
    if (!std::isfinite(d.size)) return false;
    const double slack = ROUNDING_SLACK * d.size;
    return std::fabs(d.x) + d.rx <= box.limit_x - slack && std::fabs(d.y) + d.ry <= box.limit_y - slack;
}

// Along the axis, view x = x0 + xx·s and view y = y0 + yx·s: each bound of the
// box cuts the range of s where the point is inside.
bool axis_visible_range(const ViewBox& box, double length, double& first, double& last) {
    first = 0;
    last = length;
    if (!std::isfinite(length) || length < 0) return true;  // cannot judge: all of it
    const double start[2] = {box.x0, box.y0};
    const double slope[2] = {box.xx, box.yx};
    const double limit[2] = {box.limit_x, box.limit_y};
    for (int axis = 0; axis < 2; ++axis) {
        const double bound =
            limit[axis] + ROUNDING_SLACK * (std::fabs(start[axis]) + std::fabs(slope[axis]) * length);
        if (slope[axis] == 0) {
            if (std::fabs(start[axis]) > bound) return false;
            continue;
        }
        double a = (-bound - start[axis]) / slope[axis];
        double b = (bound - start[axis]) / slope[axis];
        if (a > b) std::swap(a, b);
        first = std::fmax(first, a);
        last = std::fmin(last, b);
    }
    return first <= last;
}

// On the circle, view x = x0 + A·cos(θ - φ) with A = |r|·|(xx, xy)|, and the
// same for y: at most eight angles where the circle crosses a bound of the
// box. Between two neighbouring crossings the circle is wholly in or out, and
// the middle of the piece tells which.
int circle_visible_arcs(const ViewBox& box, double r, double arcs[ARC_CAPACITY][2]) {
    const double ax = std::hypot(r * box.xx, r * box.xy);
    const double ay = std::hypot(r * box.yx, r * box.yy);
    const double bound_x = box.limit_x + ROUNDING_SLACK * (std::fabs(box.x0) + ax);
    const double bound_y = box.limit_y + ROUNDING_SLACK * (std::fabs(box.y0) + ay);
    if (!std::isfinite(bound_x) || !std::isfinite(bound_y)) {
        arcs[0][0] = 0;
        arcs[0][1] = TWO_PI;
        return 1;
    }
    double cuts[ARC_CAPACITY + 2];
    int count = 0;
    cuts[count++] = 0;
    add_crossings(box.x0, ax, std::atan2(r * box.xy, r * box.xx), bound_x, cuts, count);
    add_crossings(box.y0, ay, std::atan2(r * box.yy, r * box.yx), bound_y, cuts, count);
    cuts[count++] = TWO_PI;
    for (int i = 1; i < count; ++i)  // insertion sort of at most ten angles
        for (int j = i; j > 0 && cuts[j - 1] > cuts[j]; --j) std::swap(cuts[j], cuts[j - 1]);
    int arc_count = 0;
    for (int i = 0; i + 1 < count; ++i) {
        const double mid = 0.5 * (cuts[i] + cuts[i + 1]);
        const double px = r * std::cos(mid);
        const double py = r * std::sin(mid);
        const bool inside = std::fabs(box.xx * px + box.xy * py + box.x0) <= bound_x &&
                            std::fabs(box.yx * px + box.yy * py + box.y0) <= bound_y;
        if (!inside) continue;
        if (arc_count > 0 && arcs[arc_count - 1][1] == cuts[i]) {
            arcs[arc_count - 1][1] = cuts[i + 1];  // continues the last arc
        } else if (arc_count < ARC_CAPACITY) {
            arcs[arc_count][0] = cuts[i];
            arcs[arc_count][1] = cuts[i + 1];
            ++arc_count;
        }
    }
    return arc_count;
}

// Piece i reaches the arc [a0, a1] (shifted by a whole turn) when
// i·pitch + span ≥ a0 - pad and i·pitch ≤ a1 + pad. Pieces may start anywhere
// up to a turn past 0 (the circle's last period ends at 2π + its span), so each
// arc is also looked for one turn on.
int visible_pieces(const double arcs[ARC_CAPACITY][2], int arc_count, double pitch, double span, double pad,
                   int first, int last, IndexRun runs[RUN_CAPACITY]) {
    int run_count = 0;
    for (int a = 0; a < arc_count; ++a)
        for (double shift : {-TWO_PI, 0.0, TWO_PI}) {
            const double low = std::fmax(std::ceil((arcs[a][0] + shift - pad - span) / pitch), first);
            const double high = std::fmin(std::floor((arcs[a][1] + shift + pad) / pitch), last);
            if (!(low <= high) || run_count >= RUN_CAPACITY) continue;
            runs[run_count++] = IndexRun{static_cast<int>(low), static_cast<int>(high)};
        }
    std::sort(runs, runs + run_count, [](const IndexRun& x, const IndexRun& y) { return x.first < y.first; });
    int merged = 0;
    for (int i = 0; i < run_count; ++i) {
        if (merged > 0 && runs[i].first <= runs[merged - 1].last + 1)
            runs[merged - 1].last = std::max(runs[merged - 1].last, runs[i].last);
        else
            runs[merged++] = runs[i];
    }
    return merged;
}
