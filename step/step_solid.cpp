// Each outline's solid as OpenCASCADE builds it, and the STEP file of them.
// The outline's arcs become exact circular edges; each run of chords of one
// smooth curve (a flank's undercut or involute, between the corners the
// outline marks) one cubic B-spline through the chords' ends, which lie on the
// exact curve: it strays from that curve far less than the chords do, and a
// tooth has a handful of faces instead of one a chord. Each vertex is shared
// by the two edges that meet there.
//
// A spur gear is its face, holes and all, swept straight up (a prism: planes
// and cylinders, exact). A helical gear is lofted through copies of its teeth's
// wire, each turned by its height times the twist (ThruSections, not ruled):
// one B-spline face per side of the outline through all the copies, closed by
// the flat ends. The copies are one wire turned, so every edge has its match
// in every copy by construction and the loft needs no compatibility check; a
// pipe shell along the axis guided by an auxiliary helix would make the same
// kind of faces but has to find each profile's edges again along the sweep.
// The kernel checks the result as one valid closed solid before it is written.
// A helical gear's bore is not twisted: a cylinder cut away by a boolean
// operation. (A ring is never helical: rackgen offers no helical pinion-type
// cutter.)
#include "step/step.hpp"

#include <APIHeaderSection_MakeHeader.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepCheck_Shell.hxx>
#include <BRepOffsetAPI_ThruSections.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRep_Builder.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GC_MakeSegment.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <STEPControl_Controller.hxx>
#include <STEPControl_Writer.hxx>
#include <StepBasic_Product.hxx>
#include <StepData_Protocol.hxx>
#include <StepData_StepModel.hxx>
#include <StepData_StepWriter.hxx>
#include <StepShape_ManifoldSolidBrep.hxx>
#include <Standard_Failure.hxx>
#include <TCollection_HAsciiString.hxx>
#include <TColgp_HArray1OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <TopoDS_Wire.hxx>
#include <XSControl_WorkSession.hxx>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>
#include <gp_Pln.hxx>
#include <gp_Trsf.hxx>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

// ---- Global state ------------------------------------------------------------
static char step_failure[400];  // written by write_step_file when it fails; read by its caller

static gp_Pnt point_at(const ProfilePoint& p) {
    return gp_Pnt(p.x, p.y, 0.0);
}

// The cubic B-spline through the points, parametrised by their distances.
static Handle(Geom_Curve) spline_through(const std::vector<gp_Pnt>& points) {
    const Handle(TColgp_HArray1OfPnt) array = new TColgp_HArray1OfPnt(1, static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i) array->SetValue(static_cast<int>(i) + 1, points[i]);
    GeomAPI_Interpolate interpolate(array, Standard_False, Precision::Confusion());
    interpolate.Perform();
    if (!interpolate.IsDone()) return Handle(Geom_Curve)();
    return Handle(Geom_Curve)(interpolate.Curve());
}

// The curve of the outline's side from vertex a to b: the arc through its
// ends and its middle, or the line.
static Handle(Geom_Curve) side_curve(const OutlineVertex& a, const ProfilePoint& b) {
    if (a.bulge == 0.0) {
        GC_MakeSegment segment(point_at(a.point), point_at(b));
        if (!segment.IsDone()) return Handle(Geom_Curve)();
        return Handle(Geom_Curve)(segment.Value());
    }
    const ProfilePoint middle = outline_arc_point(outline_arc(a.point, b, a.bulge), 0.5);
    GC_MakeArcOfCircle arc(point_at(a.point), point_at(middle), point_at(b));
    if (!arc.IsDone()) return Handle(Geom_Curve)();
    return Handle(Geom_Curve)(arc.Value());
}

// Whether a curve starts at vertex i of the outline (a tooth's first vertex always does).
static bool corner_at(const GearOutline& outline, int i) {
    const std::vector<bool>& corner = outline.corner;
    return corner.empty() || corner[static_cast<size_t>(i) % corner.size()];
}

// The outline's closed wire in the plane z = 0, as the outline runs
// (clockwise about its centre): an edge an arc, and one a run of chords from a
// corner to the next corner or arc; a null wire where an edge cannot be made.
static TopoDS_Wire outline_wire(const GearOutline& outline) {
    const int n = outline_vertex_count(outline);
    BRep_Builder builder;
    TopoDS_Wire wire;
    builder.MakeWire(wire);
    const TopoDS_Vertex first = BRepBuilderAPI_MakeVertex(point_at(outline_vertex(outline, 0).point));
    TopoDS_Vertex from = first;
    std::vector<gp_Pnt> run;
    for (int i = 0; i < n;) {
        const OutlineVertex a = outline_vertex(outline, i);
        int end = i + 1;  // the edge's last vertex
        Handle(Geom_Curve) curve;
        if (a.bulge != 0.0) {
            curve = side_curve(a, outline_vertex(outline, end % n).point);
        } else {
            run.assign(1, point_at(a.point));
            for (;; ++end) {
                const OutlineVertex v = outline_vertex(outline, end % n);
                run.push_back(point_at(v.point));
                if (end == n || v.bulge != 0.0 || corner_at(outline, end)) break;
            }
            curve =
                run.size() == 2 ? side_curve(a, outline_vertex(outline, end % n).point) : spline_through(run);
        }
        const TopoDS_Vertex to =
            end == n ? first
                     : BRepBuilderAPI_MakeVertex(point_at(outline_vertex(outline, end).point)).Vertex();
        if (curve.IsNull()) return TopoDS_Wire();
        BRepBuilderAPI_MakeEdge edge(curve, from, to);
        if (!edge.IsDone()) return TopoDS_Wire();
        builder.Add(wire, edge.Edge());
        from = to;
        i = end;
    }
    wire.Closed(true);
    return wire;
}

