// Pictures: a recorded frame painted as a PNG, SVG or PDF file of the record's
// own size, and the Cairo surfaces and fonts every picture of the program uses.
// The folder owns no state.
#pragma once

#include "record/record.hpp"

#include <cairo.h>

#include <cstdio>

enum PictureFormat {
    PICTURE_PNG,  // hard pixels, as the window shows them
    PICTURE_SVG,  // vector, one unit a pixel
    PICTURE_PDF,  // vector, one point a pixel
};

// The fonts of every picture's text. GLUT's Helvetica 18 in the window; Nimbus
// Sans has Helvetica's metrics. Cairo's own text takes one font a line: a line
// with Japanese in it (--lang ja) is drawn in a font that has it.
inline constexpr const char* PICTURE_LATIN_FONT = "Nimbus Sans";
inline constexpr const char* PICTURE_JAPANESE_FONT = "IPAGothic";
// The font a line of text is drawn in: PICTURE_JAPANESE_FONT when it holds
// anything beyond Latin-1, otherwise PICTURE_LATIN_FONT (the same pointer).
const char* picture_font(const char* text);

// One picture: its format and size, in pixels (PNG, a frame's SVG) or points
// (PDF, and SVG with svg_in_points, whose width and height then say "pt": a
// printed page keeps its size).
struct PicturePage {
    PictureFormat format;
    double width;
    double height;
    bool svg_in_points;
};
// Makes the picture's surface, lets paint draw it (context passed on) and
// writes it to file. Returns 0, or the errno that tells why the picture could
// not be made or written.
int write_cairo_picture(const PicturePage& page, void (*paint)(cairo_t* cr, const void* context),
                        const void* context, FILE* file);

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
