// The window shell on the recording GL fake: display, reshape and the key
// table of on_key. The dialogue of 'z' and 'x' is tested through the
// dialogue driver (tests/console) and, with Esc, which ends the program, in
// the real window (window_e2e_test); here only that the key help names them.
#include "app/app.hpp"
#include "console/dialogue_texts.hpp"
#include "draw/draw.hpp"
#include "fake_gl.hpp"
#include "choice/choice.hpp"

#include <gtest/gtest.h>

#include <cstring>

namespace {

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
        take_gear(GearChoice{20, 0.0, SPECIFIED_CUTTER, 1.0, 0, 0.0, false});
        reset_step_counters();
        scale_factor = 0.5;
        scene_mode = '1';
        last_key = 'z';
        fake_gl_reset();
    }
};

// ---- the frame and reshape ------------------------------------------------------------

// Every display call is one whole frame (cleared, swapped) of the selected
// scene, and moves only that scene's counter; a scene_mode of no scene gives
// an empty frame and moves nothing.
TEST_F(WindowTest, DisplayDrawsOneFrameOfTheSelectedSceneAndAdvancesOnlyItsCounter) {
    for (char mode : {'1', '2', '3', '4', '5', '6', '7', '8', '0', '9', 'z', '\0'}) {
        SCOPED_TRACE(testing::Message() << "scene_mode " << static_cast<int>(mode));
        scene_mode = mode;
        set_counters(3, 3, 3, 3);
        fake_gl_reset();
        display();
        EXPECT_EQ(fake_gl_count(FAKE_GL_CLEAR), 1);
        EXPECT_EQ(fake_gl_count(FAKE_GLUT_SWAP_BUFFERS), 1);
        bool scene = mode >= '1' && mode <= '8';
        EXPECT_EQ(fake_gl_count(FAKE_GL_BEGIN) > 0, scene);
        EXPECT_EQ(addendum_step, mode == '1' ? 4 : 3);
        EXPECT_EQ(dedendum_step, mode == '2' ? 4 : 3);
        EXPECT_EQ(undercut_step, mode == '3' ? 4 : 3);
        EXPECT_EQ(tooth_step, mode == '4' || mode == '5' || mode == '8' ? 4 : 3);
    }
}

TEST_F(WindowTest, ReshapeSetsTheViewportAndAnIdentityProjectionAndDrawsNothing) {
    fake_gl_state().projection[12] = 0.5;  // a projection left over from elsewhere

    reshape(1000, 600);  // not square: the view still spans -1..1 on both axes, stretched
    const FakeGlState& gl = fake_gl_state();
    EXPECT_EQ(gl.viewport[2], 1000);
    EXPECT_EQ(gl.viewport[3], 600);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(gl.projection[i], i % 5 == 0 ? 1.0 : 0.0) << "projection element " << i;
    EXPECT_EQ(gl.matrix_mode, static_cast<GLenum>(GL_MODELVIEW));
    EXPECT_EQ(fake_gl_count(FAKE_GL_BEGIN), 0);
}

// ---- the key table ---------------------------------------------------------------------

TEST_F(WindowTest, SceneKeysSelectTheSceneRestartItFromStepZeroAndDrawOneFrame) {
    for (char key = '1'; key <= '8'; ++key) {
        SCOPED_TRACE(testing::Message() << "key " << key);
        set_counters(9, 9, 9, 9);
        fake_gl_reset();
        on_key(static_cast<unsigned char>(key), 10, 10);
        EXPECT_EQ(scene_mode, key);
        EXPECT_EQ(last_key, key);
        EXPECT_EQ(fake_gl_count(FAKE_GLUT_SWAP_BUFFERS), 1);
        // Every counter back to 0, and the frame drew step 0 of the scene
        // (which counter moves for which scene: DisplayDraws… above).
        const int moved = key == '6' || key == '7' ? 0 : 1;
        EXPECT_EQ(addendum_step + dedendum_step + undercut_step + tooth_step, moved);
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

// 's' draws the next step of the shown scene; 'w' and 'W' scale by 0.9 and
// also step the animation, a frame each.
TEST_F(WindowTest, StepAndZoomKeysDrawTheNextStepOfTheShownScene) {
    on_key('2', 0, 0);
    fake_gl_reset();
    on_key('s', 0, 0);
    EXPECT_EQ(scene_mode, '2');
    EXPECT_EQ(last_key, 's');
    EXPECT_EQ(dedendum_step, 2);
    EXPECT_EQ(scale_factor, 0.5);
    const int n = 5;
    double expected = 0.5;
    for (int i = 0; i < n; ++i) {
        on_key('w', 0, 0);
        expected *= 0.9;
    }
    EXPECT_EQ(scale_factor, expected);
    EXPECT_EQ(dedendum_step, 2 + n);
    for (int i = 0; i < n; ++i) on_key('W', 0, 0);
    EXPECT_NEAR(scale_factor, 0.5, 1e-15);
    EXPECT_EQ(last_key, 'W');
    EXPECT_EQ(fake_gl_count(FAKE_GLUT_SWAP_BUFFERS), 1 + 2 * n);
}

// The keys the console's key help names: each quoted ('w' 'W'), Esc by its name.
bool in_key_help(unsigned char key) {
    for (const char* line : KEY_HELP_TEXT) {
        if (key == KEY_ESCAPE && std::strstr(line, "Esc") != nullptr) return true;
        for (const char* c = line; c[0] != '\0'; ++c)
            if (c[0] == '\'' && c[1] != '\0' && c[2] == '\'') {
                if (static_cast<unsigned char>(c[1]) == key) return true;
                c += 2;  // past the closing quote
            }
    }
    return false;
}

// Every key code: a key the help names does something in the key table; any
// other only replaces the last key, draws nothing and changes no state.
TEST_F(WindowTest, TheKeyHelpNamesEveryKeyTheWindowTakesAndOthersOnlyReplaceTheLastKey) {
    on_key('4', 0, 0);
    on_key('s', 0, 0);
    scale_factor = 0.3;
    int named = 0;
    for (int code = 0; code < 256; ++code) {
        const unsigned char key = static_cast<unsigned char>(code);
        SCOPED_TRACE(testing::Message() << "key code " << code);
        const WindowState before = window_state();
        const bool named_in_help = in_key_help(key);
        named += named_in_help ? 1 : 0;
        // Through the key table first: on_key would run the dialogue for 'z'.
        const KeyEffect effect = take_scene_key(key);
        EXPECT_EQ(effect != KEY_IGNORED, named_in_help);
        if (effect != KEY_IGNORED) {
            scene_mode = before.scene;  // what the key changed put back
            set_counters(before.steps[0], before.steps[1], before.steps[2], before.steps[3]);
            scale_factor = before.scale;
            info_panel_shown = false;
            continue;
        }
        fake_gl_reset();
        on_key(key, 0, 0);
        const WindowState after = window_state();
        EXPECT_EQ(static_cast<unsigned char>(last_key), key);
        EXPECT_EQ(after.scene, before.scene);
        EXPECT_EQ(std::memcmp(after.steps, before.steps, sizeof before.steps), 0);
        EXPECT_EQ(after.scale, before.scale);
        EXPECT_EQ(fake_gl_total(), 0);
    }
    EXPECT_EQ(named, 16);  // '1' … '8', 's', 'w', 'W', 'i', 'm', 'z', 'x', Esc
}

}  // namespace
