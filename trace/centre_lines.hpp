// Lines into the trace mask (trace_mask.hpp) as the page's canvas painter
// (web/painter.js) sets its lines: between pixel positions (x right, y down
// from the image's top left corner), `across` pixels thick across the major
// axis; along it every pixel whose centre lies in [start, end), across it the
// `across` pixels nearest the line. The line's position at a pixel centre is
// always worked out from the end with the smaller major coordinate, in double
// precision, so the pixels are the painter's own whichever way round a line
// is given.
#pragma once

#include "trace/trace_mask.hpp"

// Adds the pixels of the line from (x0, y0) to (x1, y1), across ≤ TRACE_MASK_MAX_ACROSS.
void add_centre_line(TraceMask& mask, double x0, double y0, double x1, double y1, int across);
