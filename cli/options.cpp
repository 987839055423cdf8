// The command line's options, read with getopt_long: the gear, the outputs and
// the settings of each output. Owns command_line.
#include "cli/options.hpp"

#include "console/console.hpp"  // parse_whole, parse_real: numbers read as the dialogue reads them
#include "outline/outline.hpp"  // OUTLINE_TOLERANCE
#include "scenes/scenes.hpp"    // SCENE_COUNT, STEP_LIMIT, ZOOM_LIMIT: the limits a link has, too

#include <getopt.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

// ---- Global state ------------------------------------------------------------
// Written once by parse_command_line; read by the output writers.
CommandLine command_line;

static const char* const VERSION_TEXT = "rackgen 1.1\n";

// The usage, a printf format of the scene count and the step limit: the
// limits every option is checked against.
static const char USAGE_FORMAT[] =
    "usage: rackgen                                   the console dialogue, then the window\n"
    "       rackgen --teeth Z [--shift X] OUTPUTS...  no dialogue, no window, no display needed\n"
    "         --flank FILE        the tooth data file of the shifted gear, as the dialogue writes it\n"
    "         --gear FILE         the whole gear's outline, .svg or .dxf by the name's ending\n"
    "           --module M        in millimetres (default 1); the gear centre at the origin\n"
    "           --standard        the standard gear (x = 0) instead of the shifted one\n"
    "           --tolerance MM    how far the flanks' chords may stray from the exact form (default 0.001)\n"
    "         --render FILE       one frame of a scene, .png, .svg or .pdf by the name's ending\n"
    "           --scene N         1 ... %d (default 1)\n"
    "           --step K          the frame that shows step K of that scene (0 ... %d, default 0)\n"
    "           --zoom N          N > 0: as if 'w' had been pressed N times; N < 0: 'W' pressed -N times\n"
    "           --size WxH        pixels of the frame (default 800x800)\n"
    "       rackgen --help | --version\n"
    "       -z, -x and -h are short for --teeth, --shift and --help. The settings of an output\n"
    "       follow it; several outputs may be given.\n";

static void print_usage(FILE* to) {
    std::fprintf(to, USAGE_FORMAT, SCENE_COUNT, STEP_LIMIT);
}

constexpr int MESSAGE_TEXT_CAPACITY = 1024;  // a refusal with the value it quotes
// The outline files give coordinates to 1e-6 mm: from a module of 0.001 mm every
// digit still means something, and up to 10000 mm (z = 1000: a gear 10 km
// across) every number stays short and finite.
constexpr double MODULE_MIN = 0.001;
constexpr double MODULE_MAX = 10000.0;
// A chord tolerance from ten times the files' last digit up to 1 mm, where a
// gear of module 1 keeps only the fewest chords a flank is given.
constexpr double TOLERANCE_MIN = 0.00001;
constexpr double TOLERANCE_MAX = 1.0;
constexpr int SIZE_MIN = 16;    // pixels of a frame side
constexpr int SIZE_MAX = 8192;  // a 8192 × 8192 picture is already 256 MB of pixels

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
};

static const option LONG_OPTIONS[] = {
    {"teeth", required_argument, nullptr, 'z'},
    {"shift", required_argument, nullptr, 'x'},
    {"flank", required_argument, nullptr, OPT_FLANK},
    {"gear", required_argument, nullptr, OPT_GEAR},
    {"module", required_argument, nullptr, OPT_MODULE},
    {"standard", no_argument, nullptr, OPT_STANDARD},
    {"tolerance", required_argument, nullptr, OPT_TOLERANCE},
    {"render", required_argument, nullptr, OPT_RENDER},
    {"scene", required_argument, nullptr, OPT_SCENE},
    {"step", required_argument, nullptr, OPT_STEP},
    {"zoom", required_argument, nullptr, OPT_ZOOM},
    {"size", required_argument, nullptr, OPT_SIZE},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, OPT_VERSION},
    {nullptr, 0, nullptr, 0},
};

// One line saying what is wrong (a printf format and its values), then the
// usage; always PARSE_REFUSED.
__attribute__((format(printf, 1, 2))) static ParseResult refuse(const char* format, ...) {
    char text[MESSAGE_TEXT_CAPACITY];
    va_list values;
    va_start(values, format);
    std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    tell("%s", text);
    print_usage(stderr);
    return PARSE_REFUSED;
}

// "WxH" with both sides whole numbers in the accepted range.
static bool parse_size(const char* word, int& width, int& height) {
    char* end;
    long w = std::strtol(word, &end, 10);
    if (end == word || (*end != 'x' && *end != 'X')) return false;
    const char* rest = end + 1;
    long h = std::strtol(rest, &end, 10);
    if (end == rest || *end != '\0') return false;
    if (w < SIZE_MIN || w > SIZE_MAX || h < SIZE_MIN || h > SIZE_MAX) return false;
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
        format = FORMAT_DATA;
        return true;
    }
    if (name_ends_with(name, ".svg"))
        format = FORMAT_SVG;
    else if (kind == OUTPUT_GEAR && name_ends_with(name, ".dxf"))
        format = FORMAT_DXF;
    else if (kind == OUTPUT_RENDER && name_ends_with(name, ".png"))
        format = FORMAT_PNG;
    else if (kind == OUTPUT_RENDER && name_ends_with(name, ".pdf"))
        format = FORMAT_PDF;
    else
        return false;
    return true;
}

