// The program entry: with options, the command line's files and no window;
// without, the parameter dialogue, then the window, which runs the event loop
// and never returns.
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
static void keep_standard_descriptors_open() {
    for (int fd = 0; fd <= 2; ++fd)
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
            if (opened >= 0 && opened != fd) close(opened);  // lower numbers are open: it took fd
        }
}

int main(int argc, char** argv) {
    keep_standard_descriptors_open();
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