// A circle about centre in the plane z = 0, counter-clockwise seen from +z.
static TopoDS_Wire circle_wire(const ProfilePoint& centre, double radius) {
    const gp_Circ circle(gp_Ax2(point_at(centre), gp::DZ()), radius);
    return BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(circle).Edge()).Wire();
}

// A cylinder about centre from z = bottom to top.
static TopoDS_Shape cylinder(const ProfilePoint& centre, double radius, double bottom, double top) {
    const gp_Ax2 axis(gp_Pnt(centre.x, centre.y, bottom), gp::DZ());
    return BRepPrimAPI_MakeCylinder(axis, radius, top - bottom).Shape();
}

static TopoDS_Wire reversed(const TopoDS_Wire& wire) {
    return TopoDS::Wire(wire.Reversed());
}

// A spur gear: the face (outer bound counter-clockwise, holes clockwise)
// swept up by the face width.
static TopoDS_Shape spur_solid(const StepSolid& s, const TopoDS_Wire& teeth, double face_width) {
    const GearOutline& o = *s.outline;
    const gp_Pln plane(gp::XOY());
    TopoDS_Face face;
    if (o.rim > 0.0) {
        BRepBuilderAPI_MakeFace make(plane, circle_wire(o.centre, o.rim));
        make.Add(teeth);
        face = make.Face();
    } else {
        BRepBuilderAPI_MakeFace make(plane, reversed(teeth));
        if (s.bore_diameter > 0.0) make.Add(reversed(circle_wire(o.centre, 0.5 * s.bore_diameter)));
        face = make.Face();
    }
    return BRepPrimAPI_MakePrism(face, gp_Vec(0.0, 0.0, face_width)).Shape();
}

constexpr double MOST_TWIST = 4.0 * PI;  // radians over the face width: 120 copies

// The teeth's wire lofted from z = 0 to the face width, the copy at height h turned
// by h·twist about the centre: copies at most 6° apart, and at least four, so
// that the loft's surfaces, B-splines through the copies, stray from the
// helices between them by far less than the outline's tolerance (a cubic
// through four points 6° apart on a circle of radius r strays by about r·5e-6).
static TopoDS_Shape twisted_teeth(const GearOutline& o, const TopoDS_Wire& teeth, double twist,
                                  double face_width) {
    const double most_turn = 6.0 * PI / 180.0;
    const int copies =
        1 + std::max(3, static_cast<int>(std::ceil(std::fabs(twist) * face_width / most_turn)));
    BRepOffsetAPI_ThruSections loft(Standard_True, Standard_False);
    loft.CheckCompatibility(Standard_False);
    for (int k = 0; k < copies; ++k) {
        const double h = face_width * k / (copies - 1);
        gp_Trsf turn;
        turn.SetRotation(gp_Ax1(point_at(o.centre), gp::DZ()), h * twist);
        gp_Trsf lift;
        lift.SetTranslation(gp_Vec(0.0, 0.0, h));
        loft.AddWire(TopoDS::Wire(BRepBuilderAPI_Transform(teeth, lift * turn, Standard_True).Shape()));
    }
    loft.Build();
    return loft.IsDone() ? loft.Shape() : TopoDS_Shape();
}

// A helical gear: its twisted teeth less the bore, which reaches a tenth of
// the face width past both ends, so no face of the cut lies on an end.
static TopoDS_Shape helical_solid(const StepSolid& s, const TopoDS_Wire& teeth, double face_width) {
    const GearOutline& o = *s.outline;
    const TopoDS_Shape gear = twisted_teeth(o, teeth, s.twist, face_width);
    if (gear.IsNull() || s.bore_diameter <= 0.0) return gear;
    const double past = 0.1 * face_width;
    BRepAlgoAPI_Cut cut(gear, cylinder(o.centre, 0.5 * s.bore_diameter, -past, face_width + past));
    return cut.IsDone() ? cut.Shape() : TopoDS_Shape();
}

// The one solid in shape, if it holds exactly one, valid, bounded by closed shells.
static const char* solid_refusal(const TopoDS_Shape& shape, TopoDS_Solid& solid) {
    if (shape.IsNull()) return "the kernel could not build it";
    int solids = 0;
    for (TopExp_Explorer e(shape, TopAbs_SOLID); e.More(); e.Next()) {
        solid = TopoDS::Solid(e.Current());
        ++solids;
    }
    if (solids != 1) return "it is not one solid";
    if (!BRepCheck_Analyzer(solid, Standard_True, Standard_True).IsValid())
        return "the kernel finds it invalid";
    for (TopExp_Explorer e(solid, TopAbs_SHELL); e.More(); e.Next())
        if (BRepCheck_Shell(TopoDS::Shell(e.Current())).Closed() != BRepCheck_NoError)
            return "its surface is not closed";
    return nullptr;
}

