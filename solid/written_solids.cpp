// What a front end writes as the gear's solid: the bodies of the gear alone,
// or of the pair in mesh, from the outlines it would draw. No state.
#include "solid/solid_private.hpp"

#include <cmath>

// The bore leaves at least this many tolerances of material under the root
// circle (in its radius): the outline's chords there dip inside it by one.
constexpr double BORE_CLEARANCE_TOLERANCES = 4.0;

double root_diameter(const Gear& gear, double x_s, double module) {
    return ring_root_diameter(gear, x_s, transverse_module(gear.params.cutter, module));
}

double largest_bore(const Gear& gear, double x_s, double module, double tolerance) {
    return root_diameter(gear, x_s, module) - 2.0 * BORE_CLEARANCE_TOLERANCES * tolerance;
}

int build_written_solids(const Gear& gear, const Gear* mate, double x_s, double module,
                         const SolidRequest& request, SolidMesh* meshes, const char*& refusal) {
    // A helical gear's section strays from the exact one by the outline's
    // chords and by the slices' turn: half the tolerance each.
    const bool twisted = helical(gear.params.cutter);
    const double tolerance = twisted ? 0.5 * request.tolerance : request.tolerance;
    GearOutline outlines[SOLID_CAPACITY];
    const int count =
        build_written_outlines(gear, mate, x_s, module, tolerance, request.rim_diameter, outlines);
    refusal = outline_refusal(outlines, count);
    if (refusal != nullptr) return 0;
    size_t triangles = 0;  // the bodies' so far
    for (int i = 0; i < count; ++i) {
        const Gear& body = i == 0 ? gear : *mate;
        const bool ring = outlines[i].rim > 0.0;
        const double bore = ring ? 0.0 : request.bore_diameter;
        if (bore > 0.0 &&
            bore >= largest_bore(body, i == 0 ? x_s : body.params.x, module, request.tolerance)) {
            refusal = "the bore reaches the root circle";
            return 0;
        }
        // What the limit leaves this body: at least one triangle, so that 0 never means any number.
        const size_t limit = request.triangle_limit == 0          ? 0
                             : request.triangle_limit > triangles ? request.triangle_limit - triangles
                                                                  : 1;
        refusal = build_gear_solid(outlines[i], request.face_width, bore, helix_twist(body.params, module),
                                   tolerance, limit, meshes[i]);
        if (refusal != nullptr) return 0;
        triangles += meshes[i].triangles.size();
    }
    return count;
}
