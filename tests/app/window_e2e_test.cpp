// The real window as a user meets it: rackgen and its probe build in their own
// Xvfb, keys sent with xdotool, the title read back with xprop, the frame
// checked by pixel. Needs Xvfb, xdotool, x11-utils and ImageMagick.
#include "tests/e2e/e2e.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char TITLE[] = "ラックカッタによる歯形創成　z:歯数　1,2,3,4,5,6,7：創成画面変更，s:継続";
const char HEADLINE[] = "ラックによる転位歯車歯形創成.";
const char TEETH_PROMPT[] = "\nInput 歯数z= ";
const char SHIFT_PROMPT[] = "\n(2) 転位係数設定　　入力 x=";
const char LAST_HELP_LINE[] = "\n'6' '7'キーで：１つの歯形・全歯形描画の選択";
const std::vector<std::string> UTF8_CONSOLE = {"LC_ALL=C.UTF-8"};

const int START_MS = 15000;  // a cold software-GL start on a busy machine
const int STEP_MS = 5000;

// Starts the program with the answers of the first dialogue, finds its window
// (moved to 0,0) and waits until the window has drawn its first frames and gone quiet.
void open_window(E2eSession* s, const char* exe, const char* answers, const char* name) {
    ASSERT_TRUE(s->ready) << "Xvfb did not start";
    ASSERT_TRUE(launch_program(&s->program, &s->xserver, exe, answers, name, UTF8_CONSOLE));
    ASSERT_TRUE(find_window(&s->program, &s->xserver, START_MS)) << "stderr: " << read_stderr(&s->program);
}

// Probe build: consume the repaints of mapping and moving the window, until
// no line has come for a while, and return the state after them.
void settle(Program* p) {
    ProbeState st;
    ASSERT_TRUE(wait_probe(p, "display", &st, START_MS)) << read_stderr(p);
    while (wait_probe(p, "", &st, 400)) {
    }
}

// The key's own frame and the state after the key: the probe writes a display
// line before the frame the key draws and a key line when the key is done.
struct KeyResult {
    bool drew = false;
    ProbeState frame;  // state the frame was drawn from
    ProbeState after;  // state when on_key returned
};

KeyResult press(E2eSession* s, const char* key) {
    KeyResult r;
    EXPECT_TRUE(send_keys(&s->program, &s->xserver, key));
    ProbeState st;
    while (wait_probe(&s->program, "", &st, STEP_MS)) {
        if (st.event == "key") {
            r.after = st;
            return r;
        }
        r.drew = true;
        r.frame = st;
    }
    ADD_FAILURE() << "no key line after " << key << "; stderr:\n" << read_stderr(&s->program);
    return r;
}

bool same_steps(const ProbeState& a, const ProbeState& b) {
    return std::memcmp(a.steps, b.steps, sizeof a.steps) == 0;
}

std::string property(E2eSession* s, const char* name) {
    std::string out;
    run_tool(&s->xserver, {"xprop", "-id", std::to_string(s->program.window), name}, &out);
    return out;
}

