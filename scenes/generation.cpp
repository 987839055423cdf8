// Scenes '1' to '3': the cutter rolls on the pitch circle of the fixed gear
// (the rack), or turns with it on their cutting pitch circles (a pinion-type
// cutter), and generates the addendum involute, the dedendum involute and the
// undercut curve, one roll step per frame. Also the legend layout and the
// cutter and roll geometry that every animated scene shares. Advances
// addendum_step, dedendum_step and undercut_step (the scene state,
// scenes.hpp); owns the frame's tooth of a pinion-type cutter.
#include "scenes/scene_blocks.hpp"

#include "record/device.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

constexpr double GENERATION_ROLL_STEP = ROLL_STEP;  // roll per frame, the sampling step of the curves
constexpr int TRACE_EVERY = 5;                      // every fifth earlier cutter stays as a trace
constexpr double MARKER_RADIUS = 0.01;              // view units: not zoomed
constexpr double REFERENCE_MARKER_RADIUS = 0.006;

// ---- Global state ------------------------------------------------------------
// One tooth of the_gear's pinion-type cutter as this frame draws it: written by
// begin_cutter_frame at the start of each frame of scenes '1' to '5', read by
// the cutter figures of that frame.
static CutterTooth cutter_tooth;

static ProfilePoint to_view(const ProfilePoint& p) {
    return ProfilePoint{scale_factor * p.x, scale_factor * p.y};
}

// ---- legend and roll geometry shared by the scenes ---------------------------

// The legend line that says a helical gear's scene is its transverse
// section, with its helix, into text; false for a spur gear.
constexpr int CUTTER_LINE_CAPACITY = 256;  // the longest, Japanese, with six 12-character numbers: 161
static bool helix_legend_line(char (&text)[CUTTER_LINE_CAPACITY]) {
    const Cutter& c = the_gear.params.cutter;
    if (!helical(c)) return false;
    const bool ja = legends_in_japanese;
    std::snprintf(text, sizeof text,
                  ja ? "はすば歯車 ねじれ角 %g° %s の正面断面" : "helical %g deg %s-hand, transverse section",
                  c.helix_angle,
                  ja ? (c.left_hand ? "左ねじれ" : "右ねじれ") : (c.left_hand ? "left" : "right"));
    return true;
}

// The legend line of the cutter the gear was cut with, into text; false, and
// text empty, for the specified cutter (whatever a helical gear's helix). A
// pinion-type cutter is named by its teeth and shift, and its profile follows
// when it is not the specified one.
static bool cutter_legend_line(char (&text)[CUTTER_LINE_CAPACITY]) {
    text[0] = '\0';
    const Cutter& c = the_gear.params.cutter;
    const Cutter profile = {c.pressure_angle, c.addendum, c.dedendum, c.tip_radius};
    if (same_cutter(profile, SPECIFIED_CUTTER) && !pinion_type(c)) return false;
    const bool ja = legends_in_japanese;
    int used = 0;
    if (pinion_type(c)) {
        used = std::snprintf(text, sizeof text,
                             ja ? "ピニオンカッタ: 歯数 %d, 転位係数 %g" : "pinion cutter: %d teeth, x %g",
                             c.teeth, c.shift);
        if (same_cutter(profile, SPECIFIED_CUTTER)) return true;
    }
    std::snprintf(
        text + used, sizeof text - static_cast<size_t>(used),
        ja ? (used ? ", 圧力角 %g°, ha %g, hf %g, 歯先の丸み半径 %g"
                   : "工具: 圧力角 %g°, ha %g, hf %g, 歯先の丸み半径 %g")
           : (used ? ", %g deg, ha %g, hf %g, tip radius %g" : "cutter: %g deg, ha %g, hf %g, tip radius %g"),
        c.pressure_angle, c.addendum, c.dedendum, c.tip_radius);
    return true;
}

// A legend line in the words of the gear shown, into text: "cutter" for the
// rack's word when a pinion-type cutter cut it, "internal gear" for "gear"
// when it is a ring. The line itself when no word changes.
constexpr int LEGEND_LINE_CAPACITY = 256;
static const char* in_words_of_gear(const char* line, char (&text)[LEGEND_LINE_CAPACITY]) {
    const bool pinion = pinion_type(the_gear.params.cutter);
    const bool ring = the_gear.params.internal;
    if (!pinion && !ring) return line;
    struct Swap {
        const char* from;
        const char* to;
        bool applies;
    };
    const Swap swaps[] = {{"rack", "cutter", pinion},
                          {"ラック", "カッタ", pinion},
                          {" gear", " internal gear", ring},
                          {"歯車", "内歯車", ring}};
    int n = 0;
    for (const char* c = line; *c != '\0';) {
        const char* put = nullptr;
        int put_length = 1;
        for (const Swap& swap : swaps) {
            const size_t from = std::strlen(swap.from);
            if (swap.applies && std::strncmp(c, swap.from, from) == 0) {
                put = swap.to;
                put_length = static_cast<int>(std::strlen(swap.to));
                c += from;
                break;
            }
        }
        if (put == nullptr) put = c++;
        if (n + put_length >= LEGEND_LINE_CAPACITY) break;
        std::memcpy(text + n, put, static_cast<size_t>(put_length));
        n += put_length;
    }
    text[n] = '\0';
    return text;
}