static ParseResult add_output(OutputKind kind, const char* name) {
    CommandLine& c = command_line;
    FileFormat format = FORMAT_DATA;
    if (*name == '\0') return refuse("an output needs a file name");
    if (!format_of(kind, name, format))
        return refuse(kind == OUTPUT_GEAR ? "the name after --gear must end in .svg or .dxf: \"%s\""
                                          : "the name after --render must end in .png, .svg or .pdf: \"%s\"",
                      name);
    if (c.output_count == OUTPUT_CAPACITY)
        return refuse("at most %d outputs in one run; \"%s\" is one more", OUTPUT_CAPACITY, name);
    c.outputs[c.output_count++] =
        Output{kind, format, name, 1.0, false, OUTLINE_TOLERANCE, '1', 0, 0, 800, 800};
    return PARSE_RUN;
}

// The output a setting belongs to: the last one given of its kind, if it is
// the last output given at all.
static Output* output_of(OutputKind kind) {
    CommandLine& c = command_line;
    if (c.output_count == 0 || c.outputs[c.output_count - 1].kind != kind) return nullptr;
    return &c.outputs[c.output_count - 1];
}

static const char* option_name(int option_code) {
    const option* o = LONG_OPTIONS;
    while (o->name != nullptr && o->val != option_code) ++o;
    return o->name != nullptr ? o->name : "?";
}

// A setting of --gear (kind OUTPUT_GEAR) or --render (OUTPUT_RENDER).
static ParseResult set_output(int option_code, const char* value) {
    const bool gear_setting =
        option_code == OPT_MODULE || option_code == OPT_STANDARD || option_code == OPT_TOLERANCE;
    OutputKind kind = gear_setting ? OUTPUT_GEAR : OUTPUT_RENDER;
    Output* out = output_of(kind);
    const char* name = option_name(option_code);
    if (out == nullptr)
        return refuse(kind == OUTPUT_GEAR ? "--%s must follow the --gear it sets"
                                          : "--%s must follow the --render it sets",
                      name);
    int n = 0;
    switch (option_code) {
        case OPT_MODULE:
            if (!parse_real(value, out->module) || !(out->module >= MODULE_MIN && out->module <= MODULE_MAX))
                return refuse("--module must be a number of millimetres from %g to %g, not \"%s\"",
                              MODULE_MIN, MODULE_MAX, value);
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
        case OPT_SCENE:
            if (!parse_whole(value, n) || n < 1 || n > SCENE_COUNT)
                return refuse("--scene must be 1 to %d, not \"%s\"", SCENE_COUNT, value);
            out->scene = static_cast<SceneMode>(FIRST_SCENE - 1 + n);
            break;
        case OPT_STEP:
            if (!parse_whole(value, out->step) || out->step < 0 || out->step > STEP_LIMIT)
                return refuse("--step must be a whole number from 0 to %d, not \"%s\"", STEP_LIMIT, value);
            break;
        case OPT_ZOOM:
            if (!parse_whole(value, out->zoom) || out->zoom < -ZOOM_LIMIT || out->zoom > ZOOM_LIMIT)
                return refuse("--zoom must be a whole number from %d to %d, not \"%s\"", -ZOOM_LIMIT,
                              ZOOM_LIMIT, value);
            break;
        default:  // OPT_SIZE
            if (!parse_size(value, out->width, out->height))
                return refuse("--size must be WxH, each side %d to %d pixels, not \"%s\"", SIZE_MIN, SIZE_MAX,
                              value);
    }
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
            if (!parse_real(value, c.x)) return refuse("--shift must be a number, not \"%s\"", value);
            return PARSE_RUN;
        case OPT_FLANK:
            return add_output(OUTPUT_FLANK, value);
        case OPT_GEAR:
            return add_output(OUTPUT_GEAR, value);
        case OPT_RENDER:
            return add_output(OUTPUT_RENDER, value);
        case 'h':
            print_usage(stdout);
            return PARSE_DONE;
        case OPT_VERSION:
            std::fputs(VERSION_TEXT, stdout);
            return PARSE_DONE;
        default:
            return set_output(code, value);
    }
}

ParseResult parse_command_line(int argc, char** argv) {
    command_line = CommandLine{};
    opterr = 0;  // the reasons are ours, with the usage
    optind = 1;
    int code;
    while ((code = getopt_long(argc, argv, ":z:x:h", LONG_OPTIONS, nullptr)) != -1) {
        const char* word = argv[optind - 1];  // the option just read
        if (code == '?') return refuse("unknown option \"%s\"", word);
        if (code == ':') return refuse("%s needs a value", word);
        ParseResult result = take_option(code, optarg);
        if (result != PARSE_RUN) return result;
    }
    if (optind < argc) return refuse("\"%s\" is no option; a file name follows its option", argv[optind]);
    if (command_line.teeth_text == nullptr) return refuse("the number of teeth is missing: give --teeth Z");
    if (command_line.output_count == 0) return refuse("no output given: --flank, --gear or --render");
    return PARSE_RUN;
}
