// The parameter dialogue as a user meets it: scripted standard input into the
// driver, the console output compared byte for byte, the model state after
// every run compared between runs.
#include "console_test_support.hpp"
#include "console_texts.hpp"

#include "console/console.hpp"  // ANSWER_WORD_CAPACITY
#include "geometry/geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// What the dialogue says is accepted is the geometry's own reason text.
std::string reason(int z, double x) {
    const char* text = gear_refusal(SPECIFIED_CUTTER, z, x);
    return text ? text : "(accepted)";
}

// The fields of a state line that make up the gear (everything but the
// animation state, which every dialogue resets).
std::string gear_of(const std::string& state) {
    std::string gear;
    for (const char* name : {"z", "x", "standard", "shifted", "params", "curves"})
        gear += std::string(name) + "=" + state_field(state, name) + " ";
    return gear;
}

// After a dialogue from the window: scene 1 from its first step at the start
// scale, and no frame drawn by the dialogue itself (the window waits for the
// next key or repaint).
void expect_animation_reset(const std::string& state) {
    EXPECT_EQ(state_field(state, "steps"), "0,0,0,0") << state;
    EXPECT_EQ(state_field(state, "scale"), "0.5") << state;
    EXPECT_EQ(state_field(state, "scene"), "1") << state;
    EXPECT_EQ(state_field(state, "frames"), "0") << state;
}

// The same UTF-8 texts whatever the locale, short of a Shift-JIS one
// (console_text_test).
TEST(Dialogue, WholeRunPrintsEveryTextInOrder) {
    for (const char* locale : {"LC_ALL=C", "LC_ALL=C.UTF-8", "LC_ALL=xx_NOWHERE.UTF-8"}) {
        SCOPED_TRACE(locale);
        ScratchDir dir;
        DriverRun run = run_driver(dir, "20\n0\n0\n", {}, {locale});
        EXPECT_EQ(run.exit_status, 0);
        EXPECT_EQ(run.output, START_TO_QUESTION KEY_HELP);
        ASSERT_EQ(run.states.size(), 1u);
        EXPECT_EQ(state_field(run.states[0], "z"), "20");
        EXPECT_EQ(state_field(run.states[0], "x"), "0");
        EXPECT_EQ(state_field(run.states[0], "shifted").substr(0, 7), "95/210/");
        expect_animation_reset(run.states[0]);
    }
}

TEST(Dialogue, AnswerIsTheNextNonBlankCharacterWithoutATerminal) {
    ScratchDir dir;
    // '0', a letter or Enter followed by another answer: only '1' writes.
    DriverRun no = run_driver(dir, "20 0\n\n  y 1\n");
    EXPECT_EQ(no.output, START_TO_QUESTION KEY_HELP);
    DriverRun yes = run_driver(dir, "20 0\n\n   1 gear20\n");
    EXPECT_EQ(yes.output, START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP);
    EXPECT_TRUE(file_exists(dir.file("gear20")));
}

TEST(Dialogue, KeyXAsksOnlyForTheShiftAndKeepsTheStandardTooth) {
    ScratchDir dir;
    DriverRun run = run_driver(dir, "20\n0\n0\n0.5\n0\n", {"x"});
    EXPECT_EQ(run.output, START_TO_QUESTION KEY_HELP SHIFT_PROMPT FILE_QUESTION KEY_HELP);
    ASSERT_EQ(run.states.size(), 2u);
    EXPECT_EQ(state_field(run.states[1], "z"), "20");
    EXPECT_EQ(state_field(run.states[1], "x"), "0.5");
    EXPECT_EQ(state_field(run.states[1], "standard"), state_field(run.states[0], "standard"));
    EXPECT_NE(state_field(run.states[1], "shifted"), state_field(run.states[0], "shifted"));
    expect_animation_reset(run.states[1]);
}

// 'm' asks for the mate in the same manner, refusing as for the gear, and shows
// the mesh next; an ended input keeps the mate there was.
TEST(Dialogue, KeyMAsksForTheMate) {
    ScratchDir dir;
    DriverRun run = run_driver(dir, "20 0.5 0\n2\n15 0.200000001\n", {"m", "m"});
    ASSERT_EQ(run.states.size(), 3u);
    EXPECT_EQ(state_field(run.states[0], "mate"), "40/0");
    EXPECT_NE(run.output.find("rackgen: 2 is refused: the number of teeth must be"), std::string::npos);
    EXPECT_EQ(state_field(run.states[1], "mate"), "15/0.20000000100000001");
    EXPECT_EQ(state_field(run.states[1], "scene"), "8");
    EXPECT_EQ(state_field(run.states[1], "z"), "20");
    // The second 'm' meets the end of the input: the mate stays, named as it was typed.
    EXPECT_NE(run.output.find("the mate (z2 = 15, x2 = 0.200000001) stays."), std::string::npos);
    EXPECT_EQ(state_field(run.states[2], "mate"), "15/0.20000000100000001");
}

