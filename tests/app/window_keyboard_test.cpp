// The window shell without a window: start_window, the frame of display,
// reshape and the key table of on_key, run against the recording GL fake.
#include "app/app.hpp"
#include "record/record.hpp"
#include "draw/draw.hpp"
#include "fake_gl.hpp"
#include "geometry/geometry.hpp"

#include <gtest/gtest.h>

#include <GL/glx.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// No GL context in these tests: the title is then left to freeglut (the fake).
extern "C" Display* glXGetCurrentDisplay(void) {
    return nullptr;
}
extern "C" GLXDrawable glXGetCurrentDrawable(void) {
    return 0;
}

namespace {

const char TITLE[] = "ラックカッタによる歯形創成　z:歯数　1,2,3,4,5,6,7：創成画面変更，s:継続";

void set_counters(int a, int d, int u, int t) {
    addendum_step = a;
    dedendum_step = d;
    undercut_step = u;
    tooth_step = t;
}

struct WindowState {
    char scene;
    char key;
    int steps[4];
    double scale;
};

WindowState window_state() {
    return WindowState{
        scene_mode, last_key, {addendum_step, dedendum_step, undercut_step, tooth_step}, scale_factor};
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        compute_gear(20, 0.0);
        set_counters(0, 0, 0, 0);
        scale_factor = 0.5;
        scene_mode = '1';
        last_key = 'z';
        fake_gl_reset();
    }
};

// ---- start_window ---------------------------------------------------------------

TEST_F(WindowTest, StartWindowOpensOneWhiteDoubleBufferedWindowAndRegistersTheCallbacks) {
    int argc = 1;
    char name[] = "rackgen";
    char* argv[] = {name, nullptr};
    start_window(&argc, argv);  // the fake's main loop returns at once

    char trace[512];
    fake_gl_trace(trace, sizeof trace);
    EXPECT_STREQ(trace,
                 "glutInitWindowSize glutInit glutInitDisplayMode glutCreateWindow glutDisplayFunc "
                 "glutReshapeFunc glutKeyboardFunc glClearColor glutMainLoop");
    const FakeGlutState& glut = fake_glut_state();
    EXPECT_EQ(glut.window_width, 800);
    EXPECT_EQ(glut.window_height, 800);
    EXPECT_EQ(glut.display_mode, 18u);  // RGB | DOUBLE | DEPTH
    EXPECT_EQ(glut.windows_created, 1);
    EXPECT_STREQ(glut.title, TITLE);
    EXPECT_EQ(glut.display, &display);
    EXPECT_EQ(glut.reshape, &reshape);
    EXPECT_EQ(glut.keyboard, &on_key);
    const float* clear = fake_gl_state().clear_colour;
    EXPECT_EQ(clear[0], 1.0f);
    EXPECT_EQ(clear[1], 1.0f);
    EXPECT_EQ(clear[2], 1.0f);
    EXPECT_EQ(clear[3], 1.0f);
}

// ---- the frame --------------------------------------------------------------------

TEST_F(WindowTest, BeginFrameClearsColourAndDepthThenResetsTheModelView) {
    glTranslated(0.3, 0.2, 0.0);
    fake_gl_clear_log();
    begin_frame();
    ASSERT_EQ(fake_gl_call_count(), 2);
    EXPECT_EQ(fake_gl_call(0).kind, FAKE_GL_CLEAR);
    EXPECT_EQ(fake_gl_call(0).code, 16640u);  // GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT
    EXPECT_EQ(fake_gl_call(1).kind, FAKE_GL_LOAD_IDENTITY);
    EXPECT_EQ(fake_gl_state().modelview[12], 0.0);

    fake_gl_clear_log();
    end_frame();
    char trace[128];
    EXPECT_STREQ(fake_gl_trace(trace, sizeof trace), "glFlush glutSwapBuffers");
}

TEST_F(WindowTest, ReshapeSetsTheViewportAndAnIdentityProjectionAndDrawsNothing) {
    glMatrixMode(GL_PROJECTION);
    glTranslated(0.5, 0.0, 0.0);  // a projection left over from elsewhere
    glMatrixMode(GL_MODELVIEW);
    fake_gl_clear_log();

    reshape(1000, 600);  // not square: the view still spans -1..1 on both axes, stretched
    const FakeGlState& gl = fake_gl_state();
    EXPECT_EQ(gl.viewport[0], 0);
    EXPECT_EQ(gl.viewport[1], 0);
    EXPECT_EQ(gl.viewport[2], 1000);
    EXPECT_EQ(gl.viewport[3], 600);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(gl.projection[i], i % 5 == 0 ? 1.0 : 0.0) << "projection element " << i;
    }
    EXPECT_EQ(gl.matrix_mode, static_cast<GLenum>(GL_MODELVIEW));
    EXPECT_EQ(fake_gl_count(FAKE_GL_BEGIN), 0);
    EXPECT_EQ(fake_gl_count(FAKE_GLUT_SWAP_BUFFERS), 0);
}

