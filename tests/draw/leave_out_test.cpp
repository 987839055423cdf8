// Leaving out what cannot be seen must leave out nothing that can: each
// scene's frame recorded whole and recorded as a user sees it, from the same
// state, and every part of the whole record that reaches the view found,
// unchanged, in the other. No GL: the records are compared, not pixels.
#include "choice/choice.hpp"
#include "draw/draw.hpp"
#include "geometry/geometry.hpp"
#include "record/device.hpp"
#include "scenes/scenes.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The frame of the scene at the step and zoom, into frame_record.
void record_at(char scene, int step, int zoom, int width, int height, bool leave_out_unseen) {
    set_scene_state(scene, step, zoom);
    record_scene_frame(width, height, leave_out_unseen);
}

// A part of a record: a segment (its ends a, b), a polygon (its box, and its
// vertex count as detail) or a legend line (its position, and a hash of its
// text as detail), with the kind, colour, width and layer of its item.
struct Part {
    const RecordItem& item;
    ItemKind kind;
    long long detail;
    double ax, ay, bx, by;
};

// Calls visit with each part of frame_record; with only_in_view, with the
// legend lines and the parts that reach the view widened by their line width.
template <typename Visit>
void for_each_part(bool only_in_view, Visit visit) {
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        const RecordVertex* v = frame_record.vertices + item.first_vertex;
        const int n = item.vertex_count;
        const double reach_x = 1 + 2.0 * item.width / frame_record.width;  // half the pixels span a view unit
        const double reach_y = 1 + 2.0 * item.width / frame_record.height;
        if (item.kind == ItemKind::TEXT) {
            const std::size_t hash = std::hash<std::string>()(frame_record.text + item.text_offset);
            visit(Part{item, item.kind, static_cast<long long>(hash), v[0].x, v[0].y, 0, 0});
        } else if (item.kind == ItemKind::POLYGON) {
            RecordVertex low = v[0];
            RecordVertex high = v[0];
            for (int k = 1; k < n; ++k) {
                low = {std::fmin(low.x, v[k].x), std::fmin(low.y, v[k].y)};
                high = {std::fmax(high.x, v[k].x), std::fmax(high.y, v[k].y)};
            }
            if (!only_in_view ||
                (high.x >= -reach_x && low.x <= reach_x && high.y >= -reach_y && low.y <= reach_y))
                visit(Part{item, item.kind, n, low.x, low.y, high.x, high.y});
        } else {  // a closed outline is its segments, as an open one
            const bool loop = item.kind == ItemKind::LINE_LOOP;
            for (int k = 0; loop ? k < n : k + 1 < n; k += loop ? 1 : 2) {
                RecordVertex a = v[k];
                RecordVertex b = v[(k + 1) % n];
                if (!only_in_view || cut_segment(a, b, -reach_x, reach_x, -reach_y, reach_y))
                    visit(Part{item, ItemKind::LINES, 0, v[k].x, v[k].y, v[(k + 1) % n].x, v[(k + 1) % n].y});
            }
        }
    }
}

// The part as one 64-bit key, its coordinates rounded to 1e-9 view units (far
// below a pixel; both records place a part with the same arithmetic, so its
// coordinates round alike).
std::uint64_t key(const Part& p) {
    const long long fields[] = {static_cast<long long>(p.kind),
                                p.item.layer,
                                std::lround(8 * p.item.width),
                                std::lround(255 * p.item.colour.red),
                                std::lround(255 * p.item.colour.green),
                                std::lround(255 * p.item.colour.blue),
                                p.detail,
                                std::llround(p.ax * 1e9),
                                std::llround(p.ay * 1e9),
                                std::llround(p.bx * 1e9),
                                std::llround(p.by * 1e9)};
    std::uint64_t h = 0;
    for (long long field : fields) {  // splitmix64's finaliser over each field in turn
        h += static_cast<std::uint64_t>(field) + 0x9e3779b97f4a7c15u;
        h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9u;
        h = (h ^ (h >> 27)) * 0x94d049bb133111ebu;
        h ^= h >> 31;
    }
    return h;
}

std::vector<std::uint64_t> sorted_keys(bool only_in_view) {
    std::vector<std::uint64_t> keys;
    for_each_part(only_in_view, [&](const Part& p) { keys.push_back(key(p)); });
    std::sort(keys.begin(), keys.end());
    return keys;
}

