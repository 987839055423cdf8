// The tooth data file: asks for a name and writes the header, one "x,y" line per
// flank point, a separator and the trailer in Shift-JIS (code page 932), as the
// files of earlier versions of the program were. No state of its own.
#include "console/console.hpp"
#include "console/console_io.hpp"
#include "console/dialogue_texts.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

// The trailer is about 80 bytes in UTF-8 and fewer in code page 932.
constexpr int TRAILER_CAPACITY = 200;

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

int write_tooth_data(FILE* file, int m, const ProfilePoint* points) {
    char trailer[TRAILER_CAPACITY];
    char trailer_cp932[TRAILER_CAPACITY];
    std::snprintf(trailer, sizeof trailer, "\nz=%d : 歯数  m=%d：インボリュート・切り下げを含むデータ数",
                  gear_params.z, m);
    if (!convert_text("UTF-8", "CP932", trailer, trailer_cp932, TRAILER_CAPACITY))
        return errno != 0 ? errno : EILSEQ;

    errno = 0;
    bool ok = std::fprintf(file, "z=%d   m=%d\n", gear_params.z, m) >= 0;
    // m + 1 lines: m is the index of the last point.
    for (int i = 0; ok && i <= m; ++i) ok = std::fprintf(file, "%lf,%lf\n", points[i].x, points[i].y) >= 0;
    ok = ok && std::fputs("\n/********************************************************/", file) >= 0;
    size_t length = std::strlen(trailer_cp932);
    ok = ok && std::fwrite(trailer_cp932, 1, length, file) == length;
    ok = ok && std::fflush(file) == 0;
    if (!ok) return errno != 0 ? errno : EIO;
    return 0;
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
