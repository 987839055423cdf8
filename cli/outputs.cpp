// The command line's outputs, each written whole under its name
// (write_file_whole): the tooth data file, the whole gear's outline and the
// picture of a scene frame. No state of its own.
#include "cli/options.hpp"

#include "console/console.hpp"
#include "geometry/geometry.hpp"
#include "outline/outline.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

static int write_flank(FILE* file, const void*) {
    return write_tooth_data(gear_params.z, shifted_tooth.flank_last, shifted_tooth.flank, file);
}

// The outline and the writer of the format asked for.
struct OutlineFile {
    const GearOutline& outline;
    bool (*writer)(const GearOutline& outline, FILE* file);
};

// context: the OutlineFile.
static int write_outline(FILE* file, const void* context) {
    const OutlineFile& outline_file = *static_cast<const OutlineFile*>(context);
    errno = 0;
    if (!outline_file.writer(outline_file.outline, file) || std::fflush(file) != 0)
        return errno != 0 ? errno : EIO;
    return 0;
}

static int write_gear_output(const Output& out) {
    const GearOutline outline =
        build_gear_outline(out.standard ? 0.0 : gear_params.x, out.module, out.tolerance);
    const OutlineFile file{outline,
                           out.format == FORMAT_DXF ? write_outline_dxf_file : write_outline_svg_file};
    return write_file_whole(out.file, write_outline, &file).fault;
}

static int write_output(const Output& out) {
    switch (out.kind) {
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
            tell("cannot write \"%s\": %s", out.file, std::strerror(fault));
            status = EXIT_FAILED;
        }
    }
    return status;
}
