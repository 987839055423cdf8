// What the view can show (see visibility.hpp): reads the GL's matrices,
// viewport and line width and decides, conservatively, whether a rectangle, a
// segment, a part of an axis or an arc of a circle can light a pixel. Owns no
// state; every answer errs towards "visible", which costs only time.
#include "draw/visibility.hpp"

#include <GL/gl.h>

#include <cmath>

namespace {

// Pixels added to the line width for the margin: a wide line reaches half its
// width beyond its ideal segment, and the rasteriser rounds by under a pixel.
constexpr double MARGIN_PIXELS = 4.0;

// GL works in single precision (vertices, matrices, clip coordinates), so a
// clip coordinate may be off by a few units of 6e-8 of the largest term it is
// summed from. The slack allows 4e-6 of that size: tens of times the rounding.
constexpr double FLOAT_SLACK = 4e-6;

constexpr double TWO_PI = 2 * 3.14159265358979323846;

// clip = P × M (column-major 4×4), as GL applies projection after model-view.
void compose(const double p[16], const double m[16], double out[16]) {
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += p[k * 4 + row] * m[col * 4 + k];
            out[col * 4 + row] = sum;
        }
}

// Takes the x and y rows of the clip map for points (x, y, 0, 1); false when
// w is not 1 there (a perspective or degenerate map that this test does not judge).
bool take_clip_map(const double c[16], ViewBox& box) {
    if (c[3] != 0 || c[7] != 0 || c[15] != 1) return false;
    box.xx = c[0];
    box.xy = c[4];
    box.x0 = c[12];
    box.yx = c[1];
    box.yy = c[5];
    box.y0 = c[13];
    return true;
}

bool finite_map(const ViewBox& box) {
    return std::isfinite(box.xx) && std::isfinite(box.xy) && std::isfinite(box.x0) && std::isfinite(box.yx) &&
           std::isfinite(box.yy) && std::isfinite(box.y0);
}

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
    if (!draw_only_visible) return false;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] <= 0 || viewport[3] <= 0) return false;  // no view to judge by: draw everything
    GLdouble width = 1;
    glGetDoublev(GL_LINE_WIDTH, &width);
    if (!(width >= line_width_pixels)) width = line_width_pixels;
    const double margin = width + MARGIN_PIXELS;
    box.limit_x = 1 + 2 * margin / viewport[2];  // two clip units span the viewport
    box.limit_y = 1 + 2 * margin / viewport[3];
    glGetDoublev(GL_PROJECTION_MATRIX, box.projection);
    double m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    double c[16];
    compose(box.projection, m, c);
    return take_clip_map(c, box) && finite_map(box);
}

void refresh_view_box(ViewBox& box) {
    double m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    double c[16];
    compose(box.projection, m, c);
    if (!take_clip_map(c, box) || !finite_map(box)) {
        // Cannot happen with the affine moves the drawing layer makes; if it
        // did, an endless box makes everything count as visible.
        box.limit_x = box.limit_y = HUGE_VAL;
    }
}

bool rectangle_visible(const ViewBox& box, double x_low, double y_low, double x_high, double y_high) {
    const double xs[2] = {x_low, x_high};
    const double ys[2] = {y_low, y_high};
    double low_x = HUGE_VAL, high_x = -HUGE_VAL, low_y = HUGE_VAL, high_y = -HUGE_VAL;
    double size_x = 0, size_y = 0;
    for (double x : xs)
        for (double y : ys) {
            const double cx = box.xx * x + box.xy * y + box.x0;
            const double cy = box.yx * x + box.yy * y + box.y0;
            low_x = std::fmin(low_x, cx);
            high_x = std::fmax(high_x, cx);
            low_y = std::fmin(low_y, cy);
            high_y = std::fmax(high_y, cy);
            size_x = std::fmax(size_x, std::fabs(box.xx * x) + std::fabs(box.xy * y) + std::fabs(box.x0));
            size_y = std::fmax(size_y, std::fabs(box.yx * x) + std::fabs(box.yy * y) + std::fabs(box.y0));
        }
    if (!std::isfinite(size_x) || !std::isfinite(size_y)) return true;  // cannot judge: keep it
    return overlaps(low_x, high_x, box.limit_x + FLOAT_SLACK * size_x) &&
           overlaps(low_y, high_y, box.limit_y + FLOAT_SLACK * size_y);
}

