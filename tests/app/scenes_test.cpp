// The eight scenes as recorded, one frame at a time, with every figure recorded
// whole: the step logic of the animated scenes, the legends, the markers at
// positions worked out by hand from the rolling geometry, the trace racks,
// and the figures of the comparison scenes in their colours and order, a
// pointed tooth included.
#include "choice/choice.hpp"
#include "draw/draw.hpp"
#include "gear_data/gear_data.hpp"
#include "scenes/scene_blocks.hpp"
#include "scenes/scenes.hpp"
#include "tests/record/record_reading.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int SEGMENTS_PER_RACK = 7 + 3 * 5;  // four pitches, shared flanks once

// Both teeth computed, the shifted one last, all counters 0: the state after a dialogue.
void make_gear(int z, double x, double scale = 0.5, const Cutter& cutter = SPECIFIED_CUTTER,
               bool internal = false) {
    ASSERT_EQ(take_gear(GearChoice{z, x, cutter, 1.0, 0, 0.0, internal}), nullptr);
    reset_step_counters();
    scale_factor = scale;
}

void frame(char scene) {
    scene_mode = scene;
    record_scene_frame(800, 800, false);
    ASSERT_FALSE(frame_record.overflowed);
}

// Rack figures in the colour, counted by their 2-pixel segments (the scale
// must keep every rack inside the record's guard square).
int racks(const Colour& colour) {
    return static_cast<int>(segments(colour, 2.0f).size()) / SEGMENTS_PER_RACK;
}

int wide_segments(const Colour& colour) {
    return static_cast<int>(segments(colour, 4.0f).size());
}

// A piece of the current rack's rolling line (the only blue dash-dot line that
// is not a centre line): its last recorded segment.
ViewSegment rolling_line_piece() {
    return segments(blue, 2.0f).back();
}

// The black 2-pixel segments less the cross's two lines: the current rack.
std::vector<ViewSegment> current_rack() {
    std::vector<ViewSegment> rack = segments(black, 2.0f);
    rack.erase(rack.begin(), rack.begin() + 2);
    return rack;
}

// The vertices of the frame just recorded, to compare with a later frame.
std::vector<RecordVertex> recorded_vertices() {
    return std::vector<RecordVertex>(frame_record.vertices,
                                     frame_record.vertices + frame_record.vertex_count);
}

// ---- the table of scenes -----------------------------------------------------------------

// Scene i has the key of its number and a name of its own; an index or key of
// no scene has none. The mesh runs on like '4' and '5', on their counter.
TEST(SceneTable, EverySceneByNumberKeyAndName) {
    std::set<std::string> names;
    for (int i = 0; i < SCENE_COUNT; ++i) {
        EXPECT_EQ(scene_key(i), '1' + i);
        EXPECT_EQ(scene_index(scene_key(i)), i);
        names.insert(scene_name(i));
    }
    EXPECT_EQ(names.size(), 8u);
    EXPECT_EQ(names.count(""), 0u);
    for (int i : {-1, SCENE_COUNT}) {
        EXPECT_EQ(scene_key(i), '\0');
        EXPECT_STREQ(scene_name(i), "");
    }
    for (char key : {'0', '9', 'm', '\0'}) EXPECT_EQ(scene_index(key), -1);
    make_gear(12, 0.0, 0.1);
    set_scene_state('8', 12, 0);
    frame('8');
    EXPECT_EQ(tooth_step, 13);
    EXPECT_EQ(shown_step(), 12);
    EXPECT_EQ(last_step(), STEP_LIMIT);
}

// ---- legends ---------------------------------------------------------------------------

// Each scene heads its legend with its own number; the lines stand 0.05 apart
// from (-0.9, 0.95) down.
TEST(Legends, EachSceneHeadsItsLegendWithItsNumberInPlace) {
    make_gear(20, 0.5);
    for (char scene = FIRST_SCENE; scene < FIRST_SCENE + SCENE_COUNT; ++scene) {
        frame(scene);
        const std::vector<std::string> lines = legend_lines();
        ASSERT_GE(lines.size(), 3u) << "scene " << scene;
        EXPECT_EQ(lines[0].substr(0, 4), std::string("(") + scene + ") ");
        const std::vector<ViewCircle> at = legend_positions();
        for (size_t line = 0; line < at.size(); ++line) {
            EXPECT_NEAR(at[line].x, -0.9, 1e-7);
            EXPECT_NEAR(at[line].y, 0.95 - 0.05 * static_cast<double>(line), 1e-7);
        }
    }
}

