// What the sheet's files share: the page's measures, the painter its layout
// draws through, and the drawing of its parts, all in millimetres from the
// page's top left corner. Used inside sheet/.
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

// A line's width and dash pattern (on, off, ... mm; dash_count 0: solid), black.
struct SheetStroke {
    double width;
    const double* dashes;
    int dash_count;
};

enum SheetAlign { SHEET_LEFT, SHEET_CENTRE, SHEET_RIGHT };

// Text: its em (mm), weight, and where it stands against its x.
struct SheetFont {
    double size;
    bool bold;
    SheetAlign align;
};

// What the layout draws with, each call given the back end's own target. A
// path (move_to, line_to, arc_to, close_path) is drawn by stroke_path, with
// round joins; the other calls draw at once.
struct SheetPainter {
    void* target;
    void (*line)(void* target, double x0, double y0, double x1, double y1, const SheetStroke& stroke);
    // Filled with grey (0 black … 1 white) unless grey < 0, outlined unless stroke is null.
    void (*rectangle)(void* target, const SheetBox& box, double grey, const SheetStroke* stroke);
    void (*circle)(void* target, double cx, double cy, double radius, const SheetStroke& stroke);
    void (*move_to)(void* target, double x, double y);
    void (*line_to)(void* target, double x, double y);
    // An arc about (cx, cy) from the path's point to (x, y), clockwise as
    // the page is seen or counter-clockwise, the shorter or longer way as the
    // turning sense makes it.
    void (*arc_to)(void* target, double x, double y, double cx, double cy, bool clockwise);
    void (*close_path)(void* target);
    void (*stroke_path)(void* target, const SheetStroke& stroke);
    // Text at (x, baseline), black, in fonts that have its characters.
    void (*text)(void* target, const char* text, double x, double baseline, const SheetFont& font);
};

// The whole page, white, through painter.
void paint_gear_sheet(const GearSheet& sheet, const SheetPainter& painter);

// The gear to scale in box, centred, with its circles and centre lines, and
// the scale stated under it (inside box, at its foot).
void draw_gear(const SheetPainter& painter, const GearSheet& sheet, const SheetBox& box);

// A heading and the rows in box, the name left, the value right; rows the
// box cannot hold at the usual height are drawn closer and smaller. A row is
// taken when it is shown in the --info table, or with first rows of
// first_taken (the mate's z and x, which the table says in the mate's own).
void draw_table(const SheetPainter& painter, const char* heading, const DataRows& rows, int first_taken,
                bool japanese, const SheetBox& box);
