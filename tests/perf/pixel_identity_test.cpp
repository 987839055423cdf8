// Leaving out what cannot be seen must not change the picture: real frames
// of the real scenes, recorded once with every figure and once leaving out
// what cannot be seen (both placed exactly), painted, read back with
// glReadPixels and compared pixel for pixel.
// Runs in a window of its own Xvfb (started here on a display it picks itself,
// killed at exit). Owns that Xvfb process and the two frame buffers.
#include "scenes/scenes.hpp"
#include "app/trace_mask.hpp"
#include "trace/gl_lines.hpp"
#include "bench/real_frame.hpp"
#include "draw/draw.hpp"
#include "tests/e2e/e2e.hpp"

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <random>

namespace {

TraceMask line_mask;  // the line of a case set by the rule alone, to compare with GL and the window's mask

constexpr int MAX_WIDTH = 1600;
constexpr int MAX_HEIGHT = 800;
unsigned char everything[MAX_WIDTH * MAX_HEIGHT * 3];    // frame drawn with every figure
unsigned char only_visible[MAX_WIDTH * MAX_HEIGHT * 3];  // the same frame, culled

// One window per process: GLUT can be initialised only once.
const char* window() {
    static const char* problem = "not tried";
    static bool tried = false;
    if (tried) return problem;
    tried = true;
    problem = use_private_xserver("1700x1024x24");
    if (problem == nullptr) problem = open_frame_window();
    return problem;
}

// With RACKGEN_FRAME_DIR set, keeps a frame there as a PPM picture.
void keep_frame(const FrameCase& c, const unsigned char* pixels, const char* suffix) {
    const char* dir = std::getenv("RACKGEN_FRAME_DIR");
    if (dir == nullptr) return;
    char name[96];
    char path[512];
    std::snprintf(path, sizeof path, "%s/%s %s.ppm", dir, frame_case_name(c, name, sizeof name), suffix);
    if (FILE* f = std::fopen(path, "wb")) {
        std::fprintf(f, "P6\n%d %d\n255\n", c.width, c.height);
        for (int row = c.height - 1; row >= 0; --row)
            std::fwrite(pixels + row * c.width * 3, 1, c.width * 3, f);
        std::fclose(f);
    }
}

bool is_white(const unsigned char* p) {
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
}
bool is_blue(const unsigned char* p) {
    return p[0] == 0 && p[1] == 0 && p[2] == 255;
}
bool is_green(const unsigned char* p) {
    return p[0] == 0 && p[1] == 255 && p[2] == 0;
}

// Pixels of the case's frame in pixels that are of the kind.
int pixels_of(const FrameCase& c, const unsigned char* pixels, bool (*kind)(const unsigned char*)) {
    int found = 0;
    for (int i = 0; i < c.width * c.height; ++i) found += kind(pixels + 3 * i);
    return found;
}

// Pixels of the case's frame that differ between the two buffers; the index
// of the first of them in first (-1 when none does).
int differing_pixels(const FrameCase& c, int* first = nullptr) {
    int differing = 0;
    if (first != nullptr) *first = -1;
    for (int i = 0; i < c.width * c.height; ++i)
        if (std::memcmp(everything + 3 * i, only_visible + 3 * i, 3) != 0) {
            if (first != nullptr && *first < 0) *first = i;
            ++differing;
        }
    return differing;
}

// Draws the case both ways and compares. Fails with the first differing pixel
// and their number; also fails on a blank frame, which would prove nothing.
void expect_same_pixels(const FrameCase& c) {
    char name[96];
    SCOPED_TRACE(frame_case_name(c, name, sizeof name));
    const char* problem = prepare_frame(c);
    ASSERT_EQ(problem, nullptr) << problem;

    // A frame first: the very first frame of a run starts unlit with 1-pixel
    // lines (a black legend, thin circles), every later one lit with 2 pixels.
    draw_frame(c);
    draw_frame(c, false);
    read_frame(c, everything);
    draw_frame(c, true);
    read_frame(c, only_visible);
    keep_frame(c, everything, "everything");
    keep_frame(c, only_visible, "only visible");

    // A frame worth comparing: the white background, and some blue figure on it.
    EXPECT_GT(pixels_of(c, everything, is_white), c.width * c.height / 2);
    EXPECT_GT(pixels_of(c, everything, is_blue), 20);
    int first = -1;
    EXPECT_EQ(differing_pixels(c, &first), 0) << "first difference at column " << first % c.width << ", row "
                                              << first / c.width << " from the bottom";
}

FrameCase frame(char scene, int z, double x, int step = 0, int zoom = 0, int width = 800, int height = 800) {
    return FrameCase{scene, z, x, step, zoom, width, height};
}

class PixelIdentity : public ::testing::Test {
protected:
    void SetUp() override {
        const char* problem = window();
        ASSERT_EQ(problem, nullptr) << problem;
    }
};

// Every scene of small and middle gears, and frames whose figures reach out
// of the window in each way the drawing layer leaves them out.
TEST_F(PixelIdentity, CulledFramesPaintLikeWholeOnes) {
    for (int z : {8, 20, 100})
        for (char scene = FIRST_SCENE; scene < FIRST_SCENE + SCENE_COUNT; ++scene)
            expect_same_pixels(frame(scene, z, z == 20 ? 0.0 : 0.5, 7));
    for (const FrameCase& c :
         {// Large gears whose circles reach far outside.
          frame('1', 400, 0.5), frame('6', 400, -0.5), frame('7', 400, 0.5), frame('4', 1000, 0.0, 40),
          // Zoomed in and out.
          frame('1', 20, 0.5, 60, -20),  // W×20: pitch circle of view radius 41
          frame('2', 12, 0.3, 40, -25), frame('3', 20, 0.0, 250, -10),  // the undercut at its last step
          frame('6', 20, 0.5, 0, -24),                                  // one flank, far larger than the view
          frame('6', 20, 0.5, 0, -40), frame('7', 20, 0.5, 0, 30),      // w×30: the whole gear small
          frame('4', 100, 0.0, 300, 20), frame('7', 100, 0.5, 0, -8), frame('7', 400, 0.5, 0, -8),
          // Racks rolling and the gear turned.
          frame('4', 20, 0.5, 78), frame('4', 20, 0.5, 1000), frame('5', 20, 0.5, 37),
          frame('5', 20, 0.5, 300),
          frame('5', 20, 0.5, 10000),  // 13,800 trace lines in view, their union solid
          frame('5', 8, 0.5, 600, -6), frame('3', 30, 0.0, 250),
          // Windows that are not square.
          frame('1', 20, 0.5, 30, 0, 1600, 400), frame('5', 20, 0.5, 150, 0, 1600, 400),
          frame('7', 40, 0.5, 0, -5, 1600, 400), frame('2', 20, 0.5, 30, -10, 400, 800),
          frame('6', 20, 0.5, 0, 0, 400, 800)})
        expect_same_pixels(c);
}

// The frame the window shows after a run of frames, each the next step,
// against a frame of the run's last step drawn afresh (every figure recorded,
// so nothing kept from the run is used): pixel for pixel.
void expect_run_ends_as_fresh(const FrameCase& c, int steps, const char* what) {
    SCOPED_TRACE(what);
    for (int i = 0; i < steps; ++i) draw_following_frame(c);
    read_frame(c, only_visible);
    FrameCase fresh = c;
    fresh.step = tooth_step - 1;
    draw_frame(fresh, false);
    read_frame(fresh, everything);
    keep_frame(fresh, everything, "afresh");
    keep_frame(fresh, only_visible, what);
    EXPECT_GT(pixels_of(fresh, everything, is_green), 1000);  // the traces are there to compare
    EXPECT_EQ(differing_pixels(fresh), 0);
    draw_frame(c);  // the case's own view again, for the next run to go on from
}

// Runs of 's' in scene '4' with every trace in view paint only each new
// trace into the trace mask kept from frame to frame; a step back, a zoom, a
// resize, another gear or the data panel start it afresh. After each run the
// window shows what a frame drawn afresh shows.
TEST_F(PixelIdentity, RunsOfStepsShowWhatAFreshFrameShows) {
    FrameCase c = frame('4', 8, 0.5, 1000, 15);
    ASSERT_EQ(prepare_frame(c), nullptr);
    draw_frame(c);
    expect_run_ends_as_fresh(c, 100, "after a burst");  // steps 1001 … 1100
    c.step = 1050;                                      // back, then on
    ASSERT_EQ(prepare_frame(c), nullptr);
    draw_frame(c);
    expect_run_ends_as_fresh(c, 20, "after a step back");
    c.step = tooth_step + 3;  // on by a jump
    ASSERT_EQ(prepare_frame(c), nullptr);
    draw_following_frame(c);
    expect_run_ends_as_fresh(c, 5, "after a jump on");
    for (const FrameCase& next : {frame('4', 8, 0.5, 0, 14), frame('4', 8, 0.5, 0, 14, 1600, 400),
                                  frame('4', 8, 0.3, 0, 14, 1600, 400)}) {
        draw_following_frame(c);
        c = next;  // zoomed, resized, another gear, each mid-run
        c.step = tooth_step;
        ASSERT_EQ(prepare_frame(c), nullptr);
        expect_run_ends_as_fresh(c, 10, "after a zoom, a resize or another gear");
    }
    take_scene_key('i');  // the data panel places itself by every trace's ink
    expect_run_ends_as_fresh(c, 10, "with the data panel");
    take_scene_key('i');
}

// The trace mask fills the pixels GL fills for the same wide line, and
// glBitmap paints exactly the mask: lines of 1, 2 and 4 pixels, ends inside
// and outside the window, crossing its edges. Where the two differ it is a
// pixel moved across by one in a column or row (GL's line end rules move a
// far end along the line by up to a pixel, which turns the line a little),
// about one line in ten.
TEST_F(PixelIdentity, TheTraceMaskFillsThePixelsGLFills) {
    const FrameCase c = frame('1', 20, 0.5);
    ASSERT_EQ(prepare_frame(c), nullptr);
    kept_traces.recorded = false;  // the mask is used here alone: no later frame may go on from it
    unsigned char* const gl_line = everything;  // the frame buffers, reused
    unsigned char* const painted_mask = only_visible;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> anywhere(-2, 2);
    std::uniform_real_distribution<double> inside(-1, 1);
    int lines = 0;
    int differing = 0;
    int painted_differently = 0;
    for (float width : {1.0f, 2.0f, 4.0f})
        for (int n = 0; n < 60; ++n, ++lines) {
            RecordVertex line[2] = {{anywhere(random), anywhere(random)},
                                    {anywhere(random), anywhere(random)}};
            if (n % 2 == 1) line[1] = {inside(random), inside(random)};
            glClear(GL_COLOR_BUFFER_BIT);
            glDisable(GL_LIGHTING);
            glColor4f(0, 0, 0, 0);
            glLineWidth(width);
            glBegin(GL_LINES);
            glVertex2d(line[0].x, line[0].y);
            glVertex2d(line[1].x, line[1].y);
            glEnd();
            read_frame(c, gl_line);
            ASSERT_TRUE(begin_window_traces(c.width, c.height));
            add_window_traces(line, 2, width);
            ASSERT_TRUE(clear_trace_mask(line_mask, c.width, c.height));
            add_trace_lines(line_mask, line, 2, width);
            glClear(GL_COLOR_BUFFER_BIT);
            paint_trace_mask();
            read_frame(c, painted_mask);
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x) {
                    const int i = 3 * (y * c.width + x);
                    differing += (gl_line[i] == 0) != trace_mask_has(line_mask, x, y);
                    painted_differently += (painted_mask[i] == 0) != trace_mask_has(line_mask, x, y);
                }
        }
    EXPECT_EQ(painted_differently, 0);
    EXPECT_LE(differing, lines / 4) << "of " << lines << " lines";
}

