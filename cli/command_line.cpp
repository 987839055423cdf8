// The command line's run: options, the gear checked and computed as the
// dialogue does it, with the cutter given, then the outputs. No state of its own.
#include "cli/cli.hpp"
#include "cli/options.hpp"

#include "console/console.hpp"
#include "gear_data/gear_data.hpp"
#include "geometry/geometry.hpp"
#include "picture/picture.hpp"

#include <cstdio>

// The dialogue's own checks and messages, in the dialogue's order: first z
// alone, then x (none: 0), each refusal after the option's name; an accepted
// pointed tooth with the dialogue's warning.
static bool answers_accepted(const char* teeth_option, const char* teeth_text, const char* shift_option,
                             const char* shift_text, int& z, double& x) {
    char refusal[ANSWER_MESSAGE_CAPACITY];
    if (!check_teeth_answer(teeth_text, false, z, refusal, ANSWER_MESSAGE_CAPACITY)) {
        tell("%s %s", teeth_option, refusal);
        return false;
    }
    if (!check_shift_answer(shift_text ? shift_text : "0", false, z, x, refusal, ANSWER_MESSAGE_CAPACITY)) {
        tell("%s %s", shift_option, refusal);
        return false;
    }
    char warning[GEAR_WARNING_CAPACITY];
    if (gear_warning(z, x, warning, GEAR_WARNING_CAPACITY)) tell("%s", warning);
    return true;
}

static bool gear_accepted(const CommandLine& c) {
    int z = 0;       // c.z again
    double x = 0.0;  // c.x again
    return answers_accepted("--teeth", c.teeth_text, "--shift", c.shift_text, z, x);
}

// The mate, checked as a gear is; it becomes the mate in use.
static bool mate_accepted(const CommandLine& c) {
    if (c.mate_text == nullptr && c.mate_shift_text == nullptr) return true;
    if (c.mate_text == nullptr) {
        tell("--mate-shift needs --mate Z2: the default mate is a standard gear");
        return false;
    }
    int z = 0;
    double x = 0.0;
    if (!answers_accepted("--mate", c.mate_text, "--mate-shift", c.mate_shift_text, z, x)) return false;
    mate_teeth = z;
    mate_shift = x;
    return true;
}

// A pair whose path of contact leaves a form circle is written all the same,
// after one line that says which tip digs into which root.
static void warn_of_interference() {
    if (const char* text = mate_interference()) tell("the gear and its mate interfere: %s", text);
}

int run_command_line(int argc, char** argv) {
    ParseResult parsed = parse_command_line(argc, argv);
    if (parsed == PARSE_DONE) return EXIT_WRITTEN;
    if (parsed == PARSE_REFUSED) return EXIT_BAD_USAGE;
    gear_cutter = command_line.cutter;  // the checks read it, too
    if (!gear_accepted(command_line) || !mate_accepted(command_line)) return EXIT_FAILED;
    gear_module = command_line.module;
    compute_gear(command_line.z, command_line.x);
    if (command_line.mate_text != nullptr) warn_of_interference();
    if (command_line.output_count == 0) return SHOW_IN_WINDOW;
    const int status = write_outputs();
    release_picture_fonts();
    return status;
}
