// The whole gear as one closed outline in millimetres, and the two drawing
// files made of it: SVG (one closed path) and DXF (one closed LWPOLYLINE).
// For every front end: the builder fills the caller's array, the writers write
// to the caller's FILE. The folder owns no state.
#pragma once

#include "geometry/geometry.hpp"

#include <cstdio>

// Each tooth adds at most POINT_CAPACITY - 1 vertices: the last point of its
// outline is the first of the next tooth's (the last tooth's, the first
// tooth's) and is taken once.
constexpr int GEAR_OUTLINE_CAPACITY = Z_MAX * (POINT_CAPACITY - 1);

// The z copies of tooth_as_cut (root arc, flank, tip arc, mirrored flank)
// turned about the gear centre by k·2π/z, k = 0 … z-1, joined end to start,
// points that coincide taken once, scaled by module (mm per module unit),
// centre at the origin and +y through the first tooth's pitch point. The
// outline is closed: its last vertex joins its first. Returns the number of
// vertices, or 0 when they would not fit in capacity (nothing is written past it).
int build_gear_outline(const ToothProfile& tooth, int z, double module, ProfilePoint* points, int capacity);

// The writers take the vertices of a closed outline in millimetres, write the
// whole file text to file and return false on a write error, errno telling why.

// SVG: one <path> closed with Z, stroke only, width and height in mm and a
// viewBox in mm centred on the gear centre (+y up in the gear is up in the picture).
bool write_outline_svg_file(const ProfilePoint* points, int count, FILE* file);

// DXF (ASCII, AutoCAD 2000 form): one closed LWPOLYLINE on layer 0 in the model
// space, drawing units millimetres ($INSUNITS = 4), and nothing else.
bool write_outline_dxf_file(const ProfilePoint* points, int count, FILE* file);
