// What can be seen, for the drawing layer's own use: the one place that judges,
// from the device's matrix and the frame's size in double precision, whether a
// figure or a part of it can light a pixel, before the figure is walked. Keeps
// no state; whether anything may be left out is the frame's setting (begin_record).
#pragma once

#include "draw/draw.hpp"

// The view as seen from the drawing frame of the moment: view x = xx·x + xy·y
// + x0 and view y = yx·x + yy·y + y0 for a point (x, y) of the frame; a point
// can be seen only if |view x| ≤ limit_x and |view y| ≤ limit_y (1 plus the
// margin of the line width).
struct ViewBox {
    double xx, xy, x0;
    double yx, yy, y0;
    double limit_x, limit_y;
};

// The view from the current drawing frame for lines of the given width (or the
// device's current width, if larger). False when nothing may be left out: the
// frame records everything, or it has no area.
bool read_view_box(double line_width_pixels, ViewBox& box);

// Could any part of the rectangle [x_low, x_high] × [y_low, y_high] of the frame be seen?
bool rectangle_visible(const ViewBox& box, double x_low, double y_low, double x_high, double y_high);

// Could any part of the segment a–b of the frame be seen?
bool segment_visible(const ViewBox& box, const ProfilePoint& a, const ProfilePoint& b);

// Could any point within distance reach of the frame's point (x, y) be seen?
bool disc_visible(const ViewBox& box, double x, double y, double reach);

// Does all of the disc lie within the box (every segment in it can be seen)?
bool disc_inside(const ViewBox& box, double x, double y, double reach);

// The part [first, last] of the frame's x axis from 0 to length that can be
// seen; false when none of it can.
bool axis_visible_range(const ViewBox& box, double length, double& first, double& last);

constexpr int ARC_CAPACITY = 8;  // 4 box lines cut a circle in at most 8 points

// The arcs of the circle of radius r about the frame's origin that can be seen,
// as angle intervals [arcs[i][0], arcs[i][1]] within [0, 2π] (counter-clockwise
// from the frame's x axis, points r·(cos θ, sin θ)); returns their number.
int circle_visible_arcs(const ViewBox& box, double r, double arcs[ARC_CAPACITY][2]);

// A run of indices first … last.
struct IndexRun {
    int first;
    int last;
};
constexpr int RUN_CAPACITY = 3 * ARC_CAPACITY;

// Of the pieces i = first … last of a circle, piece i covering the angles
// [i·pitch, i·pitch + span] (span ≤ pitch, angles taken modulo 2π), those that
// reach within pad of a visible arc, as sorted runs that do not overlap;
// returns their number.
int visible_pieces(const double arcs[ARC_CAPACITY][2], int arc_count, double pitch, double span, double pad,
                   int first, int last, IndexRun runs[RUN_CAPACITY]);
