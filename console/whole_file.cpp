// Writing a file whole or not at all, for the dialogue's data file and the
// command line's outputs: a temporary file beside the target (same folder, so
// the rename cannot cross file systems), flushed to disk, then renamed over it.
// No state of its own.
#include "console/console.hpp"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

// The temporary name, ".<name>.XXXXXX" with six random characters, must be
// one path component: the name is cut to leave room for the rest.
constexpr int TEMPORARY_NAME_MAX = NAME_MAX;
constexpr int RANDOM_CHARACTERS = 6;
constexpr int NAME_ROOM = TEMPORARY_NAME_MAX - RANDOM_CHARACTERS - 2;  // the two dots
constexpr int TEMPORARY_ATTEMPTS = 100;                                // names already taken before giving up

// The folder of name, opened for the *at calls: the temporary name is made
// relative to it, so the target's path may be as long as the system allows.
// Sets base to the last component; -1 when the folder cannot be opened.
static int open_folder(const char* name, const char*& base) {
    const char* slash = std::strrchr(name, '/');
    base = slash ? slash + 1 : name;
    if (slash == nullptr) return open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    char folder[PATH_MAX];
    size_t length = slash == name ? 1 : static_cast<size_t>(slash - name);  // "/name": the root
    if (length >= sizeof folder) return -1;
    std::memcpy(folder, name, length);
    folder[length] = '\0';
    return open(folder, O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// A new file under a name no other file has, ".<base>.XXXXXX" in folder, made
// readable by its owner only. Its descriptor, or -1.
static int create_temporary(int folder, const char* base, char* temporary) {
    static const char LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    int prefix = std::snprintf(temporary, TEMPORARY_NAME_MAX + 1, ".%.*s.", NAME_ROOM, base);
    for (int attempt = 0; attempt < TEMPORARY_ATTEMPTS; ++attempt) {
        unsigned char random[RANDOM_CHARACTERS];
        if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return -1;
        for (int i = 0; i < RANDOM_CHARACTERS; ++i)
            temporary[prefix + i] = LETTERS[random[i] % (sizeof LETTERS - 1)];
        temporary[prefix + RANDOM_CHARACTERS] = '\0';
        int fd = openat(folder, temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
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

// Runs fill on file and closes it, flushed to disk when sync; the errno of the
// first failure, or 0.
static int fill_and_close(FILE* file, bool sync, FileFiller fill, const void* context) {
    int fault = fill(file, context);
    errno = 0;
    if (fault == 0 && std::fflush(file) != 0) fault = errno != 0 ? errno : EIO;
    if (fault == 0 && sync && fsync(fileno(file)) != 0) fault = errno;
    errno = 0;
    if (std::fclose(file) != 0 && fault == 0) fault = errno != 0 ? errno : EIO;
    return fault;
}

// The old way, for a name that is no plain file (a device, a link) or whose
// folder takes no new file: truncate and write in place.
static FileOutcome write_in_place(const char* name, bool existed, FileFiller fill, const void* context) {
    FILE* file = std::fopen(name, "w");
    if (file == nullptr) return FileOutcome{FILE_NOT_CREATED, errno, true, existed};
    int fault = fill_and_close(file, false, fill, context);
    return FileOutcome{fault == 0 ? FILE_WRITTEN : FILE_NOT_WRITTEN, fault, true, existed};
}

FileOutcome write_file_whole(const char* name, FileFiller fill, const void* context) {
    struct stat old;
    bool existed = lstat(name, &old) == 0;
    if (existed && !S_ISREG(old.st_mode)) return write_in_place(name, existed, fill, context);
    const char* base = name;
    int folder = open_folder(name, base);
    if (folder < 0 || *base == '\0') {
        if (folder >= 0) close(folder);
        return write_in_place(name, existed, fill, context);
    }
    char temporary[TEMPORARY_NAME_MAX + 1];
    int fd = create_temporary(folder, base, temporary);
    FILE* file = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (file == nullptr) {
        if (fd >= 0) {
            close(fd);
            unlinkat(folder, temporary, 0);
        }
        close(folder);
        return write_in_place(name, existed, fill, context);
    }
    take_over_mode(fd, existed, old);
    FileOutcome outcome{FILE_WRITTEN, fill_and_close(file, true, fill, context), false, existed};
    if (outcome.fault != 0) {
        outcome.step = FILE_NOT_WRITTEN;
    } else if (renameat(folder, temporary, folder, base) != 0) {
        outcome = FileOutcome{FILE_NOT_PUT_IN_PLACE, errno, false, existed};
    }
    if (outcome.fault != 0) unlinkat(folder, temporary, 0);
    close(folder);
    return outcome;
}