// A gear cut with another cutter (or a helical gear) shows one more legend line in every scene,
// under the scene's own, naming the cutter it was cut with (not the one the
// next gear will be cut with); the specified cutter's legends have none.
TEST(Legends, AnotherCutterIsNamedInOneLineMore) {
    make_gear(20, 0.5);
    size_t own_lines[7];
    for (int k = 0; k < 7; ++k) {
        frame(static_cast<char>('1' + k));
        own_lines[k] = legend_lines().size();
    }
    const struct {
        Cutter cutter;
        const char* line;
        const char* line_ja;
    } others[] = {{{20.0, 1.0, 1.25, 0.38}, "cutter: 20 deg, ha 1, hf 1.25, tip radius 0.38", nullptr},
                  {{25.0, 1.0, 1.25, 0.0}, "cutter: 25 deg, ha 1, hf 1.25, tip radius 0", nullptr},
                  {{14.5, 0.8, 1.1, 0.2}, "cutter: 14.5 deg, ha 0.8, hf 1.1, tip radius 0.2", nullptr},
                  {{20.0, 1.0, 1.25, 0.0, 25, 0.2},
                   "pinion cutter: 25 teeth, x 0.2",
                   "ピニオンカッタ: 歯数 25, 転位係数 0.2"},
                  {{25.0, 1.0, 1.25, 0.2, 40, -0.1},
                   "pinion cutter: 40 teeth, x -0.1, 25 deg, ha 1, hf 1.25, tip radius 0.2",
                   "ピニオンカッタ: 歯数 40, 転位係数 -0.1, 圧力角 25°, ha 1, hf 1.25, 歯先の丸み半径 0.2"},
                  // A helical gear's scenes are its transverse section, and say so.
                  {{20.0, 1.0, 1.25, 0.0, 0, 0.0, 30.0},
                   "helical 30 deg right-hand, transverse section",
                   "はすば歯車 ねじれ角 30° 右ねじれ の正面断面"}};
    for (const auto& other : others) {
        make_gear(20, 0.5, 0.5, other.cutter);
        for (int k = 0; k < 7; ++k) {
            frame(static_cast<char>('1' + k));
            const std::vector<std::string> lines = legend_lines();
            ASSERT_EQ(lines.size(), own_lines[k] + 1) << "scene " << k + 1;
            EXPECT_EQ(lines.back(), other.line) << "scene " << k + 1;
            EXPECT_NEAR(legend_positions().back().y, 0.95 - 0.05 * static_cast<double>(own_lines[k]), 1e-7);
        }
        if (other.line_ja == nullptr) continue;
        legends_in_japanese = true;
        frame('4');
        legends_in_japanese = false;
        EXPECT_EQ(legend_lines().back(), other.line_ja);
    }
}

// A gear cut by a pinion-type cutter reads "cutter" where a scene's own line
// says "rack" (in Japanese too), a ring "internal gear" for "gear"; the
// rack's gears keep their words.
TEST(Legends, ThePinionCutterAndTheRingInTheScenesWords) {
    make_gear(20, 0.5);
    frame('5');
    EXPECT_EQ(legend_lines()[0], "(5) whole tooth profile generation by rack-gear meshing");
    make_gear(20, 0.5, 0.5, Cutter{20.0, 1.0, 1.25, 0.0, 25, 0.0});
    frame('5');
    EXPECT_EQ(legend_lines()[0], "(5) whole tooth profile generation by cutter-gear meshing");
    legends_in_japanese = true;
    frame('1');
    EXPECT_EQ(legend_lines()[3], "     赤い点 : カッタがインボリュート曲線を創成する点");
    make_gear(50, 0.5, 0.5, Cutter{20.0, 1.0, 1.25, 0.0, 20, 0.0}, true);
    frame('7');
    EXPECT_EQ(legend_lines()[0], "(7) 内歯車の全歯を表示");
    legends_in_japanese = false;
    frame('6');
    EXPECT_EQ(legend_lines()[4], "     red tooth  : shifted internal gear");
}

// ---- scenes '1' to '3': steps, clamp, traces --------------------------------------------

struct Generation {
    char scene;
    int* counter;
    const int* last;
};

const Generation GENERATION[] = {
    {'1', &addendum_step, &the_gear.curves.addendum_last},
    {'2', &dedendum_step, &the_gear.curves.dedendum_last},
    {'3', &undercut_step, &the_gear.curves.undercut_last},
};

// Frames show steps 0, 1, 2, …; the counter counts frames up to last + 1 and
// rests there, and the page reads back the step shown and the curve's last;
// the traces are the racks of steps 0, 5, 10, … below the current step, each
// where the current rack stood; after the last step every frame is the same
// picture.
TEST(GenerationScenes, StepsClampTracesAndRepeats) {
    for (const Generation& g : GENERATION) {
        SCOPED_TRACE(testing::Message() << "scene " << g.scene);
        make_gear(8, 0.0, 0.1);  // z = 8: short curves; 0.1: every rack inside the guard
        std::vector<ViewSegment> at_step[6];
        const int last = *g.last;
        ASSERT_GT(last, 5);
        for (int n = 0; n <= last; ++n) {
            frame(g.scene);
            ASSERT_EQ(*g.counter, n + 1);
            ASSERT_EQ(shown_step(), n);
            ASSERT_EQ(racks(black), 1) << "step " << n;
            ASSERT_EQ(racks(green), n == 0 ? 0 : (n - 1) / 5 + 1) << "step " << n;
            if (n <= 5) {
                const std::vector<ViewSegment> black_lines =
                    segments(black, 2.0f);  // the cross, then the rack
                at_step[n].assign(black_lines.end() - SEGMENTS_PER_RACK, black_lines.end());
            }
            if (n == 6) {
                const std::vector<ViewSegment> traces = segments(green, 2.0f);
                EXPECT_TRUE(all_found_in(at_step[0], traces));
                EXPECT_TRUE(all_found_in(at_step[5], traces));
            }
        }
        EXPECT_EQ(addendum_step + dedendum_step + undercut_step + tooth_step, last + 1);
        const std::vector<RecordVertex> before = recorded_vertices();
        frame(g.scene);
        EXPECT_EQ(*g.counter, last + 1);
        EXPECT_EQ(shown_step(), last);
        EXPECT_EQ(last_step(), last);
        ASSERT_EQ(frame_record.vertex_count, static_cast<int>(before.size()));
        EXPECT_EQ(std::memcmp(before.data(), frame_record.vertices, before.size() * sizeof before[0]), 0);
    }
}

