// What the solid's files share inside solid/: the outline flattened into
// polygons, a polygon's triangulation and the zip the 3MF file is.
#pragma once

#include "solid/solid.hpp"

#include <cstdint>
#include <cstdio>
#include <vector>

// The first tooth's part of the outline as one chain of points (mm, unturned,
// about the centre), the arcs replaced by chords that stray from them by at
// most tolerance: from the middle of the tooth's first side (the root arc, on
// the middle line of the space before it) to just before the same point a
// pitch on (clockwise, as the outline runs). Vertices nearer their neighbours
// than a float's precision at the gear's size, or in line with them, are left out.
std::vector<ProfilePoint> flat_tooth_chain(const GearOutline& outline, double tolerance);

// The triangles of the simple polygon (no side crossing another), either
// orientation, by ear clipping, then made Delaunay by flipping diagonals:
// index triples into polygon, each counter-clockwise, in place of what
// triangles held. False when no ear is found (a polygon that is not simple).
bool triangulate_polygon(const std::vector<ProfilePoint>& polygon, std::vector<SolidTriangle>& triangles);

// The mesh of one body from its outline: see build_written_solids. nullptr,
// or why not: its section cannot be triangulated (an outline that crosses
// itself), or it would have more than triangle_limit triangles (0: any
// number; said before the mesh takes any memory). twist: radians the section
// turns counter-clockwise (seen from +z) per mm of height.
const char* build_gear_solid(const GearOutline& outline, double face_width, double bore_diameter,
                             double twist, double tolerance, size_t triangle_limit, SolidMesh& mesh);

// A zip file's entry, stored (not compressed).
struct ZipEntry {
    const char* name;
    const unsigned char* data;
    size_t size;
};
// Writes the zip of count entries to file; false on a write error.
bool write_stored_zip(const ZipEntry* entries, int count, FILE* file);
