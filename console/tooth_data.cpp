// The whole text of the tooth data file: the header, one "x,y" line per flank
// point, a separator and the trailer in Shift-JIS (code page 932), as the files
// of earlier versions of the program were, with no line end after it. For the
// dialogue, the command line and the web page alike. No state of its own.
#include "console/console.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

// The trailer is about 80 bytes in UTF-8 and fewer in code page 932.
constexpr int TRAILER_CAPACITY = 200;

int write_tooth_data(FILE* file, int m, const ProfilePoint* points) {
    char trailer[TRAILER_CAPACITY];
    char trailer_cp932[TRAILER_CAPACITY];
    std::snprintf(trailer, sizeof trailer, "\nz=%d : 歯数  m=%d：インボリュート・切り下げを含むデータ数",
                  gear_params.z, m);
    // A C library without code page 932 under that name (the browser build's)
    // gives the same bytes for every character of the trailer as SHIFT_JIS.
    if (!convert_text("UTF-8", "CP932", trailer, trailer_cp932, TRAILER_CAPACITY) &&
        !convert_text("UTF-8", "SHIFT_JIS", trailer, trailer_cp932, TRAILER_CAPACITY))
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
