// The whole gear's outline: z turned copies of one tooth's outline joined into
// one closed polyline in millimetres. Owns the scratch copy of one tooth's outline.
#include "outline/outline.hpp"

#include <cmath>

// ---- process-wide state -----------------------------------------------------------
// One tooth's outline in the gear frame; written by tooth_as_cut, read by
// build_gear_outline in the same call. A pointed tooth has fewer points than its outline.
static ProfilePoint tooth_points[POINT_CAPACITY];

// Points nearer than this (module units) are one point: copies of the same
// point computed two ways differ only by rounding, and distinct samples of a
// tooth lie at least a hundredth of a module apart.
constexpr double COINCIDENCE = 1e-7;

static bool coincide(const ProfilePoint& a, const ProfilePoint& b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

// The tooth's point p (gear frame: centre at (0, -r)) turned clockwise by a
// about the gear centre, with the centre moved to the origin:
// (x, y + r) ↦ (x·cos a + (y + r)·sin a, -x·sin a + (y + r)·cos a).
// Clockwise, because the outline runs from the tooth towards +x, where the
// next tooth stands.
static ProfilePoint turned(const ProfilePoint& p, double r, double cos_a, double sin_a) {
    double y = p.y + r;
    return ProfilePoint{p.x * cos_a + y * sin_a, -p.x * sin_a + y * cos_a};
}

// The polar angle at the gear centre (0, -r), from +y towards +x.
static double angle_of(const ProfilePoint& p, double r) {
    return std::atan2(p.x, p.y + r);
}

int flank_until_meeting(const ToothProfile& tooth, double r, ProfilePoint& meeting) {
    const int n = tooth.flank_last;
    // The tooth centre line halves the angle between a flank point and its mirror image.
    const double centre = (angle_of(tooth.flank[0], r) + angle_of(tooth.mirror_flank[0], r)) / 2.0;
    int i = 0;
    while (i < n && angle_of(tooth.flank[i + 1], r) <= centre) ++i;
    if (i == n) return n;  // the flank stays on its side: the tooth has its tip arc
    // The flanks meet where segment P = flank[i] → Q = flank[i+1] crosses the
    // centre line through C = (0, -r) with direction d: P + u·(Q - P) with
    // u = cross(d, P - C) / cross(d, P - Q); the segment crosses the line, so
    // the divisor is not 0.
    const ProfilePoint& p = tooth.flank[i];
    const ProfilePoint& q = tooth.flank[i + 1];
    double dx = std::sin(centre);
    double dy = std::cos(centre);
    double u = (dx * (p.y + r) - dy * p.x) / (dx * (p.y - q.y) - dy * (p.x - q.x));
    meeting = ProfilePoint{p.x + u * (q.x - p.x), p.y + u * (q.y - p.y)};
    return i;
}

int tooth_as_cut(const ToothProfile& tooth, double r, ProfilePoint* points) {
    ProfilePoint meeting;
    const int i = flank_until_meeting(tooth, r, meeting);
    if (i == tooth.flank_last) {
        for (int k = 0; k <= tooth.outline_last; ++k) points[k] = tooth.outline[k];
        return tooth.outline_last;
    }
    int count = 0;
    for (int k = 0; k < 10; ++k) points[count++] = tooth.outline[k];  // the root arc
    for (int k = 0; k <= i; ++k) points[count++] = tooth.flank[k];
    points[count++] = meeting;
    for (int k = i; k >= 0; --k) points[count++] = tooth.mirror_flank[k];
    return count - 1;
}

int build_gear_outline(const ToothProfile& tooth, int z, double module, ProfilePoint* points, int capacity) {
    if (z <= 0 || tooth.outline_last < 1) return 0;  // no teeth, no pitch angle
    const double r = z / 2.0;                        // pitch radius, module units
    const double tolerance = COINCIDENCE * module;
    const int last = tooth_as_cut(tooth, r, tooth_points);
    int count = 0;
    for (int k = 0; k < z; ++k) {
        double a = k * 2.0 * PI / z;
        double cos_a = std::cos(a);
        double sin_a = std::sin(a);
        for (int i = 0; i <= last; ++i) {
            ProfilePoint q = turned(tooth_points[i], r, cos_a, sin_a);
            q.x *= module;
            q.y *= module;
            if (count > 0 && coincide(q, points[count - 1], tolerance)) continue;
            // The last tooth ends where the first began.
            if (k == z - 1 && count > 0 && coincide(q, points[0], tolerance)) continue;
            if (count == capacity) return 0;
            points[count++] = q;
        }
    }
    return count;
}
