// A word the user typed, made safe to show inside a message, for every front
// end: printable characters as they are in the user's locale, the rest escaped.
// Owns only the knowledge whether the locale's character type has been taken.
#include "console/console.hpp"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

// ---- Global state ------------------------------------------------------------
// True once LC_CTYPE has been taken from the user's locale; written and read by quote_word.
static bool user_ctype_taken;

// The length of the UTF-8 character at s if it is a valid, printable one
// (no C1 control, no surrogate, not overlong), else 0.
static int printable_utf8_length(const unsigned char* s) {
    int n = s[0] >= 0xF0 ? 4 : s[0] >= 0xE0 ? 3 : s[0] >= 0xC2 ? 2 : 0;
    if (n == 0 || s[0] > 0xF4) return 0;
    unsigned int code = s[0] & (0x7Fu >> n);
    for (int i = 1; i < n; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;  // also stops at the terminator
        code = (code << 6) | (s[i] & 0x3Fu);
    }
    const unsigned int smallest[] = {0, 0, 0xA0, 0x800, 0x10000};  // C1 controls end below 0xA0
    if (code < smallest[n] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
    return n;
}

// The length of the printable character at s in the console's encoding, or 0.
// A single-byte console is taken to show UTF-8, as say assumes.
static int printable_length(const char* s) {
    const unsigned char* u = reinterpret_cast<const unsigned char*>(s);
    if (u[0] < 0x80) return u[0] >= 0x20 && u[0] < 0x7F ? 1 : 0;
    if (MB_CUR_MAX == 1) return printable_utf8_length(u);
    std::mbstate_t state = {};
    wchar_t wide;
    size_t n = std::mbrtowc(&wide, s, std::strlen(s), &state);
    if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2) || n == 0) return 0;
    return std::iswprint(static_cast<wint_t>(wide)) ? static_cast<int>(n) : 0;
}

void quote_word(const char* word, bool longer, char* out, int capacity) {
    if (capacity < 4) {
        if (capacity > 0) out[0] = '\0';
        return;
    }
    if (!user_ctype_taken) {  // the locale decides what is printable
        std::setlocale(LC_CTYPE, "");
        user_ctype_taken = true;
    }
    int length = 0;
    int characters = 0;
    const char* s = word;
    while (*s != '\0' && characters < QUOTED_WORD_CHARACTERS) {
        int n = printable_length(s);
        if (length + (n > 0 ? n : 4) + 4 > capacity) break;  // 4 more: "..." and the terminator
        if (n > 0) {
            std::memcpy(out + length, s, static_cast<size_t>(n));
            length += n;
            s += n;
        } else {
            std::snprintf(out + length, 5, "\\x%02x", static_cast<unsigned char>(*s));
            length += 4;
            ++s;
        }
        ++characters;
    }
    if (*s != '\0' || longer) {
        std::memcpy(out + length, "...", 3);
        length += 3;
    }
    out[length] = '\0';
}
