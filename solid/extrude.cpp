// One gear's body: the flattened outline swept up the face width in slices,
// each turned by the helix, walled between slices and capped at both faces.
// The caps are one sector's triangulation, cut from the section along rays
// through the middles of the spaces, turned into every sector. No state.
#include "solid/solid_private.hpp"

#include <cmath>

// Turned clockwise by the angle and moved to the centre: where the tooth's
// point stands in the file.
static SolidPoint placed(const ProfilePoint& p, double angle, const ProfilePoint& centre, double height) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return SolidPoint{p.x * c + p.y * s + centre.x, -p.x * s + p.y * c + centre.y, height};
}

// Slices enough that every section between two lies within the tolerance of
// the outline turned by the helix. Between slices a point of radius r moves on
// a chord, r·Δφ²/8 off its circle at most, and the wall's diagonal across a
// side of length l stands off the turned side by Δφ·l/4 at most: the largest
// Δφ whose sum keeps within the tolerance, over the whole turn.
static int slice_count(double turn, double radius, double side, double tolerance) {
    if (turn == 0.0) return 1;
    const double a = radius / 8.0;
    const double b = side / 4.0;
    const double step = 2.0 * tolerance / (b + std::sqrt(b * b + 4.0 * a * tolerance));
    return static_cast<int>(std::fmax(1.0, std::ceil(std::fabs(turn) / step)));
}

// The walls of a loop of count points a layer (at offset in each layer of
// layer_size points) between layers; material_left: the body lies to the left
// of the loop's direction seen from +z.
static void add_walls(SolidMesh& mesh, int layers, int layer_size, int offset, int count,
                      bool material_left) {
    for (int s = 0; s + 1 < layers; ++s) {
        const int low = s * layer_size + offset;
        const int high = low + layer_size;
        for (int i = 0; i < count; ++i) {
            const int j = (i + 1) % count;
            const int a = low + i;
            const int b = low + j;
            const int c = high + j;
            const int d = high + i;
            if (material_left) {
                mesh.triangles.push_back(SolidTriangle{{a, b, c}});
                mesh.triangles.push_back(SolidTriangle{{a, c, d}});
            } else {
                mesh.triangles.push_back(SolidTriangle{{a, c, b}});
                mesh.triangles.push_back(SolidTriangle{{a, d, c}});
            }
        }
    }
}

