// The command line's options, read with getopt_long: the gear, its cutter, the
// outputs and the settings of each output. Owns command_line.
#include "cli/options.hpp"

#include "console/console.hpp"      // parse_whole, parse_real: numbers read as the dialogue reads them
#include "choice/choice.hpp"        // FACE_WIDTH_MAX
#include "clip/clip.hpp"            // CLIP_RATE_MIN … CLIP_RATE_MAX
#include "gear_data/gear_data.hpp"  // MM_PER_INCH
#include "outline/outline.hpp"      // OUTLINE_TOLERANCE, RIM_DIAMETER_MAX
#include "solid/solid.hpp"          // BORE_DIAMETER_MAX
#include "scenes/scenes.hpp"        // the table of scenes; STEP_LIMIT, ZOOM_LIMIT: the limits a link has, too

#include <getopt.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

// ---- Global state ------------------------------------------------------------
// Written once by parse_command_line; read by the output writers.
CommandLine command_line;

static const char* const VERSION_TEXT =
    "rackgen " RACKGEN_VERSION
    "\n"
    "Copyright 2026 rackgen developers\n"
    "MIT License: free to use, copy, modify and distribute, without any warranty.\n";

// The usage up to the cutter, a printf format of the scene count, the step limit and the
// zoom's limits: the limits every option is checked against.
static const char USAGE_FORMAT[] =
    "usage: rackgen                                   the console dialogue, then the window\n"
    "       rackgen --teeth Z [--shift X] [CUTTER]    the window on that gear, no dialogue\n"
    "       rackgen --teeth Z [--shift X] [CUTTER] OUTPUTS...\n"
    "                                                 no dialogue, no window, no display needed\n"
    "         --flank FILE        the tooth data file of the shifted gear, as the dialogue writes it\n"
    "                             (.csv or .json: its points in mm at the module before the outputs)\n"
    "         --gear FILE         the whole gear's outline, .svg or .dxf by the name's ending,\n"
    "                             the gear centre at the origin; a ring's teeth and rim\n"
    "           --module M        in millimetres, %g to %g (default 1)\n"
    "           --diametral-pitch P  teeth per inch instead: a module of 25.4/P mm\n"
    "           --units U         mm or in: the lengths of the file (default mm)\n"
    "           --standard        the standard gear (x = 0) instead of the shifted one\n"
    "           --tolerance MM    how far the flanks' chords may stray from the exact form (default 0.001)\n"
    "           --rim-diameter MM a ring's rim, larger than its root diameter (default: that and\n"
    "                             6 modules)\n"
    "         --solid FILE        the gear as a solid in mm, .stl (binary), .3mf or .step (.stp) by the\n"
    "                             name's ending: the outline extruded over the face width (a helical gear\n"
    "                             twisted along its helix), the centre on the z axis; with --mate each\n"
    "                             gear a body; STEP holds exact solids (arcs, splines through the flanks)\n"
    "           --module M, --diametral-pitch P, --standard, --tolerance MM, --rim-diameter MM\n"
    "                             as for --gear; the tolerance holds for every section of a helical gear\n"
    "           --bore D          a bore of D mm through every external gear, below its root diameter\n"
    "                             (default 0: none; a ring has none)\n"
    "         --render FILE       one frame of a scene, .png, .svg or .pdf by the name's ending; or the\n"
    "                             scene playing as a clip, .mp4, .webm or .gif, one frame a step\n"
    "           --scene N         1 ... %d (default 1)\n"
    "           --step K          the frame that shows step K of that scene (0 ... %d, default 0)\n"
    "           --zoom N          N > 0: as if 'w' had been pressed N times; N < 0: 'W' pressed -N times\n"
    "                             (%d ... %d, default 0)\n"
    "           --size WxH        pixels of the frame (default 800x800)\n"
    "           --steps F:L       a clip's steps, F to L (default: --step and the next 60)\n"
    "           --fps N           a clip's frames a second, 1 ... 60 (default 30)\n"
    "           --lang L          en or ja: the language of the legends (default en)\n"
    "         --info [FILE.json]  the gear's data: a table on standard output, or JSON into the file\n"
    "           --module M, --diametral-pitch P, --units U   as for --gear\n"
    "           --pin MM          the pins' diameter for the measurement over pins (default 1.728 modules)\n"
    "         --sheet FILE        the gear data sheet, .pdf or .svg: one A4 page of the gear drawn to\n"
    "                             scale and its data (with --mate the mate's and the pair's)\n"
    "           --module M, --diametral-pitch P, --pin MM   as for --info\n"
    "           --lang L          en or ja (default: ja when the locale's language is Japanese)\n"
    "         --mate Z2, --mate-shift X2\n"
    "                             the mating gear, cut by the same cutter (default: the standard gear\n"
    "                             of 2·Z teeth, at most 100), for scene 8, --info, --gear and --sheet\n";
