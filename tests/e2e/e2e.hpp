// End-to-end support: the real program in its own virtual X server, driven as a
// user would drive it (keys, screenshots, its console output). Owns only the
// server of use_private_xserver; tests hold their XServer and Program (E2eSession).
// Every wait has a timeout; artifacts go to <build>/test-artifacts/<test name>/.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

extern const char* const RACKGEN_BIN;  // path of the user's program
// The same program with the state report: one stderr line per frame and per key,
//   probe: <display|key> key=<last key> scene=<1..7> steps=<a>,<d>,<u>,<t> scale=<factor>
// Mapping and moving the window make GLUT repaint (a frame that advances the
// shown scene): wait for the first display line before counting frames.
extern const char* const RACKGEN_PROBE_BIN;
extern const char* const ARTIFACTS_ROOT;  // <build>/test-artifacts

struct XServer {
    pid_t pid = -1;      // the Xvfb process; killed by stop_xserver only
    int display = -1;    // its display number
    char name[16] = {};  // ":<display>"
};

struct Program {
    pid_t pid = -1;
    int stdin_fd = -1;         // write end of the program's stdin pipe
    std::string dir;           // artifacts dir of this run
    std::string stdout_path;   // the program's stdout, a file
    std::string stderr_path;   // the program's stderr, a file
    size_t stderr_seen = 0;    // wait_probe / wait_stderr continue after this offset
    size_t stdout_seen = 0;    // wait_stdout continues after this offset
    unsigned long window = 0;  // X window id, after find_window
    int exit_status = -1;      // after the program ended: exit code, or 128 + signal
    bool exited = false;
};

// Starts `Xvfb -displayfd 3 -screen 0 <screen> -nolisten tcp -noreset`. False (and a
// reason on stderr) if Xvfb is missing or does not come up within timeout_ms.
bool start_xserver(XServer* x, int timeout_ms = 15000, const char* screen = "1024x1024x24");
// For a test that draws with GL itself: starts Xvfb once per process, points
// DISPLAY at it and stops it at exit. Returns nullptr, or why there is no server.
const char* use_private_xserver(const char* screen);
void stop_xserver(XServer* x);

// Runs exe with DISPLAY of x (x may be null: no DISPLAY at all), stdin a pipe
// that first receives stdin_text (more with write_stdin), stdout/stderr into
// files under <artifacts>/<test_name>/. env: "NAME=VALUE" settings applied after
// DISPLAY (e.g. "LC_ALL=C.UTF-8", or a DISPLAY of its own); args: its arguments.
bool launch_program(Program* p, const XServer* x, const char* exe, const char* stdin_text,
                    const char* test_name, const std::vector<std::string>& env = {},
                    const std::vector<std::string>& args = {});
bool write_stdin(Program* p, const char* text);
void close_stdin(Program* p);

// True once the program has ended (fills exit_status); waits up to timeout_ms.
bool wait_exit(Program* p, int timeout_ms);
bool is_alive(Program* p);
// Kills the program (SIGKILL) if still running, reaps it, closes its stdin.
void stop_program(Program* p);

// The whole file ("" when it cannot be read), and how often text occurs in haystack.
std::string read_file(const std::string& path);
int count_of(const std::string& haystack, const std::string& text);

// Everything the program wrote so far.
std::string read_stdout(const Program* p);
std::string read_stderr(const Program* p);

// Waits until the text appears in stdout/stderr after what an earlier wait
// consumed; consumes up to the end of the match. False on timeout or exit.
bool wait_stdout(Program* p, const char* text, int timeout_ms);
bool wait_stderr(Program* p, const char* text, int timeout_ms);

// Polls `xdotool search --onlyvisible --name .` until the program's window is
// mapped, then moves it to 0,0 (freeglut puts it at -1,-1 without a window
// manager) unless left_in_place (moving repaints: a frame more). False on
// timeout or if the program ended.
bool find_window(Program* p, const XServer* x, int timeout_ms, bool left_in_place = false);

// `xdotool key --window WIN <keys>`, 40 keys a call: keys separated by blanks,
// xdotool names ("s", "W", "3", "Escape"). A key that ends the program (Escape)
// may make xdotool fail as the window vanishes: check wait_exit instead of the result.
bool send_keys(Program* p, const XServer* x, const std::string& keys);
// The key `times` times, as a send_keys list ("s s s ").
std::string key_presses(const char* key, int times);

