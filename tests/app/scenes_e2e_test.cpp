// The scenes as a user sees them: the real program in its own X server, driven
// with keys, its window read back pixel by pixel at places worked out from the
// gear's geometry (view = scale × model, 400 pixels a view unit, the window's
// centre at pixel (400, 400), y up). Every screenshot stays under
// <build>/test-artifacts/<test>/ to be looked at.
#include "draw/draw.hpp"
#include "geometry/geometry.hpp"
#include "tests/e2e/e2e.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int FRAME_TIMEOUT_MS = 20000;

struct Pixel {
    int x, y;
};

Pixel pixel_of_view(double vx, double vy) {
    return Pixel{static_cast<int>(std::lround(400.0 + 400.0 * vx)),
                 static_cast<int>(std::lround(400.0 - 400.0 * vy))};
}

bool is_red(Rgb c) {
    return c.r > 200 && c.g < 90 && c.b < 90;
}
bool is_blue(Rgb c) {
    return c.b > 200 && c.r < 90 && c.g < 90;
}
bool is_green(Rgb c) {
    return c.g > 200 && c.r < 90 && c.b < 90;
}
bool is_dark(Rgb c) {
    return c.r < 90 && c.g < 90 && c.b < 90;
}

// A pixel of the kind within reach pixels of p (lines are 2 and 4 pixels wide,
// and a computed position may round either way).
bool kind_near(const Image& img, Pixel p, int reach, bool (*kind)(Rgb)) {
    for (int y = p.y - reach; y <= p.y + reach; ++y)
        for (int x = p.x - reach; x <= p.x + reach; ++x)
            if (x >= 0 && y >= 0 && x < img.width && y < img.height && kind(pixel(img, x, y))) return true;
    return false;
}

// Dark pixels of the legend line k (1 to 5): from x = -0.9 rightwards, its
// baseline at y = 0.95 - 0.05·(k - 1). Stops short of the cross's vertical
// arm at the window's centre.
int legend_dark_pixels(const Image& img, int line) {
    Pixel base = pixel_of_view(-0.9, 0.95 - 0.05 * (line - 1));
    int count = 0;
    for (int y = base.y - 14; y <= base.y + 3; ++y)
        for (int x = base.x; x < 380; ++x)
            if (is_dark(pixel(img, x, y))) ++count;
    return count;
}

// A model point of the gear frame on the screen at scale factor s.
Pixel pixel_of_model(const ProfilePoint& p, double s) {
    return pixel_of_view(s * p.x, s * p.y);
}

// The point at polar angle θ and radius R about the gear centre (0, -r).
ProfilePoint polar_point(double radius, double angle) {
    double r = gear_params.pitch_radius;
    return ProfilePoint{radius * std::sin(angle), radius * std::cos(angle) - r};
}

// A window not painted yet is black; a frame is mostly white background.
bool painted(const Image& img) {
    int black = 0;
    for (size_t i = 0; i + 2 < img.rgb.size(); i += 3)
        if (img.rgb[i] == 0 && img.rgb[i + 1] == 0 && img.rgb[i + 2] == 0) ++black;
    return img.width > 0 && black < img.width * img.height / 2;
}

// One run of the program: answers the dialogue, waits for the window and its
// first frame, then takes keys and screenshots.
class SceneRun {
public:
    // left_in_place: the window stays where it opened (moving it repaints it,
    // which would draw a second frame).
    SceneRun(const char* test_name, int z, double x, bool left_in_place = false) {
        started_ = session_.open_window(test_name, z, x, left_in_place) &&
                   wait_probe(&session_.program, "display", &state_, FRAME_TIMEOUT_MS);
    }
    bool ready() const { return session_.ready; }
    bool started() const { return started_; }