// z = 20, s = 0.5, step 10 of scene '1' (t = 0.1): the small marker at A(0.1)·s =
// (0.0016650, 0.0249375), the point of rolling at (0.4991671, -0.0249792);
// scene '2' mirrors them and has no marker on the reference point. Step 0: all
// at the pitch point, no curve and no trace.
TEST(GenerationScenes, MarkersRollAsTheGeometrySays) {
    make_gear(20, 0.0);
    frame('1');
    std::vector<ViewCircle> red_discs = discs(red);
    std::vector<ViewCircle> blue_discs = discs(blue);
    ASSERT_EQ(red_discs.size(), 1u);
    ASSERT_EQ(blue_discs.size(), 2u);
    for (const ViewCircle& d : {red_discs[0], blue_discs[0], blue_discs[1]}) {
        EXPECT_NEAR(d.x, 0.0, VIEW_TOLERANCE);
        EXPECT_NEAR(d.y, 0.0, VIEW_TOLERANCE);
    }
    EXPECT_NEAR(blue_discs[0].radius, 0.006, VIEW_TOLERANCE);
    EXPECT_NEAR(blue_discs[1].radius, 0.01, VIEW_TOLERANCE);
    EXPECT_EQ(wide_segments(red), 0);
    for (char scene : {'1', '2'}) {
        addendum_step = dedendum_step = 10;
        frame(scene);
        const double sign = scene == '1' ? 1 : -1;
        blue_discs = discs(blue);
        ASSERT_EQ(blue_discs.size(), scene == '1' ? 2u : 1u);
        const ViewCircle& rolling = blue_discs.back();
        EXPECT_NEAR(rolling.x, sign * 0.4991671, 1e-7);
        EXPECT_NEAR(rolling.y, -0.0249792, 1e-7);
        if (scene == '1') {
            EXPECT_NEAR(blue_discs[0].x, 0.0016650, 1e-7);
            EXPECT_NEAR(blue_discs[0].y, 0.0249375, 1e-7);
        }
        // The generated point: the curve's point of this step; the curve so far.
        const ProfilePoint& p =
            scene == '1' ? the_gear.curves.addendum_involute[10] : the_gear.curves.dedendum_involute[10];
        EXPECT_NEAR(discs(red)[0].x, 0.5 * p.x, VIEW_TOLERANCE);
        EXPECT_EQ(wide_segments(red), scene == '1' ? 10 : the_gear.curves.addendum_last + 10);
    }
}

// ---- scenes '4' and '5' --------------------------------------------------------------------

// No clamp: the frame at step n shows all n earlier racks, each as it stood
// (scene '4') or as it stood turned with the gear by 0.02 per step about the
// gear centre (scene '5'), whose current rack is level.
TEST(WholeToothScenes, EveryEarlierRackStaysAndTurnsWithTheGearInMeshing) {
    for (char scene : {'4', '5'}) {
        SCOPED_TRACE(testing::Message() << "scene " << scene);
        make_gear(20, 0.0, 0.05);
        std::vector<ViewSegment> current[3];
        for (int n = 0; n <= 3; ++n) {
            frame(scene);
            ASSERT_EQ(racks(green), n);
            ASSERT_EQ(racks(black), 1);
            ASSERT_EQ(tooth_step, n + 1);
            const std::vector<ViewSegment> black_lines = segments(black, 2.0f);
            if (n < 3) current[n].assign(black_lines.end() - SEGMENTS_PER_RACK, black_lines.end());
        }
        const std::vector<ViewSegment> traces = segments(green, 2.0f);
        const double cy = -scale_factor * the_gear.params.pitch_radius;
        for (int n = 0; n < 3; ++n) {
            const double turn = scene == '5' ? -0.02 * (3 - n) : 0.0;
            std::vector<ViewSegment> turned;
            const double c = std::cos(turn), s = std::sin(turn);
            for (const ViewSegment& g : current[n])
                turned.push_back(ViewSegment{c * g.x0 - s * (g.y0 - cy), s * g.x0 + c * (g.y0 - cy) + cy,
                                             c * g.x1 - s * (g.y1 - cy), s * g.x1 + c * (g.y1 - cy) + cy});
            EXPECT_TRUE(all_found_in(turned, traces)) << "trace of step " << n;
        }
        tooth_step = 300;
        frame(scene);
        EXPECT_EQ(racks(green), 300);
        EXPECT_EQ(tooth_step, 301);
        EXPECT_EQ(shown_step(), 300);
        EXPECT_EQ(last_step(), STEP_LIMIT);
        EXPECT_EQ(addendum_step + dedendum_step + undercut_step, 0);
        // The traces are recorded last, in the trace layer, and nothing else is.
        const RecordItem& last = frame_record.items[frame_record.item_count - 1];
        EXPECT_EQ(last.layer, ITEM_LAYER_TRACE);
        EXPECT_TRUE(same_colour(last.colour, green));
        for (int i = 0; i + 1 < frame_record.item_count; ++i)
            EXPECT_EQ(frame_record.items[i].layer, ITEM_LAYER_PLAIN);
    }
}

// z = 20 at step 0 of scene '4': the rack stands upright on the rightmost
// point of the pitch circle, (5, -5)·s/0.5, with its reference point at
// A(π/2) = (10, 5.7079633); in scene '5' the level rack has its reference
// point at (-s·r·t, 0): (-7.8539816, 0)·s/0.5 at step 0 and (-5.0539816, 0)·s/0.5 at step 28.
TEST(WholeToothScenes, WhereTheRackStands) {
    make_gear(20, 0.0, 0.1);
    frame('4');
    const std::vector<ViewCircle> blue_discs = discs(blue);
    ASSERT_EQ(blue_discs.size(), 1u);
    EXPECT_NEAR(blue_discs[0].x, 1.0, VIEW_TOLERANCE);
    EXPECT_NEAR(blue_discs[0].y, -1.0, VIEW_TOLERANCE);
    ViewSegment piece = rolling_line_piece();
    EXPECT_NEAR(piece.x0, piece.x1, 1e-12);  // upright, through A·s = (1, 0.5707963)
    EXPECT_NEAR(piece.x0, 1.0, 1e-7);
    for (int step : {0, 28}) {
        tooth_step = step;
        frame('5');
        piece = rolling_line_piece();
        EXPECT_NEAR(piece.y0, 0.0, 1e-12) << "step " << step;
        EXPECT_NEAR(piece.y1, 0.0, 1e-12) << "step " << step;
        // Right flanks cross the rolling line whole pitches (π·s) from the reference point:
        // the four copies' middle teeth and the first copy's tooth before them (which
        // copies the rack draws: TheRackStaysInMeshInLongRuns).
        const double reference = (step == 0 ? -7.8539816 : -5.0539816) * 0.2;
        int crossings = 0;
        for (int j = -20; j <= 20; ++j)
            crossings += distance_to(current_rack(), reference + j * PI * 0.1, 0.0) < 1e-7;
        EXPECT_EQ(crossings, 5) << "step " << step;
    }
}

