// The rack-cutter and gear figures, drawn in model units through the
// primitives and the device, scaled by scale_factor, from the parameters of
// the gear computed last (gear_params). Owns no state; every copy of a rack
// pitch or a tooth is placed directly from its index (no matrix steps that
// add up), and the caller's matrix is left exactly as found.
#include "draw/draw.hpp"
#include "draw/visibility.hpp"
#include "record/device.hpp"

#include <cmath>

constexpr int RACK_OUTLINE_POINTS = 8;  // one pitch of the cutter outline
constexpr int RACK_COPIES_BEFORE = 2;   // copies q-2 … q+1 cover the teeth in mesh
constexpr int RACK_COPIES_AFTER = 1;
constexpr double ROLLING_LINE_HALF_LENGTH = 20.0;  // model units to either side of the reference point

// One pitch of the cutter outline in the rack frame (origin where the middle
// tooth's right flank crosses the rolling line, teeth pointing to -y): from the
// tip corner of the tooth on the left, over a root land, the middle tooth and
// the next root land, to the tip corner of the tooth on the right. P1 and P5,
// P2 and P6 are exactly π apart, so copies π apart join into one rack.
static void rack_outline(ProfilePoint p[RACK_OUTLINE_POINTS]) {
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

// The segments of one pitch of the outline, moved on by shift (view units)
// along the rack's x axis and scaled by s, into the open line item; with a
// box, only those that can be seen. A pitch that follows another leaves out
// P1-P2 and P3-P4: they are the other's P5-P6 and P7-P8, already drawn.
static void rack_pitch_segments(const ViewBox* box, double shift, double s,
                                const ProfilePoint p[RACK_OUTLINE_POINTS], bool follows = false) {
    for (int i = 0; i + 1 < RACK_OUTLINE_POINTS; ++i) {
        if (follows && (i == 0 || i == 2)) continue;
        const ProfilePoint a = {shift + s * p[i].x, s * p[i].y};
        const ProfilePoint b = {shift + s * p[i + 1].x, s * p[i + 1].y};
        if (box && !segment_visible(*box, a, b)) continue;
        device_vertex(to_screen(a.x), to_screen(a.y));
        device_vertex(to_screen(b.x), to_screen(b.y));
    }
}

void draw_rack_tooth(const Colour& colour) {
    ProfilePoint p[RACK_OUTLINE_POINTS];
    rack_outline(p);
    device_colour(colour);
    device_begin(ItemKind::LINES);
    rack_pitch_segments(nullptr, 0.0, scale_factor, p);
    device_end();
}

// Four pitches of the cutter with its origin at the reference point, turned
// clockwise by t: 22 segments, the flanks where two pitches meet drawn once. The point of rolling lies at
// rack x = r·t, so the copies q-2 … q+1 with q = r·t/π (truncated toward zero) cover the teeth in mesh around
// it whatever t is. Copy i is placed at i·π along the rack from its index; a rack, or a copy, or a segment
// that cannot be seen is left out.
void draw_rack(int mode, const ProfilePoint& reference, double t, const Colour& colour) {
    const double s = scale_factor;
    const double turns = gear_params.pitch_radius * t / PI;
    // Truncation toward zero; a roll past the int range (never met) keeps the last copies.
    const int q = static_cast<int>(std::fmax(-1e9, std::fmin(1e9, turns)));
    ProfilePoint outline[RACK_OUTLINE_POINTS];
    rack_outline(outline);
    const ProfileBox extent = bounding_box(outline, RACK_OUTLINE_POINTS - 1);
    const ProfilePoint& low = extent.low;
    const ProfilePoint& high = extent.high;

    device_push_matrix();
    device_translate(to_screen(s * reference.x), to_screen(s * reference.y));
    device_rotate(-t);
    ViewBox box;
    const bool leave_out = read_view_box(0, box);
    const double first_shift = (q - RACK_COPIES_BEFORE) * s * PI;
    const double last_shift = (q + RACK_COPIES_AFTER) * s * PI;
    if (!leave_out ||
        rectangle_visible(box, first_shift + s * low.x, s * low.y, last_shift + s * high.x, s * high.y)) {
        device_colour(colour);
        device_begin(ItemKind::LINES);
        for (int i = q - RACK_COPIES_BEFORE; i <= q + RACK_COPIES_AFTER; ++i) {
            const double shift = i * s * PI;
            const bool follows = i > q - RACK_COPIES_BEFORE;
            if (!leave_out)
                rack_pitch_segments(nullptr, shift, s, outline, follows);
            else if (rectangle_visible(box, shift + s * low.x, s * low.y, shift + s * high.x, s * high.y))
                rack_pitch_segments(&box, shift, s, outline, follows);
        }
        device_end();
    }
    device_pop_matrix();

    if (mode == 1) {  // the rolling line, along the rack's x axis through the reference point
        const double dx = ROLLING_LINE_HALF_LENGTH * std::cos(t);
        const double dy = ROLLING_LINE_HALF_LENGTH * std::sin(t);
        draw_dash_dot_line_scaled(s, ProfilePoint{reference.x + dx, reference.y - dy},
                                  ProfilePoint{reference.x - dx, reference.y + dy}, blue);
    }
}

// The rack rolled through t touches the pitch circle at K(t) = r·(sin t,
// cos t - 1), where its rolling line (its x axis) is the tangent. Its copies
// q-2 … q+1 span [(q-3)·π - do, (q+1)·π + 2·ao + R + do] along that line, and
// q·π lies within π of K's r·t: less than 4π + 1 either way of K (ao, do ≤
// 0.82, R < 0.9), and ha or hf across it. So all of it lies within the disc
// about K of radius hypot(4.5π, max(ha, hf)).
bool rolled_rack_may_be_seen(double t) {
    ViewBox box;
    if (!read_view_box(0, box)) return true;
    const double s = scale_factor;
    const double r = gear_params.pitch_radius;
    const double reach = std::hypot(4.5 * PI, std::fmax(gear_params.addendum, gear_params.dedendum));
    return disc_visible(box, s * r * std::sin(t), s * r * (std::cos(t) - 1), s * reach);
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

// The polyline at each tooth position. One step moves a point p to R·p + d,
// R the clockwise turn by the pitch angle φ = 2π/teeth and
// d = scale·(r·sin φ + offset.x, r·(cos φ - 1) + offset.y); copy k = 1 … teeth
// is the polyline after k steps. For teeth ≥ 2 a step is a turn by φ about its
// fixed point c = (I - R)⁻¹·d, so copy k is the turn by k·φ about c, placed
// from k directly ((0, -scale·r) with a zero offset: the last copy falls on
// the polyline's own place); for one tooth a step is the move by d.
void draw_gear_teeth(double scale, int teeth, const ProfilePoint& offset, int last,
                     const ProfilePoint* points, const Colour& colour) {
    if (teeth <= 0 || last < 1) return;  // no teeth, no pitch angle; or no segment to draw
    const double r = gear_params.pitch_radius;
    const double phi = 2 * PI / teeth;
    const double dx = to_screen(scale * (r * std::sin(phi) + offset.x));
    const double dy = to_screen(scale * (r * (std::cos(phi) - 1) + offset.y));
    // (I - R)·c = d with R = [[cos φ, sin φ], [-sin φ, cos φ]]: det = 2 - 2·cos φ > 0 for teeth ≥ 2.
    const double a = 1 - std::cos(phi);
    const double b = -std::sin(phi);
    const double det = a * a + b * b;
    const double cx = teeth >= 2 ? (a * dx - b * dy) / det : 0;
    const double cy = teeth >= 2 ? (b * dx + a * dy) / det : 0;
    const double s = scale_factor;  // the polyline's own scale (draw_wide_polyline's)
    const ProfileBox extent = bounding_box(points, last);
    const ProfilePoint& low = extent.low;
    const ProfilePoint& high = extent.high;
    for (int k = 1; k <= teeth; ++k) {
        device_push_matrix();
        if (teeth >= 2) {
            device_translate(cx, cy);
            device_rotate(-k * phi);
            device_translate(-cx, -cy);
        } else {
            device_translate(dx, dy);
        }
        ViewBox box;
        if (!read_view_box(POLYLINE_WIDTH * PIXELS_PER_VIEW_UNIT, box) ||
            rectangle_visible(box, s * low.x, s * low.y, s * high.x, s * high.y))
            draw_wide_polyline(points, last, colour);
        device_pop_matrix();
    }
}
