// The painter's image of the canvas in the module's memory, and the trace
// mask's pixels set into it here, a word of the mask at a time.
#include "web/wasm/export.hpp"

#include "trace/trace_mask.hpp"

#include <algorithm>
#include <cstdint>

// ---- the image ---------------------------------------------------------------------
// painter.js keeps a canvas's pixels (RGBA, red in the lowest byte) in an
// image it puts on the canvas tile by tile, and marks each 64 × 64 tile it
// sets a pixel of. Where the image lies in the module's memory, the trace
// racks' mask is turned into pixels here, in a fraction of the time the
// painter's own loop over the mask's bits takes.

// The most pixels an image here holds: a 4K screen's square canvas and more;
// a larger canvas keeps its image in the painter.
constexpr int PAINT_IMAGE_MAX_PIXELS = 2560 * 2560;
constexpr int PAINT_TILE = 1 << PAINT_TILE_SHIFT;
static_assert(PAINT_TILE == 64, "a tile's row is a word of the mask's row");
constexpr int PAINT_TILES_MAX = (TRACE_MASK_MAX_SIDE / PAINT_TILE) * (TRACE_MASK_MAX_SIDE / PAINT_TILE);

// Written by the painter (its lines and polygons) and by web_set_trace_pixels;
// read by the painter, which puts it on the canvas.
static std::uint32_t paint_image[PAINT_IMAGE_MAX_PIXELS];
// The tiles set, row by row; written and cleared by the painter, marked by web_set_trace_pixels.
static std::uint8_t paint_marks[PAINT_TILES_MAX];
// The image's size, as web_paint_image was last asked for it; read by web_set_trace_pixels.
static int paint_width;
static int paint_height;

// The address of the image of a width × height canvas (width · height pixels
// in rows from the top), or 0 when it does not fit here (or has no pixels).
WEB_EXPORT std::uint32_t* web_paint_image(int width, int height) {
    const bool fits = width > 0 && height > 0 && width <= TRACE_MASK_MAX_SIDE &&
                      height <= TRACE_MASK_MAX_SIDE &&
                      static_cast<long long>(width) * height <= PAINT_IMAGE_MAX_PIXELS;
    paint_width = fits ? width : 0;
    paint_height = fits ? height : 0;
    return fits ? paint_image : nullptr;
}

// The address of the image's tile marks: ⌈width / 64⌉ a row of tiles, one byte each.
WEB_EXPORT std::uint8_t* web_paint_marks() {
    return paint_marks;
}

// Sets the pixels of the trace mask web_trace_mask answered last (for the
// image's canvas) in colour, the painter's pixel, and marks their tiles.
WEB_EXPORT void web_set_trace_pixels(unsigned colour) {
    const TraceMaskImage mask = page_trace_image();
    const int width = paint_width;
    const int tiles_x = (width + PAINT_TILE - 1) / PAINT_TILE;
    const int words = std::min(mask.words, tiles_x);
    const int height = std::min(paint_height, mask.height);
    for (int y = 0; y < height; ++y) {
        const std::uint64_t* line = mask.rows + static_cast<long>(y) * mask.words;
        std::uint32_t* row = paint_image + static_cast<long>(y) * width;
        std::uint8_t* marks = paint_marks + (y / PAINT_TILE) * tiles_x;
        for (int j = 0; j < words; ++j) {
            std::uint64_t bits = line[j];
            if (bits == 0) continue;
            marks[j] = 1;
            std::uint32_t* at = row + PAINT_TILE * j;
            if (bits == ~std::uint64_t{0}) {
                std::fill(at, at + std::min(PAINT_TILE, width - PAINT_TILE * j), colour);
                continue;
            }
            do {
                const int k = __builtin_ctzll(bits);
                if (PAINT_TILE * j + k < width) at[k] = colour;
                bits &= bits - 1;
            } while (bits != 0);
        }
    }
}