// The entities the last transfer added to the file from number first on: its
// product and its solid carry the name.
static void name_solid(STEPControl_Writer& writer, int first, const char* name) {
    const Handle(StepData_StepModel) model = writer.Model();
    const Handle(TCollection_HAsciiString) text = new TCollection_HAsciiString(name);
    for (int i = first; i <= model->NbEntities(); ++i) {
        const Handle(Standard_Transient) entity = model->Value(i);
        if (const Handle(StepBasic_Product) product = Handle(StepBasic_Product)::DownCast(entity)) {
            product->SetId(text);
            product->SetName(text);
        } else if (const Handle(StepShape_ManifoldSolidBrep) solid =
                       Handle(StepShape_ManifoldSolidBrep)::DownCast(entity)) {
            solid->SetName(text);
        }
    }
}

// The file's header: what it holds and what wrote it; its time stamp is the kernel's (now).
static void set_header(STEPControl_Writer& writer, int count) {
    APIHeaderSection_MakeHeader header(writer.Model());
    header.SetName(new TCollection_HAsciiString(count == 2 ? "gear and mate" : "gear"));
    header.SetAuthorValue(1, new TCollection_HAsciiString(""));
    header.SetOrganizationValue(1, new TCollection_HAsciiString(""));
    header.SetOriginatingSystem(new TCollection_HAsciiString("rackgen"));
    header.SetPreprocessorVersion(new TCollection_HAsciiString("OpenCASCADE STEP writer"));
    header.SetDescriptionValue(1, new TCollection_HAsciiString("gears as solids, millimetres"));
}

// The model's text, as the kernel would write it to a file of its own, into the caller's.
static const char* print_model(STEPControl_Writer& writer, FILE* file) {
    const Handle(StepData_Protocol) protocol = Handle(StepData_Protocol)::DownCast(writer.WS()->Protocol());
    if (protocol.IsNull()) return "the file cannot be written";
    StepData_StepWriter step_writer(writer.Model());
    step_writer.SendModel(protocol);
    std::ostringstream text;
    if (!step_writer.Print(text)) return "the file cannot be written";
    const std::string bytes = text.str();
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) return "the file cannot be written";
    return nullptr;
}

static const char* write_solids(FILE* file, const StepSolid* solids, int count, double face_width) {
    if (!(face_width > 0.0)) return "the face width must be more than 0";
    STEPControl_Controller::Init();
    // The kernel's messages (the transfer's statistics) go to standard output
    // unless told otherwise; rackgen says what it wrote in its own words.
    for (Message_SequenceOfPrinters::Iterator p(Message::DefaultMessenger()->Printers()); p.More(); p.Next())
        p.Value()->SetTraceLevel(Message_Fail);
    Interface_Static::SetCVal("write.step.schema", "AP214IS");
    Interface_Static::SetCVal("write.step.unit", "MM");
    Interface_Static::SetCVal("xstep.cascade.unit", "MM");
    STEPControl_Writer writer;
    for (int i = 0; i < count; ++i) {
        const StepSolid& s = solids[i];
        // rackgen cuts helical gears with the rack alone: no ring is helical.
        if (s.twist != 0.0 && s.outline->rim > 0.0) return "a ring cannot be helical";
        // A lead shorter than half the face width would take hundreds of copies.
        if (std::fabs(s.twist) * face_width > MOST_TWIST)
            return "the teeth turn more than twice about the axis";
        const TopoDS_Wire teeth = outline_wire(*s.outline);
        const TopoDS_Shape shape = teeth.IsNull()   ? TopoDS_Shape()
                                   : s.twist == 0.0 ? spur_solid(s, teeth, face_width)
                                                    : helical_solid(s, teeth, face_width);
        TopoDS_Solid solid;
        if (const char* reason = solid_refusal(shape, solid)) {
            std::snprintf(step_failure, sizeof step_failure, "the solid \"%s\" cannot be made: %s", s.name,
                          reason);
            return step_failure;
        }
        const int first = writer.Model()->NbEntities() + 1;
        if (writer.Transfer(solid, STEPControl_AsIs) != IFSelect_RetDone) {
            std::snprintf(step_failure, sizeof step_failure, "the solid \"%s\" cannot be written as STEP",
                          s.name);
            return step_failure;
        }
        name_solid(writer, first, s.name);
    }
    set_header(writer, count);
    return print_model(writer, file);
}

const char* write_step_file(FILE* file, const StepSolid* solids, int count, double face_width) {
    try {
        return write_solids(file, solids, count, face_width);
    } catch (const Standard_Failure& failure) {
        std::snprintf(step_failure, sizeof step_failure, "the geometry kernel failed: %s",
                      failure.GetMessageString());
        return step_failure;
    }
}
