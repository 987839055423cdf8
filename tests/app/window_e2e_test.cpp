// The real program as a user meets it: rackgen in its own Xvfb, the dialogue
// answered at its standard input, then its window: the title read back with
// xprop, the frame checked by pixel, 'x', 'z' and Esc typed with xdotool, the
// console read as the user sees it. The key table itself is tested on the
// recording GL (window_keyboard_test), the texts and refusals in detail on the
// dialogue driver (tests/console); the window opened straight on a gear given
// on the command line. Needs Xvfb, xdotool, x11-utils and ImageMagick.
#include "tests/console/console_texts.hpp"
#include "tests/e2e/e2e.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

namespace {

const char TITLE[] = "ラックカッタによる歯形創成　z:歯数　1,2,3,4,5,6,7：創成画面変更，s:継続";
const char LAST_HELP_LINE[] = "全歯形描画の選択";
const int WAIT_MS = 15000;  // a cold software-GL start on a busy machine

std::string property(E2eSession* s, const char* name) {
    std::string out;
    run_tool(&s->xserver, {"xprop", "-id", std::to_string(s->program.window), name}, &out);
    return out;
}

TEST(ProgramWindow, DialogueThenAnEightHundredSquareWindowWithTheJapaneseTitleKeysAndEsc) {
    E2eSession s;
    ASSERT_TRUE(s.ready) << "Xvfb did not start";
    // The program writes its data file into its working folder.
    const std::string dir = std::string(ARTIFACTS_ROOT) + "/program_window";
    ASSERT_EQ(run_tool(nullptr, {"mkdir", "-p", dir}, nullptr), 0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    ASSERT_TRUE(launch_program(&s.program, &s.xserver, RACKGEN_BIN, "20 0\n1 dataz20\n", "program_window",
                               {"LC_ALL=C.UTF-8"}));
    // The window opens only after the whole dialogue has been printed and the file written.
    ASSERT_TRUE(find_window(&s.program, &s.xserver, WAIT_MS)) << "stderr: " << read_stderr(&s.program);
    EXPECT_EQ(read_stdout(&s.program), START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP);
    EXPECT_EQ(read_file(dir + "/dataz20").compare(0, 32, "z=20   m=95\n-0.397955,-1.259054\n"), 0);
    ASSERT_TRUE(wait_stdout(&s.program, LAST_HELP_LINE, WAIT_MS));
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

    // 'x' in the window: the console asks for the shift alone.
    ASSERT_TRUE(send_keys(&s.program, &s.xserver, "x"));
    ASSERT_TRUE(wait_stdout(&s.program, "入力 x=", WAIT_MS)) << read_stdout(&s.program);
    ASSERT_TRUE(write_stdin(&s.program, "9\n0.5\n0\n"));
    ASSERT_TRUE(wait_stdout(&s.program, LAST_HELP_LINE, WAIT_MS)) << read_stdout(&s.program);
    EXPECT_EQ(read_stdout(&s.program), START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP SHIFT_PROMPT SHIFT_PROMPT
                                           FILE_QUESTION KEY_HELP);
    EXPECT_NE(read_stderr(&s.program).find("\nrackgen: 9 is refused: "), std::string::npos) << read_stderr(&s.program);

    // 'z' with the input ended: the gear stays and the window goes on.
    close_stdin(&s.program);
    ASSERT_TRUE(send_keys(&s.program, &s.xserver, "z"));
    ASSERT_TRUE(wait_stderr(&s.program, "the previous gear (z = 20, x = 0.5) stays.", WAIT_MS))
        << read_stderr(&s.program);
    ASSERT_TRUE(wait_stdout(&s.program, LAST_HELP_LINE, WAIT_MS));

    // Esc ends it with status 0.
    send_keys(&s.program, &s.xserver, "Escape");  // xdotool may complain that the window went away
    ASSERT_TRUE(wait_exit(&s.program, WAIT_MS)) << "still running after Esc";
    EXPECT_EQ(s.program.exit_status, 0);
}

TEST(ProgramWindow, AGearGivenWithItsCutterOpensWithoutQuestionsAndKeepsTheCutterForX) {
    E2eSession s;
    ASSERT_TRUE(s.ready) << "Xvfb did not start";
    ASSERT_TRUE(launch_program(&s.program, &s.xserver, RACKGEN_BIN, nullptr, "window_given_gear",
                               {"LC_ALL=C.UTF-8"}, {"-z", "8", "--profile", "A"}));
    ASSERT_TRUE(find_window(&s.program, &s.xserver, WAIT_MS)) << "stderr: " << read_stderr(&s.program);
    ASSERT_TRUE(wait_stdout(&s.program, LAST_HELP_LINE, WAIT_MS)) << read_stdout(&s.program);

    // 'x' asks for the shift alone. Profile A's rounded tip refuses x = 1, which the
    // specified cutter takes: the dialogue checks with the cutter given.
    ASSERT_TRUE(send_keys(&s.program, &s.xserver, "x"));
    ASSERT_TRUE(wait_stdout(&s.program, "入力 x=", WAIT_MS)) << read_stdout(&s.program);
    ASSERT_TRUE(write_stdin(&s.program, "1\n"));
    ASSERT_TRUE(wait_stderr(
        &s.program, "1 is refused: z = 8 with x = 1 cannot be generated: the cutter's tip arc", WAIT_MS))
        << read_stderr(&s.program);
    ASSERT_TRUE(write_stdin(&s.program, "0.5\n0\n"));
    ASSERT_TRUE(wait_stdout(&s.program, LAST_HELP_LINE, WAIT_MS)) << read_stdout(&s.program);
    const std::string console = read_stdout(&s.program);
    EXPECT_EQ(console.find(HEADLINE), std::string::npos) << "no question before the window: " << console;
    EXPECT_EQ(console.find("歯数z="), std::string::npos) << console;
    EXPECT_TRUE(is_alive(&s.program));
}

}  // namespace
