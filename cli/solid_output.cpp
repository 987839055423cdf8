// --solid: the gear taken as a solid, or with --mate the pair in mesh as
// --gear places it (the mate on +x at the working centre distance; --standard:
// the gear alone), written as triangle meshes (STL, 3MF) or, where rackgen was
// built with OpenCASCADE, as exact solids (STEP). No state.
#include "cli/options.hpp"

#include "choice/choice.hpp"
#include "console/console.hpp"
#include "solid/solid.hpp"
#if RACKGEN_STEP
#include "step/step.hpp"
#endif

#include <cerrno>
#include <cstdio>

// How the report names what a file holds.
static const char* solid_contents(const Output& out, int count) {
    const bool ring = the_gear.params.internal;
    return count == 2     ? "the gear and its mate, two bodies"
           : out.standard ? (ring ? "the standard ring (x = 0)" : "the standard gear (x = 0)")
           : ring         ? "the ring"
                          : "the gear";
}

// The line that says what the file holds: its bodies, face width, bore,
// module and tolerance, and then what (the triangles, or that they are STEP's solids).
static void report_solid(const Output& out, int count, double face_width, const char* then) {
    char settings[SETTINGS_CAPACITY];
    module_text(out, settings, SETTINGS_CAPACITY);
    char width[NUMBER_CAPACITY];
    number_text(face_width, width);
    char tolerance[NUMBER_CAPACITY];
    number_text(out.tolerance, tolerance);
    char bore[NUMBER_CAPACITY + 32] = "";
    if (out.bore_diameter > 0.0) {
        char diameter[NUMBER_CAPACITY];
        number_text(out.bore_diameter, diameter);
        std::snprintf(bore, sizeof bore, ", bore %s mm", diameter);
    }
    report("%s: %s, face width %s mm%s, %s, tolerance %s mm, %s", out.file, solid_contents(out, count), width,
           bore, settings, tolerance, then);
}

// The bodies and the format asked for.
struct SolidFile {
    const SolidMesh* meshes;  // the gear's, and the mate's in mesh with it when one was given
    int count;
    FileFormat format;
};

// context: the SolidFile.
static int write_solid(FILE* file, const void* context) {
    const SolidFile& solid_file = *static_cast<const SolidFile*>(context);
    static const char* const NAMES[SOLID_CAPACITY] = {"gear", "mate"};
    errno = 0;
    const bool written = solid_file.format == FORMAT_3MF
                             ? write_solids_3mf_file(solid_file.meshes, NAMES, solid_file.count, file)
                             : write_solids_stl_file(solid_file.meshes, solid_file.count, file);
    if (!written || std::fflush(file) != 0) return errno != 0 ? errno : EIO;
    return 0;
}

// The gear as a solid, with --mate the pair in mesh as --gear places it (the
// mate on +x at the working centre distance; --standard: the gear alone).
static int write_mesh_output(const Output& out, double face_width) {
    const SolidRequest request{face_width, out.bore_diameter, out.tolerance, out.rim_diameter, 0};
    SolidMesh meshes[SOLID_CAPACITY];
    const char* refusal = nullptr;
    const int count =
        build_written_solids(the_gear, mate_chosen() && !out.standard ? &the_mate : nullptr,
                             out.standard ? 0.0 : the_gear.params.x, out.module, request, meshes, refusal);
    if (count == 0) {
        tell("cannot write \"%s\": %s", out.file, refusal);
        return OUTPUT_REFUSED;
    }
    const SolidFile file{meshes, count, out.format};
    const int fault = write_file_whole(out.file, write_solid, &file).fault;
    if (fault != 0) return fault;
    size_t triangles = 0;
    for (int i = 0; i < count; ++i) triangles += meshes[i].triangles.size();
    char then[48];
    std::snprintf(then, sizeof then, "%zu triangles", triangles);
    report_solid(out, count, face_width, then);
    return 0;
}

#if RACKGEN_STEP
// The solids and what the kernel said when it could not make them.
struct StepFile {
    const StepSolid* solids;
    int count;
    double face_width;
    mutable const char* refusal;  // written by write_step when the kernel refuses, read by its caller
};

// context: the StepFile. A refusal of the kernel's is no write error: it
// leaves no file, and the caller says why.
static int write_step(FILE* file, const void* context) {
    const StepFile& step = *static_cast<const StepFile*>(context);
    errno = 0;
    const char* failure = write_step_file(file, step.solids, step.count, step.face_width);
    if (failure != nullptr && !std::ferror(file)) {
        step.refusal = failure;
        return ECANCELED;
    }
    if (failure != nullptr || std::fflush(file) != 0) return errno != 0 ? errno : EIO;
    return 0;
}

// The outlines --gear would write, each a solid of the kernel's: exact arcs,
// splines through the flanks' chords, a helical gear lofted along its helix.
static int write_step_output(const Output& out, double face_width) {
    GearOutline outlines[SOLID_CAPACITY];
    const Gear* mate = mate_chosen() && !out.standard ? &the_mate : nullptr;
    const int count = build_written_outlines(the_gear, mate, out.standard ? 0.0 : the_gear.params.x,
                                             out.module, out.tolerance, out.rim_diameter, outlines);
    if (const char* refusal = outline_refusal(outlines, count)) {
        tell("cannot write \"%s\": %s", out.file, refusal);
        return OUTPUT_REFUSED;
    }
    static const char* const NAMES[SOLID_CAPACITY] = {"gear", "mate"};
    StepSolid solids[SOLID_CAPACITY];
    for (int i = 0; i < count; ++i) {
        const Gear& gear = i == 0 ? the_gear : the_mate;
        solids[i] = StepSolid{&outlines[i], outlines[i].rim > 0.0 ? 0.0 : out.bore_diameter,
                              helix_twist(gear.params, out.module), NAMES[i]};
    }
    const StepFile file{solids, count, face_width, nullptr};
    const int fault = write_file_whole(out.file, write_step, &file).fault;
    if (file.refusal != nullptr) {
        tell("cannot write \"%s\": %s", out.file, file.refusal);
        return OUTPUT_REFUSED;
    }
    if (fault != 0) return fault;
    report_solid(out, count, face_width, "STEP solids");
    return 0;
}
#endif

int write_solid_output(const Output& out) {
    // --face-width, or ten modules.
    const double face_width =
        command_line.face_width > 0.0 ? command_line.face_width : SOLID_FACE_WIDTH_MODULES * out.module;
#if RACKGEN_STEP
    if (out.format == FORMAT_STEP) return write_step_output(out, face_width);
#endif
    return write_mesh_output(out, face_width);
}
