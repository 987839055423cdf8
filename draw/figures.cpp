// The rack-cutter and gear figures, drawn in model units through the
// primitives and the device, scaled by scale_factor, from the parameters of
// the gear each is handed. Owns no state; every copy of a rack
// pitch or a tooth is placed directly from its index (no matrix steps that
// add up), and the caller's matrix is left exactly as found.
#include "draw/draw.hpp"

#include "draw/visibility.hpp"
#include "record/device.hpp"

#include <cmath>

constexpr int RACK_OUTLINE_POINTS = 8;  // one pitch of the cutter outline: its corners P1 … P8
constexpr int RACK_PIECES = RACK_OUTLINE_POINTS - 1;
constexpr int RACK_COPIES_BEFORE = 2;  // copies q-2 … q+1 cover the teeth in mesh
constexpr int RACK_COPIES_AFTER = 1;
constexpr double ROLLING_LINE_HALF_LENGTH = 20.0;  // model units to either side of the reference point

// A rounded tip corner is drawn as chords of its arc, each within this many
// pixels of the circle, so the arc looks round at every zoom: about 8 chords
// at the start scale, more as it grows on the screen.
constexpr double TIP_ARC_SAGITTA_PIXELS = 0.25;
// An arc of up to this many chords is walked whole, each chord judged on its
// own; a larger one (zoomed in) first finds the runs of chords in view, so
// its cost follows what can be seen, not its size.
constexpr int TIP_ARC_WALKED_WHOLE = 16;
// Chords of one arc at most: at the deepest zoom (W×300) the largest arc any
// cutter has (ρ 0.83 at 10°) asks for a few 10^8; the int range stays far off.
constexpr double TIP_ARC_CHORDS_MAX = 1 << 30;

// One pitch of the cutter outline in the rack frame (origin where the middle
// tooth's right flank crosses the rolling line, teeth pointing to -y): from the
// tip corner of the tooth on the left, over a root land, the middle tooth and
// the next root land, to the tip corner of the tooth on the right. P1 and P5,
// P2 and P6 are exactly π apart, so copies π apart join into one rack.
static void rack_outline(const GearParams& g, ProfilePoint p[RACK_OUTLINE_POINTS]) {
    const double ha = g.addendum;
    const double hf = g.dedendum;
    const double ao = g.addendum_offset;
    const double dof = g.dedendum_offset;
    const double root_land = g.rack_root_land;
    const double tip_land = g.rack_tip_land;
    p[0] = {-PI - dof, -hf};
    p[1] = {-PI + ao, ha};
    p[2] = {-PI + ao + root_land, ha};
    p[3] = {-dof - tip_land, -hf};
    p[4] = {-dof, -hf};
    p[5] = {ao, ha};
    p[6] = {ao + root_land, ha};
    p[7] = {ao + root_land + ao + dof, -hf};
}

// The arc of radius ρ that rounds a tip corner, tangent to the tip line and
// the flank, run counter-clockwise from first to last (the ends exactly, so
// the chords join the straight parts without a gap).
struct TipArc {
    ProfilePoint centre;
    double radius;  // ρ
    double height;  // ρ·cos β: a helical gear's transverse arc is an ellipse (ρ for a spur gear)
    double start;   // angle of first about the centre, counter-clockwise from +x
    double sweep;   // angle from first to last, π/2 - α
    ProfilePoint first;
    ProfilePoint last;
};

// The tip corners P1, P4, P5 and P8 in the order the outline meets them.
constexpr int TIP_ARCS = 4;
constexpr int TIP_CORNER[TIP_ARCS] = {0, 3, 4, 7};

// One pitch as drawn: seven pieces, piece i running from P(i+1) to P(i+2) as
// a straight part from[i]–to[i] and, where it meets a rounded tip corner, that
// corner's arc before or after it (piece 0 begins with arc 0 at P1, piece 2
// ends with arc 1 at P4, piece 4 begins with arc 2 at P5, piece 6 ends with
// arc 3 at P8). With sharp corners the pieces are the segments Pi–Pi+1.
struct RackPitch {
    ProfilePoint corner[RACK_OUTLINE_POINTS];
    ProfilePoint from[RACK_PIECES];
    ProfilePoint to[RACK_PIECES];
    TipArc arcs[TIP_ARCS];
    int chords;  // chords of each arc; 0: sharp corners, no arcs
};
constexpr int ARC_BEFORE[RACK_PIECES] = {0, -1, -1, -1, 2, -1, -1};
constexpr int ARC_AFTER[RACK_PIECES] = {-1, -1, 1, -1, -1, -1, 3};

