// The pinion-type (shaper) cutter: a gear of z_c involute teeth that turns
// with the work at the cutting centre distance. Its constants for a gear and
// a shift, where it stands at roll t, what its tip cuts below the involute, its
// outline for drawing and the checks of a cutter against a ring. Pure functions
// of the parameters; no state.
#include "geometry/geometry_private.hpp"

#include <cmath>

double involute_function(double angle) {
    return std::tan(angle) - angle;
}

// Newton from a start where inv is steep enough (inv is increasing on
// [0, π/2): d/dφ inv φ = tan²φ).
double inverse_involute(double v) {
    double phi = std::cbrt(3.0 * v);  // inv φ ≈ φ³/3 for small φ
    for (int k = 0; k < 50; ++k) {
        const double t = std::tan(phi);
        const double step = (involute_function(phi) - v) / (t * t);
        phi -= step;
        if (std::fabs(step) < 1e-15) break;
    }
    return phi;
}

// The cutter tooth's half angle at radius R (≥ its base circle).
static double cutter_half_angle(const GearParams& g, double radius) {
    const PinionCutting& p = g.pinion;
    return p.tooth_half_angle + involute_function(g.alpha) -
           involute_function(std::acos(std::fmin(1.0, p.base_radius / radius)));
}

const char* pinion_cutter_refusal(const Cutter& c) {
    if (!(c.teeth >= CUTTER_TEETH_MIN && c.teeth <= CUTTER_TEETH_MAX))
        return "a pinion-type cutter must have from 6 to 400 teeth";
    if (!(std::fabs(c.shift) <= CUTTER_SHIFT_LIMIT)) return "the cutter's shift must be from -1 to 1";
    // Its tooth on its own: any gear will do for the cutter's constants.
    GearParams g = {};
    g.z = 2 * c.teeth + 2;
    g.cutter = c;
    compute_gear_params(g);
    set_shift_params(g, 0.0);
    const PinionCutting& p = g.pinion;
    if (!(p.tip_circle > p.base_radius && cutter_half_angle(g, p.tip_circle) > 0.0))
        return "the cutter's teeth come to a point below its tip circle";
    if (!(p.cut_half_angle >= 0.0 && p.cut_radius >= p.base_radius))
        return "the tip radius is too large for the cutter's tip land";
    return nullptr;
}

// The constants of the cutter for the gear at shift x_s. The tip arc's centre
// lies ρ inside the tip circle on the flank's involute turned by ρ/rb0 towards
// the tooth centre (a curve parallel to an involute is an involute of the same
// base circle), and the arc touches the flank where the string from the base
// circle through its centre is ρ longer.
void set_pinion_cutting(GearParams& g, double x_s) {
    PinionCutting& p = g.pinion;
    const Cutter& c = g.cutter;
    const double side = g.internal ? -1.0 : 1.0;
    const double zc = c.teeth;
    p.pressure_angle = inverse_involute(2.0 * g.tan_alpha * (x_s + side * c.shift) / (g.z + side * zc) +
                                        involute_function(g.alpha));
    p.centre_distance = (g.z + side * zc) / 2.0 * g.cos_alpha / std::cos(p.pressure_angle);
    p.gear_pitch_radius = g.base_radius / std::cos(p.pressure_angle);
    p.pitch_radius = zc / 2.0;
    p.base_radius = p.pitch_radius * g.cos_alpha;
    p.tip_circle = p.pitch_radius + g.dedendum_coefficient + c.shift;
    p.tooth_half_angle = (PI / 2.0 + 2.0 * c.shift * g.tan_alpha) / zc;
    const double rho = g.tip_arc_radius;
    p.cut_radius = p.tip_circle - rho;
    p.cut_half_angle = cutter_half_angle(g, p.cut_radius) - rho / p.base_radius;
    const double string =
        std::sqrt(std::fmax(0.0, p.cut_radius * p.cut_radius - p.base_radius * p.base_radius));
    p.flank_end_radius = rho > 0.0 ? std::hypot(p.base_radius, string + rho) : p.tip_circle;
    p.space_centre = -g.space_angle / 2.0;
    p.base_half_angle = p.tooth_half_angle + involute_function(g.alpha);
    // The gear's string to the cutter's base tangent point is a₀·sin α₀ long.
    const double limit_string = p.centre_distance * std::sin(p.pressure_angle);
    p.involute_limit_roll =
        g.internal ? g.tan_alpha - limit_string / g.base_radius : limit_string / g.base_radius - g.tan_alpha;
    p.roll_offset = side * (g.alpha - p.pressure_angle);
    // Drawn touching the gear's tip circle, as the rack's root line does, yet
    // never so high that the cutter's tooth has no height.
    const double clear = g.internal ? g.tip_radius - p.centre_distance : p.centre_distance - g.tip_radius;
    p.root_circle = std::fmax(0.1 * p.pitch_radius, std::fmin(clear, p.tip_circle - 0.5));
    g.root_radius = g.internal ? p.centre_distance + p.tip_circle : p.centre_distance - p.tip_circle;
    // The tip corner (or the arc's centre) on the line of centres: its roll.
    g.undercut_start_roll = -(p.space_centre + p.cut_half_angle * zc / g.z - p.roll_offset);
    g.tip_corner_distance = p.flank_end_radius - p.base_radius;
}