// The pinion-type cutter and the ring, after the profiles: a printf format of
// the cutter's limits.
static const char PINION_USAGE_FORMAT[] =
    "         --cutter-teeth ZC     a pinion-type cutter of ZC teeth, %d to %d, instead of the rack\n"
    "         --cutter-shift XC     its shift coefficient, %g to %g (default 0)\n"
    "         --internal            an internal gear (ring), cut only by a pinion-type cutter; +x widens\n"
    "                               the ring's tooth space and moves its tip circle out:\n"
    "                               d_a = d - 2(h_a - x)·m; a --mate is a pinion inside it\n"
    "         --mate-internal       the mate (--mate Z2) is a ring, the gear a pinion inside it\n"
    "         --helix-angle B       a helical gear of helix angle B, 0 to 45 degrees (default 0: spur);\n"
    "                               the module, cutter, shifts and pins are the normal plane's (the hob's),\n"
    "                               and what is drawn and written is the transverse section\n"
    "         --hand H              its hand, left or right (default right); an external mate has the other\n"
    "         --face-width MM       the face width: a solid's (default 10 modules); a helical gear's\n"
    "                               overlap ratio, and whether a caliper takes the span\n"
    "         --thickness-allowance UPPER,LOWER\n"
    "                               the tooth thickness allowances in mm, on the reference circle in the\n"
    "                               normal plane (negative thins, e.g. -0.08,-0.13): limits of thickness,\n"
    "                               span, over pins and chordal thickness; outlines and pictures show the\n"
    "                               tooth at the middle of its limits (the cutter fed in, the tip kept)\n"
    "         --mate-thickness-allowance UPPER,LOWER   the same for the mate\n"
    "         --centre-distance A   the pair mounted at A mm: without --mate-shift the mate's shift is\n"
    "                               solved to mesh there without backlash; with it, the backlash follows\n"
    "         --centre-distance-tolerance T   plus or minus T mm: the backlash as least and greatest\n";
// The end of the usage, after the cutter's part.
static const char USAGE_END[] =
    "       rackgen --help | --version\n"
    "       -z, -x and -h are short for --teeth, --shift and --help. Several outputs may be given;\n"
    "       a setting given before the first output is the default of every output it belongs to\n"
    "       (a module there is also --flank's), one given after an output sets that output only.\n"
    "       Each file written is said in one line on standard error; --quiet leaves these out.\n";

// The cutter's part of the usage, a printf format of the specified cutter and
// the limits of cutter_refusal; the profiles follow it, one a line.
static const char CUTTER_USAGE_FORMAT[] =
    "       CUTTER, the rack cutter that cuts the gear, or a pinion-type cutter's basic rack\n"
    "       (default %g degrees, %g, %g, %g):\n"
    "         --pressure-angle DEG  its pressure angle, %g to %g degrees\n"
    "         --addendum HA         the gear's addendum in modules, %g to %g\n"
    "         --dedendum HF         the gear's dedendum in modules, %g to %g\n"
    "         --tip-radius RHO      the radius rounding its tip corners in modules (0: sharp)\n"
    "         --profile P           a basic rack of ISO 53 (angle, addendum, dedendum, tip radius);\n"
    "                               a single option after it changes its value:\n";

static void print_usage(FILE* to) {
    std::fprintf(to, USAGE_FORMAT, MODULE_MIN, MODULE_MAX, SCENE_COUNT, STEP_LIMIT, -ZOOM_LIMIT, ZOOM_LIMIT);
    const Cutter& s = SPECIFIED_CUTTER;
    std::fprintf(to, CUTTER_USAGE_FORMAT, s.pressure_angle, s.addendum, s.dedendum, s.tip_radius,
                 PRESSURE_ANGLE_MIN, PRESSURE_ANGLE_MAX, CUTTER_HEIGHT_MIN, CUTTER_HEIGHT_MAX,
                 CUTTER_HEIGHT_MIN, CUTTER_HEIGHT_MAX);
    for (const CutterProfile& p : CUTTER_PROFILES)
        std::fprintf(to, "                                 %c  %g degrees, %g, %.2f, %.2f\n", p.letter,
                     p.cutter.pressure_angle, p.cutter.addendum, p.cutter.dedendum, p.cutter.tip_radius);
    std::fprintf(to, PINION_USAGE_FORMAT, CUTTER_TEETH_MIN, CUTTER_TEETH_MAX, -CUTTER_SHIFT_LIMIT,
                 CUTTER_SHIFT_LIMIT);
    std::fputs(USAGE_END, to);
}

constexpr int MESSAGE_TEXT_CAPACITY = 1024;  // a refusal with the value it quotes

// The arguments being parsed, for an option whose value may be the next word;
// written by parse_command_line, read by add_info.
static int c_argc;
static char** c_argv;

// A chord tolerance from ten times the files' last digit up to 1 mm, where a
// gear of module 1 keeps only the fewest chords a flank is given.
constexpr double TOLERANCE_MIN = 0.00001;
constexpr double TOLERANCE_MAX = 1.0;

