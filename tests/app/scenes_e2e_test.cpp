// The scenes as a user sees them: the real program in its own X server, driven
// with keys, its window read back pixel by pixel at places worked out from the
// gear's geometry (view = scale × model, 400 pixels a view unit, the window's
// centre at pixel (400, 400), y up), and against --render of the same frame.
// Every screenshot and render stays under <build>/test-artifacts/<test>/.
#include "geometry/geometry.hpp"
#include "tests/e2e/e2e.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Pixel {
    int x, y;
};

Pixel pixel_of_view(double vx, double vy) {
    return Pixel{static_cast<int>(std::lround(400.0 + 400.0 * vx)),
                 static_cast<int>(std::lround(400.0 - 400.0 * vy))};
}

// A model point of the gear frame on the screen at scale factor s.
Pixel pixel_of_model(const ProfilePoint& p, double s) {
    return pixel_of_view(s * p.x, s * p.y);
}

// The point at polar angle θ and radius R about the gear centre (0, -r).
Gear model;  // the gear the window is expected to show, computed here

double model_radius(const ProfilePoint& p) {
    return polar_radius(p, model.params.pitch_radius);
}
double model_angle(const ProfilePoint& p) {
    return polar_angle(p, model.params.pitch_radius);
}

ProfilePoint polar_point(double radius, double angle) {
    double r = model.params.pitch_radius;
    return ProfilePoint{radius * std::sin(angle), radius * std::cos(angle) - r};
}

enum Kind { WHITE, RED, GREEN, BLUE, DARK, OTHER };

Kind kind_of(Rgb c) {
    if (c.r > 200 && c.g > 200 && c.b > 200) return WHITE;
    if (c.r > 200 && c.g < 90 && c.b < 90) return RED;
    if (c.g > 200 && c.r < 90 && c.b < 90) return GREEN;
    if (c.b > 200 && c.r < 90 && c.g < 90) return BLUE;
    if (c.r < 90 && c.g < 90 && c.b < 90) return DARK;
    return OTHER;
}

// A pixel of the kind within reach pixels of p (lines are 2 and 4 pixels wide,
// and a computed position may round either way).
bool kind_near(const Image& img, Pixel p, int reach, Kind kind) {
    for (int y = p.y - reach; y <= p.y + reach; ++y)
        for (int x = p.x - reach; x <= p.x + reach; ++x)
            if (x >= 0 && y >= 0 && x < img.width && y < img.height && kind_of(pixel(img, x, y)) == kind)
                return true;
    return false;
}

int pixels_of(const Image& img, Kind kind) {
    int count = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) count += kind_of(pixel(img, x, y)) == kind;
    return count;
}

// Dark pixels of the legend line k (1 to 5): from x = -0.9 rightwards, its
// baseline at y = 0.95 - 0.05·(k - 1). Stops short of the cross's vertical
// arm at the window's centre.
int legend_dark_pixels(const Image& img, int line) {
    Pixel base = pixel_of_view(-0.9, 0.95 - 0.05 * (line - 1));
    int count = 0;
    for (int y = base.y - 14; y <= base.y + 3; ++y)
        for (int x = base.x; x < 380; ++x) count += kind_of(pixel(img, x, y)) == DARK;
    return count;
}

// The first frame of the run, drawn before any key: scene '1' at step 0 with
// its legend dark (lighting is still off before the first primitive of a run).
TEST(SceneScreens, FirstFrameOfARunShowsTheLegendDarkAndTheMarkersAtThePitchPoint) {
    WindowRun run("first_frame_z20", 20, 0.0, true);
    START_WINDOW_RUN(run);
    Image img = run.shoot("first_frame", [](const Image& i) { return legend_dark_pixels(i, 1) > 50; });
    ASSERT_TRUE(painted(img)) << "the first frame never showed";
    ASSERT_EQ(run.display_frames(), 1) << "a second frame came before the screenshot";
    for (int line = 1; line <= 4; ++line) EXPECT_GT(legend_dark_pixels(img, line), 50) << "legend line " << line;
    EXPECT_EQ(legend_dark_pixels(img, 5), 0);
    // The three markers lie on the pitch point; the point of rolling's blue disc is drawn last.
    EXPECT_EQ(kind_of(pixel(img, 400, 400)), BLUE);
}