TEST(WindowE2e, OpensAt800By800WithTheJapaneseTitleAndAWhiteFrame) {
    E2eSession s;
    open_window(&s, RACKGEN_BIN, "20\n0\n0\n", "window_opens");
    if (HasFatalFailure()) {
        return;
    }
    // The window opens only after the whole dialogue has been printed.
    std::string console = read_stdout(&s.program);
    EXPECT_NE(console.find(HEADLINE), std::string::npos) << console;
    EXPECT_NE(console.find(LAST_HELP_LINE), std::string::npos) << console;

    std::string geometry;
    run_tool(&s.xserver, {"xdotool", "getwindowgeometry", std::to_string(s.program.window)}, &geometry);
    EXPECT_NE(geometry.find("Geometry: 800x800"), std::string::npos) << geometry;

    EXPECT_EQ(property(&s, "_NET_WM_NAME"), std::string("_NET_WM_NAME(UTF8_STRING) = \"") + TITLE + "\"\n");
    EXPECT_NE(property(&s, "_NET_WM_ICON_NAME").find(TITLE), std::string::npos);
    EXPECT_NE(property(&s, "WM_NAME").find(TITLE), std::string::npos);  // legacy name, decoded by xprop
    EXPECT_NE(property(&s, "WM_ICON_NAME").find(TITLE), std::string::npos);
    // A window manager that looks windows up by name finds it by the kanji.
    std::string found;
    run_tool(&s.xserver, {"xdotool", "search", "--name", "歯形創成　z:歯数"}, &found);
    EXPECT_EQ(found, std::to_string(s.program.window) + "\n");

    // The frame: white background, whatever the scene draws in it. Poll, since
    // the first frame may still be on its way.
    Image img;
    bool white_corners = false;
    for (int attempt = 0; attempt < 20 && !white_corners; ++attempt) {
        ASSERT_TRUE(take_screenshot(&s.program, &s.xserver, "first_frame", &img));
        ASSERT_EQ(img.width, 800);
        ASSERT_EQ(img.height, 800);
        white_corners = is_white(pixel(img, 2, 2)) && is_white(pixel(img, 797, 2)) &&
                        is_white(pixel(img, 2, 797)) && is_white(pixel(img, 797, 797));
    }
    EXPECT_TRUE(white_corners);
    EXPECT_LT(count_non_white(img), 800 * 800 / 4) << "the background is mostly white";
}

TEST(WindowE2e, KeysChangeSceneCountersAndScaleAsTheKeyTableSays) {
    E2eSession s;
    open_window(&s, RACKGEN_PROBE_BIN, "20 0\n0\n", "window_keys");
    if (HasFatalFailure()) {
        return;
    }
    settle(&s.program);

    KeyResult three = press(&s, "3");
    EXPECT_TRUE(three.drew);
    EXPECT_EQ(three.frame.scene, '3');
    EXPECT_EQ(three.frame.steps[0] + three.frame.steps[1] + three.frame.steps[2] + three.frame.steps[3], 0);
    EXPECT_EQ(three.after.key, '3');
    EXPECT_EQ(three.after.scene, '3');
    EXPECT_EQ(three.after.scale, 0.5);

    KeyResult step = press(&s, "s");
    EXPECT_TRUE(step.drew);
    EXPECT_EQ(step.frame.scene, '3');
    EXPECT_TRUE(same_steps(step.frame, three.after)) << "'s' draws the next step, nothing else";
    EXPECT_EQ(step.after.key, 's');

    KeyResult shrink = press(&s, "w");
    EXPECT_TRUE(shrink.drew);
    EXPECT_EQ(shrink.frame.scale, 0.5 * 0.9);
    KeyResult shrink2 = press(&s, "w");
    EXPECT_EQ(shrink2.frame.scale, 0.5 * 0.9 * 0.9);
    KeyResult grow = press(&s, "W");
    EXPECT_TRUE(grow.drew);
    EXPECT_EQ(grow.after.key, 'W');
    EXPECT_NEAR(grow.after.scale, 0.45, 1e-15);
    EXPECT_EQ(grow.after.scene, '3');

    for (const char* key : {"Z", "X", "S", "a"}) {
        SCOPED_TRACE(key);
        ProbeState before = press(&s, "6").after;  // scene 6 has no counter: nothing moves
        KeyResult other = press(&s, key);
        EXPECT_FALSE(other.drew);
        EXPECT_EQ(other.after.key, key[0]);
        EXPECT_EQ(other.after.scene, '6');
        EXPECT_TRUE(same_steps(other.after, before));
        EXPECT_EQ(other.after.scale, before.scale);
    }

    for (const char* key : {"1", "2", "4", "5", "7"}) {
        SCOPED_TRACE(key);
        press(&s, "s");
        KeyResult scene = press(&s, key);
        EXPECT_EQ(scene.frame.scene, key[0]);
        EXPECT_EQ(scene.frame.steps[0] + scene.frame.steps[1] + scene.frame.steps[2] + scene.frame.steps[3],
                  0);
    }

    send_keys(&s.program, &s.xserver, "Escape");  // xdotool may complain that the window went away
    ASSERT_TRUE(wait_exit(&s.program, STEP_MS));
    EXPECT_EQ(s.program.exit_status, 0);
}

