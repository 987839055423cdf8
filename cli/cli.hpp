// The command line of rackgen: the gear given as options, with its cutter, and
// its files — the tooth data file, the whole gear's outline and pictures of
// scene frames — written without the dialogue and without a window or display;
// or, with no file asked for, the gear for the window to show.
#pragma once

// What run_command_line answers when no output was asked for: the gear is
// computed, with its cutter, and the window is to show it.
constexpr int SHOW_IN_WINDOW = -1;

// Parses the options, checks the gear as the dialogue does, computes it and
// writes every output asked for. Returns the exit status: 0 when all was
// written, 1 when the gear is refused or a file or standard output cannot be
// written, 2 on bad usage; or SHOW_IN_WINDOW. output_closed: the caller closed
// standard output, so what goes there (--info's table, --help, --version)
// cannot be written.
int run_command_line(int argc, char** argv, bool output_closed);
