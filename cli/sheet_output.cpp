// --sheet: the gear data sheet of the gear taken, its outline built at the
// sheet's scale, in the language asked for or the locale's. No state.
#include "cli/options.hpp"

#include "choice/choice.hpp"
#include "console/console.hpp"
#include "outline/outline.hpp"
#include "sheet/sheet.hpp"

#include <cstdlib>
#include <cstring>

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
    bool pdf;  // else SVG
};

static int write_sheet(FILE* file, const void* context) {
    const SheetFile& sheet_file = *static_cast<const SheetFile*>(context);
    return sheet_file.pdf ? write_gear_sheet_pdf(*sheet_file.sheet, file)
                          : write_gear_sheet_svg(*sheet_file.sheet, file);
}

int write_sheet_output(const Output& out) {
    const ChosenData data = chosen_data(out.module, out.pin_diameter, mate_chosen());
    char scale[SCALE_TEXT_CAPACITY];
    GearOutline outline;
    if (const char* refusal = build_sheet_outline(data, out.module, &outline, scale)) {
        tell("cannot write \"%s\": %s", out.file, refusal);
        return OUTPUT_REFUSED;
    }
    const bool japanese = out.lang_given ? out.japanese : locale_is_japanese();
    const GearSheet sheet = {&data, &outline, japanese};
    const SheetFile file = {&sheet, out.format == FORMAT_PDF};
    const int fault = write_file_whole(out.file, write_sheet, &file).fault;
    if (fault != 0) return fault;
    char module[NUMBER_CAPACITY];
    number_text(out.module, module);
    report("%s: the gear data sheet of %s%s, module %s mm, scale %s, %s", out.file,
           the_gear.params.internal ? "the ring" : "the gear",
           data.with_pair ? ", its mate and the pair" : "", module, scale, japanese ? "Japanese" : "English");
    return 0;
}