// Records the case both ways and fails with the parts in view that the frame
// as seen lacks; the whole frame last, so that a failure can name one.
void expect_nothing_in_view_left_out(char scene, int step, int zoom, int width, int height) {
    SCOPED_TRACE(testing::Message() << "scene " << scene << " z=" << the_gear.params.z << " step " << step
                                    << " zoom " << zoom << " " << width << "x" << height);
    record_at(scene, step, zoom, width, height, true);
    ASSERT_FALSE(frame_record.overflowed);
    const std::vector<std::uint64_t> kept = sorted_keys(false);
    record_at(scene, step, zoom, width, height, false);
    ASSERT_FALSE(frame_record.overflowed);
    const std::vector<std::uint64_t> in_view = sorted_keys(true);
    std::vector<std::uint64_t> missing;
    std::set_difference(in_view.begin(), in_view.end(), kept.begin(), kept.end(),
                        std::back_inserter(missing));
    if (missing.empty()) return;
    testing::Message first;
    bool found = false;
    for_each_part(true, [&](const Part& p) {
        if (found || key(p) != missing[0]) return;
        found = true;
        first << "kind " << static_cast<int>(p.kind) << ", colour " << p.item.colour.red << " "
              << p.item.colour.green << " " << p.item.colour.blue << ", width " << p.item.width << ", layer "
              << p.item.layer << ": (" << p.ax << ", " << p.ay << ") (" << p.bx << ", " << p.by << ")";
    });
    ADD_FAILURE() << missing.size() << " of " << in_view.size() << " parts in view left out, such as "
                  << first;
}

// Small, middle and the largest gears, each scene at its first, a middle and
// (where the scene goes on) a late step, zoomed out, in and far in, in a
// square and a wide frame. The whole record walks every dash of a circle however
// far it reaches beyond the view, so each gear is zoomed in only as far as keeps
// its pitch circle within about 50 view units (the small gear at W×100 would
// take some 20 seconds a frame). Two gears are cut with other cutters: rounded
// tips, whose arcs zoomed in are walked only where they reach the view, and a
// larger pressure angle; three by pinion-type cutters, one of them a ring, whose
// cutters' teeth are judged copy by copy, and one a pinion inside a ring.
TEST(LeaveOutUnseen, EveryPartInViewIsKeptUnchanged) {
    struct GearCase {
        int z;
        double x;
        std::vector<int> zooms;
        Cutter cutter;
        bool internal;
        int mate_z = 0;
        double mate_x = 0.0;
        bool mate_internal = false;
    };
    for (const GearCase& gear :
         {GearCase{8, 0.3, {0, 15, -10, -30}, SPECIFIED_CUTTER, false},
          GearCase{20, 0.5, {0, 15, -10}, SPECIFIED_CUTTER, false},
          GearCase{1000, 0.0, {30}, SPECIFIED_CUTTER, false},
          GearCase{8, 0.3, {0, -15, -30}, Cutter{20.0, 1.0, 1.25, 0.38}, false},
          GearCase{20, 0.0, {0, -20}, Cutter{25.0, 1.0, 1.25, 0.0}, false},
          GearCase{12, 0.0, {0, 8, -20}, Cutter{20.0, 1.0, 1.25, 0.3, 25, 0.2}, false},
          GearCase{50, 0.5, {0, 25, -10}, Cutter{20.0, 1.0, 1.25, 0.0, 20, 0.0}, true},
          GearCase{16, 0.0, {0, 20, -10}, Cutter{20.0, 1.0, 1.25, 0.0, 10, 0.0}, false, 24, 0.5, true}}) {
        ASSERT_EQ(take_gear(GearChoice{gear.z, gear.x, gear.cutter, 1.0, gear.mate_z, gear.mate_x,
                                       gear.internal, gear.mate_internal}),
                  nullptr);
        for (char scene = FIRST_SCENE; scene < FIRST_SCENE + SCENE_COUNT; ++scene) {
            std::vector<int> steps = {0};
            if (scene <= '5' || gear.mate_internal) steps.push_back(20);
            if (scene <= '3') steps.push_back(250);  // the curve's last step
            if (scene == '4' || scene == '5') steps.push_back(300);
            for (int step : steps)
                for (int zoom : gear.zooms)
                    for (int height : {800, 400})
                        expect_nothing_in_view_left_out(scene, step, zoom, 800, height);
        }
    }
}

}  // namespace
