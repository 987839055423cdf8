// The parsed command line: the gear, its cutter and the outputs asked for, in
// the order given. Used inside cli/; the web page checks a link's size= against
// the same limits as --size.
#pragma once

#include "geometry/geometry.hpp"
#include "scenes/scenes.hpp"

constexpr int OUTPUT_CAPACITY = 16;  // outputs of one run; more is refused as bad usage
constexpr int EXIT_WRITTEN = 0;
constexpr int EXIT_FAILED = 1;  // gear refused, or a file could not be written
// An output writer's answer when it has said itself why it wrote nothing (not an errno).
constexpr int OUTPUT_REFUSED = -1;
constexpr int EXIT_BAD_USAGE = 2;  // the options themselves are wrong

constexpr int SIZE_SIDE_MIN = 16;    // pixels of a frame side, as --size takes it
constexpr int SIZE_SIDE_MAX = 8192;  // a 8192 × 8192 picture is already 256 MB of pixels

enum OutputKind {
    OUTPUT_FLANK,   // the tooth data file of the shifted gear
    OUTPUT_GEAR,    // the whole gear's outline, SVG or DXF
    OUTPUT_RENDER,  // one frame of a scene, PNG, SVG or PDF
    OUTPUT_INFO,    // the gear's data: a table on standard output, or JSON into a file
    OUTPUT_SHEET,   // the gear data sheet: the gear to scale and its data on an A4 page, PDF or SVG
    OUTPUT_SOLID,   // the gear as a solid body (the pair as two), STL or 3MF
};

enum FileFormat {
    FORMAT_DATA,  // the tooth data file
    FORMAT_SVG,
    FORMAT_DXF,
    FORMAT_PNG,
    FORMAT_PDF,
    FORMAT_TEXT,  // the data's table, on standard output (no file)
    FORMAT_JSON,  // --info's data, or the flank's points with the gear's values
    FORMAT_CSV,   // the flank's points, one x,y row each
    FORMAT_MP4,   // a clip of the scene playing (--render)
    FORMAT_WEBM,
    FORMAT_GIF,
    FORMAT_STL,  // --solid's binary STL
    FORMAT_3MF,
    FORMAT_STEP,  // --solid's STEP (AP214), where rackgen was built with OpenCASCADE
};

struct Output {
    OutputKind kind;
    FileFormat format;
    const char* file;  // as given on the command line
    // --gear and --info
    double module;  // mm per module unit
    bool inches;    // --units in: lengths in inches instead of millimetres
    // --gear and --solid
    bool standard;        // the standard gear (x = 0) instead of the shifted one
    double tolerance;     // mm: how far the flanks' chords may stray from the exact form
    double rim_diameter;  // mm, a ring's rim; 0: the root diameter and six modules
    // --solid
    double bore_diameter;  // mm, through every external gear; 0: none
    // --render
    SceneMode scene;  // the key of scene --scene N, scene_key(N - 1)
    int step;         // step counter the frame starts from (the scene clamps it)
    int last_step;    // a clip's last step (--steps FIRST:LAST); -1: two seconds' worth after step
    int rate;         // a clip's frames a second (--fps)
    bool japanese;    // --lang ja: the legends and the data panel's names in Japanese
    bool lang_given;  // --lang was given; else a sheet takes the locale's language
    int zoom;         // 'w' presses (negative: 'W' presses)
    int width;        // pixels
    int height;
    // --info and --sheet
    double pin_diameter;  // mm of the pins of the measurement over pins; 0: 1.728 modules
};

struct CommandLine {
    int z;
    const char* teeth_text;  // --teeth as typed, for messages; null when not given
    double x;
    const char* shift_text;  // --shift as typed; null when not given (x = 0)
    Cutter cutter;           // SPECIFIED_CUTTER, changed by --profile and the single cutter options
    bool internal;           // --internal: the gear is a ring (cut by a pinion-type cutter)
    bool mate_internal;      // --mate-internal: the mate is a ring
    double face_width;  // --face-width in mm (a helical gear's overlap, the solids' width); 0 when not given
    bool allowance_given;  // --thickness-allowance UPPER,LOWER (mm)
    double allowance[2];
    bool mate_allowance_given;  // --mate-thickness-allowance UPPER,LOWER (mm)
    double mate_allowance[2];
    double centre_distance;            // --centre-distance in mm; 0 when not given
    double centre_distance_tolerance;  // --centre-distance-tolerance in mm (±); 0 when not given
    double module;          // of the window's gear and --flank's points: 1, or the module before the outputs
    bool quiet;             // --quiet: no line on standard error for each file written
    const char* mate_text;  // --mate as typed; null when not given (the default mate)
    int mate_z;
    const char* mate_shift_text;  // --mate-shift as typed; null when not given (0)
    double mate_x;
    Output defaults;  // the settings given before the first output, each output's start
    int output_count;
    Output outputs[OUTPUT_CAPACITY];
};

// ---- Global state ------------------------------------------------------------
// Written once by parse_command_line; read by the output writers.
extern CommandLine command_line;

enum ParseResult {
    PARSE_RUN,      // command_line holds a gear and its outputs (none: the window shows the gear)
    PARSE_DONE,     // --help or --version answered
    PARSE_REFUSED,  // bad usage, already reported in one line and a pointer to --help
};
ParseResult parse_command_line(int argc, char** argv);

// One line on standard error, "rackgen: " and the formatted text with its
// control bytes shown as \xHH (message.cpp).
__attribute__((format(printf, 1, 2))) void tell(const char* format, ...);
// One line on standard error saying what a file just written holds: the
// formatted text, control bytes shown as tell shows them, without "rackgen: ";
// nothing with --quiet (message.cpp).
__attribute__((format(printf, 1, 2))) void report(const char* format, ...);
// The shortest digits that read back as value, never "-0" (outputs.cpp).
constexpr int NUMBER_CAPACITY = 32;
void number_text(double value, char* text);

// The text of the module and of how lengths are said, for a report:
// "module 2.54 mm, in inches" (outputs.cpp).
constexpr int SETTINGS_CAPACITY = 128;  // what module_text says, and more
void module_text(const Output& out, char* text, int capacity);

// Writes one --render output of the gear taken (the_gear, the_mate); returns 0 or an errno.
int write_render_output(const Output& out);

// Errno of what was written to standard output, or 0; EBADF when the caller
// closed it (then /dev/null stands in its place, where nothing fails). The
// writer clears errno before it writes, so that a write that failed on the way
// is said with its own errno.
int standard_output_fault(bool output_closed);

// Writes one --sheet output of the gear taken; returns 0, an errno or OUTPUT_REFUSED.
int write_sheet_output(const Output& out);

// Writes one --solid output of the gear taken (STL, 3MF or STEP); returns 0, an errno or OUTPUT_REFUSED.
int write_solid_output(const Output& out);

// Whether every output fits the gear taken: a ring's rim larger than its root
// diameter, a bore smaller than an external gear's. False, said why in one line, when one does not (bad
// usage).
bool outputs_fit_gear();

// Writes the outputs of command_line for the gear taken; returns the
// exit status. output_closed: as for standard_output_fault.
int write_outputs(bool output_closed);
