// The numbers behind the picture: the data of a gear, as a
// student checks them against the textbook and a maker checks a cut gear —
// circles, thicknesses, undercut, span and measurement over pins. Lengths in mm
// at the module, angles in degrees. The folder owns no state.
#pragma once

#include "geometry/geometry.hpp"

#include <cstdio>

constexpr double PIN_DIAMETER_PER_MODULE = 1.728;      // the usual pin for 20° gears, in modules
constexpr double RING_PIN_DIAMETER_PER_MODULE = 1.65;  // and between a ring's teeth
constexpr double MM_PER_INCH = 25.4;                   // a diametral pitch P is a module of 25.4/P mm

// A length that may not exist (a measure whose contacts leave the involute):
// known false with the reason why.
struct Measure {
    bool known;
    double value;
    const char* reason;  // when not known
};

struct GearData {
    // the cutter and the gear
    int teeth;
    double shift;
    double module;
    double pressure_angle;  // degrees
    double addendum;        // mm, the cutter's: ha·m, the gear's addendum before any shift
    double dedendum;        // mm, the cutter's: hf·m
    double tip_radius;      // mm, the cutter's tip radius
    double tooth_addendum;  // mm, the gear's own: (ha + x)·m
    double tooth_dedendum;  // mm, the gear's own: (hf - x)·m
    // circles
    double pitch_diameter;
    double base_diameter;
    double tip_diameter;
    double root_diameter;
    double pitch;
    double base_pitch;
    // thickness
    double tooth_thickness;  // arc on the reference circle
    double tip_thickness;    // arc on the tip circle, 0 when pointed
    bool pointed;
    Measure pointed_diameter;  // where the flanks meet
    // undercut
    bool undercut;
    double min_shift_no_undercut;
    double min_teeth_no_undercut;
    // Why undercut starts where it does: the depth below the pitch line where
    // the cutter's straight flank ends (its tip corner, or its tip arc, cuts
    // below it), and the same bounds counted from the depth the textbooks use,
    // the cutter's addendum (1 module), as a generating line would give them.
    double flank_depth;  // mm
    double min_teeth_textbook;
    double min_shift_textbook;
    double form_diameter;    // where the involute begins; the tip diameter when none is left
    bool involute_cut_away;  // what the cutter's tip cuts removes the whole involute
    // measurement
    int span_teeth;
    Measure span;
    double pin_diameter;
    Measure over_pins;
    Measure between_pins;  // a ring's: between two pins in opposite spaces
    // the cutter at work
    bool pinion_cutter;              // a pinion-type cutter (otherwise the rack)
    int cutter_teeth;                // its z_c
    double cutter_shift;             // its x_c
    double cutting_centre_distance;  // mm, a₀
    double cutting_pressure_angle;   // degrees, α₀
    bool internal;                   // a ring
    // A helical gear (helix_angle 0: a spur gear, and none of these is shown).
    // Its module, pressure angle, heights and shift above are the normal
    // plane's; its circles, pitches and tooth_thickness the transverse section's.
    double helix_angle;                // degrees, β
    bool left_hand;                    // its hand
    double transverse_module;          // mm, m_t = m_n/cos β
    double transverse_pressure_angle;  // degrees: tan α_t = tan α_n/cos β
    double base_helix_angle;           // degrees: sin β_b = sin β·cos α_n
    double lead;                       // mm, π·d/tan β
    double normal_tooth_thickness;     // mm, on the reference cylinder: s_t·cos β
    double face_width;                 // mm, 0: not given
    Measure span_least_face_width;     // the face a caliper needs across the span: W·sin β_b
    Measure overlap_ratio;             // ε_β = b·sin β/(π·m_n), with a face width
    // The gear-tooth caliper's figures at the reference circle, through the
    // equivalent number of teeth z_v = z/cos³β (z for a spur gear): the chord
    // s̄ = z_v·m·sin ψ_v and its height above it to the tip, h̄ = h_a + z_v·m/2·(1 - cos ψ_v),
    // ψ_v = π/(2z_v) + 2x·tan α_n/z_v.
    Measure chordal_thickness;
    Measure chordal_height;
    // A tooth thinned by the thickness allowances (mm, on the reference circle
    // in the normal plane, negative thins; allowance_given false: none), cut
    // with the cutter fed in to the shift x + E/(2·m·tan α_n): the limits as
    // [upper, lower], each measure from that shift exactly.
    bool allowance_given;
    double allowance[2];
    double tooth_thickness_limits[2];  // transverse, as tooth_thickness: + E/cos β
    Measure span_limits[2];
    Measure over_pins_limits[2];
    Measure chordal_thickness_limits[2];
};
// The thickness allowances upper ≥ lower (mm) and what they make of d's measures.
void set_allowance(GearData& d, double upper, double lower);
// The generating shift of a tooth thinned by allowance mm: x + E/(2·m_n·tan α_n).
double thinned_shift(const GearData& d, double allowance);

