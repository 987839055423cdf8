// The data-file answer: one key read straight from the terminal with line input
// and echo off, or, when standard input is no terminal, its next non-blank
// character. Owns the saved terminal settings while a key is awaited.
#include "console/console_io.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// ---- Global state ------------------------------------------------------------
// The terminal's settings from before the key read; valid while terminal_changed
// is 1. Written by read_terminal_key, read by the restore paths (return, signals, exit).
static termios saved_terminal;
static termios key_terminal;                    // line input and echo off
static volatile sig_atomic_t terminal_changed;  // 1 while the terminal is in key mode

// Signals that end or stop the process at a terminal: each gets the terminal back first.
static const int RESTORE_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};
constexpr int RESTORE_SIGNAL_COUNT = sizeof RESTORE_SIGNALS / sizeof RESTORE_SIGNALS[0];
static struct sigaction previous_actions[RESTORE_SIGNAL_COUNT];

// The bytes of one key arrive together; 30 ms tells a lone Esc from the start of
// an arrow or function key's escape sequence.
constexpr int SEQUENCE_GAP_MS = 30;
constexpr int SEQUENCE_CAPACITY = 32;  // longest escape sequence consumed as one key

static void restore_terminal() {
    if (terminal_changed) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
        terminal_changed = 0;
    }
}

static void unblock(int sig) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

// Only async-signal-safe calls here. The signal is delivered again with its
// default action; after a stop (Ctrl-Z) and continue, key mode comes back.
static void on_signal(int sig) {
    int saved_errno = errno;
    bool was_changed = terminal_changed;
    if (was_changed) tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigaction(sig, &fallback, nullptr);
    unblock(sig);
    raise(sig);
    // Only a stop returns here, once the process is continued.
    struct sigaction again = {};
    again.sa_handler = on_signal;
    sigaction(sig, &again, nullptr);
    if (was_changed) tcsetattr(STDIN_FILENO, TCSANOW, &key_terminal);
    errno = saved_errno;
}

static void catch_signals() {
    for (int i = 0; i < RESTORE_SIGNAL_COUNT; ++i) {
        sigaction(RESTORE_SIGNALS[i], nullptr, &previous_actions[i]);
        if (previous_actions[i].sa_handler == SIG_IGN)
            continue;  // a signal the caller ignores (nohup) stays ignored
        struct sigaction action = {};
        action.sa_handler = on_signal;
        sigemptyset(&action.sa_mask);
        sigaction(RESTORE_SIGNALS[i], &action, nullptr);
    }
}

static void release_signals() {
    for (int i = 0; i < RESTORE_SIGNAL_COUNT; ++i)
        sigaction(RESTORE_SIGNALS[i], &previous_actions[i], nullptr);
}

// One more byte of the same key, if it comes within the gap.
static bool next_byte(unsigned char& c) {
    pollfd p = {STDIN_FILENO, POLLIN, 0};
    if (poll(&p, 1, SEQUENCE_GAP_MS) <= 0) return false;
    return read(STDIN_FILENO, &c, 1) == 1;
}

// An arrow or function key: ESC '[' parameters final (0x40-0x7E), ESC 'O' final,
// or the Linux console's ESC '[' '[' letter. A lone Esc has nothing after it.
static void consume_escape_sequence() {
    unsigned char c;
    if (!next_byte(c)) return;
    if (c == 'O') {
        next_byte(c);
        return;
    }
    if (c != '[') return;  // Alt with a key: ESC and that one character
    for (int i = 0; i < SEQUENCE_CAPACITY && next_byte(c); ++i) {
        if (i == 0 && c == '[') {
            next_byte(c);
            return;
        }
        if (c >= 0x40 && c <= 0x7E) return;
    }
}

// The rest of a multibyte character. The console's locale has been set by the
// prompt's output; a single-byte locale on a terminal that sends non-ASCII is
// taken to be UTF-8.
static void consume_multibyte_rest(unsigned char first) {
    unsigned char c = first;
    if (MB_CUR_MAX > 1) {
        std::mbstate_t state = {};
        char byte = static_cast<char>(c);
        while (std::mbrlen(&byte, 1, &state) == static_cast<size_t>(-2) && next_byte(c))
            byte = static_cast<char>(c);
        return;
    }
    int continuation = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : 0;
    for (int i = 0; i < continuation && next_byte(c); ++i) {
    }
}

static int read_terminal_key() {
    if (tcgetattr(STDIN_FILENO, &saved_terminal) != 0) return -1;
    static bool exit_hook;
    if (!exit_hook) exit_hook = std::atexit(restore_terminal) == 0;
    key_terminal = saved_terminal;
    key_terminal.c_lflag &= ~(ICANON | ECHO);  // ISIG stays: Ctrl-C still interrupts
    key_terminal.c_cc[VMIN] = 1;
    key_terminal.c_cc[VTIME] = 0;
    catch_signals();
    terminal_changed = 1;
    tcsetattr(STDIN_FILENO, TCSANOW, &key_terminal);

    unsigned char c = 0;
    ssize_t n;
    do n = read(STDIN_FILENO, &c, 1);
    while (n < 0 && errno == EINTR);
    if (n == 1 && c == 0x1B)
        consume_escape_sequence();
    else if (n == 1 && c >= 0x80)
        consume_multibyte_rest(c);

    restore_terminal();
    release_signals();
    return n == 1 ? c : -1;
}

int read_answer_key() {
    if (isatty(STDIN_FILENO)) return read_terminal_key();
    int c = std::getchar();
    while (is_blank(c)) c = std::getchar();
    return c == EOF ? -1 : c;
}
