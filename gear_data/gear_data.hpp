// The numbers behind the picture: the data of the gear computed last, as a
// student checks them against the textbook and a maker checks a cut gear —
// circles, thicknesses, undercut, span and measurement over pins. Lengths in mm
// at the module, angles in degrees. The folder owns no state.
#pragma once

#include <cstdio>

// ---- Global state ------------------------------------------------------------
// mm per module unit of the gear in use: 1 at start; written by the command line
// and the page when a gear is given with a module; read by the data's readers.
extern double gear_module;

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

// The data of the gear computed last (compute_gear) at module mm per module
// unit, with pins of pin_diameter mm (0: PIN_DIAMETER_PER_MODULE · module).
GearData gear_data(double module, double pin_diameter);

// The data as an aligned table of names a student reads, with units and the
// reason beside any measure that does not exist. 0, or the errno of a failed write.
int write_gear_data_text(const GearData& data, FILE* file);
// The data as one JSON object with the keys named as GearData's fields
// (numbers, true/false, null). 0, or the errno of a failed write.
int write_gear_data_json(const GearData& data, FILE* file);
