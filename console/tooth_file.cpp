// The tooth data file's way to disk (its bytes: tooth_data.cpp): written beside
// the old file and moved into place whole. No state of its own.
#include "console/console.hpp"
#include "console/console_io.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Room for the temporary name: the file name, a folder separator, a dot and ".XXXXXX".
constexpr int TEMPORARY_NAME_CAPACITY = 2 * FILE_NAME_CAPACITY + 16;

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
