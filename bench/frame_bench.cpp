// Frame times of the real program: real frames of display in a real GLUT
// window (the X display named by DISPLAY; scripts/frame-bench.sh starts a
// private Xvfb for it), each case drawn with every figure and with only what
// can be seen, alternately in the same run. Prints per
// case the median and worst frame time of both and whether the two pictures
// are the same pixel for pixel. Owns its case table and the frame buffers.
#include "bench/real_frame.hpp"
#include "draw/draw.hpp"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

constexpr int MIN_FRAMES = 3;             // frames of each kind at least
constexpr int WARM_UP_FRAMES = 2;         // untimed frames of each kind first
constexpr int MAX_FRAMES = 30;            // frames of each kind at most
constexpr double BUDGET_SECONDS = 1.0;    // more frames of a kind only while under this
constexpr double FRAME_TARGET_MS = 16.7;  // 60 frames a second
constexpr double WORST_TARGET_MS = 33.0;
constexpr double LONG_RUN_TARGET_MS = 33.0;  // median, scenes '4' and '5' after 3000 steps
constexpr int LONG_RUN_STEPS = 3000;
constexpr int MAX_WIDTH = 1600;
constexpr int MAX_HEIGHT = 800;
constexpr int CASE_CAPACITY = 96;

FrameCase cases[CASE_CAPACITY];
int case_count;

unsigned char everything[MAX_WIDTH * MAX_HEIGHT * 3];
unsigned char only_visible[MAX_WIDTH * MAX_HEIGHT * 3];

void add(char scene, int z, double x, int step, int zoom, int width = 800, int height = 800) {
    if (case_count < CASE_CAPACITY) cases[case_count++] = FrameCase{scene, z, x, step, zoom, width, height};
}

// The cases: every scene for small to the largest accepted z; scene '3' at its
// last step; the long runs of '4' and '5'; the zoom range of 'w' ×30 to 'W' ×40;
// a window resized to 1600×400.
void build_cases() {
    const int teeth[] = {8, 20, 100, 400, 1000};
    for (int z : teeth)
        for (char scene = '1'; scene <= '7'; ++scene) add(scene, z, 0.5, 0, 0);
    add('3', 20, 0.5, 250, 0);
    add('3', 100, 0.5, 250, 0);
    for (char scene : {'4', '5'})
        for (int step : {300, 1000, LONG_RUN_STEPS}) add(scene, 20, 0.5, step, 0);
    for (int zoom : {30, 20, 10, -10, -20, -30, -40}) add('1', 20, 0.5, 0, zoom);
    add('6', 20, 0.5, 0, -40);
    add('7', 20, 0.5, 0, 30);
    add('5', 20, 0.5, 300, -20);
    add('1', 20, 0.5, 0, 0, 1600, 400);
    add('1', 100, 0.5, 0, 0, 1600, 400);
    add('5', 20, 0.5, 300, 0, 1600, 400);
    add('7', 20, 0.5, 0, 0, 1600, 400);
}

double now_ms() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Times {
    double ms[MAX_FRAMES];
    int count;
    double total;
};

double timed_frame(const FrameCase& c, bool only_what_shows, Times& times) {
    const double start = now_ms();
    draw_frame(c, only_what_shows);
    const double ms = now_ms() - start;
    times.ms[times.count++] = ms;
    times.total += ms;
    return ms;
}

double median(Times t) {
    std::sort(t.ms, t.ms + t.count);
    return t.count % 2 ? t.ms[t.count / 2] : 0.5 * (t.ms[t.count / 2 - 1] + t.ms[t.count / 2]);
}

double worst(const Times& t) {
    return *std::max_element(t.ms, t.ms + t.count);
}

bool wants_more(const Times& t) {
    return t.count < MAX_FRAMES && (t.count < MIN_FRAMES || t.total < BUDGET_SECONDS * 1e3);
}

// Median and worst within the targets (culling on).
bool meets_target(const FrameCase& c, const Times& on) {
    if ((c.scene == '4' || c.scene == '5') && c.step >= LONG_RUN_STEPS)
        return median(on) < LONG_RUN_TARGET_MS;
    return median(on) <= FRAME_TARGET_MS && worst(on) <= WORST_TARGET_MS;
}

// rackgen_frame_bench [word ...]: only the cases whose name contains one of the words.
bool chosen(const char* name, int argc, char** argv) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
        if (std::strstr(name, argv[i]) != nullptr) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "rackgen_frame_bench: no DISPLAY; run it through scripts/frame-bench.sh\n");
        return 1;
    }
    open_frame_window();
    build_cases();
    std::printf(
        "Frame times in ms, median and worst; each case drawn alternately with every figure and with only\n"
        "what can be seen. Target (only visible): median <= %.1f and worst <= %.0f; scenes 4/5 at step %d:\n"
        "median < %.0f. 'pixels': the two pictures are the same.\n\n",
        FRAME_TARGET_MS, WORST_TARGET_MS, LONG_RUN_STEPS, LONG_RUN_TARGET_MS);
    std::printf("%-34s %6s | %9s %9s | %9s %9s | %7s | %6s | %s\n", "case", "frames", "all med", "all worst",
                "vis med", "vis worst", "speedup", "target", "pixels");
    int met = 0;
    int same = 0;
    int run = 0;
    for (int i = 0; i < case_count; ++i) {
        const FrameCase& c = cases[i];
        char name[96];
        frame_case_name(c, name, sizeof name);
        if (!chosen(name, argc, argv)) continue;
        ++run;
        if (const char* problem = prepare_frame(c)) {
            std::printf("%-34s skipped: %s\n", name, problem);
            continue;
        }
        Times all = {};
        Times on = {};
        // The first frames of a case set up the GL state every later frame starts
        // from, and the software renderer compiles its code for each new mix of
        // state once per process: those frames are not what a user sees step by step.
        for (int warm = 0; warm < WARM_UP_FRAMES; ++warm)
            for (bool visible : {false, true}) {
                draw_frame(c, visible);
            }
        while (all.count < MIN_FRAMES || on.count < MIN_FRAMES) {
            timed_frame(c, false, all);
            timed_frame(c, true, on);
        }
        while (wants_more(all)) timed_frame(c, false, all);
        read_frame(c, everything);
        while (wants_more(on)) timed_frame(c, true, on);
        read_frame(c, only_visible);
        const bool identical =
            std::memcmp(everything, only_visible, static_cast<size_t>(c.width) * c.height * 3) == 0;
        const bool ok = meets_target(c, on);
        met += ok;
        same += identical;
        std::printf("%-34s %2d/%-3d | %9.2f %9.2f | %9.2f %9.2f | %6.0fx | %6s | %s\n", name, all.count,
                    on.count, median(all), worst(all), median(on), worst(on), median(all) / median(on),
                    ok ? "met" : "MISSED", identical ? "same" : "DIFFER");
        std::fflush(stdout);
    }
    std::printf(
        "\n%d of %d cases meet the target; %d of %d pictures are the same with and without culling.\n", met,
        run, same, run);
    return same == run ? 0 : 1;
}
