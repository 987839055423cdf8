// Assembly of one complete tooth as the rack cutter generates it: the involute
// sampled on both sides of the pitch point, the undercut trochoid of the
// cutter's tip corner, their join into the flank, its mirror image, and the
// one-pitch outline with root and tip arcs. Writes the gear's shift-dependent
// parameters, its curves and the target ToothProfile; owns no state.
#include "geometry/geometry_private.hpp"

#include <cmath>

// Writes one point of a list whose length is not bounded by its own loop (the
// joined involute, the flank, the outline): refuses an index past the capacity
// and records the overflow instead of writing. The sampling loops stop at the
// capacity themselves.
static void put_point(ProfilePoint* list, int index, const ProfilePoint& p, bool& overflowed) {
    if (index < 0 || index >= POINT_CAPACITY) {
        overflowed = true;
        return;
    }
    list[index] = p;
}

// A last index as the readers may use it: never past the end of the list.
static int bounded_last(int last, bool& overflowed) {
    if (last > POINT_CAPACITY - 1) {
        overflowed = true;
        return POINT_CAPACITY - 1;
    }
    return last;
}

// The point at polar angle θ on the circle of radius R about the gear centre.
static ProfilePoint polar_point(const GearParams& g, double radius, double theta) {
    double r = g.pitch_radius;
    return ProfilePoint{radius * std::sin(theta), radius * std::cos(theta) - r};
}

static double cross(const ProfilePoint& a, const ProfilePoint& b) {
    return a.x * b.y - a.y * b.x;
}

static ProfilePoint minus(const ProfilePoint& a, const ProfilePoint& b) {
    return ProfilePoint{a.x - b.x, a.y - b.y};
}

ProfileBox bounding_box(const ProfilePoint* points, int last) {
    ProfileBox b{points[0], points[0]};
    for (int i = 1; i <= last; ++i) {
        b.low.x = std::fmin(b.low.x, points[i].x);
        b.low.y = std::fmin(b.low.y, points[i].y);
        b.high.x = std::fmax(b.high.x, points[i].x);
        b.high.y = std::fmax(b.high.y, points[i].y);
    }
    return b;
}

// The box grown by margin on every side.
static ProfileBox widened(const ProfileBox& b, double margin) {
    return ProfileBox{{b.low.x - margin, b.low.y - margin}, {b.high.x + margin, b.high.y + margin}};
}

// Whether segment a–b may reach into the box. NaN coordinates never fail it.
static bool overlaps(const ProfileBox& box, const ProfilePoint& a, const ProfilePoint& b) {
    bool left = a.x < box.low.x && b.x < box.low.x;
    bool right = a.x > box.high.x && b.x > box.high.x;
    bool below = a.y < box.low.y && b.y < box.low.y;
    bool above = a.y > box.high.y && b.y > box.high.y;
    return !(left || right || below || above);
}

// In dependency order.
void set_shift_params(GearParams& g, double shift) {
    const double x_s = shift * g.cos_beta;  // the normal plane's shift in transverse modules
    g.dedendum = g.dedendum_coefficient - x_s;
    g.addendum = g.addendum_coefficient + x_s;
    g.dedendum_offset = g.dedendum * g.tan_alpha;
    g.addendum_offset = g.addendum * g.tan_alpha;
    g.pitch_radius = g.z / 2.0;
    g.tip_radius = g.pitch_radius + g.addendum;
    g.root_radius = g.pitch_radius - g.dedendum;
    g.base_radius = g.pitch_radius * g.cos_alpha;
    g.tooth_angle = (2.0 * x_s * g.tan_alpha + PI / 2.0) / g.pitch_radius;
    g.space_angle = PI / g.pitch_radius - g.tooth_angle;
    // The tip arc (compute_gear_params) ends the straight flank arc_rise above
    // the tip line and takes its lowest point arc_run beyond the sharp corner.
    g.tip_corner_distance = (g.dedendum - g.arc_rise) / g.cos_alpha;
    g.undercut_start_roll = (g.dedendum * g.tan_alpha + g.arc_run) / g.pitch_radius;
    set_elliptic_fold(g);
    // A thinned gear's own tooth keeps the nominal blank: its tip circle is
    // where the nominal shift puts it (the standard tooth's is its own).
    if (g.feed != 0.0 && shift == g.x) g.tip_radius -= g.feed * g.cos_beta;
    if (!pinion_type(g.cutter)) return;
    // A ring's tooth is an external gear's space: ψ = (π/2 - 2x·tan α)/r, and
    // its tip circle lies ha - x inside the pitch circle.
    if (g.internal) {
        g.tip_radius = g.pitch_radius - g.addendum_coefficient + x_s;
        if (g.feed != 0.0 && shift == g.x) g.tip_radius -= g.feed * g.cos_beta;
        g.tooth_angle = (PI / 2.0 - 2.0 * x_s * g.tan_alpha) / g.pitch_radius;
        g.space_angle = PI / g.pitch_radius - g.tooth_angle;
    }
    set_pinion_cutting(g, x_s);
}

