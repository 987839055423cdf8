// The whole gear's outline: one tooth's flank sampled from the exact curves
// until its chords keep within the tolerance, mirrored, closed by the root and
// tip arcs, and turned into z teeth on demand. No state.
#include "outline/outline.hpp"

#include <cmath>

// Every curve longer than the tolerance is halved this often before a chord
// may stand for a piece of it: a chord whose curve crosses it would show no
// bulge at the middle.
constexpr int DEPTH_FIRST = 2;
// And never more often: 2^24 chords to a curve lie far below any tolerance the
// front ends take at any module; only points that are not numbers get here.
constexpr int DEPTH_LIMIT = 24;
// Vertices nearer than this (mm, twice the files' last digit) are one vertex:
// written, they would fall together or zigzag. Only the ends of a collapsed arc
// and of a curve shorter than that come so near; chords are far longer.
constexpr double COINCIDENCE = 2e-6;

using Curve = ProfilePoint (*)(const GearParams& g, double t);

// The distance of p from the segment a–b.
static double distance_to_chord(const ProfilePoint& p, const ProfilePoint& a, const ProfilePoint& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double u = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    u = std::fmin(std::fmax(u, 0.0), 1.0);
    return std::hypot(p.x - a.x - u * dx, p.y - a.y - u * dy);
}

// Appends the curve's points at the rolls in (from, to] that end its chords,
// a = curve(from) and b = curve(to) given: the chord a–b, or both halves'.
static void append_chords(const GearParams& g, Curve curve, double from, const ProfilePoint& a, double to,
                          const ProfilePoint& b, double tolerance, int depth,
                          std::vector<ProfilePoint>& points) {
    const double middle = 0.5 * (from + to);
    const ProfilePoint m = curve(g, middle);
    const bool long_chord = std::hypot(b.x - a.x, b.y - a.y) > tolerance;
    if (depth < DEPTH_LIMIT &&
        ((depth < DEPTH_FIRST && long_chord) || distance_to_chord(m, a, b) > tolerance)) {
        append_chords(g, curve, from, a, middle, m, tolerance, depth + 1, points);
        append_chords(g, curve, middle, m, to, b, tolerance, depth + 1, points);
        return;
    }
    points.push_back(b);
}

// The flank from the root circle to its end, gear frame, module units, and the
// indices of its points where one of its curves ends and the next begins. A
// fillet that is the tip arc itself is its two ends.
struct FlankChords {
    std::vector<ProfilePoint> points;
    std::vector<size_t> joints;
};

static FlankChords flank_chords(const GearParams& g, const FlankRolls& rolls, double tolerance) {
    const double t0 = rolls.undercut_start;
    FlankChords chords;
    std::vector<ProfilePoint>& flank = chords.points;
    if (rolls.fillet_arc) {
        flank = {{g.root_radius * std::sin(t0), g.root_radius * std::cos(t0) - g.pitch_radius},
                 involute_point(g, rolls.involute_start)};
    } else {
        flank = {undercut_point(g, t0)};
        append_chords(g, undercut_point, t0, flank.back(), rolls.undercut_end,
                      undercut_point(g, rolls.undercut_end), tolerance, 0, flank);
    }
    // The involute starts where what the tip cut ends: that point is there.
    if (rolls.involute_end != rolls.involute_start) {
        chords.joints.push_back(flank.size() - 1);
        const ProfilePoint joint = flank.back();
        append_chords(g, involute_point, rolls.involute_start, joint, rolls.involute_end,
                      involute_point(g, rolls.involute_end), tolerance, 0, flank);
    }
    // Beyond the pinion cutter's base tangent point its radial flank cuts on to the tip.
    if (rolls.tip_flank_end != rolls.tip_flank_start) {
        chords.joints.push_back(flank.size() - 1);
        const ProfilePoint joint = flank.back();
        append_chords(g, radial_flank_point, rolls.tip_flank_start, joint, rolls.tip_flank_end,
                      radial_flank_point(g, rolls.tip_flank_end), tolerance, 0, flank);
    }
    return chords;
}

// The point at polar angle θ (from +y towards +x) on the circle of the radius
// about the origin.
static ProfilePoint on_circle(double radius, double theta) {
    return ProfilePoint{radius * std::sin(theta), radius * std::cos(theta)};
}

// The bulge of an arc about the origin through the angle, the polar angle
// growing: clockwise.
static double clockwise_bulge(double angle) {
    return -std::tan(angle / 4.0);
}

// The bulge of the fillet from a to b (centre at the origin) when it is the tip
// arc about the point of rolling at roll t0.
static double fillet_bulge(double r, double t0, const ProfilePoint& a, const ProfilePoint& b) {
    const ProfilePoint k{r * std::sin(t0), r * std::cos(t0)};
    const double turn = std::atan2(b.y - k.y, b.x - k.x) - std::atan2(a.y - k.y, a.x - k.x);
    return std::tan(std::remainder(turn, 2.0 * PI) / 4.0);
}

