// The whole gear's outline: z turned copies of one tooth's outline joined into
// one closed polyline in millimetres. No state of its own.
#include "outline/outline.hpp"

#include <cmath>

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
    int count = 0;
    for (int k = 0; k < z; ++k) {
        double a = k * 2.0 * PI / z;
        double cos_a = std::cos(a);
        double sin_a = std::sin(a);
        for (int i = 0; i <= tooth.outline_last; ++i) {
            ProfilePoint q = turned(tooth.outline[i], r, cos_a, sin_a);
            q.x *= module;
            q.y *= module;
            if (count > 0 && coincide(q, points[count - 1], tolerance)) continue;
            if (count == capacity) return 0;
            points[count++] = q;
        }
    }
    // The last tooth ends where the first began.
    while (count > 1 && coincide(points[count - 1], points[0], tolerance)) --count;
    return count;
}