// Addendum involute: t = +0.01·i from the pitch point until the first sample at
// or beyond the tip circle.
static void sample_addendum_involute(Gear& gear) {
    const GearParams& g = gear.params;
    GenerationCurves& c = gear.curves;
    double lambda;
    int i = 0;
    for (;; ++i) {
        rack_involute_point(g, i * ROLL_STEP, c.addendum_rack[i], c.addendum_involute[i], lambda);
        if (polar_radius(c.addendum_involute[i], g.pitch_radius) >= g.tip_radius) break;
        if (i == POINT_CAPACITY - 1) {  // the tip circle was not reached in 600 steps
            gear.overflowed = true;
            break;
        }
    }
    c.addendum_last = i;
}

// Dedendum involute: t = -0.01·j from the pitch point inwards, until the contact
// point reaches the cutter's tip corner (|λ| ≥ tip_corner_distance) or the
// involute reaches the base circle (within 0.002 module). The involute starts
// there, at its cusp (t = -1), and near it the length along the curve equals
// the height above the base circle (both rb·φ²/2): a sample within 0.002 module
// is that near the start, under half a pixel at the starting scale.
//
// A sample stopped at the tip corner lies one step past it, off the cutter.
// For large z or a large positive shift that point lies inside the root
// circle; only then is it taken instead at the exact roll where the corner
// meets the involute, t = -tip_corner_distance/(r·sin α), which is on the
// root circle. A rounded tip's flank always ends there, where the tip arc's
// envelope takes over tangentially. Every other gear keeps its samples on the
// 0.01 grid.
static void sample_dedendum_involute(Gear& gear) {
    GenerationCurves& c = gear.curves;
    const GearParams& g = gear.params;
    double lambda;
    int j = 0;
    for (;; ++j) {
        rack_involute_point(g, ROLL_STEP * -j, c.dedendum_rack[j], c.dedendum_involute[j], lambda);
        if (std::fabs(lambda) >= g.tip_corner_distance) {
            if (g.tip_arc_radius > 0.0 ||
                polar_radius(c.dedendum_involute[j], g.pitch_radius) < g.root_radius) {
                double t_corner = flank_end_roll(g);
                rack_involute_point(g, t_corner, c.dedendum_rack[j], c.dedendum_involute[j], lambda);
            }
            break;
        }
        if (polar_radius(c.dedendum_involute[j], g.pitch_radius) <= g.base_radius + 0.002) break;
        if (j == POINT_CAPACITY - 1) {
            gear.overflowed = true;
            break;
        }
    }
    c.dedendum_last = j;
}

// Whole involute: the dedendum part reversed, then the addendum part without
// its first point (the shared pitch point), the last point clipped to the tip.
static void join_involute(Gear& gear) {
    GenerationCurves& c = gear.curves;
    for (int k = 0; k <= c.dedendum_last; ++k)
        put_point(c.involute_curve, k, c.dedendum_involute[c.dedendum_last - k], gear.overflowed);
    for (int k = 1; k <= c.addendum_last; ++k)
        put_point(c.involute_curve, c.dedendum_last + k, c.addendum_involute[k], gear.overflowed);
    c.involute_last = bounded_last(c.addendum_last + c.dedendum_last, gear.overflowed);
    // A miss leaves the involute ending at its last unclipped point.
    clip_to_tip_circle(gear.params, c.involute_last, c.involute_curve);
}

