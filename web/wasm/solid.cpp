// The page's solids in the wasm module: the checks of the face width and the
// bore beside the downloads, and the gear's solid, STL or 3MF, written into the
// module's memory file system as --solid writes it. No state of its own.
#include "web/wasm/export.hpp"

#include "choice/choice.hpp"
#include "outline/outline.hpp"
#include "solid/solid.hpp"

#include <cstdio>
#include <cstring>

constexpr int REFUSAL_CAPACITY = 160;  // the longest refusal below, with its two numbers

// The most triangles of one file: its meshes and the 3MF's text of them must
// fit in the module's memory, which never grows.
constexpr size_t SOLID_TRIANGLE_LIMIT = 300000;

// Why the solid cannot have that face width (mm, 0: the default, ten modules;
// NaN: no number), as --face-width refuses it; "" when it can.
WEB_EXPORT const char* web_face_width_refusal(double face_width) {
    static char refusal[REFUSAL_CAPACITY];
    if (face_width == 0.0 || (face_width > 0.0 && face_width <= FACE_WIDTH_MAX)) return "";
    std::snprintf(refusal, sizeof refusal,
                  "the face width must be a number of millimetres above 0 and at most %g", FACE_WIDTH_MAX);
    return refusal;
}

// Why the gear shown (and its chosen mate) cannot have a bore of that diameter
// (mm, 0: none; NaN: no number), as --bore refuses it: out of range, through a
// ring, or reaching the root circle of an external gear; "" when it can.
WEB_EXPORT const char* web_bore_refusal(double bore) {
    static char refusal[REFUSAL_CAPACITY];
    if (!(bore >= 0.0 && bore <= BORE_DIAMETER_MAX)) {
        std::snprintf(refusal, sizeof refusal, "the bore must be a number of millimetres from 0 to %g",
                      BORE_DIAMETER_MAX);
        return refusal;
    }
    if (bore == 0.0) return "";
    if (the_gear.params.internal) return "a ring has no bore, only its rim";
    for (int i = 0; i < (mate_chosen() ? 2 : 1); ++i) {
        const Gear& gear = i == 0 ? the_gear : the_mate;
        if (gear.params.internal) continue;  // a pinion's ring has its rim
        const double largest = largest_bore(gear, gear.params.x, gear_choice.module, OUTLINE_TOLERANCE);
        if (bore < largest) continue;
        std::snprintf(refusal, sizeof refusal,
                      "the bore reaches the %s's root circle (diameter %.4f mm): it must be below %.4f mm",
                      i == 0 ? "gear" : "mate", root_diameter(gear, gear.params.x, gear_choice.module),
                      largest);
        return refusal;
    }
    return "";
}

// The gear's solid, with a chosen mate the pair in mesh, as --solid with --mate
// writes it: at the module of the gear shown, the command line's default
// tolerance and rim, face width mm (0: ten modules) and a bore of bore mm
// through every external gear (0: none); binary STL, or 3MF when path ends
// in ".3mf". "" or why not.
WEB_EXPORT const char* web_write_solid(const char* path, double face_width, double bore) {
    const char* refusal = web_face_width_refusal(face_width);
    if (*refusal == '\0') refusal = web_bore_refusal(bore);
    if (*refusal != '\0') return refusal;
    const double module = gear_choice.module;
    const SolidRequest request{face_width > 0.0 ? face_width : SOLID_FACE_WIDTH_MODULES * module, bore,
                               OUTLINE_TOLERANCE, 0.0, SOLID_TRIANGLE_LIMIT};
    SolidMesh meshes[SOLID_CAPACITY];
    const int count = build_written_solids(the_gear, mate_chosen() ? &the_mate : nullptr, the_gear.params.x,
                                           module, request, meshes, refusal);
    if (count == 0) return refusal;
    const size_t length = std::strlen(path);
    const bool three_mf = length >= 4 && std::strcmp(path + length - 4, ".3mf") == 0;
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return "the gear's solid could not be made";
    static const char* const NAMES[SOLID_CAPACITY] = {"gear", "mate"};
    bool ok = three_mf ? write_solids_3mf_file(meshes, NAMES, count, file)
                       : write_solids_stl_file(meshes, count, file);
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the gear's solid could not be written";
}
