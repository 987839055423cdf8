// The trace mask (see trace_mask.hpp). Lines along x fill a few pixels of a
// column each and lines along y a few of a row, so each kind is rasterised
// into a mask laid out along its own minor axis, where a column's (or row's)
// pixels are neighbouring bits of one word: one or two word writes a step. The
// column mask is turned into rows (64 × 64 bit blocks at a time) and merged
// into the row mask before it is painted.
#include "app/trace_mask.hpp"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "glBitmap reads the mask's words as bytes, least significant bit first");

constexpr int MAX_WORDS = TRACE_MASK_MAX_SIDE / 64;  // words a row (or column) at most
constexpr int MAX_LINE_WIDTH = 32;                   // pixels; a wider line is drawn this wide
constexpr double FIXED_ONE = 4294967296.0;           // 2^32: the stepper's fixed point

// ---- Global state ------------------------------------------------------------
// Written by begin_trace_mask and add_trace_lines, read by paint_trace_mask and
// trace_mask_has; only the GL painter calls them, on the window's one thread.
// Row y, bit x: lines along y (and, once painted, all).
static std::uint64_t by_rows[TRACE_MASK_MAX_SIDE * MAX_WORDS];
static std::uint64_t by_columns[TRACE_MASK_MAX_SIDE * MAX_WORDS];  // column x, bit y: lines along x
static int mask_width;                                             // pixels of the window
static int mask_height;
static int row_words;      // words of a row: ⌈width / 64⌉
static int column_words;   // words of a column: ⌈height / 64⌉
static int pixels_across;  // of a line: its width, whole pixels

// A coordinate as GL takes it: the vertex in single precision, then window pixels.
static double window_coordinate(double view, int pixels) {
    return (static_cast<double>(static_cast<float>(view)) + 1.0) * pixels / 2.0;
}

// Snapped to GL's sub-pixel grid of 1/256 pixel.
static double snapped(double pixels) {
    return std::nearbyint(pixels * 256.0) / 256.0;
}

// Sets bits from … from + count - 1 of a row, those within [0, limit) only.
static void set_bits(std::uint64_t* row, long long from, int count, int limit) {
    if (from >= 0 && from + count <= limit) {
        const int word = static_cast<int>(from >> 6);
        const int bit = static_cast<int>(from & 63);
        const std::uint64_t bits = (std::uint64_t{1} << count) - 1;  // count ≤ MAX_LINE_WIDTH < 64
        row[word] |= bits << bit;
        if (bit + count > 64) row[word + 1] |= bits >> (64 - bit);
        return;
    }
    for (long long n = std::max(from, 0LL); n < std::min(from + count, static_cast<long long>(limit)); ++n)
        row[n >> 6] |= std::uint64_t{1} << (n & 63);
}

// Is the point inside the diamond |du| + |dv| < 1/2 about the centre of its pixel?
static bool in_diamond(double u, double v) {
    return std::fabs(u - std::floor(u) - 0.5) + std::fabs(v - std::floor(v) - 0.5) < 0.5;
}

// Does a 1-pixel line fill the pixel (column) of its first end? It does when
// it leaves a diamond there: when it starts inside one, or crosses the
// column's centre on its way.
static bool first_pixel_filled(double u, double v, bool forward) {
    const double centre = std::floor(u) + 0.5;
    return (forward ? u <= centre : u > centre) || in_diamond(u, v);
}

// And that of its last end: when it crosses the column's centre and does not
// end inside a diamond.
static bool last_pixel_filled(double u, double v, bool forward) {
    const double centre = std::floor(u) + 0.5;
    return (forward ? u > centre : u <= centre) && !in_diamond(u, v);
}