// Runs argv with DISPLAY of x (x may be null) and LC_ALL=C.UTF-8; output is stdout. Killed after
// timeout_ms. Returns the exit status, or -1 on timeout or failure to start.
int run_tool(const XServer* x, const std::vector<std::string>& argv, std::string* output,
             int timeout_ms = 10000);

// ---- probe state -------------------------------------------------------------
struct ProbeState {
    std::string event;  // "display" or "key"
    char key = 0;       // last_key ('#' for a key reported by code)
    char scene = 0;     // scene_mode
    int steps[4] = {};  // addendum, dedendum, undercut, tooth
    double scale = 0;
};
// Waits for the next probe line of the event ("display", "key" or "" for any)
// after those consumed before; consumes it.
bool wait_probe(Program* p, const char* event, ProbeState* st, int timeout_ms);

// ---- screenshots --------------------------------------------------------------
struct Rgb {
    int r, g, b;
};
struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // row-major, 3 bytes a pixel
};
// xwd of the program's window -> <dir>/<name>.png (to look at) and .ppm (read
// into img). False if a tool fails or times out.
bool take_screenshot(Program* p, const XServer* x, const char* name, Image* img);
// A binary PPM without comment lines (convert -strip writes none).
bool read_ppm(const std::string& path, Image* img);
Rgb pixel(const Image& img, int x, int y);
inline bool is_white(Rgb c) {
    return c.r == 255 && c.g == 255 && c.b == 255;
}
// Pixels of the image that are not white.
int count_non_white(const Image& img);
// A window not painted yet is black; a frame is mostly white background with something on it.
bool painted(const Image& img);

// ---- one session per test -----------------------------------------------------
// Starts Xvfb on construction; stops program and Xvfb on destruction.
struct E2eSession {
    XServer xserver;
    Program program;
    bool ready = false;  // Xvfb is up
    E2eSession() { ready = start_xserver(&xserver); }
    // Starts the probe build, answers the dialogue for the gear z, x (no data
    // file) and waits for its window (see find_window). False if any step fails.
    bool open_window(const char* test_name, int z, double x, bool left_in_place = false) {
        const std::string answers = std::to_string(z) + "\n" + std::to_string(x) + "\n0\n";
        return ready && launch_program(&program, &xserver, RACKGEN_PROBE_BIN, answers.c_str(), test_name) &&
               find_window(&program, &xserver, WINDOW_TIMEOUT_MS, left_in_place);
    }
    static constexpr int WINDOW_TIMEOUT_MS = 20000;
    ~E2eSession() {
        stop_program(&program);
        stop_xserver(&xserver);
    }
    E2eSession(const E2eSession&) = delete;
    E2eSession& operator=(const E2eSession&) = delete;
};

// ---- a window run ------------------------------------------------------------
// The probe build's window for the gear z, x after its first frame, driven
// with keys as a user types them; its probe state and screenshots.
class WindowRun {
public:
    // left_in_place: the window stays where it opened (moving it repaints it: a frame more).
    WindowRun(const char* test_name, int z, double x, bool left_in_place = false);
    bool ready() const { return session.ready; }
    bool started() const { return started_; }
    // Types the keys (xdotool names, blank-separated) and waits until the
    // program has answered the last of them.
    bool keys(const std::string& list);
    bool press(const char* key, int times) { return keys(key_presses(key, times)); }
    // Waits until no frame has come for half a second (a repaint may follow the keys).
    void settle();
    const ProbeState& state() const { return state_; }  // after the last key
    const ProbeState& shown() const { return shown_; }  // of the last frame drawn
    // Screenshots until the picture is painted and shows what is expected (a
    // frame may still be on its way), at most a few seconds; keeps the last.
    Image shoot(const char* name, const std::function<bool(const Image&)>& expected = nullptr);
    int display_frames() const;  // frames drawn so far
    E2eSession session;

private:
    // Reads the next probe line, a frame's into shown_, a key's into state_;
    // returns its event, "" on timeout or exit.
    std::string next_probe(int timeout_ms);
    ProbeState state_, shown_;
    bool started_ = false;
};

// For a test holding a WindowRun: skips the test without Xvfb, fails it when
// no window came up.
#define START_WINDOW_RUN(run)                                                  \
    do {                                                                       \
        if (!(run).ready()) GTEST_SKIP() << "no Xvfb on this machine";         \
        ASSERT_TRUE((run).started()) << "the program showed no window";        \
    } while (0)
