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
