// What the scene tests share: a gear set up as the dialogue leaves it, and
// readers that find the scene's figures (racks, discs, rolling line, wide
// curves, legend) in the recording GL's log of one frame.
#pragma once

#include "draw/draw.hpp"
#include "tests/fake_gl/fake_gl.hpp"

#include <string>
#include <vector>

// Both teeth of a gear with z teeth and shift x computed, the shifted one last,
// all step counters 0 and the scale factor 0.5: the state after a dialogue;
// and every figure drawn whole, also where the window cannot show it.
void make_gear(int z, double x);

// Positions are compared to this many view units: far below a pixel (1/400),
// far above the rounding of the matrix products and of the short
// degrees-per-radian factor over a line 20 view units long.
constexpr double VIEW_TOLERANCE = 1e-6;

struct ViewSegment {
    double x0, y0, x1, y1;  // view units, after the model-view matrix
};
struct ViewDisc {
    double x, y, radius;  // view units
};

bool has_colour(const float c[4], const Colour& colour);

// The GL_LINES segments of the logged frame drawn in the colour and shorter
// than 10 view units (which leaves out the window-wide arms of the cross).
std::vector<ViewSegment> short_segments(const Colour& colour);
// Rack figures in the colour: each is four pitches of seven segments.
int rack_figures(const Colour& colour);
// Wide-line segments (4 pixels) in the colour: the polylines.
int wide_segments(const Colour& colour);
// Filled discs in the colour, in the order drawn.
std::vector<ViewDisc> discs(const Colour& colour);
// Circle outlines (GL_LINE_LOOP) in the colour, as centre and radius.
std::vector<ViewDisc> circles(const Colour& colour);
// The ends of the current rack's rolling line: the longest blue dash-dot line.
ViewSegment rolling_line();
// Every segment of a also appears in b (in any order), within VIEW_TOLERANCE.
bool all_found_in(const std::vector<ViewSegment>& a, const std::vector<ViewSegment>& b);
// The logged legend lines, in order.
std::vector<std::string> legend_lines();
