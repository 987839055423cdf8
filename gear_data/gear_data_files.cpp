// The gear's data written out: an aligned table for a reader, one JSON object
// for a program. No state.
#include "gear_data/gear_data.hpp"

#include <cerrno>
#include <cmath>

// One row of the table: what a student calls it, its value and unit.
static void row(FILE* file, const char* name, double value, const char* unit) {
    std::fprintf(file, "%-38s %12.4f %s\n", name, value, unit);
}

static void measure_row(FILE* file, const char* name, const Measure& m, const char* unit) {
    if (m.known)
        row(file, name, m.value, unit);
    else
        std::fprintf(file, "%-38s %12s   (%s)\n", name, "-", m.reason);
}

static void yes_no(FILE* file, const char* name, bool value) {
    std::fprintf(file, "%-38s %12s\n", name, value ? "yes" : "no");
}

// Errno of a failed write on file, or 0.
static int write_fault(FILE* file) {
    errno = 0;
    if (std::ferror(file) || std::fflush(file) != 0) return errno != 0 ? errno : EIO;
    return 0;
}

int write_gear_data_text(const GearData& d, FILE* file) {
    std::fprintf(file, "%-38s %12d\n", "number of teeth z", d.teeth);
    std::fprintf(file, "%-38s %12.4f\n", "profile shift coefficient x", d.shift);
    row(file, "module m", d.module, "mm");
    row(file, "pressure angle", d.pressure_angle, "deg");
    row(file, "addendum", d.addendum, "mm");
    row(file, "dedendum", d.dedendum, "mm");
    row(file, "cutter tip radius", d.tip_radius, "mm");
    row(file, "pitch (reference) diameter", d.pitch_diameter, "mm");
    row(file, "base diameter", d.base_diameter, "mm");
    row(file, "tip diameter", d.tip_diameter, "mm");
    row(file, "root diameter", d.root_diameter, "mm");
    row(file, "pitch", d.pitch, "mm");
    row(file, "base pitch", d.base_pitch, "mm");
    row(file, "tooth thickness on the pitch circle", d.tooth_thickness, "mm");
    row(file, "tooth thickness on the tip circle", d.tip_thickness, "mm");
    yes_no(file, "pointed tooth", d.pointed);
    measure_row(file, "diameter where the flanks meet", d.pointed_diameter, "mm");
    yes_no(file, "undercut", d.undercut);
    std::fprintf(file, "%-38s %12.4f\n", "least shift without undercut", d.min_shift_no_undercut);
    std::fprintf(file, "%-38s %12.4f\n", "least teeth without undercut", d.min_teeth_no_undercut);
    row(file, "form diameter (the involute begins)", d.form_diameter, "mm");
    std::fprintf(file, "%-38s %12d\n", "teeth spanned", d.span_teeth);
    measure_row(file, "span measurement", d.span, "mm");
    row(file, "pin diameter", d.pin_diameter, "mm");
    measure_row(file, "measurement over pins", d.over_pins, "mm");
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

static void json_whole(JsonObject& o, const char* key, int value) {
    json_key(o, key);
    std::fprintf(o.file, "%d", value);
}

static void json_measure(JsonObject& o, const char* key, const Measure& m) {
    if (m.known) return json_number(o, key, m.value);
    json_key(o, key);
    std::fputs("null", o.file);
}

static void json_bool(JsonObject& o, const char* key, bool value) {
    json_key(o, key);
    std::fputs(value ? "true" : "false", o.file);
}

static void json_open(JsonObject& o) {
    std::fputc('{', o.file);
}

static void json_close(JsonObject& o) {
    std::fprintf(o.file, "\n%*s}", 2 * (o.depth - 1), "");
}

static void json_gear(JsonObject& o, const GearData& d) {
    json_whole(o, "teeth", d.teeth);
    json_number(o, "shift", d.shift);
    json_number(o, "module", d.module);
    json_number(o, "pressure_angle", d.pressure_angle);
    json_number(o, "addendum", d.addendum);
    json_number(o, "dedendum", d.dedendum);
    json_number(o, "tip_radius", d.tip_radius);
    json_number(o, "pitch_diameter", d.pitch_diameter);
    json_number(o, "base_diameter", d.base_diameter);
    json_number(o, "tip_diameter", d.tip_diameter);
    json_number(o, "root_diameter", d.root_diameter);
    json_number(o, "pitch", d.pitch);
    json_number(o, "base_pitch", d.base_pitch);
    json_number(o, "tooth_thickness", d.tooth_thickness);
    json_number(o, "tip_thickness", d.tip_thickness);
    json_bool(o, "pointed", d.pointed);
    json_measure(o, "pointed_diameter", d.pointed_diameter);
    json_bool(o, "undercut", d.undercut);
    json_number(o, "min_shift_no_undercut", d.min_shift_no_undercut);
    json_number(o, "min_teeth_no_undercut", d.min_teeth_no_undercut);
    json_number(o, "form_diameter", d.form_diameter);
    json_whole(o, "span_teeth", d.span_teeth);
    json_measure(o, "span", d.span);
    json_number(o, "pin_diameter", d.pin_diameter);
    json_measure(o, "over_pins", d.over_pins);
}

int write_gear_data_json(const GearData& d, FILE* file, const GearData* mate, const PairData* pair) {
    JsonObject top = {file, 1, true};
    json_open(top);
    json_gear(top, d);
    if (mate && pair) {
        json_key(top, "mate");
        JsonObject m = {file, 2, true};
        json_open(m);
        json_gear(m, *mate);
        json_close(m);
        json_key(top, "pair");
        JsonObject p = {file, 2, true};
        json_open(p);
        json_number(p, "working_pressure_angle", pair->working_pressure_angle);
        json_number(p, "centre_distance", pair->centre_distance);
        json_number(p, "centre_distance_modification", pair->centre_distance_modification);
        json_number(p, "tip_reduction", pair->tip_reduction);
        json_number(p, "contact_ratio", pair->contact_ratio);
        json_bool(p, "interference", pair->interference);
        json_close(p);
    }
    json_close(top);
    std::fputc('\n', file);
    return write_fault(file);
}

int write_pair_data_text(const GearData& mate, const PairData& p, FILE* file) {
    std::fprintf(file, "\nthe mate\n");
    if (int fault = write_gear_data_text(mate, file)) return fault;
    std::fprintf(file, "\nthe pair in mesh\n");
    row(file, "working pressure angle", p.working_pressure_angle, "deg");
    row(file, "centre distance", p.centre_distance, "mm");
    std::fprintf(file, "%-38s %12.4f\n", "centre distance modification y", p.centre_distance_modification);
    row(file, "tip reduction for the clearance", p.tip_reduction, "mm");
    row(file, "tip diameter after the reduction", p.reduced_tip_diameter, "mm");
    row(file, "mate's tip diameter after it", p.mate_reduced_tip_diameter, "mm");
    std::fprintf(file, "%-38s %12.4f\n", "contact ratio", p.contact_ratio);
    if (p.interference)
        std::fprintf(file, "%-38s %12s   (%s)\n", "interference", "yes", p.interference_text);
    else
        yes_no(file, "interference", false);
    return write_fault(file);
}
