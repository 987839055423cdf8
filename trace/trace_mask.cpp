// The trace mask's halves, image and full tiles (see trace_mask.hpp):
// emptied, merged and read.
#include "trace/trace_mask.hpp"

#include <cstring>

constexpr int TILE = 1 << TRACE_TILE_SHIFT;                          // pixels (or tiles) a tile's side
constexpr std::uint64_t TILE_BITS = (std::uint64_t{1} << TILE) - 1;  // a tile's part of a row word
static_assert(64 % TILE == 0 && TRACE_COARSE_SHIFT == 2 * TRACE_TILE_SHIFT,
              "a row word holds whole tiles, and a coarse tile is a tile of tiles");

bool clear_trace_mask(TraceMask& mask, int width, int height) {
    if (width <= 0 || height <= 0 || width > TRACE_MASK_MAX_SIDE || height > TRACE_MASK_MAX_SIDE)
        return false;
    mask.width = width;
    mask.height = height;
    mask.row_words = (width + 63) / 64;
    mask.column_words = (height + 63) / 64;
    const size_t pixel_words = static_cast<size_t>(height) * static_cast<size_t>(mask.row_words);
    std::memset(mask.image, 0, sizeof mask.image[0] * pixel_words);
    std::memset(mask.row_half, 0, sizeof mask.row_half[0] * pixel_words);
    std::memset(
        mask.column_half, 0,
        sizeof mask.column_half[0] * static_cast<size_t>(width) * static_cast<size_t>(mask.column_words));
    for (TraceFullTiles* level : {&mask.tiles, &mask.coarse_tiles}) {
        const int side = level == &mask.tiles ? TILE : TILE * TILE;
        level->columns = (width + side - 1) / side;
        level->rows = (height + side - 1) / side;
        std::memset(level->by_rows, 0, sizeof level->by_rows);
        std::memset(level->by_columns, 0, sizeof level->by_columns);
    }
    mask.work_since_tiles = 0;
    return true;
}

// The full tiles as a half whose lines are the image's columns (or rows) sees them.
static TraceTiles tiles_along(const TraceFullTiles& level, bool columns, int shift) {
    return columns ? TraceTiles{level.by_columns, (level.rows + 63) / 64, shift}
                   : TraceTiles{level.by_rows, (level.columns + 63) / 64, shift};
}

// The half whose lines are the image's columns, or its rows.
static TraceMaskHalf half_of(TraceMask& mask, bool columns) {
    return {&mask,
            columns ? mask.column_half : mask.row_half,
            columns ? mask.width : mask.height,
            columns ? mask.height : mask.width,
            tiles_along(mask.tiles, columns, TRACE_TILE_SHIFT),
            tiles_along(mask.coarse_tiles, columns, TRACE_COARSE_SHIFT)};
}

TraceMaskHalf trace_mask_columns(TraceMask& mask) {
    return half_of(mask, true);
}

TraceMaskHalf trace_mask_rows(TraceMask& mask) {
    return half_of(mask, false);
}

TraceMaskImage trace_mask_image(const TraceMask& mask) {
    return {mask.image, mask.row_words, mask.width, mask.height};
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

void merge_trace_halves(TraceMask& mask) {
    const int row_words = mask.row_words;
    for (int k = 0; k < row_words; ++k)
        for (int y = 0; y < mask.height; ++y) {
            std::uint64_t& word = mask.row_half[static_cast<long>(k) * mask.height + y];
            if (word == 0) continue;
            mask.image[static_cast<long>(y) * row_words + k] |= word;
            word = 0;
        }
    // Block (bx, by): columns 64·bx …, word by of each, side by side in the column half.
    std::uint64_t block[64];
    for (int by = 0; by < mask.column_words; ++by)
        for (int bx = 0; bx < row_words; ++bx) {
            std::uint64_t* words = mask.column_half + static_cast<long>(by) * mask.width + bx * 64;
            const int count = std::min(64, mask.width - bx * 64);
            bool any = false;
            for (int i = 0; i < 64; ++i) {
                block[i] = i < count ? words[i] : 0;
                any = any || block[i] != 0;
            }
            if (!any) continue;
            std::memset(words, 0, sizeof words[0] * static_cast<size_t>(count));
            transpose_block(block);
            for (int j = 0; j < 64 && by * 64 + j < mask.height; ++j)
                mask.image[static_cast<long>(by * 64 + j) * row_words + bx] |= block[j];
        }
}

void add_trace_image(TraceMask& into, const TraceMask& from) {
    const long words = static_cast<long>(into.height) * into.row_words;
    for (long k = 0; k < words; ++k) into.image[k] |= from.image[k];
}

bool trace_mask_has(const TraceMask& mask, int x, int y) {
    if (x < 0 || y < 0 || x >= mask.width || y >= mask.height) return false;
    const std::uint64_t in_image = mask.image[static_cast<long>(y) * mask.row_words + (x >> 6)] >> (x & 63);
    const std::uint64_t in_rows = mask.row_half[static_cast<long>(x >> 6) * mask.height + y] >> (x & 63);
    const std::uint64_t in_columns = mask.column_half[static_cast<long>(y >> 6) * mask.width + x] >> (y & 63);
    return ((in_image | in_rows | in_columns) & 1) != 0;
}

// Marks in `full` the tiles of a bitmap (`height` rows of `words` words,
// `width` bits used a row) whose bits are all set: a tile row's rows ANDed
// word by word, a tile full where its part of the result is (bits past the
// right edge count as set, rows past the bottom are not there). The bitmap
// is the image for the tiles, the tiles' own by rows for the coarse tiles.
static void find_full_tiles(const std::uint64_t* bitmap, int words, int width, int height,
                            TraceFullTiles& full) {
    const int row_tile_words = (full.columns + 63) / 64;
    const int column_tile_words = (full.rows + 63) / 64;
    const std::uint64_t past_right = width % 64 == 0 ? 0 : ~std::uint64_t{0} << (width % 64);
    for (int ty = 0; ty < full.rows; ++ty) {
        const int bottom = std::min((ty + 1) * TILE, height);
        for (int word = 0; word < words; ++word) {
            std::uint64_t all = ~std::uint64_t{0};
            for (int y = ty * TILE; y < bottom && all != 0; ++y)
                all &= bitmap[static_cast<long>(y) * words + word];
            if (word == words - 1) all |= past_right;
            for (int k = 0; k < 64 / TILE && all != 0; ++k) {
                const int tx = word * (64 / TILE) + k;
                if (tx >= full.columns || ((all >> (k * TILE)) & TILE_BITS) != TILE_BITS) continue;
                full.by_rows[ty * row_tile_words + tx / 64] |= std::uint64_t{1} << (tx % 64);
                full.by_columns[tx * column_tile_words + ty / 64] |= std::uint64_t{1} << (ty % 64);
            }
        }
    }
}

void count_trace_work(TraceMask& mask, long long pixels) {
    mask.work_since_tiles += pixels;
    if (mask.work_since_tiles < static_cast<long long>(mask.width) * mask.height / 4) return;
    merge_trace_halves(mask);
    find_full_tiles(mask.image, mask.row_words, mask.width, mask.height, mask.tiles);
    const TraceFullTiles& tiles = mask.tiles;
    find_full_tiles(tiles.by_rows, (tiles.columns + 63) / 64, tiles.columns, tiles.rows, mask.coarse_tiles);
    mask.work_since_tiles = 0;
}
