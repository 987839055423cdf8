// The command line of rackgen: the gear given as options, and its files —
// the tooth data file, the whole gear's outline and pictures of scene frames —
// written without the dialogue and without a window or display.
#pragma once

// Parses the options, checks the gear as the dialogue does and writes every
// output asked for. Returns the exit status: 0 when all was written, 1 when
// the gear is refused or a file cannot be written, 2 on bad usage.
int run_command_line(int argc, char** argv);
