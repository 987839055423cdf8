// Frame times of the real program: real frames of the scenes recorded and
// painted in a real GLUT window (the X display named by DISPLAY;
// scripts/frame-bench.sh starts a private Xvfb for it), leaving out what
// cannot be seen and, where feasible, drawing everything, alternately in the
// same run; then bursts of keys through the window's keyboard callback. Prints
// per case the median and worst frame time of both and whether the two
// pictures are the same pixel for pixel. Owns its case table and the frame buffers.
#include "bench/real_frame.hpp"
#include "app/app.hpp"
#include "draw/draw.hpp"

#include <GL/gl.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

constexpr int MIN_FRAMES = 3;             // frames of each kind at least
constexpr int WARM_UP_FRAMES = 2;         // untimed frames of each kind first
constexpr int MAX_FRAMES = 30;            // frames of each kind at most
constexpr double BUDGET_SECONDS = 1.0;    // more frames of a kind only while under this
constexpr double FRAME_TARGET_MS = 16.7;  // 60 frames a second
constexpr double WORST_TARGET_MS = 33.0;
constexpr double TURNING_TRACES_TARGET_MS = 33.0;  // median, scene '5' with a thousand traces in view
constexpr int MAX_WIDTH = 1600;
constexpr int MAX_HEIGHT = 800;
constexpr int CASE_CAPACITY = 320;
// Drawing everything is only tried where a frame of it takes under a second or so.
constexpr int EVERYTHING_MAX_Z = 400;
constexpr int EVERYTHING_MAX_ZOOM_IN = 40;  // 'W' presses
constexpr int BURST_KEYS = 100;
constexpr int WHOLE_GEAR_ZOOM = 15;  // 'w' presses that bring the whole z = 8 gear into view

static FrameCase cases[CASE_CAPACITY];
static bool has_target[CASE_CAPACITY];  // false: measured only to compare with earlier runs
static int case_count;

static unsigned char everything[MAX_WIDTH * MAX_HEIGHT * 3];
static unsigned char only_visible[MAX_WIDTH * MAX_HEIGHT * 3];

static void add(char scene, int z, double x, int step, int zoom, int width = 800, int height = 800,
                bool target = true) {
    if (case_count >= CASE_CAPACITY) return;
    has_target[case_count] = target;
    cases[case_count++] = FrameCase{scene, z, x, step, zoom, width, height};
}

// A case whose gear is cut with another cutter than the specified one.
static void add_cut_with(const Cutter& cutter, char scene, int z, int step, int zoom) {
    add(scene, z, 0.5, step, zoom);
    if (case_count > 0) cases[case_count - 1].cutter = cutter;
}

// A case whose gear is cut by a pinion-type cutter, a ring when internal.
static void add_pinion_cut(const Cutter& cutter, bool internal, char scene, int z, double x, int step,
                           int zoom, bool target = true) {
    add(scene, z, x, step, zoom, 800, 800, target);
    if (case_count == 0) return;
    cases[case_count - 1].cutter = cutter;
    cases[case_count - 1].internal = internal;
}

// A case without a target of its own, kept to compare with earlier runs.
static void add_to_compare(char scene, int z, int step, int zoom) {
    add(scene, z, 0.5, step, zoom, 800, 800, false);
}

