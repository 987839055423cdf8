// The trace mask: a one-bit image of a frame's trace racks. The traces are
// one colour and drawn after everything else, so only their union shows; a
// painter rasterises their lines into the mask (gl_lines.hpp as the window's
// GL draws them, centre_lines.hpp as the page's painter does) and paints the
// set bits in the trace colour. No GL.
//
// Lines along x fill a few pixels of a column each and lines along y a few of
// a row, so each kind is set into a half laid out along its own minor axis,
// where a column's (or row's) pixels are neighbouring bits of one word: one
// or two word writes a step. Within a half, word k of every line lies side by
// side, so a line's steps from one line to the next write neighbouring words
// (one cache line for eight steps). Before the mask is read the halves are
// merged into the image, rows of words, the column half turned into rows 64
// × 64 bits at a time.
//
// After thousands of steps the racks cover whole regions many times over, and
// most of a frame's lines would set bits that are set already. So the mask
// also keeps which 8 × 8 pixel tiles, and which 64 × 64 coarse tiles, of the
// image are wholly set (brought up to date after every so many pixels), and a
// line skips each run of steps whose pixels all lie in full tiles. Setting a
// bit twice changes nothing, so the mask is the same, bit for bit, with or
// without the skip.
#pragma once

#include <algorithm>
#include <cstdint>

// The largest image side a mask is kept for; larger images get their traces
// from the painter's own lines.
constexpr int TRACE_MASK_MAX_SIDE = 4096;
// The widest line, in pixels, that one step of a line sets.
constexpr int TRACE_MASK_MAX_ACROSS = 32;
// Pixels a side of the tiles whose fullness the mask keeps (1 << shift), and
// of the coarse tiles, each a square of tiles.
constexpr int TRACE_TILE_SHIFT = 3;
constexpr int TRACE_COARSE_SHIFT = 6;

// Which tiles of one size are full, as a half sees them: tile line m >> shift
// (m a line of the half) is `words` words from bits + (m >> shift) · words on,
// tile n >> shift across it a bit (1: every pixel of the tile within the
// image is set).
struct TraceTiles {
    const std::uint64_t* bits;
    int words;
    int shift;
};

// One half of the mask: `along` lines (columns of the column half, rows of
// the row half) of `across` pixels each; pixel n of line m is bit n % 64 of
// word lines[(n / 64) · along + m]. And which tiles of the image are full.
struct TraceMask;
struct TraceMaskHalf {
    TraceMask* mask;
    std::uint64_t* lines;
    int along;
    int across;
    TraceTiles tiles;
    TraceTiles coarse;
};

// The merged mask: row y (from the image's top for the page, from its bottom
// for GL: whichever the line rule counts from) is `words` words from
// rows + y · words on, pixel x bit x % 64 of word x / 64.
struct TraceMaskImage {
    const std::uint64_t* rows;
    int words;
    int width;
    int height;
};

constexpr int TRACE_MASK_MAX_WORDS = TRACE_MASK_MAX_SIDE / 64;  // words a row (or column) at most
constexpr int TRACE_MASK_MAX_TILES = TRACE_MASK_MAX_SIDE >> TRACE_TILE_SHIFT;  // tiles a side at most
constexpr int TRACE_MASK_MAX_TILE_WORDS = (TRACE_MASK_MAX_TILES + 63) / 64;    // words a tile line at most

// Which tiles of one size are full, by tile row (bit: tile column) and by
// tile column (bit: tile row); `columns` × `rows` of them.
struct TraceFullTiles {
    std::uint64_t by_rows[TRACE_MASK_MAX_TILES * TRACE_MASK_MAX_TILE_WORDS];
    std::uint64_t by_columns[TRACE_MASK_MAX_TILES * TRACE_MASK_MAX_TILE_WORDS];
    int columns;
    int rows;
};

// A mask, of fixed capacity (some megabytes: keep it in static storage). The
// line rules write its halves, merge_trace_halves moves them into the image,
// count_trace_work finds its full tiles; only these procedures touch it.
struct TraceMask {
    std::uint64_t row_half[TRACE_MASK_MAX_WORDS * TRACE_MASK_MAX_SIDE];  // word k of row y at k · height + y
    std::uint64_t
        column_half[TRACE_MASK_MAX_WORDS * TRACE_MASK_MAX_SIDE];      // word k of column x at k · width + x
    std::uint64_t image[TRACE_MASK_MAX_SIDE * TRACE_MASK_MAX_WORDS];  // word k of row y at y · row_words + k
    int width;                                                        // pixels of the image
    int height;
    int row_words;     // words of a row: ⌈width / 64⌉
    int column_words;  // words of a column: ⌈height / 64⌉
    TraceFullTiles tiles;
    TraceFullTiles coarse_tiles;
    long long work_since_tiles;  // pixels counted since the full tiles were found
};

