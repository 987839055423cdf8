// The step logic of the animated scenes, drawn into the recording GL: which
// step a frame shows, where the counter rests, how many trace racks stand, and
// where the traces stand.
#include "app/app.hpp"
#include "app/scenes.hpp"
#include "tests/app/scenes_support.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using SceneBlock = void (*)();

struct GenerationScene {
    const char* name;
    SceneBlock block;
    int* counter;
    int (*last)();
};

int addendum_last() {
    return generation_curves.addendum_last;
}
int dedendum_last() {
    return generation_curves.dedendum_last;
}
int undercut_last() {
    return generation_curves.undercut_last;
}

const GenerationScene GENERATION_SCENES[] = {
    {"addendum", scene_addendum_involute, &addendum_step, addendum_last},
    {"dedendum", scene_dedendum_involute, &dedendum_step, dedendum_last},
    {"undercut", scene_undercut_curve, &undercut_step, undercut_last},
};

// One frame as display draws it, with only that frame in the log.
void draw_frame(SceneBlock block) {
    fake_gl_clear_log();
    begin_frame();
    block();
    end_frame();
}

class GenerationSteps : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        fake_gl_reset();
        make_gear(8, 0.0);  // z = 8: the short curves keep the runs to the end quick
    }
    const GenerationScene& scene() const { return GENERATION_SCENES[GetParam()]; }
};

// Frames show steps 0, 1, 2, … and every frame stores its step + 1, so after k
// frames the counter is k; once the curve is complete it rests at last + 1.
TEST_P(GenerationSteps, CounterCountsFramesUpToTheLastIndexPlusOne) {
    const int last = scene().last();
    ASSERT_GT(last, 5);
    for (int k = 1; k <= last + 1; ++k) {
        draw_frame(scene().block);
        ASSERT_EQ(*scene().counter, k) << "after frame " << k;
    }
    draw_frame(scene().block);
    draw_frame(scene().block);
    EXPECT_EQ(*scene().counter, last + 1);
}

// The only other counters are untouched: each scene advances its own.
TEST_P(GenerationSteps, LeavesTheOtherCountersAlone) {
    draw_frame(scene().block);
    draw_frame(scene().block);
    int total = addendum_step + dedendum_step + undercut_step + tooth_step;
    EXPECT_EQ(total, 2);
}

// At step n the frame shows the traces of steps 0, 5, 10, … below n.
TEST_P(GenerationSteps, EveryFifthEarlierRackStaysAsAGreenTrace) {
    const int last = scene().last();
    for (int n = 0; n <= last; ++n) {
        draw_frame(scene().block);
        ASSERT_FALSE(fake_gl_overflowed());
        int expected = n == 0 ? 0 : (n - 1) / 5 + 1;
        ASSERT_EQ(rack_figures(green), expected) << "step " << n;
        ASSERT_EQ(rack_figures(black), 1) << "step " << n;
    }
}

// After the last step every further frame is the same picture again.
TEST_P(GenerationSteps, FramesAfterTheLastRepeatTheLastPicture) {
    const int last = scene().last();
    for (int k = 0; k <= last; ++k) draw_frame(scene().block);
    std::vector<ViewSegment> rack = short_segments(black);
    long calls = fake_gl_totals().calls;
    int traces = rack_figures(green);
    draw_frame(scene().block);
    EXPECT_EQ(fake_gl_totals().calls, calls);
    EXPECT_EQ(rack_figures(green), traces);
    EXPECT_TRUE(all_found_in(rack, short_segments(black)));
}

// A trace rack is drawn exactly where the current rack stood at its step.
TEST_P(GenerationSteps, TracesStandWhereTheRackStood) {
    std::vector<ViewSegment> at_step_0, at_step_5;
    for (int n = 0; n <= 6; ++n) {
        draw_frame(scene().block);
        if (n == 0) at_step_0 = short_segments(black);
        if (n == 5) at_step_5 = short_segments(black);
    }
    std::vector<ViewSegment> traces = short_segments(green);
    ASSERT_EQ(traces.size(), 2u * 28u);
    EXPECT_TRUE(all_found_in(at_step_0, traces));
    EXPECT_TRUE(all_found_in(at_step_5, traces));
}

INSTANTIATE_TEST_SUITE_P(Scenes1To3, GenerationSteps, ::testing::Values(0, 1, 2),
                         [](const ::testing::TestParamInfo<int>& scene) {
                             return std::string(GENERATION_SCENES[scene.param].name);
                         });

