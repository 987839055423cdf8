// Answers typed at the console, read from the buffered standard input: one word
// at a time, as "%s" reads it, but never past the caller's buffer. No state.
#include "console/console_io.hpp"

#include <cstdio>
#include <unistd.h>

// Ctrl-D at a terminal ends what is being typed, not the terminal: stdio's
// end-of-file mark is cleared so that the next read waits again. From a pipe
// or a file the end is final.
static void end_of_input_seen() {
    if (isatty(fileno(stdin))) std::clearerr(stdin);
}

bool is_blank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

WordResult read_word(char* word, int capacity) {
    int c = std::getchar();
    while (c != EOF && is_blank(c)) c = std::getchar();
    word[0] = '\0';
    if (c == EOF) {
        end_of_input_seen();
        return WORD_END;
    }
    int length = 0;
    bool too_long = false;
    while (c != EOF && !is_blank(c)) {
        // A NUL byte cannot stand in the word's string: it is kept as the four
        // characters \x00, as a refusal shows a control byte, so the word is
        // refused and shown as it was typed instead of being cut short.
        const char* bytes = c == '\0' ? "\\x00" : nullptr;
        const int count = bytes ? 4 : 1;
        if (length + count <= capacity - 1) {
            for (int i = 0; i < count; ++i) word[length++] = bytes ? bytes[i] : static_cast<char>(c);
        } else {
            too_long = true;
        }
        c = std::getchar();
    }
    word[length] = '\0';
    // The blank that ended the word belongs to what follows (a line end, a second number).
    if (c != EOF)
        std::ungetc(c, stdin);
    else
        end_of_input_seen();
    return too_long ? WORD_TOO_LONG : WORD_READ;
}

void discard_line() {
    int c = std::getchar();
    while (c != EOF && c != '\n') c = std::getchar();
    if (c == EOF) end_of_input_seen();
}
