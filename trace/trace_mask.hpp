// The trace mask: a one-bit image of a frame's trace racks. The traces are
// one colour and drawn after everything else, so only their union shows; a
// painter rasterises their lines into the mask (gl_lines.hpp as the window's
// GL draws them, centre_lines.hpp as the page's painter does) and paints the
// set bits in the trace colour. Lines along x fill a few pixels of a column
// each and lines along y a few of a row, so each kind is set into a half laid
// out along its own minor axis, where a column's (or row's) pixels are
// neighbouring bits of one word: one or two word writes a step. The column
// half is turned into rows (64 × 64 bit blocks at a time) and merged into the
// row half before the mask is painted. No GL.
#pragma once

#include <cstdint>

// The largest image side a mask is kept for; larger images get their traces
// from the painter's own lines.
constexpr int TRACE_MASK_MAX_SIDE = 4096;
// The widest line, in pixels, that one step of a line sets.
constexpr int TRACE_MASK_MAX_ACROSS = 32;

// One half of the mask: line m (a column of the column half, a row of the row
// half) is `words` 64-bit words from lines + m · words on, its pixel n bit
// n % 64 of word n / 64; `along` lines of `across` pixels each.
struct TraceMaskHalf {
    std::uint64_t* lines;
    int words;
    int along;
    int across;
};

// Empties the mask for a width × height image; false (and no mask) when the
// image is larger than the mask.
bool clear_trace_mask(int width, int height);
// The half lines along x are set into: column x, pixel y. (Valid after clear_trace_mask.)
TraceMaskHalf trace_mask_columns();
// The half lines along y are set into, and after merge_trace_columns the whole mask: row y, pixel x.
TraceMaskHalf trace_mask_rows();
// ORs the column half, turned into rows, into the row half, and empties the column half.
void merge_trace_columns();
// Is the pixel in column x, row y in either half? (For tests.)
bool trace_mask_has(int x, int y);

// Sets pixels from … from + count - 1 of a line of a half, those within
// [0, across) only; count ≤ TRACE_MASK_MAX_ACROSS.
inline void set_trace_pixels(std::uint64_t* line, long long from, int count, int across) {
    if (from >= 0 && from + count <= across) {
        const int word = static_cast<int>(from >> 6);
        const int bit = static_cast<int>(from & 63);
        const std::uint64_t bits = (std::uint64_t{1} << count) - 1;  // count < 64
        line[word] |= bits << bit;
        if (bit + count > 64) line[word + 1] |= bits >> (64 - bit);
        return;
    }
    const long long end = from + count < across ? from + count : across;
    for (long long n = from < 0 ? 0 : from; n < end; ++n) line[n >> 6] |= std::uint64_t{1} << (n & 63);
}
