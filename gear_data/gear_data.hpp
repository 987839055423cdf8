// The numbers behind the picture: the data of a gear, as a
// student checks them against the textbook and a maker checks a cut gear —
// circles, thicknesses, undercut, span and measurement over pins. Lengths in mm
// at the module, angles in degrees. The folder owns no state.
#pragma once

#include "geometry/geometry.hpp"

#include <cstdio>

constexpr double PIN_DIAMETER_PER_MODULE = 1.728;  // the usual pin for 20° gears, in modules

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
    double addendum;        // mm
    double dedendum;
    double tip_radius;  // the cutter's tip radius
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
    double form_diameter;  // where the involute begins
    // measurement
    int span_teeth;
    Measure span;
    double pin_diameter;
    Measure over_pins;
};

// The data of the gear (compute_gear) at module mm per module unit, with pins
// of pin_diameter mm (0: PIN_DIAMETER_PER_MODULE · module).
GearData gear_data(const Gear& gear, double module, double pin_diameter);

// The gear and its mate in mesh without backlash.
struct PairData {
    double working_pressure_angle;        // degrees: inv α_w = inv α + 2·tan α·(x1 + x2)/(z1 + z2)
    double centre_distance;               // mm: (z1 + z2)·m/2 · cos α / cos α_w
    double centre_distance_modification;  // y = (z1 + z2)/2 · (cos α / cos α_w - 1)
    double working_pitch_diameter;        // mm, the gear's: 2·a_w·z1/(z1 + z2), its centre that far
                                          // below the pitch point, halved
    double mate_working_pitch_diameter;   // the mate's: 2·a_w - the gear's
    double tip_reduction;         // mm taken off each tip radius for the standard clearance: (x1 + x2 - y)·m
    double reduced_tip_diameter;  // the gear's tip after the reduction: d1 + 2(ha + y - x2)m
    double mate_reduced_tip_diameter;  // the mate's: d2 + 2(ha + y - x1)m
    double contact_ratio;              // ε_α with the reduced tips
    bool interference;                 // a tip reaches below the other gear's form circle
    const char* interference_text;     // which tip digs into which root, when it does
};
PairData pair_data(const GearData& gear, const GearData& mate);
// For a gear and its mate: which tip digs into which root, or nullptr when the
// pair runs clear.
const char* pair_interference(const Gear& gear, const Gear& mate);

// The data as an aligned table of names a student reads, with units and the
// reason beside any measure that does not exist. 0, or the errno of a failed write.
int write_gear_data_text(const GearData& data, FILE* file);
// The data as one JSON object with the keys named as GearData's fields
// (numbers, true/false, null), and with a mate the keys "mate" (its data) and
// "pair". 0, or the errno of a failed write.
int write_gear_data_json(const GearData& data, FILE* file, const GearData* mate = nullptr,
                         const PairData* pair = nullptr);
// The mate's and the pair's rows after the gear's table.
int write_pair_data_text(const GearData& mate, const PairData& pair, FILE* file);
