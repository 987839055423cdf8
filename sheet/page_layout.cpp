// The sheet's page: its frame, the title band, the gear's data table in the
// left column, the drawing and the mate's and pair's table in the right, all
// within the margins a drawing is filed with. No state.
#include "sheet/sheet_private.hpp"

#include <cstdio>

// The frame: the filing margin on the left, 10 mm elsewhere.
constexpr SheetBox FRAME = {20.0, 10.0, 180.0, 277.0};
constexpr double FRAME_LINE = 0.7;
constexpr double TITLE_BAND = 17.0;  // mm under the frame's top
constexpr double TITLE_SIZE = 5.0;
constexpr double SUBTITLE_SIZE = 3.0;
constexpr double DRAWING_HEIGHT = 130.0;  // mm of the right column above the pair's table

static void title(cairo_t* cr, const GearSheet& sheet) {
    const GearData& gear = sheet.data->gear;
    const bool ja = sheet.japanese;
    const bool helix = gear.helix_angle > 0.0;
    char text[160];
    std::snprintf(
        text, sizeof text, "%s%s z = %d, x = %g, %s %g mm",
        ja ? "歯車諸元表：" : "Gear data sheet:", gear.internal ? (ja ? "内歯車" : " internal gear,") : "",
        gear.teeth, gear.shift,
        helix ? (ja ? "歯直角モジュール" : "normal module") : (ja ? "モジュール" : "module"), gear.module);
    const double left = FRAME.left + 3.0;
    sheet_text(cr, text, TITLE_SIZE, left, FRAME.top + 8.5, 0.0, true);
    sheet_text(cr, ja ? "長さの単位 mm、角度の単位 度（deg）" : "Lengths in millimetres, angles in degrees",
               SUBTITLE_SIZE, left, FRAME.top + 14.0, 0.0);
    sheet_text(cr, "rackgen", SUBTITLE_SIZE, FRAME.left + FRAME.width - 3.0, FRAME.top + 14.0, 1.0);
}

static void line(cairo_t* cr, double x0, double y0, double x1, double y1, double width) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

static void paint_sheet(cairo_t* cr, const void* context) {
    const GearSheet& sheet = *static_cast<const GearSheet*>(context);
    cairo_scale(cr, POINTS_PER_MM, POINTS_PER_MM);  // millimetres from here on
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_rectangle(cr, FRAME.left, FRAME.top, FRAME.width, FRAME.height);
    cairo_set_line_width(cr, FRAME_LINE);
    cairo_stroke(cr);
    title(cr, sheet);

    const double body_top = FRAME.top + TITLE_BAND;
    const double body_height = FRAME.height - TITLE_BAND;
    const double middle = FRAME.left + 0.5 * FRAME.width;
    line(cr, FRAME.left, body_top, FRAME.left + FRAME.width, body_top, THICK_LINE);
    line(cr, middle, body_top, middle, FRAME.top + FRAME.height, THICK_LINE);
    const bool ja = sheet.japanese;
    const SheetBox left = {FRAME.left, body_top, 0.5 * FRAME.width, body_height};
    draw_table(cr, ja ? "歯車" : "The gear", gear_rows(sheet.data->gear), 0, ja, left);

    const bool pair = sheet.data->with_pair;
    const SheetBox drawing = {middle, body_top, 0.5 * FRAME.width, DRAWING_HEIGHT};
    draw_gear(cr, sheet, drawing);
    if (!pair) return;
    const double pair_top = body_top + DRAWING_HEIGHT;
    line(cr, middle, pair_top, FRAME.left + FRAME.width, pair_top, THICK_LINE);
    const SheetBox pair_box = {middle, pair_top, 0.5 * FRAME.width, body_height - DRAWING_HEIGHT};
    // pair_rows begins with the mate's z and x, which --info says in the mate's own table.
    draw_table(cr, ja ? "相手歯車とかみあい" : "The mate and the pair in mesh",
               pair_rows(sheet.data->mate, sheet.data->pair), 2, ja, pair_box);
}

int write_gear_sheet(const GearSheet& sheet, PictureFormat format, FILE* file) {
    const PicturePage page = {format, PAGE_WIDTH * POINTS_PER_MM, PAGE_HEIGHT * POINTS_PER_MM, true};
    return write_cairo_picture(page, paint_sheet, &sheet, file);
}
