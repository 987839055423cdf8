// The outline builder as a front end calls it. What the outline is, is checked
// in tests/cli: against a gear cut by simulation (outline_cut_test.py) and
// read back by other programs (gear_files_test.py).
#include "outline/outline.hpp"

#include <gtest/gtest.h>

namespace {

// The command line writes the standard gear's outline before other outputs of
// the shifted gear: those must still find the shifted gear.
TEST(GearOutline, LeavesTheGearAsItFoundIt) {
    compute_gear(12, 0.5);
    const GearParams before = gear_params;
    const GearOutline outline = build_gear_outline(0.0, 2.0, OUTLINE_TOLERANCE);
    // Every field the shift sets, the standard gear's if left behind.
    EXPECT_EQ(gear_params.dedendum, before.dedendum);
    EXPECT_EQ(gear_params.tip_radius, before.tip_radius);
    EXPECT_EQ(gear_params.root_radius, before.root_radius);
    EXPECT_EQ(gear_params.tooth_angle, before.tooth_angle);
    EXPECT_EQ(gear_params.undercut_start_roll, before.undercut_start_roll);
    // The standard gear's tip circle, 2·(6 + 1) mm.
    EXPECT_NEAR(outline.radius, 14.0, 1e-9);
}

}  // namespace
