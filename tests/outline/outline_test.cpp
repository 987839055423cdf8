// The outline builder as another front end calls it: the vertex count of the
// joined teeth and a too-small array. The files the writers make are read back
// by other programs in tests/cli/gear_files_test.py.
#include "outline/outline.hpp"

#include <gtest/gtest.h>

namespace {

ProfilePoint points[GEAR_OUTLINE_CAPACITY];

TEST(GearOutline, TeethJoinWithEachSharedPointOnce) {
    compute_gear(20, 0.5);
    // Each tooth's last point is the next tooth's first: outline_last new points a tooth.
    int count = build_gear_outline(shifted_tooth, 20, 1.0, points, GEAR_OUTLINE_CAPACITY);
    EXPECT_EQ(count, 20 * shifted_tooth.outline_last);
    EXPECT_EQ(build_gear_outline(shifted_tooth, 20, 1.0, points, count - 1), 0);
    EXPECT_EQ(build_gear_outline(shifted_tooth, 20, 1.0, points, count), count);
}

}  // namespace