// The cases: every scene for small to the largest accepted z; scenes 1, 3, 6
// and 7 zoomed from w×60 to W×150 for z = 20 and 1000; every scene at the
// zoom limit, W×300 and w×300, at step 300; the long runs of '4'
// and '5', and their traces all in view; a window resized to 1600×400. Then
// gears cut with rounded tips (20°, 1, 1.25, ρ 0.38: every rack drawn with
// arcs) and with 25°: the heaviest rack scenes, the whole gear, and the
// arcs zoomed in far and to the limit. Then gears cut by pinion-type cutters
// (25 teeth, x_c 0.2, sharp and rounded; 8 and 400 teeth) and a ring (z = 50,
// x = 0.5, 20 teeth): every scene, z up to 1000, the long runs of '4' and '5'
// at the start zoom and with the whole gear in view, and the deepest zooms.
static void build_cases() {
    const int teeth[] = {8, 20, 100, 400, 1000};
    for (int z : teeth)
        for (char scene = FIRST_SCENE; scene < FIRST_SCENE + SCENE_COUNT; ++scene) add(scene, z, 0.5, 0, 0);
    for (char scene : {'1', '3', '6', '7'})
        for (int z : {20, 1000})
            for (int zoom : {-20, -40, -60, -100, -150, 30, 60}) add(scene, z, 0.5, 0, zoom);
    // The deepest zoom a picture or link takes.
    for (char scene = FIRST_SCENE; scene < FIRST_SCENE + SCENE_COUNT; ++scene)
        for (int zoom : {-300, 300}) add(scene, 20, 0.5, 300, zoom);
    for (char scene : {'4', '5', '8'})
        for (int step : {3000, 10000}) add(scene, 20, 0.5, step, 0);
    for (char scene : {'4', '5'}) add(scene, 20, 0.5, 30000, 0);  // a lesson's long run
    for (char scene : {'4', '5'})
        for (int step : {300, 1000}) add(scene, 8, 0.5, step, WHOLE_GEAR_ZOOM);
    add('1', 20, 0.5, 0, 0, 1600, 400);
    add('1', 100, 0.5, 0, 0, 1600, 400);
    add('5', 20, 0.5, 300, 0, 1600, 400);
    add('7', 20, 0.5, 0, 0, 1600, 400);
    for (int zoom : {-50, -70, -80}) add_to_compare('1', 20, 0, zoom);
    add_to_compare('7', 20, 0, -80);
    for (const Cutter& cutter : {Cutter{20.0, 1.0, 1.25, 0.38}, Cutter{25.0, 1.0, 1.25, 0.0}}) {
        add_cut_with(cutter, '1', 20, 300, 0);
        add_cut_with(cutter, '3', 8, 300, 0);
        add_cut_with(cutter, '3', 8, 300, -40);
        for (int step : {300, 1000}) add_cut_with(cutter, '4', 20, step, 0);
        add_cut_with(cutter, '4', 20, 300, -300);
        add_cut_with(cutter, '4', 8, 1000, WHOLE_GEAR_ZOOM);
        add_cut_with(cutter, '5', 8, 1000, WHOLE_GEAR_ZOOM);
        add_cut_with(cutter, '7', 20, 0, 0);
    }
    const Cutter pinion = {20.0, 1.0, 1.25, 0.0, 25, 0.2};
    const Cutter rounded = {20.0, 1.0, 1.25, 0.3, 25, 0.2};
    const Cutter ring_cutter = {20.0, 1.0, 1.25, 0.0, 20, 0.0};
    for (int z : {12, 100, 1000})
        for (char scene = FIRST_SCENE; scene < FIRST_SCENE + SCENE_COUNT; ++scene)
            add_pinion_cut(pinion, false, scene, z, 0.0, 40, 0);
    for (char scene = FIRST_SCENE; scene < FIRST_SCENE + SCENE_COUNT; ++scene) {
        add_pinion_cut(rounded, false, scene, 12, 0.0, 40, 0);
        add_pinion_cut(ring_cutter, true, scene, 50, 0.5, 40, 0);
        add_pinion_cut(ring_cutter, true, scene, 50, 0.5, 40, 31);  // the whole ring in view
        for (int zoom : {-300, 300}) {
            add_pinion_cut(pinion, false, scene, 12, 0.0, 300, zoom);
            add_pinion_cut(ring_cutter, true, scene, 50, 0.5, 300, zoom);
        }
    }
    // The long runs: at the start zoom, and with the whole gear in view up to
    // step 1000 (as the rack's); 10000 steps all in view only to compare with
    // earlier runs, as the rack's 30000.
    for (char scene : {'4', '5'}) {
        for (int step : {1000, 10000}) {
            const bool in_view_target = step <= 1000;
            add_pinion_cut(pinion, false, scene, 12, 0.0, step, 0);
            add_pinion_cut(pinion, false, scene, 12, 0.0, step, 8, in_view_target);  // the whole gear in view
            add_pinion_cut(rounded, false, scene, 12, 0.0, step, 8, in_view_target);
            add_pinion_cut(ring_cutter, true, scene, 50, 0.5, step, 31, in_view_target);
        }
        add_pinion_cut(Cutter{20.0, 1.0, 1.25, 0.0, 8, 0.0}, false, scene, 20, 0.5, 10000, 0);
        add_pinion_cut(Cutter{20.0, 1.0, 1.25, 0.0, 400, 0.0}, false, scene, 20, 0.5, 10000, 0);
        add_pinion_cut(pinion, false, scene, 12, 0.0, 300, -40);
    }
}

