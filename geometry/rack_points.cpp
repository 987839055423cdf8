// The rack-generation point formulas: where the straight-sided cutter stands
// for a roll parameter t, the point its flank generates on the involute, the
// tip corner that cuts the undercut, and the clip of a flank at the tip circle.
// Pure functions of their arguments and the gear's parameters; no state.
#include "geometry/geometry_private.hpp"

#include <cmath>

double roll_at_step(double first_roll, double roll_step, int n) {
    // first_roll + n·step, not n·step alone: with first_roll = 0 both give the same bits.
    return first_roll + n * roll_step;
}

// The rack's reference point A(t): the point of its rolling line that stood on
// the pitch point at t = 0. After rolling through t on the pitch circle it lies
// at distance r·|t| from the point of rolling, so |A - centre| = r·√(1 + t²)
// at polar angle t - atan t.
ProfilePoint rack_reference_at(const GearParams& g, double t) {
    double r = g.pitch_radius;
    double phi = std::atan(t);
    double rho = r / std::cos(phi);  // cos(atan t) > 0 for every finite t
    double gamma = t - phi;
    return ProfilePoint{rho * std::sin(gamma), rho * std::cos(gamma) - r};
}

// d(t) = (sin(α + t), cos(α + t)): unit vector along the cutter flank through A,
// from the cutter's tip line towards its root line.
static ProfilePoint flank_direction(const GearParams& g, double t) {
    double a = g.alpha + t;
    return ProfilePoint{std::sin(a), std::cos(a)};
}

// Q = A + λ·d with λ = r·t·sin α: the foot of the perpendicular from the point
// of rolling onto the flank, where the flank touches the profile it generates.
void rack_involute_point(const GearParams& g, double t, ProfilePoint& rack_point, ProfilePoint& contact_point,
                         double& flank_distance) {
    rack_point = rack_reference_at(g, t);
    ProfilePoint d = flank_direction(g, t);
    flank_distance = g.pitch_radius * t * std::sin(g.alpha);
    contact_point.x = rack_point.x + flank_distance * d.x;
    contact_point.y = rack_point.y + flank_distance * d.y;
}

// λ = -tip_corner_distance: the contact point stands on the flank's end.
double flank_end_roll(const GearParams& g) {
    return -g.tip_corner_distance / (g.pitch_radius * std::sin(g.alpha));
}

// B = A - tip_corner_distance·d: the cutter's tip corner, which traces the
// trochoid that undercuts the root of a small gear. A rounded tip: the arc's
// centre C = B + ρ·n, n = (-cos(α + t), sin(α + t)) the flank's normal into
// the cutter tooth, traces the trochoid, and the arc cuts where its radius
// lies on the line through the point of rolling K (the normal of every cut
// passes through K), at its end towards the gear centre: E = C ± ρ·(C - K)/|C - K|,
// + when C lies below the rolling line (a dedendum larger than ρ), - when a
// shift has raised C above it; the curve at distance ρ from C's.
void rack_undercut_point(const GearParams& g, double t, ProfilePoint& rack_point,
                         ProfilePoint& corner_point) {
    rack_point = rack_reference_at(g, t);
    ProfilePoint d = flank_direction(g, t);
    corner_point.x = rack_point.x - g.tip_corner_distance * d.x;
    corner_point.y = rack_point.y - g.tip_corner_distance * d.y;
    const double rho = g.tip_arc_radius;
    if (rho == 0.0) return;
    if (g.tip_arc_height != rho) {
        corner_point = elliptic_tip_cut(g, t, rack_point);
        return;
    }
    const ProfilePoint centre = {corner_point.x - rho * d.y, corner_point.y + rho * d.x};
    const ProfilePoint rolling = {g.pitch_radius * std::sin(t), g.pitch_radius * (std::cos(t) - 1.0)};
    // Towards the gear centre from K: (-sin t, -cos t). C on K: straight that way.
    ProfilePoint inwards = {centre.x - rolling.x, centre.y - rolling.y};
    double length = std::hypot(inwards.x, inwards.y);
    if (length == 0.0) {
        inwards = {-std::sin(t), -std::cos(t)};
        length = 1.0;
    } else if (inwards.x * std::sin(t) + inwards.y * std::cos(t) > 0.0) {
        length = -length;  // C above the rolling line
    }
    corner_point.x = centre.x + rho * inwards.x / length;
    corner_point.y = centre.y + rho * inwards.y / length;
}

// A helical gear's transverse tip arc: the ellipse E(φ) = C + (ρ·cos φ,
// ρ·cos β·sin φ) in the rack's own frame (u along its rolling line, v away
// from the gear), the normal plane's circle seen obliquely, so that φ = -π/2
// is its lowest point and φ = -α_n its tangent point on the flank. Its centre
// C lies ρ·cos β above the tip line, arc_run beyond the sharp corner. A point
// of it cuts when its normal, ∝ (cos β·cos φ, sin φ), passes through the point
// of rolling, which stands r·t along the rolling line from the rack's
// reference point: at the roll
//   t(φ) = (E_u - E_v·cos β·cos φ/sin φ)/r.
// So the arc's cut is a curve in φ, each point cut at its own roll.
struct EllipticTip {
    double cu, cv, a, b, c, r;
    ProfilePoint at(double phi) const { return ProfilePoint{cu + a * std::cos(phi), cv + b * std::sin(phi)}; }
    double roll(double phi) const {
        const ProfilePoint e = at(phi);
        return (e.x - e.y * c * std::cos(phi) / std::sin(phi)) / r;
    }
};
static EllipticTip elliptic_tip(const GearParams& g) {
    return EllipticTip{-g.dedendum * g.tan_alpha - g.arc_run,
                       -g.dedendum + g.tip_arc_height,
                       g.tip_arc_radius,
                       g.tip_arc_height,
                       g.cos_beta,
                       g.pitch_radius};
}