// Undercut: the tip corner at t = -u0 - 0.01·k, k = 0 … 250, from the root
// circle on. A tip arc cuts only until its contact reaches the straight
// flank's end, at the flank's own last roll: its samples stop before that,
// where the involute goes on.
static void sample_undercut(Gear& gear) {
    const GearParams& g = gear.params;
    GenerationCurves& c = gear.curves;
    const bool rounded = g.tip_arc_radius > 0.0;
    const double t_end = flank_end_roll(g);
    int k = 0;
    for (; k <= UNDERCUT_LAST; ++k) {
        double t = -g.undercut_start_roll - ROLL_STEP * k;
        if (rounded && k > 0 && t <= t_end) break;
        rack_undercut_point(g, t, c.undercut_rack[k], c.undercut_curve[k]);
    }
    c.undercut_last = k - 1;
}

// The right flank: the left one reflected about the tooth centre line (the
// radius at polar angle ψ/2, ψ = tooth_angle), so θ goes to ψ - θ.
void mirror_about_tooth_centre(const GearParams& g, int n, const ProfilePoint* flank,
                               ProfilePoint* mirror_flank) {
    double r = g.pitch_radius;
    double psi = g.tooth_angle;
    double s = std::sin(psi);
    double c = std::cos(psi);
    for (int i = 0; i <= n; ++i) {
        double x = flank[i].x;
        double y = flank[i].y;
        mirror_flank[i] = ProfilePoint{r * s - c * x + s * y, s * x + c * y + (c - 1.0) * r};
    }
}

// One angular pitch as one polyline: root arc (ARC_POINTS points), the flank,
// tip arc (ARC_POINTS points, the first in place of the flank's last), the
// right flank reversed. Returns its last index, 2n + 2·ARC_POINTS.
int assemble_outline(Gear& gear, int n, const ProfilePoint* flank, const ProfilePoint* mirror_flank,
                     ProfilePoint* outline) {
    const GearParams& g = gear.params;
    bool& overflowed = gear.overflowed;
    double theta0 = polar_angle(flank[0], g.pitch_radius);
    double root_step = (g.space_angle + 2.0 * theta0) / ARC_POINTS;
    for (int k = 0; k < ARC_POINTS; ++k)
        put_point(outline, k, polar_point(g, g.root_radius, -g.space_angle - theta0 + k * root_step),
                  overflowed);
    for (int i = 0; i <= n; ++i) put_point(outline, ARC_POINTS + i, flank[i], overflowed);
    double eps = polar_angle(flank[n], g.pitch_radius);
    double tip_step = (g.tooth_angle - 2.0 * eps) / ARC_POINTS;
    for (int k = 0; k < ARC_POINTS; ++k)
        put_point(outline, ARC_POINTS + n + k, polar_point(g, g.tip_radius, eps + k * tip_step), overflowed);
    for (int k = 0; k <= n; ++k) put_point(outline, n + 2 * ARC_POINTS + k, mirror_flank[n - k], overflowed);
    return bounded_last(2 * (n + ARC_POINTS), overflowed);
}

void compute_tooth(Gear& gear, double x_s, ToothProfile& tooth) {
    gear.overflowed = false;
    set_shift_params(gear.params, x_s);
    if (pinion_type(gear.params.cutter)) {
        compute_pinion_tooth(gear, tooth);
        return;
    }
    sample_addendum_involute(gear);
    sample_dedendum_involute(gear);
    join_involute(gear);
    sample_undercut(gear);

    const GenerationCurves& c = gear.curves;
    int n = 0;
    join_undercut_involute(c.undercut_last, c.undercut_curve, c.involute_last, c.involute_curve, n,
                           tooth.flank, gear.overflowed);
    mirror_about_tooth_centre(gear.params, n, tooth.flank, tooth.mirror_flank);
    tooth.flank_last = n;
    tooth.outline_last = assemble_outline(gear, n, tooth.flank, tooth.mirror_flank, tooth.outline);
}

void compute_gear(Gear& gear, const Cutter& cutter, int z, double x, bool internal, double feed) {
    gear.params.z = z;
    gear.params.x = x + feed;
    gear.params.feed = feed;
    gear.params.cutter = cutter;
    gear.params.internal = internal;
    compute_gear_params(gear.params);
    compute_tooth(gear, 0.0, gear.standard_tooth);
    compute_tooth(gear, x + feed, gear.shifted_tooth);
}

