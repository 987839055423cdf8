// Scenes '1' to '3': the rack rolls on the pitch circle of the fixed gear and
// generates the addendum involute, the dedendum involute and the undercut
// curve, one roll step per frame. Also the legend layout and the roll geometry
// that every animated scene shares. Advances addendum_step, dedendum_step and
// undercut_step (the scene state, scenes.hpp).
#include "scenes/scene_blocks.hpp"

#include "record/device.hpp"

#include <cmath>
#include <cstdio>

constexpr double GENERATION_ROLL_STEP = ROLL_STEP;  // roll per frame, the sampling step of the curves
constexpr int TRACE_EVERY = 5;                      // every fifth earlier rack stays as a trace
constexpr double MARKER_RADIUS = 0.01;              // view units: not zoomed
constexpr double REFERENCE_MARKER_RADIUS = 0.006;

// ---- legend and roll geometry shared by the scenes ---------------------------

// The legend line of the cutter the gear was cut with, into text; false, and
// text empty, for the specified cutter.
constexpr int CUTTER_LINE_CAPACITY = 128;  // the longest, Japanese, with four 12-character "%g" numbers: 107
static bool cutter_legend_line(char (&text)[CUTTER_LINE_CAPACITY]) {
    text[0] = '\0';
    const Cutter& c = the_gear.params.cutter;
    if (same_cutter(c, SPECIFIED_CUTTER)) return false;
    std::snprintf(text, sizeof text,
                  legends_in_japanese ? "工具: 圧力角 %g°, ha %g, hf %g, 歯先の丸み半径 %g"
                                      : "cutter: %g deg, ha %g, hf %g, tip radius %g",
                  c.pressure_angle, c.addendum, c.dedendum, c.tip_radius);
    return true;
}

void draw_legend(const char* const* lines, int count) {
    static const float LINE_Y[LEGEND_LINES_MAX] = {0.95f, 0.9f, 0.85f, 0.8f, 0.75f, 0.7f};
    int k = 0;
    for (; k < count && k < LEGEND_LINES_MAX; ++k) draw_text(-0.9f, LINE_Y[k], lines[k]);
    char cutter[CUTTER_LINE_CAPACITY];
    if (k < LEGEND_LINES_MAX && cutter_legend_line(cutter)) draw_text(-0.9f, LINE_Y[k], cutter);
}

double roll_at_step(double first_roll, double roll_step, int n) {
    // first_roll + n·step, not n·step alone: with first_roll = 0 both give the same bits.
    return first_roll + n * roll_step;
}

ProfilePoint rack_reference_at(double t) {
    // The geometry's rack formula, so the rack drawn here is the one that cut
    // the stored curves: A = (ρ·sin γ, ρ·cos γ - r), φ = atan t, γ = t - φ, ρ = r/cos φ.
    ProfilePoint reference;
    ProfilePoint contact;
    double flank_distance;
    rack_involute_point(the_gear.params, t, reference, contact, flank_distance);
    return reference;
}

ProfilePoint rolling_point_at(double t) {
    double sr = scale_factor * the_gear.params.pitch_radius;
    return ProfilePoint{sr * std::sin(t), sr * (std::cos(t) - 1.0)};
}

void draw_rack_rolled(int mode, double t, const Colour& colour) {
    draw_rack(the_gear.params, mode, rack_reference_at(t), t, colour);
}

void draw_trace_racks(double first_roll, double roll_step, int n, int every, int layer) {
    device_layer(layer);
    for (int i = 0; i < n; i += every) {
        const double t = roll_at_step(first_roll, roll_step, i);
        if (rolled_rack_may_be_seen(the_gear.params, t)) draw_rack_rolled(0, t, green);
    }
    device_layer(ITEM_LAYER_PLAIN);
}

// ---- the three generation scenes ----------------------------------------------

// The step a generation scene draws: its counter, pulled back to the curve's
// last index once the curve is complete (the stored counter then rests at last + 1).
static int clamped_step(int counter, int last) {
    return counter > last ? last : counter;
}

static ProfilePoint to_view(const ProfilePoint& p) {
    return ProfilePoint{scale_factor * p.x, scale_factor * p.y};
}

// What every generation frame starts with: the gear, fixed, and the axes through the pitch point.
static void draw_fixed_gear() {
    draw_gear_circles(the_gear.params, ProfilePoint{0.0, -the_gear.params.pitch_radius});
    draw_cross(ORIGIN, 0.0);
}

static void draw_addendum_step(int n) {
    double t = roll_at_step(0.0, GENERATION_ROLL_STEP, n);
    draw_fixed_gear();
    draw_disc(to_view(the_gear.curves.addendum_involute[n]), MARKER_RADIUS, red);
    draw_rack_rolled(1, t, black);
    draw_disc(to_view(rack_reference_at(t)), REFERENCE_MARKER_RADIUS, blue);
    draw_disc(rolling_point_at(t), MARKER_RADIUS, blue);
    draw_wide_polyline(the_gear.curves.addendum_involute, n, red);
    draw_trace_racks(0.0, GENERATION_ROLL_STEP, n, TRACE_EVERY, ITEM_LAYER_PLAIN);
}

void scene_addendum_involute() {
    int n = clamped_step(addendum_step, the_gear.curves.addendum_last);
    draw_addendum_step(n);
    addendum_step = n + 1;
}

// The rack rolls the other way from the pitch point, towards the base circle.
static void draw_dedendum_step(int n) {
    double t = roll_at_step(0.0, -GENERATION_ROLL_STEP, n);
    draw_fixed_gear();
    draw_wide_polyline(the_gear.curves.addendum_involute, the_gear.curves.addendum_last, red);
    draw_disc(to_view(the_gear.curves.dedendum_involute[n]), MARKER_RADIUS, red);
    draw_rack_rolled(1, t, black);
    draw_disc(rolling_point_at(t), MARKER_RADIUS, blue);
    draw_wide_polyline(the_gear.curves.dedendum_involute, n, red);
    draw_trace_racks(0.0, -GENERATION_ROLL_STEP, n, TRACE_EVERY, ITEM_LAYER_PLAIN);
}

void scene_dedendum_involute() {
    int n = clamped_step(dedendum_step, the_gear.curves.dedendum_last);
    draw_dedendum_step(n);
    dedendum_step = n + 1;
}

// The rack starts where its tip corner stands on the root circle (roll -u0,
// already left of the pitch point) and rolls further left.
static void draw_undercut_step(int n) {
    double first_roll = -the_gear.params.undercut_start_roll;
    double t = roll_at_step(first_roll, -GENERATION_ROLL_STEP, n);
    draw_fixed_gear();
    draw_wide_polyline(the_gear.curves.involute_curve, the_gear.curves.involute_last, red);
    draw_disc(to_view(the_gear.curves.undercut_curve[n]), MARKER_RADIUS, blue);
    draw_disc(rolling_point_at(t), MARKER_RADIUS, blue);
    draw_wide_polyline(the_gear.curves.undercut_curve, n, blue);
    draw_rack_rolled(1, t, black);
    draw_trace_racks(first_roll, -GENERATION_ROLL_STEP, n, TRACE_EVERY, ITEM_LAYER_PLAIN);
}

void scene_undercut_curve() {
    int n = clamped_step(undercut_step, the_gear.curves.undercut_last);
    draw_undercut_step(n);
    undercut_step = n + 1;
}
