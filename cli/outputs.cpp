// The command line's outputs, each written whole under its name
// (write_file_whole): the tooth data file, the whole gear's outline and the
// picture of a scene frame. Owns the outline's vertex array.
#include "cli/options.hpp"

#include "console/console.hpp"
#include "gear_data/gear_data.hpp"
#include "geometry/geometry.hpp"
#include "outline/outline.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

// ---- Global state ------------------------------------------------------------
// The outline of the gear being written; filled by write_gear_output, read by its writers.
static ProfilePoint gear_points[GEAR_OUTLINE_CAPACITY];
static int gear_point_count;

static int write_flank(FILE* file, const void*) {
    return write_tooth_data(gear_params.z, shifted_tooth.flank_last, shifted_tooth.flank, file);
}

using OutlineFileWriter = bool (*)(const ProfilePoint* points, int count, FILE* file);

// context: the OutlineFileWriter of the format asked for.
static int write_outline(FILE* file, const void* context) {
    OutlineFileWriter writer = *static_cast<const OutlineFileWriter*>(context);
    errno = 0;
    if (!writer(gear_points, gear_point_count, file) || std::fflush(file) != 0)
        return errno != 0 ? errno : EIO;
    return 0;
}

static int write_gear_output(const Output& out) {
    const ToothProfile& tooth = out.standard ? standard_tooth : shifted_tooth;
    gear_point_count =
        build_gear_outline(tooth, gear_params.z, out.module, gear_points, GEAR_OUTLINE_CAPACITY);
    if (gear_point_count == 0)
        return ENOBUFS;  // cannot happen for an accepted gear: the capacity covers z = Z_MAX
    OutlineFileWriter writer = out.format == FORMAT_DXF ? write_outline_dxf_file : write_outline_svg_file;
    return write_file_whole(out.file, write_outline, &writer).fault;
}

// The gear's data, and the mate's and the pair's when a mate was given.
static int write_info(FILE* file, const void* context) {
    const Output& out = *static_cast<const Output*>(context);
    const GearData gear = gear_data(command_line.module, command_line.pin_diameter);
    if (command_line.mate_text == nullptr)
        return out.format == FORMAT_JSON ? write_gear_data_json(gear, file)
                                         : write_gear_data_text(gear, file);
    compute_mate();
    const GearData mate = mate_data(command_line.module, command_line.pin_diameter);
    const PairData pair = pair_data(gear, mate);
    if (out.format == FORMAT_JSON) return write_gear_data_json(gear, file, &mate, &pair);
    const int fault = write_gear_data_text(gear, file);
    return fault != 0 ? fault : write_pair_data_text(mate, pair, file);
}

static int write_output(const Output& out) {
    switch (out.kind) {
        case OUTPUT_INFO:
            return out.format == FORMAT_TEXT ? write_info(stdout, &out)
                                             : write_file_whole(out.file, write_info, &out).fault;
        case OUTPUT_FLANK:
            return write_file_whole(out.file, write_flank, nullptr).fault;
        case OUTPUT_GEAR:
            return write_gear_output(out);
        default:
            return write_render_output(out);
    }
}

int write_outputs() {
    int status = EXIT_WRITTEN;
    for (int i = 0; i < command_line.output_count; ++i) {
        const Output& out = command_line.outputs[i];
        int fault = write_output(out);
        if (fault != 0) {
            tell("cannot write \"%s\": %s", out.file ? out.file : "standard output", std::strerror(fault));
            status = EXIT_FAILED;
        }
    }
    return status;
}
