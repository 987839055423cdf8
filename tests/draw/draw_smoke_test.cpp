// The real primitives in a real GLUT window: starts its own Xvfb (free display
// chosen by Xvfb itself), draws one frame with the drawing layer and reads the
// back buffer with glReadPixels. Owns the pixel buffer.
// Set RACKGEN_SMOKE_PPM to a file name to keep the frame as a picture.
#include "draw/draw.hpp"
#include "tests/e2e/e2e.hpp"

#include <GL/gl.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int SIZE = 800;               // the program's window size: one view unit is 400 pixels
unsigned char pixels[SIZE * SIZE * 3];  // rows bottom-up, as glReadPixels gives them

// One window per process: GLUT can be initialised only once.
const char* open_window() {
    static const char* problem = "not tried";
    static bool tried = false;
    if (tried) return problem;
    tried = true;
    problem = use_private_xserver("1024x1024x24");
    if (problem) return problem;
    static char name[] = "draw_smoke_test";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInitWindowSize(SIZE, SIZE);
    glutInitWindowPosition(0, 0);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("draw smoke test");
    glutDisplayFunc([] {});                            // the test draws itself; GLUT insists on a callback
    for (int i = 0; i < 10; ++i) glutMainLoopEvent();  // let the window be mapped
    glViewport(0, 0, SIZE, SIZE);
    glClearColor(1, 1, 1, 1);
    return nullptr;
}

void read_frame() {
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SIZE, SIZE, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    if (const char* file = std::getenv("RACKGEN_SMOKE_PPM")) {
        if (FILE* f = std::fopen(file, "wb")) {
            std::fprintf(f, "P6\n%d %d\n255\n", SIZE, SIZE);
            for (int row = SIZE - 1; row >= 0; --row) std::fwrite(pixels + row * SIZE * 3, 1, SIZE * 3, f);
            std::fclose(f);
        }
    }
}

// The pixel at column px, row py counted from the bottom.
const unsigned char* pixel(int px, int py) {
    return pixels + (py * SIZE + px) * 3;
}

// The pixel under a view position.
const unsigned char* at_view(double x, double y) {
    return pixel(static_cast<int>((x + 1) * SIZE / 2), static_cast<int>((y + 1) * SIZE / 2));
}

bool is_white(const unsigned char* p) {
    return p[0] > 240 && p[1] > 240 && p[2] > 240;
}
bool is_red(const unsigned char* p) {
    return p[0] > 200 && p[1] < 60 && p[2] < 60;
}
bool is_blue(const unsigned char* p) {
    return p[0] < 60 && p[1] < 60 && p[2] > 200;
}
bool is_dark(const unsigned char* p) {
    return p[0] < 40 && p[1] < 40 && p[2] < 40;
}

// Dark pixels in the rectangle of columns x0..x1, rows y0..y1 (from the bottom).
int dark_pixels(int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) n += is_dark(pixel(x, y));
    return n;
}

TEST(RealWindow, PrimitivesShowWhereTheyShouldOnWhite) {
    const char* problem = open_window();
    ASSERT_EQ(problem, nullptr) << problem;

    // A frame as the program draws it: clear, identity, legend first (lighting
    // still off and the colour white in a fresh context), then figures.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    draw_text(-0.9f, 0.9f, GLUT_BITMAP_HELVETICA_18, "HHHHHHHH");
    scale_factor = 0.5;
    const ProfilePoint corner[] = {{-1, -1}, {1, -1}, {1, 1}};  // view (-0.5,-0.5) (0.5,-0.5) (0.5,0.5)
    draw_wide_polyline(corner, 2, red);
    draw_disc(ProfilePoint{-0.5, 0.5}, 0.1, black);
    draw_dash_dot_line(ProfilePoint{-0.8, 0.8}, ProfilePoint{0.8, 0.8}, blue);
    draw_cross(ProfilePoint{0, 0}, 0.0);
    draw_text(-0.9f, -0.9f, GLUT_BITMAP_HELVETICA_18, "HHHHHHHH");  // now lit: the dark grey
    read_frame();

    // Background.
    EXPECT_TRUE(is_white(pixel(5, 795)));
    EXPECT_TRUE(is_white(pixel(795, 5)));
    EXPECT_TRUE(is_white(at_view(-0.25, -0.25)));

    // The red polyline, 4 pixels wide, on its two legs and nowhere near them.
    EXPECT_TRUE(is_red(at_view(-0.25, -0.5)));
    EXPECT_TRUE(is_red(pixel(300, 199)));
    EXPECT_TRUE(is_red(at_view(0.5, -0.25)));
    EXPECT_TRUE(is_red(at_view(0.5, 0.25)));
    EXPECT_TRUE(is_white(pixel(300, 206)));
    EXPECT_TRUE(is_white(pixel(300, 193)));
    EXPECT_TRUE(is_white(at_view(-0.55, -0.5)));  // the polyline starts at x = -0.5

    // The disc is filled to its radius of 40 pixels.
    EXPECT_TRUE(is_dark(at_view(-0.5, 0.5)));
    EXPECT_TRUE(is_dark(pixel(200 + 35, 600)));
    EXPECT_TRUE(is_dark(pixel(200, 600 - 35)));
    EXPECT_TRUE(is_white(pixel(200 + 46, 600)));

    // The cross: black lines across the whole window through the centre.
    EXPECT_TRUE(is_dark(pixel(3, 399)) || is_dark(pixel(3, 400)));
    EXPECT_TRUE(is_dark(pixel(399, 796)) || is_dark(pixel(400, 796)));

    // The dash-dot line at y = 0.8: blue dashes and dots with white gaps,
    // about 11 of every 15 parts drawn.
    int best_row = 0;
    int best = 0;
    for (int row = 712; row <= 728; ++row) {
        int n = 0;
        for (int x = 80; x < 720; ++x) n += is_blue(pixel(x, row));
        if (n > best) {
            best = n;
            best_row = row;
        }
    }
    const double drawn = best / 640.0;
    EXPECT_GT(drawn, 0.6);
    EXPECT_LT(drawn, 0.85);
    EXPECT_TRUE(is_white(pixel(76, best_row)));  // nothing before the start at x = -0.8

    // Legend text is dark both in the first frame's state and once lit.
    EXPECT_GT(dark_pixels(40, 755, 200, 785), 30) << "legend drawn before any primitive";
    EXPECT_GT(dark_pixels(40, 35, 200, 65), 30) << "legend drawn after the primitives";
}

}  // namespace