// The copies cover the teeth in mesh however long the rack rolls: z = 8, the
// whole gear in view (w×15), past two turns (step 630 lost it before) the
// current rack reaches at least a pitch to either side of the point of
// rolling K along its rolling line, and its outline passes K within a
// quarter pitch (where its flanks cross the rolling line) and two pixels.
TEST(WholeToothScenes, TheRackStaysInMeshInLongRuns) {
    double s = 0.5;
    for (int i = 0; i < 15; ++i) s *= 0.9;
    for (int step : {0, 157, 314, 630, 700, 1000, 3000}) {
        make_gear(8, 0.0, s);
        tooth_step = step;
        frame('4');
        const double t = PI / 2 - step * 0.02;
        const double kx = s * 4 * std::sin(t);
        const double ky = s * 4 * (std::cos(t) - 1);
        const std::vector<ViewSegment> rack = current_rack();
        ASSERT_EQ(rack.size(), static_cast<size_t>(SEGMENTS_PER_RACK));
        double least = HUGE_VAL, most = -HUGE_VAL;  // along the rolling line (cos t, -sin t) from K
        for (const ViewSegment& seg : rack)
            for (double along : {(seg.x0 - kx) * std::cos(t) - (seg.y0 - ky) * std::sin(t),
                                 (seg.x1 - kx) * std::cos(t) - (seg.y1 - ky) * std::sin(t)}) {
                least = std::min(least, along);
                most = std::max(most, along);
            }
        EXPECT_LT(least, -PI * s) << "step " << step;
        EXPECT_GT(most, PI * s) << "step " << step;
        EXPECT_LT(distance_to(rack, kx, ky), PI / 4 * s + 2.0 / 400) << "step " << step;
    }
}

// ---- a pinion-type cutter and a ring -----------------------------------------------

const Cutter PINION = {20.0, 1.0, 1.25, 0.0, 25, 0.2};
const Cutter ROUNDED_PINION = {20.0, 1.0, 1.25, 0.3, 25, 0.2};
const Cutter RING_CUTTER = {20.0, 1.0, 1.25, 0.0, 20, 0.0};

struct PinionCut {
    int z;
    double x;
    Cutter cutter;
    bool internal;
};
const PinionCut PINION_CUT[] = {{12, 0.0, PINION, false},
                                {12, 0.0, ROUNDED_PINION, false},
                                {50, 0.5, RING_CUTTER, true},
                                {50, 0.5, ROUNDED_PINION, true}};

// At every step of scenes '1' to '3' the current cutter passes through the
// point it generates (the marker), within the quarter pixel its outline is
// drawn to, and the point of rolling lies on the line of centres from the gear
// centre to the cutter's, where the two cutting pitch circles touch; the last
// step too, whose roll lies off the grid where the curve ends.
TEST(PinionCutterScenes, TheCutterTouchesWhatItGeneratesAtTheRollingPoint) {
    for (const PinionCut& c : PINION_CUT) {
        make_gear(c.z, c.x, 0.1, c.cutter, c.internal);
        const GenerationCurves& curves = the_gear.curves;
        const Generation* g = GENERATION;
        for (const ProfilePoint* curve :
             {curves.addendum_involute, curves.dedendum_involute, curves.undercut_curve}) {
            SCOPED_TRACE(testing::Message()
                         << "z = " << c.z << ", rho " << c.cutter.tip_radius << ", scene " << g->scene);
            for (int n = 0; n <= *g->last; n += std::max(1, *g->last / 12)) {
                for (int step : {n, *g->last}) {
                    set_scene_state(g->scene, step, 0);
                    scale_factor = 0.1;
                    frame(g->scene);
                    const ProfilePoint& p = curve[step];
                    if (std::hypot(0.1 * p.x, 0.1 * p.y) > 1.5) continue;  // beyond the guard square
                    EXPECT_LT(distance_to(current_rack(), 0.1 * p.x, 0.1 * p.y), 0.3 / 400)
                        << "step " << step;
                    const ViewCircle rolling = discs(blue)[g->scene == '1' ? 1 : g->scene == '3' ? 1 : 0];
                    const ViewCircle centre = discs(black)[0];  // the cutter's, then the gear's
                    const double gy = -0.1 * the_gear.params.pitch_radius;
                    EXPECT_NEAR(std::hypot(rolling.x, rolling.y - gy),
                                0.1 * the_gear.params.pinion.gear_pitch_radius, 1e-9);
                    EXPECT_NEAR((rolling.x) * (centre.y - gy) - (rolling.y - gy) * centre.x, 0.0, 1e-9);
                }
            }
            ++g;
        }
    }
}

// Whether p lies inside the closed polygon (crossing count), and how far from its edges.
bool inside(const std::vector<ProfilePoint>& polygon, const ProfilePoint& p, double& depth) {
    bool in = false;
    depth = HUGE_VAL;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const ProfilePoint& a = polygon[i];
        const ProfilePoint& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double u = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        depth = std::min(depth, std::hypot(p.x - a.x - u * dx, p.y - a.y - u * dy));
    }
    return in;
}

