// Pictures of a recorded frame: the frame record painted as a PNG, SVG or PDF
// file of the record's own size. The folder owns no state.
#pragma once

#include "record/record.hpp"

#include <cstdio>

enum PictureFormat {
    PICTURE_PNG,  // hard pixels, as the window shows them
    PICTURE_SVG,  // vector, one unit a pixel
    PICTURE_PDF,  // vector, one point a pixel
};

// Paints record on white, as the window does, and writes the picture to file.
// Returns 0, or the errno that tells why the picture could not be made or written.
int write_record_picture(const FrameRecord& record, PictureFormat format, FILE* file);

// Paints record on white, hard pixels as in a PNG, into pixels: record.height
// rows of stride bytes, each pixel 32 bits, 0xXXRRGGBB in the machine's byte
// order. Returns 0, or ENOMEM.
int paint_record_pixels(const FrameRecord& record, unsigned char* pixels, int stride);

// Gives back what the font library keeps for the rest of the process, so a leak
// checker sees only real leaks. For the end of a run: no picture after it.
void release_picture_fonts();