void draw_legend(const char* const* lines, int count) {
    static const float LINE_Y[LEGEND_LINES_MAX] = {0.95f, 0.9f, 0.85f, 0.8f, 0.75f, 0.7f};
    int k = 0;
    char text[LEGEND_LINE_CAPACITY];
    for (; k < count && k < LEGEND_LINES_MAX; ++k)
        draw_text(-0.9f, LINE_Y[k], in_words_of_gear(lines[k], text));
    // A helical gear's line, then the cutter's, as far as the lines reach.
    char cutter[CUTTER_LINE_CAPACITY];
    if (k < LEGEND_LINES_MAX && helix_legend_line(cutter)) draw_text(-0.9f, LINE_Y[k++], cutter);
    if (k < LEGEND_LINES_MAX && cutter_legend_line(cutter)) draw_text(-0.9f, LINE_Y[k], cutter);
}

void begin_cutter_frame() {
    make_cutter_tooth(the_gear.params, cutter_tooth);
}

void draw_cutter_rolled(int mode, double t, const Colour& colour) {
    const GearParams& g = the_gear.params;
    if (pinion_type(g.cutter))
        draw_pinion_cutter(g, cutter_tooth, mode, t, CutterTeeth::ALL, colour);
    else
        draw_rack(g, mode, rack_reference_at(g, t), t, colour);
}

ProfilePoint cutter_reference_at(double t) {
    const GearParams& g = the_gear.params;
    return to_view(pinion_type(g.cutter) ? pinion_cutter_place(g, t).centre : rack_reference_at(g, t));
}

ProfilePoint rolling_point_at(double t) {
    const GearParams& g = the_gear.params;
    if (pinion_type(g.cutter)) return to_view(cutting_pitch_point(g, t));
    double sr = scale_factor * g.pitch_radius;
    return ProfilePoint{sr * std::sin(t), sr * (std::cos(t) - 1.0)};
}

// The view trace cutters are drawn in now (see RecordTraces): the same view
// gives every step's trace the same vertices.
static void set_trace_view(RecordTraces& traces, double first_roll, double roll_step, int every) {
    const DeviceMatrix& m = device_matrix();
    const FrameSettings& frame = device_frame();
    const double view[TRACE_VIEW_NUMBERS] = {m.xx,
                                             m.xy,
                                             m.x0,
                                             m.yx,
                                             m.yy,
                                             m.y0,
                                             first_roll,
                                             roll_step,
                                             static_cast<double>(every),
                                             static_cast<double>(device_line_width()),
                                             scale_factor,
                                             static_cast<double>(gear_takes),
                                             static_cast<double>(frame.width),
                                             static_cast<double>(frame.height),
                                             frame.leave_out_unseen ? 1.0 : 0.0};
    std::memcpy(traces.view, view, sizeof view);
}

void draw_trace_cutters(double first_roll, double roll_step, int n, int every, int layer) {
    const GearParams& g = the_gear.params;
    const bool pinion = pinion_type(g.cutter);
    int first = 0;
    if (layer == ITEM_LAYER_TRACE) {
        // The racks a painter's kept mask holds are left out, but for the data
        // panel, which places itself by all the ink the frame records.
        RecordTraces& traces = frame_record.traces;
        traces.recorded = true;
        traces.end = n;
        traces.colour = green;
        set_trace_view(traces, first_roll, roll_step, every);
        if (kept_traces.recorded && kept_traces.end <= n && same_trace_view(kept_traces, traces) &&
            !info_panel_shown)
            first = (kept_traces.end + every - 1) / every * every;
        traces.from = first;
    }
    device_layer(layer);
    if (pinion)
        for (int i = first; i < n; i += every)
            draw_pinion_cutter(g, cutter_tooth, 0, roll_at_step(first_roll, roll_step, i),
                               CutterTeeth::CUTTING, green);
    else
        draw_rolled_racks(g, first_roll, roll_step, first, n, every, green);
    device_layer(ITEM_LAYER_PLAIN);
}

// ---- the three generation scenes ----------------------------------------------

// The step a generation scene draws: its counter, pulled back to the curve's
// last index once the curve is complete (the stored counter then rests at last + 1).
static int clamped_step(int counter, int last) {
    return counter > last ? last : counter;
}

