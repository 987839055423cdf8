// The data-file answer at a real terminal: the dialogue driver runs in a tmux
// pane under sh, keys are typed with send-keys and the screen is read back.
// Each test uses its own tmux server (its own socket) and ends it.
#include "console_test_support.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr int WAIT_MS = 10000;  // for any one thing to appear on the screen

std::string command_output(const std::string& command) {
    std::string text;
    run_tool(nullptr, {"sh", "-c", command}, &text);
    return text;
}

// One tmux server with one pane that runs `sh script` in the scratch folder.
class TerminalSession {
public:
    explicit TerminalSession(const ScratchDir& dir) : dir_(dir) {
        static int sessions;
        socket_ = "rackgen-console-" + std::to_string(getpid()) + "-" + std::to_string(++sessions);
    }
    ~TerminalSession() { std::system((tmux() + " kill-server >/dev/null 2>&1").c_str()); }

    // The script's driver runs with the window keys given; the script notes the
    // terminal settings before and after it and its exit status.
    bool start(const std::string& keys, const std::string& before_driver = "") {
        std::string script = "cd '" + dir_.path + "' || exit 1\n" + before_driver +
                             "stty -g > stty.before\n" + DIALOGUE_DRIVER + " state " + keys +
                             "\necho \"exit=$?\" > exit.txt\nstty -g > stty.after\n"
                             "echo DRIVER-ENDED\nsleep 300\n";
        FILE* f = std::fopen(dir_.file("script.sh").c_str(), "w");
        if (f == nullptr) return false;
        std::fputs(script.c_str(), f);
        std::fclose(f);
        std::string command = "env SHELL=/bin/sh LC_ALL=C.UTF-8 " + tmux() +
                              " new-session -d -x 200 -y 50 'sh " + dir_.file("script.sh") + "'";
        return std::system(command.c_str()) == 0;
    }
    std::string screen() const { return command_output(tmux() + " capture-pane -p"); }
    std::string pane_tty() const {
        std::string tty = command_output(tmux() + " display-message -p '#{pane_tty}'");
        while (!tty.empty() && tty.back() == '\n') tty.pop_back();
        return tty;
    }
    // Literal text (no Enter) or, with named = true, tmux key names (Enter, Up, F5, C-c).
    void type(const std::string& keys, bool named = false) const {
        std::system((tmux() + " send-keys " + (named ? "" : "-l ") + "'" + keys + "'").c_str());
    }
    // Waits until text appears on the screen at least `times` times.
    bool wait_for(const std::string& text, int times = 1) const {
        for (int waited = 0; waited < WAIT_MS; waited += 20) {
            if (count_of(screen(), text) >= times) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

private:
    std::string tmux() const { return "tmux -u -f /dev/null -L " + socket_; }
    const ScratchDir& dir_;
    std::string socket_;
};

bool have_tmux() {
    return std::system("tmux -V >/dev/null 2>&1") == 0;
}

// The line of the screen that contains text, or "" when none does.
std::string line_with(const std::string& screen, const std::string& text) {
    size_t at = screen.find(text);
    if (at == std::string::npos) return "";
    size_t start = screen.rfind('\n', at);
    start = start == std::string::npos ? 0 : start + 1;
    return screen.substr(start, screen.find('\n', at) - start);
}

const char* QUESTION = "yes:1  no:0";
const char* LAST_HELP_LINE = "'6' '7'";

// Types a line of answers at the first prompt and waits for the data-file question.
::testing::AssertionResult answer_up_to_question(const TerminalSession& term, const std::string& line) {
    if (!term.wait_for("Input 歯数z=")) return ::testing::AssertionFailure() << term.screen();
    term.type(line);
    term.type("Enter", true);
    if (!term.wait_for(QUESTION)) return ::testing::AssertionFailure() << term.screen();
    return ::testing::AssertionSuccess();
}

TEST(TerminalKey, OneIsTakenWithoutEchoOrEnterAndTheRestOfTheLineStays) {
    if (!have_tmux()) GTEST_SKIP() << "tmux is not installed";
    ScratchDir dir;
    TerminalSession term(dir);
    ASSERT_TRUE(term.start(""));
    ASSERT_TRUE(answer_up_to_question(term, "20 0.5 junk"));

    // While the key is awaited, the terminal has line input and echo off.
    std::string mode = command_output("stty -a -F " + term.pane_tty());
    EXPECT_NE(mode.find("-icanon"), std::string::npos) << mode;
    EXPECT_NE(mode.find("-echo "), std::string::npos) << mode;

    term.type("1");  // no Enter
    ASSERT_TRUE(term.wait_for("DRIVER-ENDED")) << term.screen();
    std::string screen = term.screen();
    // The '1' is not shown, and the file name came from the rest of the typed line.
    EXPECT_EQ(line_with(screen, QUESTION), "ファイルへ歯面データ書き込み？  yes:1  no:0") << screen;
    EXPECT_EQ(line_with(screen, "filename="), "filename=") << screen;
    EXPECT_NE(screen.find(LAST_HELP_LINE), std::string::npos) << screen;
    EXPECT_EQ(read_file(dir.file("junk")).compare(0, 9, "z=20   m="), 0);
    EXPECT_EQ(read_file(dir.file("exit.txt")), "exit=0\n");
    EXPECT_EQ(read_file(dir.file("stty.after")), read_file(dir.file("stty.before")));
}

TEST(TerminalKey, ArrowFunctionAndMultibyteKeysAreOneKeyEachAndMeanNo) {
    if (!have_tmux()) GTEST_SKIP() << "tmux is not installed";
    ScratchDir dir;
    TerminalSession term(dir);
    ASSERT_TRUE(term.start("x x"));
    ASSERT_TRUE(answer_up_to_question(term, "20 0"));
    term.type("Up", true);
    // Whatever of a key stayed unread would meet the next prompt and be refused.
    ASSERT_TRUE(term.wait_for("入力 x=")) << term.screen();
    term.type("0.5");
    term.type("Enter", true);
    ASSERT_TRUE(term.wait_for(QUESTION, 2)) << term.screen();
    term.type("歯");
    ASSERT_TRUE(term.wait_for("入力 x=", 2)) << term.screen();
    term.type("0.25");
    term.type("Enter", true);
    ASSERT_TRUE(term.wait_for(QUESTION, 3)) << term.screen();
    term.type("F5", true);
    ASSERT_TRUE(term.wait_for("DRIVER-ENDED")) << term.screen();

    std::string screen = term.screen();
    EXPECT_EQ(screen.find("rackgen:"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("filename="), std::string::npos) << screen;
    EXPECT_EQ(count_of(screen, LAST_HELP_LINE), 3) << screen;
    std::string states = read_file(dir.file("state"));
    EXPECT_EQ(count_of(states, " x=0 "), 1) << states;
    EXPECT_EQ(count_of(states, " x=0.5 "), 1) << states;
    EXPECT_EQ(count_of(states, " x=0.25 "), 1) << states;
    EXPECT_EQ(read_file(dir.file("exit.txt")), "exit=0\n");
    EXPECT_EQ(read_file(dir.file("stty.after")), read_file(dir.file("stty.before")));
}

// Ctrl-D at a terminal ends only the answer being typed: at the file name no
// file is written, at a later dialogue the gear stays, and the dialogue after
// that reads from the terminal again.
TEST(TerminalKey, EndOfInputEndsOnlyTheAnswer) {
    if (!have_tmux()) GTEST_SKIP() << "tmux is not installed";
    ScratchDir dir;
    TerminalSession term(dir);
    ASSERT_TRUE(term.start("z z"));
    ASSERT_TRUE(answer_up_to_question(term, "20 0.5"));
    term.type("1");
    ASSERT_TRUE(term.wait_for("filename=")) << term.screen();
    term.type("C-d", true);
    ASSERT_TRUE(term.wait_for("no data file written.")) << term.screen();
    ASSERT_TRUE(term.wait_for("Input 歯数z=", 2)) << term.screen();
    term.type("C-d", true);
    ASSERT_TRUE(term.wait_for("the previous gear (z = 20, x = 0.5) stays.")) << term.screen();
    ASSERT_TRUE(term.wait_for("Input 歯数z=", 3)) << term.screen();
    term.type("30 0");
    term.type("Enter", true);
    ASSERT_TRUE(term.wait_for(QUESTION, 2)) << term.screen();
    term.type("0");
    ASSERT_TRUE(term.wait_for("DRIVER-ENDED")) << term.screen();

    EXPECT_EQ(count_of(term.screen(), LAST_HELP_LINE), 3) << term.screen();
    std::string states = read_file(dir.file("state"));
    EXPECT_EQ(count_of(states, "z=20 x=0.5 "), 2) << states;
    EXPECT_EQ(count_of(states, "z=30 x=0 "), 1) << states;
    EXPECT_EQ(read_file(dir.file("exit.txt")), "exit=0\n");
}

// Ctrl-C typed at the question, and the other signals that end a program at a
// terminal sent to the driver alone: it ends with the terminal as it was.
TEST(TerminalKey, InterruptAndTerminatingSignalsRestoreTheTerminal) {
    if (!have_tmux()) GTEST_SKIP() << "tmux is not installed";
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(sig);
        ScratchDir dir;
        TerminalSession term(dir);
        // The shell lives on after the driver's interrupt to note the terminal settings.
        ASSERT_TRUE(term.start("", "trap 'echo interrupted' INT\nulimit -c 0\n"));
        ASSERT_TRUE(answer_up_to_question(term, "20 0"));
        if (sig == SIGINT) {
            term.type("C-c", true);
        } else {
            int pid = std::atoi(read_file(dir.file("state")).c_str() + 4);  // "pid=<pid>"
            ASSERT_GT(pid, 0);
            ASSERT_EQ(kill(pid, sig), 0);
        }
        ASSERT_TRUE(term.wait_for("DRIVER-ENDED")) << term.screen();
        EXPECT_EQ(read_file(dir.file("exit.txt")), "exit=" + std::to_string(128 + sig) + "\n");
        EXPECT_EQ(read_file(dir.file("stty.after")), read_file(dir.file("stty.before")));
    }
}

}  // namespace
