// Texts on the console: the program holds its Japanese texts in UTF-8 and shows
// them in the console's own encoding (Shift-JIS consoles get code page 932).
// Owns the console encoding, looked up once on first output.
#include "console/console.hpp"
#include "console/console_io.hpp"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <strings.h>
#include <langinfo.h>

// ---- Global state ------------------------------------------------------------
// The iconv name of the console's encoding, or "" when UTF-8 is shown as it is
// (a UTF-8 console, or a plain ASCII one, which still shows UTF-8 best).
// Written by say on its first call, read by say.
static char console_encoding[40];
static bool console_encoding_known;

// Longest converted text: the longest key help line is about 110 bytes in UTF-8.
constexpr int CONVERTED_CAPACITY = 512;

// Codeset names under which a Shift-JIS console is reported; its bytes are those
// of code page 932 (Shift-JIS proper maps 0x5C and 0x7E to other characters).
static bool is_shift_jis(const char* codeset) {
    const char* names[] = {"SHIFT_JIS", "SHIFT-JIS", "SJIS", "CP932", "WINDOWS-31J", "MS_KANJI"};
    for (const char* name : names)
        if (strcasecmp(codeset, name) == 0) return true;
    return false;
}

// The console's character set comes from the user's locale. Only LC_CTYPE is
// taken from it: LC_NUMERIC would make "%lf" read "2.5" as 2 in some locales.
static void find_console_encoding() {
    console_encoding_known = true;
    std::setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    if (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "ANSI_X3.4-1968") == 0) return;
    const char* target = is_shift_jis(codeset) ? "CP932" : codeset;
    if (std::strlen(target) < sizeof console_encoding) std::strcpy(console_encoding, target);
}

void say(const char* text) {
    if (!console_encoding_known) find_console_encoding();
    static char converted[CONVERTED_CAPACITY];
    // Where a text has no form in the console's encoding, UTF-8 is the best guess.
    if (console_encoding[0] != '\0' &&
        convert_text("UTF-8", console_encoding, text, converted, CONVERTED_CAPACITY))
        std::fputs(converted, stdout);
    else
        std::fputs(text, stdout);
}

void complain(const char* format, ...) {
    std::fflush(stdout);
    char message[400];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    std::fprintf(stderr, "\nrackgen: %s", message);
}

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
    if (!console_encoding_known) find_console_encoding();  // the locale decides what is printable
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
