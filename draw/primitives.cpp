// The primitives: solid, wide and dash-dot lines, circles, discs, the axis
// cross, the turn about a point and legend text, recorded through the device
// in double precision, leaving out what visibility.hpp says cannot be seen.
// Owns scale_factor and the colour table; keeps no other state between calls.
#include "draw/draw.hpp"
#include "draw/visibility.hpp"
#include "record/device.hpp"

#include <algorithm>
#include <cmath>

// ---- Global state ------------------------------------------------------------
double scale_factor = START_SCALE;  // view units per model unit; written by the scene state (scenes/)

double zoomed_scale(double scale, int presses) {
    for (int k = 0; k < presses; ++k) scale *= ZOOM_STEP;
    for (int k = 0; k > presses; --k) scale /= ZOOM_STEP;
    return scale;
}

const Colour red = {1, 0, 0, 0};
const Colour green = {0, 1, 0, 0};
const Colour blue = {0, 0, 1, 0};
const Colour magenta = {1, 0, 1, 0};
const Colour black = {0, 0, 0, 0};  // the zero colour; nothing writes it

constexpr float WIDTH_AFTER_WIDE_LINE = 2.0f;  // pixels; every wide polyline and cross leaves this width

// The dash-dot circle's counts grow with the radius: from this radius (10^7
// view units) on, 10π·ρ and 75·ρ would come near the int range, so larger
// radii take the counts of this one.
constexpr double DASH_DOT_RADIUS_LIMIT = 1e7;
// The same for the dash-dot line's period count 6·L - 1.
constexpr double DASH_DOT_LENGTH_LIMIT = 1e7;

// A dash of a dash-dot circle is a chain of equal angular sub-steps, which
// shrink below a pixel as the circle grows (0.2 px at view radius 5, 10^-8 px
// at the deepest zoom). A chord is drawn across as many whole sub-steps as fit
// in this many pixels, its ends on the sub-step points: the same curve to far
// under a pixel, at a cost bounded by the length in view.
constexpr double CHORD_PIXELS = 0.25;

// The 120-gon through P(i) = (R·cos(i·step), R·sin(i·step)) about the centre,
// as a filled polygon or a closed outline; left out when it cannot be seen.
static void circle_polygon(const ProfilePoint& centre, double radius, const Colour& colour, ItemKind kind) {
    const double r = to_screen(radius);
    const double step = 2 * CIRCLE_PI / CIRCLE_SEGMENTS;
    const double cx = to_screen(centre.x);
    const double cy = to_screen(centre.y);
    const double a = std::fabs(r);
    ViewBox box;
    if (read_view_box(0, box) && !rectangle_visible(box, cx - a, cy - a, cx + a, cy + a)) return;
    device_colour(colour);
    device_begin(kind);
    for (int i = 0; i < CIRCLE_SEGMENTS; ++i)
        device_vertex(cx + r * std::cos(i * step), cy + r * std::sin(i * step));
    device_end();
}

// A view unit is 400 pixels of the 800-pixel window, and the device takes view
// units back again, so the conversion is v × 400 / 400: the value itself.
double to_screen(double v) {
    return v;
}

void draw_line(const ProfilePoint& a, const ProfilePoint& b, const Colour& colour) {
    ViewBox box;
    if (read_view_box(0, box) && !segment_visible(box, a, b)) return;
    device_colour(colour);
    device_begin(ItemKind::LINES);
    device_vertex(to_screen(a.x), to_screen(a.y));
    device_vertex(to_screen(b.x), to_screen(b.y));
    device_end();
}

// Segments points[k-1]–points[k], k = 1 … last, 4 pixels wide (0.01 view
// units), as one item; last ≤ 0 draws nothing. Segments that cannot be seen
// are left out.
void draw_wide_polyline(const ProfilePoint* points, int last, const Colour& colour) {
    if (last < 1) return;
    const double s = scale_factor;
    device_line_width(static_cast<float>(to_screen(POLYLINE_WIDTH) * PIXELS_PER_VIEW_UNIT));
    ViewBox box;
    const bool leave_out = read_view_box(0, box);
    device_colour(colour);
    device_begin(ItemKind::LINES);
    for (int k = 1; k <= last; ++k) {
        const ProfilePoint a = {s * points[k - 1].x, s * points[k - 1].y};
        const ProfilePoint b = {s * points[k].x, s * points[k].y};
        if (leave_out && !segment_visible(box, a, b)) continue;
        device_vertex(to_screen(a.x), to_screen(a.y));
        device_vertex(to_screen(b.x), to_screen(b.y));
    }
    device_end();
    device_line_width(WIDTH_AFTER_WIDE_LINE);
}

