// The text sink of the drawing-file writers: a FILE and its failure. No state.
#include "outline/outline_sink.hpp"

#include <cmath>

#include <cstdarg>

OutlineSink file_sink(FILE* file, bool inches) {
    return inches ? OutlineSink{file, false, 1.0 / MM_PER_INCH, 8} : OutlineSink{file, false, 1.0, 6};
}

double file_length(const OutlineSink& sink, double mm) {
    const double value = mm * sink.scale;
    return std::fabs(value) <= 0.5 * std::pow(10.0, -sink.decimals) ? 0.0 : value;
}

void sink_printf(OutlineSink& sink, const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (std::vfprintf(sink.file, format, args) < 0) sink.failed = true;
    va_end(args);
}

ProfileBox outlines_extent(const GearOutline* outlines, int count) {
    ProfileBox box = {{0.0, 0.0}, {0.0, 0.0}};
    for (int i = 0; i < count; ++i) {
        const GearOutline& o = outlines[i];
        box.low = ProfilePoint{std::fmin(box.low.x, o.centre.x - o.radius),
                               std::fmin(box.low.y, o.centre.y - o.radius)};
        box.high = ProfilePoint{std::fmax(box.high.x, o.centre.x + o.radius),
                                std::fmax(box.high.y, o.centre.y + o.radius)};
    }
    return box;
}
