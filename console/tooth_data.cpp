// The tooth data file's bytes: the header, one "x,y" line per flank point, a
// separator and the Shift-JIS (code page 932) trailer, as earlier versions of
// the program wrote them, with no line end after it. For every front end (the
// dialogue, the command line, the web page). Owns the buffer the bytes are made in.
#include "console/console.hpp"

#include <cerrno>
#include <cstdarg>
#include <cstdio>

// ---- Global state ------------------------------------------------------------
// The bytes of the file being written; filled and read by write_tooth_data only.
static char tooth_data[TOOTH_DATA_CAPACITY];

// The trailer is about 80 bytes in UTF-8 and fewer in code page 932.
constexpr int TRAILER_CAPACITY = 200;

// Appends one formatted piece at out[length]; false when it does not fit.
static bool append(char* out, int capacity, int& length, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
static bool append(char* out, int capacity, int& length, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int room = capacity - length;
    int n = std::vsnprintf(out + length, static_cast<size_t>(room > 0 ? room : 0), format, args);
    va_end(args);
    if (n < 0 || n >= room) return false;
    length += n;
    return true;
}

int format_tooth_data(int z, int m, const ProfilePoint* points, char* out, int capacity) {
    char trailer[TRAILER_CAPACITY];
    char trailer_cp932[TRAILER_CAPACITY];
    std::snprintf(trailer, sizeof trailer, "\nz=%d : 歯数  m=%d：インボリュート・切り下げを含むデータ数", z,
                  m);
    // A C library without code page 932 under that name (the web page's) gives
    // the same bytes for every character of the trailer as SHIFT_JIS.
    if (!convert_text("UTF-8", "CP932", trailer, trailer_cp932, TRAILER_CAPACITY) &&
        !convert_text("UTF-8", "SHIFT_JIS", trailer, trailer_cp932, TRAILER_CAPACITY))
        return -1;
    int length = 0;
    bool ok = append(out, capacity, length, "z=%d   m=%d\n", z, m);
    // m + 1 lines: m is the index of the last point.
    for (int i = 0; ok && i <= m; ++i)
        ok = append(out, capacity, length, "%lf,%lf\n", points[i].x, points[i].y);
    ok = ok &&
         append(out, capacity, length, "%s", "\n/********************************************************/");
    ok = ok && append(out, capacity, length, "%s", trailer_cp932);
    return ok ? length : -1;
}

int write_tooth_data(int z, int m, const ProfilePoint* points, FILE* file) {
    int length = format_tooth_data(z, m, points, tooth_data, TOOTH_DATA_CAPACITY);
    if (length < 0) return ENOBUFS;  // cannot happen: the capacity covers the longest flank of z = 1000
    errno = 0;
    size_t size = static_cast<size_t>(length);
    if (std::fwrite(tooth_data, 1, size, file) != size || std::fflush(file) != 0)
        return errno != 0 ? errno : EIO;
    return 0;
}
