// The gear outline as SVG: one closed path in millimetres, stroke only. No state.
#include "outline/outline.hpp"
#include "outline/outline_sink.hpp"

#include <cmath>

// Hairline for a laser or plotter: 0.1 mm, thinner for gears below module 1.
constexpr double STROKE_MM = 0.1;
// Room round the gear, as a share of its largest radius.
constexpr double MARGIN_SHARE = 0.02;

// The largest distance of a vertex from the gear centre (the origin).
static double outline_radius(const ProfilePoint* points, int count) {
    double radius = 0.0;
    for (int i = 0; i < count; ++i) radius = std::fmax(radius, std::hypot(points[i].x, points[i].y));
    return radius;
}

// SVG's y runs down, so every y is written negated.
static void write_svg(OutlineSink& sink, const ProfilePoint* points, int count) {
    double radius = outline_radius(points, count);
    double stroke = radius > 0.0 ? std::fmin(STROKE_MM, radius / 100.0) : STROKE_MM;
    double half = radius * (1.0 + MARGIN_SHARE) + stroke;  // half the picture's side, mm
    sink_printf(sink, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    sink_printf(sink,
                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.6fmm\" height=\"%.6fmm\" "
                "viewBox=\"%.6f %.6f %.6f %.6f\">\n",
                2 * half, 2 * half, -half, -half, 2 * half, 2 * half);
    sink_printf(sink, "<path fill=\"none\" stroke=\"black\" stroke-width=\"%.6f\" d=\"", stroke);
    for (int i = 0; i < count; ++i)
        sink_printf(sink, "%s%.6f %.6f\n", i == 0 ? "M " : "L ", points[i].x, -points[i].y);
    sink_printf(sink, "Z\"/>\n</svg>\n");
}

bool write_outline_svg_file(const ProfilePoint* points, int count, FILE* file) {
    OutlineSink sink = file_sink(file);
    write_svg(sink, points, count);
    return !sink.failed;
}
