// The rack-generation point formulas: where the straight-sided cutter stands
// for a roll parameter t, the point its flank generates on the involute, the
// tip corner that cuts the undercut, and the clip of a flank at the tip circle.
// Pure functions of their arguments and the gear's parameters; no state.
#include "geometry/geometry_private.hpp"

#include <cmath>

// The rack's reference point A(t): the point of its rolling line that stood on
// the pitch point at t = 0. After rolling through t on the pitch circle it lies
// at distance r·|t| from the point of rolling, so |A - centre| = r·√(1 + t²)
// at polar angle t - atan t.
static ProfilePoint rack_reference_point(const GearParams& g, double t) {
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
    rack_point = rack_reference_point(g, t);
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
    rack_point = rack_reference_point(g, t);
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
// C lies ρ·cos β above the tip line, arc_run beyond the sharp corner. The arc
// cuts where its normal, ∝ (cos β·cos φ, sin φ), passes through the point of
// rolling K = (k, 0):
//   f(φ) = (k - C_u)·sin φ + C_v·cos β·cos φ - ρ·(1 - cos²β)·sin φ·cos φ = 0,
// on the half towards the gear (f(-π) = -f(0)); the root nearest the arc is
// found by halving until no double lies between, from the arc widened by a
// quarter turn each way, else from the whole lower half.
ProfilePoint elliptic_tip_cut(const GearParams& g, double t, const ProfilePoint& rack_point) {
    const ProfilePoint u = {std::cos(t), -std::sin(t)};
    const ProfilePoint v = {std::sin(t), std::cos(t)};
    const double r = g.pitch_radius;
    const ProfilePoint rolling = {r * std::sin(t), r * (std::cos(t) - 1.0)};
    const double k = (rolling.x - rack_point.x) * u.x + (rolling.y - rack_point.y) * u.y;
    const double rho = g.tip_arc_radius;
    const double c = g.cos_beta;
    const double cu = -g.dedendum * g.tan_alpha - g.arc_run;
    const double cv = -g.dedendum + g.tip_arc_height;
    const auto f = [=](double phi) {
        const double s = std::sin(phi);
        const double co = std::cos(phi);
        return (k - cu) * s + cv * c * co - rho * (1.0 - c * c) * s * co;
    };
    double low = -PI / 2.0 - PI / 4.0;
    double high = -g.normal_alpha + PI / 4.0;
    if ((f(low) > 0.0) == (f(high) > 0.0)) {
        low = -PI;
        high = 0.0;
    }
    const bool low_positive = f(low) > 0.0;
    for (;;) {
        const double middle = 0.5 * (low + high);
        if (middle == low || middle == high) break;
        ((f(middle) > 0.0) == low_positive ? low : high) = middle;
    }
    const double phi = 0.5 * (low + high);
    const double eu = cu + rho * std::cos(phi);
    const double ev = cv + g.tip_arc_height * std::sin(phi);
    return ProfilePoint{rack_point.x + eu * u.x + ev * v.x, rack_point.y + eu * u.y + ev * v.y};
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
