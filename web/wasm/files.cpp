// The page's downloads in the wasm module: the tooth data file, the gear's
// outline and its data sheet, written into the module's memory file system for the page to hand
// to the browser.
#include "web/wasm/export.hpp"

#include "choice/choice.hpp"
#include "console/console.hpp"
#include "gear_data/gear_data.hpp"
#include "outline/outline.hpp"
#include "sheet/sheet.hpp"

#include <cstdio>
#include <cstring>

// ---- files for download -----------------------------------------------------------
// Written into the module's memory file system under the page's path, from
// where the page hands the bytes to the browser. Each returns "" or why not.

// The tooth data file of the shifted gear, the bytes the dialogue's '1' writes.
WEB_EXPORT const char* web_write_data_file(const char* path) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return "the data file could not be made";
    const ToothProfile& tooth = the_gear.shifted_tooth;
    bool ok = write_tooth_data(the_gear.params.z, tooth.flank_last, tooth.flank, file) == 0;
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the data file could not be written";
}

// The shifted gear's whole outline at module millimetres per module unit (the
// page checks it against MODULE_MIN and MODULE_MAX) and the command line's
// default tolerance, with a chosen mate beside it meshing (a pinion inside a
// ring, or a ring about it), as --gear with --mate writes them; a ring with its
// default rim, as --gear writes one: SVG, or DXF when path ends in ".dxf".
WEB_EXPORT const char* web_write_gear(const char* path, double module) {
    GearOutline outlines[2];
    const int count = build_written_outlines(the_gear, mate_chosen() ? &the_mate : nullptr, the_gear.params.x,
                                             module, OUTLINE_TOLERANCE, 0.0, outlines);
    if (const char* refusal = outline_refusal(outlines, count)) return refusal;
    size_t length = std::strlen(path);
    bool dxf = length >= 4 && std::strcmp(path + length - 4, ".dxf") == 0;
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return "the gear's outline could not be made";
    bool ok =
        dxf ? write_outlines_dxf_file(outlines, count, file) : write_outlines_svg_file(outlines, count, file);
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the gear's outline could not be written";
}

// The gear data sheet as --sheet FILE.svg writes it, at the module of the gear
// shown, with the usual pins, the mate's and the pair's figures for a chosen
// mate; in Japanese when japanese is not 0.
WEB_EXPORT const char* web_write_sheet(const char* path, int japanese) {
    const ChosenData data = chosen_data(gear_choice.module, 0.0, mate_chosen());
    char scale[SCALE_TEXT_CAPACITY];
    GearOutline outline;
    if (const char* refusal = build_sheet_outline(data, gear_choice.module, &outline, scale)) return refusal;
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return "the data sheet could not be made";
    const GearSheet sheet = {&data, &outline, japanese != 0};
    bool ok = write_gear_sheet_svg(sheet, file) == 0;
    ok = std::fclose(file) == 0 && ok;
    return ok ? "" : "the data sheet could not be written";
}
