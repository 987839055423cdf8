// The answers to the dialogue's two questions, for every front end (the console
// dialogue, the web page's form; the command line reads its numbers alike):
// is the typed word the number, and does the geometry accept it. No state.
#include "console/console.hpp"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// The number must start the word: strtol and strtod would pass over blanks
// before it, and a blank after it is refused anyway.
static bool starts_with_blank(const char* word) {
    return std::isspace(static_cast<unsigned char>(word[0])) != 0;
}

bool parse_whole(const char* word, int& value) {
    if (starts_with_blank(word)) return false;
    char* end;
    errno = 0;
    long v = std::strtol(word, &end, 10);
    if (end == word || *end != '\0') return false;
    // Out of the int range: a number all the same, refused by the range check.
    if (errno == ERANGE || v > INT_MAX || v < INT_MIN) v = v < 0 ? INT_MIN : INT_MAX;
    value = static_cast<int>(v);
    return true;
}

static bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number as people write it: a sign, digits with a point among,
// before or after them, an exponent. Not the hexadecimal, inf and nan that
// strtod reads as well: every number is decimal, as a whole number is.
static bool decimal_syntax(const char* s) {
    if (*s == '+' || *s == '-') ++s;
    int digits = 0;
    for (; is_digit(*s); ++s) ++digits;
    if (*s == '.')
        for (++s; is_digit(*s); ++s) ++digits;
    if (digits == 0) return false;
    if (*s == 'e' || *s == 'E') {
        ++s;
        if (*s == '+' || *s == '-') ++s;
        if (!is_digit(*s)) return false;
        while (is_digit(*s)) ++s;
    }
    return *s == '\0';
}

bool parse_real(const char* word, double& value) {
    if (!decimal_syntax(word)) return false;
    value = std::strtod(word, nullptr);
    return true;
}

const char* shortest_real(double value, char* text) {
    if (value == 0.0) value = 0.0;  // -0 too
    for (int digits = 1; digits < 17; ++digits) {
        std::snprintf(text, SHORTEST_REAL_CAPACITY, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) return text;
    }
    std::snprintf(text, SHORTEST_REAL_CAPACITY, "%.17g", value);
    return text;
}

// "\"<word>\" is not <what>: <reason>", the word quoted safely: it may hold anything.
static bool refuse_word(const char* word, const char* what, const char* reason, char* message, int capacity) {
    char shown[QUOTED_WORD_CAPACITY];
    quote_word(word, false, shown, QUOTED_WORD_CAPACITY);
    std::snprintf(message, static_cast<size_t>(capacity), "\"%s\" is not %s: %s", shown, what, reason);
    return false;
}

// "\"<word>...\" is too long to be read (...): <reason>", for a word cut where it was read.
static bool refuse_long_word(const char* word, const char* reason, char* message, int capacity) {
    char shown[QUOTED_WORD_CAPACITY];
    quote_word(word, true, shown, QUOTED_WORD_CAPACITY);
    std::snprintf(message, static_cast<size_t>(capacity),
                  "\"%s\" is too long to be read (more than %d characters): %s", shown,
                  ANSWER_WORD_CAPACITY - 1, reason);
    return false;
}

// "<word> is refused: <reason>", the word as typed (it is a number, nothing to
// escape), a long one cut as a quoted word is.
static bool refuse_number(const char* word, const char* refusal, char* message, int capacity) {
    char shown[QUOTED_WORD_CAPACITY];
    quote_word(word, false, shown, QUOTED_WORD_CAPACITY);
    std::snprintf(message, static_cast<size_t>(capacity), "%s is refused: %s", shown, refusal);
    return false;
}

bool check_teeth_answer(const Cutter& cutter, bool internal, const char* word, bool longer, int& z,
                        char* message, int capacity) {
    if (capacity > 0) message[0] = '\0';
    if (longer) return refuse_long_word(word, gear_refusal(cutter, 0, 0.0, internal), message, capacity);
    if (!parse_whole(word, z))
        return refuse_word(word, "a whole number", gear_refusal(cutter, 0, 0.0, internal), message, capacity);
    if (const char* refusal = gear_refusal(cutter, z, 0.0, internal))
        return refuse_number(word, refusal, message, capacity);
    return true;
}

bool check_shift_answer(const Cutter& cutter, bool internal, const char* word, bool longer, int z, double& x,
                        char* message, int capacity) {
    if (capacity > 0) message[0] = '\0';
    if (longer) return refuse_long_word(word, gear_refusal(cutter, z, NAN, internal), message, capacity);
    if (!parse_real(word, x))
        return refuse_word(word, "a number", gear_refusal(cutter, z, NAN, internal), message, capacity);
    if (const char* refusal = gear_refusal(cutter, z, x, internal))
        return refuse_number(word, refusal, message, capacity);
    return true;
}
