// --render against the real window: the program under Xvfb is driven to a
// scene, step and zoom with keys, its window is read back, and the same frame
// rendered without a window must show the same colours in the same places,
// within a few pixels (the two rasterisers and the two legend fonts differ in
// detail). Screenshots and renders stay under <build>/test-artifacts/<test>/.
#include "tests/e2e/e2e.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int FRAME_TIMEOUT_MS = 20000;
constexpr int REACH = 3;                  // pixels a colour may stand away from its place
constexpr double MISS_SHARE_MAX = 0.015;  // share of drawn pixels allowed no counterpart
constexpr double COUNT_SHARE_MAX = 0.1;   // pixels of one colour may differ by a tenth
constexpr int COUNT_SLACK = 600;          // and by the legend's glyphs, which are drawn from two fonts

enum PixelKind { PIXEL_WHITE, PIXEL_RED, PIXEL_GREEN, PIXEL_BLUE, PIXEL_DARK, PIXEL_OTHER };

PixelKind kind_of(Rgb c) {
    if (c.r > 200 && c.g > 200 && c.b > 200) return PIXEL_WHITE;
    if (c.r > 200 && c.g < 90 && c.b < 90) return PIXEL_RED;
    if (c.g > 200 && c.r < 90 && c.b < 90) return PIXEL_GREEN;
    if (c.b > 200 && c.r < 90 && c.g < 90) return PIXEL_BLUE;
    if (c.r < 90 && c.g < 90 && c.b < 90) return PIXEL_DARK;
    return PIXEL_OTHER;
}

bool kind_near(const Image& img, int x, int y, PixelKind kind) {
    for (int v = y - REACH; v <= y + REACH; ++v)
        for (int u = x - REACH; u <= x + REACH; ++u)
            if (u >= 0 && v >= 0 && u < img.width && v < img.height && kind_of(pixel(img, u, v)) == kind)
                return true;
    return false;
}

struct Misses {
    int drawn = 0;   // pixels of a colour in the first image
    int missed = 0;  // of those, with no pixel of their colour near the same place in the second
};

Misses misses(const Image& a, const Image& b) {
    Misses m;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            PixelKind k = kind_of(pixel(a, x, y));
            if (k == PIXEL_WHITE) continue;
            ++m.drawn;
            if (!kind_near(b, x, y, k)) ++m.missed;
        }
    return m;
}

// One run of the window for one gear.
class WindowRun {
public:
    WindowRun(const char* name, int z, double x) : name_(name), z_(z), x_(x) {
        started_ = session_.open_window(name, z, x) && settle();
    }
    bool ready() const { return session_.ready; }
    bool started() const { return started_; }

    // Presses the keys (xdotool names, blank-separated), waits until the
    // window shows its last frame, and compares it with --render of that frame.
    void compare(const std::string& keys, const std::string& shot) {
        ASSERT_TRUE(send_keys(&session_.program, &session_.xserver, keys.c_str()));
        ASSERT_TRUE(settle());
        Image window;
        ASSERT_TRUE(take_screenshot(&session_.program, &session_.xserver, shot.c_str(), &window));

        // The frame on screen was drawn from the state its probe line reports.
        const ProbeState& s = shown_;
        int counter = s.scene == '1' ? 0 : s.scene == '2' ? 1 : s.scene == '3' ? 2 : 3;
        long zoom = std::lround(std::log(s.scale / 0.5) / std::log(0.9));
        std::string base = session_.program.dir + "/" + shot + "_render";
        std::string out;
        int status = run_tool(nullptr,
                              {RACKGEN_BIN, "--teeth", std::to_string(z_), "--shift", std::to_string(x_),
                               "--render", base + ".png", "--scene", std::string(1, s.scene), "--step",
                               std::to_string(s.steps[counter]), "--zoom", std::to_string(zoom)},
                              &out, 60000);
        ASSERT_EQ(status, 0) << out;
        ASSERT_EQ(
            run_tool(nullptr, {"convert", base + ".png", "-depth", "8", "ppm:" + base + ".ppm"}, nullptr), 0);
        Image render;
        ASSERT_TRUE(read_ppm(base + ".ppm", &render));
        ASSERT_EQ(render.width, window.width);
        ASSERT_EQ(render.height, window.height);

        // The same amount of each colour: lines as wide as the window's.
        int render_count[PIXEL_OTHER + 1] = {}, window_count[PIXEL_OTHER + 1] = {};
        for (int y = 0; y < render.height; ++y)
            for (int x = 0; x < render.width; ++x) {
                ++render_count[kind_of(pixel(render, x, y))];
                ++window_count[kind_of(pixel(window, x, y))];
            }
        for (PixelKind k : {PIXEL_RED, PIXEL_GREEN, PIXEL_BLUE, PIXEL_DARK}) {
            int most = std::max(render_count[k], window_count[k]);
            EXPECT_LE(std::abs(render_count[k] - window_count[k]), COUNT_SHARE_MAX * most + COUNT_SLACK)
                << shot << ": colour " << k << ", " << render_count[k] << " rendered pixels against "
                << window_count[k] << " in the window";
        }

        Misses from_render = misses(render, window);
        Misses from_window = misses(window, render);
        EXPECT_GT(from_render.drawn, 1000) << shot;
        EXPECT_LE(from_render.missed, MISS_SHARE_MAX * from_render.drawn)
            << shot << ": " << from_render.missed << " of " << from_render.drawn << " rendered pixels";
        EXPECT_LE(from_window.missed, MISS_SHARE_MAX * from_window.drawn)
            << shot << ": " << from_window.missed << " of " << from_window.drawn << " window pixels";
    }

private:
    // Waits for the frames the keys (and mapping, moving) cause until none
    // comes for half a second; shown_ holds the state of the last one.
    bool settle() {
        ProbeState st;
        if (!wait_probe(&session_.program, "", &st, FRAME_TIMEOUT_MS)) return false;
        if (st.event == "display") shown_ = st;
        while (wait_probe(&session_.program, "", &st, 500))
            if (st.event == "display") shown_ = st;
        return is_alive(&session_.program) && shown_.scene != 0;
    }

