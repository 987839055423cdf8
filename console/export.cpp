// The tooth data file from the dialogue: asks for a name at the console and
// writes the file there (its text: tooth_data.cpp). No state of its own.
#include "console/console.hpp"
#include "console/console_io.hpp"
#include "console/dialogue_texts.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

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
        complain("a file name may have at most %d characters; \"%s...\" is longer.", FILE_NAME_CAPACITY - 1,
                 name);
        discard_line();
    }
}

void export_tooth_data(int m, const ProfilePoint* points) {
    say(DATA_FILE_INTRO_TEXT);
    char name[FILE_NAME_CAPACITY];
    if (!ask_file_name(name)) return;
    FILE* file = std::fopen(name, "w");
    if (file == nullptr) {
        complain("cannot create the data file \"%s\": %s", name, std::strerror(errno));
        return;
    }
    int fault = write_tooth_data(file, m, points);
    errno = 0;
    if (std::fclose(file) != 0 && fault == 0) fault = errno != 0 ? errno : EIO;
    if (fault != 0) complain("cannot write the data file \"%s\": %s", name, std::strerror(fault));
}
