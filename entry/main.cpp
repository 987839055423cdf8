// The program entry: with options, the command line's files and no window, or,
// when they ask for no file, the window on their gear; without options, the
// parameter dialogue, then the window, which runs the event loop and never
// returns.
#include "app/app.hpp"
#include "cli/cli.hpp"
#include "console/console.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

// Standard input, output and error are open for whatever comes: a descriptor
// the caller closed is opened on /dev/null, so that nothing else (the X
// connection, a file being written) takes its number and receives the prompts.
// Returns whether standard output was one of them: what the command line
// writes there then goes nowhere, and it says so.
static bool keep_standard_descriptors_open() {
    bool output_closed = false;
    for (int fd = 0; fd <= 2; ++fd)
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            if (fd == 1) output_closed = true;
            const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
            if (opened >= 0 && opened != fd) close(opened);  // lower numbers are open: it took fd
        }
    return output_closed;
}

int main(int argc, char** argv) {
    const bool output_closed = keep_standard_descriptors_open();
    // Options are read before anything asks for a display.
    const bool given = argc > 1;
    if (given) {
        const int status = run_command_line(argc, argv, output_closed);
        if (status != SHOW_IN_WINDOW) return status;
    }
    // Say so at once when no window can open, before the user answers anything.
    if (const char* problem = window_system_problem(argv[0])) {
        std::fprintf(stderr, "rackgen: %s\n", problem);
        return 1;
    }
    last_key = 'z';
    if (given)
        take_computed_gear();
    else
        parameter_dialogue();
    // GLUT reads only the program's name: the options were rackgen's.
    int window_argc = 1;
    start_window(&window_argc, argv);
    return 0;
}
