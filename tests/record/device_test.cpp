// The record's device: its double-precision matrix stack, the items it
// records, the cut to the guard square, and the bounded appends.
#include "record/device.hpp"
#include "tests/record/record_reading.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const Colour RED = {1, 0, 0, 0};
const Colour BLUE = {0, 0, 1, 0};

void line(double x0, double y0, double x1, double y1) {
    device_begin(ItemKind::LINES);
    device_vertex(x0, y0);
    device_vertex(x1, y1);
    device_end();
}

TEST(DeviceMatrix, TranslateRotatePushPopComposeAsGlDoes) {
    begin_record({800, 800, 1.0f, true});
    device_translate(0.5, 0.25);
    device_push_matrix();
    device_rotate(M_PI / 2);  // counter-clockwise
    device_translate(1, 0);   // in the turned frame: +y of the view
    device_colour(RED);
    line(0, 0, 0.5, 0);
    device_pop_matrix();
    line(0, 0, 0, 0);
    const std::vector<ViewSegment> s = segments(RED);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_NEAR(s[0].x0, 0.5, 1e-15);
    EXPECT_NEAR(s[0].y0, 1.25, 1e-15);
    EXPECT_NEAR(s[0].x1, 0.5, 1e-15);
    EXPECT_NEAR(s[0].y1, 1.75, 1e-15);
    EXPECT_EQ(s[1].x0, 0.5);  // the pop gave the translation back exactly
    EXPECT_EQ(s[1].y0, 0.25);
    EXPECT_FALSE(frame_record.overflowed);
    // A pop of the last matrix and a push past the depth are refused and noted.
    device_pop_matrix();
    device_pop_matrix();
    EXPECT_TRUE(frame_record.overflowed);
    begin_record({800, 800, 1.0f, true});
    for (int i = 0; i < DEVICE_MATRIX_DEPTH + 3; ++i) device_push_matrix();
    EXPECT_TRUE(frame_record.overflowed);
    begin_record({800, 800, 1.0f, true});  // and the next frame starts from the identity
    EXPECT_EQ(device_matrix().x0, 0);
    EXPECT_EQ(device_matrix().xx, 1);
}

// Far coordinates never reach a painter: a line is cut where it leaves the
// guard square, exactly on itself, and a line wholly outside is dropped.
TEST(DeviceGuard, LinesAreCutToTheGuardInDoublePrecision) {
    begin_record({800, 800, 1.0f, true});
    device_colour(RED);
    device_translate(0, 1e7);  // a deep zoom's offset, subtracted here, not by GL
    line(-1e9, 0.5 - 1e7, 1e9, 0.5 - 1e7);
    line(5, -1e7 + 5, 6, -1e7 + 6);  // outside
    const std::vector<ViewSegment> s = segments(RED);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].x0, -2);
    EXPECT_EQ(s[0].x1, 2);
    EXPECT_EQ(s[0].y0, 0.5);
    EXPECT_EQ(s[0].y1, 0.5);
}

TEST(DeviceGuard, OutlinesBecomeCutSegmentsAndPolygonsAreCut) {
    begin_record({800, 800, 1.0f, true});
    device_colour(BLUE);
    device_begin(ItemKind::LINE_LOOP);  // a square of side 6 about the centre
    device_vertex(-3, -3);
    device_vertex(-3, 3);
    device_vertex(3, 3);
    device_vertex(3, -3);
    device_end();
    EXPECT_EQ(frame_record.item_count, 0) << "wholly outside: nothing to paint";
    device_begin(ItemKind::POLYGON);
    device_vertex(-1, -1);
    device_vertex(5, -1);
    device_vertex(-1, 5);
    device_end();
    ASSERT_EQ(frame_record.item_count, 1);
    const RecordItem& cut = frame_record.items[0];
    EXPECT_EQ(cut.kind, ItemKind::POLYGON);
    for (int i = 0; i < cut.vertex_count; ++i) {
        const RecordVertex& v = frame_record.vertices[cut.first_vertex + i];
        EXPECT_LE(std::fabs(v.x), 2.0);
        EXPECT_LE(std::fabs(v.y), 2.0);
        EXPECT_LE(v.x + v.y, 4.0 + 1e-12);  // still on the triangle's side of its long edge
    }
    EXPECT_EQ(cut.vertex_count, 5);  // (-1,-1) (2,-1) (2,2) (2,2) (-1,2): the corner comes once per cut
    device_begin(ItemKind::LINE_LOOP);
    device_vertex(0, 0);
    device_vertex(3, 0);
    device_vertex(0, 1);
    device_end();
    const RecordItem& loop = frame_record.items[1];
    EXPECT_EQ(loop.kind, ItemKind::LINES);
    EXPECT_EQ(loop.vertex_count, 6);
}

