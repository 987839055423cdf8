// Where a drawing-file writer puts its text: a FILE, and whether a write to it
// failed. Used only inside outline/.
#pragma once

#include "outline/outline.hpp"

#include <cstdio>

struct OutlineSink {
    FILE* file;
    bool failed;   // a write to file failed
    double scale;  // file units per mm: 1, or 1/25.4 for inches
    int decimals;  // of a length: 6 in mm; 8 in inches, whose last digit is finer than 0.000001 mm too
};

OutlineSink file_sink(FILE* file, bool inches);
// A length in mm in the file's units, to be written with "%.*f" and the
// sink's decimals: one that rounds to zero is 0, so that no "-0.000000" is
// written.
double file_length(const OutlineSink& sink, double mm);
// Appends formatted text to the sink's file; a failed write marks the sink failed.
void sink_printf(OutlineSink& sink, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The rectangle about the circles the outlines keep within, and the origin.
ProfileBox outlines_extent(const GearOutline* outlines, int count);