enum LongOnly {
    OPT_FLANK = 256,
    OPT_GEAR,
    OPT_MODULE,
    OPT_STANDARD,
    OPT_TOLERANCE,
    OPT_RENDER,
    OPT_SCENE,
    OPT_STEP,
    OPT_ZOOM,
    OPT_SIZE,
    OPT_VERSION,
    OPT_PRESSURE_ANGLE,
    OPT_ADDENDUM,
    OPT_DEDENDUM,
    OPT_TIP_RADIUS,
    OPT_PROFILE,
    OPT_INFO,
    OPT_PIN,
    OPT_MATE,
    OPT_MATE_SHIFT,
    OPT_DIAMETRAL_PITCH,
    OPT_UNITS,
    OPT_QUIET,
    OPT_STEPS,
    OPT_FPS,
    OPT_LANG,
    OPT_CUTTER_TEETH,
    OPT_CUTTER_SHIFT,
    OPT_INTERNAL,
    OPT_MATE_INTERNAL,
    OPT_HELIX_ANGLE,
    OPT_THICKNESS_ALLOWANCE,
    OPT_MATE_THICKNESS_ALLOWANCE,
    OPT_CENTRE_DISTANCE,
    OPT_CENTRE_DISTANCE_TOLERANCE,
    OPT_HAND,
    OPT_FACE_WIDTH,
    OPT_RIM_DIAMETER,
    OPT_SHEET,
    OPT_SOLID,
    OPT_BORE,
};

static const option LONG_OPTIONS[] = {
    {"teeth", required_argument, nullptr, 'z'},
    {"shift", required_argument, nullptr, 'x'},
    {"flank", required_argument, nullptr, OPT_FLANK},
    {"gear", required_argument, nullptr, OPT_GEAR},
    {"module", required_argument, nullptr, OPT_MODULE},
    {"standard", no_argument, nullptr, OPT_STANDARD},
    {"tolerance", required_argument, nullptr, OPT_TOLERANCE},
    {"rim-diameter", required_argument, nullptr, OPT_RIM_DIAMETER},
    {"render", required_argument, nullptr, OPT_RENDER},
    {"scene", required_argument, nullptr, OPT_SCENE},
    {"step", required_argument, nullptr, OPT_STEP},
    {"zoom", required_argument, nullptr, OPT_ZOOM},
    {"size", required_argument, nullptr, OPT_SIZE},
    {"steps", required_argument, nullptr, OPT_STEPS},
    {"fps", required_argument, nullptr, OPT_FPS},
    {"lang", required_argument, nullptr, OPT_LANG},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, OPT_VERSION},
    {"pressure-angle", required_argument, nullptr, OPT_PRESSURE_ANGLE},
    {"addendum", required_argument, nullptr, OPT_ADDENDUM},
    {"dedendum", required_argument, nullptr, OPT_DEDENDUM},
    {"tip-radius", required_argument, nullptr, OPT_TIP_RADIUS},
    {"profile", required_argument, nullptr, OPT_PROFILE},
    {"cutter-teeth", required_argument, nullptr, OPT_CUTTER_TEETH},
    {"cutter-shift", required_argument, nullptr, OPT_CUTTER_SHIFT},
    {"internal", no_argument, nullptr, OPT_INTERNAL},
    {"mate-internal", no_argument, nullptr, OPT_MATE_INTERNAL},
    {"helix-angle", required_argument, nullptr, OPT_HELIX_ANGLE},
    {"thickness-allowance", required_argument, nullptr, OPT_THICKNESS_ALLOWANCE},
    {"mate-thickness-allowance", required_argument, nullptr, OPT_MATE_THICKNESS_ALLOWANCE},
    {"centre-distance", required_argument, nullptr, OPT_CENTRE_DISTANCE},
    {"centre-distance-tolerance", required_argument, nullptr, OPT_CENTRE_DISTANCE_TOLERANCE},
    {"hand", required_argument, nullptr, OPT_HAND},
    {"face-width", required_argument, nullptr, OPT_FACE_WIDTH},
    {"info", optional_argument, nullptr, OPT_INFO},
    {"sheet", required_argument, nullptr, OPT_SHEET},
    {"solid", required_argument, nullptr, OPT_SOLID},
    {"bore", required_argument, nullptr, OPT_BORE},
    {"pin", required_argument, nullptr, OPT_PIN},
    {"mate", required_argument, nullptr, OPT_MATE},
    {"mate-shift", required_argument, nullptr, OPT_MATE_SHIFT},
    {"diametral-pitch", required_argument, nullptr, OPT_DIAMETRAL_PITCH},
    {"units", required_argument, nullptr, OPT_UNITS},
    {"quiet", no_argument, nullptr, OPT_QUIET},
    {nullptr, 0, nullptr, 0},
};

// One line saying what is wrong (a printf format and its values), then one
// that points to --help; always PARSE_REFUSED.
__attribute__((format(printf, 1, 2))) static ParseResult refuse(const char* format, ...) {
    char text[MESSAGE_TEXT_CAPACITY];
    va_list values;
    va_start(values, format);
    std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    tell("%s", text);
    tell("try 'rackgen --help'");
    return PARSE_REFUSED;
}

// A number as the dialogue reads it, -0 taken as 0: a value said back in a
// message or written into a file is never a negative zero.
static bool parse_number(const char* word, double& value) {
    if (!parse_real(word, value)) return false;
    if (value == 0.0) value = 0.0;
    return true;
}