// Scene '1', z = 20, past its last step: the counter rests, the red involute
// reaches the tip circle, the black rack touches it there, and the traces are green.
TEST(SceneScreens, AddendumInvoluteReachesTheTipCircle) {
    compute_gear(model, SPECIFIED_CUTTER, 20, 0.0);
    const int last = model.curves.addendum_last;
    const double s = 0.5;
    WindowRun run("addendum_z20", 20, 0.0);
    START_WINDOW_RUN(run);
    ASSERT_TRUE(run.keys("1"));
    ASSERT_TRUE(run.press("s", last + 3));
    EXPECT_EQ(run.state().steps[0], last + 1);
    const ProfilePoint tip = model.curves.addendum_involute[last];
    Image img = run.shoot("last_step", [&](const Image& i) { return kind_near(i, pixel_of_model(tip, s), 2, RED); });
    EXPECT_GE(model_radius(tip), model.params.tip_radius);
    EXPECT_TRUE(kind_near(img, pixel_of_model(tip, s), 2, RED)) << "no marker at the tip";
    for (int k : {last / 4, last / 2, 3 * last / 4})
        EXPECT_TRUE(kind_near(img, pixel_of_model(model.curves.addendum_involute[k], s), 2, RED))
            << "no involute at sample " << k;
    // The rack's flank through its reference point A, half a module from A along the flank.
    double t = last * 0.01;
    ProfilePoint a, contact;
    double lambda;
    rack_involute_point(model.params, t, a, contact, lambda);
    ProfilePoint on_flank = {a.x + 0.5 * std::sin(model.params.alpha + t), a.y + 0.5 * std::cos(model.params.alpha + t)};
    EXPECT_TRUE(kind_near(img, pixel_of_model(on_flank, s), 2, DARK)) << "no black rack";
    // The trace rack of step 0 has its flank through the pitch point.
    ProfilePoint home_flank = {0.5 * std::sin(model.params.alpha), 0.5 * std::cos(model.params.alpha)};
    EXPECT_TRUE(kind_near(img, pixel_of_model(home_flank, s), 2, GREEN)) << "no green trace";
}

// Scene '3', z = 8: at step 0 the tip corner's blue marker stands on the root
// circle, where the undercut's first point lies; the undercut grows from there
// and is not there before it has been generated.
TEST(SceneScreens, UndercutGrowsFromTheRootCircle) {
    compute_gear(model, SPECIFIED_CUTTER, 8, 0.0);
    const double s = 0.5;
    WindowRun run("undercut_z8", 8, 0.0);
    START_WINDOW_RUN(run);
    ASSERT_TRUE(run.keys("3"));
    const ProfilePoint* curve = model.curves.undercut_curve;
    Image before = run.shoot("step_0");
    EXPECT_TRUE(kind_near(before, pixel_of_model(curve[0], s), 2, BLUE)) << "no marker at the tip corner";
    ASSERT_TRUE(run.press("s", 60));
    Image after = run.shoot("step_60", [&](const Image& i) { return kind_near(i, pixel_of_model(curve[30], s), 2, BLUE); });
    EXPECT_TRUE(kind_near(after, pixel_of_model(curve[0], s), 3, BLUE));
    for (int k : {15, 30, 45}) {
        Pixel p = pixel_of_model(curve[k], s);
        EXPECT_TRUE(kind_near(after, p, 2, BLUE)) << "no undercut at sample " << k;
        EXPECT_FALSE(kind_near(before, p, 1, BLUE)) << "undercut before it was cut, sample " << k;
    }
    // The whole involute is red from the first frame on.
    int mid = model.curves.involute_last / 2;
    EXPECT_TRUE(kind_near(before, pixel_of_model(model.curves.involute_curve[mid], s), 2, RED));
}

