// The rack-cutter and gear figures, drawn in model units through the
// primitives, scaled by scale_factor, from the parameters of the gear computed
// last (gear_params). Owns no state; leaves the caller's matrix as found.
// Rack copies and tooth copies that cannot be seen are left out, their matrix
// steps kept, so the caller's matrix ends exactly as it would.
#include "draw/draw.hpp"
#include "draw/unlit.hpp"
#include "draw/visibility.hpp"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr int RACK_OUTLINE_POINTS = 8;  // one pitch of the cutter outline
constexpr int RACK_COPIES_BEFORE = 2;   // copies q-2 … q+1 cover the teeth in mesh
constexpr int RACK_COPIES_AFTER = 1;
constexpr double ROLLING_LINE_HALF_LENGTH = 20.0;  // model units to either side of the reference point

// One pitch of the cutter outline in the rack frame (origin where the middle
// tooth's right flank crosses the rolling line, teeth pointing to -y): from the
// tip corner of the tooth on the left, over a root land, the middle tooth and
// the next root land, to the tip corner of the tooth on the right. P1 and P5,
// P2 and P6 are exactly π apart, so copies π apart join into one rack.
void rack_outline(ProfilePoint p[RACK_OUTLINE_POINTS]) {
    const double ha = gear_params.addendum;
    const double hf = gear_params.dedendum;
    const double ao = gear_params.addendum_offset;
    const double dof = gear_params.dedendum_offset;
    const double root_land = gear_params.rack_root_land;
    const double tip_land = gear_params.rack_tip_land;
    p[0] = {-PI - dof, -hf};
    p[1] = {-PI + ao, ha};
    p[2] = {-PI + ao + root_land, ha};
    p[3] = {-dof - tip_land, -hf};
    p[4] = {-dof, -hf};
    p[5] = {ao, ha};
    p[6] = {ao + root_land, ha};
    p[7] = {ao + root_land + ao + dof, -hf};
}

// The rectangle [low, high] that holds the points 0 … last.
void bounding_rectangle(const ProfilePoint* p, int last, ProfilePoint& low, ProfilePoint& high) {
    low = high = p[0];
    for (int i = 1; i <= last; ++i) {
        low.x = std::fmin(low.x, p[i].x);
        low.y = std::fmin(low.y, p[i].y);
        high.x = std::fmax(high.x, p[i].x);
        high.y = std::fmax(high.y, p[i].y);
    }
}

}  // namespace

namespace {

// The segments of one pitch of the outline, moved on by shift along the rack's
// x axis, in one block: the lines draw_line_scaled would give, one draw for the
// renderer instead of seven. With a box, only the segments that can be seen
// (the box read in the unmoved rack frame). The caller has switched lighting
// off and set the colour. Returns whether any was drawn.
bool draw_rack_segments(const ViewBox* box, double shift, const ProfilePoint p[RACK_OUTLINE_POINTS]) {
    const double s = scale_factor;
    bool open = false;
    for (int i = 0; i + 1 < RACK_OUTLINE_POINTS; ++i) {
        if (box) {
            const ProfilePoint a = {shift + s * p[i].x, s * p[i].y};
            const ProfilePoint b = {shift + s * p[i + 1].x, s * p[i + 1].y};
            if (!segment_visible(*box, a, b)) continue;
        }
        if (!open) glBegin(GL_LINES);
        open = true;
        glVertex2d(to_screen(s * p[i].x), to_screen(s * p[i].y));
        glVertex2d(to_screen(s * p[i + 1].x), to_screen(s * p[i + 1].y));
    }
    if (open) glEnd();
    return open;
}

}  // namespace

void draw_rack_tooth(const Colour& colour) {
    ProfilePoint p[RACK_OUTLINE_POINTS];
    rack_outline(p);
    begin_unlit();
    set_colour(colour);
    draw_rack_segments(nullptr, 0.0, p);
    end_unlit();
}

