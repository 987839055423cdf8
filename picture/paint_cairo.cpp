// The frame record painted with Cairo onto its PNG, SVG and PDF surfaces.
// Calls used: cairo_{image,svg,pdf}_surface_create*, cairo_set_antialias, cairo_save/restore,
// cairo_set_source_rgb, cairo_set_line_width/cap/join, cairo_move_to/line_to/
// close_path/rectangle, cairo_stroke/fill/clip, cairo_select_font_face, cairo_show_text.
// PNG is painted without antialiasing and with lines widened as GL widens
// them, so its pixels are the window's wherever the two rasterisers agree; what lies wholly outside the view
// is left out, so a vector file holds only what can be seen. No state of its own.
#include "picture/picture.hpp"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cerrno>
#include <cmath>
#include <initializer_list>

const char* picture_font(const char* text) {
    // UTF-8 lead bytes 0xC2 and 0xC3 begin Latin-1's signs (°, ±, ×), which the
    // Latin font has; any other byte above ASCII is part of a wider character.
    for (const char* c = text; *c != '\0'; ++c) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        if (byte == 0xC2 || byte == 0xC3) {
            if (c[1] != '\0') ++c;  // its continuation byte
        } else if (byte >= 0x80) {
            return PICTURE_JAPANESE_FONT;
        }
    }
    return PICTURE_LATIN_FONT;
}
constexpr double LEGEND_FONT_PIXELS = 18.0;

// View units to pixels of a width × height frame: x from the left, y from the top.
struct PixelMap {
    double half_width;
    double half_height;
};

static double pixel_x(const PixelMap& map, const RecordVertex& v) {
    return (v.x + 1.0) * map.half_width;
}

static double pixel_y(const PixelMap& map, const RecordVertex& v) {
    return (1.0 - v.y) * map.half_height;
}

static void move_to(cairo_t* cr, const PixelMap& map, const RecordVertex& v) {
    cairo_move_to(cr, pixel_x(map, v), pixel_y(map, v));
}

static void line_to(cairo_t* cr, const PixelMap& map, const RecordVertex& v) {
    cairo_line_to(cr, pixel_x(map, v), pixel_y(map, v));
}

// The view square -1 … 1 widened by reach (view units) on every side: what
// lies wholly beyond it on one side cannot be seen, and is left out of the
// picture as the window leaves it out of the frame.
struct View {
    double reach;
};

static bool beyond_view(const View& view, const RecordVertex* v, int count) {
    const double edge = 1.0 + view.reach;
    bool left = true, right = true, below = true, above = true;
    for (int i = 0; i < count; ++i) {
        left = left && v[i].x < -edge;
        right = right && v[i].x > edge;
        below = below && v[i].y < -edge;
        above = above && v[i].y > edge;
    }
    return left || right || below || above;
}

// Independent segments; one that starts where the last drawn one ended
// continues the path, so a polyline recorded as segments is stroked as one line.
static void path_of_lines(cairo_t* cr, const PixelMap& map, const View& view, const RecordVertex* v,
                          int count) {
    bool drawn_last = false;
    for (int i = 0; i + 1 < count; i += 2) {
        if (beyond_view(view, v + i, 2)) {
            drawn_last = false;
            continue;
        }
        bool continues = drawn_last && v[i].x == v[i - 1].x && v[i].y == v[i - 1].y;
        if (!continues) move_to(cr, map, v[i]);
        line_to(cr, map, v[i + 1]);
        drawn_last = true;
    }
}

// A segment as GL rasterises a wide line: widened by width pixels along the
// minor axis only (up and down for a line nearer horizontal, sideways
// otherwise), not across its direction. Every parallelogram is given the same
// turning sense, so overlapping ones fill as one under the winding rule.
static void path_of_window_segment(cairo_t* cr, const PixelMap& map, const RecordVertex& a,
                                   const RecordVertex& b, double width) {
    double ax = pixel_x(map, a), ay = pixel_y(map, a);
    double bx = pixel_x(map, b), by = pixel_y(map, b);
    bool x_major = std::fabs(bx - ax) >= std::fabs(by - ay);
    double ox = x_major ? 0.0 : width / 2.0;
    double oy = x_major ? width / 2.0 : 0.0;
    if ((bx - ax) * oy - (by - ay) * ox > 0.0) {
        ox = -ox;
        oy = -oy;
    }
    cairo_move_to(cr, ax + ox, ay + oy);
    cairo_line_to(cr, bx + ox, by + oy);
    cairo_line_to(cr, bx - ox, by - oy);
    cairo_line_to(cr, ax - ox, ay - oy);
    cairo_close_path(cr);
}

