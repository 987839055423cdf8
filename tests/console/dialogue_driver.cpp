// Runs the parameter dialogue as rackgen does, on the real standard input, but
// without a window: the start state and the first dialogue as at program start,
// then every window key named on the command line through on_key ('z', 'x', ...).
//   dialogue_driver STATE_FILE [--cutter-teeth=ZC] [KEY...]
// (--cutter-teeth: the gear is cut by a pinion-type cutter of ZC teeth.)
// The state file gets "pid=<pid>" first, then one line of model state after
// every dialogue (with the number of frames drawn so far), for the tests to
// compare runs and find what changed.
#include "app/app.hpp"
#include "console/console.hpp"
#include "draw/draw.hpp"
#include "choice/choice.hpp"

#include <cstdint>
#include <cstdio>
#include <unistd.h>

static FILE* state_file;
static int frames;  // frames display began, counted through the window state observer

static void count_frames(const char* event) {
    if (event[0] == 'd') ++frames;  // "display"
}

// FNV-1a over raw bytes: equal hashes mean the arrays were left alone.
static uint32_t hash_bytes(const void* data, size_t size) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < size; ++i) h = (h ^ bytes[i]) * 16777619u;
    return h;
}

static void record_state() {
    std::fprintf(state_file,
                 "z=%d x=%.17g standard=%d/%d/%08x shifted=%d/%d/%08x params=%08x curves=%08x "
                 "steps=%d,%d,%d,%d scale=%.17g scene=%c frames=%d mate=%d/%.17g mate_ring=%d\n",
                 the_gear.params.z, the_gear.params.x, the_gear.standard_tooth.flank_last, the_gear.standard_tooth.outline_last,
                 hash_bytes(&the_gear.standard_tooth, sizeof the_gear.standard_tooth), the_gear.shifted_tooth.flank_last,
                 the_gear.shifted_tooth.outline_last, hash_bytes(&the_gear.shifted_tooth, sizeof the_gear.shifted_tooth),
                 hash_bytes(&the_gear.params, sizeof the_gear.params),
                 hash_bytes(&the_gear.curves, sizeof the_gear.curves), addendum_step, dedendum_step,
                 undercut_step, tooth_step, scale_factor, scene_mode, frames, the_mate.params.z, the_mate.params.x,
                 the_mate.params.internal ? 1 : 0);
    std::fflush(state_file);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialogue_driver STATE_FILE [KEY...]\n");
        return 2;
    }
    state_file = std::fopen(argv[1], "w");
    if (state_file == nullptr) return 2;
    std::fprintf(state_file, "pid=%d\n", static_cast<int>(getpid()));
    std::fflush(state_file);

    int first_key = 2;
    if (argc > 2 && std::sscanf(argv[2], "--cutter-teeth=%d", &gear_choice.cutter.teeth) == 1) first_key = 3;
    window_state_observer = count_frames;
    last_key = 'z';
    scene_mode = '1';
    parameter_dialogue();
    record_state();
    for (int i = first_key; i < argc; ++i) {
        // Disturb what the key must reset, as a session in the window would.
        scene_mode = '5';
        tooth_step = addendum_step = dedendum_step = undercut_step = 9;
        scale_factor = 0.25;
        on_key(static_cast<unsigned char>(argv[i][0]), 0, 0);
        record_state();
    }
    std::fclose(state_file);
    return 0;
}