// The data of the gear (compute_gear) at module mm per module unit (a helical
// gear's normal module), with pins (a helical gear's balls) of pin_diameter mm
// (0: PIN_DIAMETER_PER_MODULE · module), and a helical gear's face width in mm
// (0: not given).
GearData gear_data(const Gear& gear, double module, double pin_diameter, double face_width = 0.0);
// The data in the geometry's own units, the transverse module (the module
// for a spur gear): what the scenes draw with.
GearData gear_data_in_units(const Gear& gear);

// The gear and its mate in mesh without backlash; or, where they cannot mesh,
// why not (fault) and no figures past it.
struct PairData {
    const char* fault;                    // why the pair cannot mesh without backlash, or nullptr
    double working_pressure_angle;        // degrees: inv α_w = inv α + 2·tan α·(x1 + x2)/(z1 + z2)
    double centre_distance;               // mm: (z1 + z2)·m/2 · cos α / cos α_w
    double centre_distance_modification;  // y = (z1 + z2)/2 · (cos α / cos α_w - 1)
    double working_pitch_diameter;        // mm, the gear's: 2·a_w·z1/(z1 + z2), its centre that far
                                          // below the pitch point, halved
    double mate_working_pitch_diameter;   // the mate's: 2·a_w - the gear's
    double tip_reduction;  // mm taken off each tip radius for the standard clearance: (x1 + x2 - y)·m,
                           // none where that is negative (the clearance is larger already)
    double reduced_tip_diameter;       // the gear's tip after the reduction
    double mate_reduced_tip_diameter;  // the mate's
    double contact_ratio;              // ε_α with the reduced tips
    // The path of contact, mm along the line of action from the pitch point
    // (negative before it, towards the gear's base tangent point): from where the
    // mate's reduced tip circle cuts it to where the gear's does, each end within
    // the base tangent points.
    double path_start;
    double path_end;
    bool interference;              // a tip, as the pair works with it, digs into the other gear's teeth
    const char* interference_text;  // which tip digs into which root, when it does
    // A pinion inside a ring: the centre distance is the difference, both turn
    // the same way, and three interferences of its own are checked.
    bool internal;
    bool involute_interference;  // the ring's tip digs into the pinion's flank below its base circle
    bool trochoid_interference;  // the pinion's tip hits the ring's tooth as it leaves mesh
    bool trimming_interference;  // the pinion cannot be moved out radially: it goes in along the axis
    // A helical pair (both gears' helix angle, opposite hands): ε_β with the
    // gear's face width, and ε_γ = ε_α + ε_β; unknown for a spur pair or
    // without a face width.
    Measure overlap_ratio;
    Measure total_contact_ratio;
    // Backlash (pair_backlash), [least, greatest] over both gears' thickness
    // allowances and the centre-distance tolerance, at the centre distance the
    // pair is mounted at (the working one unless another is given).
    bool backlash_given;
    double mounted_centre_distance;      // mm
    double centre_distance_tolerance;    // ± mm
    double normal_backlash[2];           // mm, j_n
    double circumferential_backlash[2];  // mm, j_t on the working pitch circle
    double angular_backlash[2];          // degrees, the gear's
    double mate_angular_backlash[2];     // degrees, the mate's
    double least_recommended_backlash;   // mm: (2/3)·(0.06 + 0.0005·a + 0.03·m_n)
    const char* backlash_warning;        // the least backlash is below that, or negative (the gears bind)
    const char* trimming_text;           // that, in a sentence, when it is so
};
// Of the gear and its mate and their data (gear_data, at one module).
PairData pair_data(const Gear& gear, const Gear& mate, const GearData& gear_data, const GearData& mate_data);
// The backlash of a pair that meshes (p from pair_data of g1 and g2, each with
// its allowances or none) mounted at centre_distance mm (0: the working centre
// distance) ± tolerance mm.
void pair_backlash(PairData& p, const GearData& g1, const GearData& g2, double centre_distance,
                   double tolerance);
