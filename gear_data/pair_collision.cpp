// Whether the teeth of a pair, as cut and with the tips the pair works with,
// dig into one another as the pair turns: one gear's tip points followed
// through the mesh in the other's frame and tested against its teeth. The
// undercut of a generated gear often clears a tip that reaches below its form
// circle; only material met counts. Keeps the last pair's answer: the scenes
// ask every frame.
#include "gear_data/gear_data.hpp"
#include "gear_data/interference_texts.hpp"

#include <cmath>

namespace {

// Positions tried over three pitches of the moving gear, its tooth 0 going
// through the mesh: finer than a chord of the sampled flanks.
constexpr int MESH_POSITIONS = 600;
// A tip point deeper in the other gear than this (module units) digs into it:
// far above the flanks' sampling and rounding, far below a cut that matters.
constexpr double DEPTH = 1e-3;
constexpr int TIP_POINTS = 8;  // along the reduced tip arc

// A gear of the pair in its own frame: centre at the origin, tooth 0 centred
// at polar angle ψ/2 (from +y towards +x, as the geometry measures).
struct Body {
    const GearParams* g;
    const ToothProfile* tooth;
    double tip;            // the tip radius the pair works with
    double phase;          // at rest: the polar angle from the line of centres to tooth 0's centre
    int last;              // the last flank point of the tooth as cut (a pointed one's before the meeting)
    ProfilePoint meeting;  // where a pointed tooth's flanks meet (gear frame)
};

Body body(const Gear& gear, double tip, double phase) {
    Body b = {&gear.params, &gear.shifted_tooth, tip, phase, 0, {0.0, 0.0}};
    b.last = flank_until_meeting(gear.shifted_tooth, gear.params.pitch_radius, b.meeting);
    if (b.last == gear.shifted_tooth.flank_last) b.meeting = gear.shifted_tooth.flank[b.last];
    return b;
}

ProfilePoint centred(const ProfilePoint& p, double r) {
    return ProfilePoint{p.x, p.y + r};
}

// The mirror image of a centre-origin point about tooth 0's centre line.
ProfilePoint mirrored(const Body& b, const ProfilePoint& p) {
    const double rho = std::hypot(p.x, p.y);
    const double theta = b.g->tooth_angle - std::atan2(p.x, p.y);
    return ProfilePoint{rho * std::sin(theta), rho * std::cos(theta)};
}

// Is q (centre-origin, natural frame) inside the polygon of tooth 0 as cut:
// left flank, its end (the tip land, or where the flanks meet), right flank
// back, closed across the root.
bool in_tooth(const Body& b, const ProfilePoint& q) {
    const ToothProfile& t = *b.tooth;
    const double r = b.g->pitch_radius;
    bool inside = false;
    auto edge = [&](const ProfilePoint& a, const ProfilePoint& c) {
        if ((a.y > q.y) != (c.y > q.y) && q.x < a.x + (q.y - a.y) * (c.x - a.x) / (c.y - a.y))
            inside = !inside;
    };
    const ProfilePoint end = centred(b.meeting, r);
    for (int i = 0; i < b.last; ++i) edge(centred(t.flank[i], r), centred(t.flank[i + 1], r));
    edge(centred(t.flank[b.last], r), end);
    edge(end, mirrored(b, end));
    edge(mirrored(b, end), centred(t.mirror_flank[b.last], r));
    for (int i = b.last; i > 0; --i) edge(centred(t.mirror_flank[i], r), centred(t.mirror_flank[i - 1], r));
    edge(centred(t.mirror_flank[0], r), centred(t.flank[0], r));
    return inside;
}

// The distance from q to the tooth's flanks (centre-origin, natural frame).
double to_flanks(const Body& b, const ProfilePoint& q) {
    const ToothProfile& t = *b.tooth;
    const double r = b.g->pitch_radius;
    double nearest = HUGE_VAL;
    auto segment = [&](const ProfilePoint& a, const ProfilePoint& c) {
        const double dx = c.x - a.x;
        const double dy = c.y - a.y;
        const double length2 = dx * dx + dy * dy;
        double u = length2 > 0.0 ? ((q.x - a.x) * dx + (q.y - a.y) * dy) / length2 : 0.0;
        u = std::fmin(std::fmax(u, 0.0), 1.0);
        nearest = std::fmin(nearest, std::hypot(q.x - a.x - u * dx, q.y - a.y - u * dy));
    };
    for (int i = 0; i < b.last; ++i) {
        segment(centred(t.flank[i], r), centred(t.flank[i + 1], r));
        segment(centred(t.mirror_flank[i], r), centred(t.mirror_flank[i + 1], r));
    }
    const ProfilePoint end = centred(b.meeting, r);
    segment(centred(t.flank[b.last], r), end);
    segment(centred(t.mirror_flank[b.last], r), mirrored(b, end));
    return nearest;
}

// Is the point (radius rho, polar angle theta in the gear's frame at rest,
// measured from the line of centres) more than DEPTH inside the gear's
// material: below its root circle, or in a tooth, within its tip?
bool digs_into(const Body& b, double rho, double theta) {
    const GearParams& g = *b.g;
    if (rho > b.tip - DEPTH) return false;
    if (rho < g.root_radius - DEPTH) return true;
    const double pitch = 2.0 * PI / g.z;
    // Onto tooth 0: the angle from its centre, within half a pitch.
    const double from_centre = std::remainder(theta - b.phase, pitch);
    const double natural = g.tooth_angle / 2.0 + from_centre;
    const ProfilePoint q = {rho * std::sin(natural), rho * std::cos(natural)};
    return in_tooth(b, q) && to_flanks(b, q) > DEPTH;
}

// The points of tooth 0 of b that may dig into the other gear: both flanks from
// the pitch circle out to the tip the pair works with, and its tip land there
// from corner to corner. Centre-origin, natural frame; returns their number.
int tip_points(const Body& b, ProfilePoint* points, int capacity) {
    const GearParams& g = *b.g;
    const ToothProfile& t = *b.tooth;
    const double r = g.pitch_radius;
    const double psi = g.tooth_angle;
    int count = 0;
    // Where the left flank ends: on the tip the pair works with, or its own end.
    const ProfilePoint last = centred(b.meeting, r);
    double corner = std::atan2(last.x, last.y);
    double tip = std::fmin(b.tip, std::hypot(last.x, last.y));
    for (int i = 0; i <= b.last + 1 && count + 2 + TIP_POINTS < capacity; ++i) {
        const ProfilePoint p = i <= b.last ? centred(t.flank[i], r) : last;
        const double rho = std::hypot(p.x, p.y);
        if (rho < r) continue;
        if (rho > b.tip) {  // the flank crosses the reduced tip circle after flank[i - 1]
            const ProfilePoint a = centred(t.flank[i - 1], r);
            const double ra = std::hypot(a.x, a.y);
            const double u = (b.tip - ra) / (rho - ra);
            corner = std::atan2(a.x + u * (p.x - a.x), a.y + u * (p.y - a.y));
            tip = b.tip;
            break;
        }
        const double theta = std::atan2(p.x, p.y);
        points[count++] = p;
        points[count++] = {rho * std::sin(psi - theta), rho * std::cos(psi - theta)};  // the right flank
    }
    const double land = psi - 2.0 * corner;
    for (int k = 0; k <= TIP_POINTS && land >= 0.0; ++k) {
        const double theta = corner + land * k / TIP_POINTS;
        points[count++] = {tip * std::sin(theta), tip * std::cos(theta)};
    }
    return count;
}

// Does tooth 0 of b, turned through the mesh, dig into a? a at the origin with
// its local +y towards b's centre at distance (0, distance); b's local +y
// towards a. a turns by φ, b the other way by φ·za/zb.
bool tips_dig(const Body& a, const Body& b, double distance) {
    constexpr int CAPACITY = 2 * POINT_CAPACITY + TIP_POINTS + 1;
    static ProfilePoint points[CAPACITY];
    const int count = tip_points(b, points, CAPACITY);
    const double pitch_b = 2.0 * PI / b.g->z;
    const double ratio = static_cast<double>(b.g->z) / a.g->z;
    for (int s = 0; s <= MESH_POSITIONS; ++s) {
        const double turn_b = 3.0 * pitch_b * (static_cast<double>(s) / MESH_POSITIONS - 0.5);
        const double turn_a = -turn_b * ratio;
        for (int k = 0; k < count; ++k) {
            const ProfilePoint& p = points[k];
            const double rho = std::hypot(p.x, p.y);
            // b's local angle: from its line of centres, turned.
            const double local = std::atan2(p.x, p.y) - b.g->tooth_angle / 2.0 + b.phase + turn_b;
            // In a's frame: b's centre at (0, distance), b's local +y pointing at a.
            const double x = -rho * std::sin(local);
            const double y = distance - rho * std::cos(local);
            if (digs_into(a, std::hypot(x, y), std::atan2(x, y) - turn_a)) return true;
        }
    }
    return false;
}

}  // namespace

