// The page painter's line rule in the trace mask: its fixed-point stepping
// and the cut to the image against the rule worked out pixel by pixel in
// double precision, as web/painter.js works it out; and the mask's limit.
#include "trace/centre_lines.hpp"
#include "trace/trace_mask.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace {

TraceMask mask;  // the tests' mask, in static storage for its size

// The rule as painter.js states it: along the major axis every pixel whose
// centre lies in [start, end), across it the `across` pixels nearest the line.
void reference_line(std::vector<bool>& image, int width, int height, double x0, double y0, double x1,
                    double y1, int across) {
    const bool along_x = std::fabs(x1 - x0) >= std::fabs(y1 - y0);
    double u0 = along_x ? x0 : y0, v0 = along_x ? y0 : x0, u1 = along_x ? x1 : y1, v1 = along_x ? y1 : x1;
    if (u1 < u0) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    if (!(u1 > u0)) return;
    const int along_size = along_x ? width : height;
    const int across_size = along_x ? height : width;
    for (int u = 0; u < along_size; ++u) {
        if (!(u + 0.5 >= u0 && u + 0.5 < u1)) continue;
        const double low = std::floor(v0 + (u + 0.5 - u0) * ((v1 - v0) / (u1 - u0)) - (across / 2.0 - 0.5));
        for (int k = 0; k < across; ++k) {
            const double v = low + k;
            if (v < 0 || v >= across_size) continue;
            const int x = along_x ? u : static_cast<int>(v);
            const int y = along_x ? static_cast<int>(v) : u;
            image[static_cast<size_t>(y * width + x)] = true;
        }
    }
}

// Pixels where the merged mask and the reference differ.
int differing(const std::vector<bool>& image, int width, int height) {
    const TraceMaskImage merged = trace_mask_image(mask);
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool set = (merged.rows[static_cast<long>(y) * merged.words + x / 64] >> (x % 64)) & 1;
            count += set != image[static_cast<size_t>(y * width + x)];
        }
    return count;
}

// Also where thousands of lines fill most of the image, so that lines run
// over full tiles and skip them, and a few pixels are left to find.
TEST(CentreLines, SetThePixelsThePaintersRuleGivesAnywhereAnyWidth) {
    std::mt19937 random(5);
    for (const auto& [width, height, lines] :
         {std::tuple{97, 61, 300}, std::tuple{300, 130, 300}, std::tuple{64, 200, 300}, std::tuple{5, 3, 300},
          std::tuple{200, 150, 4000}}) {
        std::uniform_real_distribution<double> x(-1.5 * width, 2.5 * width);
        std::uniform_real_distribution<double> y(-1.5 * height, 2.5 * height);
        for (int across : {1, 2, 3, 6}) {
            ASSERT_TRUE(clear_trace_mask(mask, width, height));
            std::vector<bool> image(static_cast<size_t>(width * height));
            for (int n = 0; n < lines; ++n) {
                const double line[4] = {x(random), y(random), x(random), y(random)};
                add_centre_line(mask, line[0], line[1], line[2], line[3], across);
                reference_line(image, width, height, line[0], line[1], line[2], line[3], across);
            }
            merge_trace_halves(mask);
            EXPECT_EQ(differing(image, width, height), 0)
                << width << " × " << height << ", " << across << " across";
        }
    }
}

// Ends on the pixel grid put the line on pixel edges again and again; with
// slopes such as 1/3 or 2/7, which fixed point holds only nearly, its
// stepping alone would land some a pixel off.
TEST(CentreLines, LinesOnPixelEdgesAsThePaintersRule) {
    const int width = 150;
    const int height = 90;
    const double lines[][4] = {
        {0, 10, 150, 10},      {3.5, 20.5, 140.5, 20.5}, {0, 0, 90, 90},        {150, 0, 0, 50},
        {10, 89.5, 130, 29.5}, {70, -5, 73, 95},         {-40, 3, 190, 3 + 23}, {0.5, 0.5, 149.5, 89.5},
        {0.5, 10, 150.5, 60},  {0.5, 80, 140.5, 40},     {1.5, 3, 141.5, 31},   {20.5, 1.5, 80.5, 85.5},
    };
    for (int across : {1, 2, 4}) {
        ASSERT_TRUE(clear_trace_mask(mask, width, height));
        std::vector<bool> image(static_cast<size_t>(width * height));
        // And lines along the image's edges, a hair (1e-13 pixel) outside: the
        // rule's lowest pixel, worked out afresh so near a whole number, is a
        // pixel beside the image, which none of their steps may write.
        const double hair = 1e-13;
        const double low = across / 2.0 - 0.5 - hair;
        const double high = height - across / 2.0 - 0.5 + hair;
        const double edges[][4] = {{0, low, width, low}, {0, high, width, high}, {low, 0, low, height}};
        const auto add = [&](const double* l) {
            add_centre_line(mask, l[0], l[1], l[2], l[3], across);
            reference_line(image, width, height, l[0], l[1], l[2], l[3], across);
        };
        for (const auto& l : lines) add(l);
        for (const auto& l : edges) add(l);
        merge_trace_halves(mask);
        EXPECT_EQ(differing(image, width, height), 0) << across << " across";
    }
}

TEST(TraceMask, RefusesAnImageLargerThanItHolds) {
    EXPECT_TRUE(clear_trace_mask(mask, TRACE_MASK_MAX_SIDE, TRACE_MASK_MAX_SIDE));
    EXPECT_FALSE(clear_trace_mask(mask, TRACE_MASK_MAX_SIDE + 1, 10));
    EXPECT_FALSE(clear_trace_mask(mask, 10, 0));
}

}  // namespace