// Scene '5' turns the gear against the turning cutter: at no step does a
// point of the cutter lie inside the finished gear's teeth (for a ring,
// outside its toothed outline) by more than the outline's chords allow (a
// tip arc's ten chords stray 0.004 from its circle, and the cutter's root
// circle is drawn touching a ring's tip circle).
TEST(PinionCutterScenes, TheTurningCutterNeverCutsIntoTheFinishedTeeth) {
    for (const PinionCut& c : PINION_CUT) {
        SCOPED_TRACE(testing::Message() << "z = " << c.z << ", rho " << c.cutter.tip_radius);
        const double s = 0.05;
        make_gear(c.z, c.x, s, c.cutter, c.internal);
        ProfilePoint tooth[POINT_CAPACITY];
        const double r = the_gear.params.pitch_radius;
        const int last = tooth_as_cut(the_gear.shifted_tooth, r, tooth);
        std::vector<ProfilePoint> gear;  // the whole outline, model units about the gear centre (0, -r)
        for (int k = 0; k < c.z; ++k) {
            const double turn = -k * 2 * PI / c.z;
            for (int i = 0; i < last; ++i)
                gear.push_back({std::cos(turn) * tooth[i].x - std::sin(turn) * (tooth[i].y + r),
                                std::sin(turn) * tooth[i].x + std::cos(turn) * (tooth[i].y + r) - r});
        }
        double deepest = 0;
        for (int step : {0, 40, 79, 80, 150, 233, 400}) {
            tooth_step = step;
            frame('5');
            const double t = PI / 2 - 0.02 * step;  // the frame is turned by t about the gear centre
            int points = 0;
            for (const ViewSegment& seg : current_rack())
                for (const ProfilePoint v : {ProfilePoint{seg.x0, seg.y0}, ProfilePoint{seg.x1, seg.y1}}) {
                    const double y = v.y / s + r;
                    const ProfilePoint p = {std::cos(t) * v.x / s + std::sin(t) * y,
                                            -std::sin(t) * v.x / s + std::cos(t) * y - r};
                    if (std::hypot(p.x, p.y + r) > the_gear.params.pinion.centre_distance + r) continue;
                    double depth;
                    if (inside(gear, p, depth) != c.internal) deepest = std::max(deepest, depth);
                    ++points;
                }
            EXPECT_GT(points, 100) << "step " << step;
        }
        EXPECT_LT(deepest, 4e-3);
    }
}

// Every scene of a pinion-cut gear and of a ring records whole at first, late
// and long steps, zoomed in and out. A ring's scene '8' with its default mate
// (twice its teeth, no pinion to fit inside it) says so under the internal
// pair's legend over the ring alone, and its step goes on.
TEST(PinionCutterScenes, EverySceneRecordsAndARingWithoutAPinionSaysSo) {
    for (const PinionCut& c : PINION_CUT) {
        make_gear(c.z, c.x, 0.5, c.cutter, c.internal);
        for (char scene = FIRST_SCENE; scene < FIRST_SCENE + SCENE_COUNT; ++scene)
            for (int step : {0, 40, 3000})
                for (int zoom : {-10, 0, 20}) {
                    set_scene_state(scene, step, zoom);
                    frame(scene);
                    EXPECT_GT(frame_record.item_count, 5) << "scene " << scene << " step " << step;
                }
    }
    make_gear(50, 0.5, 0.05, RING_CUTTER, true);
    tooth_step = 7;
    frame('8');
    EXPECT_EQ(tooth_step, 8);
    const std::vector<std::string> lines = legend_lines();
    EXPECT_EQ(lines[0], "(8) a pinion inside a ring in mesh");
    EXPECT_EQ(lines[1], "     red curve : internal gear,  blue curve : mate");
    EXPECT_EQ(lines.back(), "the mate z2 = 100 cannot turn inside the ring: choose one of fewer teeth ('m')");
    EXPECT_TRUE(pair_data_shown());
    double nearest = HUGE_VAL, farthest = 0.0;  // the ring alone about its centre, between its circles
    for (const ViewSegment& seg : segments(red, 4.0f)) {
        const double d = std::hypot(seg.x0, seg.y0 + 0.05 * the_gear.params.pitch_radius) / 0.05;
        nearest = std::min(nearest, d);
        farthest = std::max(farthest, d);
    }
    EXPECT_NEAR(nearest, the_gear.params.tip_radius, 1e-3);
    EXPECT_NEAR(farthest, the_gear.params.root_radius, 1e-3);
}

// ---- scene '8' with a ring ------------------------------------------------------------------

// One gear's tooth outlines as recorded (2-pixel-wide polylines of its colour),
// model units: the segments close up round the gear.
std::vector<ViewSegment> outline_in_model(const Colour& colour, double s) {
    std::vector<ViewSegment> found = segments(colour, 4.0f);
    for (ViewSegment& seg : found) seg = {seg.x0 / s, seg.y0 / s, seg.x1 / s, seg.y1 / s};
    return found;
}

// Whether p lies inside the closed outline made of the segments (crossing count).
bool inside_outline(const std::vector<ViewSegment>& outline, double x, double y) {
    bool in = false;
    for (const ViewSegment& seg : outline)
        if ((seg.y0 > y) != (seg.y1 > y) && x < (seg.x1 - seg.x0) * (y - seg.y0) / (seg.y1 - seg.y0) + seg.x0)
            in = !in;
    return in;
}

