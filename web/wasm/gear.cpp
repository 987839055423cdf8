// The page's dialogue in the wasm module: the dialogue's texts, the form's
// answers checked as the console checks them, the form's cutter (the rack or a
// pinion-type cutter), and the gear or ring taken as every front end takes one
// (take_gear).
#include "web/wasm/export.hpp"

#include "choice/choice.hpp"
#include "console/console.hpp"
#include "console/dialogue_texts.hpp"
#include "scenes/scenes.hpp"

#include <cmath>
#include <cstring>

// ---- Global state ------------------------------------------------------------
// The message handed back to the page (a refused answer or a gear's warning,
// whichever is longer); valid until the next call that writes it.
static char message[ANSWER_MESSAGE_CAPACITY > GEAR_WARNING_CAPACITY ? ANSWER_MESSAGE_CAPACITY
                                                                    : GEAR_WARNING_CAPACITY];
// The last answers web_check_teeth and web_check_shift accepted; read by the page.
static int checked_teeth;
static double checked_shift;
// The cutter the form's answers are checked with and its next gear is cut
// with: written by web_set_cutter, read by the checks and web_take_gear. The
// gear shown keeps its own (gear_choice), so a refused form changes nothing.
static Cutter form_cutter = SPECIFIED_CUTTER;
// The form's thickness allowances and the pair's mounting (the fields of a
// GearChoice after face_width): written by web_set_tolerances, read by
// web_take_gear, web_set_mate and web_mate_shift_at_centre_distance.
static GearChoice form_tolerances = NO_CHOICE;

// ---- texts -------------------------------------------------------------------

// The dialogue's texts without the line end they start with on the console:
// 0 headline, 1 step (1), 2 the z prompt, 3 the x prompt, 4 the data-file
// question, 5 the note on the file name, 6 … 5 + KEY_HELP_LINES the key help
// lines (the page shows the first six, the keys the page shares with the
// window as the console names them, and words of its own for the rest).
WEB_EXPORT const char* web_text(int which) {
    const char* texts[] = {HEADLINE_TEXT,     TEETH_HEADING_TEXT,      TEETH_PROMPT_TEXT,
                           SHIFT_PROMPT_TEXT, DATA_FILE_QUESTION_TEXT, DATA_FILE_INTRO_TEXT};
    constexpr int TEXTS = static_cast<int>(sizeof texts / sizeof texts[0]);
    if (which >= 0 && which < TEXTS) return texts[which] + 1;
    if (which >= TEXTS && which < TEXTS + KEY_HELP_LINES) return KEY_HELP_TEXT[which - TEXTS] + 1;
    return "";
}

// ---- the form's answers --------------------------------------------------------
// The console dialogue's own checks and messages (check_teeth_answer,
// check_shift_answer) of a gear, or of a ring when internal is not 0 (a mate
// is always a gear); a word of any length is read whole, as on the command
// line. "" when the answer is accepted.

WEB_EXPORT const char* web_check_teeth(const char* word, int internal) {
    int z = 0;
    if (!check_teeth_answer(form_cutter, internal != 0, word, false, z, message, ANSWER_MESSAGE_CAPACITY))
        return message;
    checked_teeth = z;
    return "";
}

WEB_EXPORT const char* web_check_shift(int z, const char* word, int internal) {
    double x = 0.0;
    if (!check_shift_answer(form_cutter, internal != 0, word, false, z, x, message, ANSWER_MESSAGE_CAPACITY))
        return message;
    checked_shift = x;
    return "";
}

WEB_EXPORT int web_checked_teeth() {
    return checked_teeth;
}
WEB_EXPORT double web_checked_shift() {
    return checked_shift;
}

// ---- the cutter and the module -------------------------------------------------

// A number of the cutter or the module, typed into the form or given in a
// link, read as the command line reads its numbers; NaN when it is none.
WEB_EXPORT double web_number(const char* word) {
    double value = 0.0;
    return parse_real(word, value) ? value : NAN;
}

// The form's cutter, which the checks of z and x read and the next gear is
// cut with: the rack (teeth 0) or a pinion-type cutter of that many teeth and
// that shift, a helical gear's hob when helix_angle is not 0 (left-handed when
// left_hand is not 0); set, and "", when cutter_refusal accepts it; otherwise
// its reason, and the form's cutter stays as it was. The gear shown keeps its cutter.
WEB_EXPORT const char* web_set_cutter(double pressure_angle, double addendum, double dedendum,
                                      double tip_radius, int teeth, double shift, double helix_angle,
                                      int left_hand) {
    Cutter cutter = {pressure_angle, addendum, dedendum, tip_radius, teeth, teeth != 0 ? shift : 0.0};
    cutter.helix_angle = helix_angle;
    cutter.left_hand = left_hand != 0;
    if (const char* reason = cutter_refusal(cutter)) return reason;
    form_cutter = cutter;
    return "";
}

// The geometry's own words for a ring asked of the rack, whatever its teeth
// and shift: gear_refusal of a ring the specified rack would cut (Z_MAX
// teeth and no shift pass every check before the cutter's kind).
WEB_EXPORT const char* web_ring_refusal() {
    const char* refusal = gear_refusal(SPECIFIED_CUTTER, Z_MAX, 0.0, true);
    return refusal != nullptr ? refusal : "";
}