// A dash-dot line from a to b. One period is 15 parts: dash 9, gap 2, dot 2,
// gap 2; n periods and a closing dash of 9 parts fill the length exactly,
// n·u + d = L, so the line begins and ends with a dash. The periods stay near
// 1/6 view unit from L = 0.5 upwards; shorter lines get 2 periods. Each
// period is placed at its own i·u along the line; only those near the view
// are drawn.
void draw_dash_dot_line(const ProfilePoint& a, const ProfilePoint& b, const Colour& colour) {
    const double length = std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
    const double theta = std::atan2(b.y - a.y, b.x - a.x);  // atan2(0, 0) = 0: a zero line lies along x
    if (!std::isfinite(length)) return;                     // a zoom gone past the doubles: no line to draw
    // Truncation toward zero; from DASH_DOT_LENGTH_LIMIT on the count stays that
    // of the limit (its periods grow longer), so it never leaves the int range.
    const double counted = std::fmin(length, DASH_DOT_LENGTH_LIMIT);
    const int n = length < 0.5 ? 2 : static_cast<int>(6 * counted - 1);
    const double u = to_screen(15 * length / (15 * n + 9));  // n ≥ 2, so never a division by zero
    const double d = 9 * u / 15;
    const double g = 2 * u / 15;

    device_push_matrix();
    device_translate(to_screen(a.x), to_screen(a.y));
    device_rotate(theta);
    int first_period = 0;
    int last_period = n - 1;
    bool closing_dash = true;
    ViewBox box;
    if (u > 0 && read_view_box(0, box)) {  // u = 0: a line of no length, nothing worth sparing
        double first;
        double last;
        if (axis_visible_range(box, n * u + d, first, last)) {
            // Period i spans [i·u, i·u + 13u/15]; the closing dash [n·u, n·u + d].
            first_period = std::max(0, static_cast<int>(std::floor(first / u)) - 1);
            last_period = std::min(n - 1, static_cast<int>(std::ceil(last / u)));
            closing_dash = last >= n * u;
        } else {
            last_period = -1;
            closing_dash = false;
        }
    }
    device_colour(colour);
    device_begin(ItemKind::LINES);
    for (int i = first_period; i <= last_period; ++i) {
        const double start = i * u;
        device_vertex(start, 0);
        device_vertex(start + d, 0);
        device_vertex(start + d + g, 0);
        device_vertex(start + d + 2 * g, 0);
    }
    if (closing_dash) {
        device_vertex(n * u, 0);
        device_vertex(n * u + d, 0);
    }
    device_end();
    device_pop_matrix();
}

void draw_dash_dot_line_scaled(double s, const ProfilePoint& a, const ProfilePoint& b, const Colour& colour) {
    draw_dash_dot_line(ProfilePoint{s * a.x, s * a.y}, ProfilePoint{s * b.x, s * b.y}, colour);
}

void draw_disc(const ProfilePoint& centre, double radius, const Colour& colour) {
    circle_polygon(centre, radius, colour, ItemKind::POLYGON);
}

void draw_circle(const ProfilePoint& centre, double radius, const Colour& colour) {
    circle_polygon(centre, radius, colour, ItemKind::LINE_LOOP);
}

// The arcs of a dash-dot circle that can be seen, when something may be left
// out; a circle drawn whole has none (arc_count < 0).
struct VisibleArcs {
    double arcs[ARC_CAPACITY][2];
    int arc_count;
};

// The chords of one piece of a dash-dot circle: the points at angles
// start + j·delta, j = 0 … count, joined every `every` sub-steps (and at the
// last), as segments of the open line item. Only the chords that reach a
// visible arc are walked, so a dash of millions of sub-steps costs what of it
// is in view; each is the very chord the whole walk would draw.
static void arc_chords(double r, double start, double delta, int count, int every,
                       const VisibleArcs& visible) {
    IndexRun runs[RUN_CAPACITY] = {{0, count - 1}};
    int run_count = 1;
    if (visible.arc_count >= 0) {
        double shifted[ARC_CAPACITY][2];  // the arcs as angles from this piece's start
        for (int a = 0; a < visible.arc_count; ++a) {
            shifted[a][0] = visible.arcs[a][0] - start;
            shifted[a][1] = visible.arcs[a][1] - start;
        }
        // Sub-step j spans [j·delta, (j + 1)·delta]; the pad takes in the chords
        // of a whole `every` either side.
        run_count =
            visible_pieces(shifted, visible.arc_count, delta, delta, every * delta, 0, count - 1, runs);
    }
    for (int a = 0; a < run_count; ++a) {
        int j = runs[a].first / every * every;  // chord ends stay on the multiples of every
        double px = r * std::cos(start + j * delta);
        double py = r * std::sin(start + j * delta);
        for (; j <= runs[a].last; j += every) {
            const double angle = start + std::min(j + every, count) * delta;
            const double qx = r * std::cos(angle);
            const double qy = r * std::sin(angle);
            device_vertex(px, py);
            device_vertex(qx, qy);
            px = qx;
            py = qy;
        }
    }
}

