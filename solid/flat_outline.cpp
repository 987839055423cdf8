// The outline's first tooth flattened into one chain of points: its arcs as
// chords within the tolerance, started at the middle of the space before it,
// where a sector of the gear's section may be cut off along a straight ray.
// No state.
#include "solid/solid_private.hpp"

#include <cmath>

// Vertices nearer each other than this share of the gear's radius are one
// vertex: four steps of a float at that size, which the files' coordinates
// are, so that no triangle falls flat when written.
constexpr double FLOAT_SHARE = 4.0 / 8388608.0;
// A vertex this near the line through its neighbours (share of the radius) lies on it.
constexpr double LINE_SHARE = 1e-12;

// Turned clockwise by the angle, as outline_vertex turns a tooth.
static ProfilePoint turned(const ProfilePoint& p, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return ProfilePoint{p.x * c + p.y * s, -p.x * s + p.y * c};
}

// Chords enough that none strays from the arc by more than the tolerance: a
// chord over the angle φ stands off its arc by r·(1 - cos(φ/2)).
static int chord_count(const OutlineArc& arc, double tolerance) {
    const double step = 2.0 * std::acos(std::fmax(1.0 - tolerance / arc.radius, 0.0));
    return static_cast<int>(std::fmax(1.0, std::ceil(std::fabs(arc.sweep) / step)));
}

// The distance of p from the line through a and b.
static double off_line(const ProfilePoint& p, const ProfilePoint& a, const ProfilePoint& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length == 0.0) return std::hypot(p.x - a.x, p.y - a.y);
    return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / length;
}

// Appends p unless it falls on the last point; drops the points it leaves in
// line between it and the one before. The chain's first point stays.
static void append_point(std::vector<ProfilePoint>& chain, const ProfilePoint& p, double radius) {
    const ProfilePoint& last = chain.back();
    if (std::hypot(p.x - last.x, p.y - last.y) <= FLOAT_SHARE * radius) return;
    while (chain.size() >= 2 && off_line(chain.back(), chain[chain.size() - 2], p) <= LINE_SHARE * radius)
        chain.pop_back();
    chain.push_back(p);
}

std::vector<ProfilePoint> flat_tooth_chain(const GearOutline& outline, double tolerance) {
    const std::vector<OutlineVertex>& tooth = outline.tooth;
    const size_t n = tooth.size();
    const double pitch = 2.0 * PI / outline.z;
    double radius = 0.0;
    for (const OutlineVertex& v : tooth) radius = std::fmax(radius, std::hypot(v.point.x, v.point.y));
    // The first side, split at its middle: an even number of chords on an arc.
    const OutlineVertex& first = tooth[0];
    const ProfilePoint second = tooth[1 % n].point;
    OutlineArc root{};
    int root_chords = 1;
    ProfilePoint middle{0.5 * (first.point.x + second.x), 0.5 * (first.point.y + second.y)};
    if (first.bulge != 0.0) {
        root = outline_arc(first.point, second, first.bulge);
        root_chords = 2 * ((chord_count(root, tolerance) + 1) / 2);
        middle = outline_arc_point(root, 0.5);
    }
    std::vector<ProfilePoint> chain{middle};
    for (int j = root_chords / 2 + 1; j < root_chords; ++j)
        append_point(chain, outline_arc_point(root, static_cast<double>(j) / root_chords), radius);
    for (size_t i = 1; i <= n; ++i) {
        // Vertex i, and the side from it; vertex n is the next tooth's first.
        const ProfilePoint p = i < n ? tooth[i].point : turned(first.point, pitch);
        append_point(chain, p, radius);
        if (i == n) break;
        const ProfilePoint next = i + 1 < n ? tooth[i + 1].point : turned(first.point, pitch);
        if (tooth[i].bulge == 0.0) continue;
        const OutlineArc arc = outline_arc(p, next, tooth[i].bulge);
        const int chords = chord_count(arc, tolerance);
        for (int j = 1; j < chords; ++j)
            append_point(chain, outline_arc_point(arc, static_cast<double>(j) / chords), radius);
    }
    for (int j = 1; j < root_chords / 2; ++j)
        append_point(chain, turned(outline_arc_point(root, static_cast<double>(j) / root_chords), pitch),
                     radius);
    // The next tooth's chain starts where this one's ends.
    const ProfilePoint end = turned(middle, pitch);
    while (chain.size() >= 2 &&
           (std::hypot(end.x - chain.back().x, end.y - chain.back().y) <= FLOAT_SHARE * radius ||
            off_line(chain.back(), chain[chain.size() - 2], end) <= LINE_SHARE * radius))
        chain.pop_back();
    return chain;
}
