// Answers typed at the console, read from the buffered standard input: one word
// at a time, as "%s" reads it, but never past the caller's buffer. No state.
#include "console/console_io.hpp"

#include <cstdio>

// The white space that ends a word, as "%s" and "%d" see it in the C locale.
static bool is_blank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

WordResult read_word(char* word, int capacity) {
    int c = std::getchar();
    while (c != EOF && is_blank(c)) c = std::getchar();
    word[0] = '\0';
    if (c == EOF) return WORD_END;
    int length = 0;
    bool too_long = false;
    while (c != EOF && !is_blank(c)) {
        if (length < capacity - 1)
            word[length++] = static_cast<char>(c);
        else
            too_long = true;
        c = std::getchar();
    }
    word[length] = '\0';
    // The blank that ended the word belongs to what follows (a line end, a second number).
    if (c != EOF) std::ungetc(c, stdin);
    return too_long ? WORD_TOO_LONG : WORD_READ;
}

void discard_line() {
    int c = std::getchar();
    while (c != EOF && c != '\n') c = std::getchar();
}
