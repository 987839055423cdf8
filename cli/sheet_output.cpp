// --sheet: the gear data sheet of the gear taken, its outline built at the
// sheet's scale, in the language asked for or the locale's. No state.
#include "cli/options.hpp"

#include "choice/choice.hpp"
#include "console/console.hpp"
#include "outline/outline.hpp"
#include "sheet/sheet.hpp"

#include <cstdlib>
#include <cstring>

// How far the drawn flanks' chords may stray from the exact form: a hundredth
// of a millimetre on the paper.
constexpr double PAPER_TOLERANCE = 0.01;

// Whether the locale's language for messages is Japanese: the first of
// LC_ALL, LC_MESSAGES and LANG that is set and not empty, as POSIX reads them.
static bool locale_is_japanese() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') return std::strncmp(value, "ja", 2) == 0;
    }
    return false;
}

// The sheet's context for write_file_whole.
struct SheetFile {
    const GearSheet* sheet;
    PictureFormat format;
};

static int write_sheet(FILE* file, const void* context) {
    const SheetFile& sheet_file = *static_cast<const SheetFile*>(context);
    return write_gear_sheet(*sheet_file.sheet, sheet_file.format, file);
}

int write_sheet_output(const Output& out) {
    const ChosenData data = chosen_data(out.module, out.pin_diameter, mate_chosen());
    const double x = the_gear.params.x;
    // The scale from the largest circle drawn: the tip circle, or a ring's rim.
    const double radius = the_gear.params.internal ? 0.5 * default_rim_diameter(the_gear, x, out.module)
                                                   : 0.5 * data.gear.tip_diameter;
    char scale[SCALE_TEXT_CAPACITY];
    const double factor = sheet_scale(radius, scale, SCALE_TEXT_CAPACITY);
    GearOutline outline;
    build_written_outlines(the_gear, nullptr, x, out.module, PAPER_TOLERANCE / factor, 0.0, &outline);
    if (const char* refusal = outline_refusal(&outline, 1)) {
        tell("cannot write \"%s\": %s", out.file, refusal);
        return OUTPUT_REFUSED;
    }
    const bool japanese = out.lang_given ? out.japanese : locale_is_japanese();
    const GearSheet sheet = {&data, &outline, japanese};
    const SheetFile file = {&sheet, out.format == FORMAT_PDF ? PICTURE_PDF : PICTURE_SVG};
    const int fault = write_file_whole(out.file, write_sheet, &file).fault;
    if (fault != 0) return fault;
    char module[NUMBER_CAPACITY];
    number_text(out.module, module);
    report("%s: the gear data sheet of %s%s, module %s mm, scale %s, %s", out.file,
           the_gear.params.internal ? "the ring" : "the gear",
           data.with_pair ? ", its mate and the pair" : "", module, scale, japanese ? "Japanese" : "English");
    return 0;
}