    std::string name_;
    int z_;
    double x_;
    E2eSession session_;
    ProbeState shown_;
    bool started_ = false;
};

TEST(RenderAgainstWindow, GenerationScenes) {
    WindowRun run("render_vs_window_z8", 8, 0.0);
    START_WINDOW_RUN(run);
    run.compare("1 " + key_presses("s", 30), "scene1_step30");
    run.compare("3 " + key_presses("s", 80), "scene3_step80");
    run.compare("4 " + key_presses("w", 15) + key_presses("s", 60), "scene4_w15");
}

TEST(RenderAgainstWindow, ShiftedGearScenes) {
    WindowRun run("render_vs_window_z10_x05", 10, 0.5);
    START_WINDOW_RUN(run);
    run.compare("6 " + key_presses("W", 3), "scene6_W3");
    run.compare("7 " + key_presses("w", 21), "scene7_w18");
    run.compare("5 " + key_presses("s", 40), "scene5_w18_step40");
    run.compare("2 " + key_presses("W", 22) + key_presses("s", 20), "scene2_zoomed_in");
}

// The vector pictures: readable by another renderer, and a zoomed-in frame
// holds only what is in view, so its file is smaller than the whole gear's.
TEST(RenderFiles, VectorPicturesHoldWhatIsInView) {
    std::string dir = std::string(ARTIFACTS_ROOT) + "/render_files";
    ASSERT_EQ(run_tool(nullptr, {"mkdir", "-p", dir}, nullptr), 0);
    std::string out;
    ASSERT_EQ(run_tool(nullptr,
                       {RACKGEN_BIN, "-z", "100", "--render", dir + "/whole.svg", "--scene", "7", "--render",
                        dir + "/zoomed.svg", "--scene", "7", "--zoom", "-30", "--render", dir + "/whole.pdf",
                        "--scene", "7", "--size", "600x400"},
                       &out),
              0)
        << out;
    auto size_of = [](const std::string& path) {
        FILE* f = std::fopen(path.c_str(), "rb");
        if (f == nullptr) return -1L;
        std::fseek(f, 0, SEEK_END);
        long n = std::ftell(f);
        std::fclose(f);
        return n;
    };
    EXPECT_LT(size_of(dir + "/zoomed.svg"), size_of(dir + "/whole.svg") / 2);
    EXPECT_EQ(run_tool(nullptr, {"rsvg-convert", "-o", dir + "/zoomed.png", dir + "/zoomed.svg"}, nullptr),
              0);
    ASSERT_EQ(run_tool(nullptr, {"head", "-c", "5", dir + "/whole.pdf"}, &out), 0);
    EXPECT_EQ(out, "%PDF-");

    // A picture that cannot be written: exit 1, the reason, nothing left behind.
    ASSERT_EQ(run_tool(nullptr, {"mkdir", "-p", dir + "/taken.png"}, nullptr), 0);
    EXPECT_EQ(
        run_tool(nullptr,
                 {"sh", "-c", std::string(RACKGEN_BIN) + " -z 20 --render " + dir + "/taken.png 2>&1"}, &out),
        1);
    EXPECT_NE(out.find("taken.png\": Is a directory"), std::string::npos) << out;
    ASSERT_EQ(run_tool(nullptr, {"sh", "-c", "ls -a " + dir + " | grep -c taken.png."}, &out), 1);
}

}  // namespace