// ---- Global state ------------------------------------------------------------
// The last pair pair_collision answered for and its answer; written and read
// by pair_collision alone. A gear's teeth follow from its z, x and cutter.
static GearParams last_gear;
static GearParams last_mate;
static const char* last_answer;
static bool answered;

static bool same_gear(const GearParams& a, const GearParams& b) {
    return a.z == b.z && a.x == b.x && same_cutter(a.cutter, b.cutter);
}

const char* pair_collision(const Gear& gear, const Gear& mate, const PairData& p, double module) {
    if (answered && same_gear(gear.params, last_gear) && same_gear(mate.params, last_mate))
        return last_answer;
    const GearParams& g2 = mate.params;
    // At rest a tooth of the gear and a space of the mate face each other on
    // the line of centres.
    const Body one = body(gear, p.reduced_tip_diameter / 2.0 / module, 0.0);
    const Body two = body(mate, p.mate_reduced_tip_diameter / 2.0 / module, PI / g2.z);
    const double distance = p.centre_distance / module;
    const bool mate_digs = tips_dig(one, two, distance);
    const bool gear_digs = tips_dig(two, one, distance);
    last_answer = mate_digs && gear_digs ? EACH_DIGS
                  : mate_digs            ? MATE_DIGS
                  : gear_digs            ? GEAR_DIGS
                                         : nullptr;
    last_gear = gear.params;
    last_mate = mate.params;
    answered = true;
    return last_answer;
}