static double now_ms() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Times {
    double ms[MAX_FRAMES];
    int count;
    double total;
};

// One frame more of the run, as the next 's' draws it.
static double timed_frame(const FrameCase& c, bool only_what_shows, Times& times) {
    const double start = now_ms();
    draw_following_frame(c, only_what_shows);
    const double ms = now_ms() - start;
    times.ms[times.count++] = ms;
    times.total += ms;
    return ms;
}

static double median(Times t) {
    std::sort(t.ms, t.ms + t.count);
    return t.count % 2 ? t.ms[t.count / 2] : 0.5 * (t.ms[t.count / 2 - 1] + t.ms[t.count / 2]);
}

static double worst(const Times& t) {
    return *std::max_element(t.ms, t.ms + t.count);
}

static bool wants_more(const Times& t) {
    return t.count < MAX_FRAMES && (t.count < MIN_FRAMES || t.total < BUDGET_SECONDS * 1e3);
}

// A run of frames from the case's step on, each the next step, as a user
// pressing 's' or playing sees them: the cost of one step more (the trace
// mask of scene '4' carries from frame to frame and takes only the new
// racks). The two frames before it, untimed, are those after a scene or zoom
// key: the first records every rack and makes the mask afresh.
static void timed_run(const FrameCase& c, bool only_what_shows, Times& times) {
    draw_frame(c, only_what_shows);
    draw_following_frame(c, only_what_shows);
    while (times.count < MIN_FRAMES || wants_more(times)) timed_frame(c, only_what_shows, times);
}

static bool turning_traces(const FrameCase& c) {
    return c.scene == '5' && c.zoom == WHOLE_GEAR_ZOOM && c.step >= 1000;
}

// Median and worst within the targets (leaving out what cannot be seen).
static bool meets_target(const FrameCase& c, const Times& on) {
    if (turning_traces(c)) return median(on) <= TURNING_TRACES_TARGET_MS;
    return median(on) <= FRAME_TARGET_MS && worst(on) <= WORST_TARGET_MS;
}

static bool draws_everything(const FrameCase& c) {
    return c.z <= EVERYTHING_MAX_Z && c.zoom >= -EVERYTHING_MAX_ZOOM_IN;
}

// rackgen_frame_bench [word ...]: only the cases whose name contains one of the words.
static bool chosen(const char* name, int argc, char** argv) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
        if (std::strstr(name, argv[i]) != nullptr) return true;
    return false;
}

// One case: frames with leaving out, and where feasible frames of everything
// alternately, both pictures compared. Returns whether the target is met.
static bool run_case(const FrameCase& c, bool target, const char* name, int& same, int& compared) {
    if (const char* problem = prepare_frame(c)) {
        std::printf("%-50s skipped: %s\n", name, problem);
        return false;
    }
    const bool all_too = draws_everything(c);
    Times all = {};
    Times on = {};
    // The first frames of a case set up the GL state every later frame starts
    // from, and the software renderer compiles its code for each new mix of
    // state once per process: those frames are not what a user sees step by step.
    for (int warm = 0; warm < WARM_UP_FRAMES; ++warm) {
        if (all_too) draw_frame(c, false);
        draw_frame(c, true);
    }
    if (all_too) timed_run(c, false, all);
    timed_run(c, true, on);
    // The same frame of the case both ways, for the pixels.
    if (all_too) {
        draw_frame(c, false);
        read_frame(c, everything);
    }
    draw_frame(c, true);
    read_frame(c, only_visible);
    const bool ok = !target || meets_target(c, on);
    const char* verdict = !target ? "-" : ok ? "met" : "MISSED";
    if (all_too) {
        const bool identical =
            std::memcmp(everything, only_visible, static_cast<size_t>(c.width) * c.height * 3) == 0;
        ++compared;
        same += identical;
        std::printf("%-50s %2d/%-3d | %9.2f %9.2f | %9.2f %9.2f | %6.0fx | %6s | %s\n", name, all.count,
                    on.count, median(all), worst(all), median(on), worst(on), median(all) / median(on),
                    verdict, identical ? "same" : "DIFFER");
    } else {
        std::printf("%-50s  -/%-3d | %9s %9s | %9.2f %9.2f | %7s | %6s | %s\n", name, on.count, "-", "-",
                    median(on), worst(on), "-", verdict, "-");
    }
    std::fflush(stdout);
    return ok;
}