// An outline or polygon longer than the device's copy of one is cut all the
// same: the outline into the segments its edges give as lines, the polygon
// (a 300-gon about the whole guard square) into the square.
TEST(DeviceGuard, LongOutlinesAndPolygonsAreCutToo) {
    constexpr int N = 300;
    const auto vertex = [](int i, double r) {
        device_vertex(r * std::cos(i * 2 * M_PI / N), r * std::sin(i * 2 * M_PI / N));
    };
    begin_record({800, 800, 1.0f, true});
    device_colour(RED);
    device_begin(ItemKind::LINE_LOOP);
    for (int i = 0; i < N; ++i) vertex(i, 2.5);
    device_end();
    device_colour(BLUE);
    device_begin(ItemKind::LINES);
    for (int i = 0; i < N; ++i) {
        vertex(i, 2.5);
        vertex(i + 1, 2.5);
    }
    device_end();
    const std::vector<ViewSegment> loop = segments(RED);
    const std::vector<ViewSegment> lines = segments(BLUE);
    EXPECT_GT(lines.size(), 0u);
    EXPECT_LT(lines.size(), static_cast<size_t>(N));  // some edges lie wholly outside
    EXPECT_TRUE(loop.size() == lines.size() && all_found_in(loop, lines));

    begin_record({800, 800, 1.0f, true});
    device_begin(ItemKind::POLYGON);
    for (int i = 0; i < N; ++i) vertex(i, 3.0);
    device_end();
    ASSERT_EQ(frame_record.item_count, 1);
    const RecordItem& cut = frame_record.items[0];
    double area = 0;
    for (int i = 0; i < cut.vertex_count; ++i) {
        const RecordVertex& a = frame_record.vertices[cut.first_vertex + i];
        const RecordVertex& b = frame_record.vertices[cut.first_vertex + (i + 1) % cut.vertex_count];
        EXPECT_LE(std::fmax(std::fabs(a.x), std::fabs(a.y)), 2.0);
        area += 0.5 * (a.x * b.y - a.y * b.x);
    }
    EXPECT_NEAR(area, 16.0, 1e-9);
    EXPECT_FALSE(frame_record.overflowed);
}

// One draw for the painter where GL would have had several: consecutive line
// items of one colour, width and layer are one item; anything else starts a new one.
TEST(DeviceItems, LinesOfTheSameKindMergeAndAttributesAreKept) {
    begin_record({800, 800, 1.0f, true});
    device_line_width(2);
    device_colour(RED);
    line(0, 0, 1, 0);
    line(0, 1, 1, 1);
    device_colour(BLUE);
    line(0, 0, 1, 1);
    device_layer(ITEM_LAYER_TRACE);
    line(0, 0, 1, 1);
    device_text(-0.9, 0.95, "(1) legend");
    ASSERT_EQ(frame_record.item_count, 4);
    EXPECT_EQ(frame_record.items[0].vertex_count, 4);
    EXPECT_EQ(frame_record.items[0].width, 2.0f);
    EXPECT_EQ(frame_record.items[2].layer, ITEM_LAYER_TRACE);
    EXPECT_EQ(legend_lines(), std::vector<std::string>{"(1) legend"});
    EXPECT_EQ(frame_record.items[3].vertex_count, 1);
    // The next frame starts at its own settings' width, and on the plain layer.
    begin_record({400, 300, 4.0f, false});
    EXPECT_EQ(device_line_width(), 4.0f);
    EXPECT_FALSE(device_frame().leave_out_unseen);
    EXPECT_EQ(frame_record.width, 400);
    line(0, 0, 1, 1);
    EXPECT_EQ(frame_record.items[0].layer, ITEM_LAYER_PLAIN);
}

// Every append stops at its capacity and says so; nothing is written past it.
TEST(DeviceItems, AFullRecordDropsAndSaysSo) {
    begin_record({800, 800, 1.0f, true});
    for (int i = 0; i <= RECORD_ITEM_CAPACITY; ++i) {
        device_colour(i % 2 ? RED : BLUE);
        line(0, 0, 0.5, 0.5);
    }
    EXPECT_EQ(frame_record.item_count, RECORD_ITEM_CAPACITY);
    EXPECT_TRUE(frame_record.overflowed);
    begin_record({800, 800, 1.0f, true});
    device_begin(ItemKind::LINES);
    for (int i = 0; i < RECORD_VERTEX_CAPACITY / 2 + 10; ++i) {
        device_vertex(0, 0);
        device_vertex(1, 1);
    }
    device_end();
    EXPECT_EQ(frame_record.vertex_count, RECORD_VERTEX_CAPACITY);
    EXPECT_TRUE(frame_record.overflowed);
    begin_record({800, 800, 1.0f, true});
    std::string long_text(RECORD_TEXT_CAPACITY, 'x');
    device_text(0, 0, long_text.c_str());
    EXPECT_EQ(frame_record.item_count, 0);
    EXPECT_TRUE(frame_record.overflowed);
}

}  // namespace
