// The command line's outputs, each written whole under its name
// (write_file_whole): the tooth data file, the whole gear's outline, its
// solid (solid_output.cpp), the gear's data, the picture of a scene frame and
// the data sheet (sheet_output.cpp), each file then said in one line
// (report). No state of its own.
#include "cli/options.hpp"

#include "choice/choice.hpp"
#include "console/console.hpp"
#include "gear_data/gear_data.hpp"
#include "outline/outline.hpp"
#include "solid/solid.hpp"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

static int write_flank(FILE* file, const void*) {
    return write_tooth_data(the_gear.params.z, the_gear.shifted_tooth.flank_last,
                            the_gear.shifted_tooth.flank, file);
}

void number_text(double value, char* text) {
    const std::to_chars_result end =
        std::to_chars(text, text + NUMBER_CAPACITY - 1, value == 0.0 ? 0.0 : value);
    *end.ptr = '\0';
}

static void put_number(double value, FILE* file) {
    char text[NUMBER_CAPACITY];
    number_text(value, text);
    std::fputs(text, file);
}

// The data file's flank points in millimetres at the data's module, the pitch
// point at the origin and the gear centre at (0, -m·z/2): one "x_mm,y_mm"
// row each (context null), or one JSON object with the gear's values (context
// the Output). A helical gear's: its transverse section, m the transverse module.
static int write_flank_points(FILE* file, const void* context) {
    const GearData gear = gear_data(the_gear, command_line.module, 0.0);
    const double m = transverse_module(the_gear.params.cutter, command_line.module);
    errno = 0;  // a write that fails on the way leaves its errno for the end
    if (context != nullptr) {
        std::fprintf(file, "{\n  \"z\": %d,\n  \"x\": ", gear.teeth);
        const char* const keys[] = {"module", "pressure_angle", "addendum", "dedendum", "tip_radius"};
        const double values[] = {gear.module, gear.pressure_angle, gear.addendum, gear.dedendum,
                                 gear.tip_radius};
        put_number(gear.shift, file);
        for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i) {
            std::fprintf(file, ",\n  \"%s\": ", keys[i]);
            put_number(values[i], file);
        }
        // A helical gear's, a pinion-type cutter's and a ring's: keys a spur gear's file does not have.
        if (gear.helix_angle > 0.0) {
            std::fputs(",\n  \"helix_angle\": ", file);
            put_number(gear.helix_angle, file);
            std::fprintf(file, ",\n  \"hand\": \"%s\"", gear.left_hand ? "left" : "right");
        }
        if (gear.pinion_cutter) {
            std::fprintf(file, ",\n  \"cutter_teeth\": %d,\n  \"cutter_shift\": ", gear.cutter_teeth);
            put_number(gear.cutter_shift, file);
            std::fprintf(file, ",\n  \"internal\": %s", gear.internal ? "true" : "false");
        }
        std::fputs(",\n  \"points\": [", file);
    } else {
        std::fputs("x_mm,y_mm\n", file);
    }
    for (int i = 0; i <= the_gear.shifted_tooth.flank_last; ++i) {
        if (context != nullptr) std::fputs(i == 0 ? "\n    [" : ",\n    [", file);
        put_number(the_gear.shifted_tooth.flank[i].x * m, file);
        std::fputc(',', file);
        put_number(the_gear.shifted_tooth.flank[i].y * m, file);
        std::fputs(context != nullptr ? "]" : "\n", file);
    }
    if (context != nullptr) std::fputs("\n  ]\n}\n", file);
    if (std::ferror(file) || std::fflush(file) != 0) return errno != 0 ? errno : EIO;
    return 0;
}

// The outline and the writer of the format asked for.
struct OutlineFile {
    const GearOutline* outlines;  // the gear's, and the mate's beside it when one was given
    int count;
    bool (*writer)(const GearOutline* outlines, int count, FILE* file, bool inches);
    bool inches;
};

// context: the OutlineFile.
static int write_outline(FILE* file, const void* context) {
    const OutlineFile& outline_file = *static_cast<const OutlineFile*>(context);
    errno = 0;
    if (!outline_file.writer(outline_file.outlines, outline_file.count, file, outline_file.inches) ||
        std::fflush(file) != 0)
        return errno != 0 ? errno : EIO;
    return 0;
}

void module_text(const Output& out, char* text, int capacity) {
    char module[NUMBER_CAPACITY];
    number_text(out.module, module);
    std::snprintf(text, static_cast<size_t>(capacity), "module %s mm%s", module,
                  out.inches ? ", in inches" : "");
}

