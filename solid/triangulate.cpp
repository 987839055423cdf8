// A simple polygon's triangles by ear clipping: a corner whose triangle turns
// the polygon's way and holds no other vertex is cut off, until three remain;
// then the diagonals flipped until the triangulation is Delaunay (within the
// polygon's sides), so that no sliver is left where a fuller triangle fits.
// Quadratic in the vertices, for polygons of a few hundred. No state.
#include "solid/solid_private.hpp"

#include <algorithm>
#include <cmath>

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

// The angle at b between the sides to a and to c, 0 to π.
static double angle_at(const ProfilePoint& a, const ProfilePoint& b, const ProfilePoint& c) {
    const double ux = a.x - b.x, uy = a.y - b.y, vx = c.x - b.x, vy = c.y - b.y;
    return std::fabs(std::atan2(ux * vy - uy * vx, ux * vx + uy * vy));
}

// A side of a triangle, its corners in order of index, for finding the triangle across it.
struct Side {
    int low;
    int high;
    int triangle;
    int slot;  // the side runs from corner slot to the next
};

// Flips every diagonal whose two triangles' angles facing it add up to more
// than π (the one's far corner inside the other's circle), sweep after sweep
// until none is left; every sweep flips a triangle at most once. The
// polygon's sides belong to one triangle only and stay.
static void make_delaunay(const std::vector<ProfilePoint>& polygon, std::vector<SolidTriangle>& triangles) {
    const size_t count = triangles.size();
    std::vector<Side> sides;
    std::vector<char> flipped(count);
    for (size_t sweep = 0; sweep < polygon.size(); ++sweep) {
        sides.clear();
        for (size_t t = 0; t < count; ++t)
            for (int k = 0; k < 3; ++k) {
                const int a = triangles[t].corner[k];
                const int b = triangles[t].corner[(k + 1) % 3];
                sides.push_back(Side{std::min(a, b), std::max(a, b), static_cast<int>(t), k});
            }
        // In order of the triangles too: a side's two triangles take the same
        // places whichever library's sort puts them there.
        std::sort(sides.begin(), sides.end(), [](const Side& x, const Side& y) {
            return x.low != y.low     ? x.low < y.low
                   : x.high != y.high ? x.high < y.high
                                      : x.triangle < y.triangle;
        });
        std::fill(flipped.begin(), flipped.end(), 0);
        bool any = false;
        for (size_t i = 0; i + 1 < sides.size(); ++i) {
            const Side& one = sides[i];
            const Side& other = sides[i + 1];
            if (one.low != other.low || one.high != other.high) continue;
            SolidTriangle& t1 = triangles[static_cast<size_t>(one.triangle)];
            SolidTriangle& t2 = triangles[static_cast<size_t>(other.triangle)];
            if (flipped[static_cast<size_t>(one.triangle)] || flipped[static_cast<size_t>(other.triangle)])
                continue;
            // t1 runs b → c → a, t2 c → b → d.
            const int b = t1.corner[one.slot];
            const int c = t1.corner[(one.slot + 1) % 3];
            const int a = t1.corner[(one.slot + 2) % 3];
            const int d = t2.corner[(other.slot + 2) % 3];
            const ProfilePoint& pa = polygon[static_cast<size_t>(a)];
            const ProfilePoint& pb = polygon[static_cast<size_t>(b)];
            const ProfilePoint& pc = polygon[static_cast<size_t>(c)];
            const ProfilePoint& pd = polygon[static_cast<size_t>(d)];
            if (angle_at(pb, pa, pc) + angle_at(pc, pd, pb) <= PI + 1e-9) continue;
            if (!(turn(pa, pb, pd) > 0.0 && turn(pa, pd, pc) > 0.0))
                continue;  // a–d leaves the quadrilateral
            t1 = SolidTriangle{{a, b, d}};
            t2 = SolidTriangle{{a, d, c}};
            flipped[static_cast<size_t>(one.triangle)] = 1;
            flipped[static_cast<size_t>(other.triangle)] = 1;
            any = true;
        }
        if (!any) return;
    }
}

bool triangulate_polygon(const std::vector<ProfilePoint>& polygon, std::vector<SolidTriangle>& triangles) {
    const int n = static_cast<int>(polygon.size());
    triangles.clear();
    if (n < 3) return false;
    double area = 0.0;
    for (size_t i = 0; i < polygon.size(); ++i)
        area += turn(ProfilePoint{0.0, 0.0}, polygon[i], polygon[(i + 1) % polygon.size()]);
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
    make_delaunay(polygon, triangles);
    return true;
}
