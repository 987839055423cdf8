// The sheet painted through Cairo onto a PDF page (the native program only):
// each painter call a Cairo path, stroked or filled at once, in millimetres;
// a line of text in the font its characters ask for (picture_font), placed
// by its own advance for its alignment. No state.
#include "picture/picture.hpp"
#include "sheet/sheet_private.hpp"

#include <cmath>

static cairo_t* context_of(void* target) {
    return static_cast<cairo_t*>(target);
}

static void stroke(cairo_t* cr, const SheetStroke& stroke) {
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_set_line_width(cr, stroke.width);
    cairo_set_dash(cr, stroke.dashes, stroke.dash_count, 0.0);
    cairo_stroke(cr);
}

static void line(void* target, double x0, double y0, double x1, double y1, const SheetStroke& pen) {
    cairo_t* cr = context_of(target);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    stroke(cr, pen);
}

static void rectangle(void* target, const SheetBox& box, double grey, const SheetStroke* pen) {
    cairo_t* cr = context_of(target);
    if (grey >= 0.0) {
        cairo_rectangle(cr, box.left, box.top, box.width, box.height);
        cairo_set_source_rgb(cr, grey, grey, grey);
        cairo_fill(cr);
    }
    if (pen == nullptr) return;
    cairo_rectangle(cr, box.left, box.top, box.width, box.height);
    stroke(cr, *pen);
}

static void circle(void* target, double cx, double cy, double radius, const SheetStroke& pen) {
    cairo_t* cr = context_of(target);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, 0.0, 2.0 * M_PI);
    stroke(cr, pen);
}

static void move_to(void* target, double x, double y) {
    cairo_move_to(context_of(target), x, y);
}

static void line_to(void* target, double x, double y) {
    cairo_line_to(context_of(target), x, y);
}

static void arc_to(void* target, double x, double y, double cx, double cy, bool clockwise) {
    cairo_t* cr = context_of(target);
    double ax = 0.0, ay = 0.0;
    cairo_get_current_point(cr, &ax, &ay);
    const double radius = std::hypot(ax - cx, ay - cy);
    const double from = std::atan2(ay - cy, ax - cx), to = std::atan2(y - cy, x - cx);
    // Cairo's angles grow clockwise on a page whose y runs down.
    if (clockwise)
        cairo_arc(cr, cx, cy, radius, from, to);
    else
        cairo_arc_negative(cr, cx, cy, radius, from, to);
}

static void close_path(void* target) {
    cairo_close_path(context_of(target));
}

static void stroke_path(void* target, const SheetStroke& pen) {
    cairo_t* cr = context_of(target);
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    stroke(cr, pen);
    cairo_restore(cr);
}

static void text(void* target, const char* text, double x, double baseline, const SheetFont& font) {
    cairo_t* cr = context_of(target);
    cairo_select_font_face(cr, picture_font(text), CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    const double share = font.align == SHEET_LEFT ? 0.0 : font.align == SHEET_CENTRE ? 0.5 : 1.0;
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_move_to(cr, x - share * extents.x_advance, baseline);
    cairo_show_text(cr, text);
    cairo_new_path(cr);
}

static void paint_sheet(cairo_t* cr, const void* context) {
    cairo_scale(cr, POINTS_PER_MM, POINTS_PER_MM);  // millimetres from here on
    const SheetPainter painter = {cr,      line,   rectangle,  circle,      move_to,
                                  line_to, arc_to, close_path, stroke_path, text};
    paint_gear_sheet(*static_cast<const GearSheet*>(context), painter);
}

int write_gear_sheet_pdf(const GearSheet& sheet, FILE* file) {
    const PicturePage page = {PICTURE_PDF, PAGE_WIDTH * POINTS_PER_MM, PAGE_HEIGHT * POINTS_PER_MM, true};
    return write_cairo_picture(page, paint_sheet, &sheet, file);
}