// The direction, clockwise from +y, of the cutter point at angle γ from its
// tooth 0's centre line, with the line of centres at β: the cutter turns z/z_c
// times as fast as the line of centres about it, the same way for an external
// gear (it rolls round the outside), the other way inside a ring. γ < 0 lies
// towards the tooth of the gear at polar angle 0 … tooth_angle.
static double cutter_direction(const GearParams& g, double beta, double gamma) {
    const PinionCutting& p = g.pinion;
    const double turned = gamma + (beta - p.space_centre) * g.z / g.cutter.teeth;
    return g.internal ? beta - turned : beta + PI + turned;
}

static double line_of_centres(const GearParams& g, double t) {
    return t + g.pinion.roll_offset;
}

CutterPlace pinion_cutter_place(const GearParams& g, double t) {
    const double beta = line_of_centres(g, t);
    const double a = g.pinion.centre_distance;
    return CutterPlace{{a * std::sin(beta), a * std::cos(beta) - g.pitch_radius},
                       cutter_direction(g, beta, 0.0)};
}

ProfilePoint cutting_pitch_point(const GearParams& g, double t) {
    const double beta = line_of_centres(g, t);
    const double radius = g.pinion.gear_pitch_radius;
    return ProfilePoint{radius * std::sin(beta), radius * std::cos(beta) - g.pitch_radius};
}

ProfilePoint radial_flank_point(const GearParams& g, double t) {
    const PinionCutting& p = g.pinion;
    const CutterPlace place = pinion_cutter_place(g, t);
    const double phi = cutter_direction(g, line_of_centres(g, t), -p.base_half_angle);
    const ProfilePoint u = {std::sin(phi), std::cos(phi)};
    const ProfilePoint k = cutting_pitch_point(g, t);
    const double along =
        std::fmin(p.base_radius, std::fmax(0.0, (k.x - place.centre.x) * u.x + (k.y - place.centre.y) * u.y));
    return ProfilePoint{place.centre.x + along * u.x, place.centre.y + along * u.y};
}

// What the tip cuts at roll t: the sharp corner; or, rounded, the point of the
// tip arc on the line through the point of rolling and the arc's centre (every
// normal of the cut passes through it), on the tip's side, away from the
// cutter's centre.
ProfilePoint pinion_cut_point(const GearParams& g, double t) {
    const PinionCutting& p = g.pinion;
    const CutterPlace place = pinion_cutter_place(g, t);
    const double phi = cutter_direction(g, line_of_centres(g, t), -p.cut_half_angle);
    const ProfilePoint cut = {place.centre.x + p.cut_radius * std::sin(phi),
                              place.centre.y + p.cut_radius * std::cos(phi)};
    const double rho = g.tip_arc_radius;
    if (rho == 0.0) return cut;
    const ProfilePoint k = cutting_pitch_point(g, t);
    ProfilePoint u = {cut.x - k.x, cut.y - k.y};
    double length = std::hypot(u.x, u.y);
    if (length == 0.0) {
        u = {std::sin(phi), std::cos(phi)};
        length = 1.0;
    }
    const ProfilePoint a = {cut.x + rho * u.x / length, cut.y + rho * u.y / length};
    const ProfilePoint b = {cut.x - rho * u.x / length, cut.y - rho * u.y / length};
    const double da = std::hypot(a.x - place.centre.x, a.y - place.centre.y);
    const double db = std::hypot(b.x - place.centre.x, b.y - place.centre.y);
    return da >= db ? a : b;
}

// The roll at which the flank's end touches the involute: the contact lies on
// the line of action, a₀·sin α₀ between the base tangent points, and the
// cutter's flank end √(Re² - rb0²) from the cutter's; before the gear's for an
// external gear, beyond the ring's for a ring. Negative along the line for an
// external gear: the end passes inside the base circle and the tip undercuts.
double pinion_flank_end_roll(const GearParams& g) {
    const PinionCutting& p = g.pinion;
    const double line = p.centre_distance * std::sin(p.pressure_angle);
    const double end =
        std::sqrt(std::fmax(0.0, p.flank_end_radius * p.flank_end_radius - p.base_radius * p.base_radius));
    if (g.internal) return g.tan_alpha - (line + end) / g.base_radius;
    return (line - end) / g.base_radius - g.tan_alpha;
}

