// What the sheet's files share: the page's measures and the drawing of its
// parts, all in millimetres from the page's top left corner. Used inside sheet/.
#pragma once

#include "sheet/sheet.hpp"

constexpr double PAGE_WIDTH = 210.0;   // mm, A4 portrait
constexpr double PAGE_HEIGHT = 297.0;  // mm
constexpr double POINTS_PER_MM = 72.0 / 25.4;

// Line widths of ISO 128's 0.5 mm group: visible outlines, and the thin lines
// of circles, centre lines and the table's rules.
constexpr double THICK_LINE = 0.5;
constexpr double THIN_LINE = 0.25;

// A rectangle of the page.
struct SheetBox {
    double left;
    double top;
    double width;
    double height;
};

// The largest side the drawing area lets the gear's diameter take (mm), the
// same for every sheet so that the scale is known before the page is drawn.
constexpr double DRAWING_SIDE = 84.0;

// Text in the font its characters ask for (picture_font), size mm the em, at
// (x, baseline); align 0 left, 0.5 centred, 1 right. Returns its width, mm.
double sheet_text(cairo_t* cr, const char* text, double size, double x, double baseline, double align,
                  bool bold = false);
// The width text would take, mm.
double sheet_text_width(cairo_t* cr, const char* text, double size, bool bold = false);

// The gear to scale in box, centred, with its circles and centre lines, and
// the scale stated under it (inside box, at its foot).
void draw_gear(cairo_t* cr, const GearSheet& sheet, const SheetBox& box);

// A heading and the rows in box, the name left, the value right; rows the
// box cannot hold at the usual height are drawn closer and smaller. A row is
// taken when it is shown in the --info table, or with first rows of
// first_taken (the mate's z and x, which the table says in the mate's own).
void draw_table(cairo_t* cr, const char* heading, const DataRows& rows, int first_taken, bool japanese,
                const SheetBox& box);