// The arc at a tip corner. The straight flank ends arc_rise (ρ·(1 - sin α))
// above the tip line, the tip line's tangent point lies arc_run (ρ·(1 - sin
// α)/cos α) from the corner, and the centre ρ above it (a helical gear's
// ellipse: ρ·cos β, the angles the normal plane's). At a right corner (tooth
// to its left) the arc runs from the tip line (angle -π/2) up to the flank
// (-α); at a left corner from the flank (π + α) down to the tip line.
static TipArc tip_arc(const GearParams& g, const ProfilePoint& corner, bool right_corner) {
    const double rise = g.arc_rise;
    const double alpha = g.normal_alpha;
    const double side = right_corner ? -1.0 : 1.0;  // towards the tooth
    const ProfilePoint on_tip_line = {corner.x + side * g.arc_run, corner.y};
    const ProfilePoint on_flank = {corner.x - side * rise * g.tan_alpha, corner.y + rise};
    TipArc arc;
    arc.centre = {on_tip_line.x, corner.y + g.tip_arc_height};
    arc.radius = g.tip_arc_radius;
    arc.height = g.tip_arc_height;
    arc.sweep = PI / 2.0 - alpha;
    arc.start = right_corner ? -PI / 2.0 : PI + alpha;
    arc.first = right_corner ? on_tip_line : on_flank;
    arc.last = right_corner ? on_flank : on_tip_line;
    return arc;
}

// Chords per tip arc at scale s in the frame being recorded: the chord angle δ
// keeps the sagitta ρ_px·(1 - cos(δ/2)) within TIP_ARC_SAGITTA_PIXELS. The
// same for a frame recorded whole and one recorded as seen.
static int tip_arc_chords(const GearParams& g, double s) {
    // An ellipse's (ρ, ρ·cos β) curvature radius is at most ρ/cos β.
    const double rho = g.tip_arc_radius / g.cos_beta;
    if (!(rho > 0.0)) return 0;
    const double pixels = 0.5 * std::fmax(device_frame().width, device_frame().height);  // per view unit
    const double rho_pixels = s * rho * pixels;
    const double sweep = PI / 2.0 - g.normal_alpha;
    if (!(rho_pixels > TIP_ARC_SAGITTA_PIXELS)) return 1;  // a chord within the tolerance already
    const double delta = 2.0 * std::acos(1.0 - TIP_ARC_SAGITTA_PIXELS / rho_pixels);
    return static_cast<int>(std::fmin(std::ceil(sweep / delta), TIP_ARC_CHORDS_MAX));
}

// The pitch for scale s: corners, straight parts and, for a rounded tip, arcs.
static void rack_pitch(const GearParams& g, double s, RackPitch& pitch) {
    rack_outline(g, pitch.corner);
    for (int i = 0; i < RACK_PIECES; ++i) {
        pitch.from[i] = pitch.corner[i];
        pitch.to[i] = pitch.corner[i + 1];
    }
    pitch.chords = tip_arc_chords(g, s);
    if (pitch.chords == 0) return;
    for (int k = 0; k < TIP_ARCS; ++k) pitch.arcs[k] = tip_arc(g, pitch.corner[TIP_CORNER[k]], k % 2 == 0);
    // The straight parts end where the arcs take over: the flanks at their
    // tangent points on the flank, the tip land at those on the tip line.
    pitch.from[0] = pitch.arcs[0].last;
    pitch.to[2] = pitch.arcs[1].first;
    pitch.from[3] = pitch.arcs[1].last;
    pitch.to[3] = pitch.arcs[2].first;
    pitch.from[4] = pitch.arcs[2].last;
    pitch.to[6] = pitch.arcs[3].first;
}