// The cutter's outline in its own frame: polar angle θ clockwise from +y.
static ProfilePoint cutter_point(double radius, double theta) {
    return ProfilePoint{radius * std::sin(theta), radius * std::cos(theta)};
}

constexpr int CUTTER_FLANK_POINTS = 24;  // chords of the drawn involute flank
constexpr int CUTTER_ARC_POINTS = 8;     // chords of a drawn arc

int pinion_cutter_tooth(const GearParams& g, ProfilePoint* points, int capacity) {
    const PinionCutting& p = g.pinion;
    const int zc = g.cutter.teeth;
    const double pitch = 2.0 * PI / zc;
    const double low = std::fmax(p.root_circle, p.base_radius);
    const double half_low = cutter_half_angle(g, low);
    int n = 0;
    auto put = [&](const ProfilePoint& q) {
        if (n < capacity) points[n++] = q;
    };
    // Root arc from the previous tooth's right flank to this tooth's left one.
    const double root_from = -pitch + half_low;
    for (int k = 0; k <= CUTTER_ARC_POINTS; ++k)
        put(cutter_point(p.root_circle, root_from + k * (-half_low - root_from) / CUTTER_ARC_POINTS));
    // Left flank (at negative θ), radial below the base circle, then the involute.
    ProfilePoint flank[CUTTER_FLANK_POINTS + 1];
    for (int k = 0; k <= CUTTER_FLANK_POINTS; ++k) {
        const double radius = low + k * (p.flank_end_radius - low) / CUTTER_FLANK_POINTS;
        flank[k] = cutter_point(radius, -cutter_half_angle(g, radius));
    }
    for (const ProfilePoint& q : flank) put(q);
    // The tip: the arc about its centre, or the tip land between the corners.
    const double rho = g.tip_arc_radius;
    if (rho > 0.0) {
        const ProfilePoint centre = cutter_point(p.cut_radius, -p.cut_half_angle);
        const ProfilePoint end = flank[CUTTER_FLANK_POINTS];
        const double from = std::atan2(end.x - centre.x, end.y - centre.y);
        const double to = -p.cut_half_angle;
        for (int k = 1; k <= CUTTER_ARC_POINTS; ++k) {
            const double a = from + k * (to - from) / CUTTER_ARC_POINTS;
            put(ProfilePoint{centre.x + rho * std::sin(a), centre.y + rho * std::cos(a)});
        }
        for (int k = CUTTER_ARC_POINTS; k >= 1; --k) {
            const double a = from + k * (to - from) / CUTTER_ARC_POINTS;
            const ProfilePoint q = {centre.x + rho * std::sin(a), centre.y + rho * std::cos(a)};
            put(ProfilePoint{-q.x, q.y});
        }
    }
    for (int k = CUTTER_FLANK_POINTS; k >= 0; --k) put(ProfilePoint{-flank[k].x, flank[k].y});
    return n - 1;
}

// The cutter and the ring it cuts, as a pinion and a ring in mesh: the cutter at
// a₀ and α₀, with its tip circle.
static InternalMesh cutter_and_ring(const GearParams& g) {
    const PinionCutting& p = g.pinion;
    return InternalMesh{static_cast<double>(g.cutter.teeth),
                        static_cast<double>(g.z),
                        p.tip_circle,
                        g.tip_radius,
                        p.base_radius,
                        g.base_radius,
                        p.centre_distance,
                        p.pressure_angle};
}

bool cutter_trims_ring(const GearParams& g) {
    return g.internal && pinion_type(g.cutter) && internal_trimming(cutter_and_ring(g));
}

bool cutter_tip_hits_ring_tip(const GearParams& g) {
    return g.internal && pinion_type(g.cutter) && internal_trochoid_interference(cutter_and_ring(g));
}

bool pinion_undercuts(const GearParams& g) {
    return !g.internal && pinion_flank_end_roll(g) < -g.tan_alpha;
}

// Undercut falls as the shift grows: halved until no double lies between.
double pinion_least_shift(const GearParams& g) {
    GearParams trial = g;
    double low = -4.0;
    double high = 4.0;
    for (;;) {
        const double middle = 0.5 * (low + high);
        if (middle == low || middle == high) return high;
        set_shift_params(trial, middle);
        (pinion_undercuts(trial) ? low : high) = middle;
    }
}

int pinion_least_teeth(const GearParams& g) {
    GearParams trial = g;
    const double shift = (g.addendum - g.addendum_coefficient) / g.cos_beta;  // the shift set last
    for (int z = Z_MIN; z <= Z_MAX; ++z) {
        trial.z = z;
        set_shift_params(trial, shift);
        if (!pinion_undercuts(trial)) return z;
    }
    return 0;
}
