// The gear outline as an ASCII DXF of the AutoCAD 2000 form: a header with the
// drawing units and extents, and one closed LWPOLYLINE as the only entity of
// the model space. Every line pair is a group code and its value. No state.
#include "outline/outline.hpp"
#include "outline/outline_sink.hpp"

#include <cmath>

constexpr int INSUNITS_MILLIMETRES = 4;
constexpr int POLYLINE_HANDLE = 0x100;  // any handle will do; $HANDSEED lies above it

static void write_header(OutlineSink& sink, const ProfilePoint* points, int count) {
    double low_x = 0, low_y = 0, high_x = 0, high_y = 0;
    for (int i = 0; i < count; ++i) {
        low_x = std::fmin(low_x, points[i].x);
        low_y = std::fmin(low_y, points[i].y);
        high_x = std::fmax(high_x, points[i].x);
        high_y = std::fmax(high_y, points[i].y);
    }
    sink_printf(sink, "0\nSECTION\n2\nHEADER\n");
    sink_printf(sink, "9\n$ACADVER\n1\nAC1015\n");
    sink_printf(sink, "9\n$INSUNITS\n70\n%d\n", INSUNITS_MILLIMETRES);
    sink_printf(sink, "9\n$EXTMIN\n10\n%.6f\n20\n%.6f\n30\n0.0\n", low_x, low_y);
    sink_printf(sink, "9\n$EXTMAX\n10\n%.6f\n20\n%.6f\n30\n0.0\n", high_x, high_y);
    sink_printf(sink, "9\n$HANDSEED\n5\n%X\n", POLYLINE_HANDLE + 1);
    sink_printf(sink, "0\nENDSEC\n");
}

// 90: vertex count, 70 = 1: closed (the last vertex joins the first).
static void write_polyline(OutlineSink& sink, const ProfilePoint* points, int count) {
    sink_printf(sink, "0\nSECTION\n2\nENTITIES\n");
    sink_printf(sink, "0\nLWPOLYLINE\n5\n%X\n100\nAcDbEntity\n8\n0\n100\nAcDbPolyline\n", POLYLINE_HANDLE);
    sink_printf(sink, "90\n%d\n70\n1\n", count);
    for (int i = 0; i < count; ++i) sink_printf(sink, "10\n%.6f\n20\n%.6f\n", points[i].x, points[i].y);
    sink_printf(sink, "0\nENDSEC\n0\nEOF\n");
}

bool write_outline_dxf_file(const ProfilePoint* points, int count, FILE* file) {
    OutlineSink sink = file_sink(file);
    write_header(sink, points, count);
    write_polyline(sink, points, count);
    return !sink.failed;
}