// The item's segments (pairs, or a closed loop) that reach into the rows of
// pixels from top to bottom added to the path as the window's pixels. Returns
// whether one of them is slanted (neither level nor upright).
static bool path_of_window_lines(cairo_t* cr, const PixelMap& map, const View& view, const RecordItem& item,
                                 const RecordVertex* v, double top, double bottom) {
    const bool loop = item.kind == ItemKind::LINE_LOOP;
    const int n = item.vertex_count;
    const double reach = item.width / 2.0 + 1.0;  // pixels a segment's parallelogram reaches past its ends
    bool slanted = false;
    for (int i = 0; loop ? i < n : i + 1 < n; i += loop ? 1 : 2) {
        const RecordVertex ends[2] = {v[i], v[(i + 1) % n]};
        const double ay = pixel_y(map, ends[0]);
        const double by = pixel_y(map, ends[1]);
        if (std::fmax(ay, by) + reach < top || std::fmin(ay, by) - reach > bottom) continue;
        if (beyond_view(view, ends, 2)) continue;
        path_of_window_segment(cr, map, ends[0], ends[1], item.width);
        slanted = slanted || (ends[0].x != ends[1].x && ends[0].y != ends[1].y);
    }
    return slanted;
}

// Cairo's scan converter keeps the edges that cross a row sorted along it,
// and thousands of trace segments cross each other all over the frame: a long
// item is filled in bands of BAND_ROWS rows.
constexpr double BAND_ROWS = 16.0;
constexpr int BANDED_FROM_SEGMENTS = 1000;

// The item's segments (pairs, or a closed loop) filled as the window's pixels,
// as one path, so overlapping parallelograms fill as their union. A long item
// is filled band by band, each clipped to its whole rows with only the segments
// that reach into them: the converter decides each row by the edges that cross
// it, so the bands colour the pixels one fill of the whole item colours. A band
// of level and upright segments alone would be filled as boxes, which round
// otherwise; it is given the whole item's path.
static void fill_window_lines(cairo_t* cr, const PixelMap& map, const View& view, const RecordItem& item,
                              const RecordVertex* v) {
    const double height = 2.0 * map.half_height;
    if (item.vertex_count < 2 * BANDED_FROM_SEGMENTS) {
        path_of_window_lines(cr, map, view, item, v, -HUGE_VAL, HUGE_VAL);
        cairo_fill(cr);
        return;
    }
    for (double top = 0.0; top < height; top += BAND_ROWS) {
        const double bottom = std::fmin(top + BAND_ROWS, height);
        cairo_save(cr);
        cairo_rectangle(cr, 0.0, top, 2.0 * map.half_width, bottom - top);
        cairo_clip(cr);
        if (!path_of_window_lines(cr, map, view, item, v, top, bottom)) {
            cairo_new_path(cr);
            path_of_window_lines(cr, map, view, item, v, -HUGE_VAL, HUGE_VAL);
        }
        cairo_fill(cr);
        cairo_restore(cr);
    }
}

static void path_of_loop(cairo_t* cr, const PixelMap& map, const RecordVertex* v, int count) {
    move_to(cr, map, v[0]);
    for (int i = 1; i < count; ++i) line_to(cr, map, v[i]);
    cairo_close_path(cr);
}

// window_pixels: lines as the window's GL rasterises them (for PNG); otherwise
// ordinary strokes, which a vector picture scales cleanly.
static void paint_item(cairo_t* cr, const FrameRecord& record, const PixelMap& map, const RecordItem& item,
                       bool window_pixels) {
    if (item.vertex_count < 1) return;
    const RecordVertex* v = record.vertices + item.first_vertex;
    // Half a line's width and a pixel, in view units of the narrower side.
    const double pixels = map.half_width < map.half_height ? map.half_width : map.half_height;
    const View view = {(item.width / 2.0 + 1.0) / pixels};
    if (item.kind != ItemKind::TEXT && beyond_view(view, v, item.vertex_count)) return;
    cairo_set_source_rgb(cr, item.colour.red, item.colour.green, item.colour.blue);
    if (window_pixels && (item.kind == ItemKind::LINES || item.kind == ItemKind::LINE_LOOP)) {
        fill_window_lines(cr, map, view, item, v);
        return;
    }
    switch (item.kind) {
        case ItemKind::LINES:
            path_of_lines(cr, map, view, v, item.vertex_count);
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
            cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);  // black; the window's GL legend is 0.04 grey
            move_to(cr, map, v[0]);                   // the raster position is on the baseline
            if (picture_font(record.text + item.text_offset) != PICTURE_LATIN_FONT) {
                cairo_save(cr);
                cairo_select_font_face(cr, PICTURE_JAPANESE_FONT, CAIRO_FONT_SLANT_NORMAL,
                                       CAIRO_FONT_WEIGHT_NORMAL);
                cairo_show_text(cr, record.text + item.text_offset);
                cairo_restore(cr);
            } else {
                cairo_show_text(cr, record.text + item.text_offset);
            }
            cairo_new_path(cr);
            break;
    }
}