// What every generation frame starts with: the cutter's tooth for the frame,
// the gear, fixed, and the axes through the pitch point.
static void draw_fixed_gear() {
    begin_cutter_frame();
    draw_gear_circles(the_gear.params, ProfilePoint{0.0, -the_gear.params.pitch_radius});
    draw_cross(ORIGIN, 0.0);
}

// The roll at which a pinion cutter generates point n of a curve: the roll of
// step n, except that a curve ends exactly where it reaches its end (the tip
// circle, the flank's end), within its last step, not on the grid: that roll
// is found by halving the step, each half kept on the side of the point along
// the curve. For the rack, whose curves end on the grid, the step's roll.
template <typename Curve>
static double generating_roll(Curve curve, const ProfilePoint* points, int n, int last, double first_roll,
                              double roll_step) {
    const double t = roll_at_step(first_roll, roll_step, n);
    if (!pinion_type(the_gear.params.cutter) || n != last || n == 0) return t;
    const ProfilePoint& point = points[n];
    double before = roll_at_step(first_roll, roll_step, n - 1);
    double after = t;
    const ProfilePoint from = curve(before);
    const ProfilePoint to = curve(after);
    const ProfilePoint along = {to.x - from.x, to.y - from.y};
    for (;;) {
        const double middle = 0.5 * (before + after);
        if (middle == before || middle == after) return after;
        const ProfilePoint p = curve(middle);
        const bool short_of_point = (point.x - p.x) * along.x + (point.y - p.y) * along.y > 0.0;
        (short_of_point ? before : after) = middle;
    }
}

static ProfilePoint involute_at(double t) {
    return involute_point(the_gear.params, t);
}
static ProfilePoint undercut_at(double t) {
    return undercut_point(the_gear.params, t);
}

static void draw_addendum_step(int n) {
    const GenerationCurves& c = the_gear.curves;
    double t =
        generating_roll(involute_at, c.addendum_involute, n, c.addendum_last, 0.0, GENERATION_ROLL_STEP);
    draw_fixed_gear();
    draw_disc(to_view(c.addendum_involute[n]), MARKER_RADIUS, red);
    draw_cutter_rolled(1, t, black);
    draw_disc(cutter_reference_at(t), REFERENCE_MARKER_RADIUS, blue);
    draw_disc(rolling_point_at(t), MARKER_RADIUS, blue);
    draw_wide_polyline(c.addendum_involute, n, red);
    draw_trace_cutters(0.0, GENERATION_ROLL_STEP, n, TRACE_EVERY, ITEM_LAYER_PLAIN);
}

void scene_addendum_involute() {
    int n = clamped_step(addendum_step, the_gear.curves.addendum_last);
    draw_addendum_step(n);
    addendum_step = n + 1;
}

// The cutter rolls the other way from the pitch point, towards the base circle.
static void draw_dedendum_step(int n) {
    const GenerationCurves& c = the_gear.curves;
    double t =
        generating_roll(involute_at, c.dedendum_involute, n, c.dedendum_last, 0.0, -GENERATION_ROLL_STEP);
    draw_fixed_gear();
    draw_wide_polyline(c.addendum_involute, c.addendum_last, red);
    draw_disc(to_view(c.dedendum_involute[n]), MARKER_RADIUS, red);
    draw_cutter_rolled(1, t, black);
    draw_disc(rolling_point_at(t), MARKER_RADIUS, blue);
    draw_wide_polyline(c.dedendum_involute, n, red);
    draw_trace_cutters(0.0, -GENERATION_ROLL_STEP, n, TRACE_EVERY, ITEM_LAYER_PLAIN);
}

void scene_dedendum_involute() {
    int n = clamped_step(dedendum_step, the_gear.curves.dedendum_last);
    draw_dedendum_step(n);
    dedendum_step = n + 1;
}

// The cutter starts where its tip corner stands on the root circle (roll -u0,
// already left of the pitch point) and rolls further left.
static void draw_undercut_step(int n) {
    const GenerationCurves& c = the_gear.curves;
    double first_roll = -the_gear.params.undercut_start_roll;
    double t =
        generating_roll(undercut_at, c.undercut_curve, n, c.undercut_last, first_roll, -GENERATION_ROLL_STEP);
    draw_fixed_gear();
    draw_wide_polyline(c.involute_curve, c.involute_last, red);
    draw_disc(to_view(c.undercut_curve[n]), MARKER_RADIUS, blue);
    draw_disc(rolling_point_at(t), MARKER_RADIUS, blue);
    draw_wide_polyline(c.undercut_curve, n, blue);
    draw_cutter_rolled(1, t, black);
    draw_trace_cutters(first_roll, -GENERATION_ROLL_STEP, n, TRACE_EVERY, ITEM_LAYER_PLAIN);
}

void scene_undercut_curve() {
    int n = clamped_step(undercut_step, the_gear.curves.undercut_last);
    draw_undercut_step(n);
    undercut_step = n + 1;
}