// With a pinion-type cutter 'm' first asks whether the mate is a ring: a ring
// of 16 teeth is refused (its cutter has 20), one of 40 is taken around the gear.
TEST(Dialogue, KeyMAsksWhetherTheMateIsARingWhereTheCutterCutsOne) {
    ScratchDir dir;
    DriverRun run = run_driver(dir, "20 0 0\n1 16\n40 0\n0 30 0\n", {"--cutter-teeth=20", "m", "m"});
    ASSERT_EQ(run.states.size(), 3u);
    EXPECT_NE(run.output.find("\n相手歯車は内歯車？  yes:1  no:0"), std::string::npos);
    EXPECT_NE(run.output.find("rackgen: 16 is refused: the cutter is too large for the ring"), std::string::npos)
        << run.output;
    EXPECT_EQ(state_field(run.states[1], "mate") + " " + state_field(run.states[1], "mate_ring"), "40/0 1");
    EXPECT_EQ(state_field(run.states[2], "mate") + " " + state_field(run.states[2], "mate_ring"), "30/0 0");
}

// Both numbers (and the answer) on one line answer all prompts.
TEST(Dialogue, KeyZRunsTheWholeDialogueAgain) {
    ScratchDir dir;
    DriverRun run = run_driver(dir, "20 0 0\n10 0.5 0\n", {"z"});
    EXPECT_EQ(run.output, START_TO_QUESTION KEY_HELP START_TO_QUESTION KEY_HELP);
    ASSERT_EQ(run.states.size(), 2u);
    EXPECT_EQ(state_field(run.states[1], "z"), "10");
    EXPECT_EQ(state_field(run.states[1], "x"), "0.5");
    EXPECT_NE(state_field(run.states[1], "standard"), state_field(run.states[0], "standard"));
    expect_animation_reset(run.states[1]);
}

TEST(BadInput, NumberOfTeethThatIsNoWholeNumberOrOutOfRange) {
    ScratchDir dir;
    // Each refusal drops the rest of its line: the 30 after "abc" is never read.
    // A number is one however many digits it has: shown cut when refused.
    const std::string long_digits(200, '7');
    DriverRun run = run_driver(dir, "abc 30\n20.5\n2\n1001\n99999999999999999999\n" + long_digits + "\n-7\n" +
                                        std::string(400, '0') + "20\n0\n0\n");
    std::string range = reason(0, 0.0);
    EXPECT_NE(range.find("from 3 to 1000"), std::string::npos) << range;
    std::string expected = HEADLINE STEP_ONE TEETH_PROMPT;
    expected += std::string("\nrackgen: \"abc\" is not a whole number: ") + range + TEETH_PROMPT;
    expected += std::string("\nrackgen: \"20.5\" is not a whole number: ") + range + TEETH_PROMPT;
    expected += std::string("\nrackgen: 2 is refused: ") + range + TEETH_PROMPT;
    expected += std::string("\nrackgen: 1001 is refused: ") + range + TEETH_PROMPT;
    expected += std::string("\nrackgen: 99999999999999999999 is refused: ") + range + TEETH_PROMPT;
    expected += "\nrackgen: " + long_digits.substr(0, 32) + "... is refused: " + range + TEETH_PROMPT;
    expected += std::string("\nrackgen: -7 is refused: ") + range + TEETH_PROMPT;
    expected += SHIFT_PROMPT FILE_QUESTION KEY_HELP;
    EXPECT_EQ(run.output, expected);
    ASSERT_EQ(run.states.size(), 1u);
    EXPECT_EQ(state_field(run.states[0], "z"), "20");
}

TEST(BadInput, ShiftThatIsNoNumberOrGivesNoSoundTooth) {
    ScratchDir dir;
    const std::string long_shift = "-1." + std::string(300, '0') + "25";
    DriverRun run =
        run_driver(dir, "5\n0.5x\nfoo bar\n0x1p-2\ninf\n5\n" + long_shift + "\n-0.95\n0.8\n0\n");
    std::string expected = HEADLINE STEP_ONE TEETH_PROMPT SHIFT_PROMPT;
    for (const char* word : {"0.5x", "foo", "0x1p-2", "inf"})  // decimal numbers only
        expected += std::string("\nrackgen: \"") + word + "\" is not a number: " + reason(5, NAN) + SHIFT_PROMPT;
    expected += "\nrackgen: 5 is refused: " + reason(5, 5.0) + SHIFT_PROMPT;
    expected += "\nrackgen: " + long_shift.substr(0, 32) + "... is refused: " + reason(5, -1.0) + SHIFT_PROMPT;
    // z = 5 with x = -0.95: the flank leaves the band between root and tip circle.
    expected += "\nrackgen: -0.95 is refused: " + reason(5, -0.95) + SHIFT_PROMPT;
    EXPECT_NE(reason(5, -0.95).find("band"), std::string::npos) << reason(5, -0.95);
    // z = 5 with x = 0.8: a pointed tooth, accepted with one line about it.
    char warning[GEAR_WARNING_CAPACITY];
    ASSERT_TRUE(gear_warning(SPECIFIED_CUTTER, 5, 0.8, warning, sizeof warning));
    expected += std::string("\nrackgen: ") + warning + FILE_QUESTION KEY_HELP;
    EXPECT_EQ(run.output, expected);
    ASSERT_EQ(run.states.size(), 1u);
    EXPECT_EQ(state_field(run.states[0], "x"), "0.80000000000000004");
}

