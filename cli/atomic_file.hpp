// Files written whole or not at all: the text goes to a temporary file beside
// the target, which is renamed over it only when everything was written.
// Used only inside cli/.
#pragma once

#include <cstdio>

// Fills an open file; returns 0 or the errno that tells why it failed.
using FileWriter = int (*)(FILE* file, const void* context);

// Runs writer on a new temporary file in the target's directory and renames it
// to name. Returns 0, or the errno of the first failure, with no file left behind.
int write_file_atomically(const char* name, FileWriter writer, const void* context);
