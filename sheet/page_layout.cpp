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

static void title(const SheetPainter& painter, const GearSheet& sheet) {
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
    painter.text(painter.target, text, left, FRAME.top + 8.5, {TITLE_SIZE, true, SHEET_LEFT});
    painter.text(painter.target,
                 ja ? "長さの単位 mm、角度の単位 度（deg）" : "Lengths in millimetres, angles in degrees",
                 left, FRAME.top + 14.0, {SUBTITLE_SIZE, false, SHEET_LEFT});
    painter.text(painter.target, "rackgen", FRAME.left + FRAME.width - 3.0, FRAME.top + 14.0,
                 {SUBTITLE_SIZE, false, SHEET_RIGHT});
}

void paint_gear_sheet(const GearSheet& sheet, const SheetPainter& painter) {
    const SheetStroke thick = {THICK_LINE, nullptr, 0};
    const SheetStroke frame = {FRAME_LINE, nullptr, 0};
    painter.rectangle(painter.target, {0.0, 0.0, PAGE_WIDTH, PAGE_HEIGHT}, 1.0, nullptr);
    painter.rectangle(painter.target, FRAME, -1.0, &frame);
    title(painter, sheet);

    const double body_top = FRAME.top + TITLE_BAND;
    const double body_height = FRAME.height - TITLE_BAND;
    const double middle = FRAME.left + 0.5 * FRAME.width;
    const double bottom = FRAME.top + FRAME.height;
    painter.line(painter.target, FRAME.left, body_top, FRAME.left + FRAME.width, body_top, thick);
    painter.line(painter.target, middle, body_top, middle, bottom, thick);
    const bool ja = sheet.japanese;
    const SheetBox left = {FRAME.left, body_top, 0.5 * FRAME.width, body_height};
    draw_table(painter, ja ? "歯車" : "The gear", gear_rows(sheet.data->gear), 0, ja, left);

    const SheetBox drawing = {middle, body_top, 0.5 * FRAME.width, DRAWING_HEIGHT};
    draw_gear(painter, sheet, drawing);
    if (!sheet.data->with_pair) return;
    const double pair_top = body_top + DRAWING_HEIGHT;
    painter.line(painter.target, middle, pair_top, FRAME.left + FRAME.width, pair_top, thick);
    const SheetBox pair_box = {middle, pair_top, 0.5 * FRAME.width, body_height - DRAWING_HEIGHT};
    // pair_rows begins with the mate's z and x, which --info says in the mate's own table.
    draw_table(painter, ja ? "相手歯車とかみあい" : "The mate and the pair in mesh",
               pair_rows(sheet.data->mate, sheet.data->pair), 2, ja, pair_box);
}
