// The gear drawn to scale on the sheet: its whole outline as a thick line, its
// pitch circle dash-dotted, its tip and root circles thin, its centre lines,
// and the scale stated under it. No state.
#include "sheet/sheet_private.hpp"

#include <cmath>
#include <cstdio>

// Chain line (ISO 128, type 04) of the pitch circle and the centre lines:
// long dash, gap, dot, gap, mm.
static const double CHAIN_DASHES[] = {8.0, 1.5, 0.5, 1.5};
constexpr double CENTRE_LINE_REACH = 4.0;  // mm the centre lines reach past the gear
constexpr double SCALE_TEXT_SIZE = 3.5;    // mm
constexpr double SCALE_TEXT_ROOM = 8.0;    // mm at the box's foot for the scale's line

double sheet_scale(double radius_mm, char* text, int capacity) {
    // Enlargements 50000:1 … 2:1, 1:1, then reductions 1:2 … 1:10^8: the first
    // that fits, else the last.
    const double diameter = 2.0 * radius_mm;
    for (int power = 4; power >= 0; --power)
        for (double step : {5.0, 2.0, 1.0}) {
            const double factor = step * std::pow(10.0, power);
            if (diameter * factor > DRAWING_SIDE) continue;
            std::snprintf(text, static_cast<size_t>(capacity), "%.0f:1", factor);
            return factor;
        }
    double reduction = 1.0;
    for (int power = 0; power <= 7; ++power)
        for (double step : {2.0, 5.0, 10.0}) {
            reduction = step * std::pow(10.0, power);
            if (diameter / reduction > DRAWING_SIDE) continue;
            std::snprintf(text, static_cast<size_t>(capacity), "1:%.0f", reduction);
            return 1.0 / reduction;
        }
    std::snprintf(text, static_cast<size_t>(capacity), "1:%.0f", reduction);
    return 1.0 / reduction;
}

// Where a point of the gear (mm, y up) falls on the page (mm, y down).
struct Placing {
    double x;  // the gear centre on the page
    double y;
    double factor;  // the scale
};

static void path_of_outline(cairo_t* cr, const GearOutline& outline, const Placing& at) {
    const int n = outline_vertex_count(outline);
    for (int i = 0; i < n; ++i) {
        const OutlineVertex v = outline_vertex(outline, i);
        const ProfilePoint& a = v.point;
        const ProfilePoint b = outline_vertex(outline, (i + 1) % n).point;
        if (i == 0) cairo_move_to(cr, at.x + at.factor * a.x, at.y - at.factor * a.y);
        if (v.bulge == 0.0) {
            cairo_line_to(cr, at.x + at.factor * b.x, at.y - at.factor * b.y);
            continue;
        }
        // The arc's centre lies off the chord's middle by c·(1 - b²)/(4b), to
        // the left of a → b for a counter-clockwise arc (bulge > 0).
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double chord = std::hypot(dx, dy);
        const double off = (1.0 - v.bulge * v.bulge) / (4.0 * v.bulge);
        const double cx = 0.5 * (a.x + b.x) - dy * off, cy = 0.5 * (a.y + b.y) + dx * off;
        const double radius = std::hypot(a.x - cx, a.y - cy);
        // y turns down on the page: the angles change sign, and the turning sense.
        const double from = -std::atan2(a.y - cy, a.x - cx);
        const double to = -std::atan2(b.y - cy, b.x - cx);
        if (chord == 0.0) continue;
        if (v.bulge > 0.0)
            cairo_arc_negative(cr, at.x + at.factor * cx, at.y - at.factor * cy, at.factor * radius, from,
                               to);
        else
            cairo_arc(cr, at.x + at.factor * cx, at.y - at.factor * cy, at.factor * radius, from, to);
    }
    cairo_close_path(cr);
}

static void circle(cairo_t* cr, const Placing& at, double diameter, bool chain) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, at.x, at.y, 0.5 * diameter * at.factor, 0.0, 2.0 * M_PI);
    cairo_set_line_width(cr, THIN_LINE);
    cairo_set_dash(cr, CHAIN_DASHES, chain ? 4 : 0, 0.0);
    cairo_stroke(cr);
}

void draw_gear(cairo_t* cr, const GearSheet& sheet, const SheetBox& box) {
    const GearOutline& outline = *sheet.outline;
    const GearData& gear = sheet.data->gear;
    char scale[SCALE_TEXT_CAPACITY];
    const double factor = sheet_scale(outline.radius, scale, SCALE_TEXT_CAPACITY);
    const Placing at = {box.left + 0.5 * box.width, box.top + 0.5 * (box.height - SCALE_TEXT_ROOM), factor};
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    path_of_outline(cr, outline, at);
    if (outline.rim > 0.0) {  // a ring: its material between the rim and the teeth
        cairo_new_sub_path(cr);
        cairo_arc(cr, at.x, at.y, outline.rim * factor, 0.0, 2.0 * M_PI);
    }
    cairo_set_line_width(cr, THICK_LINE);
    cairo_stroke(cr);
    circle(cr, at, gear.pitch_diameter, true);
    circle(cr, at, gear.tip_diameter, false);
    circle(cr, at, gear.root_diameter, false);
    const double reach = outline.radius * factor + CENTRE_LINE_REACH;
    cairo_move_to(cr, at.x - reach, at.y);
    cairo_line_to(cr, at.x + reach, at.y);
    cairo_move_to(cr, at.x, at.y - reach);
    cairo_line_to(cr, at.x, at.y + reach);
    cairo_set_dash(cr, CHAIN_DASHES, 4, 0.0);
    cairo_stroke(cr);
    cairo_restore(cr);
    char line[SCALE_TEXT_CAPACITY + 16];
    std::snprintf(line, sizeof line, "%s %s", sheet.japanese ? "尺度" : "Scale", scale);
    sheet_text(cr, line, SCALE_TEXT_SIZE, at.x, box.top + box.height - 2.0, 0.5);
}
