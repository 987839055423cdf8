// Started where no window can open, the program says how to run it (or make
// its files without a window), naming itself as it was started, and ends with
// a non-zero status before asking anything, instead of failing in GLUT; so does
// a gear given on the command line with no file to write.
#include "tests/e2e/e2e.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void expect_advice_and_failure(const char* exe, const char* name, const std::vector<std::string>& env,
                               const std::string& program_word, const std::vector<std::string>& args = {}) {
    Program p;
    // No answers: the program must end before it asks anything (a write to it could meet a closed pipe).
    ASSERT_TRUE(launch_program(&p, nullptr, exe, nullptr, name, env, args));
    bool ended = wait_exit(&p, 10000);
    stop_program(&p);
    ASSERT_TRUE(ended) << "still running without a display";
    EXPECT_NE(p.exit_status, 0);
    EXPECT_LT(p.exit_status, 128) << "ended by a signal, not by its own choice";
    std::string message = read_stderr(&p);
    EXPECT_EQ(message.find('\n'), message.size() - 1) << "one line: " << message;
    EXPECT_NE(message.find("DISPLAY"), std::string::npos) << message;
    EXPECT_NE(message.find("graphical desktop"), std::string::npos) << message;
    EXPECT_NE(message.find(program_word + " --teeth Z --flank, --gear or --render FILE"), std::string::npos)
        << message;
    std::string advice = "xvfb-run -a -s '-screen 0 1024x1024x24' " + program_word + "\n";
    ASSERT_GE(message.size(), advice.size()) << message;
    EXPECT_EQ(message.substr(message.size() - advice.size()), advice);
    EXPECT_EQ(read_stdout(&p), "") << "no dialogue without a window to show its result";
}

TEST(WindowNoDisplay, WithoutDisplaySetItSaysHowToRunIt) {
    expect_advice_and_failure(RACKGEN_BIN, "no_display_unset", {}, RACKGEN_BIN);
}

TEST(WindowNoDisplay, WithADisplayThatCannotBeOpenedItSaysSoByName) {
    // No X server listens on display 31999 (the socket name does not exist).
    expect_advice_and_failure(RACKGEN_BIN, "no_display_unreachable", {"DISPLAY=:31999"}, RACKGEN_BIN);
    expect_advice_and_failure(RACKGEN_BIN, "no_display_given_gear", {"DISPLAY=:31999"}, RACKGEN_BIN,
                              {"-z", "8", "--profile", "A"});
}

TEST(WindowNoDisplay, ANameWithBlanksIsQuotedForTheShell) {
    std::string folder = ::testing::TempDir() + "rackgen no display";
    std::string link = folder + "/it's rackgen";
    std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "'").c_str());
    ASSERT_EQ(symlink(RACKGEN_BIN, link.c_str()), 0);
    std::string quoted = "'" + folder + "/it'\\''s rackgen'";
    expect_advice_and_failure(link.c_str(), "no_display_quoted", {}, quoted);
    std::system(("rm -rf '" + folder + "'").c_str());
}

}  // namespace