    // Sends the keys and waits until the program has answered the last of them.
    bool keys(const std::string& list) {
        int count = 0;
        std::string chunk;
        size_t start = 0;
        while (start < list.size()) {
            size_t end = list.find(' ', start);
            if (end == std::string::npos) end = list.size();
            if (end > start) {
                chunk += list.substr(start, end - start) + " ";
                ++count;
            }
            start = end + 1;
            if (count % 40 == 0 || start >= list.size()) {
                if (!chunk.empty() && !send_keys(&session_.program, &session_.xserver, chunk.c_str()))
                    return false;
                chunk.clear();
            }
        }
        for (int k = 0; k < count; ++k)
            if (!wait_probe(&session_.program, "key", &state_, FRAME_TIMEOUT_MS)) return false;
        return true;
    }
    bool press(const std::string& key, int times) { return keys(key_presses(key.c_str(), times)); }
    const ProbeState& state() const { return state_; }

    // Screenshots until the picture shows what is expected (a frame may still
    // be on its way to the window), at most a few seconds; keeps the last.
    Image shoot(const char* shot_name, const std::function<bool(const Image&)>& expected) {
        Image img;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (;;) {
            bool taken = take_screenshot(&session_.program, &session_.xserver, shot_name, &img);
            if ((taken && painted(img) && expected(img)) || std::chrono::steady_clock::now() > deadline)
                return img;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    Image shoot(const char* shot_name) {
        return shoot(shot_name, [](const Image& img) { return count_non_white(img) > 0; });
    }
    int display_frames() const {
        std::string all = read_stderr(&session_.program);
        int count = 0;
        for (size_t at = all.find("probe: display"); at != std::string::npos;
             at = all.find("probe: display", at + 1))
            ++count;
        return count;
    }

private:
    E2eSession session_;
    ProbeState state_;
    bool started_ = false;
};


// The first frame of the run, drawn before any key: scene '1' at step 0 with
// its legend dark (lighting is still off before the first primitive of a run).
TEST(SceneScreens, FirstFrameOfARunShowsTheLegendDarkAndTheMarkersAtThePitchPoint) {
    SceneRun run("first_frame_z20", 20, 0.0, true);
    START_WINDOW_RUN(run);
    Image img = run.shoot("first_frame", [](const Image& i) { return legend_dark_pixels(i, 1) > 50; });
    ASSERT_TRUE(painted(img)) << "the first frame never showed";
    ASSERT_EQ(run.display_frames(), 1) << "a second frame came before the screenshot";
    for (int line = 1; line <= 4; ++line)
        EXPECT_GT(legend_dark_pixels(img, line), 50) << "legend line " << line;
    EXPECT_EQ(legend_dark_pixels(img, 5), 0);
    // The three markers lie on the pitch point; the point of rolling's blue disc is drawn last.
    EXPECT_TRUE(is_blue(pixel(img, 400, 400)));
    EXPECT_TRUE(kind_near(img, Pixel{400, 400}, 4, is_blue));
}

// Scene '1', z = 20, at its last step: the red involute reaches the tip
// circle, the black rack touches it there, and the traces are green.
TEST(SceneScreens, AddendumInvoluteReachesTheTipCircle) {
    compute_gear(20, 0.0);
    const int last = generation_curves.addendum_last;
    const double s = 0.5;
    SceneRun run("addendum_z20", 20, 0.0);
    START_WINDOW_RUN(run);
    ASSERT_TRUE(run.keys("1"));
    ASSERT_TRUE(run.press("s", last + 3));
    EXPECT_EQ(run.state().steps[0], last + 1);
    const ProfilePoint tip = generation_curves.addendum_involute[last];
    Image img = run.shoot("last_step",
                          [&](const Image& i) { return kind_near(i, pixel_of_model(tip, s), 2, is_red); });
    EXPECT_GE(polar_radius(tip), gear_params.tip_radius);
    EXPECT_TRUE(kind_near(img, pixel_of_model(tip, s), 2, is_red)) << "no marker at the tip";
    for (int k : {last / 4, last / 2, 3 * last / 4})
        EXPECT_TRUE(kind_near(img, pixel_of_model(generation_curves.addendum_involute[k], s), 2, is_red))
            << "no involute at sample " << k;
    // The rack's flank through its reference point A, half a module from A along the flank.
    double t = last * 0.01;
    ProfilePoint a, contact;
    double lambda;
    rack_involute_point(t, a, contact, lambda);
    ProfilePoint on_flank = {a.x + 0.5 * std::sin(gear_params.alpha + t),
                             a.y + 0.5 * std::cos(gear_params.alpha + t)};
    EXPECT_TRUE(kind_near(img, pixel_of_model(on_flank, s), 2, is_dark)) << "no black rack";
    // The trace rack of step 0 has its flank through the pitch point.
    ProfilePoint home_flank = {0.5 * std::sin(gear_params.alpha), 0.5 * std::cos(gear_params.alpha)};
    EXPECT_TRUE(kind_near(img, pixel_of_model(home_flank, s), 2, is_green)) << "no green trace";
}

// Scene '3', z = 8: the blue undercut grows from the root circle, where its
// first point lies, and is not there before it has been generated.
TEST(SceneScreens, UndercutGrowsFromTheRootCircle) {
    compute_gear(8, 0.0);
    const double s = 0.5;
    SceneRun run("undercut_z8", 8, 0.0);
    START_WINDOW_RUN(run);
    ASSERT_TRUE(run.keys("3"));
    const ProfilePoint first = generation_curves.undercut_curve[0];
    EXPECT_NEAR(polar_radius(first), gear_params.root_radius, 1e-9);
    Image before = run.shoot("step_0");
    ASSERT_TRUE(run.press("s", 60));
    Image after = run.shoot("step_60", [&](const Image& i) {
        return kind_near(i, pixel_of_model(generation_curves.undercut_curve[30], s), 2, is_blue);
    });
    EXPECT_TRUE(kind_near(after, pixel_of_model(first, s), 3, is_blue));
    for (int k : {15, 30, 45}) {
        Pixel p = pixel_of_model(generation_curves.undercut_curve[k], s);
        EXPECT_TRUE(kind_near(after, p, 2, is_blue)) << "no undercut at sample " << k;
        EXPECT_FALSE(kind_near(before, p, 1, is_blue)) << "undercut before it was cut, sample " << k;
    }
    // The whole involute is red from the first frame on.
    int mid = generation_curves.involute_last / 2;
    EXPECT_TRUE(kind_near(before, pixel_of_model(generation_curves.involute_curve[mid], s), 2, is_red));
    run.press("s", 200);
    run.shoot("last_step");
}

// Scene '6', z = 20, x = 0.5: both teeth share their left flank (the one
// through the pitch point, where red covers blue), and the shifted tooth is
// wider: its right flank stands outside the standard one, and near the tip
// the red flank runs on past the blue tip circle.
TEST(SceneScreens, ShiftedFlankStandsOutsideTheStandardNearTheTip) {
    compute_gear(20, 0.5);
    const ToothProfile& standard = standard_tooth;
    const ToothProfile& shifted = shifted_tooth;
    const double standard_tip = gear_params.tip_radius - 0.5;
    const double s = 0.5;
    SceneRun run("one_tooth_z20_x05", 20, 0.5);
    START_WINDOW_RUN(run);
    ASSERT_TRUE(run.keys("6"));
    auto first_beyond = [](const ToothProfile& tooth, double radius) {
        for (int k = 0; k <= tooth.flank_last; ++k)
            if (polar_radius(tooth.flank[k]) >= radius) return k;
        return tooth.flank_last;
    };
    // Near the tip of the standard tooth (radius about 10.8, tip 11).
    const int ks = first_beyond(standard, 10.8), kr = first_beyond(shifted, 10.8);
    const ProfilePoint blue_right = standard.mirror_flank[ks], red_right = shifted.mirror_flank[kr];
    ASSERT_GT(polar_angle(red_right), polar_angle(blue_right) + 0.02);  // outside, to the right
    Image img = run.shoot(
        "one_tooth", [&](const Image& i) { return kind_near(i, pixel_of_model(red_right, s), 2, is_red); });
    EXPECT_TRUE(kind_near(img, pixel_of_model(red_right, s), 2, is_red));
    EXPECT_FALSE(kind_near(img, pixel_of_model(red_right, s), 2, is_blue));
    EXPECT_TRUE(kind_near(img, pixel_of_model(blue_right, s), 2, is_blue));
    // Between the two right flanks: inside the shifted tooth only, and empty.
    Pixel between =
        pixel_of_model(ProfilePoint{(red_right.x + blue_right.x) / 2, (red_right.y + blue_right.y) / 2}, s);
    EXPECT_TRUE(is_white(pixel(img, between.x, between.y)));
    // The shared left flank shows red.
    EXPECT_TRUE(kind_near(img, pixel_of_model(shifted.flank[kr], s), 2, is_red));
    // Past the standard tip circle only the shifted flanks go on.
    const int beyond = first_beyond(shifted, standard_tip + 0.25);
    ASSERT_LT(polar_radius(shifted.flank[beyond]), gear_params.tip_radius + 1e-9);
    EXPECT_TRUE(kind_near(img, pixel_of_model(shifted.flank[beyond], s), 2, is_red));
    EXPECT_TRUE(kind_near(img, pixel_of_model(shifted.mirror_flank[beyond], s), 2, is_red));
}

// Scene '7', zoomed out until the whole gear fits: red tips all round.
TEST(SceneScreens, WholeGearHasTeethAllRound) {
    compute_gear(20, 0.5);
    SceneRun run("whole_gear_z20_x05", 20, 0.5);
    START_WINDOW_RUN(run);
    ASSERT_TRUE(run.keys("7"));
    ASSERT_TRUE(run.press("w", 23));  // s·(2r + ha) ≤ 1: the bottom tip in the window
    const double s = run.state().scale;
    const double pitch = 2 * PI / 20;
    // The middle of the shifted tooth's tip arc, at polar angle tooth_angle/2.
    const double tip_middle = gear_params.tooth_angle / 2;
    Image img = run.shoot("whole_gear", [&](const Image& i) {
        return kind_near(i, pixel_of_model(polar_point(gear_params.tip_radius, tip_middle + PI), s), 2,
                         is_red);
    });
    for (int k = 0; k < 20; ++k) {
        double angle = tip_middle + k * pitch;
        EXPECT_TRUE(kind_near(img, pixel_of_model(polar_point(gear_params.tip_radius, angle), s), 2, is_red))
            << "no red tip of tooth " << k;
        EXPECT_TRUE(
            kind_near(img, pixel_of_model(polar_point(gear_params.tip_radius - 0.5, angle), s), 2, is_blue))
            << "no blue tip of tooth " << k;
        // Between two teeth, at the tip radius: no tooth.
        Pixel gap = pixel_of_model(polar_point(gear_params.tip_radius, angle + pitch / 2), s);
        EXPECT_FALSE(kind_near(img, gap, 1, is_red)) << "gap after tooth " << k;
    }
}

// 'w' shrinks and 'W' enlarges: the shifted tip circle of scene '6' moves
// with the scale factor (and each key also draws a frame).
TEST(SceneScreens, ZoomKeysChangeTheSizeOfTheDrawing) {
    compute_gear(20, 0.5);
    SceneRun run("zoom_z20_x05", 20, 0.5);
    START_WINDOW_RUN(run);
    ASSERT_TRUE(run.keys("6"));
    // A point of the red tip circle, a little right of the top.
    auto tip_point = [&](double s) { return pixel_of_model(polar_point(gear_params.tip_radius, 0.05), s); };
    Image at_half =
        run.shoot("scale_0.5", [&](const Image& i) { return kind_near(i, tip_point(0.5), 1, is_red); });
    EXPECT_TRUE(kind_near(at_half, tip_point(0.5), 1, is_red));
    ASSERT_TRUE(run.keys("w"));
    Image smaller =
        run.shoot("scale_0.45", [&](const Image& i) { return kind_near(i, tip_point(0.45), 1, is_red); });
    EXPECT_TRUE(kind_near(smaller, tip_point(0.45), 1, is_red));
    EXPECT_FALSE(kind_near(smaller, tip_point(0.5), 1, is_red));
    ASSERT_TRUE(run.keys("W W"));
    const double larger = 0.5 / 0.9;
    EXPECT_NEAR(run.state().scale, larger, 1e-9);
    Image bigger =
        run.shoot("scale_0.556", [&](const Image& i) { return kind_near(i, tip_point(larger), 1, is_red); });
    EXPECT_TRUE(kind_near(bigger, tip_point(larger), 1, is_red));
    EXPECT_FALSE(kind_near(bigger, tip_point(0.5), 1, is_red));
    EXPECT_GT(legend_dark_pixels(bigger, 1), 50);  // the legend does not zoom
}

// All seven scenes of one gear, as a user would step through them; every
// picture is kept as scene<key>_<what>.png. Each must show its legend dark and
// the colours its figures are drawn in (the legends of later frames are
// checked here only; their texts on the record in scenes_test).
struct GalleryGear {
    const char* name;
    int z;
    double x;
};

class SceneGallery : public ::testing::TestWithParam<GalleryGear> {};

int pixels_of(const Image& img, bool (*kind)(Rgb)) {
    int count = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (kind(pixel(img, x, y))) ++count;
    return count;
}

TEST_P(SceneGallery, EverySceneShowsItsLegendAndColours) {
    const GalleryGear gear = GetParam();
    compute_gear(gear.z, gear.x);
    const int addendum_last = generation_curves.addendum_last;
    const int dedendum_last = generation_curves.dedendum_last;
    // Zoom steps that bring the whole gear into the window: s·(2r + ha) below 0.95.
    int zoom_out = 0;
    for (double s = 0.5; s * (2 * gear_params.pitch_radius + 1 + gear.x) > 0.95; s *= 0.9) ++zoom_out;
    SceneRun run((std::string("gallery_") + gear.name).c_str(), gear.z, gear.x);
    START_WINDOW_RUN(run);
    struct Shot {
        const char* keys;  // scene key, then what is pressed in it
        int steps;         // 's' presses after the keys
        const char* name;
        int legend_lines;
        bool (*colour)(Rgb);  // a colour the picture must hold plenty of
    };
    const Shot shots[] = {
        {"1", addendum_last, "scene1_last_step", 4, is_red},
        {"2", dedendum_last, "scene2_last_step", 4, is_green},
        {"3", 80, "scene3_step80", 4, is_blue},
        {"4", 80, "scene4_step80", 3, is_green},  // the rack has rolled over the top
        {"5", 40, "scene5_step40", 3, is_green},
        {"6", 0, "scene6", 5, is_red},
        {"7", 0, "scene7", 5, is_blue},
    };
    for (const Shot& shot : shots) {
        ASSERT_TRUE(run.keys(shot.keys));
        ASSERT_TRUE(run.press("s", shot.steps));
        Image img = run.shoot(shot.name, [&](const Image& i) {
            return legend_dark_pixels(i, shot.legend_lines) > 50 && pixels_of(i, shot.colour) > 300;
        });
        EXPECT_EQ(run.state().scene, shot.keys[0]);
        for (int line = 1; line <= shot.legend_lines; ++line)
            EXPECT_GT(legend_dark_pixels(img, line), 50) << shot.name << " legend line " << line;
        EXPECT_GT(pixels_of(img, shot.colour), 300) << shot.name;
    }
    // The whole gear in the window: scene '7' zoomed out, then scene '4' at that size.
    ASSERT_TRUE(run.keys("7"));
    ASSERT_TRUE(run.press("w", zoom_out));
    Image whole = run.shoot("scene7_whole_gear");
    EXPECT_GT(pixels_of(whole, is_blue), 300);
    // The standard gear is drawn over the shifted one: with no shift it hides it.
    if (gear.x == 0.0)
        EXPECT_LT(pixels_of(whole, is_red), 50);
    else
        EXPECT_GT(pixels_of(whole, is_red), 300);
    ASSERT_TRUE(run.keys("4"));
    ASSERT_TRUE(run.press("s", 300));
    Image rolled = run.shoot("scene4_step300_whole_gear");
    EXPECT_GT(pixels_of(rolled, is_green), 3000);
    ASSERT_TRUE(run.keys("5"));
    ASSERT_TRUE(run.press("s", 150));
    Image meshed = run.shoot("scene5_step150_whole_gear");
    EXPECT_GT(pixels_of(meshed, is_green), 3000);
}

INSTANTIATE_TEST_SUITE_P(Gears, SceneGallery,
                         ::testing::Values(GalleryGear{"z8", 8, 0.0}, GalleryGear{"z20", 20, 0.0},
                                           GalleryGear{"z10_x05", 10, 0.5}),
                         [](const ::testing::TestParamInfo<GalleryGear>& gear) {
                             return std::string(gear.param.name);
                         });

// ---- deep zoom ----------------------------------------------------------------------

// The scale factor after k presses of 'W', key by key as the program divides it.
double zoomed_in(int presses) {
    double s = 0.5;
    for (int k = 0; k < presses; ++k) s /= 0.9;
    return s;
}

// Points a quarter, a half and three quarters along dashes of the dash-dot
// pitch circle at scale s that fall well inside the window, worked out in double precision from the
// circle's counts (period i = 1 … n starting at angle i·2π/n, its dash over m
// sub-steps of 2π/(n·(m + 3k)); from view radius 10^7 on the counts stay those of 10^7).
std::vector<Pixel> pitch_circle_dash_middles(double s) {
    const double r = s * gear_params.pitch_radius;  // view radius, centre (0, -r)
    const double counted = std::fmin(r, 1e7);
    const int n = static_cast<int>(10 * CIRCLE_PI * counted);
    const int m = static_cast<int>(45 * counted);
    const int k = static_cast<int>(10 * counted);
    const double period = 2 * CIRCLE_PI / n;
    const double delta = 2 * CIRCLE_PI / (static_cast<double>(n) * (m + 3 * k));
    std::vector<Pixel> found;
    const int top = static_cast<int>(std::floor((CIRCLE_PI / 2) / period));  // the period at the top
    const double dash_pixels = m * delta * r * 400;
    if (dash_pixels < 12) return found;  // too short to tell its middle from its ends
    for (int i = top - 12; i <= top + 12 && found.size() < 9; ++i)
        for (double along : {0.25, 0.5, 0.75}) {
            const double angle = i * period + along * m * delta;
            const double x = r * std::cos(angle);
            const double y = r * std::sin(angle) - r;
            if (std::fabs(x) < 0.1 || std::fabs(x) > 0.9 || std::fabs(y) > 0.5) continue;
            found.push_back(pixel_of_view(x, y));
        }
    return found;
}

// However far the user zooms in, the picture stays right to a pixel: the
// dash-dot pitch circle of scene '7' (nothing else passes the pitch point
// there) and the red involute of scene '3' through the pitch point, at
// W×60, W×100 and W×150, are where double precision puts them.
TEST(SceneScreens, DeepZoomKeepsThePitchCircleAndTheInvoluteInPlace) {
    compute_gear(20, 0.0);
    // The involute's two segments at the pitch point: towards the tip and towards the root.
    const ProfilePoint out = generation_curves.addendum_involute[1];
    const ProfilePoint in = generation_curves.dedendum_involute[1];
    for (char scene : {'7', '3'}) {
        SCOPED_TRACE(testing::Message() << "scene " << scene);
        SceneRun run(scene == '7' ? "deep_zoom_scene7" : "deep_zoom_scene3", 20, 0.0);
        START_WINDOW_RUN(run);
        ASSERT_TRUE(run.keys(std::string(1, scene)));
        int pressed = 0;
        for (int presses : {60, 100, 150}) {
            ASSERT_TRUE(run.press("W", presses - pressed));
            pressed = presses;
            const double s = zoomed_in(presses);
            ASSERT_EQ(run.state().scale, s);
            std::vector<Pixel> expected;
            bool (*kind)(Rgb) = is_blue;
            if (scene == '7') {
                expected = pitch_circle_dash_middles(s);
            } else {
                kind = is_red;
                for (const ProfilePoint& end : {out, in}) {
                    const double length = std::hypot(end.x, end.y);
                    for (double along : {0.25, 0.5, 0.75})  // view units from the pitch point
                        expected.push_back(pixel_of_view(along * end.x / length, along * end.y / length));
                }
            }
            ASSERT_GE(expected.size(), 4u) << "W×" << presses;
            const std::string name = "W" + std::to_string(presses);
            Image img = run.shoot(name.c_str(), [&](const Image& i) {
                for (const Pixel& p : expected)
                    if (!kind_near(i, p, 1, kind)) return false;
                return true;
            });
            for (const Pixel& p : expected)
                EXPECT_TRUE(kind_near(img, p, 1, kind)) << "W×" << presses << " at " << p.x << "," << p.y;
        }
    }
}

}  // namespace