const char* build_gear_solid(const GearOutline& outline, double face_width, double bore_diameter,
                             double twist, double tolerance, size_t triangle_limit, SolidMesh& mesh) {
    const std::vector<ProfilePoint> chain = flat_tooth_chain(outline, tolerance);
    const int n = static_cast<int>(chain.size());
    const int z = outline.z;
    const double pitch = 2.0 * PI / z;
    const bool ring = outline.rim > 0.0;
    // The circle about the centre the section's other boundary is: a ring's
    // rim, an external gear's bore, or none (its caps meet at the centre).
    const double circle = ring ? outline.rim : 0.5 * bore_diameter;
    const double first = std::atan2(chain[0].y, chain[0].x);  // the ray of the first sector, from +x
    int arcs = 0;                                             // the circle's chords a sector
    if (circle > 0.0) {
        const double step = 2.0 * std::acos(std::fmax(1.0 - tolerance / circle, 0.0));
        arcs = static_cast<int>(std::fmax(1.0, std::ceil(pitch / step)));
    }
    const auto circle_point = [&](int q) {
        const double angle = first - q * pitch / arcs;
        return ProfilePoint{circle * std::cos(angle), circle * std::sin(angle)};
    };

    // The first sector: the chain to the next sector's first point, then back
    // along the circle (or through the centre). Corners below n + 1 are the
    // chain's, above the circle's from its point n_c back to 0, or the centre.
    std::vector<ProfilePoint> sector(chain);
    const double c = std::cos(pitch);
    const double s = std::sin(pitch);
    sector.push_back(ProfilePoint{chain[0].x * c + chain[0].y * s, -chain[0].x * s + chain[0].y * c});
    if (circle > 0.0)
        for (int q = arcs; q >= 0; --q) sector.push_back(circle_point(q));
    else
        sector.push_back(ProfilePoint{0.0, 0.0});
    std::vector<SolidTriangle> cap;
    if (!triangulate_polygon(sector, cap)) return "the outline crosses itself";

    // The helix's turn over the face width, and the slices it takes.
    double radius = circle;
    double side = circle > 0.0 ? 2.0 * circle * std::sin(0.5 * pitch / arcs) : 0.0;
    for (int i = 0; i <= n; ++i) {
        const ProfilePoint& p = sector[static_cast<size_t>(i)];
        const ProfilePoint& q = sector[static_cast<size_t>((i + 1) % (n + 1))];
        radius = std::fmax(radius, std::hypot(p.x, p.y));
        if (i < n) side = std::fmax(side, std::hypot(q.x - p.x, q.y - p.y));
    }
    const int slices = slice_count(twist * face_width, radius, side, tolerance);

    const int teeth_points = z * n;
    const int circle_points = z * arcs;
    const int layer_size = teeth_points + circle_points;
    const int layers = slices + 1;
    const size_t triangles = 2 * static_cast<size_t>(slices) * static_cast<size_t>(layer_size) +
                             2 * static_cast<size_t>(z) * cap.size();
    if (triangle_limit > 0 && triangles > triangle_limit)
        return "the solid would have more triangles than this program holds in its memory: "
               "a narrower face width or a smaller module has fewer";
    mesh.points.clear();
    mesh.triangles.clear();
    mesh.points.reserve(static_cast<size_t>(layers * layer_size + 2));
    for (int layer = 0; layer < layers; ++layer) {
        const double height = face_width * layer / slices;
        const double turn = outline.turn - twist * height;  // clockwise
        for (int k = 0; k < z; ++k)
            for (int j = 0; j < n; ++j)
                mesh.points.push_back(
                    placed(chain[static_cast<size_t>(j)], turn + k * pitch, outline.centre, height));
        for (int k = 0; k < z; ++k)
            for (int q = 0; q < arcs; ++q)
                mesh.points.push_back(placed(circle_point(q), turn + k * pitch, outline.centre, height));
    }
    const int centre = layers * layer_size;  // the lower face's centre, then the upper's
    if (circle == 0.0) {
        mesh.points.push_back(SolidPoint{outline.centre.x, outline.centre.y, 0.0});
        mesh.points.push_back(SolidPoint{outline.centre.x, outline.centre.y, face_width});
    }

    // The chain runs clockwise: an external gear's material lies to its
    // right, a ring's to its left; the circle runs the same way, a bore with
    // the material to its left, a rim to its right.
    mesh.triangles.reserve(triangles);
    add_walls(mesh, layers, layer_size, 0, teeth_points, ring);
    if (circle > 0.0) add_walls(mesh, layers, layer_size, teeth_points, circle_points, !ring);
    // The caps: the sector's triangles (counter-clockwise) in every sector,
    // seen from +z on the upper face and turned over on the lower.
    const auto corner = [&](int index, int k, int layer) {
        if (index <= n) return layer * layer_size + (index + k * n) % teeth_points;
        if (circle == 0.0) return centre + (layer == 0 ? 0 : 1);
        const int q = arcs - (index - n - 1);
        return layer * layer_size + teeth_points + (q + k * arcs) % circle_points;
    };
    for (int k = 0; k < z; ++k)
        for (const SolidTriangle& t : cap) {
            mesh.triangles.push_back(
                SolidTriangle{{corner(t.corner[0], k, slices), corner(t.corner[1], k, slices),
                               corner(t.corner[2], k, slices)}});
            mesh.triangles.push_back(SolidTriangle{
                {corner(t.corner[0], k, 0), corner(t.corner[2], k, 0), corner(t.corner[1], k, 0)}});
        }
    return nullptr;
}
