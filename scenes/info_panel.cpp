// The gear's data over the frame ('i'): the numbers a student checks, in the
// top right below the legends' reach, drawn before the scene so that nothing
// of the scene's own matrix moves them. Owns no state.
#include "scenes/scene_blocks.hpp"

#include "gear_data/gear_data.hpp"

#include <cstdio>

constexpr float PANEL_X = -0.2f;   // view units: the right 60 % of the frame, room for the longest row
constexpr float PANEL_TOP = 0.6f;  // below the six legend lines a scene may have
constexpr float PANEL_LINE = 0.05f;
constexpr int PANEL_LINE_CAPACITY = 128;

// The rows meant for the panel, one line each: name, value, unit, and the note
// of a yes (which tip digs in); the other notes, why a measure does not exist
// or what a figure means, are the table's and the page's to say: a line here
// has no room for them.
static float draw_rows(const DataRows& rows, float y) {
    char value[ROW_VALUE_CAPACITY];
    char line[PANEL_LINE_CAPACITY];
    for (int i = 0; i < rows.count; ++i) {
        const DataRow& row = rows.rows[i];
        if (!(row.shown & ROW_IN_PANEL)) continue;
        row_value_and_unit(row, value, ROW_VALUE_CAPACITY);
        const bool note = row.note != nullptr && row.kind == ROW_YES_NO;
        std::snprintf(line, sizeof line, "%s  %s%s%s%s", row.name, value, note ? " (" : "", note ? row.note : "",
                      note ? ")" : "");
        draw_text(PANEL_X, y, line);
        y -= PANEL_LINE;
    }
    return y;
}

void draw_info_panel() {
    const GearData gear = gear_data(the_gear, gear_choice.module, 0.0);
    const float y = draw_rows(gear_rows(gear), PANEL_TOP);
    if (pair_data_shown()) {
        const GearData mate = gear_data(the_mate, gear_choice.module, 0.0);
        draw_rows(pair_rows(mate, pair_data(the_gear, the_mate, gear, mate)), y);
    }
}
