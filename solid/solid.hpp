// A gear as a solid body: its outline extruded over the face width (a helical
// gear's section turned along its helix), as a closed triangle mesh in mm; and
// the two files of such bodies: binary STL and 3MF. For every front end: the
// builder hands back the meshes, the writers write them to the caller's FILE.
// The folder owns no state.
#pragma once

#include "outline/outline.hpp"

#include <cstddef>
#include <cstdio>
#include <vector>

struct SolidPoint {
    double x;
    double y;
    double z;
};

// Three corners, counter-clockwise seen from outside the body.
struct SolidTriangle {
    int corner[3];
};

// One closed, manifold body: every edge shared by exactly two triangles, which
// run it in opposite directions; the gear's axis is +z through its centre, the
// lower face at z = 0, the upper at the face width.
struct SolidMesh {
    std::vector<SolidPoint> points;
    std::vector<SolidTriangle> triangles;
};

constexpr int SOLID_CAPACITY = 2;  // bodies of one file: the gear and its mate

// The face width a front end gives a solid when none is asked for: ten modules.
constexpr double SOLID_FACE_WIDTH_MODULES = 10.0;
// The largest bore a front end takes (mm), as the largest rim: see RIM_DIAMETER_MAX.
constexpr double BORE_DIAMETER_MAX = RIM_DIAMETER_MAX;

// What the front end asks for besides the gear: the face width (mm, > 0), a
// bore through every external gear (diameter mm, 0: none), the tolerance (mm)
// every cross-section keeps from the exact transverse outline turned by the
// helix, a ring's rim diameter (mm, 0: the default), and the most triangles
// the bodies may have together (0: any number), for a front end of little memory.
struct SolidRequest {
    double face_width;
    double bore_diameter;
    double tolerance;
    double rim_diameter;
    size_t triangle_limit;
};

// The gear (shift x_s), or with mate not null the pair in mesh as
// build_written_outlines places it, at module mm per module (a helical gear's
// normal module), as bodies: meshes[0] the gear, meshes[1] the mate. Returns
// the number of bodies, or 0 with why in refusal when the gear cannot be built
// (a tooth too small for the module, a bore that reaches the root circle,
// more triangles than the limit), before it builds a body too many.
int build_written_solids(const Gear& gear, const Gear* mate, double x_s, double module,
                         const SolidRequest& request, SolidMesh* meshes, const char*& refusal);

// The gear's root diameter (mm) at the shift x_s, and the bore (diameter, mm)
// it takes below it: less than that by eight tolerances, so that the chords of
// bore and root circle never meet.
double root_diameter(const Gear& gear, double x_s, double module);
double largest_bore(const Gear& gear, double x_s, double module, double tolerance);

// The writers write count bodies, the whole file to file, and return false on
// a write error, errno telling why.

// Binary STL: every body's triangles in one file, each with its unit normal,
// the coordinates in mm as 32-bit floats.
bool write_solids_stl_file(const SolidMesh* meshes, int count, FILE* file);

// 3MF: a zip of stored entries ([Content_Types].xml, _rels/.rels and
// 3D/3dmodel.model) holding one <object> a body, named names[i], unit
// millimetre, each object an item of the build.
bool write_solids_3mf_file(const SolidMesh* meshes, const char* const* names, int count, FILE* file);