// display must run exactly the block of the selected scene, framed: the same
// calls as begin_frame, that block, end_frame from the same state.
TEST_F(WindowTest, DisplayPaintsTheRecordedFrameOfTheSelectedSceneInsideOneFrame) {
    for (int k = 0; k < 7; ++k) {
        SCOPED_TRACE(testing::Message() << "scene " << k + 1);
        scene_mode = static_cast<char>('1' + k);

        set_counters(3, 3, 3, 3);
        record_scene_frame(scene_mode, window_width, window_height);
        std::vector<RecordVertex> expected(frame_record.vertices,
                                           frame_record.vertices + frame_record.vertex_count);
        WindowState after_block = window_state();

        set_counters(3, 3, 3, 3);
        fake_gl_reset();
        display();
        ASSERT_EQ(frame_record.vertex_count, static_cast<int>(expected.size()));
        EXPECT_EQ(std::memcmp(frame_record.vertices, expected.data(), expected.size() * sizeof expected[0]),
                  0);
        WindowState after_display = window_state();
        EXPECT_EQ(std::memcmp(after_display.steps, after_block.steps, sizeof after_block.steps), 0);
        // Every recorded vertex but the legends' raster positions goes to GL, between clear and swap.
        int texts = 0;
        for (int i = 0; i < frame_record.item_count; ++i)
            texts += frame_record.items[i].kind == ItemKind::TEXT;
        EXPECT_EQ(fake_gl_count(FAKE_GL_VERTEX), frame_record.vertex_count - texts);
        EXPECT_EQ(fake_gl_count(FAKE_GL_RASTER_POS), texts);
        EXPECT_EQ(fake_gl_call(0).kind, FAKE_GL_CLEAR);
        EXPECT_EQ(fake_gl_count(FAKE_GLUT_SWAP_BUFFERS), 1);
    }
}

TEST_F(WindowTest, DisplayWithNoSceneSelectedShowsAnEmptyFrameAndKeepsTheCounters) {
    for (char mode : {'0', '8', 'z', '\0'}) {
        scene_mode = mode;
        set_counters(4, 5, 6, 7);
        fake_gl_reset();
        display();
        char trace[256];
        EXPECT_STREQ(fake_gl_trace(trace, sizeof trace), "glClear glLoadIdentity glFlush glutSwapBuffers");
        EXPECT_EQ(addendum_step, 4);
        EXPECT_EQ(dedendum_step, 5);
        EXPECT_EQ(undercut_step, 6);
        EXPECT_EQ(tooth_step, 7);
    }
}

// ---- the key table ---------------------------------------------------------------------

TEST_F(WindowTest, SceneKeysSelectTheSceneRestartItFromStepZeroAndDrawOneFrame) {
    for (char key = '1'; key <= '7'; ++key) {
        SCOPED_TRACE(testing::Message() << "key " << key);
        set_counters(9, 9, 9, 9);
        fake_gl_reset();
        on_key(static_cast<unsigned char>(key), 10, 10);
        EXPECT_EQ(scene_mode, key);
        EXPECT_EQ(last_key, key);
        EXPECT_EQ(fake_gl_count(FAKE_GLUT_SWAP_BUFFERS), 1);
        // The frame drew step 0 of its scene; only that scene's counter moved on.
        EXPECT_EQ(addendum_step, key == '1' ? 1 : 0);
        EXPECT_EQ(dedendum_step, key == '2' ? 1 : 0);
        EXPECT_EQ(undercut_step, key == '3' ? 1 : 0);
        EXPECT_EQ(tooth_step, key == '4' || key == '5' ? 1 : 0);
        EXPECT_EQ(scale_factor, 0.5);
    }
    // The same scene key again restarts the scene that is shown.
    on_key('3', 0, 0);
    on_key('s', 0, 0);
    on_key('s', 0, 0);
    EXPECT_EQ(undercut_step, 3);
    on_key('3', 0, 0);
    EXPECT_EQ(undercut_step, 1);
}

TEST_F(WindowTest, StepKeyDrawsTheNextStepOfTheShownScene) {
    on_key('2', 0, 0);
    WindowState before = window_state();
    fake_gl_reset();
    on_key('s', 0, 0);
    EXPECT_EQ(fake_gl_count(FAKE_GLUT_SWAP_BUFFERS), 1);
    EXPECT_EQ(scene_mode, '2');
    EXPECT_EQ(last_key, 's');
    EXPECT_EQ(dedendum_step, before.steps[1] + 1);
    EXPECT_EQ(scale_factor, before.scale);
}

