// The whole gear's outline: z turned copies of one tooth's outline joined into
// one closed polyline in millimetres. Owns the scratch copy of one tooth's outline.
#include "outline/outline.hpp"

#include <cmath>

// ---- Global state ------------------------------------------------------------
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
