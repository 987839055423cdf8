// End-to-end support: Xvfb, the program under test, xdotool, xwd and
// ImageMagick driven from C++ with a timeout on every wait. See e2e.hpp.
#include "tests/e2e/e2e.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* const RACKGEN_BIN = RACKGEN_BIN_PATH;
const char* const RACKGEN_PROBE_BIN = RACKGEN_PROBE_BIN_PATH;
const char* const ARTIFACTS_ROOT = RACKGEN_ARTIFACTS_ROOT;

static long now_ms() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

static void sleep_ms(int ms) {
    timespec ts = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
}

static void make_dirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/') mkdir(path.substr(0, i).c_str(), 0755);
}

// Forks and runs argv (looked up on PATH) with DISPLAY of x (none when x is
// null), then the "NAME=VALUE" settings, and the child's descriptors 0, 1, 2
// (and 3, when four are given) taken from fds (-1: /dev/null). The child leads
// its own process group (keys typed at a developer's terminal don't reach it, a
// pipeline under sh -c is killed as one) and dies with the test, so nothing
// outlives a crashed test. Returns its pid, or -1.
static pid_t spawn(const XServer* x, const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   std::vector<int> fds) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    setpgid(0, 0);
    if (x != nullptr)
        setenv("DISPLAY", x->name, 1);
    else
        unsetenv("DISPLAY");
    for (const std::string& setting : env) {
        size_t eq = setting.find('=');
        setenv(setting.substr(0, eq).c_str(), setting.substr(eq + 1).c_str(), 1);
    }
    const int null_fd = open("/dev/null", O_RDWR);
    for (int& fd : fds) fd = fcntl(fd < 0 ? null_fd : fd, F_DUPFD, 10);  // out of the way of 0 … 3
    for (size_t i = 0; i < fds.size(); ++i) dup2(fds[i], static_cast<int>(i));
    for (int fd = static_cast<int>(fds.size()); fd < 1024; ++fd) close(fd);  // the parent's pipe ends too
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
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

// ---- Xvfb ------------------------------------------------------------------------

bool start_xserver(XServer* x, int timeout_ms, const char* screen) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    // -noreset: otherwise the server resets whenever its last client leaves
    // (each xdotool call is a client) and refuses connections while it does.
    x->pid = spawn(nullptr, {"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"}, {},
                   {-1, -1, -1, fds[1]});
    close(fds[1]);
    char text[32] = {};
    size_t used = 0;
    long deadline = now_ms() + timeout_ms;
    while (x->pid > 0 && used + 1 < sizeof text && std::strchr(text, '\n') == nullptr) {
        long left = deadline - now_ms();
        pollfd pfd = {fds[0], POLLIN, 0};
        if (left <= 0 || poll(&pfd, 1, static_cast<int>(left)) <= 0) break;
        ssize_t n = read(fds[0], text + used, sizeof text - 1 - used);
        if (n <= 0) break;  // Xvfb ended (not installed, or failed to start)
        used += static_cast<size_t>(n);
    }
    close(fds[0]);
    if (std::strchr(text, '\n') == nullptr) {
        std::fprintf(stderr, "e2e: Xvfb did not start (is the xvfb package installed?)\n");
        stop_xserver(x);
        return false;
    }
    x->display = std::atoi(text);
    std::snprintf(x->name, sizeof x->name, ":%d", x->display);
    return true;
}

void stop_xserver(XServer* x) {
    if (x->pid > 0) {
        kill(x->pid, SIGTERM);
        long deadline = now_ms() + 3000;
        while (waitpid(x->pid, nullptr, WNOHANG) == 0) {
            if (now_ms() > deadline) {
                kill(x->pid, SIGKILL);
                waitpid(x->pid, nullptr, 0);
                break;
            }
            sleep_ms(10);
        }
    }
    x->pid = -1;
}

// The server of use_private_xserver, stopped at exit.
static XServer private_server;

static void stop_private_xserver() {
    stop_xserver(&private_server);
}

