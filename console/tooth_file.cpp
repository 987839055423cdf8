// The tooth data file's way to disk (its bytes: tooth_data.cpp): written whole
// by write_file_whole, its failures told in the dialogue's words. No state of its own.
#include "console/console.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

struct ToothData {
    int z;
    int m;
    const ProfilePoint* points;
};

static int fill_data_file(FILE* file, const void* context) {
    const ToothData& data = *static_cast<const ToothData*>(context);
    return write_tooth_data(data.z, data.m, data.points, file);
}

bool write_data_file(const char* name, int z, int m, const ProfilePoint* points, char* message,
                     int capacity) {
    if (capacity > 0) message[0] = '\0';
    const ToothData data{z, m, points};
    FileOutcome outcome = write_file_whole(name, fill_data_file, &data);
    if (outcome.step == FILE_WRITTEN) return true;
    size_t room = static_cast<size_t>(capacity);
    if (outcome.fault == ENOBUFS) {  // cannot happen within the accepted range
        std::snprintf(message, room, "the tooth data do not fit the %d-byte buffer; no data file written.",
                      TOOTH_DATA_CAPACITY);
        return false;
    }
    char shown[QUOTED_WORD_CAPACITY];
    quote_word(name, false, shown, QUOTED_WORD_CAPACITY);
    const char* reason = std::strerror(outcome.fault);
    if (outcome.in_place)
        std::snprintf(message, room, "cannot %s the data file \"%s\": %s",
                      outcome.step == FILE_NOT_CREATED ? "create" : "write", shown, reason);
    else
        std::snprintf(message, room, "cannot %s the data file \"%s\": %s; %s",
                      outcome.step == FILE_NOT_PUT_IN_PLACE ? "put in place" : "write", shown, reason,
                      outcome.existed ? "the previous file is left as it was" : "no file was made");
    return false;
}
