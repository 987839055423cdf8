// Started where no window can open, the program says how to run it (or write
// its files without a window) and ends
// with a non-zero status before asking anything, instead of failing in GLUT.
#include "tests/e2e/e2e.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

void expect_advice_and_failure(const char* name, const std::vector<std::string>& env) {
    Program p;
    ASSERT_TRUE(launch_program(&p, nullptr, RACKGEN_BIN, "20\n0\n0\n", name, env));
    bool ended = wait_exit(&p, 10000);
    stop_program(&p);
    ASSERT_TRUE(ended) << "still running without a display";
    EXPECT_NE(p.exit_status, 0);
    EXPECT_LT(p.exit_status, 128) << "ended by a signal, not by its own choice";
    std::string message = read_stderr(&p);
    EXPECT_EQ(message.find('\n'), message.size() - 1) << "one line: " << message;
    EXPECT_NE(message.find("DISPLAY"), std::string::npos) << message;
    EXPECT_NE(message.find("graphical desktop"), std::string::npos) << message;
    EXPECT_NE(message.find("xvfb-run"), std::string::npos) << message;
    EXPECT_NE(message.find("--render FILE (rackgen --help)"), std::string::npos) << message;
    EXPECT_EQ(read_stdout(&p), "") << "no dialogue without a window to show its result";
}

TEST(WindowNoDisplay, WithoutDisplaySetItSaysHowToRunIt) {
    expect_advice_and_failure("no_display_unset", {});
}

TEST(WindowNoDisplay, WithADisplayThatCannotBeOpenedItSaysSoByName) {
    // No X server listens on display 31999 (the socket name does not exist).
    expect_advice_and_failure("no_display_unreachable", {"DISPLAY=:31999"});
}

}  // namespace
