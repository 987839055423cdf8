// Scratch folders and driver runs for the console tests.
#include "console_test_support.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ftw.h>
#include <sys/stat.h>

ScratchDir::ScratchDir() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/rackgen-console-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) ADD_FAILURE() << "mkdtemp: " << std::strerror(errno);
    path = buffer.data();
}

static int remove_entry(const char* path, const struct stat*, int, struct FTW*) {
    return std::remove(path);
}

ScratchDir::~ScratchDir() {
    if (!path.empty()) nftw(path.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

bool file_exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string state_field(const std::string& state, const char* name) {
    std::string key = std::string(" ") + name + "=";
    std::string padded = " " + state;
    size_t at = padded.find(key);
    if (at == std::string::npos) return "";
    at += key.size();
    return padded.substr(at, padded.find(' ', at) - at);
}

DriverRun run_driver(const ScratchDir& dir, const std::string& stdin_text, const std::vector<std::string>& keys,
                     const std::vector<std::string>& environment) {
    FILE* input = std::fopen(dir.file(".stdin").c_str(), "wb");
    std::fwrite(stdin_text.data(), 1, stdin_text.size(), input);
    std::fclose(input);
    // The console's encoding comes from the locale: the same for every developer
    // unless a test asks for another.
    std::vector<std::string> argv = {"sh", "-c", "cd \"$0\" && exec env \"$@\" <.stdin 2>&1", dir.path, "LC_ALL=C"};
    argv.insert(argv.end(), environment.begin(), environment.end());
    argv.insert(argv.end(), {DIALOGUE_DRIVER, dir.file(".state")});
    argv.insert(argv.end(), keys.begin(), keys.end());
    DriverRun run;
    run.exit_status = run_tool(nullptr, argv, &run.output, 20000);
    if (run.exit_status < 0) ADD_FAILURE() << "the dialogue driver did not end by itself within 20 s";
    std::string states = read_file(dir.file(".state"));
    for (size_t start = 0, end; (end = states.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = states.substr(start, end - start);
        if (line.compare(0, 4, "pid=") != 0) run.states.push_back(line);
    }
    return run;
}

const char* const DIALOGUE_DRIVER = DIALOGUE_DRIVER_PATH;