TEST_F(WindowTest, ZoomKeysScaleByPointNineAndDrawAFrameEach) {
    const int n = 5;
    double expected = 0.5;
    for (int i = 0; i < n; ++i) {
        on_key('w', 0, 0);
        expected *= 0.9;
    }
    EXPECT_NEAR(scale_factor, 0.5 * std::pow(0.9, n), 1e-15);
    EXPECT_EQ(scale_factor, expected);
    EXPECT_EQ(addendum_step, n);  // each zoom also steps the animation
    for (int i = 0; i < n; ++i) {
        on_key('W', 0, 0);
    }
    EXPECT_NEAR(scale_factor, 0.5, 1e-15);
    EXPECT_EQ(last_key, 'W');
    EXPECT_EQ(fake_gl_count(FAKE_GLUT_SWAP_BUFFERS), 2 * n);
}

TEST_F(WindowTest, OtherKeysOnlyReplaceTheLastKey) {
    on_key('4', 0, 0);
    on_key('s', 0, 0);
    scale_factor = 0.3;
    const unsigned char others[] = {'Z', 'X', 'S', 'a', '0', '8', ' ', 13, 127, 200};
    for (unsigned char key : others) {
        SCOPED_TRACE(testing::Message() << "key code " << static_cast<int>(key));
        WindowState before = window_state();
        fake_gl_reset();
        on_key(key, 0, 0);
        WindowState after = window_state();
        EXPECT_EQ(static_cast<unsigned char>(last_key), key);
        EXPECT_EQ(after.scene, before.scene);
        EXPECT_EQ(std::memcmp(after.steps, before.steps, sizeof before.steps), 0);
        EXPECT_EQ(after.scale, before.scale);
        EXPECT_EQ(fake_gl_call_count(), 0);
    }
}

TEST(WindowDeathTest, EscapeEndsTheProgramWithStatusZero) {
    scene_mode = '1';
    EXPECT_EXIT(on_key(27, 0, 0), ::testing::ExitedWithCode(0), "");
}

// 'z' and 'x' run the console dialogue again, inside the key callback: the
// answers come from standard input, here a file.
class DialogueKeyTest : public WindowTest {
protected:
    void TearDown() override {
        if (!input_path.empty()) {
            std::remove(input_path.c_str());
        }
    }
    void answer(const char* text) {
        input_path = ::testing::TempDir() + "window_keyboard_answers.txt";
        FILE* f = std::fopen(input_path.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs(text, f);
        std::fclose(f);
        ASSERT_NE(std::freopen(input_path.c_str(), "r", stdin), nullptr);
    }
    std::string input_path;
};

TEST_F(DialogueKeyTest, ShiftKeyRecomputesOnlyTheShiftedGearAndDoesNotRedraw) {
    answer("20\n0\n0\n");
    on_key('z', 0, 0);  // the first gear of this process, as at start
    ASSERT_EQ(gear_params.z, 20);
    static ToothProfile standard_before;
    static ToothProfile shifted_before;
    standard_before = standard_tooth;
    shifted_before = shifted_tooth;

    on_key('5', 0, 0);
    on_key('s', 0, 0);
    on_key('w', 0, 0);
    answer("0.5\n0\n");
    fake_gl_reset();
    on_key('x', 0, 0);

    EXPECT_EQ(fake_gl_call_count(), 0) << "the window is not redrawn by the dialogue";
    EXPECT_EQ(scene_mode, '1');
    EXPECT_EQ(last_key, 'x');
    EXPECT_EQ(addendum_step + dedendum_step + undercut_step + tooth_step, 0);
    EXPECT_EQ(scale_factor, 0.5);
    EXPECT_EQ(gear_params.z, 20);
    EXPECT_EQ(gear_params.x, 0.5);
    EXPECT_EQ(std::memcmp(&standard_tooth, &standard_before, sizeof standard_before), 0);
    EXPECT_NE(std::memcmp(&shifted_tooth, &shifted_before, sizeof shifted_before), 0);

    // The next frame shows scene 1 at its first step, with the new gear.
    on_key('s', 0, 0);
    EXPECT_EQ(addendum_step, 1);
}

TEST_F(DialogueKeyTest, TeethKeyRunsTheWholeDialogueAgain) {
    answer("20\n0\n0\n");
    on_key('z', 0, 0);
    on_key('7', 0, 0);
    on_key('W', 0, 0);
    answer("31 0.2\n0\n");  // both numbers on one line
    fake_gl_reset();
    on_key('z', 0, 0);
    EXPECT_EQ(fake_gl_call_count(), 0);
    EXPECT_EQ(scene_mode, '1');
    EXPECT_EQ(gear_params.z, 31);
    EXPECT_EQ(gear_params.x, 0.2);
    EXPECT_EQ(scale_factor, 0.5);
    EXPECT_EQ(addendum_step + dedendum_step + undercut_step + tooth_step, 0);
}

}  // namespace