const char* use_private_xserver(const char* screen) {
    if (private_server.pid > 0) return nullptr;
    if (!start_xserver(&private_server, 20000, screen))
        return "Xvfb did not report a display (is the xvfb package installed?)";
    setenv("DISPLAY", private_server.name, 1);
    std::atexit(stop_private_xserver);
    return nullptr;
}

// ---- external tools ---------------------------------------------------------------

int run_tool(const XServer* x, const std::vector<std::string>& argv, std::string* output, int timeout_ms) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    // LC_ALL: xprop prints UTF-8 text as text, not octal escapes.
    pid_t pid = spawn(x, argv, {"LC_ALL=C.UTF-8"}, {-1, fds[1], -1});
    close(fds[1]);
    long deadline = now_ms() + timeout_ms;
    bool timed_out = pid < 0;
    while (!timed_out) {
        long left = deadline - now_ms();
        pollfd pfd = {fds[0], POLLIN, 0};
        int ready = left > 0 ? poll(&pfd, 1, static_cast<int>(left)) : 0;
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            timed_out = true;
            break;
        }
        char buffer[4096];
        ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;  // end of output
        if (output != nullptr) output->append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    while (!timed_out && waitpid(pid, &status, WNOHANG) == 0) {
        timed_out = now_ms() > deadline;
        sleep_ms(5);
    }
    if (timed_out) {
        std::fprintf(stderr, "e2e: %s timed out after %d ms\n", argv[0].c_str(), timeout_ms);
        if (pid > 0) {
            kill(-pid, SIGKILL);
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// ---- the program under test ---------------------------------------------------------

bool launch_program(Program* p, const XServer* x, const char* exe, const char* stdin_text, const char* test_name,
                    const std::vector<std::string>& env, const std::vector<std::string>& args) {
    signal(SIGPIPE, SIG_IGN);  // writing to a program that has ended must not kill the test
    p->dir = std::string(ARTIFACTS_ROOT) + "/" + test_name;
    make_dirs(p->dir);
    p->stdout_path = p->dir + "/stdout.txt";
    p->stderr_path = p->dir + "/stderr.txt";
    p->stdout_seen = p->stderr_seen = 0;
    p->exited = false;
    p->exit_status = -1;
    p->window = 0;
    int out_fd = open(p->stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err_fd = open(p->stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int in_fds[2];
    if (out_fd < 0 || err_fd < 0 || pipe(in_fds) != 0) return false;
    std::vector<std::string> argv = {exe};
    argv.insert(argv.end(), args.begin(), args.end());
    p->pid = spawn(x, argv, env, {in_fds[0], out_fd, err_fd});
    close(in_fds[0]);
    close(out_fd);
    close(err_fd);
    p->stdin_fd = in_fds[1];
    return p->pid > 0 && (stdin_text == nullptr || write_stdin(p, stdin_text));
}

bool write_stdin(Program* p, const char* text) {
    size_t left = std::strlen(text);
    while (left > 0 && p->stdin_fd >= 0) {
        ssize_t n = write(p->stdin_fd, text, left);
        if (n <= 0) return false;
        text += n;
        left -= static_cast<size_t>(n);
    }
    return left == 0;
}

void close_stdin(Program* p) {
    if (p->stdin_fd >= 0) {
        close(p->stdin_fd);
        p->stdin_fd = -1;
    }
}

static void note_exit(Program* p, int status) {
    p->exited = true;
    p->exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool is_alive(Program* p) {
    if (p->pid <= 0 || p->exited) return false;
    int status = 0;
    if (waitpid(p->pid, &status, WNOHANG) == p->pid) {
        note_exit(p, status);
        return false;
    }
    return true;
}

bool wait_exit(Program* p, int timeout_ms) {
    long deadline = now_ms() + timeout_ms;
    while (is_alive(p)) {
        if (now_ms() > deadline) return false;
        sleep_ms(10);
    }
    return p->exited;
}

void stop_program(Program* p) {
    if (is_alive(p)) {
        kill(p->pid, SIGKILL);
        int status = 0;
        waitpid(p->pid, &status, 0);
        note_exit(p, status);
    }
    close_stdin(p);
}

std::string read_stdout(const Program* p) {
    return read_file(p->stdout_path);
}
std::string read_stderr(const Program* p) {
    return read_file(p->stderr_path);
}

static bool wait_text(Program* p, const std::string& path, size_t* seen, const char* text, int timeout_ms) {
    long deadline = now_ms() + timeout_ms;
    for (;;) {
        bool alive = is_alive(p);  // before reading, so output written just before the end counts
        std::string all = read_file(path);
        size_t at = all.find(text, *seen);
        if (at != std::string::npos) {
            *seen = at + std::strlen(text);
            return true;
        }
        if (!alive || now_ms() > deadline) return false;
        sleep_ms(20);
    }
}

bool wait_stdout(Program* p, const char* text, int timeout_ms) {
    return wait_text(p, p->stdout_path, &p->stdout_seen, text, timeout_ms);
}

bool wait_stderr(Program* p, const char* text, int timeout_ms) {
    return wait_text(p, p->stderr_path, &p->stderr_seen, text, timeout_ms);
}

// ---- the window ---------------------------------------------------------------------

bool find_window(Program* p, const XServer* x, int timeout_ms, bool left_in_place) {
    long deadline = now_ms() + timeout_ms;
    for (;;) {
        if (!is_alive(p)) {
            std::fprintf(stderr, "e2e: the program ended (status %d) before its window mapped\n",
                         p->exit_status);
            return false;
        }
        std::string out;
        int status = run_tool(x, {"xdotool", "search", "--onlyvisible", "--name", "."}, &out, 5000);
        unsigned long id = std::strtoul(out.c_str(), nullptr, 10);
        if (status == 0 && id != 0) {
            p->window = id;
            break;
        }
        if (now_ms() > deadline) {
            std::fprintf(stderr, "e2e: no window mapped within %d ms\n", timeout_ms);
            return false;
        }
        sleep_ms(50);
    }
    if (left_in_place) return true;
    std::string win = std::to_string(p->window);
    return run_tool(x, {"xdotool", "windowmove", "--sync", win, "0", "0"}, nullptr, 5000) == 0;
}

std::string key_presses(const char* key, int times) {
    std::string list;
    for (int k = 0; k < times; ++k) list += std::string(key) + " ";
    return list;
}

bool send_keys(Program* p, const XServer* x, const std::string& keys) {
    const std::vector<std::string> command = {"xdotool", "key", "--window", std::to_string(p->window)};
    std::vector<std::string> argv = command;
    for (size_t start = 0, end; start <= keys.size(); start = end + 1) {
        end = std::min(keys.find(' ', start), keys.size());
        if (end > start) argv.push_back(keys.substr(start, end - start));
        if (argv.size() == command.size() + 40 || (end == keys.size() && argv.size() > command.size())) {
            if (run_tool(x, argv, nullptr, 5000) != 0) return false;
            argv = command;
        }
    }
    return true;
}

// ---- probe state ---------------------------------------------------------------------

static bool parse_probe_line(const std::string& line, ProbeState* st) {
    char event[16] = {};
    char key[8] = {};
    char scene = 0;
    int a, d, u, t;
    double scale;
    int n = std::sscanf(line.c_str(), "probe: %15s key=%7s scene=%c steps=%d,%d,%d,%d scale=%lf", event, key,
                        &scene, &a, &d, &u, &t, &scale);
    if (n != 8) return false;
    st->event = event;
    st->key = key[0];
    st->scene = scene;
    st->steps[0] = a;
    st->steps[1] = d;
    st->steps[2] = u;
    st->steps[3] = t;
    st->scale = scale;
    return true;
}

bool wait_probe(Program* p, const char* event, ProbeState* st, int timeout_ms) {
    long deadline = now_ms() + timeout_ms;
    for (;;) {
        bool alive = is_alive(p);
        std::string all = read_stderr(p);
        size_t end;
        while ((end = all.find('\n', p->stderr_seen)) != std::string::npos) {
            std::string line = all.substr(p->stderr_seen, end - p->stderr_seen);
            p->stderr_seen = end + 1;
            ProbeState found;
            if (parse_probe_line(line, &found) && (event[0] == '\0' || found.event == event)) {
                *st = found;
                return true;
            }
        }
        if (!alive || now_ms() > deadline) return false;
        sleep_ms(10);
    }
}

// ---- screenshots -------------------------------------------------------------------

bool read_ppm(const std::string& path, Image* img) {
    const std::string data = read_file(path);
    int width = 0, height = 0, max = 0, header = 0;  // "P6\n<w> <h>\n255\n": no comment lines
    if (std::sscanf(data.c_str(), "P6 %d %d %d%n", &width, &height, &max, &header) != 3 || max != 255 ||
        width <= 0 || height <= 0)
        return false;
    const size_t at = static_cast<size_t>(header) + 1;  // the one white-space byte before the raster
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    if (data.size() < at + bytes) return false;
    img->width = width;
    img->height = height;
    img->rgb.assign(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + bytes));
    return true;
}

bool take_screenshot(Program* p, const XServer* x, const char* name, Image* img) {
    const std::string base = p->dir + "/" + name;
    const std::string command = "xwd -silent -id " + std::to_string(p->window) +
                                " | convert xwd:- -strip -depth 8 -write 'png:" + base + ".png' 'ppm:" + base + ".ppm'";
    return run_tool(x, {"sh", "-c", command}, nullptr, 20000) == 0 && read_ppm(base + ".ppm", img);
}

Rgb pixel(const Image& img, int x, int y) {
    size_t at = (static_cast<size_t>(y) * static_cast<size_t>(img.width) + static_cast<size_t>(x)) * 3;
    return Rgb{img.rgb[at], img.rgb[at + 1], img.rgb[at + 2]};
}

int count_non_white(const Image& img) {
    int count = 0;
    for (size_t i = 0; i + 2 < img.rgb.size(); i += 3)
        if (img.rgb[i] != 255 || img.rgb[i + 1] != 255 || img.rgb[i + 2] != 255) ++count;
    return count;
}

// ---- a window run --------------------------------------------------------------------

WindowRun::WindowRun(const char* test_name, int z, double x, bool left_in_place) {
    started_ = session.open_window(test_name, z, x, left_in_place) &&
               wait_probe(&session.program, "display", &shown_, E2eSession::WINDOW_TIMEOUT_MS);
}

std::string WindowRun::next_probe(int timeout_ms) {
    ProbeState st;
    if (!wait_probe(&session.program, "", &st, timeout_ms)) return "";
    (st.event == "display" ? shown_ : state_) = st;
    return st.event;
}

bool WindowRun::keys(const std::string& list) {
    if (!send_keys(&session.program, &session.xserver, list)) return false;
    int count = 0;
    for (size_t start = 0, end; start < list.size(); start = end + 1) {
        end = std::min(list.find(' ', start), list.size());
        count += end > start;
    }
    for (int answered = 0; answered < count;) {
        std::string event = next_probe(E2eSession::WINDOW_TIMEOUT_MS);
        if (event.empty()) return false;
        answered += event == "key";
    }
    return true;
}

void WindowRun::settle() {
    while (!next_probe(500).empty()) {
    }
}

bool painted(const Image& img) {
    int black = 0;
    for (size_t i = 0; i + 2 < img.rgb.size(); i += 3)
        black += img.rgb[i] == 0 && img.rgb[i + 1] == 0 && img.rgb[i + 2] == 0;
    return img.width > 0 && black < img.width * img.height / 2 && count_non_white(img) > 0;
}

Image WindowRun::shoot(const char* name, const std::function<bool(const Image&)>& expected) {
    Image img;
    long deadline = now_ms() + 5000;
    for (;;) {
        bool taken = take_screenshot(&session.program, &session.xserver, name, &img);
        if ((taken && painted(img) && (!expected || expected(img))) || now_ms() > deadline) return img;
        sleep_ms(100);
    }
}

int count_of(const std::string& haystack, const std::string& text) {
    int count = 0;
    for (size_t at = haystack.find(text); at != std::string::npos; at = haystack.find(text, at + 1)) ++count;
    return count;
}

int WindowRun::display_frames() const {
    return count_of(read_stderr(&session.program), "probe: display");
}
