// The whole gear as one closed outline in millimetres, its mate's beside it,
// and the two drawing files made of them: SVG (one closed path a gear) and DXF
// (one closed LWPOLYLINE a gear). For every front end: the builders hand back
// the outlines, the writers write them to the caller's FILE. The folder owns
// no state.
#pragma once

#include "gear_data/gear_data.hpp"
#include "geometry/geometry.hpp"

#include <cstdio>
#include <string>
#include <vector>

// How far a chord of a flank may stray from the form the cutter generates, mm,
// unless the front end asks otherwise: finer than a laser's kerf or a milling
// cutter's runout at any module.
constexpr double OUTLINE_TOLERANCE = 0.001;

// The largest rim a front end takes (diameter, mm): a hundred times the
// largest gear (z = 1000 at module 10000 is 1e7 mm across), so that every
// number of the files stays short and finite.
constexpr double RIM_DIAMETER_MAX = 1e9;

// A vertex and the side from it to the next vertex: straight (bulge 0) or an
// arc, bulge = tan(¼ of the arc's angle), positive counter-clockwise, as a DXF
// LWPOLYLINE has it.
struct OutlineVertex {
    ProfilePoint point;
    double bulge;
};

// The arc side from a to b of the bulge: its centre, radius, the polar angle of
// a about the centre (from +x counter-clockwise) and the angle it sweeps,
// 4·atan(bulge), positive counter-clockwise; and its point a share (0 … 1) of
// the way along it.
struct OutlineArc {
    ProfilePoint centre;
    double radius;
    double start;
    double sweep;
};
OutlineArc outline_arc(const ProfilePoint& a, const ProfilePoint& b, double bulge);
ProfilePoint outline_arc_point(const OutlineArc& arc, double share);

// z copies of the first tooth, tooth k turned clockwise by k·2π/z about the
// centre (the origin): the outline runs from a tooth towards +x, where the next
// one stands, and the last tooth's last vertex joins the first's first.
struct GearOutline {
    int z;
    // The first tooth, mm, +y through its pitch point: the root arc from the
    // previous tooth's flank, the flank, the tip arc (or the point where the
    // flanks meet), the mirrored flank up to its last chord, which ends at the
    // next tooth's first vertex. No vertex repeats its neighbour. Empty when
    // the tooth is too small for the module to draw it (outline_refusal).
    std::vector<OutlineVertex> tooth;
    // For each vertex of tooth: whether a curve starts there (an arc's ends,
    // the flank's ends, where the flank's curves meet); false where the sides
    // before and after it are chords of one smooth curve, so that a CAD file may
    // put one spline through a run of such chords.
    std::vector<bool> corner;
    double radius;  // the largest distance from the centre, mm (a ring's: its rim's)
    // Where the outline stands in the file: turned clockwise by turn (radians)
    // about its centre, which is moved to centre (mm). At the origin, unturned,
    // unless a mate is placed beside the gear.
    double turn;
    ProfilePoint centre;
    // A ring's rim: the radius (mm) of the circle about its centre that bounds
    // the ring's material outside its teeth; 0: an external gear, none.
    double rim;
    // What the file says of it in words (a thinned gear's cut), or empty.
    std::string note;
};

// The gear (its z and cutter) with shift x_s (its own, or 0 for the standard
// gear), module mm per module unit: the root and tip circles as
// arcs, and each flank the exact form the cutter generates (flank_rolls), as
// chords that stray from it by at most tolerance mm, measured at the middle of
// each chord's roll, where a chord this short lies farthest from its curve.
// The chords end exactly where the flank's curves meet and where the flank
// meets the tip circle or, on a pointed tooth, the other flank. A tip radius
// (module units) below the gear's own cuts the teeth down to it; 0: its own.
GearOutline build_gear_outline(const Gear& gear, double x_s, double module, double tolerance,
                               double tip_radius = 0.0);

// A ring's root diameter (its outer circle, where its spaces end) in mm, at
// the shift x_s; and the rim it is drawn with when none is given: that and six
// modules more.
double ring_root_diameter(const Gear& gear, double x_s, double module);
double default_rim_diameter(const Gear& gear, double x_s, double module);

// A ring (gear.params.internal): its teeth as build_gear_outline builds them,
// and its rim, a circle of rim_diameter mm about the centre (0: the default),
// which the caller has checked is larger than the root diameter.
GearOutline build_ring_outline(const Gear& gear, double x_s, double module, double tolerance,
                               double rim_diameter);

// Why the outlines cannot be written, or nullptr: a tooth too small for the
// module has no outline (its vertices fall together at the files' precision).
const char* outline_refusal(const GearOutline* outlines, int count);

// The outline's vertices: z times the tooth's, and vertex i of tooth k, placed.
int outline_vertex_count(const GearOutline& outline);
OutlineVertex outline_vertex(const GearOutline& outline, int index);

// The writers write count outlines (a gear alone, or a gear and its mate) as
// one drawing, the whole file text to file, and return false on a write error,
// errno telling why.

// The coordinates are written in mm to six decimals, or in inches when inches
// is true to eight, never as a negative zero.

// SVG: one <path> of lines and arcs closed with Z for each outline, stroke
// only, width and height in mm (in) and a viewBox in those units about them
// all (a single gear's centred on its centre; +y up in the gear is up in the
// picture). A ring's path holds its rim too, two arcs closed with Z, and is
// filled by the even-odd rule: the ring's material, between rim and teeth.
bool write_outlines_svg_file(const GearOutline* outlines, int count, FILE* file, bool inches = false);

// DXF (ASCII, AutoCAD 2000 form): one closed LWPOLYLINE with bulges for each
// outline, and after a ring's its rim's, two vertices joined by two half
// circles (bulge 1), on layer 0 in the model space, drawing units millimetres
// ($INSUNITS = 4) or inches ($INSUNITS = 1), the extents about them all, and
// nothing else.
bool write_outlines_dxf_file(const GearOutline* outlines, int count, FILE* file, bool inches = false);

// A gear and its mate in mesh, both with the shifts of their own and the tips
// the pair works with: the gear's outline as build_gear_outline (a ring's, as
// build_ring_outline) leaves it, the mate's centre on +x at the centre
// distance, turned so that the two mesh without backlash. When one of them is a
// ring (a pinion inside it), it has a rim of rim_diameter mm (0: the default),
// and a pinion's tooth stands centred in a ring's space on the line of centres.
void build_pair_outlines(const Gear& gear, const Gear& mate, const PairPlace& place, double module,
                         double tolerance, double rim_diameter, GearOutline outlines[2]);
// What a front end writes: the gear (shift x_s; a ring with its rim, rim_diameter
// 0: the default) alone, or with mate not null the pair in mesh, at module mm
// per module (a helical gear's normal module). Returns the number of outlines.
int build_written_outlines(const Gear& gear, const Gear* mate, double x_s, double module, double tolerance,
                           double rim_diameter, GearOutline* outlines);