// Scene '6', z = 20, x = 0.5: both teeth share their left flank (the one
// through the pitch point, where red covers blue), and the shifted tooth is
// wider: its right flank stands outside the standard one, and near the tip
// the red flank runs on past the blue tip circle.
TEST(SceneScreens, ShiftedFlankStandsOutsideTheStandardNearTheTip) {
    compute_gear(model, SPECIFIED_CUTTER, 20, 0.5);
    const ToothProfile& standard = model.standard_tooth;
    const ToothProfile& shifted = model.shifted_tooth;
    const double standard_tip = model.params.tip_radius - 0.5;
    const double s = 0.5;
    WindowRun run("one_tooth_z20_x05", 20, 0.5);
    START_WINDOW_RUN(run);
    ASSERT_TRUE(run.keys("6"));
    auto first_beyond = [](const ToothProfile& tooth, double radius) {
        for (int k = 0; k <= tooth.flank_last; ++k)
            if (model_radius(tooth.flank[k]) >= radius) return k;
        return tooth.flank_last;
    };
    // Near the tip of the standard tooth (radius about 10.8, tip 11).
    const int ks = first_beyond(standard, 10.8), kr = first_beyond(shifted, 10.8);
    const ProfilePoint blue_right = standard.mirror_flank[ks], red_right = shifted.mirror_flank[kr];
    ASSERT_GT(model_angle(red_right), model_angle(blue_right) + 0.02);  // outside, to the right
    Image img = run.shoot("one_tooth", [&](const Image& i) { return kind_near(i, pixel_of_model(red_right, s), 2, RED); });
    EXPECT_TRUE(kind_near(img, pixel_of_model(red_right, s), 2, RED));
    EXPECT_FALSE(kind_near(img, pixel_of_model(red_right, s), 2, BLUE));
    EXPECT_TRUE(kind_near(img, pixel_of_model(blue_right, s), 2, BLUE));
    // Between the two right flanks: inside the shifted tooth only, and empty.
    Pixel between = pixel_of_model(ProfilePoint{(red_right.x + blue_right.x) / 2, (red_right.y + blue_right.y) / 2}, s);
    EXPECT_TRUE(is_white(pixel(img, between.x, between.y)));
    // The shared left flank shows red.
    EXPECT_TRUE(kind_near(img, pixel_of_model(shifted.flank[kr], s), 2, RED));
    // Past the standard tip circle only the shifted flanks go on.
    const int beyond = first_beyond(shifted, standard_tip + 0.25);
    ASSERT_LT(model_radius(shifted.flank[beyond]), model.params.tip_radius + 1e-9);
    EXPECT_TRUE(kind_near(img, pixel_of_model(shifted.flank[beyond], s), 2, RED));
    EXPECT_TRUE(kind_near(img, pixel_of_model(shifted.mirror_flank[beyond], s), 2, RED));
}

// Scene '7', zoomed out with 'w' until the whole gear fits: red and blue tips
// all round where the reported scale puts them, and no tooth between them.
TEST(SceneScreens, WholeGearHasTeethAllRound) {
    compute_gear(model, SPECIFIED_CUTTER, 20, 0.5);
    WindowRun run("whole_gear_z20_x05", 20, 0.5);
    START_WINDOW_RUN(run);
    ASSERT_TRUE(run.keys("7"));
    ASSERT_TRUE(run.press("w", 23));  // s·(2r + ha) ≤ 1: the bottom tip in the window
    const double s = run.state().scale;
    const double pitch = 2 * PI / 20;
    // The middle of the shifted tooth's tip arc, at polar angle tooth_angle/2.
    const double tip_middle = model.params.tooth_angle / 2;
    auto tip = [&](double radius, double angle) { return pixel_of_model(polar_point(radius, angle), s); };
    Image img = run.shoot("whole_gear",
                          [&](const Image& i) { return kind_near(i, tip(model.params.tip_radius, tip_middle + PI), 2, RED); });
    for (int k = 0; k < 20; ++k) {
        double angle = tip_middle + k * pitch;
        EXPECT_TRUE(kind_near(img, tip(model.params.tip_radius, angle), 2, RED)) << "no red tip of tooth " << k;
        EXPECT_TRUE(kind_near(img, tip(model.params.tip_radius - 0.5, angle), 2, BLUE)) << "no blue tip of tooth " << k;
        EXPECT_FALSE(kind_near(img, tip(model.params.tip_radius, angle + pitch / 2), 1, RED)) << "gap after tooth " << k;
    }
}

