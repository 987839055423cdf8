// What every file of the wasm module shares: the mark that exports a function
// to the page's scripts (each one listed in web/exports.js, which a test holds
// against these files).
#pragma once

#include "trace/trace_mask.hpp"

#include <emscripten/emscripten.h>

#define WEB_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE

// Records the frame web_key or web_open_frame recorded last once more, from
// the same state, with every trace rack: none left out for the kept trace
// mask (frames.cpp; for the mask in trace.cpp when the canvas changed).
void record_last_frame_whole();
// painter.js cuts its image of the canvas into tiles of 1 << PAINT_TILE_SHIFT
// pixels a side, which pixels.cpp marks: one 64-bit word of a trace mask's row.
constexpr int PAINT_TILE_SHIFT = 6;
// The page's trace mask as web_trace_mask (trace.cpp) left it: its merged image.
TraceMaskImage page_trace_image();