// Four pitches of the cutter with its origin at the reference point, turned
// clockwise by t. The point of rolling lies at rack x = r·t, and q·π is close
// to it, so copies q-2 … q+1 cover the teeth in mesh whatever t is. The
// matrix is put back by the inverse steps, not saved: the same transforms
// undone in reverse order. A copy, or a segment of it, that cannot be seen is
// not drawn, but the copy's two steps are still taken: GL's single-precision
// matrix does not come back exactly, and the caller's matrix must end as it
// always has.
void draw_rack(int mode, const ProfilePoint& reference, double t, const Colour& colour) {
    const double s = scale_factor;
    const int q = static_cast<int>(t / std::atan(2 * PI / gear_params.z));  // truncation toward zero
    glTranslated(to_screen(s * reference.x), to_screen(s * reference.y), 0);
    glRotated(-t * DEGREES_PER_RADIAN, 0, 0, 1);
    ViewBox box;
    const bool cull = read_view_box(0, box);
    ProfilePoint outline[RACK_OUTLINE_POINTS];
    rack_outline(outline);
    ProfilePoint low;
    ProfilePoint high;
    bounding_rectangle(outline, RACK_OUTLINE_POINTS - 1, low, high);
    // One unlit stretch for all four copies: the renderer sees one state, not four.
    begin_unlit();
    set_colour(colour);
    for (int i = q - RACK_COPIES_BEFORE; i <= q + RACK_COPIES_AFTER; ++i) {
        glTranslated(to_screen(i * s * PI), 0, 0);
        const double shift = i * s * PI;
        if (!cull)
            draw_rack_segments(nullptr, shift, outline);
        else if (rectangle_visible(box, shift + s * low.x, s * low.y, shift + s * high.x, s * high.y))
            draw_rack_segments(&box, shift, outline);
        glTranslated(to_screen(-i * s * PI), 0, 0);
    }
    end_unlit();
    glRotated(t * DEGREES_PER_RADIAN, 0, 0, 1);
    glTranslated(to_screen(-s * reference.x), to_screen(-s * reference.y), 0);

    if (mode == 1) {  // the rolling line, along the rack's x axis through the reference point
        const double dx = ROLLING_LINE_HALF_LENGTH * std::cos(t);
        const double dy = ROLLING_LINE_HALF_LENGTH * std::sin(t);
        draw_dash_dot_line_scaled(s, ProfilePoint{reference.x + dx, reference.y - dy},
                                  ProfilePoint{reference.x - dx, reference.y + dy}, blue);
    }
}

// Pitch, tip, root and base circles about the centre, the centre disc
// (0.1 model units) and the two centre lines across the pitch diameter.
void draw_gear_circles(const ProfilePoint& centre) {
    const double s = scale_factor;
    const double r = gear_params.pitch_radius;
    const ProfilePoint c = {s * centre.x, s * centre.y};
    draw_dash_dot_circle(c, s * r, blue);
    draw_circle(c, s * gear_params.tip_radius, red);
    draw_circle(c, s * gear_params.root_radius, red);
    draw_circle(c, s * gear_params.base_radius, green);
    draw_disc(c, 0.1 * s, black);
    draw_dash_dot_line_scaled(s, ProfilePoint{centre.x + r, centre.y}, ProfilePoint{centre.x - r, centre.y},
                              blue);
    draw_dash_dot_line_scaled(s, ProfilePoint{centre.x, centre.y + r}, ProfilePoint{centre.x, centre.y - r},
                              blue);
}

// The polyline at each tooth position: every step turns the matrix clockwise
// by one pitch angle φ = 2π/teeth about the gear centre (0, -scale·r), moved
// on by scale·offset; the steps accumulate, so copy k is turned by k·φ, the last
// falls on the polyline's own place and, with a zero offset, the matrix is back
// where it was after the full turn.
void draw_gear_teeth(double scale, int teeth, const ProfilePoint& offset, int last,
                     const ProfilePoint* points, const Colour& colour) {
    if (teeth <= 0) return;  // no teeth, no pitch angle
    const double r = gear_params.pitch_radius;
    const double phi = 2 * PI / teeth;
    const double dx = to_screen(scale * (r * std::sin(phi) + offset.x));
    const double dy = to_screen(scale * (r * (std::cos(phi) - 1) + offset.y));
    ViewBox box;
    const bool cull = last >= 1 && read_view_box(POLYLINE_WIDTH * PIXELS_PER_VIEW_UNIT, box);
    ProfilePoint low = {0, 0};
    ProfilePoint high = {0, 0};
    if (cull) bounding_rectangle(points, last, low, high);
    const double s = scale_factor;  // the polyline's own scale (draw_wide_polyline's)
    bool drawn = false;
    for (int k = 0; k < teeth; ++k) {
        glTranslated(dx, dy, 0);
        glRotated(-phi * DEGREES_PER_RADIAN, 0, 0, 1);
        if (cull) {  // a copy that cannot be seen is passed over; the matrix still turns on
            refresh_view_box(box);
            if (!rectangle_visible(box, s * low.x, s * low.y, s * high.x, s * high.y)) continue;
        }
        draw_wide_polyline(points, last, colour);
        drawn = true;
    }
    if (cull && !drawn) leave_state_of_wide_line(colour);
}
