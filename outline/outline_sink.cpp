// The text sink of the drawing-file writers: a FILE and its failure. No state.
#include "outline/outline_sink.hpp"

#include <cstdarg>

OutlineSink file_sink(FILE* file) {
    return OutlineSink{file, false};
}

void sink_printf(OutlineSink& sink, const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (std::vfprintf(sink.file, format, args) < 0) sink.failed = true;
    va_end(args);
}
