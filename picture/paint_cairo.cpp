// The frame record painted with Cairo onto its PNG, SVG and PDF surfaces.
// Calls used: cairo_{image,svg,pdf}_surface_create*, cairo_set_antialias,
// cairo_set_source_rgb, cairo_set_line_width/cap/join, cairo_move_to/line_to/
// close_path, cairo_stroke/fill, cairo_select_font_face, cairo_show_text.
// PNG is painted without antialiasing, so its pixels are the window's wherever
// the two rasterisers agree. No state of its own.
#include "picture/picture.hpp"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <cerrno>
#include <initializer_list>

// GLUT's Helvetica 18 in the window; Nimbus Sans has Helvetica's metrics.
static const char* const LEGEND_FONT = "Nimbus Sans";
constexpr double LEGEND_FONT_PIXELS = 18.0;

// View units to pixels of a width × height frame: x from the left, y from the top.
struct PixelMap {
    double half_width;
    double half_height;
};

static void move_to(cairo_t* cr, const PixelMap& map, const RecordVertex& v) {
    cairo_move_to(cr, (v.x + 1.0) * map.half_width, (1.0 - v.y) * map.half_height);
}

static void line_to(cairo_t* cr, const PixelMap& map, const RecordVertex& v) {
    cairo_line_to(cr, (v.x + 1.0) * map.half_width, (1.0 - v.y) * map.half_height);
}

// Independent segments; one that starts where the last ended continues the
// path, so a polyline recorded as segments is stroked as one line.
static void path_of_lines(cairo_t* cr, const PixelMap& map, const RecordVertex* v, int count) {
    for (int i = 0; i + 1 < count; i += 2) {
        bool continues = i > 0 && v[i].x == v[i - 1].x && v[i].y == v[i - 1].y;
        if (!continues) move_to(cr, map, v[i]);
        line_to(cr, map, v[i + 1]);
    }
}

static void path_of_loop(cairo_t* cr, const PixelMap& map, const RecordVertex* v, int count) {
    move_to(cr, map, v[0]);
    for (int i = 1; i < count; ++i) line_to(cr, map, v[i]);
    cairo_close_path(cr);
}

static void paint_item(cairo_t* cr, const FrameRecord& record, const PixelMap& map, const RecordItem& item) {
    if (item.vertex_count < 1) return;
    const RecordVertex* v = record.vertices + item.first_vertex;
    cairo_set_source_rgb(cr, item.colour.red, item.colour.green, item.colour.blue);
    switch (item.kind) {
        case ItemKind::LINES:
            path_of_lines(cr, map, v, item.vertex_count);
            cairo_set_line_width(cr, item.width);
            cairo_stroke(cr);
            break;
        case ItemKind::LINE_LOOP:
            path_of_loop(cr, map, v, item.vertex_count);
            cairo_set_line_width(cr, item.width);
            cairo_stroke(cr);
            break;
        case ItemKind::POLYGON:
            path_of_loop(cr, map, v, item.vertex_count);
            cairo_fill(cr);
            break;
        case ItemKind::TEXT:
            if (item.text_offset < 0) return;
            cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);  // the window's legend is black
            move_to(cr, map, v[0]);                   // the raster position is on the baseline
            cairo_show_text(cr, record.text + item.text_offset);
            cairo_new_path(cr);
            break;
    }
}

static void set_legend_font(cairo_t* cr, PictureFormat format) {
    cairo_select_font_face(cr, LEGEND_FONT, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, LEGEND_FONT_PIXELS);
    if (format != PICTURE_PNG) return;
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

// White ground, then every plain item in order, then the trace items over them.
static void paint_record(cairo_t* cr, const FrameRecord& record, PictureFormat format) {
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_paint(cr);
    if (format == PICTURE_PNG) cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);  // GL's wide lines end square at their ends
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    set_legend_font(cr, format);
    const PixelMap map = {record.width / 2.0, record.height / 2.0};
    for (int layer : {ITEM_LAYER_PLAIN, ITEM_LAYER_TRACE})
        for (int i = 0; i < record.item_count; ++i)
            if (record.items[i].layer == layer) paint_item(cr, record, map, record.items[i]);
}

static cairo_status_t write_to_file(void* closure, const unsigned char* data, unsigned int length) {
    FILE* file = static_cast<FILE*>(closure);
    return std::fwrite(data, 1, length, file) == length ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

static cairo_surface_t* create_surface(PictureFormat format, int width, int height, FILE* file) {
    switch (format) {
        case PICTURE_SVG: {
            cairo_surface_t* svg = cairo_svg_surface_create_for_stream(write_to_file, file, width, height);
            cairo_svg_surface_set_document_unit(svg, CAIRO_SVG_UNIT_PX);  // width="800px", not points
            return svg;
        }
        case PICTURE_PDF:
            return cairo_pdf_surface_create_for_stream(write_to_file, file, width, height);
        default:
            return cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    }
}

int write_record_picture(const FrameRecord& record, PictureFormat format, FILE* file) {
    cairo_surface_t* surface = create_surface(format, record.width, record.height, file);
    cairo_t* cr = cairo_create(surface);
    paint_record(cr, record, format);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS && format == PICTURE_PNG)
        status = cairo_surface_write_to_png_stream(surface, write_to_file, file);
    cairo_surface_finish(surface);  // vector surfaces write their last bytes here
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    errno = 0;
    if (status == CAIRO_STATUS_SUCCESS && std::fflush(file) != 0) return errno != 0 ? errno : EIO;
    if (status == CAIRO_STATUS_NO_MEMORY) return ENOMEM;
    if (status != CAIRO_STATUS_SUCCESS) return EIO;
    return 0;
}
