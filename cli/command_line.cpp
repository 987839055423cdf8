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
// alone, then x; an accepted pointed tooth with the dialogue's warning. The
// options have been read as numbers already.
static bool gear_accepted(const CommandLine& c) {
    char refusal[ANSWER_MESSAGE_CAPACITY];
    int z = 0;       // c.z again
    double x = 0.0;  // c.x again
    if (!check_teeth_answer(c.teeth_text, false, z, refusal, ANSWER_MESSAGE_CAPACITY)) {
        tell("--teeth %s", refusal);
        return false;
    }
    if (!check_shift_answer(c.shift_text ? c.shift_text : "0", false, z, x, refusal,
                            ANSWER_MESSAGE_CAPACITY)) {
        tell("--shift %s", refusal);
        return false;
    }
    char warning[GEAR_WARNING_CAPACITY];
    if (gear_warning(c.z, c.x, warning, GEAR_WARNING_CAPACITY)) tell("%s", warning);
    return true;
}

// The mate, checked as a gear is, with the options' names in the messages.
static bool mate_accepted(const CommandLine& c) {
    if (c.mate_text == nullptr && c.mate_shift_text == nullptr) return true;
    char refusal[ANSWER_MESSAGE_CAPACITY];
    int z = 0;
    double x = 0.0;
    if (c.mate_text == nullptr) {
        tell("--mate-shift needs --mate Z2: the default mate is a standard gear");
        return false;
    }
    if (!check_teeth_answer(c.mate_text, false, z, refusal, ANSWER_MESSAGE_CAPACITY)) {
        tell("--mate %s", refusal);
        return false;
    }
    if (!check_shift_answer(c.mate_shift_text ? c.mate_shift_text : "0", false, z, x, refusal,
                            ANSWER_MESSAGE_CAPACITY)) {
        tell("--mate-shift %s", refusal);
        return false;
    }
    mate_teeth = z;
    mate_shift = x;
    return true;
}

int run_command_line(int argc, char** argv) {
    ParseResult parsed = parse_command_line(argc, argv);
    if (parsed == PARSE_DONE) return EXIT_WRITTEN;
    if (parsed == PARSE_REFUSED) return EXIT_BAD_USAGE;
    gear_cutter = command_line.cutter;  // the checks read it, too
    if (!gear_accepted(command_line) || !mate_accepted(command_line)) return EXIT_FAILED;
    gear_module = command_line.module;
    compute_gear(command_line.z, command_line.x);
    if (command_line.output_count == 0) return SHOW_IN_WINDOW;
    const int status = write_outputs();
    release_picture_fonts();
    return status;
}