// The published internal pair (z 16 pinion, x 0, inside a z 24 ring, x 0.5, both
// cut by a 10-tooth cutter), the ring the mate and the ring the gear: at every
// step the pinion's and the ring's teeth as drawn neither overlap (no pinion
// point outside the ring's toothed outline, no ring point inside the
// pinion's, by more than the outlines' chords) nor stand apart (they touch, no
// backlash), which holds only with both turning the same way at z2/z1; the
// legend names the pair and its interferences (the panel its data), the line of action runs
// through the pitch point and the whole pair fits the whole-gear zoom.
TEST(InternalMesh, ThePinionTurnsInsideTheRingTouchingAndNeverOverlapping) {
    Cutter cutter = SPECIFIED_CUTTER;
    cutter.teeth = 10;
    const GearChoice pairs[] = {{16, 0.0, cutter, 1.0, 24, 0.5, false, true},
                                {24, 0.5, cutter, 1.0, 16, 0.0, true, false}};
    for (const GearChoice& choice : pairs) {
        SCOPED_TRACE(choice.internal ? "the gear is the ring" : "the mate is the ring");
        ASSERT_EQ(take_gear(choice), nullptr);
        const double s = 0.04;
        const Colour& pinion_colour = choice.internal ? blue : red;
        const Colour& ring_colour = choice.internal ? red : blue;
        for (int step : {0, 3, 10, 25, 40, 77}) {
            set_scene_state('8', step, 0);
            scale_factor = s;
            frame('8');
            const std::vector<ViewSegment> pinion = outline_in_model(pinion_colour, s);
            const std::vector<ViewSegment> ring = outline_in_model(ring_colour, s);
            ASSERT_GT(pinion.size(), 16u * 20u);
            ASSERT_GT(ring.size(), 24u * 20u);
            double overlap = 0.0;
            double closest = HUGE_VAL;
            for (const ViewSegment& seg : pinion) {
                const double d = distance_to(ring, seg.x0, seg.y0);
                closest = std::min(closest, d);
                if (!inside_outline(ring, seg.x0, seg.y0)) overlap = std::max(overlap, d);
            }
            for (const ViewSegment& seg : ring)
                if (inside_outline(pinion, seg.x0, seg.y0))
                    overlap = std::max(overlap, distance_to(pinion, seg.x0, seg.y0));
            EXPECT_LT(overlap, 1e-3) << "step " << step;
            EXPECT_LT(closest, 1e-3) << "step " << step;
        }
        const std::vector<std::string> lines = legend_lines();
        EXPECT_EQ(lines[0], "(8) a pinion inside a ring in mesh");
        EXPECT_EQ(lines[6].substr(0, 47), "involute interference: the ring's tip digs into");
        const GearData gear = gear_data(the_gear, 1.0, 0.0);
        const GearData mate = gear_data(the_mate, 1.0, 0.0);
        const PairData pair = pair_data(the_gear, the_mate, gear, mate);
        ASSERT_TRUE(pair.internal);
        const ViewSegment line = segments(green).back();  // the line of action, after the base circles
        EXPECT_NEAR(line.x0 * line.y1 - line.y0 * line.x1, 0.0, 1e-9);  // through the pitch point
        EXPECT_NEAR(std::atan2(line.y1 - line.y0, line.x1 - line.x0) * 180.0 / PI,
                    pair.working_pressure_angle, 1e-6);
        const double ring_root = (choice.internal ? gear : mate).root_diameter / 2.0;
        const double ring_working =
            (choice.internal ? pair.working_pitch_diameter : pair.mate_working_pitch_diameter) / 2.0;
        const double fit = zoomed_scale(START_SCALE, whole_gear_zoom()) * (ring_working + ring_root);
        EXPECT_LT(fit, 0.95);
        EXPECT_GT(fit, 0.95 * ZOOM_STEP);
    }
    info_panel_shown = true;  // the ring's pair's data with the ring's
    frame('8');
    info_panel_shown = false;
    const std::vector<std::string> panel = legend_lines();
    EXPECT_NE(std::find(panel.begin(), panel.end(), "mate's number of teeth z2  16"), panel.end());
    Cutter trimming = cutter;  // a pinion only a few teeth smaller than its ring goes in along its axis
    ASSERT_EQ(take_gear(GearChoice{20, 0.0, trimming, 1.0, 24, 0.5, false, true}), nullptr);
    set_scene_state('8', 0, 0);
    frame('8');
    const PairData pair =
        pair_data(the_gear, the_mate, gear_data(the_gear, 1.0, 0.0), gear_data(the_mate, 1.0, 0.0));
    ASSERT_TRUE(pair.trimming_interference);
    EXPECT_EQ(legend_lines().back().substr(0, 22), "trimming interference:");
}

// ---- scenes '6' and '7' --------------------------------------------------------------------

// Scene '6': the shifted gear's circles in red, the standard gear's (less the
// shift) in blue, and the flanks: the standard tooth first, the shifted over it.
TEST(ComparisonScenes, OneToothCirclesAndFlanksInOrder) {
    make_gear(20, 0.5, 0.05);
    frame('6');
    const std::vector<ViewCircle> reds = outlines(red), blues = outlines(blue);
    ASSERT_EQ(reds.size(), 2u);
    ASSERT_EQ(blues.size(), 2u);
    EXPECT_NEAR(reds[0].radius, 0.05 * 11.5, 1e-12);  // r + 1 + x
    EXPECT_NEAR(reds[1].radius, 0.05 * 9.25, 1e-12);  // r - 1.25 + x
    EXPECT_NEAR(blues[0].radius, 0.05 * 11.0, 1e-12);
    EXPECT_NEAR(blues[1].radius, 0.05 * 8.75, 1e-12);
    EXPECT_EQ(wide_segments(blue), 2 * the_gear.standard_tooth.flank_last);
    EXPECT_EQ(wide_segments(red), 2 * the_gear.shifted_tooth.flank_last);
    const RecordItem& last = frame_record.items[frame_record.item_count - 1];
    const RecordItem& before = frame_record.items[frame_record.item_count - 2];
    EXPECT_TRUE(same_colour(last.colour, red));
    EXPECT_TRUE(same_colour(before.colour, blue));
    EXPECT_NEAR(discs(black)[0].radius, 0.1 * 0.05, 1e-12);
}

