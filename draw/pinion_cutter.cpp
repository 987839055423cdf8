// The pinion-type cutter figure: copies of one tooth of the cutter about its
// centre, placed where the geometry says the cutter stands at roll t, and its
// cutting pitch circle. The tooth is made once a frame (make_cutter_tooth);
// every copy is placed from its index directly, in the caller's frame, and
// the caller's matrix is left untouched. Owns no state.
#include "draw/draw.hpp"

#include "draw/visibility.hpp"
#include "record/device.hpp"

#include <algorithm>
#include <cmath>

// A point of the geometry's outline is dropped when it lies this many pixels
// or fewer from the chord that replaces it: a flank of 24 chords needs a few
// at the start scale, all of them zoomed in.
constexpr double OUTLINE_TOLERANCE_PIXELS = 0.25;

// The distance from p to the segment a–b.
static double off_chord(const ProfilePoint& p, const ProfilePoint& a, const ProfilePoint& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double u = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    u = std::fmin(1.0, std::fmax(0.0, u));
    return std::hypot(p.x - a.x - u * dx, p.y - a.y - u * dy);
}

// From points[0], each chord as long as every point it skips lies within the
// tolerance of it, to points[last]; returns the last index kept in place.
static int thin_out(ProfilePoint* points, int last, double tolerance) {
    int kept = 0;
    int anchor = 0;
    while (anchor < last) {
        int end = anchor + 1;
        for (; end < last; ++end) {
            bool near = true;
            for (int k = anchor + 1; k <= end && near; ++k)
                near = off_chord(points[k], points[anchor], points[end + 1]) <= tolerance;
            if (!near) break;
        }
        points[++kept] = points[end];
        anchor = end;
    }
    return kept;
}

// The half angle about the line of centres within which a tooth of the cutter
// reaches into the gear's teeth: where its tip circle (radius R, centre a from
// the gear's) lies inside the gear's tip circle ra, or for a ring outside it,
// by the law of cosines, widened by the angle its tip takes to either side of
// its centre line (from where its flank ends). No point of the cutter nearer
// its centre reaches farther round: its tip circle reaches the farthest.
static double cutting_half_angle(const GearParams& g, const ProfilePoint* points, int last) {
    const double a = g.pinion.centre_distance;
    const double big_r = g.pinion.tip_circle;
    const double ra = g.tip_radius;
    const double c = g.internal ? (ra * ra - a * a - big_r * big_r) / (2.0 * a * big_r)
                                : (a * a + big_r * big_r - ra * ra) / (2.0 * a * big_r);
    double tip = 0.0;
    for (int k = 0; k <= last; ++k)
        if (std::hypot(points[k].x, points[k].y) >= g.pinion.flank_end_radius - 1e-9)
            tip = std::fmax(tip, std::fabs(std::atan2(points[k].x, points[k].y)));
    return std::acos(std::fmin(1.0, std::fmax(-1.0, c))) + tip;
}

void make_cutter_tooth(const GearParams& g, CutterTooth& tooth) {
    tooth.last = -1;
    if (!pinion_type(g.cutter)) return;
    // Room for the point that joins the next copy.
    int last = pinion_cutter_tooth(g, tooth.points, CUTTER_TOOTH_CAPACITY - 1);
    if (last < 1) return;
    tooth.cutting_half_angle = cutting_half_angle(g, tooth.points, last);
    // The next copy, turned clockwise by a pitch, begins with this one's first
    // point turned so; from a flank that starts above the root circle (on the
    // base circle) the outline steps down to it radially.
    const double pitch = 2.0 * PI / g.cutter.teeth;
    const ProfilePoint first = tooth.points[0];
    tooth.points[++last] = ProfilePoint{first.x * std::cos(pitch) + first.y * std::sin(pitch),
                                        -first.x * std::sin(pitch) + first.y * std::cos(pitch)};
    const double pixels = scale_factor * 0.5 * std::fmax(device_frame().width, device_frame().height);
    tooth.last = thin_out(tooth.points, last, pixels > 0.0 ? OUTLINE_TOLERANCE_PIXELS / pixels : 0.0);
    const ProfileBox box = bounding_box(tooth.points, tooth.last);
    tooth.disc_centre = {0.5 * (box.low.x + box.high.x), 0.5 * (box.low.y + box.high.y)};
    tooth.disc_radius = 0.0;
    for (int k = 0; k <= tooth.last; ++k)
        tooth.disc_radius = std::fmax(tooth.disc_radius, std::hypot(tooth.points[k].x - tooth.disc_centre.x,
                                                                    tooth.points[k].y - tooth.disc_centre.y));
    tooth.tip_circle = g.pinion.tip_circle;
    tooth.rolling_radius = std::fabs(g.pinion.centre_distance - g.pinion.gear_pitch_radius);
}