// The segment lies in the rectangle its ends span; a segment that only passes
// near a corner of the view is kept, which is merely conservative.
bool segment_visible(const ViewBox& box, const ProfilePoint& a, const ProfilePoint& b) {
    const double ax = box.xx * a.x + box.xy * a.y + box.x0;
    const double ay = box.yx * a.x + box.yy * a.y + box.y0;
    const double bx = box.xx * b.x + box.xy * b.y + box.x0;
    const double by = box.yx * b.x + box.yy * b.y + box.y0;
    const double size_x = std::fabs(box.xx) * std::fmax(std::fabs(a.x), std::fabs(b.x)) +
                          std::fabs(box.xy) * std::fmax(std::fabs(a.y), std::fabs(b.y)) + std::fabs(box.x0);
    const double size_y = std::fabs(box.yx) * std::fmax(std::fabs(a.x), std::fabs(b.x)) +
                          std::fabs(box.yy) * std::fmax(std::fabs(a.y), std::fabs(b.y)) + std::fabs(box.y0);
    if (!std::isfinite(size_x) || !std::isfinite(size_y)) return true;
    return overlaps(std::fmin(ax, bx), std::fmax(ax, bx), box.limit_x + FLOAT_SLACK * size_x) &&
           overlaps(std::fmin(ay, by), std::fmax(ay, by), box.limit_y + FLOAT_SLACK * size_y);
}

// Along the axis, clip x = x0 + xx·s and clip y = y0 + yx·s: each bound of the
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
            limit[axis] + FLOAT_SLACK * (std::fabs(start[axis]) + std::fabs(slope[axis]) * length);
        if (slope[axis] == 0) {
            if (std::fabs(start[axis]) > bound) return false;
            continue;
        }
        double a = (-bound - start[axis]) / slope[axis];
        double b = (bound - start[axis]) / slope[axis];
        if (a > b) {
            const double swap = a;
            a = b;
            b = swap;
        }
        first = std::fmax(first, a);
        last = std::fmin(last, b);
    }
    return first <= last;
}

// On the circle, clip x = x0 + A·cos(θ - φ) with A = |r|·|(xx, xy)|, and the
// same for y: at most eight angles where the circle crosses a bound of the
// box. Between two neighbouring crossings the circle is wholly in or out, and
// the middle of the piece tells which.
int circle_visible_arcs(const ViewBox& box, double r, double arcs[ARC_CAPACITY][2]) {
    const double ax = std::hypot(r * box.xx, r * box.xy);
    const double ay = std::hypot(r * box.yx, r * box.yy);
    const double bound_x = box.limit_x + FLOAT_SLACK * (std::fabs(box.x0) + ax);
    const double bound_y = box.limit_y + FLOAT_SLACK * (std::fabs(box.y0) + ay);
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
        for (int j = i; j > 0 && cuts[j - 1] > cuts[j]; --j) {
            const double swap = cuts[j];
            cuts[j] = cuts[j - 1];
            cuts[j - 1] = swap;
        }
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

bool disc_visible(const ViewBox& box, double x, double y, double reach) {
    const double cx = box.xx * x + box.xy * y + box.x0;
    const double cy = box.yx * x + box.yy * y + box.y0;
    const double rx = reach * std::hypot(box.xx, box.xy);
    const double ry = reach * std::hypot(box.yx, box.yy);
    const double size_x = std::fabs(box.xx * x) + std::fabs(box.xy * y) + std::fabs(box.x0) + rx;
    const double size_y = std::fabs(box.yx * x) + std::fabs(box.yy * y) + std::fabs(box.y0) + ry;
    if (!std::isfinite(size_x) || !std::isfinite(size_y)) return true;
    return overlaps(cx - rx, cx + rx, box.limit_x + FLOAT_SLACK * size_x) &&
           overlaps(cy - ry, cy + ry, box.limit_y + FLOAT_SLACK * size_y);
}
