// The command line's messages on standard error: "rackgen: " and the text, with
// every control byte of it shown as \xHH, as the dialogue shows a typed word,
// so a value given on the command line cannot steer the terminal; and the line
// that says what a file written holds. No state.
#include "cli/options.hpp"

#include <cstdarg>
#include <cstdio>

constexpr int MESSAGE_CAPACITY = 8192;  // a message naming a file of the longest path, and more

static void put_line(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || byte == 0x7f)
            std::fprintf(stderr, "\\x%02x", byte);
        else
            std::fputc(byte, stderr);
    }
    std::fputc('\n', stderr);
}

void tell(const char* format, ...) {
    char text[MESSAGE_CAPACITY];
    va_list values;
    va_start(values, format);
    std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    std::fputs("rackgen: ", stderr);
    put_line(text);
}

void report(const char* format, ...) {
    if (command_line.quiet) return;
    char text[MESSAGE_CAPACITY];
    va_list values;
    va_start(values, format);
    std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    put_line(text);
}