// With cross(a, b) = a.x·b.y - a.y·b.x, undercut segment i and involute segment
// j cross when V[j], V[j+1] are on different sides of U's line (or one on it)
// and U[i], U[i+1] lie strictly on different sides of V's line. The first
// crossing in (i, j) order wins; the result runs U[0..i], V[j+1..q].
// Without a crossing the undercut is kept while it approaches V[0].
void join_undercut_involute(int p, const ProfilePoint* undercut, int q, const ProfilePoint* involute,
                            int& result_last, ProfilePoint* result, bool& overflowed) {
    const ProfilePoint* U = undercut;
    const ProfilePoint* V = involute;
    // Two segments that cross share a point, so an undercut segment wholly
    // outside the involute's bounding box (widened far beyond rounding) cannot
    // cross it: skipping it changes no result and saves most of the search.
    const ProfileBox involute_box = widened(bounding_box(V, q), 1e-6);
    for (int i = 0; i < p; ++i) {
        if (!overlaps(involute_box, U[i], U[i + 1])) continue;
        ProfilePoint d1 = minus(U[i + 1], U[i]);
        for (int j = 0; j < q; ++j) {
            if (!(cross(d1, minus(V[j], U[i])) * cross(d1, minus(V[j + 1], U[i])) <= 0.0)) continue;
            ProfilePoint d2 = minus(V[j + 1], V[j]);
            if (!(cross(d2, minus(U[i], V[j])) * cross(d2, minus(U[i + 1], V[j])) < 0.0)) continue;
            for (int k = 0; k <= i; ++k) put_point(result, k, U[k], overflowed);
            for (int k = j + 1; k <= q; ++k) put_point(result, i + 1 + (k - j - 1), V[k], overflowed);
            result_last = bounded_last(i + q - j, overflowed);
            return;
        }
    }

    // Larger than any |U[0] - V[0]|²: both lie at the tooth's root, less than
    // 2.1 module units apart over the accepted range, so U[0] is always taken.
    double best = 100000.0;
    int k = 0;
    for (; k <= p; ++k) {
        double dx = U[k].x - V[0].x;
        double dy = U[k].y - V[0].y;
        double e = dx * dx + dy * dy;
        if (!(e < best)) break;
        best = e;
    }
    for (int m = 0; m < k; ++m) put_point(result, m, U[m], overflowed);
    for (int m = 0; m <= q; ++m) put_point(result, k + m, V[m], overflowed);
    result_last = bounded_last(k + q, overflowed);
}

bool undercut_meets_involute(const Gear& gear, ProfilePoint& meeting) {
    // The flank runs U[0..i], V[j+1..q] when the curves cross in U's segment i
    // and V's segment j: i is the last flank point that is U's own.
    const GenerationCurves& c = gear.curves;
    const ToothProfile& t = gear.shifted_tooth;
    int i = 0;
    while (i + 1 <= t.flank_last && i + 1 <= c.undercut_last &&
           t.flank[i + 1].x == c.undercut_curve[i + 1].x && t.flank[i + 1].y == c.undercut_curve[i + 1].y)
        ++i;
    if (i >= c.undercut_last || i + 1 > t.flank_last) return false;
    int j = 1;
    while (j <= c.involute_last &&
           !(c.involute_curve[j].x == t.flank[i + 1].x && c.involute_curve[j].y == t.flank[i + 1].y))
        ++j;
    if (j > c.involute_last) return false;
    // Segment U[i] → U[i+1] against V[j-1] → V[j]: a crossing, or the join
    // without one (then the undercut's end is no crossing point at all).
    const ProfilePoint a = c.undercut_curve[i];
    const ProfilePoint b = c.undercut_curve[i + 1];
    const ProfilePoint p = c.involute_curve[j - 1];
    const ProfilePoint q = c.involute_curve[j];
    return segments_cross(a, b, p, q, meeting);
}

// a + u·(b - a) = p + v·(q - p) with u = cross(p - a, q - p) / cross(b - a, q - p)
// and v = cross(p - a, b - a) / cross(b - a, q - p), both in [0, 1].
bool segments_cross(const ProfilePoint& a, const ProfilePoint& b, const ProfilePoint& p,
                    const ProfilePoint& q, ProfilePoint& at) {
    const ProfilePoint d1 = minus(b, a);
    const ProfilePoint d2 = minus(q, p);
    const double den = cross(d1, d2);
    if (den == 0.0) return false;  // parallel: no single crossing
    const double u = cross(minus(p, a), d2) / den;
    const double v = cross(minus(p, a), d1) / den;
    if (!(u >= 0.0 && u <= 1.0 && v >= 0.0 && v <= 1.0)) return false;
    at = ProfilePoint{a.x + u * d1.x, a.y + u * d1.y};
    return true;
}
