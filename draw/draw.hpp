// The drawing layer: the scale factor that turns model lengths into view
// lengths, the colour table, the immediate-mode primitives and the rack-cutter
// and gear figures built from them. Everything draws through the record's
// device (record/device.hpp) into frame_record, in double precision; nothing
// here calls GL. Runs on the one thread that records a frame.
//
// View units span -1 to 1 across the frame on both axes; model units are
// module units in the gear frame.
#pragma once

#include "geometry/geometry.hpp"
#include "record/record.hpp"

// ---- process-wide drawing state ---------------------------------------------
// View units per model unit. 0.5 in static storage; the dialogue sets it to 0.5
// after every run, 'w' multiplies and 'W' divides it by 0.9. Read by
// draw_wide_polyline, the figures and the scenes.
extern double scale_factor;

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
constexpr double POLYLINE_WIDTH = 0.01;  // view units (4 pixels): the width of draw_wide_polyline

// ---- primitives (view units unless the name says scaled) --------------------
// Each leaves out what cannot be seen in the frame being recorded (see
// visibility.hpp) unless the frame was begun to record everything.
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
// One legend line (Helvetica 18 px, black) from raster position (x, y).
void draw_text(float x, float y, const char* text);

// ---- figures (model units, scaled by scale_factor) --------------------------
void draw_rack_tooth(const Colour& colour);
void draw_rack(int mode, const ProfilePoint& reference, double t, const Colour& colour);
void draw_gear_circles(const ProfilePoint& centre);
void draw_gear_teeth(double scale, int teeth, const ProfilePoint& offset, int last,
                     const ProfilePoint* points, const Colour& colour);
