// Helpers for the console tests: a scratch folder per test and runs of the
// dialogue driver (the dialogue as the program runs it, without a window) on
// scripted standard input. Files and tools: tests/e2e. Owns nothing global.
#pragma once

#include "tests/e2e/e2e.hpp"

#include <string>
#include <vector>

// The driver executable, passed in by the build.
extern const char* const DIALOGUE_DRIVER;

// A fresh folder under the system's temporary folder, removed with its files
// when the object goes out of scope.
struct ScratchDir {
    std::string path;
    ScratchDir();
    ~ScratchDir();
    std::string file(const char* name) const { return path + "/" + name; }
};

struct DriverRun {
    int exit_status = -1;             // exit code, -1 when it did not end by itself within 20 s
    std::string output;               // standard output and standard error, in order
    std::vector<std::string> states;  // one line of model state after every dialogue
};

// Runs the driver in dir with stdin_text as its standard input (a file, not a
// terminal), the window keys after the first dialogue and extra environment
// settings ("NAME=value") after LC_ALL=C. Gives up after 20 s.
DriverRun run_driver(const ScratchDir& dir, const std::string& stdin_text,
                     const std::vector<std::string>& keys = {},
                     const std::vector<std::string>& environment = {});

bool file_exists(const std::string& path);
// The value of "name=" in a state line, up to the next blank.
std::string state_field(const std::string& state, const char* name);
