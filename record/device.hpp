// The write side of the frame record: an immediate-mode device in the manner
// of GL 1.x (begin, vertex, end under a current colour, width and matrix) that
// records instead of drawing. Its matrix stack is its own, 2D and in doubles,
// so a vertex is placed in view units exactly however far the view is zoomed.
#pragma once

#include "record/record.hpp"

// A 2D affine map from the drawing frame of the moment to view units:
// view x = xx·x + xy·y + x0, view y = yx·x + yy·y + y0.
struct DeviceMatrix {
    double xx, xy, x0;
    double yx, yy, y0;
};

constexpr int DEVICE_MATRIX_DEPTH = 8;  // the figures nest at most three frames deep

// ---- matrix stack (reset to the identity by begin_record) ---------------------
void device_push_matrix();  // a push past the depth or a pop of the last matrix
void device_pop_matrix();   // is refused and marks the record overflowed
void device_load_identity();  // the current matrix becomes the identity (what a scene left turned)
void device_translate(double dx, double dy);
void device_rotate(double angle);  // radians, counter-clockwise
const DeviceMatrix& device_matrix();

// ---- current attributes --------------------------------------------------------
// The line width starts at the frame's setting (begin_record).
void device_colour(const Colour& colour);
void device_line_width(float pixels);
float device_line_width();
void device_layer(int layer);  // ITEM_LAYER_PLAIN, _TRACE or _PANEL, for the items begun from now on

// ---- drawing -------------------------------------------------------------------
// Vertices between begin and end form one item of the kind, placed through the
// current matrix. Lines and outlines are clipped to the guard square (±2 view
// units) and polygons cut to it, in double precision, so every painter gets
// coordinates near the view; a segment wholly outside the guard is dropped.
// Consecutive line items of the same colour, width and layer become one.
void device_begin(ItemKind kind);
void device_vertex(double x, double y);
void device_end();
// One legend line from raster position (x, y) of the current frame.
void device_text(double x, double y, const char* text);

// The settings of the frame being recorded, as begin_record gave them.
const FrameSettings& device_frame();

// For begin_record: the frame's settings and line width, the identity matrix,
// the plain layer, no item open.
void device_reset(const FrameSettings& frame);