// The ring an output draws, with its shift, or nullptr: the gear's, or with
// --mate (not --standard, which draws the gear alone) the pair's.
static const Gear* drawn_ring(const Output& out, double& x_s) {
    x_s = out.standard ? 0.0 : the_gear.params.x;
    if (the_gear.params.internal) return &the_gear;
    x_s = the_mate.params.x;
    return mate_chosen() && !out.standard && the_mate.params.internal ? &the_mate : nullptr;
}

// With --mate the gear and its mate in mesh: the mate on +x at the working
// centre distance (the shifted gear's; --standard draws the gear alone).
static int write_gear_output(const Output& out) {
    GearOutline outlines[2];
    const int count = build_written_outlines(the_gear, mate_chosen() && !out.standard ? &the_mate : nullptr,
                                             out.standard ? 0.0 : the_gear.params.x, out.module,
                                             out.tolerance, out.rim_diameter, outlines);
    if (const char* refusal = outline_refusal(outlines, count)) {
        tell("cannot write \"%s\": %s", out.file, refusal);
        return OUTPUT_REFUSED;
    }
    const OutlineFile file{outlines, count,
                           out.format == FORMAT_DXF ? write_outlines_dxf_file : write_outlines_svg_file,
                           out.inches};
    const int fault = write_file_whole(out.file, write_outline, &file).fault;
    if (fault == 0) {
        char settings[SETTINGS_CAPACITY];
        module_text(out, settings, SETTINGS_CAPACITY);
        char tolerance[NUMBER_CAPACITY];
        number_text(out.tolerance, tolerance);
        const bool ring = the_gear.params.internal;
        const double rim_radius = std::fmax(outlines[0].rim, count == 2 ? outlines[1].rim : 0.0);
        char rim[NUMBER_CAPACITY + 32] = "";
        if (rim_radius > 0.0) {
            char diameter[NUMBER_CAPACITY];
            number_text(2.0 * rim_radius, diameter);
            std::snprintf(rim, sizeof rim, ", rim diameter %s mm", diameter);
        }
        const char* what = count == 2 && ring               ? "the ring and the pinion inside it"
                           : count == 2 && rim_radius > 0.0 ? "the pinion and the ring about it"
                           : count == 2                     ? "the gear and its mate"
                           : out.standard ? (ring ? "the standard ring (x = 0)" : "the standard gear (x = 0)")
                           : ring         ? "the ring"
                                          : "the gear";
        report("%s: %s%s, %s, tolerance %s mm", out.file, what, rim, settings, tolerance);
    }
    return fault;
}

// The gear's data, and the mate's and the pair's when a mate was given.
static int write_info(FILE* file, const void* context) {
    const Output& out = *static_cast<const Output*>(context);
    const ChosenData d = chosen_data(out.module, out.pin_diameter, mate_chosen());
    const GearData* mate = d.with_pair ? &d.mate : nullptr;
    const PairData* pair = d.with_pair ? &d.pair : nullptr;
    return out.format == FORMAT_JSON ? write_gear_data_json(d.gear, file, mate, pair, out.inches)
                                     : write_gear_data_text(d.gear, file, mate, pair, out.inches);
}

int standard_output_fault(bool output_closed) {
    if (output_closed) return EBADF;
    // A write that failed on the way (--help's text is longer than the buffer)
    // left its errno: the writer cleared errno before it wrote.
    if (std::ferror(stdout) || std::fflush(stdout) != 0) return errno != 0 ? errno : EIO;
    return 0;
}

// The data into its JSON file, and the line that says what it holds.
static int write_info_file(const Output& out) {
    const int fault = write_file_whole(out.file, write_info, &out).fault;
    if (fault != 0) return fault;
    char settings[SETTINGS_CAPACITY];
    module_text(out, settings, SETTINGS_CAPACITY);
    char pin[NUMBER_CAPACITY];
    number_text(out.pin_diameter > 0.0 ? out.pin_diameter : PIN_DIAMETER_PER_MODULE * out.module, pin);
    report("%s: the data of %s, %s, pins %s mm", out.file,
           mate_chosen() ? "the gear, its mate and the pair" : "the gear", settings, pin);
    return 0;
}

