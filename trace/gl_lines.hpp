// Lines into the trace mask (trace_mask.hpp) as the window's GL draws them.
// A line of width w pixels (w rounded to a whole number, at least 1) fills
// the pixels GL fills for a wide aliased line: along its major axis u (x when
// |dx| ≥ |dy|, else y) the columns of a 1-pixel line under the diamond-exit
// rule, from its first end's to its last end's; across it, in each column,
// the w pixels whose centre lies within [-w/2, w/2) of the line. The line is
// cut where its centre line leaves the viewport, as GL cuts it in a window
// with a depth buffer, and its ends are placed as GL places them: vertices in
// single precision, window coordinates snapped to 1/256 pixel. Rows count
// from the window's bottom, as GL's do.
#pragma once

#include "record/record.hpp"
#include "trace/trace_mask.hpp"

// Adds the pixels of the lines, line_width pixels wide, to the mask (of the
// window's size): count vertices in pairs, in view units.
void add_trace_lines(TraceMask& mask, const RecordVertex* vertices, int count, float line_width);
