// The immediate-mode primitives: solid, wide and dash-dot lines, circles,
// discs, the axis cross, the turn about a point and bitmap text.
// Owns scale_factor, the colour table and draw_only_visible; keeps no other
// state between calls (what it leaves behind is GL state: lighting on, line
// width 2 once a wide line or cross has been drawn, the colour of the last
// primitive). Parts wholly outside the view are left out (visibility.hpp).
#include "draw/draw.hpp"
#include "draw/unlit.hpp"
#include "draw/visibility.hpp"

#include <GL/gl.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <utility>

// ---- Global state ------------------------------------------------------------
double scale_factor = 0.5;      // view units per model unit; set by the dialogue, zoomed by 'w'/'W'
bool draw_only_visible = true;  // leave out what cannot be seen; off only to compare (benchmark, tests)

const Colour red = {1, 0, 0, 0};
const Colour green = {0, 1, 0, 0};
const Colour blue = {0, 0, 1, 0};
const Colour yellow = {1, 1, 0, 0};
const Colour magenta = {1, 0, 1, 0};
const Colour black = {0, 0, 0, 0};  // the zero colour; nothing writes it

namespace {

// glRotated wants degrees; the cross and rotate_about divide by this factor,
// the dash-dot primitives multiply by DEGREES_PER_RADIAN. Both are kept as
// the program has always used them.
constexpr double RADIANS_PER_DEGREE = 0.01745329252;
constexpr float WIDTH_AFTER_WIDE_LINE = 2.0f;  // pixels; every wide line and cross leaves this width

// The dash-dot circle's counts grow with the radius: from this radius (10^7
// view units) on, 10π·ρ and 75·ρ would come near the int range, so larger
// radii take the counts of this one. Radii met in use are far below it.
constexpr double DASH_DOT_RADIUS_LIMIT = 1e7;
// The same for the dash-dot line's period count 6·L - 1 (the rolling line reaches it
// after about 125 presses of 'W').
constexpr double DASH_DOT_LENGTH_LIMIT = 1e7;

void vertex(double x, double y) {
    glVertex2d(to_screen(x), to_screen(y));
}

}  // namespace

// Every drawing primitive except text and rotate_about runs between these two,
// so the scenes always find lighting on (it only lights the raster position of
// the legend text, no light source is ever switched on).
void begin_unlit() {
    glDisable(GL_LIGHTING);
}
void end_unlit() {
    glEnable(GL_LIGHTING);
}

void set_colour(const Colour& colour) {
    glColor4f(colour.red, colour.green, colour.blue, colour.alpha);
}

void leave_state_of_line(const Colour& colour) {
    begin_unlit();
    set_colour(colour);
    end_unlit();
}

void leave_state_of_wide_line(const Colour& colour) {
    begin_unlit();
    set_colour(colour);
    glLineWidth(WIDTH_AFTER_WIDE_LINE);
    end_unlit();
}

// A view unit is 400 pixels of the 800-pixel window, and GL takes view units
// back again, so the conversion is v × 400 / 400: the value itself. Returning
// v spares the rounding of the two steps.
double to_screen(double v) {
    return v;
}

void draw_line(const ProfilePoint& a, const ProfilePoint& b, const Colour& colour) {
    begin_unlit();
    set_colour(colour);
    glBegin(GL_LINES);
    vertex(a.x, a.y);
    vertex(b.x, b.y);
    glEnd();
    end_unlit();
}

void draw_line_scaled(double s, const ProfilePoint& a, const ProfilePoint& b, const Colour& colour) {
    draw_line(ProfilePoint{s * a.x, s * a.y}, ProfilePoint{s * b.x, s * b.y}, colour);
}

// The width is in pixels (view width × 400), so it does not follow a resized
// window; afterwards the width is 2 pixels, not the width found on entry.
void draw_wide_line(const ProfilePoint& a, const ProfilePoint& b, double width, const Colour& colour) {
    begin_unlit();
    set_colour(colour);
    glLineWidth(static_cast<float>(to_screen(width) * PIXELS_PER_VIEW_UNIT));
    glBegin(GL_LINES);
    vertex(a.x, a.y);
    vertex(b.x, b.y);
    glEnd();
    glLineWidth(WIDTH_AFTER_WIDE_LINE);
    end_unlit();
}