// The tooth data file, or its points in mm, and the line that says what it holds.
static int write_flank_output(const Output& out) {
    const void* points_context = out.format == FORMAT_JSON ? &out : nullptr;
    const int fault = out.format == FORMAT_DATA
                          ? write_file_whole(out.file, write_flank, nullptr).fault
                          : write_file_whole(out.file, write_flank_points, points_context).fault;
    if (fault != 0) return fault;
    char shift[NUMBER_CAPACITY];
    number_text(nominal_shift(the_gear.params), shift);
    const char* gear_kind = the_gear.params.internal ? "the ring " : "";
    if (out.format == FORMAT_DATA) {
        report("%s: the tooth data file of %sz = %d, x = %s, in %smodule units", out.file, gear_kind,
               the_gear.params.z, shift, helical(the_gear.params.cutter) ? "transverse " : "");
    } else {
        char module[NUMBER_CAPACITY];
        number_text(command_line.module, module);
        char helix[NUMBER_CAPACITY + 48] = "";
        if (helical(the_gear.params.cutter)) {
            char beta[NUMBER_CAPACITY];
            number_text(the_gear.params.cutter.helix_angle, beta);
            std::snprintf(helix, sizeof helix, ", helix angle %s degrees: the transverse section", beta);
        }
        report("%s: the flank's points of %sz = %d, x = %s, module %s mm%s", out.file, gear_kind,
               the_gear.params.z, shift, module, helix);
    }
    return 0;
}

static int write_output(const Output& out, bool output_closed) {
    switch (out.kind) {
        case OUTPUT_INFO:
            if (out.format == FORMAT_TEXT) return output_closed ? EBADF : write_info(stdout, &out);
            return write_info_file(out);
        case OUTPUT_FLANK:
            return write_flank_output(out);
        case OUTPUT_GEAR:
            return write_gear_output(out);
        case OUTPUT_SHEET:
            return write_sheet_output(out);
        case OUTPUT_SOLID:
            return write_solid_output(out);
        default:
            return write_render_output(out);
    }
}

// Whether the output's bore leaves material under the teeth of every external
// gear it writes; false, said why, when it does not.
static bool bore_fits(const Output& out) {
    if (out.kind != OUTPUT_SOLID || out.bore_diameter == 0.0) return true;
    const bool pair = mate_chosen() && !out.standard;
    for (int i = 0; i < (pair ? 2 : 1); ++i) {
        const Gear& gear = i == 0 ? the_gear : the_mate;
        if (gear.params.internal) continue;  // a ring has its rim, no bore
        const double x_s = i == 0 && out.standard ? 0.0 : gear.params.x;
        const double largest = largest_bore(gear, x_s, out.module, out.tolerance);
        if (out.bore_diameter < largest) continue;
        char bore[NUMBER_CAPACITY];
        number_text(out.bore_diameter, bore);
        tell("--bore %s of \"%s\" reaches the %s's root circle (diameter %.4f mm): it must be below %.4f mm",
             bore, out.file, i == 0 ? "gear" : "mate", root_diameter(gear, x_s, out.module), largest);
        tell("try 'rackgen --help'");
        return false;
    }
    return true;
}

bool outputs_fit_gear() {
    for (int i = 0; i < command_line.output_count; ++i) {
        const Output& out = command_line.outputs[i];
        if (!bore_fits(out)) return false;
        if ((out.kind != OUTPUT_GEAR && out.kind != OUTPUT_SOLID) || out.rim_diameter == 0.0) continue;
        double x_s = 0.0;
        const Gear* ring = drawn_ring(out, x_s);
        if (ring == nullptr) continue;  // --standard draws the pinion alone
        const double root = ring_root_diameter(*ring, x_s, out.module);
        if (out.rim_diameter > root) continue;
        char rim[NUMBER_CAPACITY];
        char root_text[NUMBER_CAPACITY];
        number_text(out.rim_diameter, rim);
        std::snprintf(root_text, sizeof root_text, "%.4f", root);
        tell("--rim-diameter %s of \"%s\" must be larger than the %sring's root diameter, %s mm", rim,
             out.file, out.standard ? "standard " : "", root_text);
        tell("try 'rackgen --help'");
        return false;
    }
    return true;
}

int write_outputs(bool output_closed) {
    int status = EXIT_WRITTEN;
    for (int i = 0; i < command_line.output_count; ++i) {
        const Output& out = command_line.outputs[i];
        int fault = write_output(out, output_closed);
        if (fault == OUTPUT_REFUSED) {
            status = EXIT_FAILED;  // said why already
        } else if (fault != 0) {
            tell("cannot write \"%s\": %s", out.file ? out.file : "standard output", std::strerror(fault));
            status = EXIT_FAILED;
        }
    }
    return status;
}