// The smallest rectangle that holds the pitch: its corners and, rounded, the
// arcs' ends (the tip line's tangent points at P1 and P8 lie beyond the
// corners; every other arc point lies within them).
static ProfileBox rack_pitch_extent(const RackPitch& pitch) {
    ProfilePoint points[RACK_OUTLINE_POINTS + 2 * TIP_ARCS];
    int last = -1;
    for (const ProfilePoint& p : pitch.corner) points[++last] = p;
    if (pitch.chords > 0)
        for (const TipArc& arc : pitch.arcs) {
            points[++last] = arc.first;
            points[++last] = arc.last;
        }
    return bounding_box(points, last);
}

// Point j (0 … chords) of the arc.
static ProfilePoint arc_point(const TipArc& arc, int j, int chords) {
    if (j == 0) return arc.first;
    if (j == chords) return arc.last;
    const double angle = arc.start + j * (arc.sweep / chords);
    return ProfilePoint{arc.centre.x + arc.radius * std::cos(angle),
                        arc.centre.y + arc.height * std::sin(angle)};
}

// One segment of the rack frame, moved on by shift and scaled by s, into the
// open line item; with a box, only if it can be seen.
static void rack_segment(const ViewBox* box, double shift, double s, const ProfilePoint& p,
                         const ProfilePoint& q) {
    const ProfilePoint a = {shift + s * p.x, s * p.y};
    const ProfilePoint b = {shift + s * q.x, s * q.y};
    if (box && !segment_visible(*box, a, b)) return;
    device_vertex(to_screen(a.x), to_screen(a.y));
    device_vertex(to_screen(b.x), to_screen(b.y));
}

// The chords of a tip arc, moved on and scaled as rack_segment does; with a box
// and many chords, only the runs of chords that reach the view are walked.
static void arc_chords(const ViewBox* box, double shift, double s, const TipArc& arc, int chords) {
    IndexRun runs[RUN_CAPACITY] = {{0, chords - 1}};
    int run_count = 1;
    if (box && chords > TIP_ARC_WALKED_WHOLE && arc.height == arc.radius) {  // a circle's arc
        // The view as seen from the arc's centre, where circle_visible_arcs wants the origin.
        const double cx = shift + s * arc.centre.x;
        const double cy = s * arc.centre.y;
        ViewBox about = *box;
        about.x0 = box->xx * cx + box->xy * cy + box->x0;
        about.y0 = box->yx * cx + box->yy * cy + box->y0;
        double seen[ARC_CAPACITY][2];
        const int seen_count = circle_visible_arcs(about, s * arc.radius, seen);
        for (int a = 0; a < seen_count; ++a) {  // as angles from the arc's first end
            seen[a][0] -= arc.start;
            seen[a][1] -= arc.start;
        }
        const double delta = arc.sweep / chords;
        run_count = visible_pieces(seen, seen_count, delta, delta, delta, 0, chords - 1, runs);
    }
    for (int r = 0; r < run_count; ++r) {
        ProfilePoint p = arc_point(arc, runs[r].first, chords);
        for (int j = runs[r].first; j <= runs[r].last; ++j) {
            const ProfilePoint q = arc_point(arc, j + 1, chords);
            rack_segment(box, shift, s, p, q);
            p = q;
        }
    }
}

// The pieces of one pitch, moved on by shift (view units) along the rack's x
// axis and scaled by s, into the open line item; with a box, only what can be
// seen. A pitch that follows another leaves out pieces 0 and 2 (P1-P2 and
// P3-P4 with their arcs): they are the other's pieces 4 and 6, already drawn.
static void rack_pitch_segments(const ViewBox* box, double shift, double s, const RackPitch& pitch,
                                bool follows = false) {
    for (int i = 0; i < RACK_PIECES; ++i) {
        if (follows && (i == 0 || i == 2)) continue;
        if (pitch.chords > 0 && ARC_BEFORE[i] >= 0)
            arc_chords(box, shift, s, pitch.arcs[ARC_BEFORE[i]], pitch.chords);
        rack_segment(box, shift, s, pitch.from[i], pitch.to[i]);
        if (pitch.chords > 0 && ARC_AFTER[i] >= 0)
            arc_chords(box, shift, s, pitch.arcs[ARC_AFTER[i]], pitch.chords);
    }
}