// Scene '7': z copies of each outline (where they stand: scenes_e2e_test,
// WholeGearHasTeethAllRound), the standard gear over the shifted one; both
// still pictures repeat, own no counter and show only step 0.
TEST(ComparisonScenes, WholeGearHasEveryToothOfBothAndStillPicturesRepeat) {
    make_gear(20, 0.5, 0.05);
    frame('7');
    EXPECT_EQ(wide_segments(red), 20 * the_gear.shifted_tooth.outline_last);
    EXPECT_EQ(wide_segments(blue), 20 * the_gear.standard_tooth.outline_last);
    EXPECT_TRUE(same_colour(frame_record.items[frame_record.item_count - 1].colour, blue));
    for (char scene : {'6', '7'}) {
        frame(scene);
        const std::vector<RecordVertex> first = recorded_vertices();
        frame(scene);
        EXPECT_EQ(shown_step(), 0);
        EXPECT_EQ(last_step(), 0);
        ASSERT_EQ(frame_record.vertex_count, static_cast<int>(first.size()));
        EXPECT_EQ(std::memcmp(first.data(), frame_record.vertices, first.size() * sizeof first[0]), 0);
    }
    EXPECT_EQ(addendum_step + dedendum_step + undercut_step + tooth_step, 0);
}

// A pointed tooth ends where its flanks meet (the radius the warning names),
// with no tip arc beyond it; a tooth with a tip land still reaches its tip
// circle; the standard gear's teeth are not pointed and reach theirs.
TEST(ComparisonScenes, PointedToothEndsWhereItsFlanksMeet) {
    // The farthest a 4-pixel line of the colour reaches from the gear centre, in model units.
    auto reach = [](const Colour& colour) {
        const double s = scale_factor;
        const double cy = -s * the_gear.params.pitch_radius;
        double far = 0;
        for (const ViewSegment& g : segments(colour, 4.0f))
            far = std::max({far, std::hypot(g.x0, g.y0 - cy) / s, std::hypot(g.x1, g.y1 - cy) / s});
        return far;
    };
    struct Case {
        int z;
        double x;
        bool pointed;
    };
    for (const Case& c : {Case{10, 0.8, true}, Case{20, 1.24, true}, Case{20, 0.5, false}}) {
        char warning[GEAR_WARNING_CAPACITY];
        ASSERT_EQ(gear_warning(SPECIFIED_CUTTER, c.z, c.x, warning, GEAR_WARNING_CAPACITY), c.pointed);
        const char* at = std::strstr(warning, "flanks meet at radius ");
        const double meeting = at ? std::atof(at + std::strlen("flanks meet at radius ")) : 0;
        make_gear(c.z, c.x, 0.2);
        for (char scene : {'6', '7'}) {
            SCOPED_TRACE(testing::Message() << "z = " << c.z << ", x = " << c.x << ", scene " << scene);
            frame(scene);
            EXPECT_NEAR(reach(red), c.pointed ? meeting : c.z / 2.0 + 1 + c.x, 1e-4);  // r + ha + x
            EXPECT_NEAR(reach(blue), c.z / 2.0 + 1, 1e-9);
        }
    }
}

// At the deepest zoom a picture or link takes, a dash-dot circle of 10^14 view
// units has dashes of 4.5·10^8 sub-steps: a frame walks only the ones in view
// (a frame that walked them all took 16 s, dropping them at the guard).
// So does a pinion cutter's: its copies out of view are left out one by one.
TEST(DeepZoom, AFrameWalksWhatItShows) {
    for (const PinionCut& c : {PinionCut{20, 0.5, SPECIFIED_CUTTER, false}, PINION_CUT[0], PINION_CUT[2]}) {
        make_gear(c.z, c.x, 0.5, c.cutter, c.internal);
        for (char scene = FIRST_SCENE; scene < FIRST_SCENE + SCENE_COUNT; ++scene) {
            set_scene_state(scene, 300, -300);
            record_scene_frame(800, 800);
            EXPECT_LT(frame_record.walked_unseen, 200000) << "scene " << scene;
            EXPECT_GT(frame_record.vertex_count, 0) << "scene " << scene;
        }
    }
}

// 'i' shows the gear's data over every scene and hides it again; off at start,
// so the frames are the scenes' own, and the next frame starts at the width
// it would without it. The least shift that avoids undercut (0.78209 for
// z = 8) is said rounded up: the shift said avoids it, the one a digit below
// does not.
TEST(InfoPanel, TheKeyShowsAndHidesTheGearsData) {
    make_gear(8, 0.0);
    frame('3');
    const size_t legend = legend_lines().size();
    const float width = frame_line_width;
    EXPECT_EQ(take_scene_key('i'), KEY_DRAW_FRAME);
    frame('3');
    EXPECT_EQ(frame_line_width, width);
    const std::vector<std::string> shown = legend_lines();
    ASSERT_GT(shown.size(), legend + 8);
    EXPECT_EQ(shown[legend], "number of teeth z  8");
    EXPECT_NE(std::find(shown.begin(), shown.end(), "least shift without undercut  0.7821"), shown.end());
    make_gear(8, 0.7821);
    EXPECT_FALSE(gear_data(the_gear, 1.0, 0.0).undercut);
    make_gear(8, 0.7820);
    EXPECT_TRUE(gear_data(the_gear, 1.0, 0.0).undercut);
    take_scene_key('i');
    frame('3');
    EXPECT_EQ(legend_lines().size(), legend);
}

// A text item's extent in pixels of the frame: left, top, right, bottom.
struct TextBox {
    double left, top, right, bottom;
};
TextBox text_box(const RecordItem& item) {
    const RecordVertex& at = frame_record.vertices[item.first_vertex];
    const double x = (at.x + 1.0) * frame_record.width / 2.0;
    const double y = (1.0 - at.y) * frame_record.height / 2.0;
    return {x, y - 14.0, x + legend_text_pixels(frame_record.text + item.text_offset), y + 5.0};
}