// A frame's thousands of trace lines are shared between two threads, each
// setting its part into a mask of its own: the window paints exactly what
// one mask holds after setting them all.
TEST_F(PixelIdentity, TraceLinesSharedBetweenThreadsPaintAsOneMask) {
    const FrameCase c = frame('5', 20, 0.5, 10000);
    ASSERT_EQ(prepare_frame(c), nullptr);
    draw_frame(c, false);  // every rack recorded, none left to a kept mask
    int first = 0;
    while (first < frame_record.item_count && frame_record.items[first].layer != ITEM_LAYER_TRACE) ++first;
    ASSERT_LT(first, frame_record.item_count);
    int past = first;
    while (past < frame_record.item_count && frame_record.items[past].layer == ITEM_LAYER_TRACE) ++past;
    const RecordItem& last = frame_record.items[past - 1];
    const RecordVertex* lines = frame_record.vertices + frame_record.items[first].first_vertex;
    const int count = last.first_vertex + last.vertex_count - frame_record.items[first].first_vertex;
    const float width = frame_record.items[first].width;
    ASSERT_GT(count, 20000);
    ASSERT_TRUE(begin_window_traces(c.width, c.height));
    add_window_traces(lines, count, width);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glColor4f(0, 0, 0, 0);
    paint_trace_mask();
    read_frame(c, only_visible);
    ASSERT_TRUE(clear_trace_mask(line_mask, c.width, c.height));
    add_trace_lines(line_mask, lines, count, width);
    int differing = 0;
    int set = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            set += trace_mask_has(line_mask, x, y);
            differing += (only_visible[3 * (y * c.width + x)] == 0) != trace_mask_has(line_mask, x, y);
        }
    EXPECT_GT(set, c.width * c.height / 4);
    EXPECT_EQ(differing, 0);
}

// The comparison itself must see a change: one 'w' more moves every figure.
TEST_F(PixelIdentity, TheComparisonSeesAZoomStep) {
    const FrameCase a = frame('7', 20, 0.5);
    const FrameCase b = frame('7', 20, 0.5, 0, 1);
    ASSERT_EQ(prepare_frame(a), nullptr);
    draw_frame(a);
    read_frame(a, everything);
    ASSERT_EQ(prepare_frame(b), nullptr);
    draw_frame(b);
    read_frame(b, only_visible);
    keep_frame(a, everything, "zoom a");
    keep_frame(b, only_visible, "zoom b");
    EXPECT_GT(differing_pixels(a), 0);
}

}  // namespace
