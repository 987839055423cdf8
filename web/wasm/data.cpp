// The gear's data in the wasm module: its JSON for download and the rows of the
// page's data panel, from the one list of rows every front end says.
#include "web/wasm/export.hpp"

#include "choice/choice.hpp"
#include "gear_data/gear_data.hpp"
#include "scenes/scenes.hpp"

#include <cstdio>

// ---- the gear's data ------------------------------------------------------------------
// At the module of the gear shown, with the usual pins; the pair's whenever
// pair_data_shown says so.

static ChosenData data_shown(bool with_pair) {
    return chosen_data(gear_choice.module, 0.0, with_pair);
}

// The gear's data as --info FILE.json writes it: the pair's only for a chosen
// mate, as --info writes them only after --mate.
WEB_EXPORT const char* web_write_gear_data(const char* path) {
    const ChosenData shown = data_shown(mate_chosen());
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return "the gear's data could not be made";
    bool ok = (shown.with_pair ? write_gear_data_json(shown.gear, file, &shown.mate, &shown.pair)
                               : write_gear_data_json(shown.gear, file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the gear's data could not be written";
}

// The rows of the page's data panel, each "name\tJapanese name\tvalue\n";
// filled by web_gear_data_rows.
static char data_rows[8192];
static size_t data_rows_length;

// The rows meant for the page: the value with its unit, "— (why)" for a
// measure that does not exist, "yes — which tip digs in" for a noted row.
static void add_page_rows(const DataRows& rows) {
    char value[ROW_VALUE_CAPACITY];
    for (int i = 0; i < rows.count; ++i) {
        const DataRow& row = rows.rows[i];
        if (!(row.shown & ROW_ON_PAGE)) continue;
        row_value_and_unit(row, value, ROW_VALUE_CAPACITY);
        const size_t room = sizeof data_rows - data_rows_length;
        const int written = !row.known ? std::snprintf(data_rows + data_rows_length, room, "%s\t%s\t— (%s)\n",
                                                       row.name, row.name_ja, row.note ? row.note : "")
                            : row.note
                                ? std::snprintf(data_rows + data_rows_length, room, "%s\t%s\t%s — %s\n",
                                                row.name, row.name_ja, value, row.note)
                                : std::snprintf(data_rows + data_rows_length, room, "%s\t%s\t%s\n", row.name,
                                                row.name_ja, value);
        // A row that would not fit is left out (the longest list, a helical pair's, fills under half).
        if (written > 0 && static_cast<size_t>(written) < room)
            data_rows_length += static_cast<size_t>(written);
        else
            data_rows[data_rows_length] = '\0';
    }
}

// The page's data beside the canvas: the gear's rows (the cutter's, and a
// ring's, among them), and the pair's as pair_data_shown says for the frame
// shown last; none for a ring with the default mate, which cannot turn inside it.
WEB_EXPORT const char* web_gear_data_rows() {
    data_rows_length = 0;
    data_rows[0] = '\0';
    if (gear_choice.z == 0) return data_rows;  // no gear taken yet
    const ChosenData shown =
        data_shown(pair_data_shown() && !(gear_choice.internal && gear_choice.mate_z == 0));
    add_page_rows(gear_rows(shown.gear));
    if (shown.with_pair) add_page_rows(pair_rows(shown.mate, shown.pair));
    return data_rows;
}