// In every scene, at any frame size, in both languages, the panel is drawn
// last: a white box, its black border, then its lines, every one inside the
// box, the box inside the frame and clear of the legend. A frame with room
// holds every row meant for the panel; a small one keeps the first of those
// meant for a small panel (z first), and a frame too small for any row has no
// panel rather than one cut off.
TEST(InfoPanel, AnOpaqueBoxHoldsEveryLineWithinTheFrameAndOffTheLegend) {
    make_gear(12, 0.6);
    info_panel_shown = true;
    const int sizes[][2] = {{800, 800}, {1920, 1080}, {500, 300}, {320, 640}, {240, 240}, {60, 60}};
    for (bool japanese : {false, true}) {
        legends_in_japanese = japanese;
        for (char scene = FIRST_SCENE; scene < FIRST_SCENE + SCENE_COUNT; ++scene) {
            for (const auto& size : sizes) {
                set_scene_state(scene, 40, 3);
                record_scene_frame(size[0], size[1]);
                const std::string where = std::string("scene ") + scene + " at " + std::to_string(size[0]) +
                                          "x" + std::to_string(size[1]) + (japanese ? " ja" : "");
                int first = frame_record.item_count;
                while (first > 0 && frame_record.items[first - 1].layer == ITEM_LAYER_PANEL) --first;
                const int panel_items = frame_record.item_count - first;
                if (size[0] == 60) {
                    EXPECT_EQ(panel_items, 0) << where;
                    continue;
                }
                ASSERT_GE(panel_items, 3) << where;
                const RecordItem& fill = frame_record.items[first];
                const RecordItem& border = frame_record.items[first + 1];
                ASSERT_EQ(fill.kind, ItemKind::POLYGON) << where;
                EXPECT_TRUE(same_colour(fill.colour, Colour{1, 1, 1, 0})) << where;
                ASSERT_EQ(border.kind, ItemKind::LINE_LOOP) << where;
                EXPECT_TRUE(same_colour(border.colour, black)) << where;
                TextBox box = {1e9, 1e9, -1e9, -1e9};
                for (int k = 0; k < fill.vertex_count; ++k) {
                    const RecordVertex& v = frame_record.vertices[fill.first_vertex + k];
                    EXPECT_TRUE(v.x >= -1.0 && v.x <= 1.0 && v.y >= -1.0 && v.y <= 1.0) << where;
                    box.left = std::min(box.left, (v.x + 1.0) * size[0] / 2.0);
                    box.right = std::max(box.right, (v.x + 1.0) * size[0] / 2.0);
                    box.top = std::min(box.top, (1.0 - v.y) * size[1] / 2.0);
                    box.bottom = std::max(box.bottom, (1.0 - v.y) * size[1] / 2.0);
                }
                std::vector<std::string> lines;
                for (int i = first + 2; i < frame_record.item_count; ++i) {
                    const RecordItem& item = frame_record.items[i];
                    ASSERT_EQ(item.kind, ItemKind::TEXT) << where;
                    lines.push_back(frame_record.text + item.text_offset);
                    const TextBox line = text_box(item);
                    EXPECT_TRUE(line.left >= box.left && line.right <= box.right && line.top >= box.top &&
                                line.bottom <= box.bottom)
                        << where << ": " << lines.back();
                }
                for (int i = 0; i < first; ++i) {
                    if (frame_record.items[i].kind != ItemKind::TEXT) continue;
                    const TextBox legend = text_box(frame_record.items[i]);
                    EXPECT_FALSE(legend.left < box.right && box.left < legend.right &&
                                 legend.top < box.bottom && box.top < legend.bottom)
                        << where << ": over " << frame_record.text + frame_record.items[i].text_offset;
                }
                EXPECT_EQ(lines[0], japanese ? "歯数 z  12" : "number of teeth z  12") << where;
                if (size[0] >= 800) {  // every row flagged for the panel, in the mesh the pair's too
                    const auto panel_rows = [](const DataRows& rows) {
                        return static_cast<int>(std::count_if(
                            rows.rows, rows.rows + rows.count,
                            [](const DataRow& row) { return (row.shown & ROW_IN_PANEL) != 0; }));
                    };
                    const GearData gear = gear_data(the_gear, 1.0, 0.0);
                    const GearData mate = gear_data(the_mate, 1.0, 0.0);
                    const int rows =
                        panel_rows(gear_rows(gear)) +
                        (scene == MESH_SCENE
                             ? panel_rows(pair_rows(mate, pair_data(the_gear, the_mate, gear, mate)))
                             : 0);
                    EXPECT_EQ(static_cast<int>(lines.size()), rows) << where;
                    const char* undercut = japanese ? "切り下げ  なし" : "undercut  no";
                    EXPECT_NE(std::find(lines.begin(), lines.end(), undercut), lines.end()) << where;
                }
                if (size[0] >= 800 && scene == MESH_SCENE) {  // degrees with their sign in Japanese
                    const std::string name = japanese ? "かみあい圧力角  " : "working pressure angle  ";
                    const std::string unit = japanese ? "°" : " deg";
                    EXPECT_NE(
                        std::find_if(lines.begin(), lines.end(),
                                     [&](const std::string& line) {
                                         return line.rfind(name, 0) == 0 &&
                                                line.size() > name.size() + unit.size() &&
                                                line.compare(line.size() - unit.size(), unit.size(), unit) ==
                                                    0 &&
                                                std::isdigit(static_cast<unsigned char>(line[name.size()]));
                                     }),
                        lines.end())
                        << where;
                }
            }
        }
    }
    legends_in_japanese = false;
    info_panel_shown = false;
}
}  // namespace
