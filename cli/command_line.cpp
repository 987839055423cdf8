// The command line's run: options, the gear checked as the dialogue checks it,
// with the cutter given, and taken as every front end takes one; then the
// outputs. No state of its own.
#include "cli/cli.hpp"
#include "cli/options.hpp"

#include "choice/choice.hpp"
#include "console/console.hpp"
#include "gear_data/gear_data.hpp"
#include "picture/picture.hpp"

#include <cstdio>
#include <cstring>

// The dialogue's own checks and messages, in the dialogue's order: first z
// alone, then x (none: 0), each refusal after the option's name; an accepted
// pointed tooth with the dialogue's warning.
static bool answers_accepted(const Cutter& cutter, bool internal, const char* teeth_option,
                             const char* teeth_text, const char* shift_option, const char* shift_text, int& z,
                             double& x) {
    char refusal[ANSWER_MESSAGE_CAPACITY];
    if (!check_teeth_answer(cutter, internal, teeth_text, false, z, refusal, ANSWER_MESSAGE_CAPACITY)) {
        tell("%s %s", teeth_option, refusal);
        return false;
    }
    if (!check_shift_answer(cutter, internal, shift_text ? shift_text : "0", false, z, x, refusal,
                            ANSWER_MESSAGE_CAPACITY)) {
        tell("%s %s", shift_option, refusal);
        return false;
    }
    char warning[GEAR_WARNING_CAPACITY];
    if (gear_warning(cutter, z, x, warning, GEAR_WARNING_CAPACITY, internal)) tell("%s", warning);
    return true;
}

// The gear, its cutter and module, and the mate when one is given: false, said
// why, when an answer is refused.
static bool choice_of(const CommandLine& c, GearChoice& choice) {
    choice = GearChoice{0, 0.0, c.cutter, c.module, 0, 0.0, c.internal};
    choice.face_width = c.face_width;
    choice.allowance_given = c.allowance_given;
    choice.allowance[0] = c.allowance[0];
    choice.allowance[1] = c.allowance[1];
    choice.mate_allowance_given = c.mate_allowance_given;
    choice.mate_allowance[0] = c.mate_allowance[0];
    choice.mate_allowance[1] = c.mate_allowance[1];
    choice.centre_distance = c.centre_distance;
    choice.centre_distance_tolerance = c.centre_distance_tolerance;
    if (!answers_accepted(c.cutter, c.internal, "--teeth", c.teeth_text, "--shift", c.shift_text, choice.z,
                          choice.x))
        return false;
    if (c.mate_text == nullptr) return true;  // --mate-shift alone is bad usage
    choice.mate_internal = c.mate_internal;
    if (!answers_accepted(c.cutter, c.mate_internal, "--mate", c.mate_text, "--mate-shift", c.mate_shift_text,
                          choice.mate_z, choice.mate_x))
        return false;
    // Mounted at a centre distance with no mate's shift given: the shift that
    // meshes there without backlash (the classic design step).
    if (c.centre_distance > 0.0 && c.mate_shift_text == nullptr && !c.internal && !c.mate_internal) {
        const double x2 = mate_shift_at_centre_distance(choice);
        char refusal[ANSWER_MESSAGE_CAPACITY];
        char shift[SHORTEST_REAL_CAPACITY];
        if (!(x2 == x2)) {
            tell("--centre-distance %g: no working pressure angle gives that centre distance",
                 c.centre_distance);
            return false;
        }
        if (!check_shift_answer(c.cutter, false, shortest_real(x2, shift), false, choice.mate_z,
                                choice.mate_x, refusal, ANSWER_MESSAGE_CAPACITY)) {
            tell("--centre-distance %g asks the mate's shift %s: %s", c.centre_distance, shift, refusal);
            return false;
        }
        choice.mate_x = x2;
    }
    return true;
}

int run_command_line(int argc, char** argv, bool output_closed) {
    ParseResult parsed = parse_command_line(argc, argv);
    if (parsed == PARSE_DONE) {  // --help or --version, on standard output
        if (const int fault = standard_output_fault(output_closed)) {
            tell("cannot write \"standard output\": %s", std::strerror(fault));
            return EXIT_FAILED;
        }
        return EXIT_WRITTEN;
    }
    if (parsed == PARSE_REFUSED) return EXIT_BAD_USAGE;
    GearChoice choice;
    if (!choice_of(command_line, choice)) return EXIT_FAILED;
    if (const char* refusal = take_gear(choice)) {
        tell("%s", refusal);
        return EXIT_FAILED;
    }
    // A pair whose path of contact leaves a form circle is written all the
    // same, after one line that says which tip digs into which root.
    if (mate_chosen())
        if (const char* text = pair_interference(the_gear, the_mate))
            tell("the gear and its mate interfere: %s", text);
    // Backlash below the recommended least is said once; none at all, the gears bind.
    if (mate_chosen()) {
        const ChosenData data = chosen_data(choice.module, 0.0, true);
        if (data.pair.backlash_warning != nullptr)
            tell("the pair's backlash: %s (least %.4f mm, recommended at least %.4f mm)",
                 data.pair.backlash_warning, data.pair.normal_backlash[0], data.pair.least_recommended_backlash);
    }
    if (command_line.output_count == 0) return SHOW_IN_WINDOW;
    if (!outputs_fit_gear()) return EXIT_BAD_USAGE;
    const int status = write_outputs(output_closed);
    release_picture_fonts();
    return status;
}
