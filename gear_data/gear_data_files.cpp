// The gear's data written out: an aligned table for a reader, one JSON object
// for a program. No state.
#include "gear_data/gear_data.hpp"

#include <cerrno>
#include <cmath>

// One row of the table: the name, the value right-aligned, its unit (when it
// has a value) and the note in brackets.
static void table_row(FILE* file, const DataRow& row) {
    char value[ROW_VALUE_CAPACITY];
    row_value_text(row, value, ROW_VALUE_CAPACITY);
    std::fprintf(file, "%-38s %12s", row.name, value);
    if (row.unit[0] != '\0' && row.known) std::fprintf(file, " %s", row.unit);
    if (row.note != nullptr) std::fprintf(file, "   (%s)", row.note);
    std::fputc('\n', file);
}

static void table_rows(FILE* file, DataRows rows, bool inches) {
    if (inches) rows_in_inches(rows);
    for (int i = 0; i < rows.count; ++i)
        if (rows.rows[i].shown & ROW_IN_TABLE) table_row(file, rows.rows[i]);
}

// Errno of a failed write on file, or 0.
static int write_fault(FILE* file) {
    errno = 0;
    if (std::ferror(file) || std::fflush(file) != 0) return errno != 0 ? errno : EIO;
    return 0;
}

int write_gear_data_text(const GearData& d, FILE* file, const GearData* mate, const PairData* pair,
                         bool inches) {
    table_rows(file, gear_rows(d), inches);
    if (mate != nullptr && pair != nullptr) {
        std::fprintf(file, "\nthe mate\n");
        table_rows(file, gear_rows(*mate), inches);
        std::fprintf(file, "\nthe pair in mesh\n");
        table_rows(file, pair_rows(*mate, *pair), inches);
    }
    return write_fault(file);
}

// One JSON object being written: its depth and whether a member came yet.
struct JsonObject {
    FILE* file;
    int depth;
    bool first;
};

static void json_key(JsonObject& o, const char* key) {
    std::fprintf(o.file, "%s\n%*s\"%s\": ", o.first ? "" : ",", 2 * o.depth, "", key);
    o.first = false;
}

// A JSON number: 10 significant digits are far below any tolerance of a cut
// gear, and -0 is written as 0.
static void json_number(JsonObject& o, const char* key, double value) {
    json_key(o, key);
    std::fprintf(o.file, "%.10g", value == 0.0 ? 0.0 : value);
}

// Every row with a key: numbers as they are (not rounded as shown), whole
// numbers, true/false, null for a measure that does not exist.
static void json_rows(JsonObject& o, DataRows rows, bool inches) {
    if (inches) rows_in_inches(rows);
    for (int i = 0; i < rows.count; ++i) {
        const DataRow& row = rows.rows[i];
        if (row.key == nullptr) continue;
        if (row.kind == ROW_NUMBER || (row.kind == ROW_MEASURE && row.known)) {
            json_number(o, row.key, row.value);
            continue;
        }
        json_key(o, row.key);
        if (row.kind == ROW_WHOLE)
            std::fprintf(o.file, "%d", static_cast<int>(row.value));
        else if (row.kind == ROW_YES_NO)
            std::fputs(row.value != 0.0 ? "true" : "false", o.file);
        else if (row.kind == ROW_WORD)
            std::fprintf(o.file, "\"%s\"", row.word != nullptr ? row.word : "");
        else if (row.kind == ROW_LIMITS && row.known)
            std::fprintf(o.file, "[%.10g, %.10g]", row.value == 0.0 ? 0.0 : row.value,
                         row.second == 0.0 ? 0.0 : row.second);
        else
            std::fputs("null", o.file);
    }
}

static void json_open(JsonObject& o) {
    std::fputc('{', o.file);
}

static void json_close(JsonObject& o) {
    std::fprintf(o.file, "\n%*s}", 2 * (o.depth - 1), "");
}

int write_gear_data_json(const GearData& d, FILE* file, const GearData* mate, const PairData* pair,
                         bool inches) {
    JsonObject top = {file, 1, true};
    json_open(top);
    json_key(top, "unit");
    std::fputs(inches ? "\"in\"" : "\"mm\"", file);
    json_rows(top, gear_rows(d), inches);
    if (mate && pair) {
        json_key(top, "mate");
        JsonObject m = {file, 2, true};
        json_open(m);
        json_rows(m, gear_rows(*mate), inches);
        json_close(m);
        json_key(top, "pair");
        JsonObject p = {file, 2, true};
        json_open(p);
        json_rows(p, pair_rows(*mate, *pair), inches);
        json_close(p);
    }
    json_close(top);
    std::fputc('\n', file);
    return write_fault(file);
}