// However far the user zooms in with 'W', the picture stays right to a pixel:
// the dash-dot pitch circle of scene '7' and the red involute of scene '3' through the pitch point, at W×60,
// W×100 and W×150, are where double precision puts them.
TEST(SceneScreens, DeepZoomKeepsThePitchCircleAndTheInvoluteInPlace) {
    compute_gear(model, SPECIFIED_CUTTER, 20, 0.0);
    // The involute's two segments at the pitch point: towards the tip and towards the root.
    const ProfilePoint out = model.curves.addendum_involute[1];
    const ProfilePoint in = model.curves.dedendum_involute[1];
    for (char scene : {'7', '3'}) {
        SCOPED_TRACE(testing::Message() << "scene " << scene);
        WindowRun run(scene == '7' ? "deep_zoom_scene7" : "deep_zoom_scene3", 20, 0.0);
        START_WINDOW_RUN(run);
        ASSERT_TRUE(run.keys(std::string(1, scene)));
        int pressed = 0;
        double s = 0.5;
        for (int presses : {60, 100, 150}) {
            ASSERT_TRUE(run.press("W", presses - pressed));
            for (; pressed < presses; ++pressed) s /= 0.9;  // key by key, as the program divides
            ASSERT_EQ(run.state().scale, s);
            const std::string name = "W" + std::to_string(presses);
            if (scene == '7') {
                // Along the window's columns (away from the vertical centre line
                // and the tooth flank through the pitch point) the circle of view
                // radius R about (0, -R) has blue within a pixel over most of its
                // course but not all (a dash-dot line), and no blue pixel near it
                // stands more than two pixels off it.
                const double R = s * model.params.pitch_radius;
                int columns = 0, covered = 0, stray = 0;
                auto cover = [&](const Image& img) {
                    columns = covered = stray = 0;
                    for (int px = 0; px < img.width; ++px) {
                        const double x = (px - 400) / 400.0;
                        if (std::fabs(x) < 0.1 || std::fabs(x) > 0.9) continue;
                        const int row = pixel_of_view(x, -x * x / (R + std::sqrt(R * R - x * x))).y;
                        bool hit = false;
                        for (int py = std::max(0, row - 40); py < std::min(img.height, row + 40); ++py)
                            if (kind_of(pixel(img, px, py)) == BLUE) {
                                hit = hit || std::abs(py - row) <= 1;
                                stray += std::abs(py - row) > 2;
                            }
                        ++columns;
                        covered += hit;
                    }
                    return covered > columns / 2 && covered < columns - 20 && stray == 0;
                };
                Image img = run.shoot(name.c_str(), cover);
                cover(img);
                EXPECT_GT(covered, columns / 2) << "W×" << presses;
                EXPECT_LT(covered, columns - 20) << "W×" << presses;
                EXPECT_EQ(stray, 0) << "W×" << presses;
            } else {
                std::vector<Pixel> expected;
                for (const ProfilePoint& end : {out, in}) {
                    const double length = std::hypot(end.x, end.y);
                    for (double along : {0.25, 0.5, 0.75})  // view units from the pitch point
                        expected.push_back(pixel_of_view(along * end.x / length, along * end.y / length));
                }
                auto all_red = [&](const Image& i) {
                    return std::all_of(expected.begin(), expected.end(),
                                       [&](const Pixel& p) { return kind_near(i, p, 1, RED); });
                };
                Image img = run.shoot(name.c_str(), all_red);
                for (const Pixel& p : expected)
                    EXPECT_TRUE(kind_near(img, p, 1, RED)) << "W×" << presses << " at " << p.x << "," << p.y;
            }
        }
    }
}

// ---- every scene against --render ------------------------------------------------------

constexpr int REACH = 3;                  // pixels a colour may stand away from its place
constexpr double MISS_SHARE_MAX = 0.015;  // share of drawn pixels allowed no counterpart
constexpr double COUNT_SHARE_MAX = 0.1;   // pixels of one colour may differ by a tenth
constexpr int COUNT_SLACK = 600;          // and by the legend's glyphs, which are drawn from two fonts

// Drawn pixels of a with no pixel of their colour within REACH in b, and all drawn pixels of a.
std::pair<int, int> misses(const Image& a, const Image& b) {
    int drawn = 0, missed = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            Kind k = kind_of(pixel(a, x, y));
            if (k == WHITE) continue;
            ++drawn;
            missed += !kind_near(b, Pixel{x, y}, REACH, k);
        }
    return {missed, drawn};
}

// The frame on screen against --render of the state its probe line reports:
// the same colours in the same places, within a few pixels (the two
// rasterisers and the two legend fonts differ in detail).
void expect_same_as_render(WindowRun& run, int z, double x, const std::string& shot, const Image& window) {
    const ProbeState& s = run.shown();
    const int counter = s.scene == '1' ? 0 : s.scene == '2' ? 1 : s.scene == '3' ? 2 : 3;
    const long zoom = std::lround(std::log(s.scale / 0.5) / std::log(0.9));
    const std::string base = run.session.program.dir + "/" + shot + "_render";
    std::string out;
    ASSERT_EQ(run_tool(nullptr,
                       {RACKGEN_BIN, "--teeth", std::to_string(z), "--shift", std::to_string(x), "--render",
                        base + ".png", "--scene", std::string(1, s.scene), "--step", std::to_string(s.steps[counter]),
                        "--zoom", std::to_string(zoom)},
                       &out, 60000),
              0)
        << out;
    ASSERT_EQ(run_tool(nullptr, {"convert", base + ".png", "-strip", "-depth", "8", "ppm:" + base + ".ppm"}, nullptr), 0);
    Image render;
    ASSERT_TRUE(read_ppm(base + ".ppm", &render));
    ASSERT_EQ(render.width, window.width);
    ASSERT_EQ(render.height, window.height);
    for (Kind k : {RED, GREEN, BLUE, DARK}) {
        const int rendered = pixels_of(render, k), shown = pixels_of(window, k);
        EXPECT_LE(std::abs(rendered - shown), COUNT_SHARE_MAX * std::max(rendered, shown) + COUNT_SLACK)
            << shot << ": colour " << k << ", " << rendered << " rendered pixels against " << shown << " in the window";
    }
    const std::pair<int, int> from_render = misses(render, window), from_window = misses(window, render);
    EXPECT_GT(from_render.second, 1000) << shot;
    EXPECT_LE(from_render.first, MISS_SHARE_MAX * from_render.second)
        << shot << ": " << from_render.first << " of " << from_render.second << " rendered pixels";
    EXPECT_LE(from_window.first, MISS_SHARE_MAX * from_window.second)
        << shot << ": " << from_window.first << " of " << from_window.second << " window pixels";
}

