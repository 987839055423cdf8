// Where a drawing-file writer puts its text: a caller's buffer (snprintf-like,
// counting what does not fit) or a FILE. Used only inside outline/.
#pragma once

#include <cstddef>
#include <cstdio>

struct OutlineSink {
    FILE* file;       // when not null, the text goes here
    char* buffer;     // otherwise here, at most capacity bytes with the terminator
    size_t capacity;  // bytes of buffer
    size_t length;    // bytes of text so far, written or not
    bool failed;      // a write to file failed
};

OutlineSink buffer_sink(char* buffer, size_t capacity);
OutlineSink file_sink(FILE* file);
// Appends formatted text; never writes past the buffer, always terminates it.
void sink_printf(OutlineSink& sink, const char* format, ...) __attribute__((format(printf, 2, 3)));