// A burst of keys as a user's key repeat gives them, each through the
// window's keyboard callback and drawn to the end: the total time.
static double burst_ms(unsigned char key, int count) {
    const double start = now_ms();
    for (int i = 0; i < count; ++i) {
        on_key(key, 0, 0);
        glFinish();
    }
    return now_ms() - start;
}

// The three bursts: 100 's' in scene 1 at z = 20 (the yardstick), 100 'W'
// there from the start zoom, and 100 's' in scene 4 at z = 8 with the whole
// gear in view after 1000 steps. Returns whether both stay within their factor.
static bool run_bursts() {
    const FrameCase yardstick = {'1', 20, 0.5, 0, 0, 800, 800};
    const FrameCase rolling = {'4', 8, 0.5, 1000, WHOLE_GEAR_ZOOM, 800, 800};
    std::printf("\nBursts of %d keys, each through on_key and drawn (ms in all, ms a key):\n", BURST_KEYS);
    if (prepare_frame(yardstick) != nullptr) return false;
    on_key('1', 0, 0);
    burst_ms('s', 10);  // warm
    on_key('1', 0, 0);
    const double base = burst_ms('s', BURST_KEYS);
    on_key('1', 0, 0);
    const double zoom = burst_ms('W', BURST_KEYS);
    if (prepare_frame(rolling) != nullptr) return false;
    on_key('4', 0, 0);
    tooth_step = rolling.step;
    burst_ms('s', 2);  // the first frame after the scene key draws every trace
    const double steps = burst_ms('s', BURST_KEYS);
    const bool zoom_ok = zoom <= 3 * base;
    const bool steps_ok = steps <= 4 * base;
    std::printf("  's' x%d, scene 1 z=20                     %8.1f  %6.2f\n", BURST_KEYS, base,
                base / BURST_KEYS);
    std::printf(
        "  'W' x%d, scene 1 z=20 (to W×100)          %8.1f  %6.2f  %4.1fx the yardstick (target <= 3): %s\n",
        BURST_KEYS, zoom, zoom / BURST_KEYS, zoom / base, zoom_ok ? "met" : "MISSED");
    std::printf(
        "  's' x%d, scene 4 z=8 w×15 after 1000 steps %8.1f  %6.2f  %4.1fx the yardstick (target <= 4): %s\n",
        BURST_KEYS, steps, steps / BURST_KEYS, steps / base, steps_ok ? "met" : "MISSED");
    return zoom_ok && steps_ok;
}

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "rackgen_frame_bench: no DISPLAY; run it through scripts/frame-bench.sh\n");
        return 1;
    }
    open_frame_window();
    build_cases();
    std::printf(
        "Frame times in ms, median and worst of a run of frames from the case's step on (each the next\n"
        "step, as 's' draws them), leaving out what cannot be seen ('vis'); where a frame of everything\n"
        "takes under a second (z <= %d, up to W×%d) also drawing everything ('all'), and 'pixels' says\n"
        "whether the two pictures of the case's step are the same. Target: median <= %.1f and worst <= "
        "%.0f;\n"
        "scene 5 with its traces all in view at step 1000: median <= %.0f.\n\n",
        EVERYTHING_MAX_Z, EVERYTHING_MAX_ZOOM_IN, FRAME_TARGET_MS, WORST_TARGET_MS, TURNING_TRACES_TARGET_MS);
    std::printf("%-50s %6s | %9s %9s | %9s %9s | %7s | %6s | %s\n", "case", "frames", "all med", "all worst",
                "vis med", "vis worst", "speedup", "target", "pixels");
    int met = 0;
    int same = 0;
    int compared = 0;
    int run = 0;
    for (int i = 0; i < case_count; ++i) {
        char name[96];
        frame_case_name(cases[i], name, sizeof name);
        if (!chosen(name, argc, argv)) continue;
        run += has_target[i];
        met += run_case(cases[i], has_target[i], name, same, compared) && has_target[i];
    }
    const bool bursts_ok = argc < 2 || chosen("burst", argc, argv) ? run_bursts() : true;
    std::printf(
        "\n%d of %d cases meet the target; %d of %d pictures are the same with and without leaving out; "
        "bursts %s.\n",
        met, run, same, compared, bursts_ok ? "within their factors" : "MISSED");
    return same == compared && met == run && bursts_ok ? 0 : 1;
}