// Appends p, scaled to mm, with the side from it and whether a curve starts
// there; a vertex at the last one's place takes over only its side, and is a
// corner when either is.
static void add_vertex(GearOutline& outline, const ProfilePoint& p, double bulge, bool corner,
                       double module) {
    std::vector<OutlineVertex>& tooth = outline.tooth;
    const ProfilePoint q{p.x * module, p.y * module};
    if (!tooth.empty() && std::hypot(q.x - tooth.back().point.x, q.y - tooth.back().point.y) <= COINCIDENCE) {
        tooth.back().bulge = bulge;
        if (corner) outline.corner.back() = true;
        return;
    }
    tooth.push_back(OutlineVertex{q, bulge});
    outline.corner.push_back(corner);
}

GearOutline build_gear_outline(const Gear& gear, double x_s, double module, double tolerance,
                               double tip_radius) {
    GearParams g = gear.params;
    set_shift_params(g, x_s);
    if (tip_radius > 0.0 && tip_radius < g.tip_radius) g.tip_radius = tip_radius;
    const FlankRolls rolls = flank_rolls(g);
    FlankChords chords = flank_chords(g, rolls, tolerance / module);
    std::vector<ProfilePoint>& flank = chords.points;
    for (ProfilePoint& p : flank) p.y += g.pitch_radius;  // the centre to the origin
    // Curves start at the flank's ends and where its curves meet.
    std::vector<bool> joint(flank.size(), false);
    joint.front() = joint.back() = true;
    for (size_t i : chords.joints) joint[i] = true;

    // The root arc comes from the previous tooth's mirrored flank, a pitch
    // back; the tip arc goes to this tooth's. Mirrored about the tooth centre
    // line, polar angle θ becomes ψ - θ.
    const double psi = g.tooth_angle;
    const double theta0 = polar_angle(flank.front(), 0.0);
    const double root_angle = g.space_angle + 2.0 * theta0;
    const double tip_angle = psi - 2.0 * polar_angle(flank.back(), 0.0);
    GearOutline outline{g.z, {}, {}, 0.0, 0.0, ProfilePoint{0.0, 0.0}, 0.0, {}};
    std::vector<OutlineVertex>& tooth = outline.tooth;
    add_vertex(outline, on_circle(g.root_radius, -g.space_angle - theta0), clockwise_bulge(root_angle), true,
               module);
    const double fillet =
        rolls.fillet_arc ? fillet_bulge(g.pitch_radius, rolls.undercut_start, flank[0], flank[1]) : 0.0;
    for (size_t i = 0; i + 1 < flank.size(); ++i)
        add_vertex(outline, flank[i], i == 0 ? fillet : 0.0, joint[i], module);
    // A pointed tooth's flank ends on the centre line, where its mirror image starts.
    add_vertex(outline, flank.back(), rolls.pointed ? 0.0 : clockwise_bulge(tip_angle), true, module);
    const double s = std::sin(psi);
    const double c = std::cos(psi);
    // Mirrored and run backwards, an arc keeps its bulge: the side from flank[i]
    // to flank[i - 1] leaves the mirrored flank[i].
    for (size_t i = flank.size() - 1; i >= 1; --i)
        add_vertex(outline, ProfilePoint{s * flank[i].y - c * flank[i].x, c * flank[i].y + s * flank[i].x},
                   i == 1 ? fillet : 0.0, joint[i], module);
    // The last vertex is followed by the next tooth's first.
    const ProfilePoint next = outline_vertex(outline, static_cast<int>(tooth.size())).point;
    if (std::hypot(next.x - tooth.back().point.x, next.y - tooth.back().point.y) <= COINCIDENCE) {
        tooth.pop_back();
        outline.corner.pop_back();
    }
    // Fewer than three vertices enclose nothing: a tooth too small for the module.
    if (tooth.size() < 3) {
        tooth.clear();
        outline.corner.clear();
    }
    for (const OutlineVertex& v : tooth)
        outline.radius = std::fmax(outline.radius, std::hypot(v.point.x, v.point.y));
    return outline;
}

double ring_root_diameter(const Gear& gear, double x_s, double module) {
    GearParams g = gear.params;
    set_shift_params(g, x_s);
    return 2.0 * g.root_radius * module;
}

// Six modules of rim beyond the spaces: as much as a ring is usually given, and
// room for a hole or a bolt circle in it.
constexpr double DEFAULT_RIM_MODULES = 6.0;

double default_rim_diameter(const Gear& gear, double x_s, double module) {
    return ring_root_diameter(gear, x_s, module) + DEFAULT_RIM_MODULES * module;
}