// The columns (rows, for a line along y) are those of a 1-pixel line under
// the diamond-exit rule: every one from its first end's to its last end's,
// those two as the rule decides. A line that leaves the viewport is cut
// where its centre line does, as GL cuts it (in a window with a depth buffer).
static void add_line(const RecordVertex& a, const RecordVertex& b) {
    RecordVertex first_end = {window_coordinate(a.x, mask_width), window_coordinate(a.y, mask_height)};
    RecordVertex last_end = {window_coordinate(b.x, mask_width), window_coordinate(b.y, mask_height)};
    if (!cut_segment(first_end, last_end, 0, mask_width, 0, mask_height)) return;  // as GL cuts it to the viewport
    const double ax = snapped(first_end.x);
    const double ay = snapped(first_end.y);
    const double bx = snapped(last_end.x);
    const double by = snapped(last_end.y);
    const bool along_x = std::fabs(bx - ax) >= std::fabs(by - ay);
    const double us = along_x ? ax : ay;  // first end
    const double vs = along_x ? ay : ax;
    const double ue = along_x ? bx : by;  // last end
    const double ve = along_x ? by : bx;
    if (us == ue) return;  // no length: GL draws nothing
    const double du = ue - us;
    const double dv = ve - vs;
    const bool forward = du > 0;
    const bool first_end_filled = first_pixel_filled(us, vs, forward);
    const bool last_end_filled = last_pixel_filled(ue, ve, forward);
    // The lowest and highest column, each end's column kept as the rule decides.
    int first = static_cast<int>(std::floor(forward ? us : ue));
    int last = static_cast<int>(std::floor(forward ? ue : us));
    if (!(forward ? first_end_filled : last_end_filled)) ++first;
    if (!(forward ? last_end_filled : first_end_filled)) --last;
    const int along = along_x ? mask_width : mask_height;
    const int across = along_x ? mask_height : mask_width;
    first = std::max(first, 0);
    last = std::min(last, along - 1);
    if (first > last) return;
    std::uint64_t* mask = along_x ? by_columns : by_rows;
    const int words = along_x ? column_words : row_words;
    const double slope = dv / du;
    // The lowest pixel n across, n + 0.5 ≥ line(m + 0.5) - w/2, stepped in 32.32 fixed point.
    const double lowest = vs + slope * (first + 0.5 - us) - pixels_across / 2.0 - 0.5;
    long long low = std::llround(lowest * FIXED_ONE);
    const long long step = std::llround(slope * FIXED_ONE);
    const long long ceiling = (1LL << 32) - 1;
    for (int m = first; m <= last; ++m, low += step) {
        const long long n = (low + ceiling) >> 32;
        if (n >= across || n + pixels_across <= 0) continue;
        set_bits(mask + static_cast<long>(m) * words, n, pixels_across, across);
    }
}

// Transposes a 64 × 64 bit block in place: bit j of word i goes to bit i of word j.
static void transpose_block(std::uint64_t* block) {
    std::uint64_t mask = 0x00000000FFFFFFFFull;
    for (int half = 32; half != 0; half >>= 1, mask ^= mask << half) {
        for (int i = 0; i < 64; i = (i + half + 1) & ~half) {
            const std::uint64_t swap = ((block[i] >> half) ^ block[i + half]) & mask;
            block[i] ^= swap << half;
            block[i + half] ^= swap;
        }
    }
}

// ORs the column mask, turned into rows, into the row mask.
static void merge_columns() {
    std::uint64_t block[64];
    for (int bx = 0; bx < row_words; ++bx)
        for (int by = 0; by < column_words; ++by) {
            bool any = false;
            for (int i = 0; i < 64; ++i) {
                const int x = bx * 64 + i;
                block[i] = x < mask_width ? by_columns[static_cast<long>(x) * column_words + by] : 0;
                any = any || block[i] != 0;
            }
            if (!any) continue;
            transpose_block(block);
            for (int j = 0; j < 64 && by * 64 + j < mask_height; ++j)
                by_rows[static_cast<long>(by * 64 + j) * row_words + bx] |= block[j];
        }
}

bool begin_trace_mask(int width, int height, float line_width) {
    if (width <= 0 || height <= 0 || width > TRACE_MASK_MAX_SIDE || height > TRACE_MASK_MAX_SIDE) return false;
    mask_width = width;
    mask_height = height;
    row_words = (width + 63) / 64;
    column_words = (height + 63) / 64;
    pixels_across = std::clamp(static_cast<int>(std::lround(line_width)), 1, MAX_LINE_WIDTH);
    std::memset(by_rows, 0, sizeof by_rows[0] * static_cast<size_t>(height) * static_cast<size_t>(row_words));
    std::memset(by_columns, 0, sizeof by_columns[0] * static_cast<size_t>(width) * static_cast<size_t>(column_words));
    return true;
}

void add_trace_lines(const RecordVertex* vertices, int count) {
    for (int i = 0; i + 1 < count; i += 2) add_line(vertices[i], vertices[i + 1]);
}

void paint_trace_mask() {
    merge_columns();
    std::memset(by_columns, 0, sizeof by_columns[0] * static_cast<size_t>(mask_width) * static_cast<size_t>(column_words));
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, row_words * 64);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glRasterPos2f(-1.0f, -1.0f);
    glBitmap(mask_width, mask_height, 0, 0, 0, 0, reinterpret_cast<const GLubyte*>(by_rows));
    glPopClientAttrib();
}

bool trace_mask_has(int x, int y) {
    if (x < 0 || y < 0 || x >= mask_width || y >= mask_height) return false;
    const bool in_rows = (by_rows[static_cast<long>(y) * row_words + (x >> 6)] >> (x & 63)) & 1;
    const bool in_columns = (by_columns[static_cast<long>(x) * column_words + (y >> 6)] >> (y & 63)) & 1;
    return in_rows || in_columns;
}