// The generated point each frame marks: scene '1' walks the addendum involute
// from the pitch point to the tip circle and then stays there.
TEST(GenerationMarker, AddendumMarkerEndsOnTheTipCircle) {
    fake_gl_reset();
    make_gear(20, 0.0);
    const double s = scale_factor;
    const double r = gear_params.pitch_radius;
    const int last = generation_curves.addendum_last;
    for (int n = 0; n <= last + 2; ++n) {
        draw_frame(scene_addendum_involute);
        std::vector<ViewDisc> red_discs = discs(red);
        ASSERT_EQ(red_discs.size(), 1u);
        const ProfilePoint& expected = generation_curves.addendum_involute[n > last ? last : n];
        ASSERT_NEAR(red_discs[0].x, s * expected.x, VIEW_TOLERANCE);
        ASSERT_NEAR(red_discs[0].y, s * expected.y, VIEW_TOLERANCE);
        // The curve so far: one wide segment per step taken.
        ASSERT_EQ(wide_segments(red), n > last ? last : n);
    }
    std::vector<ViewDisc> red_discs = discs(red);
    double radius = std::hypot(red_discs[0].x, red_discs[0].y + s * r) / s;
    EXPECT_GE(radius, gear_params.tip_radius);
    EXPECT_LT(radius, gear_params.tip_radius + 0.05);
}

// Scenes '4' and '5' have no end: the counter runs on past a full turn of the
// rack, and the frame at step n shows all n earlier racks.
class WholeToothSteps : public ::testing::TestWithParam<SceneBlock> {
protected:
    void SetUp() override {
        fake_gl_reset();
        make_gear(20, 0.0);
    }
};

TEST_P(WholeToothSteps, EveryEarlierRackStaysAndTheCounterHasNoClamp) {
    for (int n = 0; n <= 12; ++n) {
        draw_frame(GetParam());
        ASSERT_EQ(rack_figures(green), n) << "step " << n;
        ASSERT_EQ(rack_figures(black), 1) << "step " << n;
        ASSERT_EQ(tooth_step, n + 1);
    }
    tooth_step = 400;  // past a full turn (about 314 steps)
    draw_frame(GetParam());
    EXPECT_EQ(tooth_step, 401);
    EXPECT_EQ(addendum_step + dedendum_step + undercut_step, 0);
}

TEST_P(WholeToothSteps, StepThreeHundredDrawsThreeHundredTraces) {
    scale_factor = 0.05;  // small circles: the whole frame fits the fake's logs
    tooth_step = 300;
    draw_frame(GetParam());
    ASSERT_FALSE(fake_gl_overflowed());
    EXPECT_EQ(rack_figures(green), 300);
}

INSTANTIATE_TEST_SUITE_P(Scenes4And5, WholeToothSteps,
                         ::testing::Values(scene_rack_rolling, scene_rack_gear_meshing));

// In scene '4' the traces are the earlier racks as they stood; in scene '5'
// they are the earlier level racks turned with the gear, clockwise by 0.02 per
// step about its centre.
TEST(WholeToothTraces, RollingTracesStandWhereTheRackStood) {
    fake_gl_reset();
    make_gear(20, 0.0);
    std::vector<ViewSegment> earlier[3];
    for (int n = 0; n < 3; ++n) {
        draw_frame(scene_rack_rolling);
        earlier[n] = short_segments(black);
    }
    draw_frame(scene_rack_rolling);
    std::vector<ViewSegment> traces = short_segments(green);
    for (int n = 0; n < 3; ++n) EXPECT_TRUE(all_found_in(earlier[n], traces)) << "trace of step " << n;
}

TEST(WholeToothTraces, MeshingTracesTurnWithTheGear) {
    fake_gl_reset();
    make_gear(20, 0.0);
    draw_frame(scene_rack_gear_meshing);
    std::vector<ViewSegment> level = short_segments(black);
    draw_frame(scene_rack_gear_meshing);
    draw_frame(scene_rack_gear_meshing);  // step 2: the step-0 trace has turned by 0.04
    const double cy = -scale_factor * gear_params.pitch_radius;
    const double c = std::cos(-0.04), s = std::sin(-0.04);
    std::vector<ViewSegment> turned;
    for (const ViewSegment& g : level)
        turned.push_back(ViewSegment{c * g.x0 - s * (g.y0 - cy), s * g.x0 + c * (g.y0 - cy) + cy,
                                     c * g.x1 - s * (g.y1 - cy), s * g.x1 + c * (g.y1 - cy) + cy});
    EXPECT_TRUE(all_found_in(turned, short_segments(green)));
}

// A scene key restarts the scene it names from step 0, whatever was shown.
TEST(SceneKeys, SwitchingFromRollingToMeshingStartsAtStepZero) {
    fake_gl_reset();
    make_gear(20, 0.0);
    scene_mode = '4';
    for (int n = 0; n < 10; ++n) display();
    addendum_step = 7;
    fake_gl_clear_log();
    on_key('5', 0, 0);
    EXPECT_EQ(rack_figures(green), 0);
    EXPECT_EQ(tooth_step, 1);
    EXPECT_EQ(addendum_step, 0);
    fake_gl_clear_log();
    on_key('s', 0, 0);
    EXPECT_EQ(rack_figures(green), 1);
    EXPECT_EQ(tooth_step, 2);
}

}  // namespace