// The arc angle at which f, monotone on [low, high], reaches the roll t,
// halved until no double lies between; an end that f reaches already, or passes.
template <typename Roll>
static double angle_at_roll(Roll f, double low, double high, double t) {
    const double at_low = f(low);
    const double at_high = f(high);
    if ((t - at_low) * (t - at_high) >= 0.0)
        return std::fabs(t - at_low) <= std::fabs(t - at_high) ? low : high;
    const bool low_above = at_low > t;
    for (;;) {
        const double middle = 0.5 * (low + high);
        if (middle == low || middle == high) return middle;
        ((f(middle) > t) == low_above ? low : high) = middle;
    }
}

// Where the tip line lies between the ellipse's centre and the centre of
// curvature of its lowest point (ρ/cos β above it), the roll runs back from
// the lowest point's, -undercut_start_roll, to a largest roll and down again:
// a smooth cut all the same, which the flank's rolls cannot follow. Then the
// part from the lowest point to where the roll comes back down to the lowest
// point's (fold_phi) is given fold_roll = twice the rise of rolls beyond the
// lowest point's, and the rest keeps its own roll.
void set_elliptic_fold(GearParams& g) {
    g.fold_phi = -PI / 2.0;
    g.fold_roll = 0.0;
    if (g.tip_arc_height == g.tip_arc_radius) return;  // a circle's cut never runs back
    const EllipticTip e = elliptic_tip(g);
    const auto roll = [&e](double phi) { return e.roll(phi); };
    const double lowest = roll(-PI / 2.0);
    // The largest roll on the arc: golden sections of the first rise.
    double low = -PI / 2.0;
    double high = -g.normal_alpha;
    if (!(roll(low + 1e-6) > lowest)) return;
    for (int i = 0; i < 200 && high - low > 1e-15; ++i) {
        const double m1 = low + 0.381966 * (high - low);
        const double m2 = high - 0.381966 * (high - low);
        (roll(m1) < roll(m2) ? low : high) = roll(m1) < roll(m2) ? m1 : m2;
    }
    const double turn = 0.5 * (low + high);
    g.fold_phi = angle_at_roll(roll, turn, -g.normal_alpha, lowest);
    g.fold_roll = 2.0 * (roll(turn) - lowest);
    g.undercut_start_roll -= g.fold_roll;
}

// What the arc cuts at roll t (rack_point: the rack's reference point there):
// at rolls up to the lowest point's, the point of the arc beyond fold_phi cut
// then; above it, within fold_roll, the arc from fold_phi back to its lowest
// point, evenly.
ProfilePoint elliptic_tip_cut(const GearParams& g, double t, const ProfilePoint& rack_point) {
    const EllipticTip e = elliptic_tip(g);
    const auto roll = [&e](double phi) { return e.roll(phi); };
    const double lowest = -g.undercut_start_roll - g.fold_roll;
    double phi;
    if (t > lowest && g.fold_roll > 0.0) {
        const double s = std::fmin(1.0, (t - lowest) / g.fold_roll);
        phi = g.fold_phi + s * (-PI / 2.0 - g.fold_phi);
    } else {
        phi = angle_at_roll(roll, g.fold_phi, -g.normal_alpha, t);  // the arc alone: beyond, the flank cuts
    }
    // The point in the gear frame with the rack at its own roll.
    const double own = g.fold_roll > 0.0 ? e.roll(phi) : t;
    const ProfilePoint reference = g.fold_roll > 0.0 ? rack_reference_at(g, own) : rack_point;
    const ProfilePoint u = {std::cos(own), -std::sin(own)};
    const ProfilePoint v = {std::sin(own), std::cos(own)};
    const ProfilePoint p = e.at(phi);
    return ProfilePoint{reference.x + p.x * u.x + p.y * v.x, reference.y + p.x * u.y + p.y * v.y};
}

// Line y = m·X + b through the last segment, put into X² + (y + r)² = ra²:
//   a·X² + 2·h·X + k = 0,  a = m² + 1,  h = (r + b)·m,  k = (r + b)² - ra².
// The larger-X root is the end of a left flank, which rises towards +x.
int clip_to_tip_circle(const GearParams& g, int n, ProfilePoint* points) {
    if (n < 1) return 0;
    const double r = g.pitch_radius;
    const double ra = g.tip_radius;
    ProfilePoint& p = points[n - 1];
    ProfilePoint& q = points[n];
    if (q.x == p.x) {
        // A vertical last segment has no slope; its upper crossing is the flank's end.
        double w = ra * ra - q.x * q.x;
        if (!(w >= 0.0)) return 0;
        q.y = std::sqrt(w) - r;
        return 1;
    }
    double m = (q.y - p.y) / (q.x - p.x);
    double b = p.y - m * p.x;
    double a = m * m + 1.0;
    double h = (r + b) * m;
    double k = (r + b) * (r + b) - ra * ra;
    double disc = h * h - a * k;
    if (disc < 0.0) return 0;
    double x = (-h + std::sqrt(disc)) / a;
    q.x = x;
    q.y = m * x + b;
    return 1;
}