TEST(WindowE2e, TeethAndShiftKeysRunTheDialogueAgainAtTheConsole) {
    E2eSession s;
    open_window(&s, RACKGEN_PROBE_BIN, "20\n0\n0\n", "window_dialogue");
    if (HasFatalFailure()) {
        return;
    }
    settle(&s.program);
    ASSERT_TRUE(wait_stdout(&s.program, LAST_HELP_LINE, STEP_MS));
    press(&s, "4");
    press(&s, "s");
    press(&s, "w");

    // 'x': from the shift coefficient, without the headline; no redraw.
    ASSERT_TRUE(write_stdin(&s.program, "0.5\n0\n"));
    KeyResult shift = press(&s, "x");
    EXPECT_FALSE(shift.drew) << "the dialogue does not redraw the window";
    EXPECT_EQ(shift.after.scene, '1');
    EXPECT_EQ(shift.after.steps[0] + shift.after.steps[1] + shift.after.steps[2] + shift.after.steps[3], 0);
    EXPECT_EQ(shift.after.scale, 0.5);
    size_t mark = s.program.stdout_seen;  // the end of the first run's key help
    ASSERT_TRUE(wait_stdout(&s.program, SHIFT_PROMPT, STEP_MS)) << read_stdout(&s.program);
    ASSERT_TRUE(wait_stdout(&s.program, LAST_HELP_LINE, STEP_MS)) << read_stdout(&s.program);
    std::string second_run = read_stdout(&s.program).substr(mark);
    EXPECT_EQ(second_run.find(HEADLINE), std::string::npos) << second_run;
    EXPECT_EQ(second_run.find(TEETH_PROMPT), std::string::npos) << second_run;
    EXPECT_EQ(second_run.find(SHIFT_PROMPT), 0u) << second_run;

    // The next frame: scene 1 from its first step.
    KeyResult step = press(&s, "s");
    EXPECT_EQ(step.frame.scene, '1');
    EXPECT_EQ(step.frame.steps[0], 0);

    // 'z': the whole dialogue, here with both numbers on one line.
    press(&s, "3");
    ASSERT_TRUE(write_stdin(&s.program, "30 0.25\n0\n"));
    KeyResult teeth = press(&s, "z");
    EXPECT_FALSE(teeth.drew);
    EXPECT_EQ(teeth.after.scene, '1');
    EXPECT_EQ(teeth.after.steps[2], 0);
    mark = s.program.stdout_seen;
    ASSERT_TRUE(wait_stdout(&s.program, LAST_HELP_LINE, STEP_MS));
    std::string third_run = read_stdout(&s.program).substr(mark);
    EXPECT_EQ(third_run.find("\nラックによる転位歯車歯形創成."), 0u) << third_run;
    EXPECT_NE(third_run.find(TEETH_PROMPT), std::string::npos) << third_run;
    EXPECT_NE(third_run.find(SHIFT_PROMPT), std::string::npos) << third_run;

    // The window still answers keys after the dialogue.
    KeyResult after = press(&s, "2");
    EXPECT_EQ(after.after.scene, '2');
}

TEST(WindowE2e, EscapeEndsTheProgramWithStatusZero) {
    E2eSession s;
    open_window(&s, RACKGEN_BIN, "12\n0.3\n0\n", "window_escape");
    if (HasFatalFailure()) {
        return;
    }
    ASSERT_TRUE(send_keys(&s.program, &s.xserver, "s"));
    send_keys(&s.program, &s.xserver, "Escape");  // xdotool may complain that the window went away
    ASSERT_TRUE(wait_exit(&s.program, STEP_MS)) << "still running after Esc";
    EXPECT_EQ(s.program.exit_status, 0);
}

}  // namespace
