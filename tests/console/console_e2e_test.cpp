// The dialogue of the real program, which needs an X display: each test runs
// rackgen in its own Xvfb, answers at its standard input and types keys into
// its window, reading the console output as the user would see it. The texts
// and refusals in detail are checked on the driver (dialogue_test).
#include "console_test_support.hpp"
#include "console_texts.hpp"

#include "tests/e2e/e2e.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

constexpr int WAIT_MS = 15000;

// The real program writes its data file into its working folder: a scratch one.
struct InScratchDir {
    ScratchDir dir;
    char previous[4096] = {};
    InScratchDir() {
        if (getcwd(previous, sizeof previous) == nullptr || chdir(dir.path.c_str()) != 0)
            ADD_FAILURE() << "cannot change to " << dir.path;
    }
    ~InScratchDir() {
        if (chdir(previous) != 0) ADD_FAILURE() << "cannot change back to " << previous;
    }
};

TEST(ProgramDialogue, RunsBeforeTheWindowAndAgainFromItsKeys) {
    E2eSession s;
    if (!s.ready) GTEST_SKIP() << "no Xvfb";
    InScratchDir scratch;
    ASSERT_TRUE(launch_program(&s.program, &s.xserver, RACKGEN_BIN, "20 0\n1 dataz20\n",
                               "console_program_dialogue", {"LC_ALL=C"}));
    ASSERT_TRUE(wait_stdout(&s.program, "全歯形描画の選択", WAIT_MS)) << read_stdout(&s.program);
    EXPECT_EQ(read_stdout(&s.program), START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP);
    EXPECT_EQ(read_file(scratch.dir.file("dataz20")).compare(0, 32, "z=20   m=95\n-0.397955,-1.259054\n"), 0);
    ASSERT_TRUE(find_window(&s.program, &s.xserver, WAIT_MS));

    // 'x' in the window: the console asks for the shift alone.
    ASSERT_TRUE(send_keys(&s.program, &s.xserver, "x"));
    ASSERT_TRUE(wait_stdout(&s.program, "入力 x=", WAIT_MS)) << read_stdout(&s.program);
    ASSERT_TRUE(write_stdin(&s.program, "9\n0.5\n0\n"));
    ASSERT_TRUE(wait_stdout(&s.program, "全歯形描画の選択", WAIT_MS)) << read_stdout(&s.program);
    EXPECT_EQ(
        read_stdout(&s.program),
        START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP SHIFT_PROMPT SHIFT_PROMPT FILE_QUESTION KEY_HELP);
    EXPECT_NE(read_stderr(&s.program).find("\nrackgen: 9 is refused: "), std::string::npos)
        << read_stderr(&s.program);

    // 'z' with the input ended: the gear stays and the window goes on.
    close_stdin(&s.program);
    ASSERT_TRUE(send_keys(&s.program, &s.xserver, "z"));
    ASSERT_TRUE(wait_stderr(&s.program, "the previous gear (z = 20, x = 0.5) stays.", WAIT_MS))
        << read_stderr(&s.program);
    ASSERT_TRUE(wait_stdout(&s.program, "全歯形描画の選択", WAIT_MS));
    EXPECT_TRUE(is_alive(&s.program));
}

TEST(ProgramDialogue, InputEndingBeforeAGearEndsWithStatusOneAndNoWindow) {
    E2eSession s;
    if (!s.ready) GTEST_SKIP() << "no Xvfb";
    InScratchDir scratch;
    ASSERT_TRUE(launch_program(&s.program, &s.xserver, RACKGEN_BIN, "abc\n", "console_program_no_gear",
                               {"LC_ALL=C"}));
    close_stdin(&s.program);
    ASSERT_TRUE(wait_exit(&s.program, WAIT_MS));
    EXPECT_EQ(s.program.exit_status, 1);
    EXPECT_EQ(read_stdout(&s.program), HEADLINE STEP_ONE TEETH_PROMPT TEETH_PROMPT);
    std::string errors = read_stderr(&s.program);
    EXPECT_NE(errors.find("standard input ended before a gear was given"), std::string::npos) << errors;
}

}  // namespace
