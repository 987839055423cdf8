// The data-file dialogue: asks for a file name at the console and writes the
// tooth data file there (write_data_file). No state of its own.
#include "console/console.hpp"
#include "choice/choice.hpp"
#include "console/console_io.hpp"
#include "console/dialogue_texts.hpp"

#include <cstdio>

constexpr int MESSAGE_CAPACITY = 400;

// Asks for the file name until one fits; false when standard input has ended.
static bool ask_file_name(char* name) {
    for (;;) {
        say("\nfilename=");
        std::fflush(stdout);
        WordResult got = read_word(name, FILE_NAME_CAPACITY);
        if (got == WORD_READ) return true;
        if (got == WORD_END) {
            complain("standard input ended before a file name; no data file written.");
            return false;
        }
        char shown[QUOTED_WORD_CAPACITY];
        quote_word(name, true, shown, QUOTED_WORD_CAPACITY);
        complain("a file name may have at most %d characters; \"%s\" is longer.", FILE_NAME_CAPACITY - 1,
                 shown);
        discard_line();
    }
}

void export_tooth_data(int m, const ProfilePoint* points) {
    say(DATA_FILE_INTRO_TEXT);
    char name[FILE_NAME_CAPACITY];
    if (!ask_file_name(name)) return;
    char message[MESSAGE_CAPACITY];
    if (!write_data_file(name, the_gear.params.z, m, points, message, MESSAGE_CAPACITY))
        complain("%s", message);
}
