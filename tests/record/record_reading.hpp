// Readers of the frame record for the tests: the segments, outlines, discs and
// legend lines of one recorded frame, by colour and width, in view units.
#pragma once

#include "record/record.hpp"

#include <string>
#include <vector>

// Positions are compared to this many view units: far below a pixel (1/400),
// far above the rounding of the double-precision placement.
constexpr double VIEW_TOLERANCE = 1e-9;

struct ViewSegment {
    double x0, y0, x1, y1;  // view units
};
struct ViewCircle {
    double x, y, radius;  // view units: centre and distance of the first vertex
};

// The segments of the LINES items in the colour (any width when width is 0).
std::vector<ViewSegment> segments(const Colour& colour, float width = 0);
// Filled discs (POLYGON items) in the colour, in the order recorded.
std::vector<ViewCircle> discs(const Colour& colour);
// Circle outlines (LINE_LOOP items) in the colour.
std::vector<ViewCircle> outlines(const Colour& colour);
// The legend lines, in order, with their raster positions.
std::vector<std::string> legend_lines();
std::vector<ViewCircle> legend_positions();  // radius 0
// Every segment of a also appears in b (in any order), within VIEW_TOLERANCE.
bool all_found_in(const std::vector<ViewSegment>& a, const std::vector<ViewSegment>& b);
// The distance from (x, y) to the nearest of the segments.
double distance_to(const std::vector<ViewSegment>& segments, double x, double y);
