// The sheet's data tables: each row's name in the sheet's language and its
// value with its unit exactly as the --info table says it (row_value_and_unit),
// the name from the box's left, the value to its right. The sizes are fixed by
// the row's height alone, never by measuring the text, so that every back end
// lays the table out alike: the longest name and value of any table (a helical
// pair's) fit side by side at the usual row's text. No state.
#include "sheet/sheet_private.hpp"

#include <cmath>

constexpr double ROW_HEIGHT = 5.5;       // mm of a row when the box holds them all
constexpr double ROW_TEXT_SHARE = 0.52;  // the em of a row's text, of its height
constexpr double HEADING_HEIGHT = 8.0;   // mm
constexpr double HEADING_TEXT_SIZE = 4.0;
constexpr double CELL_PADDING = 1.5;  // mm between a text and the box's side
constexpr double RULE_LINE = 0.1;     // mm, the rules between rows

static bool taken(const DataRows& rows, int i, int first_taken) {
    return i < first_taken || (rows.rows[i].shown & ROW_IN_TABLE) != 0;
}

static const char* row_name(const DataRow& row, bool japanese) {
    return japanese && row.name_ja != nullptr ? row.name_ja : row.name;
}

void draw_table(const SheetPainter& painter, const char* heading, const DataRows& rows, int first_taken,
                bool japanese, const SheetBox& box) {
    int count = 0;
    for (int i = 0; i < rows.count; ++i) count += taken(rows, i, first_taken) ? 1 : 0;
    const double row_height = std::fmin(ROW_HEIGHT, (box.height - HEADING_HEIGHT) / std::fmax(count, 1));
    const SheetFont name_font = {ROW_TEXT_SHARE * row_height, false, SHEET_LEFT};
    const SheetFont value_font = {name_font.size, false, SHEET_RIGHT};
    const SheetStroke rule = {RULE_LINE, nullptr, 0};
    const SheetStroke heading_rule = {THIN_LINE, nullptr, 0};

    const double right = box.left + box.width;
    painter.text(painter.target, heading, box.left + CELL_PADDING, box.top + HEADING_HEIGHT - 2.5,
                 {HEADING_TEXT_SIZE, true, SHEET_LEFT});
    painter.line(painter.target, box.left, box.top + HEADING_HEIGHT, right, box.top + HEADING_HEIGHT,
                 heading_rule);
    double top = box.top + HEADING_HEIGHT;
    for (int i = 0; i < rows.count; ++i) {
        if (!taken(rows, i, first_taken)) continue;
        const DataRow& row = rows.rows[i];
        const double baseline = top + 0.5 * row_height + 0.36 * name_font.size;  // cap height centred
        char value[ROW_VALUE_CAPACITY];
        row_value_and_unit(row, value, ROW_VALUE_CAPACITY);
        painter.text(painter.target, row_name(row, japanese), box.left + CELL_PADDING, baseline, name_font);
        painter.text(painter.target, value, right - CELL_PADDING, baseline, value_font);
        top += row_height;
        painter.line(painter.target, box.left, top, right, top, rule);
    }
}