// The geometry's own words for a helix asked of a pinion-type cutter, whatever
// its teeth and angle: cutter_refusal of the specified profile with the fewest
// teeth and the largest helix angle.
WEB_EXPORT const char* web_helical_pinion_refusal() {
    Cutter cutter = SPECIFIED_CUTTER;
    cutter.teeth = CUTTER_TEETH_MIN;
    cutter.helix_angle = HELIX_ANGLE_MAX;
    const char* refusal = cutter_refusal(cutter);
    return refusal != nullptr ? refusal : "";
}

// ---- the gear and its scenes ---------------------------------------------------

// The choice with the form's allowances and mounting.
static GearChoice with_tolerances(GearChoice choice) {
    choice.allowance_given = form_tolerances.allowance_given;
    choice.mate_allowance_given = form_tolerances.mate_allowance_given;
    for (int k = 0; k < 2; ++k) {
        choice.allowance[k] = form_tolerances.allowance[k];
        choice.mate_allowance[k] = form_tolerances.mate_allowance[k];
    }
    choice.centre_distance = form_tolerances.centre_distance;
    choice.centre_distance_tolerance = form_tolerances.centre_distance_tolerance;
    return choice;
}

// The thickness allowances of the next gear taken or mate set, mm [upper,
// lower] (given, mate_given: 0 for none), and where its pair is mounted:
// centre_distance mm (0: the working one) ± tolerance mm. Checked as the
// command line's are when the gear or mate is taken (choice_refusal).
WEB_EXPORT void web_set_tolerances(int given, double upper, double lower, int mate_given, double mate_upper,
                                   double mate_lower, double centre_distance, double tolerance) {
    form_tolerances.allowance_given = given != 0;
    form_tolerances.allowance[0] = given != 0 ? upper : 0.0;
    form_tolerances.allowance[1] = given != 0 ? lower : 0.0;
    form_tolerances.mate_allowance_given = mate_given != 0;
    form_tolerances.mate_allowance[0] = mate_given != 0 ? mate_upper : 0.0;
    form_tolerances.mate_allowance[1] = mate_given != 0 ? mate_lower : 0.0;
    form_tolerances.centre_distance = centre_distance;
    form_tolerances.centre_distance_tolerance = tolerance;
}

// The shift of a mate of z2 teeth that meshes with the gear of z teeth and
// shift x (cut with the form's cutter, at module mm) without backlash at the
// form's centre distance, as --centre-distance solves it; NaN where none does.
WEB_EXPORT double web_mate_shift_at_centre_distance(int z, double x, double module, int z2) {
    const GearChoice choice = with_tolerances(GearChoice{z, x, form_cutter, module, z2, 0.0, false});
    return mate_shift_at_centre_distance(choice);
}

// Takes a choice as every front end does; "" when it is taken, else why not
// (the page checks every answer first, so only a fault of its own gets here).
static const char* take(const GearChoice& choice) {
    const char* refusal = take_gear(choice);
    return refusal != nullptr ? refusal : "";
}

// A new gear (a ring when internal is not 0) cut with the form's cutter, at
// module mm per module unit, with the mate of z2 teeth and shift x2 (0 teeth:
// the default mate; a ring around the gear when mate_internal is not 0), a
// helical pair's face width in mm (0: not given) and the form's allowances
// and mounting (the refusal of an allowance names whose: "the gear's …" or
// "the mate's …"), as the dialogue takes one
// once both answers are accepted; then scene '1' from its start at the start
// scale. Returns "" or the refusal.
WEB_EXPORT const char* web_take_gear(int z, double x, double module, int z2, double x2, int internal,
                                     int mate_internal, double face_width) {
    const char* refusal =
        take(with_tolerances(GearChoice{z, x, form_cutter, module, z2, z2 > 0 ? x2 : 0.0, internal != 0,
                                        z2 > 0 && mate_internal != 0, face_width}));
    if (*refusal == '\0') start_new_gear();
    return refusal;
}

// The warning line of the dialogue for a pointed tooth of the gear shown, or
// what a ring's cutter does to it (mate 0), or for a pointed tooth of its
// chosen mate (mate 1), or "".
WEB_EXPORT const char* web_gear_warning(int mate) {
    const GearChoice& c = gear_choice;
    const bool shown = mate != 0 ? c.mate_z > 0 && gear_warning(c.cutter, c.mate_z, c.mate_x, message,
                                                                sizeof message, c.mate_internal)
                                 : gear_warning(c.cutter, c.z, c.x, message, sizeof message, c.internal);
    return shown ? message : "";
}

// Another mate for the gear shown (0 teeth: the default mate; a ring around it
// when mate_internal is not 0), with the form's allowances and mounting, which
// scene '8' shows and the data read. Returns "" or the refusal.
WEB_EXPORT const char* web_set_mate(int z2, double x2, int mate_internal) {
    GearChoice choice = with_tolerances(gear_choice);
    choice.mate_z = z2;
    choice.mate_x = z2 > 0 ? x2 : 0.0;
    choice.mate_internal = z2 > 0 && mate_internal != 0;
    return take(choice);
}

// Another module for the gear shown's data and downloads, in mm, its pair
// mounted at the centre distance scaled with it (the allowances and the
// tolerance stay the millimetres given). Returns "" or the refusal.
WEB_EXPORT const char* web_set_module(double module) {
    GearChoice choice = gear_choice;
    choice.centre_distance *= module / choice.module;
    choice.module = module;
    return take(choice);
}
