// The command line's run: options, the gear checked and computed as the
// dialogue does it, then the outputs. No state of its own.
#include "cli/cli.hpp"
#include "cli/options.hpp"

#include "geometry/geometry.hpp"

#include <cstdio>

// The dialogue's own check, in the dialogue's order: first z alone, then x;
// an accepted pointed tooth with the dialogue's warning.
static bool gear_accepted(const CommandLine& c) {
    if (const char* refusal = gear_refusal(c.z, 0.0)) {
        std::fprintf(stderr, "rackgen: --teeth %s is refused: %s\n", c.teeth_text, refusal);
        return false;
    }
    if (const char* refusal = gear_refusal(c.z, c.x)) {
        std::fprintf(stderr, "rackgen: --shift %s is refused: %s\n", c.shift_text ? c.shift_text : "0",
                     refusal);
        return false;
    }
    char warning[GEAR_WARNING_CAPACITY];
    if (gear_warning(c.z, c.x, warning, GEAR_WARNING_CAPACITY))
        std::fprintf(stderr, "rackgen: %s\n", warning);
    return true;
}

int run_command_line(int argc, char** argv) {
    ParseResult parsed = parse_command_line(argc, argv);
    if (parsed == PARSE_DONE) return EXIT_WRITTEN;
    if (parsed == PARSE_REFUSED) return EXIT_BAD_USAGE;
    if (!gear_accepted(command_line)) return EXIT_FAILED;
    compute_gear(command_line.z, command_line.x);
    return write_outputs();
}
