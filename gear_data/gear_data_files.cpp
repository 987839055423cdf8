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

// A JSON number: 10 significant digits are far below any tolerance of a cut
// gear, and -0 is written as 0.
static void json_number(FILE* file, const char* key, double value, bool last = false) {
    std::fprintf(file, "  \"%s\": %.10g%s\n", key, value == 0.0 ? 0.0 : value, last ? "" : ",");
}

static void json_measure(FILE* file, const char* key, const Measure& m) {
    if (m.known)
        json_number(file, key, m.value);
    else
        std::fprintf(file, "  \"%s\": null,\n", key);
}

static void json_bool(FILE* file, const char* key, bool value) {
    std::fprintf(file, "  \"%s\": %s,\n", key, value ? "true" : "false");
}

int write_gear_data_json(const GearData& d, FILE* file) {
    std::fprintf(file, "{\n  \"teeth\": %d,\n", d.teeth);
    json_number(file, "shift", d.shift);
    json_number(file, "module", d.module);
    json_number(file, "pressure_angle", d.pressure_angle);
    json_number(file, "addendum", d.addendum);
    json_number(file, "dedendum", d.dedendum);
    json_number(file, "tip_radius", d.tip_radius);
    json_number(file, "pitch_diameter", d.pitch_diameter);
    json_number(file, "base_diameter", d.base_diameter);
    json_number(file, "tip_diameter", d.tip_diameter);
    json_number(file, "root_diameter", d.root_diameter);
    json_number(file, "pitch", d.pitch);
    json_number(file, "base_pitch", d.base_pitch);
    json_number(file, "tooth_thickness", d.tooth_thickness);
    json_number(file, "tip_thickness", d.tip_thickness);
    json_bool(file, "pointed", d.pointed);
    json_measure(file, "pointed_diameter", d.pointed_diameter);
    json_bool(file, "undercut", d.undercut);
    json_number(file, "min_shift_no_undercut", d.min_shift_no_undercut);
    json_number(file, "min_teeth_no_undercut", d.min_teeth_no_undercut);
    json_number(file, "form_diameter", d.form_diameter);
    std::fprintf(file, "  \"span_teeth\": %d,\n", d.span_teeth);
    json_measure(file, "span", d.span);
    json_number(file, "pin_diameter", d.pin_diameter);
    if (d.over_pins.known)
        json_number(file, "over_pins", d.over_pins.value, true);
    else
        std::fprintf(file, "  \"over_pins\": null\n");
    std::fprintf(file, "}\n");
    return write_fault(file);
}