// A dash-dot circle: n periods of m + 3k equal angular sub-steps (dash m, gap
// k, dot k, gap k), period i = 1 … n starting at the angle i·P (P = 2π/n), so
// the last ends on the first. A period is about 0.2 view units of arc from
// radius 0.2 upwards; the counts grow with the radius (up to
// DASH_DOT_RADIUS_LIMIT). Each period is placed at its own angle, and only
// the periods in the visible angle range are walked.
void draw_dash_dot_circle(const ProfilePoint& centre, double radius, const Colour& colour) {
    const double r = to_screen(radius);
    const double rho = std::fabs(radius);  // a negative radius draws the mirrored points of |radius|
    if (!std::isfinite(rho)) return;       // no circle to draw, and no count to take from it
    const double counted = std::fmin(rho, DASH_DOT_RADIUS_LIMIT);
    int n = 6;
    int m = 9;
    int k = 2;
    if (counted >= 0.2) {  // truncations toward zero; at 0.2 they give 6, 9 and 2 as well
        n = static_cast<int>(10 * CIRCLE_PI * counted);
        m = static_cast<int>(45 * counted);
        k = static_cast<int>(10 * counted);
    }
    const double period = 2 * CIRCLE_PI / n;  // n ≥ 6 here
    // In doubles: n·(m + 3k) passes the int range from a radius of about 950.
    const double delta = 2 * CIRCLE_PI / (static_cast<double>(n) * (m + 3 * k));
    const double dot_start = (m + k) * period / (m + 3 * k);
    const double pixels = 0.5 * std::max(device_frame().width, device_frame().height);  // per view unit
    const double sub_step_pixels = rho * delta * pixels;
    const int every = sub_step_pixels > 0
                          ? static_cast<int>(std::fmin(std::fmax(1.0, CHORD_PIXELS / sub_step_pixels), m))
                          : 1;

    device_push_matrix();
    device_translate(to_screen(centre.x), to_screen(centre.y));
    IndexRun runs[RUN_CAPACITY] = {{1, n}};
    int run_count = 1;
    VisibleArcs visible;
    visible.arc_count = -1;
    ViewBox box;
    if (read_view_box(0, box)) {
        visible.arc_count = circle_visible_arcs(box, r, visible.arcs);
        run_count = visible_pieces(visible.arcs, visible.arc_count, period, dot_start + k * delta,
                                   2 * every * delta, 1, n, runs);
    }
    device_colour(colour);
    device_begin(ItemKind::LINES);
    for (int a = 0; a < run_count; ++a)
        for (int i = runs[a].first; i <= runs[a].last; ++i) {
            arc_chords(r, i * period, delta, m, every, visible);
            arc_chords(r, i * period + dot_start, delta, k, std::min(every, k), visible);
        }
    device_end();
    device_pop_matrix();
}

// Two black lines through p along the angle and across it; the arms reach 10
// view units, so both lines run across the whole window.
void draw_cross(const ProfilePoint& p, double angle) {
    device_line_width(WIDTH_AFTER_WIDE_LINE);
    device_push_matrix();
    device_translate(to_screen(p.x), to_screen(p.y));
    device_rotate(angle);
    device_colour(black);
    device_begin(ItemKind::LINES);
    device_vertex(-10, 0);
    device_vertex(10, 0);
    device_vertex(0, -10);
    device_vertex(0, 10);
    device_end();
    device_pop_matrix();
}

// Turns the current matrix counter-clockwise by angle about a + b. Nothing is
// saved: the caller undoes it (in practice the next frame's identity does).
void rotate_about(const ProfilePoint& a, const ProfilePoint& b, double angle) {
    const double px = to_screen(a.x + b.x);
    const double py = to_screen(a.y + b.y);
    device_translate(px, py);
    device_rotate(angle);
    device_translate(-px, -py);
}

// Legend text from raster position (x, y), always Helvetica 18, recorded black:
// the picture and page painters paint it black, the window's GL painter lit,
// which comes out 0.04 grey (paint_gl.cpp).
void draw_text(float x, float y, const char* text) {
    device_text(x, y, text);
}
