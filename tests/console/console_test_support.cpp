// Scratch folders and driver runs for the console tests.
#include "console_test_support.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

std::string read_file(const std::string& path) {
    std::string text;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    return text;
}

bool file_exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

int count_of(const std::string& haystack, const std::string& text) {
    int count = 0;
    for (size_t at = haystack.find(text); at != std::string::npos; at = haystack.find(text, at + 1)) ++count;
    return count;
}

std::string state_field(const std::string& state, const char* name) {
    std::string key = std::string(" ") + name + "=";
    std::string padded = " " + state;
    size_t at = padded.find(key);
    if (at == std::string::npos) return "";
    at += key.size();
    return padded.substr(at, padded.find(' ', at) - at);
}

DriverRun run_driver(const ScratchDir& dir, const std::string& stdin_text,
                     const std::vector<std::string>& keys, const std::vector<std::string>& environment) {
    DriverRun run;
    std::string input_path = dir.file(".stdin");
    std::string output_path = dir.file(".output");
    std::string state_path = dir.file(".state");
    FILE* input = std::fopen(input_path.c_str(), "wb");
    std::fwrite(stdin_text.data(), 1, stdin_text.size(), input);
    std::fclose(input);

    std::vector<std::string> args = {DIALOGUE_DRIVER, state_path};
    args.insert(args.end(), keys.begin(), keys.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        int in = open(input_path.c_str(), O_RDONLY);
        int out = open(output_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || chdir(dir.path.c_str()) != 0) _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(out, 2);
        // The console's encoding comes from the locale: the same for every developer
        // unless a test asks for another.
        putenv(const_cast<char*>("LC_ALL=C"));
        for (const std::string& setting : environment) putenv(const_cast<char*>(setting.c_str()));
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    for (int waited_ms = 0;; waited_ms += 10) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (waited_ms >= 20000) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << "the dialogue driver did not end within 20 s";
            break;
        }
        usleep(10000);
    }
    run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.output = read_file(output_path);
    std::string states = read_file(state_path);
    for (size_t start = 0, end; (end = states.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = states.substr(start, end - start);
        if (line.compare(0, 4, "pid=") != 0) run.states.push_back(line);
    }
    return run;
}

const char* const DIALOGUE_DRIVER = DIALOGUE_DRIVER_PATH;
