// The parameter dialogue: takes z and x at the console (take_gear computes the
// gear), offers the tooth data file, resets the animation and prints the key
// help; or takes a gear the command line took. Owns only the knowledge whether
// a gear has been taken yet.
#include "console/console.hpp"
#include "console/console_io.hpp"
#include "console/dialogue_texts.hpp"

#include "choice/choice.hpp"
#include "gear_data/gear_data.hpp"
#include "scenes/scenes.hpp"

#include <cstdio>
#include <cstdlib>

// ---- Global state ------------------------------------------------------------
// True once a dialogue has computed a gear or the command line's was taken.
// Before that, the end of input leaves nothing to show and ends the program;
// afterwards the previous gear stays.
static bool gear_computed;

enum Answer {
    ANSWER_VALID,
    ANSWER_ENDED,  // standard input ended
};

// Asks for z (teeth) or for x with z teeth until the answer is accepted for the
// gear's cutter: a refused one is named with its reason and drops the rest of
// its line.
static Answer ask(bool teeth, bool internal, int& z, double& x, const char* prompt) {
    const Cutter& cutter = gear_choice.cutter;
    char word[ANSWER_WORD_CAPACITY];
    char refusal[ANSWER_MESSAGE_CAPACITY];
    for (;;) {
        say(prompt);
        std::fflush(stdout);
        WordResult got = read_word(word, ANSWER_WORD_CAPACITY);
        if (got == WORD_END) return ANSWER_ENDED;
        bool longer = got == WORD_TOO_LONG;
        if (teeth
                ? check_teeth_answer(cutter, internal, word, longer, z, refusal, ANSWER_MESSAGE_CAPACITY)
                : check_shift_answer(cutter, internal, word, longer, z, x, refusal, ANSWER_MESSAGE_CAPACITY))
            return ANSWER_VALID;
        complain("%s", refusal);
        discard_line();
    }
}

// A pointed tooth is shown like any other, with one line that says so.
static void warn_of_pointed_tooth(int z, double x, bool internal) {
    char warning[GEAR_WARNING_CAPACITY];
    if (gear_warning(gear_choice.cutter, z, x, warning, GEAR_WARNING_CAPACITY, internal))
        complain("%s", warning);
}

// A pair whose path of contact leaves a form circle is taken all the same,
// with one line that says which tip digs into which root.
static void warn_of_interference() {
    if (const char* text = pair_interference(the_gear, the_mate))
        complain("the gear and its mate interfere: %s", text);
}

// The choice in effect with what the dialogue asked changed, taken. The
// answers were checked as they were typed; only a pair that cannot mesh (the
// chosen mate with a new gear, or a new mate) is refused: then what was stays,
// and the dialogue says so. False when refused.
static bool take(const GearChoice& choice) {
    if (const char* refusal = take_gear(choice)) {
        char x[SHORTEST_REAL_CAPACITY];
        char x2[SHORTEST_REAL_CAPACITY];
        complain("%s; the gear (z = %d, x = %s) and its mate (z2 = %d, x2 = %s) stay.", refusal,
                 gear_choice.z, shortest_real(gear_choice.x, x), the_mate.params.z,
                 shortest_real(nominal_shift(the_mate.params), x2));
        return false;
    }
    gear_computed = true;
    return true;
}

// Standard input ended before a new gear was complete.
static void input_ended() {
    if (!gear_computed) {
        complain("standard input ended before a gear was given; nothing to show.\n");
        std::exit(1);
    }
    char x[SHORTEST_REAL_CAPACITY];
    complain("standard input ended; the previous gear (z = %d, x = %s) stays.", gear_choice.z,
             shortest_real(gear_choice.x, x));
}

static void offer_data_file() {
    say(DATA_FILE_QUESTION_TEXT);
    std::fflush(stdout);
    if (read_answer_key() == '1')
        export_tooth_data(the_gear.shifted_tooth.flank_last, the_gear.shifted_tooth.flank);
}

static void print_key_help() {
    for (const char* line : KEY_HELP_TEXT) say(line);
    std::fflush(stdout);
}

void parameter_dialogue(bool keep_teeth) {
    // Before the first gear there is no number of teeth to keep.
    bool new_teeth = !keep_teeth || !gear_computed;
    int z = gear_choice.z;
    double x = 0.0;
    bool complete = true;
    if (new_teeth) {
        say(HEADLINE_TEXT);
        say(TEETH_HEADING_TEXT);
        complete = ask(true, gear_choice.internal, z, x, TEETH_PROMPT_TEXT) == ANSWER_VALID;
    }
    if (complete) complete = ask(false, gear_choice.internal, z, x, SHIFT_PROMPT_TEXT) == ANSWER_VALID;
    // The gear is taken only once both values are accepted, so an ended input
    // leaves the previous gear whole.
    if (complete) {
        warn_of_pointed_tooth(z, x, gear_choice.internal);
        GearChoice choice = gear_choice;
        choice.z = z;
        choice.x = x;
        if (take(choice)) offer_data_file();
    } else {
        input_ended();
    }

    start_new_gear();
    print_key_help();
}

void mate_dialogue() {
    say(MATE_HEADING_TEXT);
    // A ring's mate is a pinion inside it; a gear's may be the ring around it
    // where its cutter can cut one.
    int ring_answer = '0';
    if (pinion_type(gear_choice.cutter) && !gear_choice.internal) {
        say(MATE_RING_QUESTION_TEXT);
        std::fflush(stdout);
        ring_answer = read_answer_key();
    }
    const bool ring = ring_answer == '1';
    int z = 0;
    double x = 0.0;
    if (ring_answer != -1 && ask(true, ring, z, x, MATE_TEETH_PROMPT_TEXT) == ANSWER_VALID &&
        ask(false, ring, z, x, MATE_SHIFT_PROMPT_TEXT) == ANSWER_VALID) {
        warn_of_pointed_tooth(z, x, ring);
        GearChoice choice = gear_choice;
        choice.mate_z = z;
        choice.mate_x = x;
        choice.mate_internal = ring;
        if (take(choice)) warn_of_interference();
    } else {
        char x2[SHORTEST_REAL_CAPACITY];
        complain("standard input ended; the mate (z2 = %d, x2 = %s) stays.", the_mate.params.z,
                 shortest_real(nominal_shift(the_mate.params), x2));
    }
    print_key_help();
}

void take_computed_gear() {
    gear_computed = true;
    start_new_gear();
    print_key_help();
}