// Segments points[k-1]–points[k], k = 1 … last, 4 pixels wide (0.01 view units);
// last ≤ 0 draws nothing. Each segment is the wide line draw_wide_line would
// give, but all go into one block under one width: the same pixels, and one
// draw for the renderer instead of one per segment (software GL pays dearly
// for every small draw). Segments that cannot be seen are left out; the state
// a wide line leaves is set all the same.
void draw_wide_polyline(const ProfilePoint* points, int last, const Colour& colour) {
    if (last < 1) return;
    const double s = scale_factor;
    ViewBox box;
    const bool cull = read_view_box(POLYLINE_WIDTH * PIXELS_PER_VIEW_UNIT, box);
    begin_unlit();
    set_colour(colour);
    glLineWidth(static_cast<float>(to_screen(POLYLINE_WIDTH) * PIXELS_PER_VIEW_UNIT));
    bool open = false;
    for (int k = 1; k <= last; ++k) {
        ProfilePoint a = {s * points[k - 1].x, s * points[k - 1].y};
        ProfilePoint b = {s * points[k].x, s * points[k].y};
        if (cull && !segment_visible(box, a, b)) continue;
        if (!open) glBegin(GL_LINES);
        open = true;
        vertex(a.x, a.y);
        vertex(b.x, b.y);
    }
    if (open) glEnd();
    glLineWidth(WIDTH_AFTER_WIDE_LINE);
    end_unlit();
}

// A dash-dot line from a to b. One period is 15 parts: dash 9, gap 2, dot 2,
// gap 2; n periods and a closing dash of 9 parts fill the length exactly,
// n·u + d = L, so the line begins and ends with a dash. The periods stay near
// 1/6 view unit from L = 0.5 upwards; shorter lines get 2 periods.
void draw_dash_dot_line(const ProfilePoint& a, const ProfilePoint& b, const Colour& colour) {
    const double length = std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
    const double theta = std::atan2(b.y - a.y, b.x - a.x);  // atan2(0, 0) = 0: a zero line lies along x
    if (!std::isfinite(length)) {                           // a zoom gone past the doubles: no line to draw
        leave_state_of_line(colour);
        return;
    }
    // Truncation toward zero; from DASH_DOT_LENGTH_LIMIT on the count stays that
    // of the limit (its periods grow longer), so it never leaves the int range.
    const double counted = std::fmin(length, DASH_DOT_LENGTH_LIMIT);
    const int n = length < 0.5 ? 2 : static_cast<int>(6 * counted - 1);
    const double u = to_screen(15 * length / (15 * n + 9));  // n ≥ 2, so never a division by zero
    const double d = 9 * u / 15;
    const double g = 2 * u / 15;

    begin_unlit();
    glPushMatrix();
    glTranslated(to_screen(a.x), to_screen(a.y), 0);
    glRotated(theta * DEGREES_PER_RADIAN, 0, 0, 1);
    set_colour(colour);
    int first_period = 0;
    int last_period = n - 1;
    bool closing_dash = true;
    ViewBox box;
    if (u > 0 && read_view_box(0, box)) {  // u = 0: a line of no length, nothing worth sparing
        double first;
        double last;
        if (axis_visible_range(box, n * u + d, first, last)) {
            // Period i spans [i·u, i·u + 13u/15]; one period more on either side absorbs rounding.
            first_period = std::max(0, static_cast<int>(std::floor(first / u)) - 1);
            last_period = std::min(n - 1, static_cast<int>(std::ceil(last / u)) + 1);
            closing_dash = last >= (n - 1) * u;  // the closing dash spans [n·u, n·u + d]
        } else {
            last_period = -1;
            closing_dash = false;
        }
    }
    if (first_period <= last_period || closing_dash) {
        glBegin(GL_LINES);
        for (int i = first_period; i <= last_period; ++i) {
            glVertex2d(i * u, 0);
            glVertex2d(i * u + d, 0);
            glVertex2d(i * u + d + g, 0);
            glVertex2d(i * u + d + 2 * g, 0);
        }
        if (closing_dash) {
            glVertex2d(n * u, 0);
            glVertex2d(n * u + d, 0);
        }
        glEnd();
    }
    glPopMatrix();
    end_unlit();
}

void draw_dash_dot_line_scaled(double s, const ProfilePoint& a, const ProfilePoint& b, const Colour& colour) {
    draw_dash_dot_line(ProfilePoint{s * a.x, s * a.y}, ProfilePoint{s * b.x, s * b.y}, colour);
}

void draw_disc(const ProfilePoint& centre, double radius, const Colour& colour) {
    const double r = to_screen(radius);
    const double step = 2 * CIRCLE_PI / CIRCLE_SEGMENTS;

    begin_unlit();
    glPushMatrix();
    glTranslated(to_screen(centre.x), to_screen(centre.y), 0);
    set_colour(colour);
    glBegin(GL_POLYGON);
    for (int i = 0; i < CIRCLE_SEGMENTS; ++i) glVertex2d(r * std::cos(i * step), r * std::sin(i * step));
    glEnd();
    glPopMatrix();
    end_unlit();
}

