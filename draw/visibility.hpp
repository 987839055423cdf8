// What the view can show, for the drawing layer's own use: the map from the
// drawing frame of the moment (model-view, then projection) to GL's clip
// square, and that square widened by a margin for the line width. A figure
// wholly outside the widened square cannot light a pixel, so it need not be
// drawn. Keeps no state between calls (draw_only_visible lives in draw.hpp).
#pragma once

#include "draw/draw.hpp"

constexpr double POLYLINE_WIDTH = 0.01;  // view units (4 pixels): the width of draw_wide_polyline

// The view as seen from one drawing frame: clip x = xx·x + xy·y + x0 and clip
// y = yx·x + yy·y + y0 for a point (x, y) of the frame; a point can be seen
// only if |clip x| ≤ limit_x and |clip y| ≤ limit_y (1 plus the margin).
struct ViewBox {
    double xx, xy, x0;
    double yx, yy, y0;
    double limit_x, limit_y;
    double projection[16];  // kept for refresh_view_box (column-major, as GL gives it)
};

// Reads the model-view and projection matrices, the viewport and the line
// width (the larger of the current one and line_width_pixels) into box. False
// when nothing may be left out: draw_only_visible is off, the viewport has no
// area (a window not shown yet), or the projection is not affine in x and y.
bool read_view_box(double line_width_pixels, ViewBox& box);

// Reads the model-view matrix again after the frame has moved (projection,
// viewport and width unchanged since read_view_box).
void refresh_view_box(ViewBox& box);

// Could any part of the rectangle [x_low, x_high] × [y_low, y_high] of the
// frame be seen? Rounding of GL's single-precision arithmetic is allowed for.
bool rectangle_visible(const ViewBox& box, double x_low, double y_low, double x_high, double y_high);

// Could any part of the segment a–b of the frame be seen?
bool segment_visible(const ViewBox& box, const ProfilePoint& a, const ProfilePoint& b);

// The part [first, last] of the frame's x axis from 0 to length that can be
// seen; false when none of it can.
bool axis_visible_range(const ViewBox& box, double length, double& first, double& last);

constexpr int ARC_CAPACITY = 8;  // 4 box lines cut a circle in at most 8 points

// The arcs of the circle of radius r about the frame's origin that can be seen,
// as angle intervals [arcs[i][0], arcs[i][1]] within [0, 2π] (counter-clockwise
// from the frame's x axis, points r·(cos θ, sin θ)); returns their number.
// A circle that cannot be judged (a non-finite value) counts as wholly visible.
int circle_visible_arcs(const ViewBox& box, double r, double arcs[ARC_CAPACITY][2]);

// Could any point within distance reach of the frame's point (x, y) be seen?
bool disc_visible(const ViewBox& box, double x, double y, double reach);
