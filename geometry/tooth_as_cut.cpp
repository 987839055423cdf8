// A tooth as the gear has it: where the flanks of a pointed tooth meet, and
// its outline ending there instead of at a tip arc. For the accepted range's
// warning, the comparison scenes and the gear outline file alike. No state.
#include "geometry/geometry.hpp"

#include <cmath>

int flank_until_meeting(const ToothProfile& tooth, double r, ProfilePoint& meeting) {
    const int n = tooth.flank_last;
    // The tooth centre line halves the angle between a flank point and its mirror image.
    const double centre = (polar_angle(tooth.flank[0], r) + polar_angle(tooth.mirror_flank[0], r)) / 2.0;
    int i = 0;
    while (i < n && polar_angle(tooth.flank[i + 1], r) <= centre) ++i;
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
    for (int k = 0; k < ARC_POINTS; ++k) points[count++] = tooth.outline[k];  // the root arc
    for (int k = 0; k <= i; ++k) points[count++] = tooth.flank[k];
    points[count++] = meeting;
    for (int k = i; k >= 0; --k) points[count++] = tooth.mirror_flank[k];
    return count - 1;
}
