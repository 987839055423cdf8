// Writing a file whole or not at all, for the dialogue's data file and the
// command line's outputs: a temporary file beside the target (same folder, so
// the rename cannot cross file systems), flushed to disk, then renamed over it;
// through a symbolic link, the file it leads to. Owns the name of the temporary
// file being written, which a signal removes.
#include "console/console.hpp"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/param.h>
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
// moving it into place changes nothing but the contents. False when it cannot
// have the old file's owner and group (only root may give a file away).
static bool take_over_mode(int fd, bool existed, const struct stat& old) {
    if (existed) {
        struct stat now;
        if (fstat(fd, &now) != 0) return false;
        if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && fchown(fd, old.st_uid, old.st_gid) != 0)
            return false;
        return fchmod(fd, old.st_mode & 07777) == 0;
    }
    mode_t mask = umask(0);
    umask(mask);
    return fchmod(fd, 0666 & ~mask) == 0;
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

// ---- Global state ------------------------------------------------------------
// The temporary file being written, for the signal handler to remove: set by
// write_file_whole while the file exists, read only by remove_temporary_and_raise.
static int pending_folder = -1;
static char pending_name[TEMPORARY_NAME_MAX + 1];
static volatile sig_atomic_t pending;
static const int CLEANUP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
static struct sigaction previous_actions[4];  // what each of those signals did before
static bool handled[4];                       // a handler was put in place for it

// An interrupted write leaves no hidden temporary file behind: it is removed,
// then the signal does what it did before (the terminal's restorer, or the end).
static void remove_temporary_and_raise(int signal_number) {
    if (pending) unlinkat(pending_folder, pending_name, 0);
    pending = 0;
    for (int i = 0; i < 4; ++i)
        if (CLEANUP_SIGNALS[i] == signal_number) sigaction(signal_number, &previous_actions[i], nullptr);
    raise(signal_number);
}

static void watch_signals(int folder, const char* temporary) {
    pending_folder = folder;
    std::snprintf(pending_name, sizeof pending_name, "%s", temporary);
    pending = 1;
    struct sigaction action = {};
    action.sa_handler = remove_temporary_and_raise;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 4; ++i) {
        handled[i] = false;
        if (sigaction(CLEANUP_SIGNALS[i], nullptr, &previous_actions[i]) != 0) continue;
        if (previous_actions[i].sa_handler == SIG_IGN) continue;  // an ignored signal stays ignored
        handled[i] = sigaction(CLEANUP_SIGNALS[i], &action, nullptr) == 0;
    }
}

// Creates the temporary file with the signals held back until the handler
// knows its name: a signal that comes as the file appears removes it too.
static int create_watched_temporary(int folder, const char* base, char* temporary) {
    sigset_t held;
    sigset_t before;
    sigemptyset(&held);
    for (int signal_number : CLEANUP_SIGNALS) sigaddset(&held, signal_number);
    sigprocmask(SIG_BLOCK, &held, &before);
    const int fd = create_temporary(folder, base, temporary);
    if (fd >= 0) watch_signals(folder, temporary);
    sigprocmask(SIG_SETMASK, &before, nullptr);
    return fd;
}

static void stop_watching_signals() {
    pending = 0;
    for (int i = 0; i < 4; ++i)
        if (handled[i]) sigaction(CLEANUP_SIGNALS[i], &previous_actions[i], nullptr);
}