// The outline is given as the pairs P(i-1), P(i) of a GL_LINE_LOOP; the loop
// closes itself from P(119) back to P(0).
void draw_circle(const ProfilePoint& centre, double radius, const Colour& colour) {
    const double r = to_screen(radius);
    const double step = 2 * CIRCLE_PI / CIRCLE_SEGMENTS;

    begin_unlit();
    glPushMatrix();
    glTranslated(to_screen(centre.x), to_screen(centre.y), 0);
    set_colour(colour);
    glBegin(GL_LINE_LOOP);
    double px = r;  // P(0)
    double py = 0;
    for (int i = 1; i < CIRCLE_SEGMENTS; ++i) {
        const double qx = r * std::cos(i * step);
        const double qy = r * std::sin(i * step);
        glVertex2d(px, py);
        glVertex2d(qx, qy);
        px = qx;
        py = qy;
    }
    glEnd();
    glPopMatrix();
    end_unlit();
}

namespace {

// The segments between the consecutive points at angles start + j·delta, j = 0 … count.
void arc_segments(double r, double start, double delta, int count) {
    glBegin(GL_LINES);
    double px = r * std::cos(start);
    double py = r * std::sin(start);
    for (int j = 1; j <= count; ++j) {
        const double qx = r * std::cos(start + j * delta);
        const double qy = r * std::sin(start + j * delta);
        glVertex2d(px, py);
        glVertex2d(qx, qy);
        px = qx;
        py = qy;
    }
    glEnd();
}

// A run of segments first … last of an arc: segment j joins the points at angles
// start + j·delta and start + (j + 1)·delta.
struct SegmentRun {
    int first;
    int last;
};

// Of the count segments of arc_segments, those that reach into one of the
// visible arcs, as sorted runs that do not overlap; returns their number.
// Two sub-steps of padding absorb the chords' sagitta and rounding; the arcs
// also count one turn back, for a piece starting just after angle 0.
int visible_runs(double start, double delta, int count, const double arcs[ARC_CAPACITY][2], int arc_count,
                 SegmentRun runs[2 * ARC_CAPACITY]) {
    const double pad = 2 * delta;
    int run_count = 0;
    for (int a = 0; a < arc_count; ++a)
        for (double shift : {0.0, -2 * CIRCLE_PI}) {
            // Segment j reaches [low, high] when start + (j + 1)·δ ≥ low and start + j·δ ≤ high.
            const double low = std::ceil((arcs[a][0] + shift - pad - start) / delta - 1);
            const double high = std::floor((arcs[a][1] + shift + pad - start) / delta);
            const double first = std::fmax(low, 0.0);
            const double last = std::fmin(high, count - 1.0);
            if (!(first <= last)) continue;
            runs[run_count++] = SegmentRun{static_cast<int>(first), static_cast<int>(last)};
        }
    for (int i = 1; i < run_count; ++i)  // insertion sort by first segment
        for (int j = i; j > 0 && runs[j - 1].first > runs[j].first; --j) std::swap(runs[j], runs[j - 1]);
    int merged = 0;
    for (int i = 0; i < run_count; ++i) {
        if (merged > 0 && runs[i].first <= runs[merged - 1].last + 1)
            runs[merged - 1].last = std::max(runs[merged - 1].last, runs[i].last);
        else
            runs[merged++] = runs[i];
    }
    return merged;
}

// The visible runs of arc_segments(r, start, delta, count), in one block, with
// the very vertices arc_segments gives them; no block when none is visible.
void visible_arc_segments(double r, double start, double delta, int count, const double arcs[ARC_CAPACITY][2],
                          int arc_count) {
    SegmentRun runs[2 * ARC_CAPACITY];
    const int run_count = visible_runs(start, delta, count, arcs, arc_count, runs);
    if (run_count == 0) return;
    glBegin(GL_LINES);
    for (int i = 0; i < run_count; ++i) {
        // start + 0·delta is start itself, so the run from 0 begins at arc_segments' first point.
        double px = r * std::cos(start + runs[i].first * delta);
        double py = r * std::sin(start + runs[i].first * delta);
        for (int j = runs[i].first + 1; j <= runs[i].last + 1; ++j) {
            const double qx = r * std::cos(start + j * delta);
            const double qy = r * std::sin(start + j * delta);
            glVertex2d(px, py);
            glVertex2d(qx, qy);
            px = qx;
            py = qy;
        }
    }
    glEnd();
}

}  // namespace