// Scenes 1 to 7 of one gear as a user steps and zooms through them; every
// picture is kept as scene<key>_<what>.png beside its render. Each must show
// its legend dark, plenty of the colour its figures are drawn in, and what
// --render draws of the same frame.
struct GalleryGear {
    const char* name;
    int z;
    double x;
};

class SceneGallery : public ::testing::TestWithParam<GalleryGear> {};

TEST_P(SceneGallery, EverySceneShowsItsLegendAndColoursAsRenderDrawsThem) {
    const GalleryGear gear = GetParam();
    compute_gear(model, SPECIFIED_CUTTER, gear.z, gear.x);
    // Zoom steps that bring the whole gear into the window: s·(2r + ha) below 0.95.
    int zoom_out = 0;
    for (double s = 0.5; s * (2 * model.params.pitch_radius + 1 + gear.x) > 0.95; s *= 0.9) ++zoom_out;
    WindowRun run((std::string("gallery_") + gear.name).c_str(), gear.z, gear.x);
    START_WINDOW_RUN(run);
    struct Shot {
        std::string keys;
        std::string name;
        int legend_lines;
        Kind colour;       // a colour the picture must hold plenty of
        int plenty;
    };
    const Shot shots[] = {
        {"1 " + key_presses("s", model.curves.addendum_last), "scene1_last_step", 4, RED, 300},
        {"2 " + key_presses("s", model.curves.dedendum_last), "scene2_last_step", 4, GREEN, 300},
        {"3 " + key_presses("s", 80), "scene3_step80", 4, BLUE, 300},
        {"4 " + key_presses("s", 80), "scene4_step80", 3, GREEN, 300},  // the rack has rolled over the top
        {"5 " + key_presses("s", 40), "scene5_step40", 3, GREEN, 300},
        {"6 " + key_presses("W", 3), "scene6_W3", 5, RED, 300},
        {"7", "scene7_W3", 5, BLUE, 300},
        // The whole gear in the window, then the racks rolled round it at that size.
        {key_presses("w", zoom_out + 3), "scene7_whole_gear", 5, BLUE, 300},
        {"4 " + key_presses("s", 300), "scene4_step300_whole_gear", 3, GREEN, 3000},
        {"5 " + key_presses("s", 150), "scene5_step150_whole_gear", 3, GREEN, 3000},
        {"2 " + key_presses("W", zoom_out + 4) + key_presses("s", 20), "scene2_W4_step20", 4, GREEN, 300},
    };
    for (const Shot& shot : shots) {
        ASSERT_TRUE(run.keys(shot.keys));
        run.settle();
        Image img = run.shoot(shot.name.c_str(), [&](const Image& i) {
            return legend_dark_pixels(i, shot.legend_lines) > 50 && pixels_of(i, shot.colour) > shot.plenty;
        });
        for (int line = 1; line <= shot.legend_lines; ++line)
            EXPECT_GT(legend_dark_pixels(img, line), 50) << shot.name << " legend line " << line;
        EXPECT_GT(pixels_of(img, shot.colour), shot.plenty) << shot.name;
        if (shot.name == "scene7_whole_gear") {
            // The standard gear is drawn over the shifted one: with no shift it hides it.
            if (gear.x == 0.0)
                EXPECT_LT(pixels_of(img, RED), 50);
            else
                EXPECT_GT(pixels_of(img, RED), 300);
        }
        expect_same_as_render(run, gear.z, gear.x, shot.name, img);
    }
}

INSTANTIATE_TEST_SUITE_P(Gears, SceneGallery,
                         ::testing::Values(GalleryGear{"z8", 8, 0.0}, GalleryGear{"z10_x05", 10, 0.5}),
                         [](const ::testing::TestParamInfo<GalleryGear>& gear) { return std::string(gear.param.name); });

}  // namespace
