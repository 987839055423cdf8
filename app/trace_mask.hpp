// The window's trace mask (trace/trace_mask.hpp) for the GL painter
// (paint_gl.cpp): it holds the frame's trace racks as the window's GL draws
// them (trace/gl_lines.hpp) and is painted in one glBitmap; while the traces
// of a frame go on from those of the frame before in the same view, the mask
// keeps the old ones and takes only the new (kept_traces).
#pragma once

#include "record/record.hpp"

// Empties the window's mask for a width × height window; false (and no mask)
// when the window is larger than a mask holds.
bool begin_window_traces(int width, int height);
// Adds the lines, line_width pixels wide: count vertices in pairs, in view
// units. A frame's thousands of lines are shared with a second thread, which
// sets its half into a mask of its own, joined to the window's at the end.
void add_window_traces(const RecordVertex* vertices, int count, float line_width);
// Paints the mask with glBitmap from the window's lower left corner in GL's
// current colour; lighting must be off and both matrices the identity.
void paint_trace_mask();