// A dash-dot circle: n periods of m + 3k equal angular sub-steps (dash m, gap
// k, dot k, gap k), each period drawn after turning the matrix on by one period
// angle. A period is about 0.2 view units of arc from radius 0.2 upwards; the
// counts grow with the radius (up to DASH_DOT_RADIUS_LIMIT).
//
// Only the segments that can be seen are drawn. Every period still turns the
// matrix as before, so GL's matrix (single precision, whose rounding adds up
// over thousands of turns) is the very one a full drawing has; the view is
// judged afresh under it for every period, and a period that cannot reach
// the view is passed over whole.
void draw_dash_dot_circle(const ProfilePoint& centre, double radius, const Colour& colour) {
    const double r = to_screen(radius);
    const double rho = std::fabs(radius);  // a negative radius draws the mirrored points of |radius|
    if (!std::isfinite(rho)) {             // no circle to draw, and no count to take from it
        leave_state_of_line(colour);
        return;
    }
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
    // In doubles: n·(m + 3k) passes the int range from a radius of about 950. The
    // product is exact in a double far beyond, so smaller radii get the same δ.
    const double delta = 2 * CIRCLE_PI / (static_cast<double>(n) * (m + 3 * k));
    const double dot_start = (m + k) * period / (m + 3 * k);
    // A period's points lie within reach of the point at its middle angle:
    // 2ρ·sin(P/4) along the arc, and two sub-steps more.
    const double middle_x = r * std::cos(0.5 * period);
    const double middle_y = r * std::sin(0.5 * period);
    const double reach = 2 * rho * std::sin(0.25 * period) + 2 * rho * delta;

    begin_unlit();
    glPushMatrix();
    glTranslated(to_screen(centre.x), to_screen(centre.y), 0);
    set_colour(colour);
    ViewBox box;
    const bool cull = read_view_box(0, box);
    for (int i = 0; i < n; ++i) {
        glRotated(period * DEGREES_PER_RADIAN, 0, 0, 1);  // accumulates: periods start at P, 2P, … 2π
        if (!cull) {
            arc_segments(r, 0, delta, m);
            arc_segments(r, dot_start, delta, k);
            continue;
        }
        refresh_view_box(box);
        if (!disc_visible(box, middle_x, middle_y, reach)) continue;
        double arcs[ARC_CAPACITY][2];
        const int arc_count = circle_visible_arcs(box, r, arcs);
        visible_arc_segments(r, 0, delta, m, arcs, arc_count);
        visible_arc_segments(r, dot_start, delta, k, arcs, arc_count);
    }
    glPopMatrix();
    end_unlit();
}

// Two black lines through p along the angle and across it; the arms reach 10
// view units, so both lines run across the whole window.
void draw_cross(const ProfilePoint& p, double angle) {
    begin_unlit();
    glLineWidth(WIDTH_AFTER_WIDE_LINE);
    glPushMatrix();
    glColor4f(0, 0, 0, 0);
    glTranslated(to_screen(p.x), to_screen(p.y), 0);
    glRotated(angle / RADIANS_PER_DEGREE, 0, 0, 1);
    glBegin(GL_LINES);
    glVertex2d(-10, 0);
    glVertex2d(10, 0);
    glVertex2d(0, -10);
    glVertex2d(0, 10);
    glEnd();
    glPopMatrix();
    end_unlit();
}

// Turns the current matrix counter-clockwise by angle about a + b. Nothing is
// saved: the caller undoes it (in practice the next frame's identity does).
void rotate_about(const ProfilePoint& a, const ProfilePoint& b, double angle) {
    const double px = to_screen(a.x + b.x);
    const double py = to_screen(a.y + b.y);
    glTranslated(px, py, 0);
    glRotated(angle / RADIANS_PER_DEGREE, 0, 0, 1);
    glTranslated(-px, -py, 0);
}

// Bitmap text from raster position (x, y). The raster position latches its
// colour: lit (as after any primitive), the default material with no light
// gives a near-black grey; unlit, it would take the current colour, which is
// white before the first primitive of a run, and the first frame's legend
// would vanish on the white background. So when lighting is off the current
// colour is set to black inside the attribute bracket: the text is dark from
// the first frame on, and the bracket gives the caller's colour back.
void draw_text(float x, float y, void* font, const char* text) {
    glPushAttrib(GL_CURRENT_BIT);
    if (!glIsEnabled(GL_LIGHTING)) set_colour(black);
    glRasterPos2f(x, y);
    for (const char* c = text; *c != '\0'; ++c) glutBitmapCharacter(font, static_cast<signed char>(*c));
    glPopAttrib();
}
