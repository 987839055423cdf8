// The program entry: with options, the command line's files and no window;
// without, the parameter dialogue, then the window, which runs the event loop
// and never returns.
#include "app/app.hpp"
#include "cli/cli.hpp"
#include "console/console.hpp"

#include <cstdio>

int main(int argc, char** argv) {
    // Options are read before anything asks for a display.
    if (argc > 1) return run_command_line(argc, argv);
    // Say so at once when no window can open, before the user answers anything.
    if (const char* problem = window_system_problem(argv[0])) {
        std::fprintf(stderr, "rackgen: %s\n", problem);
        return 1;
    }
    last_key = 'z';
    parameter_dialogue();
    start_window(&argc, argv);
    return 0;
}
