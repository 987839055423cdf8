// Writing a file whole or not at all: a temporary name beside the target
// (same directory, so the rename cannot cross file systems), then rename. No state.
#include "cli/atomic_file.hpp"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

// "<name>.XXXXXX": mkstemp replaces the X's.
static const char TEMPORARY_SUFFIX[] = ".XXXXXX";

// mkstemp makes the file readable by its owner only; give it the mode a new
// file gets from fopen, 0666 less the umask.
static void give_ordinary_mode(int descriptor) {
    mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

int write_file_atomically(const char* name, FileWriter writer, const void* context) {
    char temporary[PATH_MAX];
    if (std::strlen(name) + sizeof TEMPORARY_SUFFIX > sizeof temporary) return ENAMETOOLONG;
    std::snprintf(temporary, sizeof temporary, "%s%s", name, TEMPORARY_SUFFIX);
    int descriptor = mkstemp(temporary);
    if (descriptor < 0) return errno;
    give_ordinary_mode(descriptor);
    FILE* file = fdopen(descriptor, "w");
    if (file == nullptr) {
        int fault = errno;
        close(descriptor);
        unlink(temporary);
        return fault;
    }
    int fault = writer(file, context);
    errno = 0;
    if (std::fclose(file) != 0 && fault == 0) fault = errno != 0 ? errno : EIO;
    if (fault == 0 && std::rename(temporary, name) != 0) fault = errno;
    if (fault != 0) unlink(temporary);
    return fault;
}