GearOutline build_ring_outline(const Gear& gear, double x_s, double module, double tolerance,
                               double rim_diameter) {
    GearOutline outline = build_gear_outline(gear, x_s, module, tolerance);
    outline.rim = 0.5 * (rim_diameter > 0.0 ? rim_diameter : default_rim_diameter(gear, x_s, module));
    outline.radius = std::fmax(outline.radius, outline.rim);
    return outline;
}

const char* outline_refusal(const GearOutline* outlines, int count) {
    for (int i = 0; i < count; ++i)
        if (outlines[i].tooth.empty()) return "the tooth is too small to draw at that module";
    return nullptr;
}

int outline_vertex_count(const GearOutline& outline) {
    return outline.z * static_cast<int>(outline.tooth.size());
}

// Turned clockwise by a: (x, y) ↦ (x·cos a + y·sin a, -x·sin a + y·cos a).
OutlineVertex outline_vertex(const GearOutline& outline, int index) {
    const int n = static_cast<int>(outline.tooth.size());
    if (n == 0) return OutlineVertex{outline.centre, 0.0};
    const OutlineVertex& v = outline.tooth[static_cast<size_t>(index % n)];
    const double a = (index / n) * 2.0 * PI / outline.z + outline.turn;
    const double c = std::cos(a);
    const double s = std::sin(a);
    return OutlineVertex{
        {v.point.x * c + v.point.y * s + outline.centre.x, -v.point.x * s + v.point.y * c + outline.centre.y},
        v.bulge};
}

// A pinion inside a ring, the mate's centre on +x at the centre distance. The
// pitch point lies on the line of centres at the polar angle θ (clockwise from
// +y) from both centres: π/2 when the gear is the ring (the pinion stands
// between the ring's centre and the pitch point), 3π/2 when it is the pinion.
// There the pinion shows a tooth, centred at ψ/2 unturned, and the ring a
// space, centred at ψ/2 + π/z. The gear's such feature nearest θ is δ past it,
// clockwise; the mate shows its own on θ when turned θ - f2 clockwise, and as
// the gear turns clockwise the mate turns the same way by the ratio, so it
// stands at θ - f2 + δ·z1/z2.
static void build_internal_pair_outlines(const Gear& gear, const Gear& mate_gear, double centre_distance,
                                         double module, double tolerance, double rim_diameter,
                                         GearOutline outlines[2]) {
    const GearParams& g1 = gear.params;
    const GearParams& g2 = mate_gear.params;
    const double theta = g1.internal ? PI / 2.0 : 3.0 * PI / 2.0;
    const double f1 = g1.tooth_angle / 2.0 + (g1.internal ? PI / g1.z : 0.0);
    const double f2 = g2.tooth_angle / 2.0 + (g2.internal ? PI / g2.z : 0.0);
    const double delta = std::remainder(f1 - theta, 2.0 * PI / g1.z);
    outlines[0] = g1.internal ? build_ring_outline(gear, g1.x, module, tolerance, rim_diameter)
                              : build_gear_outline(gear, g1.x, module, tolerance);
    GearOutline& mate = outlines[1];
    mate = g2.internal ? build_ring_outline(mate_gear, g2.x, module, tolerance, rim_diameter)
                       : build_gear_outline(mate_gear, g2.x, module, tolerance);
    mate.turn = theta - f2 + delta * g1.z / g2.z;
    mate.centre = ProfilePoint{centre_distance, 0.0};
}

// The gear's teeth stand centred at ψ1/2 + k·2π/z1 clockwise from +y; the one
// nearest the line of centres (+x) is δ off it, clockwise. The mate faces the
// gear with a space centred on that line when turned β0 = 3π/2 + π/z2 - ψ2/2
// clockwise; as the gear turns clockwise the mate turns the other way by the
// ratio, so it stands at β0 - δ·z1/z2.
void build_pair_outlines(const Gear& gear, const Gear& mate_gear, const PairPlace& place, double module,
                         double tolerance, double rim_diameter, GearOutline outlines[2]) {
    const GearParams& g1 = gear.params;
    const GearParams& g2 = mate_gear.params;
    if (g1.internal || g2.internal) {
        build_internal_pair_outlines(gear, mate_gear, place.centre_distance, module, tolerance, rim_diameter,
                                     outlines);
        return;
    }
    const double pitch1 = 2.0 * PI / g1.z;
    const double delta = std::remainder(g1.tooth_angle / 2.0 - PI / 2.0, pitch1);
    outlines[0] = build_gear_outline(gear, g1.x, module, tolerance, place.gear_tip_radius);
    GearOutline& mate = outlines[1];
    mate = build_gear_outline(mate_gear, g2.x, module, tolerance, place.mate_tip_radius);
    const double z1 = g1.z;
    const double z2 = g2.z;
    mate.turn = 3.0 * PI / 2.0 + PI / z2 - g2.tooth_angle / 2.0 - delta * z1 / z2;
    mate.centre = ProfilePoint{place.centre_distance, 0.0};
}
