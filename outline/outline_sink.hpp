// Where a drawing-file writer puts its text: a FILE, and whether a write to it
// failed. Used only inside outline/.
#pragma once

#include "outline/outline.hpp"

#include <cstdio>

struct OutlineSink {
    FILE* file;
    bool failed;  // a write to file failed
};

OutlineSink file_sink(FILE* file);
// Appends formatted text to the sink's file; a failed write marks the sink failed.
void sink_printf(OutlineSink& sink, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The rectangle about the circles the outlines keep within, and the origin.
ProfileBox outlines_extent(const GearOutline* outlines, int count);
