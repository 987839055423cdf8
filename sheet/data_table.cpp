// The sheet's text and its data tables: each row's name in the sheet's
// language and its value with its unit exactly as the --info table says it
// (row_value_and_unit). No state.
#include "sheet/sheet_private.hpp"

#include <cmath>

constexpr double ROW_HEIGHT = 5.5;       // mm of a row when the box holds them all
constexpr double ROW_TEXT_SHARE = 0.52;  // the em of a row's text, of its height
constexpr double HEADING_HEIGHT = 8.0;   // mm
constexpr double HEADING_TEXT_SIZE = 4.0;
constexpr double CELL_PADDING = 1.5;  // mm between a text and the box's side
constexpr double COLUMN_GAP = 3.0;    // mm at least between a name and its value
constexpr double RULE_LINE = 0.1;     // mm, the rules between rows

static void select_font(cairo_t* cr, const char* text, double size, bool bold) {
    cairo_select_font_face(cr, picture_font(text), CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double sheet_text_width(cairo_t* cr, const char* text, double size, bool bold) {
    select_font(cr, text, size, bold);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    return extents.x_advance;
}

double sheet_text(cairo_t* cr, const char* text, double size, double x, double baseline, double align,
                  bool bold) {
    const double width = sheet_text_width(cr, text, size, bold);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_move_to(cr, x - align * width, baseline);
    cairo_show_text(cr, text);
    cairo_new_path(cr);
    return width;
}

static bool taken(const DataRows& rows, int i, int first_taken) {
    return i < first_taken || (rows.rows[i].shown & ROW_IN_TABLE) != 0;
}

static const char* row_name(const DataRow& row, bool japanese) {
    return japanese && row.name_ja != nullptr ? row.name_ja : row.name;
}

static void rule(cairo_t* cr, double left, double right, double y, double width) {
    cairo_move_to(cr, left, y);
    cairo_line_to(cr, right, y);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void draw_table(cairo_t* cr, const char* heading, const DataRows& rows, int first_taken, bool japanese,
                const SheetBox& box) {
    int count = 0;
    for (int i = 0; i < rows.count; ++i) count += taken(rows, i, first_taken) ? 1 : 0;
    const double row_height = std::fmin(ROW_HEIGHT, (box.height - HEADING_HEIGHT) / std::fmax(count, 1));
    // The widest name and value side by side must fit the box: else smaller.
    double size = ROW_TEXT_SHARE * row_height;
    double widest = 0.0;
    for (int i = 0; i < rows.count; ++i) {
        if (!taken(rows, i, first_taken)) continue;
        char value[ROW_VALUE_CAPACITY];
        row_value_and_unit(rows.rows[i], value, ROW_VALUE_CAPACITY);
        widest = std::fmax(widest, sheet_text_width(cr, row_name(rows.rows[i], japanese), size) +
                                       sheet_text_width(cr, value, size));
    }
    const double room = box.width - 2.0 * CELL_PADDING - COLUMN_GAP;
    if (widest > room) size *= room / widest;

    const double right = box.left + box.width;
    sheet_text(cr, heading, HEADING_TEXT_SIZE, box.left + CELL_PADDING, box.top + HEADING_HEIGHT - 2.5, 0.0,
               true);
    rule(cr, box.left, right, box.top + HEADING_HEIGHT, THIN_LINE);
    double top = box.top + HEADING_HEIGHT;
    for (int i = 0; i < rows.count; ++i) {
        if (!taken(rows, i, first_taken)) continue;
        const DataRow& row = rows.rows[i];
        const double baseline = top + 0.5 * row_height + 0.36 * size;  // cap height centred
        char value[ROW_VALUE_CAPACITY];
        row_value_and_unit(row, value, ROW_VALUE_CAPACITY);
        sheet_text(cr, row_name(row, japanese), size, box.left + CELL_PADDING, baseline, 0.0);
        sheet_text(cr, value, size, right - CELL_PADDING, baseline, 1.0);
        top += row_height;
        rule(cr, box.left, right, top, RULE_LINE);
    }
}
