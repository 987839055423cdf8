// The tooth data file's way to disk (its bytes: tooth_data.cpp): written whole
// by write_file_whole, its failures told in the dialogue's words. No state of its own.
#include "console/console.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

struct DataBytes {
    const char* bytes;
    int length;
};

static int write_bytes(FILE* file, const void* context) {
    const DataBytes& data = *static_cast<const DataBytes*>(context);
    size_t size = static_cast<size_t>(data.length);
    errno = 0;
    if (std::fwrite(data.bytes, 1, size, file) != size) return errno != 0 ? errno : EIO;
    return 0;
}

bool write_data_file(const char* name, const char* bytes, int length, char* message, int capacity) {
    if (capacity > 0) message[0] = '\0';
    const DataBytes data{bytes, length};
    FileOutcome outcome = write_file_whole(name, write_bytes, &data);
    if (outcome.step == FILE_WRITTEN) return true;
    char shown[QUOTED_WORD_CAPACITY];
    quote_word(name, false, shown, QUOTED_WORD_CAPACITY);
    const char* reason = std::strerror(outcome.fault);
    size_t room = static_cast<size_t>(capacity);
    if (outcome.in_place)
        std::snprintf(message, room, "cannot %s the data file \"%s\": %s",
                      outcome.step == FILE_NOT_CREATED ? "create" : "write", shown, reason);
    else
        std::snprintf(message, room, "cannot %s the data file \"%s\": %s; %s",
                      outcome.step == FILE_NOT_PUT_IN_PLACE ? "put in place" : "write", shown, reason,
                      outcome.existed ? "the previous file is left as it was" : "no file was made");
    return false;
}