// The copies of the tooth about the cutter's centre (view units, the caller's
// frame), each turned clockwise by turn + k·2π/z_c; with CUTTING only those
// whose centre line lies within the cutting half angle of the direction into
// the gear (towards its centre, or away from a ring's). With a box, a copy whose
// disc cannot be seen and a segment that cannot be seen are left out; a copy
// whose disc lies all in view needs no segment judged.
static void draw_teeth(const GearParams& g, const CutterTooth& tooth, const CutterPlace& place,
                       const ProfilePoint& centre, CutterTeeth which, const ViewBox* box) {
    const double s = scale_factor;
    const int teeth = g.cutter.teeth;
    const double pitch = 2.0 * PI / teeth;
    int first = 0;
    int count = teeth;
    double towards = 0.0;
    const double window = tooth.cutting_half_angle;
    if (which == CutterTeeth::CUTTING) {
        const double dx = place.centre.x;
        const double dy = place.centre.y + g.pitch_radius;  // from the gear's centre to the cutter's
        towards = g.internal ? std::atan2(dx, dy) : std::atan2(-dx, -dy);
        const double nearest = std::round((towards - place.turn) / pitch);
        const int span = static_cast<int>(std::ceil(window / pitch)) + 1;
        // A roll past the int range (never met) keeps the last copies.
        first = static_cast<int>(std::fmax(-1e9, std::fmin(1e9, nearest))) - span;
        count = std::min(teeth, 2 * span + 1);
    }
    for (int i = 0; i < count; ++i) {
        const double angle = place.turn + (first + i) * pitch;
        if (which == CutterTeeth::CUTTING && std::fabs(std::remainder(angle - towards, 2.0 * PI)) > window)
            continue;
        const double c = std::cos(angle);
        const double sn = std::sin(angle);
        const auto placed = [&](const ProfilePoint& p) {
            return ProfilePoint{centre.x + s * (p.x * c + p.y * sn), centre.y + s * (p.y * c - p.x * sn)};
        };
        const ViewBox* judge = box;  // nullptr: every segment of the copy can be seen
        if (box) {
            const ProfilePoint d = placed(tooth.disc_centre);
            if (!disc_visible(*box, d.x, d.y, s * tooth.disc_radius)) continue;
            if (disc_inside(*box, d.x, d.y, s * tooth.disc_radius)) judge = nullptr;
        }
        ProfilePoint a = placed(tooth.points[0]);
        for (int k = 1; k <= tooth.last; ++k) {
            const ProfilePoint b = placed(tooth.points[k]);
            if (!judge || segment_visible(*judge, a, b)) {
                device_vertex(to_screen(a.x), to_screen(a.y));
                device_vertex(to_screen(b.x), to_screen(b.y));
            }
            a = b;
        }
    }
}

void draw_pinion_cutter(const GearParams& g, const CutterTooth& tooth, int mode, double t, CutterTeeth which,
                        const Colour& colour) {
    if (tooth.last < 1 || !pinion_type(g.cutter)) return;
    const double s = scale_factor;
    const CutterPlace place = pinion_cutter_place(g, t);
    const ProfilePoint centre = {s * place.centre.x, s * place.centre.y};
    ViewBox box;
    const bool leave_out = read_view_box(0, box);
    if (!leave_out || disc_visible(box, centre.x, centre.y, s * tooth.tip_circle)) {
        device_colour(colour);
        device_begin(ItemKind::LINES);
        draw_teeth(g, tooth, place, centre, which, leave_out ? &box : nullptr);
        device_end();
    }
    if (mode == 1) {  // the two cutting pitch circles, which touch at the point of rolling
        draw_dash_dot_circle(centre, s * tooth.rolling_radius, blue);
        draw_dash_dot_circle(ProfilePoint{0.0, -s * g.pitch_radius}, s * g.pinion.gear_pitch_radius, blue);
        draw_disc(centre, 0.1 * s, black);
    }
}
