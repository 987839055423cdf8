// The trace mask's two halves (see trace_mask.hpp), emptied, merged and read.
#include "trace/trace_mask.hpp"

#include <cstring>

constexpr int MAX_WORDS = TRACE_MASK_MAX_SIDE / 64;  // words a row (or column) at most

// ---- Global state ------------------------------------------------------------
// Written by clear_trace_mask, by the line rules through the halves
// (gl_lines.cpp, centre_lines.cpp) and by merge_trace_columns; read by the
// painters through trace_mask_rows and by trace_mask_has. One thread.
// Row y, bit x: lines along y (and, once merged, all).
static std::uint64_t by_rows[TRACE_MASK_MAX_SIDE * MAX_WORDS];
static std::uint64_t by_columns[TRACE_MASK_MAX_SIDE * MAX_WORDS];  // column x, bit y: lines along x
static int mask_width;                                             // pixels of the image
static int mask_height;
static int row_words;     // words of a row: ⌈width / 64⌉
static int column_words;  // words of a column: ⌈height / 64⌉

bool clear_trace_mask(int width, int height) {
    if (width <= 0 || height <= 0 || width > TRACE_MASK_MAX_SIDE || height > TRACE_MASK_MAX_SIDE) return false;
    mask_width = width;
    mask_height = height;
    row_words = (width + 63) / 64;
    column_words = (height + 63) / 64;
    std::memset(by_rows, 0, sizeof by_rows[0] * static_cast<size_t>(height) * static_cast<size_t>(row_words));
    std::memset(by_columns, 0, sizeof by_columns[0] * static_cast<size_t>(width) * static_cast<size_t>(column_words));
    return true;
}

TraceMaskHalf trace_mask_columns() {
    return {by_columns, column_words, mask_width, mask_height};
}

TraceMaskHalf trace_mask_rows() {
    return {by_rows, row_words, mask_height, mask_width};
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

void merge_trace_columns() {
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
    std::memset(by_columns, 0, sizeof by_columns[0] * static_cast<size_t>(mask_width) * static_cast<size_t>(column_words));
}

bool trace_mask_has(int x, int y) {
    if (x < 0 || y < 0 || x >= mask_width || y >= mask_height) return false;
    const bool in_rows = (by_rows[static_cast<long>(y) * row_words + (x >> 6)] >> (x & 63)) & 1;
    const bool in_columns = (by_columns[static_cast<long>(x) * column_words + (y >> 6)] >> (y & 63)) & 1;
    return in_rows || in_columns;
}
