// Time of the heaviest scene frames with the real GL, in a real 800 x 800
// window: display() from clear to swap, then glFinish so the software
// renderer has really drawn it; with and without leaving out what the window
// cannot show. Runs in the X server of DISPLAY, or starts a private Xvfb when
// there is none.
#include "app/app.hpp"
#include "draw/draw.hpp"
#include "geometry/geometry.hpp"
#include "tests/e2e/e2e.hpp"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// The gear as the dialogue leaves it after z and x, with scene_mode chosen.
// Second benchmark argument: 1 leaves out what cannot be seen (as the program
// does), 0 draws everything.
static void set_gear(int z, double x, SceneMode scene)
{
    ProfileLasts lasts;
    gear_params.z = z;
    compute_gear_params();
    compute_tooth_profile(0.0, standard_tooth.flank, standard_tooth.mirror_flank,
                          standard_tooth.outline, lasts);
    standard_tooth.flank_last = lasts.flank_last;
    standard_tooth.outline_last = lasts.outline_last;
    gear_params.x = x;
    compute_tooth_profile(x, shifted_tooth.flank, shifted_tooth.mirror_flank,
                          shifted_tooth.outline, lasts);
    shifted_tooth.flank_last = lasts.flank_last;
    shifted_tooth.outline_last = lasts.outline_last;
    addendum_step = dedendum_step = undercut_step = tooth_step = 0;
    scale_factor = 0.5;
    scene_mode = scene;
}

static void frame(int* counter, int step)
{
    *counter = step;  // every frame draws the same step
    display();
    glFinish();
}

// Scene '3' at its last step: the whole undercut and 50 trace racks.
static void undercut_last_step(benchmark::State& state)
{
    set_gear(static_cast<int>(state.range(0)), 0.0, '3');
    draw_only_visible = state.range(1) != 0;
    for (auto _ : state)
        frame(&undercut_step, UNDERCUT_LAST);
}
BENCHMARK(undercut_last_step)->ArgsProduct({{8, 20}, {1, 0}})->Unit(benchmark::kMillisecond);

// Scene '4' at step 300: 301 racks, nearly a full turn round the gear.
static void rolling_step_300(benchmark::State& state)
{
    set_gear(static_cast<int>(state.range(0)), 0.0, '4');
    draw_only_visible = state.range(1) != 0;
    for (auto _ : state)
        frame(&tooth_step, 300);
}
BENCHMARK(rolling_step_300)->ArgsProduct({{8, 20}, {1, 0}})->Unit(benchmark::kMillisecond);

// Scene '1' after 'W' twenty times (scale 0.5/0.9^20, about 4.1, and step 20):
// the dash-dot pitch circle, 41 view units in radius for z = 20, draws
// millions of segments, nearly all outside the window.
static void addendum_zoomed_in(benchmark::State& state)
{
    set_gear(static_cast<int>(state.range(0)), 0.0, '1');
    draw_only_visible = state.range(1) != 0;
    scale_factor = 0.5 / std::pow(ZOOM_STEP, 20);
    for (auto _ : state)
        frame(&addendum_step, 20);
}
BENCHMARK(addendum_zoomed_in)->ArgsProduct({{8, 20}, {1, 0}})->Unit(benchmark::kMillisecond);

// The scene-'1' frame at the start size, for comparison.
static void addendum_step_20(benchmark::State& state)
{
    set_gear(static_cast<int>(state.range(0)), 0.0, '1');
    draw_only_visible = state.range(1) != 0;
    for (auto _ : state)
        frame(&addendum_step, 20);
}
BENCHMARK(addendum_step_20)->ArgsProduct({{20}, {1, 0}})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    XServer own;
    const char* display_name = std::getenv("DISPLAY");
    if (display_name == nullptr || display_name[0] == '\0') {
        if (!start_xserver(&own)) {
            std::fprintf(stderr, "frame benchmarks need an X server: no DISPLAY and no Xvfb\n");
            return 1;
        }
        setenv("DISPLAY", own.name, 1);
    }
    benchmark::Initialize(&argc, argv);
    glutInitWindowSize(WINDOW_SIZE, WINDOW_SIZE);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("rackgen frame benchmark");
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    set_gear(8, 0.0, '3');
    for (int k = 0; k < 20; ++k)
        glutMainLoopEvent();  // map the window and let it take its first frames
    // The first seconds of frames run up to ten times slower (a fresh server
    // and renderer settling in); keep them out of the figures.
    auto settled = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    while (std::chrono::steady_clock::now() < settled)
        frame(&undercut_step, UNDERCUT_LAST);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    glutExit();  // close the connection before the private server goes
    stop_xserver(&own);
    return 0;
}
