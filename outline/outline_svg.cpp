// The gear outlines as SVG: one closed path of lines and arcs in millimetres
// (or inches) for each (the gear, and its mate beside it), stroke only; a
// ring's path holds its rim as well and fills its material. No state.
#include "outline/outline.hpp"
#include "outline/outline_sink.hpp"

#include <cmath>

// Hairline for a laser or plotter: 0.1 mm, thinner for gears below module 1.
constexpr double STROKE_MM = 0.1;
// Room round the gear, as a share of its largest radius.
constexpr double MARGIN_SHARE = 0.02;

// The side from vertex `from` to point `to`. An arc of angle φ = 4·atan(bulge)
// over a chord c has the radius c / (2·sin(φ/2)) = c·(1 + bulge²) / (4·|bulge|);
// it is the larger arc when |φ| > π, |bulge| > 1. SVG's y runs down, so a
// counter-clockwise arc in the gear runs clockwise in the picture: sweep 1.
static void write_side(OutlineSink& sink, const OutlineVertex& from, const ProfilePoint& to) {
    if (from.bulge == 0.0) {
        sink_printf(sink, "L %.*f %.*f\n", sink.decimals, file_length(sink, to.x), sink.decimals,
                    file_length(sink, -to.y));
        return;
    }
    const double b = std::fabs(from.bulge);
    const double radius = std::hypot(to.x - from.point.x, to.y - from.point.y) * (1.0 + b * b) / (4.0 * b);
    sink_printf(sink, "A %.*f %.*f 0 %d %d %.*f %.*f\n", sink.decimals, file_length(sink, radius),
                sink.decimals, file_length(sink, radius), b > 1.0 ? 1 : 0, from.bulge > 0.0 ? 1 : 0,
                sink.decimals, file_length(sink, to.x), sink.decimals, file_length(sink, -to.y));
}

// A ring's rim: from its point on +x half round to -x and back, two arcs.
static void write_rim(OutlineSink& sink, const GearOutline& outline) {
    const double r = outline.rim;
    const ProfilePoint c = outline.centre;
    sink_printf(sink, "M %.*f %.*f\n", sink.decimals, file_length(sink, c.x + r), sink.decimals,
                file_length(sink, -c.y));
    for (const double to : {c.x - r, c.x + r})
        sink_printf(sink, "A %.*f %.*f 0 0 0 %.*f %.*f\n", sink.decimals, file_length(sink, r), sink.decimals,
                    file_length(sink, r), sink.decimals, file_length(sink, to), sink.decimals,
                    file_length(sink, -c.y));
    sink_printf(sink, "Z");
}

static void write_path(OutlineSink& sink, const GearOutline& outline, double stroke) {
    // A ring's material, between the rim and the teeth, is filled.
    const char* fill = outline.rim > 0.0 ? "#c0c0c0\" fill-rule=\"evenodd" : "none";
    sink_printf(sink, "<path fill=\"%s\" stroke=\"black\" stroke-width=\"%.*f\" d=\"", fill, sink.decimals,
                file_length(sink, stroke));
    const int count = outline_vertex_count(outline);
    const OutlineVertex first = outline_vertex(outline, 0);
    sink_printf(sink, "M %.*f %.*f\n", sink.decimals, file_length(sink, first.point.x), sink.decimals,
                file_length(sink, -first.point.y));
    OutlineVertex from = first;
    for (int i = 1; i < count; ++i) {
        const OutlineVertex to = outline_vertex(outline, i);
        write_side(sink, from, to.point);
        from = to;
    }
    if (from.bulge != 0.0) write_side(sink, from, first.point);  // Z closes with a line only
    sink_printf(sink, "Z");
    if (outline.rim > 0.0) {
        sink_printf(sink, "\n");
        write_rim(sink, outline);
    }
    sink_printf(sink, "\"/>\n");
}

// The picture: the square about a single gear's centre, or the rectangle about
// every outline's circle, with room round it.
static void write_svg(OutlineSink& sink, const GearOutline* outlines, int count) {
    double radius = 0.0;
    for (int i = 0; i < count; ++i) radius = std::fmax(radius, outlines[i].radius);
    const ProfileBox extent = outlines_extent(outlines, count);
    const ProfilePoint low = extent.low;
    const ProfilePoint high = extent.high;
    const double stroke = radius > 0.0 ? std::fmin(STROKE_MM, radius / 100.0) : STROKE_MM;
    const double room = radius * MARGIN_SHARE + stroke;  // mm round the outlines
    const double width = high.x - low.x + 2 * room;
    const double height = high.y - low.y + 2 * room;
    const char* unit = sink.scale == 1.0 ? "mm" : "in";
    sink_printf(sink, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    sink_printf(sink,
                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.*f%s\" height=\"%.*f%s\" "
                "viewBox=\"%.*f %.*f %.*f %.*f\">\n",
                sink.decimals, file_length(sink, width), unit, sink.decimals, file_length(sink, height), unit,
                sink.decimals, file_length(sink, low.x - room), sink.decimals,
                file_length(sink, -high.y - room), sink.decimals, file_length(sink, width), sink.decimals,
                file_length(sink, height));
    // A note (a thinned gear's cut) as the picture's title; notes hold no markup.
    for (int i = 0; i < count; ++i)
        if (!outlines[i].note.empty()) sink_printf(sink, "<title>%s</title>\n", outlines[i].note.c_str());
    for (int i = 0; i < count; ++i) write_path(sink, outlines[i], stroke);
    sink_printf(sink, "</svg>\n");
}

bool write_outlines_svg_file(const GearOutline* outlines, int count, FILE* file, bool inches) {
    OutlineSink sink = file_sink(file, inches);
    write_svg(sink, outlines, count);
    return !sink.failed;
}