// Empties the mask for a width × height image; false (and no mask) when the
// image is larger than the mask.
bool clear_trace_mask(TraceMask& mask, int width, int height);
// The half lines along x are set into: line x a column, pixel y. (Valid after clear_trace_mask.)
TraceMaskHalf trace_mask_columns(TraceMask& mask);
// The half lines along y are set into: line y a row, pixel x.
TraceMaskHalf trace_mask_rows(TraceMask& mask);
// ORs both halves into the image and empties them.
void merge_trace_halves(TraceMask& mask);
// ORs the image of `from` (of the same size, merged) into that of `into`.
void add_trace_image(TraceMask& into, const TraceMask& from);
// The image, holding every line set before the last merge_trace_halves.
TraceMaskImage trace_mask_image(const TraceMask& mask);
// Is the pixel in column x, row y set, merged or not? (For tests.)
bool trace_mask_has(const TraceMask& mask, int x, int y);
// Counts `pixels` more about to be set; once they add up to a quarter of the
// image's, merges the halves and finds the full tiles afresh. Called before
// each run of steps a line sets.
void count_trace_work(TraceMask& mask, long long pixels);

// Sets pixels from … from + count - 1 of line m of a half, all within [0,
// across); bits holds count ones (count ≤ TRACE_MASK_MAX_ACROSS).
inline void set_trace_pixels_within(const TraceMaskHalf& half, int m, long long from, std::uint64_t bits,
                                    int count) {
    std::uint64_t* word = half.lines + m + (from >> 6) * half.along;
    const int bit = static_cast<int>(from & 63);
    word[0] |= bits << bit;
    if (bit + count > 64) word[half.along] |= bits >> (64 - bit);
}

// Sets pixels from … from + count - 1 of line m of a half, those within
// [0, across) only; count ≤ TRACE_MASK_MAX_ACROSS.
inline void set_trace_pixels(const TraceMaskHalf& half, int m, long long from, int count) {
    if (from >= 0 && from + count <= half.across) {
        set_trace_pixels_within(half, m, from, (std::uint64_t{1} << count) - 1, count);  // count < 64
        return;
    }
    std::uint64_t* line = half.lines + m;
    const long along = half.along;
    const long long end = std::min(from + count, static_cast<long long>(half.across));
    for (long long n = std::max(from, 0LL); n < end; ++n)
        line[(n >> 6) * along] |= std::uint64_t{1} << (n & 63);
}

// Do the pixels a line sets in lines m … end of a half, the lowest of them
// in line m within one of the floor of `low` (32.32 fixed point), stepping
// by `step` a line, all lie in full tiles of one tile line (or outside the image)?
inline bool in_full_tiles(const TraceTiles& tiles, int image_across, int m, int end, long long low,
                          long long step, int across) {
    const long long end_low = low + (end - m) * step;
    const long long from = std::max((std::min(low, end_low) >> 32) - 1, 0LL);
    const long long to = std::min((std::max(low, end_low) >> 32) + across, image_across - 1LL);
    if (from > to) return true;
    const std::uint64_t* full = tiles.bits + static_cast<long>(m >> tiles.shift) * tiles.words;
    const long long first = from >> tiles.shift;
    const long long last = to >> tiles.shift;
    for (long long word = first >> 6; word <= last >> 6; ++word) {
        const int low_bit = word == first >> 6 ? static_cast<int>(first & 63) : 0;
        const int high_bit = word == last >> 6 ? static_cast<int>(last & 63) : 63;
        const std::uint64_t wanted = (~std::uint64_t{0} >> (63 - high_bit)) & (~std::uint64_t{0} << low_bit);
        if ((full[word] & wanted) != wanted) return false;
    }
    return true;
}

// Sets a line's pixels in lines first … last of a half: in line m the
// `across` pixels from lowest(m, low) on, where low is a 32.32 fixed-point
// value that starts at `low` and grows by `step` a line, and lowest gives
// the pixel from it within one of low's floor. Runs of lines within one
// coarse tile line, or one tile line, whose pixels all lie in full (coarse)
// tiles are skipped.
template <typename Lowest>
inline void set_trace_run(const TraceMaskHalf& half, int first, int last, long long low, long long step,
                          int across, Lowest lowest) {
    constexpr int COARSE = 1 << TRACE_COARSE_SHIFT;
    constexpr int TILE = 1 << TRACE_TILE_SHIFT;
    for (int m = first; m <= last;) {
        const int coarse_end = std::min(last, m | (COARSE - 1));
        if (in_full_tiles(half.coarse, half.across, m, coarse_end, low, step, across)) {
            low += (coarse_end - m + 1) * step;
            m = coarse_end + 1;
            continue;
        }
        while (m <= coarse_end) {
            const int end = std::min(coarse_end, m | (TILE - 1));
            if (in_full_tiles(half.tiles, half.across, m, end, low, step, across)) {
                low += (end - m + 1) * step;
                m = end + 1;
                continue;
            }
            count_trace_work(*half.mask, static_cast<long long>(end - m + 1) * across);
            // lowest() is within one of low's floor: when every step of the
            // run is then within the image, no step needs cutting to it.
            const long long end_low = low + (end - m) * step;
            if ((std::min(low, end_low) >> 32) >= 1 &&
                (std::max(low, end_low) >> 32) + 1 + across <= half.across) {
                const std::uint64_t bits = (std::uint64_t{1} << across) - 1;
                for (; m <= end; ++m, low += step)
                    set_trace_pixels_within(half, m, lowest(m, low), bits, across);
                continue;
            }
            for (; m <= end; ++m, low += step) {
                const long long n = lowest(m, low);
                if (n < half.across && n + across > 0) set_trace_pixels(half, m, n, across);
            }
        }
    }
}