// Four pitches of the cutter with its origin at the reference point, turned
// clockwise by t: 22 segments with sharp tip corners (and the arcs' chords with rounded ones), the flanks
// where two pitches meet drawn once. The point of rolling lies at
// rack x = r·t, so the copies q-2 … q+1 with q = r·t/π (truncated toward zero) cover the teeth in mesh around
// it whatever t is. Copy i is placed at i·π along the rack from its index; a rack, or a copy, or a segment
// that cannot be seen is left out.
static void draw_rack_pitches(const GearParams& g, const RackPitch& pitch, const ProfileBox& extent,
                              const ProfilePoint& reference, double t, const Colour& colour) {
    const double s = scale_factor;
    const double turns = g.pitch_radius * t / PI;
    // Truncation toward zero; a roll past the int range (never met) keeps the last copies.
    const int q = static_cast<int>(std::fmax(-1e9, std::fmin(1e9, turns)));
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
                rack_pitch_segments(nullptr, shift, s, pitch, follows);
            else if (rectangle_visible(box, shift + s * low.x, s * low.y, shift + s * high.x, s * high.y))
                rack_pitch_segments(&box, shift, s, pitch, follows);
        }
        device_end();
    }
    device_pop_matrix();
}

void draw_rack(const GearParams& g, int mode, const ProfilePoint& reference, double t, const Colour& colour) {
    RackPitch pitch;
    rack_pitch(g, scale_factor, pitch);
    draw_rack_pitches(g, pitch, rack_pitch_extent(pitch), reference, t, colour);
    if (mode == 1) {  // the rolling line, along the rack's x axis through the reference point
        const double dx = ROLLING_LINE_HALF_LENGTH * std::cos(t);
        const double dy = ROLLING_LINE_HALF_LENGTH * std::sin(t);
        draw_dash_dot_line_scaled(scale_factor, ProfilePoint{reference.x + dx, reference.y - dy},
                                  ProfilePoint{reference.x - dx, reference.y + dy}, blue);
    }
}

// The rack rolled through t touches the pitch circle at K(t) = r·(sin t,
// cos t - 1), where its rolling line (its x axis) is the tangent. Its copies
// q-2 … q+1 span [(q-3)·π - do - e, (q+1)·π + 2·ao + R + do + e] along that
// line (e: how far a tip arc reaches past its corner, at most half the tip
// land, π/4 - hf·tan α). For any cutter the cutter can cut with (root land
// left, ha·tan α < π/4, hf·tan α < π/4, -ha < x < hf) that is more than
// (q-3)·π - π/2 and less than (q+2)·π, and q·π lies within π of K's r·t: less
// than 4.5π either way of K, and the addendum or the dedendum across it. So
// all of it lies within the disc about K of radius hypot(4.5π, max of both).
//
// Returns 0 when that disc may be seen in the view box; else how many racks,
// from this one on, rolled on by roll_step each, surely cannot be: K moves
// along the circle of radius s·r at most s·r·|roll_step| a step, and a view
// axis changes by at most |M|·|ΔK| (M that axis's row of the matrix), so they
// cannot be seen for as many steps as K takes to come within reach of the
// view, counted at half the rate for the rounding.
static int racks_unseen(const GearParams& g, const ViewBox& box, double t, double roll_step) {
    const double s = scale_factor;
    const double r = g.pitch_radius;
    const double kx = s * r * std::sin(t);
    const double ky = s * r * (std::cos(t) - 1);
    const double reach = s * std::hypot(4.5 * PI, std::fmax(g.addendum, g.dedendum));
    if (disc_visible(box, kx, ky, reach)) return 0;
    const double vx = box.xx * kx + box.xy * ky + box.x0;
    const double vy = box.yx * kx + box.yy * ky + box.y0;
    const double across_x = std::hypot(box.xx, box.xy);
    const double across_y = std::hypot(box.yx, box.yy);
    const double outside = std::fmax(std::fabs(vx) - reach * across_x - box.limit_x,
                                     std::fabs(vy) - reach * across_y - box.limit_y);
    const double stride = s * r * std::fabs(roll_step) * std::fmax(across_x, across_y);
    const double passed = 0.5 * outside / stride;
    return passed >= 1.0 ? static_cast<int>(std::fmin(passed, 1e9)) : 1;  // this one, at least
}

