// The parameter dialogue: takes z and x at the console, has both teeth computed,
// offers the tooth data file, resets the animation and prints the key help.
// Owns only the knowledge whether a gear has been computed yet.
#include "console/console.hpp"
#include "console/console_io.hpp"
#include "console/dialogue_texts.hpp"

#include "app/app.hpp"
#include "draw/draw.hpp"
#include "geometry/geometry.hpp"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// ---- Global state ------------------------------------------------------------
// True once a dialogue has computed a gear. Before that, the end of input leaves
// nothing to show and ends the program; afterwards the previous gear stays.
static bool gear_computed;

constexpr int NUMBER_CAPACITY = 64;  // longest number word read; longer ones are refused

enum Answer {
    ANSWER_VALID,
    ANSWER_ENDED,  // standard input ended
};

// The whole word must be the number: "20.5" or "20abc" is no number of teeth.
static bool parse_whole(const char* word, int& value) {
    char* end;
    errno = 0;
    long v = std::strtol(word, &end, 10);
    if (end == word || *end != '\0') return false;
    // Out of the int range: a number all the same, refused by the range check.
    if (errno == ERANGE || v > INT_MAX || v < INT_MIN) v = v < 0 ? INT_MIN : INT_MAX;
    value = static_cast<int>(v);
    return true;
}

static bool parse_real(const char* word, double& value) {
    char* end;
    value = std::strtod(word, &end);
    return end != word && *end == '\0';
}

// A refused word as it may be shown: escaped, cut, "..." when it was too long to read.
static const char* shown(const char* word, WordResult got) {
    static char quoted[QUOTED_WORD_CAPACITY];
    quote_word(word, got == WORD_TOO_LONG, quoted, QUOTED_WORD_CAPACITY);
    return quoted;
}

// Asks for z until a number of teeth comes that the rack can generate.
static Answer ask_number_of_teeth(int& z) {
    char word[NUMBER_CAPACITY];
    for (;;) {
        say(TEETH_PROMPT_TEXT);
        std::fflush(stdout);
        WordResult got = read_word(word, NUMBER_CAPACITY);
        if (got == WORD_END) return ANSWER_ENDED;
        const char* refusal = nullptr;
        if (got == WORD_TOO_LONG || !parse_whole(word, z))
            complain("\"%s\" is not a whole number: %s", shown(word, got), gear_refusal(0, 0.0));
        else if ((refusal = gear_refusal(z, 0.0)) != nullptr)
            complain("%s is refused: %s", word, refusal);
        else
            return ANSWER_VALID;
        discard_line();
    }
}

// Asks for x until a shift coefficient comes that gives a sound tooth with z teeth.
static Answer ask_shift(int z, double& x) {
    char word[NUMBER_CAPACITY];
    for (;;) {
        say(SHIFT_PROMPT_TEXT);
        std::fflush(stdout);
        WordResult got = read_word(word, NUMBER_CAPACITY);
        if (got == WORD_END) return ANSWER_ENDED;
        const char* refusal = nullptr;
        if (got == WORD_TOO_LONG || !parse_real(word, x))
            complain("\"%s\" is not a number: %s", shown(word, got), gear_refusal(z, NAN));
        else if ((refusal = gear_refusal(z, x)) != nullptr)
            complain("%s is refused: %s", word, refusal);
        else
            return ANSWER_VALID;
        discard_line();
    }
}

// A pointed tooth is shown like any other, with one line that says so.
static void warn_of_pointed_tooth(int z, double x) {
    char warning[GEAR_WARNING_CAPACITY];
    if (gear_warning(z, x, warning, GEAR_WARNING_CAPACITY)) complain("%s", warning);
}

// Standard input ended before a new gear was complete.
static void input_ended() {
    if (!gear_computed) {
        complain("standard input ended before a gear was given; nothing to show.\n");
        std::exit(1);
    }
    complain("standard input ended; the previous gear (z = %d, x = %g) stays.", gear_params.z, gear_params.x);
}

// The gear is computed only once both values are accepted, so an ended input
// leaves the previous gear whole.
static void compute_gear(bool new_teeth, int z, double x) {
    if (new_teeth) {
        compute_gear(z, x);
    } else {  // z, the constants and the standard tooth stay
        gear_params.x = x;
        compute_tooth(x, shifted_tooth);
    }
    gear_computed = true;
}

static void offer_data_file() {
    say(DATA_FILE_QUESTION_TEXT);
    std::fflush(stdout);
    if (read_answer_key() == '1') export_tooth_data(shifted_tooth.flank_last, shifted_tooth.flank);
}

static void print_key_help() {
    for (const char* line : KEY_HELP_TEXT) say(line);
    std::fflush(stdout);
}

void parameter_dialogue() {
    // 'x' keeps the number of teeth; before the first gear there is none to keep.
    bool new_teeth = last_key != 'x' || !gear_computed;
    int z = gear_params.z;
    double x = 0.0;
    bool complete = true;
    if (new_teeth) {
        say(HEADLINE_TEXT);
        say(TEETH_HEADING_TEXT);
        complete = ask_number_of_teeth(z) == ANSWER_VALID;
    }
    if (complete) complete = ask_shift(z, x) == ANSWER_VALID;
    if (complete) {
        warn_of_pointed_tooth(z, x);
        compute_gear(new_teeth, z, x);
        offer_data_file();
    } else {
        input_ended();
    }

    reset_step_counters();
    scale_factor = START_SCALE;
    print_key_help();
}
