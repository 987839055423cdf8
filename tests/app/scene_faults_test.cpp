// Scenes at the edges of what a gear and a view can be: a pointed tooth drawn
// as it is cut in the comparison scenes; the deepest zoom the keys reach.
#include "draw/draw.hpp"
#include "scenes/scenes.hpp"
#include "tests/record/record_reading.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// The farthest a 4-pixel line of the colour reaches from the gear centre, in model units.
double reach(const Colour& colour) {
    const double s = scale_factor;
    const double cy = -s * gear_params.pitch_radius;
    double far = 0;
    for (const ViewSegment& g : segments(colour, 4.0f)) {
        far = std::max(far, std::hypot(g.x0, g.y0 - cy) / s);
        far = std::max(far, std::hypot(g.x1, g.y1 - cy) / s);
    }
    return far;
}

// A pointed tooth ends where its flanks meet (the radius the warning names),
// with no tip arc beyond it; a tooth with a tip land still reaches its tip
// circle; the standard gear's teeth are not pointed and reach theirs.
TEST(PointedTooth, ComparisonScenesEndItWhereItsFlanksMeet) {
    struct Case {
        int z;
        double x;
        bool pointed;
    };
    for (const Case& c : {Case{10, 0.8, true}, Case{20, 1.24, true}, Case{20, 0.5, false}}) {
        char warning[GEAR_WARNING_CAPACITY];
        ASSERT_EQ(gear_warning(c.z, c.x, warning, GEAR_WARNING_CAPACITY), c.pointed);
        const char* at = std::strstr(warning, "flanks meet at radius ");
        const double meeting = at ? std::atof(at + std::strlen("flanks meet at radius ")) : 0;
        compute_gear(c.z, c.x);
        scale_factor = 0.2;
        for (char scene : {'6', '7'}) {
            SCOPED_TRACE(testing::Message() << "z = " << c.z << ", x = " << c.x << ", scene " << scene);
            scene_mode = scene;
            record_scene_frame(800, 800, false);
            ASSERT_FALSE(frame_record.overflowed);
            EXPECT_NEAR(reach(red), c.pointed ? meeting : gear_params.tip_radius, 1e-4);
            EXPECT_NEAR(reach(blue), gear_params.tip_radius - gear_params.x, 1e-9);
        }
    }
}

// At the deepest zoom a picture or link takes, a dash-dot circle of 10^14 view
// units has dashes of 4.5·10^8 sub-steps: a frame walks only the ones in view
// (before, a frame took 16 s walking them all and dropping them at the guard).
TEST(DeepZoom, AFrameWalksWhatItShows) {
    compute_gear(20, 0.5);
    for (char scene = FIRST_SCENE; scene <= LAST_SCENE; ++scene) {
        set_scene_state(scene, 300, -300);
        record_scene_frame(800, 800);
        EXPECT_LT(frame_record.walked_unseen, 200000) << "scene " << scene;
        EXPECT_GT(frame_record.vertex_count, 0) << "scene " << scene;
    }
}

}  // namespace
