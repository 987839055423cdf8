// The text sink of the drawing-file writers: a bounded buffer or a FILE. No state.
#include "outline/outline_sink.hpp"

#include <cstdarg>

OutlineSink buffer_sink(char* buffer, size_t capacity) {
    if (buffer != nullptr && capacity > 0) buffer[0] = '\0';
    return OutlineSink{nullptr, buffer, capacity, 0, false};
}

OutlineSink file_sink(FILE* file) {
    return OutlineSink{file, nullptr, 0, 0, false};
}

void sink_printf(OutlineSink& sink, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int written = 0;
    if (sink.file != nullptr) {
        written = std::vfprintf(sink.file, format, args);
        if (written < 0) sink.failed = true;
    } else {
        // The room left, the terminator included; none once the buffer is full.
        size_t room = sink.length < sink.capacity ? sink.capacity - sink.length : 0;
        char* at = room > 0 ? sink.buffer + sink.length : nullptr;
        written = std::vsnprintf(at, room, format, args);
    }
    va_end(args);
    if (written > 0) sink.length += static_cast<size_t>(written);
}
