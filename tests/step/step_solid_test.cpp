// Gears written as STEP solids and read back by OpenCASCADE's reader: one valid
// closed solid an outline, named, its volume the outline's area (from its own
// vertices and bulges) times the face width, and a helical gear's teeth turned
// the way its hand turns them.
#include "step/step.hpp"

#include <BRepAdaptor_Curve.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepCheck_Shell.hxx>
#include <BRepClass3d_SolidClassifier.hxx>
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <STEPControl_Reader.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Solid.hxx>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double MODULE = 2.0;
constexpr double FACE_WIDTH = 20.0;
// Ten times the files' tolerance: a third of the sides, and a third of the
// kernel's time, for solids of the same kind.
constexpr double TOLERANCE = 10.0 * OUTLINE_TOLERANCE;
// The kernel integrates the volume of spline faces to about 5e-5 relative
// (its adaptive integration, asked for more, strays further).
constexpr double VOLUME_PRECISION = 1e-4;

// The area the outline encloses: its polygon's (shoelace) and each arc's
// segment beyond its chord, a counter-clockwise arc's outwards on a
// counter-clockwise outline; a ring's, between its rim and its teeth.
double outline_area(const GearOutline& o) {
    const int n = outline_vertex_count(o);
    double area = 0.0;
    for (int i = 0; i < n; ++i) {
        const OutlineVertex a = outline_vertex(o, i);
        const ProfilePoint b = outline_vertex(o, (i + 1) % n).point;
        area += 0.5 * (a.point.x * b.y - b.x * a.point.y);
        if (a.bulge == 0.0) continue;
        const double angle = 4.0 * std::atan(a.bulge);
        const double chord = std::hypot(b.x - a.point.x, b.y - a.point.y);
        const double radius = chord / (2.0 * std::sin(0.5 * angle));
        area += 0.5 * radius * radius * (angle - std::sin(angle));
    }
    return o.rim > 0.0 ? PI * o.rim * o.rim - std::fabs(area) : std::fabs(area);
}

// The outline's sides as points no further apart than its tolerance allows:
// each arc cut into sixteen chords.
std::vector<ProfilePoint> outline_polygon(const GearOutline& o) {
    std::vector<ProfilePoint> points;
    const int n = outline_vertex_count(o);
    for (int i = 0; i < n; ++i) {
        const OutlineVertex a = outline_vertex(o, i);
        points.push_back(a.point);
        if (a.bulge == 0.0) continue;
        const OutlineArc arc = outline_arc(a.point, outline_vertex(o, (i + 1) % n).point, a.bulge);
        for (int k = 1; k < 16; ++k) points.push_back(outline_arc_point(arc, k / 16.0));
    }
    return points;
}

// How far p lies from the closed polygon.
double distance_to(const std::vector<ProfilePoint>& polygon, double x, double y) {
    double nearest = HUGE_VAL;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const ProfilePoint& a = polygon[i];
        const ProfilePoint& b = polygon[(i + 1) % polygon.size()];
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double u =
            std::fmin(1.0, std::fmax(0.0, ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy)));
        nearest = std::fmin(nearest, std::hypot(x - a.x - u * dx, y - a.y - u * dy));
    }
    return nearest;
}

struct Made {
    Gear gears[2];
    GearOutline outlines[2];
    GearOutline fine[2];  // the same twenty times finer: the exact form, near enough
    int count;
};

// The gear (and with mate_z its mate, of the opposite hand) as the outline files have them.
void make(Made& m, const Cutter& cutter, int z, bool internal, int mate_z = 0) {
    const char* refusal = gear_refusal(cutter, z, 0.0, internal);
    ASSERT_EQ(refusal, nullptr) << refusal;
    compute_gear(m.gears[0], cutter, z, 0.0, internal);
    Cutter mate_cutter = cutter;
    mate_cutter.left_hand = !cutter.left_hand;
    if (mate_z != 0) compute_gear(m.gears[1], mate_cutter, mate_z, 0.0);
    m.count = build_written_outlines(m.gears[0], mate_z != 0 ? &m.gears[1] : nullptr, 0.0, MODULE, TOLERANCE,
                                     0.0, m.outlines);
    ASSERT_EQ(outline_refusal(m.outlines, m.count), nullptr);
    build_written_outlines(m.gears[0], mate_z != 0 ? &m.gears[1] : nullptr, 0.0, MODULE, 0.05 * TOLERANCE,
                           0.0, m.fine);
}

