// The gear outlines as an ASCII DXF of the AutoCAD 2000 form: a header with the
// drawing units (millimetres or inches) and extents, and one closed LWPOLYLINE
// with bulges for each (the gear, and its mate beside it; a ring, and its rim)
// as the only entities of the model space. Every line pair is a group code and its value. No state.
#include "outline/outline.hpp"
#include "outline/outline_sink.hpp"

#include <cmath>

constexpr int INSUNITS_INCHES = 1;
constexpr int INSUNITS_MILLIMETRES = 4;
constexpr int POLYLINE_HANDLE = 0x100;  // any handle will do; $HANDSEED lies above it

// The extents: the rectangle about the circles the outlines keep within.
static void write_header(OutlineSink& sink, const GearOutline* outlines, int count, int entities) {
    const ProfileBox extent = outlines_extent(outlines, count);
    const ProfilePoint low = extent.low;
    const ProfilePoint high = extent.high;
    sink_printf(sink, "0\nSECTION\n2\nHEADER\n");
    sink_printf(sink, "9\n$ACADVER\n1\nAC1015\n");
    sink_printf(sink, "9\n$INSUNITS\n70\n%d\n", sink.scale == 1.0 ? INSUNITS_MILLIMETRES : INSUNITS_INCHES);
    sink_printf(sink, "9\n$EXTMIN\n10\n%.*f\n20\n%.*f\n30\n0.0\n", sink.decimals, file_length(sink, low.x),
                sink.decimals, file_length(sink, low.y));
    sink_printf(sink, "9\n$EXTMAX\n10\n%.*f\n20\n%.*f\n30\n0.0\n", sink.decimals, file_length(sink, high.x),
                sink.decimals, file_length(sink, high.y));
    sink_printf(sink, "9\n$HANDSEED\n5\n%X\n", POLYLINE_HANDLE + entities);
    sink_printf(sink, "0\nENDSEC\n");
}

// 90: vertex count, 70 = 1: closed (the last vertex joins the first); 42: the
// bulge of the side that leaves the vertex, given only for an arc.
static void write_polyline(OutlineSink& sink, const GearOutline& outline, int handle) {
    const int count = outline_vertex_count(outline);
    sink_printf(sink, "0\nLWPOLYLINE\n5\n%X\n100\nAcDbEntity\n8\n0\n100\nAcDbPolyline\n", handle);
    sink_printf(sink, "90\n%d\n70\n1\n", count);
    for (int i = 0; i < count; ++i) {
        const OutlineVertex v = outline_vertex(outline, i);
        sink_printf(sink, "10\n%.*f\n20\n%.*f\n", sink.decimals, file_length(sink, v.point.x), sink.decimals,
                    file_length(sink, v.point.y));
        if (v.bulge != 0.0) sink_printf(sink, "42\n%.12g\n", v.bulge);
    }
}

// A ring's rim: its points on +x and -x, each side a half circle
// counter-clockwise (bulge tan(π/4) = 1).
static void write_rim(OutlineSink& sink, const GearOutline& outline, int handle) {
    const double r = outline.rim;
    const ProfilePoint c = outline.centre;
    sink_printf(sink, "0\nLWPOLYLINE\n5\n%X\n100\nAcDbEntity\n8\n0\n100\nAcDbPolyline\n", handle);
    sink_printf(sink, "90\n2\n70\n1\n");
    for (const double x : {c.x + r, c.x - r})
        sink_printf(sink, "10\n%.*f\n20\n%.*f\n42\n1\n", sink.decimals, file_length(sink, x), sink.decimals,
                    file_length(sink, c.y));
}

bool write_outlines_dxf_file(const GearOutline* outlines, int count, FILE* file, bool inches) {
    OutlineSink sink = file_sink(file, inches);
    int entities = count;
    for (int i = 0; i < count; ++i)
        if (outlines[i].rim > 0.0) ++entities;
    // A note (a thinned gear's cut) as a comment before the header.
    for (int i = 0; i < count; ++i)
        if (!outlines[i].note.empty()) sink_printf(sink, "999\n%s\n", outlines[i].note.c_str());
    write_header(sink, outlines, count, entities);
    sink_printf(sink, "0\nSECTION\n2\nENTITIES\n");
    int handle = POLYLINE_HANDLE;
    for (int i = 0; i < count; ++i) {
        write_polyline(sink, outlines[i], handle++);
        if (outlines[i].rim > 0.0) write_rim(sink, outlines[i], handle++);
    }
    sink_printf(sink, "0\nENDSEC\n0\nEOF\n");
    return !sink.failed;
}
