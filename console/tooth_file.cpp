// The tooth data file's bytes and their way to disk: the header, one "x,y" line
// per flank point, a separator and the Shift-JIS (code page 932) trailer, as
// earlier versions of the program wrote them; written beside the old file and
// moved into place whole. No state of its own.
#include "console/console.hpp"
#include "console/console_io.hpp"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The trailer is about 80 bytes in UTF-8 and fewer in code page 932.
constexpr int TRAILER_CAPACITY = 200;
// Room for the temporary name: the file name, a folder separator, a dot and ".XXXXXX".
constexpr int TEMPORARY_NAME_CAPACITY = 2 * FILE_NAME_CAPACITY + 16;

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
    if (!convert_text("UTF-8", "CP932", trailer, trailer_cp932, TRAILER_CAPACITY)) return -1;
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

// Writes all bytes to fd; the errno of the failure, or 0.
static int write_all(int fd, const char* bytes, int length) {
    for (int done = 0; done < length;) {
        ssize_t n = write(fd, bytes + done, static_cast<size_t>(length - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        done += static_cast<int>(n);
    }
    return 0;
}

// The old way, for a name that is no plain file (a device, a link) or whose
// folder takes no new file: truncate and write in place.
static bool write_in_place(const char* name, const char* shown, const char* bytes, int length, char* message,
                           int capacity) {
    int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
        std::snprintf(message, static_cast<size_t>(capacity), "cannot create the data file \"%s\": %s", shown,
                      std::strerror(errno));
        return false;
    }
    int fault = write_all(fd, bytes, length);
    if (close(fd) != 0 && fault == 0) fault = errno;
    if (fault == 0) return true;
    std::snprintf(message, static_cast<size_t>(capacity), "cannot write the data file \"%s\": %s", shown,
                  std::strerror(fault));
    return false;
}

// "<folder>/.<base>.XXXXXX" beside name, as mkstemp wants it.
static void temporary_name(const char* name, char* out) {
    const char* slash = std::strrchr(name, '/');
    int folder = slash ? static_cast<int>(slash - name) + 1 : 0;
    std::snprintf(out, TEMPORARY_NAME_CAPACITY, "%.*s.%s.XXXXXX", folder, name, name + folder);
}

// The new file gets what the old one had (or what a new file would get), so
// moving it into place changes nothing but the contents.
static void take_over_mode(int fd, bool existed, const struct stat& old) {
    if (existed) {
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
        }  // only root may give a file away; otherwise it is the user's anyway
        fchmod(fd, old.st_mode & 07777);
        return;
    }
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
}

bool write_data_file(const char* name, const char* bytes, int length, char* message, int capacity) {
    if (capacity > 0) message[0] = '\0';
    char shown[QUOTED_WORD_CAPACITY];
    quote_word(name, false, shown, QUOTED_WORD_CAPACITY);
    struct stat old;
    bool existed = lstat(name, &old) == 0;
    if (existed && !S_ISREG(old.st_mode))
        return write_in_place(name, shown, bytes, length, message, capacity);

    char temporary[TEMPORARY_NAME_CAPACITY];
    temporary_name(name, temporary);
    int fd = mkstemp(temporary);
    if (fd < 0) return write_in_place(name, shown, bytes, length, message, capacity);
    take_over_mode(fd, existed, old);
    int fault = write_all(fd, bytes, length);
    if (fault == 0 && fsync(fd) != 0) fault = errno;
    if (close(fd) != 0 && fault == 0) fault = errno;
    const char* step = "write";
    if (fault == 0 && rename(temporary, name) != 0) {
        fault = errno;
        step = "put in place";
    }
    if (fault == 0) return true;
    unlink(temporary);
    std::snprintf(message, static_cast<size_t>(capacity), "cannot %s the data file \"%s\": %s; %s", step,
                  shown, std::strerror(fault),
                  existed ? "the previous file is left as it was" : "no file was made");
    return false;
}
