// The trace mask, for the GL painter (paint_gl.cpp) only: a frame's trace
// racks are one colour and drawn after everything else, so only their union
// shows. The painter rasterises their lines into a one-bit mask of the window
// and paints the mask in one glBitmap; while the traces of a frame go on from
// those of the frame before, the mask keeps the old ones and takes only the new.
//
// A line of width w pixels (w rounded to a whole number, at least 1) fills
// the pixels GL fills for a wide aliased line: along its major axis u (x when
// |dx| ≥ |dy|, else y) the columns of a 1-pixel line under the diamond-exit
// rule, from its first end's to its last end's; across it, in each column,
// the w pixels whose centre lies within [-w/2, w/2) of the line. The line is
// cut where its centre line leaves the viewport, as GL cuts it in a window
// with a depth buffer, and its ends are placed as GL places them: vertices in
// single precision, window coordinates snapped to 1/256 pixel.
#pragma once

#include "record/record.hpp"

// The largest window side a mask is kept for; the painter draws the traces of
// a larger one as GL lines.
constexpr int TRACE_MASK_MAX_SIDE = 4096;

// Empties the mask for a width × height window and lines line_width pixels
// wide; false (and no mask) when the window is larger than the mask.
bool begin_trace_mask(int width, int height, float line_width);
// Adds the pixels of the lines: count vertices in pairs, in view units.
void add_trace_lines(const RecordVertex* vertices, int count);
// Paints the mask with glBitmap from the window's lower left corner in GL's
// current colour; lighting must be off and both matrices the identity.
void paint_trace_mask();
// Is the pixel in column x, row y (from the bottom) in the mask? (For tests.)
bool trace_mask_has(int x, int y);
