// A simple polygon's triangles by ear clipping: a corner whose triangle turns
// the polygon's way and holds no other vertex is cut off, until three remain.
// Quadratic in the vertices, for polygons of a few hundred. No state.
#include "solid/solid_private.hpp"

// Twice the signed area of a, b, c: positive when they turn counter-clockwise.
static double turn(const ProfilePoint& a, const ProfilePoint& b, const ProfilePoint& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Whether p lies inside the counter-clockwise triangle a, b, c or on its sides.
static bool in_triangle(const ProfilePoint& p, const ProfilePoint& a, const ProfilePoint& b,
                        const ProfilePoint& c) {
    return turn(a, b, p) >= 0.0 && turn(b, c, p) >= 0.0 && turn(c, a, p) >= 0.0;
}

static bool same(const ProfilePoint& p, const ProfilePoint& q) {
    return p.x == q.x && p.y == q.y;
}

bool triangulate_polygon(const std::vector<ProfilePoint>& polygon, std::vector<SolidTriangle>& triangles) {
    const int n = static_cast<int>(polygon.size());
    if (n < 3) return false;
    double area = 0.0;
    for (int i = 0; i < n; ++i) area += turn(ProfilePoint{0.0, 0.0}, polygon[i], polygon[(i + 1) % n]);
    // The polygon walked counter-clockwise: forwards, or backwards when it runs clockwise.
    std::vector<int> next(static_cast<size_t>(n));
    std::vector<int> prev(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int after = area > 0.0 ? (i + 1) % n : (i + n - 1) % n;
        next[static_cast<size_t>(i)] = after;
        prev[static_cast<size_t>(after)] = i;
    }
    int corner = 0;
    int left = n;
    int tried = 0;  // corners tried since the last ear: a whole round of them means none is left
    while (left > 3) {
        const int a = prev[static_cast<size_t>(corner)];
        const int c = next[static_cast<size_t>(corner)];
        const ProfilePoint& pa = polygon[static_cast<size_t>(a)];
        const ProfilePoint& pb = polygon[static_cast<size_t>(corner)];
        const ProfilePoint& pc = polygon[static_cast<size_t>(c)];
        bool ear = turn(pa, pb, pc) > 0.0;
        for (int v = next[static_cast<size_t>(c)]; ear && v != a; v = next[static_cast<size_t>(v)]) {
            const ProfilePoint& p = polygon[static_cast<size_t>(v)];
            ear = same(p, pa) || same(p, pb) || same(p, pc) || !in_triangle(p, pa, pb, pc);
        }
        if (!ear) {
            if (++tried > left) return false;
            corner = c;
            continue;
        }
        triangles.push_back(SolidTriangle{{a, corner, c}});
        next[static_cast<size_t>(a)] = c;
        prev[static_cast<size_t>(c)] = a;
        --left;
        tried = 0;
        corner = a;  // the corner before may have become an ear
    }
    const int c = next[static_cast<size_t>(corner)];
    triangles.push_back(SolidTriangle{{prev[static_cast<size_t>(corner)], corner, c}});
    return true;
}
