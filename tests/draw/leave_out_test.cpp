// Leaving out what cannot be seen never changes the picture: real scene
// frames recorded whole and with leaving out, compared piece by piece. What
// is left must be what the whole record has, in the same order, and every
// piece of the whole record that can light a pixel must be left.
#include "draw/draw.hpp"
#include "record/device.hpp"
#include "scenes/scenes.hpp"
#include "tests/record/record_reading.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// One piece of a record: a segment of a line item, or a whole outline,
// polygon or text item, with what it is drawn with.
struct Piece {
    ItemKind kind;
    Colour colour;
    float width;
    std::vector<double> coordinates;
    std::string text;
};

bool same_piece(const Piece& a, const Piece& b) {
    return a.kind == b.kind && same_colour(a.colour, b.colour) && a.width == b.width &&
           a.coordinates == b.coordinates && a.text == b.text;
}

std::vector<Piece> pieces() {
    std::vector<Piece> found;
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        const RecordVertex* v = frame_record.vertices + item.first_vertex;
        Piece piece = {item.kind, item.colour, item.width, {}, ""};
        if (item.kind == ItemKind::TEXT) piece.text = frame_record.text + item.text_offset;
        if (item.kind == ItemKind::LINES) {
            for (int k = 0; k + 1 < item.vertex_count; k += 2) {
                piece.coordinates = {v[k].x, v[k].y, v[k + 1].x, v[k + 1].y};
                found.push_back(piece);
            }
            continue;
        }
        for (int k = 0; k < item.vertex_count; ++k) {
            piece.coordinates.push_back(v[k].x);
            piece.coordinates.push_back(v[k].y);
        }
        found.push_back(piece);
    }
    return found;
}

// Can the segment a-b, drawn width pixels wide, light a pixel of a frame of
// width × height? (Its half width and one pixel more around the view.)
bool lights_a_pixel(double ax, double ay, double bx, double by, float width, int w, int h) {
    const double lx = 1 + (width / 2.0 + 1) * 2 / w;
    const double ly = 1 + (width / 2.0 + 1) * 2 / h;
    const int steps = 64;  // the segment sampled finely enough for a test
    for (int i = 0; i <= steps; ++i) {
        const double x = ax + (bx - ax) * i / steps;
        const double y = ay + (by - ay) * i / steps;
        if (std::fabs(x) <= lx && std::fabs(y) <= ly) return true;
    }
    // A long segment may cross the view between samples: cut it against the box.
    const double dx = bx - ax, dy = by - ay;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax + lx, lx - ax, ay + ly, ly - ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    return t0 <= t1;
}

bool can_be_seen(const Piece& piece, int w, int h) {
    if (piece.kind == ItemKind::TEXT) return true;
    const std::vector<double>& c = piece.coordinates;
    const size_t n = c.size() / 2;
    const size_t edges = piece.kind == ItemKind::LINES ? 1 : n;
    for (size_t e = 0; e < edges; ++e) {
        const size_t f = (e + 1) % n;
        if (lights_a_pixel(c[2 * e], c[2 * e + 1], c[2 * f], c[2 * f + 1], piece.width, w, h)) return true;
    }
    return false;
}

struct Case {
    char scene;
    int z;
    double x;
    int step;
    int zoom;  // 'w' presses; negative: 'W'
    int width;
    int height;
};

void expect_same_picture(const Case& c) {
    SCOPED_TRACE(testing::Message() << "scene " << c.scene << " z=" << c.z << " step " << c.step << " zoom "
                                    << c.zoom << " " << c.width << "x" << c.height);
    compute_gear(c.z, c.x);
    double s = 0.5;
    for (int i = 0; i < c.zoom; ++i) s *= 0.9;
    for (int i = 0; i > c.zoom; --i) s /= 0.9;
    scale_factor = s;
    device_line_width(2);  // as every frame but a run's first finds it
    addendum_step = dedendum_step = undercut_step = tooth_step = c.step;
    record_scene_frame(c.scene, c.width, c.height, false);
    ASSERT_FALSE(frame_record.overflowed);
    const std::vector<Piece> whole = pieces();
    addendum_step = dedendum_step = undercut_step = tooth_step = c.step;
    record_scene_frame(c.scene, c.width, c.height, true);
    ASSERT_FALSE(frame_record.overflowed);
    const std::vector<Piece> left = pieces();
    EXPECT_LT(left.size(), whole.size() + 1);
    size_t at = 0;  // left must be a subsequence of whole, and miss nothing that shows
    int shown = 0;
    for (const Piece& piece : left) {
        while (at < whole.size() && !same_piece(whole[at], piece)) {
            ASSERT_FALSE(can_be_seen(whole[at], c.width, c.height)) << "left out but in view: piece " << at;
            ++at;
        }
        ASSERT_LT(at, whole.size()) << "a piece that the whole record does not have, or out of order";
        ++at;
        ++shown;
    }
    for (; at < whole.size(); ++at)
        ASSERT_FALSE(can_be_seen(whole[at], c.width, c.height)) << "left out but in view: piece " << at;
    EXPECT_GT(shown, 5);
}

TEST(LeaveOut, EverySceneAtTheStartZoom) {
    for (int z : {8, 20, 100})
        for (char scene = '1'; scene <= '7'; ++scene)
            expect_same_picture(Case{scene, z, 0.5, 7, 0, 800, 800});
}

TEST(LeaveOut, ZoomedInAndOutAndLongRuns) {
    expect_same_picture(Case{'1', 20, 0.5, 60, -20, 800, 800});  // pitch circle of view radius 41
    expect_same_picture(Case{'2', 12, 0.3, 40, -25, 800, 800});
    expect_same_picture(Case{'3', 20, 0.0, 250, -10, 800, 800});
    expect_same_picture(Case{'6', 20, 0.5, 0, -40, 800, 800});  // one flank far larger than the view
    expect_same_picture(Case{'7', 20, 0.5, 0, 30, 800, 800});   // the whole gear small
    expect_same_picture(Case{'7', 400, 0.5, 0, -8, 800, 800});
    expect_same_picture(Case{'4', 20, 0.5, 1000, 0, 800, 800});
    expect_same_picture(Case{'4', 8, 0.5, 700, 15, 800, 800});
    expect_same_picture(Case{'5', 8, 0.5, 600, -6, 800, 800});
    expect_same_picture(Case{'5', 20, 0.5, 300, 0, 800, 800});
}

TEST(LeaveOut, WindowsThatAreNotSquare) {
    expect_same_picture(Case{'1', 20, 0.5, 30, 0, 1600, 400});
    expect_same_picture(Case{'5', 20, 0.5, 150, 0, 1600, 400});
    expect_same_picture(Case{'2', 20, 0.5, 30, -10, 400, 800});
}

}  // namespace
