// The trace mask's painting for the GL painter (paint_gl.cpp): the mask
// (trace/trace_mask.hpp) holds the frame's trace racks as the window's GL
// draws them (trace/gl_lines.hpp) and is painted in one glBitmap; while the
// traces of a frame go on from those of the frame before in the same view,
// the mask keeps the old ones and takes only the new (kept_traces).
#pragma once

#include "trace/gl_lines.hpp"
#include "trace/trace_mask.hpp"

// Paints the mask with glBitmap from the window's lower left corner in GL's
// current colour; lighting must be off and both matrices the identity.
void paint_trace_mask();