// Every edge of the solid's lower face (z = 0), a bore's circle aside, lies
// within the tolerance of the exact outline: its splines keep to the curves
// the chords were cut from.
void expect_lower_face_on(const TopoDS_Solid& solid, const GearOutline& fine, double bore) {
    const std::vector<ProfilePoint> polygon = outline_polygon(fine);
    double farthest = 0.0;
    int edges = 0;
    for (TopExp_Explorer e(solid, TopAbs_EDGE); e.More(); e.Next()) {
        const BRepAdaptor_Curve curve(TopoDS::Edge(e.Current()));
        const double first = curve.FirstParameter();
        const double last = curve.LastParameter();
        const gp_Pnt middle = curve.Value(0.5 * (first + last));
        if (std::fabs(middle.Z()) > 1e-9 || curve.Value(first).Z() != middle.Z()) continue;  // not on z = 0
        const double r = std::hypot(middle.X() - fine.centre.x, middle.Y() - fine.centre.y);
        if (std::fabs(r - 0.5 * bore) < 1e-6 || std::fabs(r - fine.rim) < 1e-6) continue;  // not the teeth
        ++edges;
        for (int k = 0; k <= 32; ++k) {
            const gp_Pnt p = curve.Value(first + (last - first) * k / 32);
            farthest = std::fmax(farthest, distance_to(polygon, p.X(), p.Y()));
        }
    }
    EXPECT_GE(edges, 4 * fine.z);  // a root arc, two flanks and a tip a tooth at least
    EXPECT_LE(farthest, TOLERANCE);
}

std::string write(const Made& m, const char* file, double bore, const char* const* names) {
    const std::string path = std::string(RACKGEN_STEP_ARTIFACTS) + "/" + file;
    StepSolid solids[2];
    for (int i = 0; i < m.count; ++i)
        solids[i] = {&m.outlines[i], i == 0 ? bore : 0.0, helix_twist(m.gears[i].params, MODULE), names[i]};
    FILE* out = std::fopen(path.c_str(), "w");
    EXPECT_NE(out, nullptr) << path;
    if (out == nullptr) return path;
    const char* failure = write_step_file(out, solids, m.count, FACE_WIDTH);
    EXPECT_EQ(failure, nullptr) << failure;
    EXPECT_EQ(std::fclose(out), 0);
    return path;
}

// The file's solids, each checked valid and closed, and the names in the file's text.
std::vector<TopoDS_Solid> read_back(const std::string& path, const char* const* names, int count) {
    std::vector<TopoDS_Solid> solids;
    STEPControl_Reader reader;
    EXPECT_EQ(reader.ReadFile(path.c_str()), IFSelect_RetDone);
    reader.TransferRoots();
    for (TopExp_Explorer e(reader.OneShape(), TopAbs_SOLID); e.More(); e.Next()) {
        const TopoDS_Solid solid = TopoDS::Solid(e.Current());
        EXPECT_TRUE(BRepCheck_Analyzer(solid).IsValid());
        for (TopExp_Explorer s(solid, TopAbs_SHELL); s.More(); s.Next())
            EXPECT_EQ(BRepCheck_Shell(TopoDS::Shell(s.Current())).Closed(), BRepCheck_NoError);
        solids.push_back(solid);
    }
    EXPECT_EQ(static_cast<int>(solids.size()), count);
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    for (int i = 0; i < count; ++i)
        EXPECT_NE(text.str().find("MANIFOLD_SOLID_BREP('" + std::string(names[i]) + "'"), std::string::npos)
            << names[i];
    return solids;
}

double volume(const TopoDS_Shape& solid) {
    GProp_GProps props;
    BRepGProp::VolumeProperties(solid, props);
    return props.Mass();
}