// "WxH" with both sides whole numbers in the accepted range.
// FIRST:LAST, both steps within the limit, FIRST not after LAST.
static bool parse_steps(const char* word, int& first, int& last) {
    const char* colon = std::strchr(word, ':');
    if (colon == nullptr || colon - word >= 16) return false;
    char head[16];
    std::memcpy(head, word, static_cast<size_t>(colon - word));
    head[colon - word] = '\0';
    int a = 0;
    int b = 0;
    if (!parse_whole(head, a) || !parse_whole(colon + 1, b)) return false;
    if (a < 0 || b > STEP_LIMIT || a > b) return false;
    first = a;
    last = b;
    return true;
}

static bool parse_size(const char* word, int& width, int& height) {
    char* end;
    long w = std::strtol(word, &end, 10);
    if (end == word || (*end != 'x' && *end != 'X')) return false;
    const char* rest = end + 1;
    long h = std::strtol(rest, &end, 10);
    if (end == rest || *end != '\0') return false;
    if (w < SIZE_SIDE_MIN || w > SIZE_SIDE_MAX || h < SIZE_SIDE_MIN || h > SIZE_SIDE_MAX) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

static bool name_ends_with(const char* name, const char* ending) {
    size_t n = std::strlen(name);
    size_t e = std::strlen(ending);
    return n > e && strcasecmp(name + n - e, ending) == 0;
}

// The format the file name's ending asks for among those the output offers.
static bool format_of(OutputKind kind, const char* name, FileFormat& format) {
    if (kind == OUTPUT_FLANK) {
        format = name_ends_with(name, ".csv")    ? FORMAT_CSV
                 : name_ends_with(name, ".json") ? FORMAT_JSON
                                                 : FORMAT_DATA;
        return true;
    }
    if (kind == OUTPUT_INFO) {
        format = FORMAT_JSON;
        return name_ends_with(name, ".json");
    }
    if (kind == OUTPUT_SHEET) {
        format = name_ends_with(name, ".pdf") ? FORMAT_PDF : FORMAT_SVG;
        return name_ends_with(name, ".pdf") || name_ends_with(name, ".svg");
    }
    if (kind == OUTPUT_SOLID) {
        const bool step = name_ends_with(name, ".step") || name_ends_with(name, ".stp");
        format = step ? FORMAT_STEP : name_ends_with(name, ".3mf") ? FORMAT_3MF : FORMAT_STL;
        return step || name_ends_with(name, ".stl") || name_ends_with(name, ".3mf");
    }
    if (name_ends_with(name, ".svg"))
        format = FORMAT_SVG;
    else if (kind == OUTPUT_GEAR && name_ends_with(name, ".dxf"))
        format = FORMAT_DXF;
    else if (kind == OUTPUT_RENDER && name_ends_with(name, ".png"))
        format = FORMAT_PNG;
    else if (kind == OUTPUT_RENDER && name_ends_with(name, ".pdf"))
        format = FORMAT_PDF;
    else if (kind == OUTPUT_RENDER && name_ends_with(name, ".mp4"))
        format = FORMAT_MP4;
    else if (kind == OUTPUT_RENDER && name_ends_with(name, ".webm"))
        format = FORMAT_WEBM;
    else if (kind == OUTPUT_RENDER && name_ends_with(name, ".gif"))
        format = FORMAT_GIF;
    else
        return false;
    return true;
}

static ParseResult add_output(OutputKind kind, const char* name) {
    CommandLine& c = command_line;
    FileFormat format = FORMAT_DATA;
    if (*name == '\0') return refuse("an output needs a file name");
    if (!format_of(kind, name, format))
        return refuse(
            kind == OUTPUT_GEAR    ? "the name after --gear must end in .svg or .dxf: \"%s\""
            : kind == OUTPUT_SOLID ? "the name after --solid must end in .stl, .3mf, .step or .stp: \"%s\""
            : kind == OUTPUT_INFO  ? "the name after --info must end in .json: \"%s\""
            : kind == OUTPUT_SHEET
                ? "the name after --sheet must end in .pdf or .svg: \"%s\""
                : "the name after --render must end in .png, .svg, .pdf, .mp4, .webm or .gif: \"%s\"",
            name);
    if (c.output_count == OUTPUT_CAPACITY)
        return refuse("at most %d outputs in one run; \"%s\" is one more", OUTPUT_CAPACITY, name);
#if !RACKGEN_STEP
    if (format == FORMAT_STEP)
        return refuse(
            "cannot write \"%s\": this rackgen was built without OpenCASCADE and writes no STEP "
            "files; --solid writes .stl or .3mf",
            name);
#endif
    Output& out = c.outputs[c.output_count++];
    out = c.defaults;
    out.kind = kind;
    out.format = format;
    out.file = name;
    return PARSE_RUN;
}

static const char* option_name(int option_code) {
    const option* o = LONG_OPTIONS;
    while (o->name != nullptr && o->val != option_code) ++o;
    return o->name != nullptr ? o->name : "?";
}

// The outputs a setting belongs to, one bit (1 << OutputKind) each.
constexpr unsigned GEAR_BIT = 1u << OUTPUT_GEAR;
constexpr unsigned RENDER_BIT = 1u << OUTPUT_RENDER;
constexpr unsigned INFO_BIT = 1u << OUTPUT_INFO;
constexpr unsigned SHEET_BIT = 1u << OUTPUT_SHEET;
constexpr unsigned SOLID_BIT = 1u << OUTPUT_SOLID;

static unsigned kinds_of(int option_code) {
    switch (option_code) {
        case OPT_MODULE:
        case OPT_DIAMETRAL_PITCH:
            return GEAR_BIT | INFO_BIT | SHEET_BIT | SOLID_BIT;
        case OPT_UNITS:
            return GEAR_BIT | INFO_BIT;
        case OPT_STANDARD:
        case OPT_TOLERANCE:
        case OPT_RIM_DIAMETER:
            return GEAR_BIT | SOLID_BIT;
        case OPT_BORE:
            return SOLID_BIT;
        case OPT_PIN:
            return INFO_BIT | SHEET_BIT;
        case OPT_LANG:
            return RENDER_BIT | SHEET_BIT;
        default:
            return RENDER_BIT;
    }
}

// The outputs a setting may follow, for its refusal.
static const char* kinds_text(unsigned kinds) {
    return kinds == (GEAR_BIT | INFO_BIT | SHEET_BIT | SOLID_BIT)
               ? "--gear, --solid, --info or --sheet it sets"
           : kinds == (GEAR_BIT | SOLID_BIT)   ? "--gear or --solid it sets"
           : kinds == SOLID_BIT                ? "--solid it sets"
           : kinds == (GEAR_BIT | INFO_BIT)    ? "--gear or --info it sets"
           : kinds == (INFO_BIT | SHEET_BIT)   ? "--info or --sheet it sets"
           : kinds == (RENDER_BIT | SHEET_BIT) ? "--render or --sheet it sets"
           : kinds == GEAR_BIT                 ? "--gear it sets"
                                               : "--render it sets";
}

// A module from --module M (mm) or --diametral-pitch P (teeth per inch: 25.4/P
// mm), in the range of --module either way.
static ParseResult read_module(int option_code, const char* value, double& module) {
    double number = 0.0;
    if (option_code == OPT_MODULE) {
        if (!parse_real(value, number) || !(number >= MODULE_MIN && number <= MODULE_MAX))
            return refuse("--module must be a number of millimetres from %g to %g, not \"%s\"", MODULE_MIN,
                          MODULE_MAX, value);
    } else {
        const bool positive = parse_real(value, number) && number > 0.0;
        number = positive ? MM_PER_INCH / number : 0.0;
        if (!(number >= MODULE_MIN && number <= MODULE_MAX))
            return refuse(
                "--diametral-pitch must be a number of teeth per inch from %g to %g (a module of "
                "%g to %g mm), not \"%s\"",
                MM_PER_INCH / MODULE_MAX, MM_PER_INCH / MODULE_MIN, MODULE_MIN, MODULE_MAX, value);
    }
    module = number;
    return PARSE_RUN;
}

// A setting of an output: before the first output the default of every
// output it belongs to, after one only that output's, when it belongs to it.
static ParseResult set_output(int option_code, const char* value) {
    CommandLine& c = command_line;
    Output* out = &c.defaults;
    if (c.output_count > 0) {
        out = &c.outputs[c.output_count - 1];
        if ((kinds_of(option_code) & (1u << out->kind)) == 0)
            return refuse("--%s must come before the outputs or follow the %s", option_name(option_code),
                          kinds_text(kinds_of(option_code)));
    }
    int n = 0;
    switch (option_code) {
        case OPT_MODULE:
        case OPT_DIAMETRAL_PITCH:
            if (read_module(option_code, value, out->module) != PARSE_RUN) return PARSE_REFUSED;
            if (out == &c.defaults) c.module = out->module;  // before the outputs --flank's, too
            break;
        case OPT_UNITS:
            if (std::strcmp(value, "mm") != 0 && std::strcmp(value, "in") != 0)
                return refuse("--units must be mm or in, not \"%s\"", value);
            out->inches = value[0] == 'i';
            break;
        case OPT_PIN:
            if (!parse_real(value, out->pin_diameter) ||
                !(out->pin_diameter >= MODULE_MIN && out->pin_diameter <= MODULE_MAX))
                return refuse("--pin must be a number of millimetres from %g to %g, not \"%s\"", MODULE_MIN,
                              MODULE_MAX, value);
            break;
        case OPT_STANDARD:
            out->standard = true;
            break;
        case OPT_TOLERANCE:
            if (!parse_real(value, out->tolerance) ||
                !(out->tolerance >= TOLERANCE_MIN && out->tolerance <= TOLERANCE_MAX))
                return refuse("--tolerance must be a number of millimetres from %g to %g, not \"%s\"",
                              TOLERANCE_MIN, TOLERANCE_MAX, value);
            break;
        case OPT_RIM_DIAMETER:
            if (!parse_real(value, out->rim_diameter) ||
                !(out->rim_diameter > 0.0 && out->rim_diameter <= RIM_DIAMETER_MAX))
                return refuse(
                    "--rim-diameter must be a number of millimetres above 0, at most %g, not \"%s\"",
                    RIM_DIAMETER_MAX, value);
            break;
        case OPT_BORE:
            if (!parse_real(value, out->bore_diameter) ||
                !(out->bore_diameter >= 0.0 && out->bore_diameter <= BORE_DIAMETER_MAX))
                return refuse("--bore must be a number of millimetres from 0 to %g, not \"%s\"",
                              BORE_DIAMETER_MAX, value);
            break;
        case OPT_SCENE:
            if (!parse_whole(value, n) || n < 1 || n > SCENE_COUNT)
                return refuse("--scene must be 1 to %d, not \"%s\"", SCENE_COUNT, value);
            out->scene = scene_key(n - 1);
            break;
        case OPT_STEP:
            if (!parse_whole(value, out->step) || out->step < 0 || out->step > STEP_LIMIT)
                return refuse("--step must be a whole number from 0 to %d, not \"%s\"", STEP_LIMIT, value);
            break;
        case OPT_STEPS:
            if (!parse_steps(value, out->step, out->last_step))
                return refuse(
                    "--steps must be FIRST:LAST, whole numbers from 0 to %d with FIRST <= LAST, "
                    "not \"%s\"",
                    STEP_LIMIT, value);
            break;
        case OPT_LANG:
            if (std::strcmp(value, "en") != 0 && std::strcmp(value, "ja") != 0)
                return refuse("--lang must be en or ja, not \"%s\"", value);
            out->japanese = value[0] == 'j';
            out->lang_given = true;
            break;
        case OPT_FPS:
            if (!parse_whole(value, out->rate) || out->rate < CLIP_RATE_MIN || out->rate > CLIP_RATE_MAX)
                return refuse("--fps must be a whole number from %d to %d, not \"%s\"", CLIP_RATE_MIN,
                              CLIP_RATE_MAX, value);
            break;
        case OPT_ZOOM:
            if (!parse_whole(value, out->zoom) || out->zoom < -ZOOM_LIMIT || out->zoom > ZOOM_LIMIT)
                return refuse("--zoom must be a whole number from %d to %d, not \"%s\"", -ZOOM_LIMIT,
                              ZOOM_LIMIT, value);
            break;
        default:  // OPT_SIZE
            if (!parse_size(value, out->width, out->height))
                return refuse("--size must be WxH, each side %d to %d pixels, not \"%s\"", SIZE_SIDE_MIN,
                              SIZE_SIDE_MAX, value);
    }
    return PARSE_RUN;
}

// "A,B": two numbers as the command line reads them.
static bool parse_pair(const char* value, double* pair) {
    const char* comma = std::strchr(value, ',');
    if (comma == nullptr || static_cast<size_t>(comma - value) >= 64) return false;
    char first[64];
    std::memcpy(first, value, static_cast<size_t>(comma - value));
    first[comma - value] = '\0';
    return parse_number(first, pair[0]) && parse_number(comma + 1, pair[1]);
}

// A value of the cutter: a profile's four, or one of them.
static ParseResult set_cutter(int option_code, const char* value) {
    Cutter& cutter = command_line.cutter;
    if (option_code == OPT_PROFILE) {
        for (const CutterProfile& p : CUTTER_PROFILES)
            if (value[0] != '\0' && value[1] == '\0' &&
                std::toupper(static_cast<unsigned char>(value[0])) == p.letter) {
                // A profile is the rack's four values; a pinion cutter or a helix given stays.
                const Cutter given = cutter;
                cutter = p.cutter;
                cutter.teeth = given.teeth;
                cutter.shift = given.shift;
                cutter.helix_angle = given.helix_angle;
                cutter.left_hand = given.left_hand;
                return PARSE_RUN;
            }
        return refuse("--profile must be A, B, C or D, not \"%s\"", value);
    }
    double& field = option_code == OPT_PRESSURE_ANGLE ? cutter.pressure_angle
                    : option_code == OPT_ADDENDUM     ? cutter.addendum
                    : option_code == OPT_DEDENDUM     ? cutter.dedendum
                                                      : cutter.tip_radius;
    if (!parse_number(value, field))
        return refuse("--%s must be a number, not \"%s\"", option_name(option_code), value);
    return PARSE_RUN;
}

// --info alone writes the table to standard output; --info FILE.json (the
// name as the next word, or --info=FILE.json) the JSON into the file.
static ParseResult add_info(const char* value) {
    CommandLine& c = command_line;
    if (value == nullptr && optind < c_argc && c_argv[optind][0] != '-' &&
        name_ends_with(c_argv[optind], ".json"))
        value = c_argv[optind++];
    if (value != nullptr) return add_output(OUTPUT_INFO, value);
    if (c.output_count == OUTPUT_CAPACITY) return refuse("at most %d outputs in one run", OUTPUT_CAPACITY);
    Output& out = c.outputs[c.output_count++];
    out = c.defaults;
    out.kind = OUTPUT_INFO;
    out.format = FORMAT_TEXT;
    return PARSE_RUN;
}

static ParseResult take_option(int code, const char* value) {
    CommandLine& c = command_line;
    switch (code) {
        case 'z':
            c.teeth_text = value;
            if (!parse_whole(value, c.z)) return refuse("--teeth must be a whole number, not \"%s\"", value);
            return PARSE_RUN;
        case 'x':
            c.shift_text = value;
            if (!parse_number(value, c.x)) return refuse("--shift must be a number, not \"%s\"", value);
            return PARSE_RUN;
        case OPT_FLANK:
            return add_output(OUTPUT_FLANK, value);
        case OPT_GEAR:
            return add_output(OUTPUT_GEAR, value);
        case OPT_RENDER:
            return add_output(OUTPUT_RENDER, value);
        case OPT_SHEET:
            return add_output(OUTPUT_SHEET, value);
        case OPT_SOLID:
            return add_output(OUTPUT_SOLID, value);
        case 'h':
            errno = 0;  // a write that fails on the way leaves its errno (standard_output_fault)
            print_usage(stdout);
            return PARSE_DONE;
        case OPT_VERSION:
            errno = 0;
            std::fputs(VERSION_TEXT, stdout);
            return PARSE_DONE;
        case OPT_PRESSURE_ANGLE:
        case OPT_ADDENDUM:
        case OPT_DEDENDUM:
        case OPT_TIP_RADIUS:
        case OPT_PROFILE:
            return set_cutter(code, value);
        case OPT_CUTTER_TEETH:
            if (!parse_whole(value, c.cutter.teeth) || c.cutter.teeth < CUTTER_TEETH_MIN ||
                c.cutter.teeth > CUTTER_TEETH_MAX)
                return refuse("--cutter-teeth must be a whole number from %d to %d, not \"%s\"",
                              CUTTER_TEETH_MIN, CUTTER_TEETH_MAX, value);
            return PARSE_RUN;
        case OPT_CUTTER_SHIFT:
            if (!parse_number(value, c.cutter.shift) || std::fabs(c.cutter.shift) > CUTTER_SHIFT_LIMIT)
                return refuse("--cutter-shift must be a number from %g to %g, not \"%s\"",
                              -CUTTER_SHIFT_LIMIT, CUTTER_SHIFT_LIMIT, value);
            return PARSE_RUN;
        case OPT_INTERNAL:
            c.internal = true;
            return PARSE_RUN;
        case OPT_MATE_INTERNAL:
            c.mate_internal = true;
            return PARSE_RUN;
        case OPT_HELIX_ANGLE:
            if (!parse_number(value, c.cutter.helix_angle) ||
                !(c.cutter.helix_angle >= 0.0 && c.cutter.helix_angle <= HELIX_ANGLE_MAX))
                return refuse("--helix-angle must be a number from 0 to %g degrees, not \"%s\"",
                              HELIX_ANGLE_MAX, value);
            return PARSE_RUN;
        case OPT_THICKNESS_ALLOWANCE:
        case OPT_MATE_THICKNESS_ALLOWANCE: {
            const bool mate = code == OPT_MATE_THICKNESS_ALLOWANCE;
            double* pair = mate ? c.mate_allowance : c.allowance;
            if (!parse_pair(value, pair))
                return refuse("--%s must be UPPER,LOWER in mm (e.g. -0.08,-0.13), not \"%s\"",
                              option_name(code), value);
            if (!(pair[0] >= pair[1]))
                return refuse("--%s: the limits are reversed, the upper %g is below the lower %g",
                              option_name(code), pair[0], pair[1]);
            (mate ? c.mate_allowance_given : c.allowance_given) = true;
            return PARSE_RUN;
        }
        case OPT_CENTRE_DISTANCE:
        case OPT_CENTRE_DISTANCE_TOLERANCE: {
            double& field = code == OPT_CENTRE_DISTANCE ? c.centre_distance : c.centre_distance_tolerance;
            if (!parse_number(value, field) || !(field > 0.0 && field <= FACE_WIDTH_MAX))
                return refuse("--%s must be a number of mm above 0, not \"%s\"", option_name(code), value);
            return PARSE_RUN;
        }
        case OPT_HAND:
            if (std::strcmp(value, "left") != 0 && std::strcmp(value, "right") != 0)
                return refuse("--hand must be left or right, not \"%s\"", value);
            c.cutter.left_hand = value[0] == 'l';
            return PARSE_RUN;
        case OPT_FACE_WIDTH:
            if (!parse_number(value, c.face_width) || !(c.face_width > 0.0 && c.face_width <= FACE_WIDTH_MAX))
                return refuse("--face-width must be a number of mm above 0 and at most %g, not \"%s\"",
                              FACE_WIDTH_MAX, value);
            return PARSE_RUN;
        case OPT_INFO:
            return add_info(value);
        case OPT_QUIET:
            c.quiet = true;
            return PARSE_RUN;
        case OPT_MATE:
            c.mate_text = value;
            if (!parse_whole(value, c.mate_z))
                return refuse("--mate must be a whole number, not \"%s\"", value);
            return PARSE_RUN;
        case OPT_MATE_SHIFT:
            c.mate_shift_text = value;
            if (!parse_number(value, c.mate_x))
                return refuse("--mate-shift must be a number, not \"%s\"", value);
            return PARSE_RUN;
        default:
            return set_output(code, value);
    }
}

// "-x=0.5" would give x the value "=0.5", and "-h=" is no help: refused,
// with the way to write it.
static ParseResult refuse_short_equals(int code, int argc, char** argv) {
    if (code == 'h' && optind < argc && std::strncmp(argv[optind], "-h=", 3) == 0)
        return refuse("\"%s\": -h takes no value; write -h or --help", argv[optind]);
    if ((code != 'z' && code != 'x') || optarg == nullptr || optarg[0] != '=') return PARSE_RUN;
    const char* word = argv[optind - 1];
    if (optarg != word + 2 || word[0] != '-') return PARSE_RUN;  // "=…" given as a word of its own
    const char* value = optarg[1] != '\0' ? optarg + 1 : code == 'z' ? "Z" : "X";
    return refuse("\"%s\": write -%c %s or --%s=%s", word, code, value, option_name(code), value);
}

ParseResult parse_command_line(int argc, char** argv) {
    c_argc = argc;
    c_argv = argv;
    command_line = CommandLine{};
    command_line.cutter = SPECIFIED_CUTTER;
    command_line.module = DEFAULT_MODULE;
    Output& defaults = command_line.defaults;  // the kind, format and file are each output's own
    defaults.module = DEFAULT_MODULE;
    defaults.tolerance = OUTLINE_TOLERANCE;
    defaults.scene = FIRST_SCENE;
    defaults.width = 800;
    defaults.height = 800;
    defaults.last_step = -1;
    defaults.rate = CLIP_RATE_DEFAULT;
    opterr = 0;  // the reasons are ours
    optind = 1;
    int code;
    while ((code = getopt_long(argc, argv, ":z:x:h", LONG_OPTIONS, nullptr)) != -1) {
        const char* word = argv[optind - 1];  // the option just read
        if (code == '?') return refuse("unknown option \"%s\"", word);
        if (code == ':') return refuse("%s needs a value", word);
        if (ParseResult result = refuse_short_equals(code, argc, argv); result != PARSE_RUN) return result;
        ParseResult result = take_option(code, optarg);
        if (result != PARSE_RUN) return result;
    }
    if (optind < argc) return refuse("\"%s\" is no option; a file name follows its option", argv[optind]);
    if (command_line.teeth_text == nullptr) return refuse("the number of teeth is missing: give --teeth Z");
    if (command_line.mate_shift_text != nullptr && command_line.mate_text == nullptr)
        return refuse("--mate-shift needs --mate Z2: the default mate is a standard gear");
    const Cutter& cutter = command_line.cutter;
    if (cutter.shift != 0.0 && !pinion_type(cutter))
        return refuse("--cutter-shift needs --cutter-teeth ZC: the rack has no shift of its own");
    if (command_line.internal && !pinion_type(cutter))
        return refuse("--internal needs --cutter-teeth ZC: only a pinion-type cutter cuts a ring");
    bool rim_given = command_line.defaults.rim_diameter > 0.0;
    for (int i = 0; i < command_line.output_count; ++i)
        rim_given = rim_given || command_line.outputs[i].rim_diameter > 0.0;
    bool bore_given = command_line.defaults.bore_diameter > 0.0;
    for (int i = 0; i < command_line.output_count; ++i)
        bore_given = bore_given || command_line.outputs[i].bore_diameter > 0.0;
    if (bore_given && command_line.internal)
        return refuse("--bore with --internal: a ring has no bore, its rim is --rim-diameter");
    if (rim_given && !command_line.internal && !command_line.mate_internal)
        return refuse("--rim-diameter needs --internal or --mate-internal: only a ring has a rim");
    if (command_line.mate_internal && !pinion_type(cutter))
        return refuse("--mate-internal needs --cutter-teeth ZC: only a pinion-type cutter cuts a ring");
    if (command_line.mate_internal && command_line.mate_text == nullptr)
        return refuse("--mate-internal needs --mate Z2: the ring's number of teeth");
    if (command_line.internal && command_line.mate_internal)
        return refuse("--internal and --mate-internal together: the gear and its mate cannot both be rings");
    // Millimetres of a tooth's thickness or a centre distance are the gear's at one module.
    const bool in_mm = command_line.allowance_given || command_line.mate_allowance_given ||
                       command_line.centre_distance > 0.0 || command_line.centre_distance_tolerance > 0.0;
    for (int i = 0; in_mm && i < command_line.output_count; ++i)
        if (command_line.outputs[i].module != command_line.module)
            return refuse(
                "the thickness allowances and the centre distance are millimetres at one module: "
                "give --module before the first output, not after one");
    if (command_line.mate_allowance_given && command_line.mate_text == nullptr)
        return refuse("--mate-thickness-allowance needs --mate Z2");
    if ((command_line.centre_distance > 0.0 || command_line.centre_distance_tolerance > 0.0) &&
        command_line.mate_text == nullptr)
        return refuse("--centre-distance and --centre-distance-tolerance need --mate Z2: they mount a pair");
    if (cutter.left_hand && !helical(cutter))
        return refuse("--hand needs --helix-angle B: a spur gear has no hand");
    if (helical(cutter) && (pinion_type(cutter) || command_line.internal || command_line.mate_internal))
        return refuse(
            "--helix-angle with --cutter-teeth, --internal or --mate-internal: a helical gear is "
            "cut by the rack (a hob) here, so no helical pinion-type cutter or ring is offered");
    if (const char* reason = cutter_refusal(cutter))
        return refuse("the cutter (%g degrees, addendum %g, dedendum %g, tip radius %g) cannot be used: %s",
                      cutter.pressure_angle, cutter.addendum, cutter.dedendum, cutter.tip_radius, reason);
    return PARSE_RUN;
}