void draw_rolled_racks(const GearParams& g, double first_roll, double roll_step, int first, int end,
                       int every, const Colour& colour) {
    RackPitch pitch;
    rack_pitch(g, scale_factor, pitch);
    const ProfileBox extent = rack_pitch_extent(pitch);
    ViewBox box;
    const bool leave_out = read_view_box(0, box);
    for (int i = first; i < end; i += every) {
        const double t = roll_at_step(first_roll, roll_step, i);
        const int unseen = leave_out ? racks_unseen(g, box, t, every * roll_step) : 0;
        if (unseen > 0) {
            i += (unseen - 1) * every;  // the racks of the steps passed over cannot be seen
            continue;
        }
        draw_rack_pitches(g, pitch, extent, rack_reference_at(g, t), t, colour);
    }
}

// Pitch, tip, root and base circles about the centre, the centre disc
// (0.1 model units) and the two centre lines across the pitch diameter.
void draw_gear_circles(const GearParams& g, const ProfilePoint& centre) {
    const double s = scale_factor;
    const double r = g.pitch_radius;
    const ProfilePoint c = {s * centre.x, s * centre.y};
    draw_dash_dot_circle(c, s * r, blue);
    draw_circle(c, s * g.tip_radius, red);
    draw_circle(c, s * g.root_radius, red);
    draw_circle(c, s * g.base_radius, green);
    draw_disc(c, 0.1 * s, black);
    draw_dash_dot_line_scaled(s, ProfilePoint{centre.x + r, centre.y}, ProfilePoint{centre.x - r, centre.y},
                              blue);
    draw_dash_dot_line_scaled(s, ProfilePoint{centre.x, centre.y + r}, ProfilePoint{centre.x, centre.y - r},
                              blue);
}

// The z teeth of a gear. Both placements turn the outline about its own centre
// (0, -r) and move that centre onto the gear's; each places copy k from k
// directly (no steps that add up):
// - TURN_ABOUT_CENTRE: copy k = 0 … z-1 turned by turn + k·2π/z, the
//   outline's frame moved onto the centre and turned there.
// - PITCH_STEPS: copy k = 1 … z turned by turn - k·φ (φ = 2π/z) about the
//   outline's centre as found from one pitch step: the step p → R·p + d, R the
//   clockwise turn by φ and d = s·(r·sin φ, r·(cos φ - 1)), is a turn by φ
//   about its fixed point c = (I - R)⁻¹·d.
void draw_gear_teeth(TeethPlacement placement, const ProfilePoint& centre, double r, int z, double turn,
                     const ProfilePoint* points, int last, const Colour& colour) {
    if (z < 2 || last < 1) return;  // no pitch to turn by, or no segment to draw
    const double s = scale_factor;
    const double phi = 2 * PI / z;
    const double dx = to_screen(s * (r * std::sin(phi)));
    const double dy = to_screen(s * (r * (std::cos(phi) - 1)));
    // (I - R)·c = d with R = [[cos φ, sin φ], [-sin φ, cos φ]]: det = 2 - 2·cos φ > 0 for z ≥ 2.
    const double a = 1 - std::cos(phi);
    const double b = -std::sin(phi);
    const double det = a * a + b * b;
    const double cx = (a * dx - b * dy) / det;
    const double cy = (b * dx + a * dy) / det;
    const ProfilePoint move = {to_screen(s * centre.x), to_screen(s * (centre.y + r))};
    const ProfileBox extent = bounding_box(points, last);
    const bool steps = placement == TeethPlacement::PITCH_STEPS;
    for (int k = steps ? 1 : 0; k < (steps ? z + 1 : z); ++k) {
        device_push_matrix();
        if (steps) {
            device_translate(cx + move.x, cy + move.y);
            device_rotate(turn - k * phi);
            device_translate(-cx, -cy);
        } else {
            device_translate(to_screen(s * centre.x), to_screen(s * centre.y));
            device_rotate(turn + k * 2.0 * PI / z);
            device_translate(0.0, to_screen(s * r));
        }
        ViewBox box;
        if (!read_view_box(POLYLINE_WIDTH * PIXELS_PER_VIEW_UNIT, box) ||
            rectangle_visible(box, s * extent.low.x, s * extent.low.y, s * extent.high.x, s * extent.high.y))
            draw_wide_polyline(points, last, colour);
        device_pop_matrix();
    }
}
