// What the user chose and the gears made of it: the one way every front end —
// the console dialogue, the command line and the web page — takes a gear. A
// choice is checked as a value and computed only once it is sound, so nothing
// is ever put back after a refusal.
#pragma once

#include "gear_data/gear_data.hpp"
#include "geometry/geometry.hpp"

// Everything that makes the gear shown and written: the gear, its cutter, the
// module its lengths are given at, and its mate.
struct GearChoice {
    int z;
    double x;
    Cutter cutter;
    double module;               // mm per module unit of every length shown and written
    int mate_z;                  // 0: no mate chosen, the default mate (default_mate_teeth, shift 0)
    double mate_x;               // the chosen mate's shift
    bool internal;               // the gear is a ring (its mate, a pinion inside it)
    bool mate_internal = false;  // the mate is a ring, the gear a pinion inside it
    double face_width = 0.0;     // mm, of a helical gear and its mate (0: not given)
    // Thickness allowances, mm on the reference circle in the normal plane,
    // [upper, lower] (negative thins), of the gear and of the mate; and where
    // the pair is mounted: centre_distance mm (0: the working centre distance)
    // ± centre_distance_tolerance mm.
    bool allowance_given = false;
    double allowance[2] = {0.0, 0.0};
    bool mate_allowance_given = false;
    double mate_allowance[2] = {0.0, 0.0};
    double centre_distance = 0.0;
    double centre_distance_tolerance = 0.0;
};
constexpr double FACE_WIDTH_MAX = 1e7;  // mm: ten kilometres, as the largest module's gears
// The choice before any is taken: no gear, the specified cutter, the default module.
constexpr GearChoice NO_CHOICE = {0, 0.0, SPECIFIED_CUTTER, DEFAULT_MODULE, 0, 0.0, false};

// ---- Global state ------------------------------------------------------------
// All three written only by take_gear; read by the front ends (the dialogue,
// the command line, the page), which hand the gears on to the data and the
// outline files, and by the scenes, which hand them to the figures.
extern GearChoice gear_choice;  // the choice the_gear was taken from
extern Gear the_gear;           // the gear the user chose
extern Gear the_mate;           // its mate: the chosen one or the default
extern long gear_takes;  // gears taken so far; read by the scenes to tell one gear's traces from another's

// Why the choice cannot be taken, in words a user can be shown (the gear's or
// the mate's refusal, the module's, or why a chosen pair cannot mesh without
// backlash), or nullptr. The text is valid until the next check.
const char* choice_refusal(const GearChoice& choice);
// Takes a sound choice: the gear and its mate computed from it, and it becomes
// gear_choice; nullptr. A refused choice changes nothing: its reason.
const char* take_gear(const GearChoice& choice);

// The chosen gear's data at module mm with pins of pin_diameter mm (0: the
// usual), and with with_pair its mate's and the pair's, as every front end
// shows them: with the choice's face width, allowances and backlash.
struct ChosenData {
    GearData gear;
    bool with_pair;
    GearData mate;
    PairData pair;
};
ChosenData chosen_data(double module, double pin_diameter, bool with_pair);

// The shift of the chosen mate (c.mate_z teeth) that meshes with the chosen
// gear without backlash at c.centre_distance mm; NaN where none does.
double mate_shift_at_centre_distance(const GearChoice& c);

// Whether the user chose a mate (the pair's data is written and listed only then,
// and whenever the mesh scene shows the pair).
bool mate_chosen();