// A refused word is shown so that it cannot act on the terminal: printable
// characters as typed, Japanese included, control and invalid bytes escaped
// (a NUL byte too, which does not cut the word short), long words cut; a word
// longer than the dialogue reads is too long (numbers too, read without overflow).
TEST(BadInput, RefusedWordsAreShownSafely) {
    std::string range = reason(0, 0.0);
    std::string digits(ANSWER_WORD_CAPACITY, '7');
    for (const char* locale : {"LC_ALL=C", "LC_ALL=C.UTF-8"}) {
        SCOPED_TRACE(locale);
        ScratchDir dir;
        DriverRun run = run_driver(dir,
                                   std::string("20\0xyz\n", 7) +
                                       "\x1b[2J12\n歯数\n\xff\xfe\n\xc2\x9b"
                                       "1\n" +
                                       digits + "\n20\n" + digits + "\n0 0\n",
                                   {}, {locale});
        std::string cut = std::string(32, '7') + "...";
        std::string expected = HEADLINE STEP_ONE TEETH_PROMPT;
        for (std::string shown : {"20\\x00xyz", "\\x1b[2J12", "歯数", "\\xff\\xfe",
                                  "\\xc2\\x9b"
                                  "1"})
            expected +=
                std::string("\nrackgen: \"") + shown + "\" is not a whole number: " + range + TEETH_PROMPT;
        const std::string too_long = "\" is too long to be read (more than 1023 characters): ";
        expected += "\nrackgen: \"" + cut + too_long + range + TEETH_PROMPT;
        expected += SHIFT_PROMPT "\nrackgen: \"" + cut + too_long + reason(20, NAN) + SHIFT_PROMPT FILE_QUESTION KEY_HELP;
        EXPECT_EQ(run.output, expected);
    }
}

TEST(EndOfInput, BeforeTheFirstGearEndsTheProgramWithStatusOne) {
    const char* message = "\nrackgen: standard input ended before a gear was given; nothing to show.\n";
    for (const char* input : {"", "   \n", "20\n", "abc", "20 abc\n"}) {
        ScratchDir dir;
        DriverRun run = run_driver(dir, input);
        EXPECT_EQ(run.exit_status, 1) << "input: " << input;
        EXPECT_TRUE(run.states.empty()) << "input: " << input;
        ASSERT_GE(run.output.size(), std::string(message).size());
        EXPECT_EQ(run.output.substr(run.output.size() - std::string(message).size()), message)
            << "input: " << input;
    }
}

TEST(EndOfInput, AtTheFileQuestionOrTheNameMeansNoFile) {
    ScratchDir dir;
    DriverRun at_question = run_driver(dir, "20 0");
    EXPECT_EQ(at_question.exit_status, 0);
    EXPECT_EQ(at_question.output, START_TO_QUESTION KEY_HELP);
    DriverRun at_name = run_driver(dir, "20 0 1\n");
    EXPECT_EQ(at_name.output, START_TO_QUESTION FILE_INTRO NAME_PROMPT
              "\nrackgen: standard input ended before a file name; no data file written." KEY_HELP);
}

TEST(EndOfInput, InADialogueFromTheWindowKeepsThePreviousGear) {
    struct Case {
        const char* input;
        const char* key;
        const char* gear;  // as the message names it
    };
    // Ended at z, ended at x after a new z was accepted (nothing may be computed
    // yet), ended at x after 'x', ended after refusals. The shift is named in
    // digits that read back as itself, -0 as 0.
    const char* twenty = "z = 20, x = 0.5";
    for (Case c : {Case{"20\n0.5\n0\n", "z", twenty}, Case{"20\n0.5\n0\n30\n", "z", twenty},
                   Case{"20\n0.5\n0\n", "x", twenty}, Case{"20\n0.5\n0\n30 abc\n", "z", twenty},
                   Case{"4\n-0.7499\n0\n", "x", "z = 4, x = -0.7499"},
                   Case{"20\n0.300000001\n0\n", "x", "z = 20, x = 0.300000001"},
                   Case{"20\n-1e-400\n0\n", "z", "z = 20, x = 0"}}) {
        ScratchDir dir;
        DriverRun run = run_driver(dir, c.input, {c.key});
        SCOPED_TRACE(std::string("input ") + c.input + " key " + c.key);
        EXPECT_EQ(run.exit_status, 0);
        ASSERT_EQ(run.states.size(), 2u);
        EXPECT_EQ(gear_of(run.states[1]), gear_of(run.states[0]));
        expect_animation_reset(run.states[1]);
        std::string ending =
            std::string("\nrackgen: standard input ended; the previous gear (") + c.gear + ") stays." KEY_HELP;
        ASSERT_GE(run.output.size(), ending.size());
        EXPECT_EQ(run.output.substr(run.output.size() - ending.size()), ending);
        EXPECT_EQ(count_of(run.output, KEY_HELP), 2);
    }
}

}  // namespace
