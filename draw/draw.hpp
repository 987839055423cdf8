// The drawing layer: the scale factor that turns model lengths into view
// lengths, the colour table, the immediate-mode primitives and the rack-cutter
// and gear figures built from them. Everything here runs inside the display
// callback, on the one thread of the window's event loop.
//
// View units are the GL's normalised coordinates (-1 to 1 on both axes, no
// projection is ever set); model units are module units in the gear frame.
#pragma once

#include "geometry/geometry.hpp"

struct Colour {
    float red;
    float green;
    float blue;
    float alpha;  // never blended; every colour of rackgen has alpha 0
};

// ---- process-wide drawing state ---------------------------------------------
// View units per model unit. START_SCALE at start and after every dialogue,
// which sets it; 'w' multiplies and 'W' divides it by 0.9. Read by
// draw_wide_polyline, the figures and the scenes.
extern double scale_factor;
constexpr double START_SCALE = 0.5;

// Draw only what can be seen: figures wholly outside the view (under the
// current matrices, with a margin of the line width) are left out, and the
// picture stays the same pixel for pixel. On by default; the frame benchmark
// and the pixel-identity test turn it off to compare. Read by the drawing layer.
extern bool draw_only_visible;

// The colour table (read-only) and the zero colour used for the current rack
// and the centre discs.
extern const Colour red;
extern const Colour green;
extern const Colour blue;
extern const Colour yellow;
extern const Colour magenta;
extern const Colour black;

constexpr int CIRCLE_SEGMENTS = 120;        // vertices of a disc and of a circle outline
constexpr double CIRCLE_PI = 3.1415926536;  // the circle primitives' π
constexpr double PIXELS_PER_VIEW_UNIT = 400.0;

// ---- primitives (view units unless the name says scaled) --------------------
double to_screen(double v);
void draw_line(const ProfilePoint& a, const ProfilePoint& b, const Colour& colour);
void draw_line_scaled(double s, const ProfilePoint& a, const ProfilePoint& b, const Colour& colour);
void draw_wide_line(const ProfilePoint& a, const ProfilePoint& b, double width, const Colour& colour);
void draw_wide_polyline(const ProfilePoint* points, int last, const Colour& colour);
void draw_dash_dot_line(const ProfilePoint& a, const ProfilePoint& b, const Colour& colour);
void draw_dash_dot_line_scaled(double s, const ProfilePoint& a, const ProfilePoint& b, const Colour& colour);
void draw_disc(const ProfilePoint& centre, double radius, const Colour& colour);
void draw_circle(const ProfilePoint& centre, double radius, const Colour& colour);
void draw_dash_dot_circle(const ProfilePoint& centre, double radius, const Colour& colour);
void draw_cross(const ProfilePoint& p, double angle);
void rotate_about(const ProfilePoint& a, const ProfilePoint& b, double angle);
void draw_text(float x, float y, void* font, const char* text);

// ---- figures (model units, scaled by scale_factor) --------------------------
void draw_rack_tooth(const Colour& colour);
void draw_rack(int mode, const ProfilePoint& reference, double t, const Colour& colour);
void draw_gear_circles(const ProfilePoint& centre);
void draw_gear_teeth(double scale, int teeth, const ProfilePoint& offset, int last,
                     const ProfilePoint* points, const Colour& colour);