// Follows name through symbolic links to the file they lead to (which may not
// exist yet), into target: that file is the one replaced, and the links stay.
static bool resolve_links(const char* name, char* target, int& fault) {
    if (std::strlen(name) >= PATH_MAX) {
        fault = ENAMETOOLONG;
        return false;
    }
    std::memcpy(target, name, std::strlen(name) + 1);
    for (int hops = 0; hops < MAXSYMLINKS; ++hops) {
        struct stat st;
        if (lstat(target, &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char link[PATH_MAX];
        ssize_t length = readlink(target, link, sizeof link - 1);
        if (length < 0) {
            fault = errno;
            return false;
        }
        link[length] = '\0';
        const char* slash = std::strrchr(target, '/');
        int folder_length = link[0] == '/' || slash == nullptr ? 0 : static_cast<int>(slash - target) + 1;
        if (folder_length + length >= PATH_MAX) {
            fault = ENAMETOOLONG;
            return false;
        }
        // A relative link is read from the folder of the link itself.
        std::memcpy(target + folder_length, link, static_cast<size_t>(length) + 1);
    }
    fault = ELOOP;
    return false;
}

// A device, a pipe: written straight, as a stream (nothing to replace).
static FileOutcome write_stream(const char* name, FileFiller fill, const void* context) {
    FILE* file = std::fopen(name, "w");
    if (file == nullptr) return FileOutcome{FILE_NOT_CREATED, errno, true, true};
    int fault = fill_and_close(file, false, fill, context);
    return FileOutcome{fault == 0 ? FILE_WRITTEN : FILE_NOT_WRITTEN, fault, true, true};
}

// Writes all of bytes at the start of fd; 0 or the errno.
static int write_all(int fd, const char* bytes, size_t size) {
    for (size_t done = 0; done < size;) {
        ssize_t n = pwrite(fd, bytes + done, size - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Puts bytes into the file target in place, for a file that cannot be
// replaced (its folder takes no new file, or a new file could not have its
// owner). A new file that fails is removed; an old one is rewritten only once
// the room for the new contents is reserved, so it is never left half written.
static FileOutcome put_in_place(const char* target, bool existed, const char* bytes, size_t size) {
    int fd = existed ? open(target, O_WRONLY | O_CLOEXEC)
                     : open(target, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return FileOutcome{FILE_NOT_CREATED, errno, true, existed};
    int fault = 0;
    struct stat now;
    if (existed && (fstat(fd, &now) != 0 || (static_cast<off_t>(size) > now.st_size &&
                                             fallocate(fd, 0, 0, static_cast<off_t>(size)) != 0))) {
        fault = errno;  // not even the room: the file is as it was
        close(fd);
        return FileOutcome{FILE_NOT_WRITTEN, fault, true, existed};
    }
    fault = write_all(fd, bytes, size);
    if (fault == 0 && ftruncate(fd, static_cast<off_t>(size)) != 0) fault = errno;
    if (fault == 0 && fsync(fd) != 0) fault = errno;
    if (close(fd) != 0 && fault == 0) fault = errno;
    if (fault != 0 && !existed) unlink(target);
    return FileOutcome{fault == 0 ? FILE_WRITTEN : FILE_NOT_WRITTEN, fault, true, existed};
}

// The contents made in memory first, then put in place.
static FileOutcome write_in_place(const char* target, bool existed, FileFiller fill, const void* context) {
    char* bytes = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&bytes, &size);
    if (memory == nullptr) return FileOutcome{FILE_NOT_WRITTEN, errno, true, existed};
    int fault = fill_and_close(memory, false, fill, context);
    FileOutcome outcome = fault == 0 ? put_in_place(target, existed, bytes, size)
                                     : FileOutcome{FILE_NOT_WRITTEN, fault, true, existed};
    std::free(bytes);
    return outcome;
}

// Could the user write the existing file itself? A file its user may not
// write is not replaced behind its back.
static int write_permission(const char* target) {
    return faccessat(AT_FDCWD, target, W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

FileOutcome write_file_whole(const char* name, FileFiller fill, const void* context) {
    struct stat followed;  // a device, a pipe, also through /dev/stdout: nothing to replace
    if (stat(name, &followed) == 0 && !S_ISREG(followed.st_mode)) return write_stream(name, fill, context);
    char target[PATH_MAX];
    int fault = 0;
    if (!resolve_links(name, target, fault)) return FileOutcome{FILE_NOT_CREATED, fault, false, true};
    struct stat old;
    const bool existed = lstat(target, &old) == 0;
    if (existed && !S_ISREG(old.st_mode)) return write_stream(target, fill, context);
    if (existed && (fault = write_permission(target)) != 0)
        return FileOutcome{FILE_NOT_CREATED, fault, false, true};
    const char* base = target;
    int folder = open_folder(target, base);
    if (folder < 0 || *base == '\0') {
        if (folder >= 0) close(folder);
        return write_in_place(target, existed, fill, context);
    }
    char temporary[TEMPORARY_NAME_MAX + 1];
    int fd = create_watched_temporary(folder, base, temporary);
    FILE* file = fd >= 0 && take_over_mode(fd, existed, old) ? fdopen(fd, "w") : nullptr;
    if (file == nullptr) {  // no new file here, or not one that keeps the old owner
        if (fd >= 0) {
            close(fd);
            unlinkat(folder, temporary, 0);
            stop_watching_signals();
        }
        close(folder);
        return write_in_place(target, existed, fill, context);
    }
    FileOutcome outcome{FILE_WRITTEN, fill_and_close(file, true, fill, context), false, existed};
    if (outcome.fault != 0) {
        outcome.step = FILE_NOT_WRITTEN;
    } else if (renameat(folder, temporary, folder, base) != 0) {
        outcome = FileOutcome{FILE_NOT_PUT_IN_PLACE, errno, false, existed};
    }
    if (outcome.fault != 0) unlinkat(folder, temporary, 0);
    stop_watching_signals();
    close(folder);
    return outcome;
}