// Whether the point at distance r from the outline's centre on its first
// tooth's middle line (between the ends of its tip arc), turned
// counter-clockwise by a and lifted to height h, is in the solid.
bool inside(const TopoDS_Solid& solid, const GearOutline& o, double r, double a, double h) {
    double sum = 0.0;
    int tips = 0;
    for (const OutlineVertex& v : o.tooth)
        if (std::hypot(v.point.x, v.point.y) > o.radius - 1e-6) {
            sum += std::atan2(v.point.y, v.point.x);
            ++tips;
        }
    const double polar = sum / tips - o.turn + a;  // the outline's teeth are turned clockwise by turn
    BRepClass3d_SolidClassifier classifier(
        solid, gp_Pnt(o.centre.x + r * std::cos(polar), o.centre.y + r * std::sin(polar), h), 1e-7);
    return classifier.State() == TopAbs_IN;
}

TEST(StepSolid, SpurGearAndRingKeepTheirOutlinesVolume) {
    Made gear;
    make(gear, SPECIFIED_CUTTER, 9, false);
    const char* gear_names[] = {"gear z 9"};
    const double bore = 10.0;
    std::vector<TopoDS_Solid> solids = read_back(write(gear, "spur.step", bore, gear_names), gear_names, 1);
    ASSERT_EQ(solids.size(), 1u);
    const double expected = (outline_area(gear.fine[0]) - PI * 0.25 * bore * bore) * FACE_WIDTH;
    EXPECT_NEAR(volume(solids[0]), expected, VOLUME_PRECISION * expected);
    expect_lower_face_on(solids[0], gear.fine[0], bore);
    EXPECT_FALSE(inside(solids[0], gear.outlines[0], 0.4 * bore, 0.0, 0.5 * FACE_WIDTH));  // the bore

    Cutter pinion_cutter = SPECIFIED_CUTTER;
    pinion_cutter.teeth = 20;
    Made ring;
    make(ring, pinion_cutter, 50, true);
    ASSERT_GT(ring.outlines[0].rim, 0.0);
    const char* ring_names[] = {"ring z 50"};
    solids = read_back(write(ring, "ring.step", bore, ring_names), ring_names, 1);
    ASSERT_EQ(solids.size(), 1u);
    const double ring_volume = outline_area(ring.fine[0]) * FACE_WIDTH;
    EXPECT_NEAR(volume(solids[0]), ring_volume, VOLUME_PRECISION * ring_volume);
    expect_lower_face_on(solids[0], ring.fine[0], 0.0);
}

// A right-hand gear and its left-hand mate: a twisted prism keeps its volume,
// and where each tooth has turned by a quarter pitch it stands there, the
// right hand's counter-clockwise, the left hand's clockwise.
TEST(StepSolid, HelicalPairTwistsByItsHands) {
    Cutter helical_cutter = SPECIFIED_CUTTER;
    helical_cutter.helix_angle = 20.0;
    Made pair;
    make(pair, helical_cutter, 20, false, 30);
    ASSERT_EQ(pair.count, 2);
    const char* names[] = {"gear z 20", "mate z 30"};
    const std::vector<TopoDS_Solid> solids = read_back(write(pair, "helical.step", 0.0, names), names, 2);
    ASSERT_EQ(solids.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const GearOutline& o = pair.outlines[i];
        const double expected = outline_area(pair.fine[i]) * FACE_WIDTH;
        EXPECT_NEAR(volume(solids[i]), expected, VOLUME_PRECISION * expected) << names[i];
        expect_lower_face_on(solids[i], pair.fine[i], 0.0);
        const double twist = helix_twist(pair.gears[i].params, MODULE);
        EXPECT_EQ(twist > 0.0, i == 0);
        // There the other hand's tooth would stand in the middle of a space.
        const double quarter = PI / (2.0 * o.z);
        const double height = quarter / std::fabs(twist);
        ASSERT_LT(height, FACE_WIDTH);
        const double turned = twist > 0.0 ? quarter : -quarter;
        const double tip = o.radius - 0.1 * MODULE;
        EXPECT_TRUE(inside(solids[i], o, tip, turned, height)) << names[i];
        EXPECT_FALSE(inside(solids[i], o, tip, -turned, height)) << names[i];
    }
}

}  // namespace
