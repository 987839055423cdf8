// An outline's arc side from its ends and bulge. No state.
#include "outline/outline.hpp"

#include <cmath>

// The centre lies off the chord's middle to the left (of a → b) by
// c·(1 - bulge²)/(4·bulge), c the chord's length.
OutlineArc outline_arc(const ProfilePoint& a, const ProfilePoint& b, double bulge) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double off = (1.0 - bulge * bulge) / (4.0 * bulge);  // of the chord's length, to its left
    const ProfilePoint centre{0.5 * (a.x + b.x) - dy * off, 0.5 * (a.y + b.y) + dx * off};
    return OutlineArc{centre, std::hypot(a.x - centre.x, a.y - centre.y),
                      std::atan2(a.y - centre.y, a.x - centre.x), 4.0 * std::atan(bulge)};
}

ProfilePoint outline_arc_point(const OutlineArc& arc, double share) {
    const double angle = arc.start + share * arc.sweep;
    return ProfilePoint{arc.centre.x + arc.radius * std::cos(angle),
                        arc.centre.y + arc.radius * std::sin(angle)};
}
