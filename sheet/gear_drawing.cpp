// The gear drawn to scale on the sheet: its whole outline as a thick line, its
// pitch circle dash-dotted, its tip and root circles thin, its centre lines,
// and the scale stated under it; and the outline built for it. No state.
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

// How far the drawn flanks' chords may stray from the exact form: a hundredth
// of a millimetre on the paper.
constexpr double PAPER_TOLERANCE = 0.01;

const char* build_sheet_outline(const ChosenData& data, double module, GearOutline* outline, char* scale) {
    const double x = the_gear.params.x;
    // The scale from the largest circle drawn: the tip circle, or a ring's rim.
    const double radius = the_gear.params.internal ? 0.5 * default_rim_diameter(the_gear, x, module)
                                                   : 0.5 * data.gear.tip_diameter;
    const double factor = sheet_scale(radius, scale, SCALE_TEXT_CAPACITY);
    build_written_outlines(the_gear, nullptr, x, module, PAPER_TOLERANCE / factor, 0.0, outline);
    return outline_refusal(outline, 1);
}

// Where a point of the gear (mm, y up) falls on the page (mm, y down).
struct Placing {
    double x;  // the gear centre on the page
    double y;
    double factor;  // the scale
};

static void path_of_outline(const SheetPainter& painter, const GearOutline& outline, const Placing& at) {
    const int n = outline_vertex_count(outline);
    for (int i = 0; i < n; ++i) {
        const OutlineVertex v = outline_vertex(outline, i);
        const ProfilePoint& a = v.point;
        const ProfilePoint b = outline_vertex(outline, (i + 1) % n).point;
        if (i == 0) painter.move_to(painter.target, at.x + at.factor * a.x, at.y - at.factor * a.y);
        if (v.bulge == 0.0 || std::hypot(b.x - a.x, b.y - a.y) == 0.0) {
            painter.line_to(painter.target, at.x + at.factor * b.x, at.y - at.factor * b.y);
            continue;
        }
        // A counter-clockwise arc (bulge > 0) stays counter-clockwise on the page.
        const ProfilePoint centre = outline_arc(a, b, v.bulge).centre;
        painter.arc_to(painter.target, at.x + at.factor * b.x, at.y - at.factor * b.y,
                       at.x + at.factor * centre.x, at.y - at.factor * centre.y, v.bulge < 0.0);
    }
    painter.close_path(painter.target);
}

void draw_gear(const SheetPainter& painter, const GearSheet& sheet, const SheetBox& box) {
    const GearOutline& outline = *sheet.outline;
    const GearData& gear = sheet.data->gear;
    char scale[SCALE_TEXT_CAPACITY];
    const double factor = sheet_scale(outline.radius, scale, SCALE_TEXT_CAPACITY);
    const Placing at = {box.left + 0.5 * box.width, box.top + 0.5 * (box.height - SCALE_TEXT_ROOM), factor};
    const SheetStroke thick = {THICK_LINE, nullptr, 0};
    const SheetStroke thin = {THIN_LINE, nullptr, 0};
    const SheetStroke chain = {THIN_LINE, CHAIN_DASHES, 4};
    path_of_outline(painter, outline, at);
    painter.stroke_path(painter.target, thick);
    // A ring: its material between the rim and the teeth.
    if (outline.rim > 0.0) painter.circle(painter.target, at.x, at.y, outline.rim * factor, thick);
    painter.circle(painter.target, at.x, at.y, 0.5 * gear.pitch_diameter * factor, chain);
    painter.circle(painter.target, at.x, at.y, 0.5 * gear.tip_diameter * factor, thin);
    painter.circle(painter.target, at.x, at.y, 0.5 * gear.root_diameter * factor, thin);
    const double reach = outline.radius * factor + CENTRE_LINE_REACH;
    painter.line(painter.target, at.x - reach, at.y, at.x + reach, at.y, chain);
    painter.line(painter.target, at.x, at.y - reach, at.x, at.y + reach, chain);
    char line[SCALE_TEXT_CAPACITY + 16];
    std::snprintf(line, sizeof line, "%s %s", sheet.japanese ? "尺度" : "Scale", scale);
    painter.text(painter.target, line, at.x, box.top + box.height - 2.0,
                 {SCALE_TEXT_SIZE, false, SHEET_CENTRE});
}