// The shift of a mate of z2 teeth (cut as g1) that meshes with g1 without
// backlash at centre_distance mm: x1 + x2 from inv α_w; NaN where no working
// pressure angle gives that distance.
double mate_shift_for_centre_distance(const GearData& g1, int z2, double centre_distance);
// The Japanese of an interference or trimming text of PairData (for the
// Japanese legends and the page), or the text itself when it is none of them.
const char* interference_in_japanese(const char* text);
// Which tip digs into which root as the pair turns, its teeth as cut and its
// tips as the pair's data reduces them (p at module mm per module unit), or
// nullptr when they run clear.
const char* pair_collision(const Gear& gear, const Gear& mate, const PairData& p, double module);

// Where a pair stands and the tips it works with, for its outlines.
struct PairPlace {
    double centre_distance;  // mm
    double gear_tip_radius;  // module units, each gear's tip as reduced for the clearance
    double mate_tip_radius;
};
// The place of a pair whose data was taken at module mm per module unit.
PairPlace pair_place(const PairData& pair, double module);
// For a gear and its mate: which tip digs into which root, or nullptr when the
// pair runs clear.
const char* pair_interference(const Gear& gear, const Gear& mate);

// ---- the data as rows ----------------------------------------------------------
// One list of rows, built once per gear and per pair, that every reader says
// alike: the --info table and its JSON, the window's data panel and the page.

enum RowKind {
    ROW_WHOLE,    // a whole number
    ROW_NUMBER,   // four decimals (ten significant digits in JSON)
    ROW_YES_NO,   // value 1 or 0
    ROW_MEASURE,  // a number that may not exist: then "-", the note says why
    ROW_WORD,     // a word (the row's word): "rack", "pinion"
    ROW_LIMITS,   // two numbers, value and second ([upper, lower] or [least, greatest]); "-" unless known
};
// Where a row is said (the JSON says every row with a key).
constexpr unsigned ROW_IN_TABLE = 1;  // --info's table
constexpr unsigned ROW_IN_PANEL = 2;  // the frames' data panel ('i')
constexpr unsigned ROW_ON_PAGE = 4;   // the page's data beside the canvas
constexpr unsigned ROW_EVERYWHERE = ROW_IN_TABLE | ROW_IN_PANEL | ROW_ON_PAGE;
// Of the panel's rows, those it keeps when a small frame has no room for all.
constexpr unsigned ROW_IN_SMALL_PANEL = 8;

struct DataRow {
    const char* key;      // its JSON key, or nullptr: not in the JSON
    const char* name;     // what a student calls it
    const char* name_ja;  // the same in Japanese (UTF-8)
    RowKind kind;
    double value;
    bool known;                  // false for a measure that does not exist
    bool rounded_up;             // a bound (the least shift that avoids undercut): its digits rounded up
    const char* unit;            // "mm", "deg", or "" for a number without one
    const char* note;            // why a measure does not exist, which tip digs in; or nullptr
    unsigned shown;              // ROW_IN_TABLE, ROW_IN_PANEL, ROW_ON_PAGE, ROW_IN_SMALL_PANEL
    const char* word = nullptr;  // a ROW_WORD's value
    double second = 0.0;         // a ROW_LIMITS's second number
};

constexpr int DATA_ROW_CAPACITY = 64;
struct DataRows {
    DataRow rows[DATA_ROW_CAPACITY];
    int count;
};
DataRows gear_rows(const GearData& data);
// The pair's rows: the mate's z and x, then the pair's own figures, or for a
// pair that cannot mesh one row that says why.
DataRows pair_rows(const GearData& mate, const PairData& pair);
// The rows with their lengths (unit "mm") in inches, unit "in".
void rows_in_inches(DataRows& rows);

// A row's value as every reader shows it: "%d", "%.4f" (a bound rounded up to
// its last digit, so that the figure said is on the safe side), "yes" or "no",
// and "-" for a measure that does not exist.
constexpr int ROW_VALUE_CAPACITY = 40;
void row_value_text(const DataRow& row, char* text, int capacity);
// The same followed by its unit when it has a value with one ("12.0000 mm").
void row_value_and_unit(const DataRow& row, char* text, int capacity);

// The data as an aligned table of names a student reads, with units and the
// reason beside any measure that does not exist; with a mate, its table and
// the pair's after the gear's; inches: lengths in inches (rows_in_inches). 0,
// or the errno of a failed write.
int write_gear_data_text(const GearData& data, FILE* file, const GearData* mate = nullptr,
                         const PairData* pair = nullptr, bool inches = false);
// The data as one JSON object: "unit" ("mm" or "in", the lengths'), then the
// rows' keys (numbers, true/false, null), and with a mate the keys "mate" (its
// data) and "pair". 0, or the errno of a failed write.
int write_gear_data_json(const GearData& data, FILE* file, const GearData* mate = nullptr,
                         const PairData* pair = nullptr, bool inches = false);