static void set_legend_font(cairo_t* cr, PictureFormat format) {
    cairo_select_font_face(cr, PICTURE_LATIN_FONT, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, LEGEND_FONT_PIXELS);
    if (format != PICTURE_PNG) return;
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

// White ground, then every plain item in order, the trace items over them and
// the data panel over everything.
static void paint_record(cairo_t* cr, const FrameRecord& record, PictureFormat format) {
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_paint(cr);
    if (format == PICTURE_PNG) cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);  // GL's wide lines end square at their ends
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    set_legend_font(cr, format);
    const PixelMap map = {record.width / 2.0, record.height / 2.0};
    for (int layer : {ITEM_LAYER_PLAIN, ITEM_LAYER_TRACE, ITEM_LAYER_PANEL})
        for (int i = 0; i < record.item_count; ++i)
            if (record.items[i].layer == layer)
                paint_item(cr, record, map, record.items[i], format == PICTURE_PNG);
}

// Where Cairo's writes go, and the errno of the first that failed: Cairo itself
// only knows that a write failed, not why (a full disk, say).
struct PictureFile {
    FILE* file;
    int fault;
};

static cairo_status_t write_to_file(void* closure, const unsigned char* data, unsigned int length) {
    PictureFile& out = *static_cast<PictureFile*>(closure);
    errno = 0;
    if (std::fwrite(data, 1, length, out.file) == length) return CAIRO_STATUS_SUCCESS;
    if (out.fault == 0) out.fault = errno != 0 ? errno : EIO;
    return CAIRO_STATUS_WRITE_ERROR;
}

static cairo_surface_t* create_surface(const PicturePage& page, PictureFile* out) {
    switch (page.format) {
        case PICTURE_SVG: {
            cairo_surface_t* svg =
                cairo_svg_surface_create_for_stream(write_to_file, out, page.width, page.height);
            // width="800px" for a frame; a printed page says its size in points
            cairo_svg_surface_set_document_unit(svg,
                                                page.svg_in_points ? CAIRO_SVG_UNIT_PT : CAIRO_SVG_UNIT_PX);
            return svg;
        }
        case PICTURE_PDF:
            return cairo_pdf_surface_create_for_stream(write_to_file, out, page.width, page.height);
        default:
            return cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(page.width),
                                              static_cast<int>(page.height));
    }
}

int write_cairo_picture(const PicturePage& page, void (*paint)(cairo_t* cr, const void* context),
                        const void* context, FILE* file) {
    PictureFile out = {file, 0};
    cairo_surface_t* surface = create_surface(page, &out);
    cairo_t* cr = cairo_create(surface);
    paint(cr, context);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS && page.format == PICTURE_PNG)
        status = cairo_surface_write_to_png_stream(surface, write_to_file, &out);
    cairo_surface_finish(surface);  // vector surfaces write their last bytes here
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    errno = 0;
    if (status == CAIRO_STATUS_SUCCESS && std::fflush(file) != 0) return errno != 0 ? errno : EIO;
    if (status == CAIRO_STATUS_NO_MEMORY) return ENOMEM;
    if (status != CAIRO_STATUS_SUCCESS) return out.fault != 0 ? out.fault : EIO;
    return 0;
}

// A record and the format it is painted for: write_cairo_picture's context.
struct RecordPicture {
    const FrameRecord* record;
    PictureFormat format;
};

static void paint_record_picture(cairo_t* cr, const void* context) {
    const RecordPicture& picture = *static_cast<const RecordPicture*>(context);
    paint_record(cr, *picture.record, picture.format);
}

int write_record_picture(const FrameRecord& record, PictureFormat format, FILE* file) {
    const RecordPicture picture = {&record, format};
    const PicturePage page = {format, static_cast<double>(record.width), static_cast<double>(record.height),
                              false};
    return write_cairo_picture(page, paint_record_picture, &picture, file);
}

int paint_record_pixels(const FrameRecord& record, unsigned char* pixels, int stride) {
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_RGB24, record.width, record.height, stride);
    cairo_t* cr = cairo_create(surface);
    paint_record(cr, record, PICTURE_PNG);
    const cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return status == CAIRO_STATUS_SUCCESS ? 0 : ENOMEM;
}

void release_picture_fonts() {
    cairo_debug_reset_static_data();  // Cairo's font caches first: they hold fontconfig's patterns
    FcFini();
}
