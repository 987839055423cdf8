// Gear geometry: a gear as a value — its parameter block, the curves the rack
// cutter generates and its teeth — the rack-generation point formulas and the
// assembly of one complete tooth.
//
// rackgen is written as plain procedures over records in static storage, sized
// at build time and never freed; nothing is allocated on the heap and nothing
// throws. Every procedure here works on the gear (or the parameters) it is
// handed and keeps no state of its own, so any number of gears can be alive at
// once: the gear the user chose and its mate (choice/choice.hpp), the accepted
// range's trial gear, and in time a gear-shaped cutter.
#pragma once

// π is deliberately this 15-digit value, not M_PI: every published figure of
// the program (file data, worked examples) was computed with it.
constexpr double PI = 3.14159265358979;

// 601 points: 600 roll steps of 0.01 cover every tooth in the accepted range
// (the longest list, the outline of z = 3 with x = 0.12, needs 437 points).
constexpr int POINT_CAPACITY = 601;
constexpr double ROLL_STEP = 0.01;  // change of the roll parameter per sample

// A point of the gear frame, in module units: origin at the pitch point, gear
// centre at (0, -r), +y from the centre through the pitch point.
struct ProfilePoint {
    double x;
    double y;
};

// The cutter that cuts the gear, in module units: the straight-sided rack, or
// a pinion-type (shaper) cutter, a gear of `teeth` involute teeth that turns
// with the work. Either's tooth is the gear's space, so its addendum is the
// gear's dedendum: a pinion cutter's tip circle lies hf + x_c above its pitch
// circle.
struct Cutter {
    double pressure_angle;  // degrees, the flank's angle from the normal of the rolling line
    double addendum;        // gear addendum per module (the cutter's root line above its reference line)
    double dedendum;        // gear dedendum per module (the cutter's tip line below it)
    double tip_radius;      // radius of the arc that rounds each tip corner; 0: a sharp corner
    int teeth = 0;          // a pinion-type cutter's number of teeth z_c; 0: the rack
    double shift = 0.0;     // a pinion-type cutter's shift coefficient x_c
    // A helical gear's helix angle β, degrees (0: a spur gear), and its hand.
    // Every value above, the module and the gear's shift are then the normal
    // plane's (the hob's); the gear is computed as its transverse section.
    double helix_angle = 0.0;
    bool left_hand = false;
};
constexpr double HELIX_ANGLE_MAX = 45.0;
// Whether the cutter cuts a helical gear.
inline bool helical(const Cutter& c) {
    return c.helix_angle != 0.0;
}
// What a pinion-type cutter may be: 6 to 400 teeth (beyond, it cuts as the rack
// does), a shift of -1 to 1, and teeth that keep a tip land.
constexpr int CUTTER_TEETH_MIN = 6;
constexpr int CUTTER_TEETH_MAX = 400;
constexpr double CUTTER_SHIFT_LIMIT = 1.0;
// Whether the cutter is a pinion-type cutter (otherwise the rack).
inline bool pinion_type(const Cutter& c) {
    return c.teeth != 0;
}
// The cutter rackgen teaches with: 20°, addendum 1, dedendum 1.25, a sharp tip corner.
constexpr Cutter SPECIFIED_CUTTER = {20.0, 1.0, 1.25, 0.0};
// The basic rack profiles of ISO 53, offered by their letter wherever a gear
// is chosen (the command line's --profile, the page's presets).
struct CutterProfile {
    char letter;
    Cutter cutter;
};
constexpr int CUTTER_PROFILE_COUNT = 4;
constexpr CutterProfile CUTTER_PROFILES[CUTTER_PROFILE_COUNT] = {
    {'A', {20.0, 1.0, 1.25, 0.38}},
    {'B', {20.0, 1.0, 1.25, 0.30}},
    {'C', {20.0, 1.0, 1.25, 0.25}},
    {'D', {20.0, 1.0, 1.40, 0.39}},
};
// The module every millimetre output is scaled by, from 0.001 to 10000 mm: the
// outline files give coordinates to 1e-6 mm, so from 0.001 mm every digit still
// means something, and up to 10000 mm (z = 1000: a gear 10 km across) every
// number stays short and finite.
constexpr double MODULE_MIN = 0.001;
constexpr double MODULE_MAX = 10000.0;
constexpr double DEFAULT_MODULE = 1.0;  // when none is given: millimetres are modules
// What a cutter may be: a pressure angle of 10° to 35°, heights of 0.5 to 2
// modules with lands left on both tooth and space, and a tip radius of 0 up to
// the largest arc its tip land holds, (π/4 - hf·tan α)·cos α / (1 - sin α).
constexpr double PRESSURE_ANGLE_MIN = 10.0;
constexpr double PRESSURE_ANGLE_MAX = 35.0;
constexpr double CUTTER_HEIGHT_MIN = 0.5;
constexpr double CUTTER_HEIGHT_MAX = 2.0;
// Whether two cutters are the same cutter, value for value.
bool same_cutter(const Cutter& a, const Cutter& b);
// Why the cutter cannot cut, in words a user can be shown, or nullptr.
const char* cutter_refusal(const Cutter& cutter);
// The largest tip radius the cutter's tip land holds (negative: no tip land).
double largest_tip_radius(double pressure_angle, double dedendum);
// The geometry's unit of length is the transverse module: for a helical gear
// m_t = m_n/cos β, for a spur gear the module itself. Millimetres per unit
// for a normal module of module mm (module itself, exactly, for a spur gear).
double transverse_module(const Cutter& c, double module);
// The transverse pressure angle, degrees: tan α_t = tan α_n / cos β.
double transverse_pressure_angle(const Cutter& c);

// A pinion-type cutter at work on a gear, module units: the cutter's own
// circles, the centre distance it cuts at and what of its tooth cuts below the
// involute. Its tooth's half angle at radius R is tooth_half_angle + inv α -
// inv α_R (the involute's), and the roll t of the gear frame puts the line of
// centres at polar angle β = t + roll_offset, so that the contact point at t is
// the rack's at the same t: one involute, one parameter for both cutters.
struct PinionCutting {
    double pressure_angle;     // α₀, radians: inv α₀ = 2·tan α·(x ± x_c)/(z ± z_c) + inv α
    double centre_distance;    // a₀ = (z ± z_c)/2 · cos α / cos α₀ (- for a ring)
    double gear_pitch_radius;  // the gear's cutting pitch circle, rb / cos α₀
    double pitch_radius;       // the cutter's: z_c/2
    double base_radius;        // z_c/2 · cos α
    double tip_circle;         // z_c/2 + hf + x_c
    double root_circle;        // what it is drawn with: clear of the gear's tip circle
    double tooth_half_angle;   // (π/2 + 2·x_c·tan α)/z_c: half its tooth on its pitch circle
    double cut_radius;         // what cuts below the involute: the sharp tip corner on the tip circle,
    double cut_half_angle;     // or the tip arc's centre, ρ inside it; its angle from the tooth centre line
    double flank_end_radius;   // where its involute flank ends: the corner, or the arc's tangent point
    double space_centre;       // β at which a cutter tooth stands centred on the line of centres: -space/2
    double base_half_angle;    // its tooth's half angle on its base circle, where its flanks turn radial
    double involute_limit_roll;  // the roll at which the contact reaches the cutter's base tangent point
    double roll_offset;          // β - t: α - α₀ for an external gear, α₀ - α for a ring
};

struct GearParams {
    int z;                        // number of teeth
    double x;                     // profile shift coefficient the shifted gear is cut with
    double feed;                  // a thinned gear's: the cutter fed in by this much shift beyond the
                                  // nominal x - feed (negative thins; 0: cut to the nominal tooth); its
                                  // blank, the tip circle, stays the nominal gear's
    Cutter cutter;                // the cutter, as given
    double alpha;                 // pressure angle in radians, π/9 for 20 degrees
    double tan_alpha;             // tan(alpha)
    double cos_alpha;             // cos(alpha)
    double addendum_coefficient;  // gear addendum per module, the cutter's (1.0 as specified)
    double dedendum_coefficient;  // gear dedendum per module, the cutter's (1.25 as specified)
    double tip_arc_radius;        // the cutter's tip radius ρ (0: sharp corners); a helical gear's
                                  // transverse tip arc is an ellipse, ρ along the rolling line
    double tip_arc_height;        // and ρ·cos β across it (ρ for a spur gear)
    double normal_alpha;          // the normal plane's pressure angle, radians (alpha for a spur gear)
    double cos_beta;              // cos β: 1 for a spur gear; a normal-plane length per transverse one
    double arc_rise;              // the tip arc's flank end above the tip line: ρ·cos β·(1 - sin α_n)
    double arc_run;               // its lowest point from the sharp corner: ρ·(1 - sin α_n)/cos α_n
    // An elliptical tip arc whose cut runs back in roll near its lowest point
    // (elliptic_fold): the arc angle from which the roll runs one way again,
    // and the rolls (beyond the lowest point's) that stand for the part before it.
    double fold_phi;
    double fold_roll;
    double rack_root_land;  // flat bottom of a cutter tooth space, on the cutter's root line
    double rack_tip_land;   // top of a cutter tooth between its flanks' ends at the tip line, arcs included
    // Below: derived from the shift set_shift_params was given last (in a Gear: the shifted tooth's).
    double dedendum;             // hf - x_s, depth of the cutter's tip line below the rolling line
    double addendum;             // ha + x_s, height of the cutter's root line above it
    double dedendum_offset;      // horizontal run of a cutter flank over the dedendum
    double addendum_offset;      // horizontal run of a cutter flank over the addendum
    double pitch_radius;         // r = z/2
    double tip_radius;           // ra = r + ha
    double root_radius;          // rf = r - hf
    double base_radius;          // rb = r·cos(alpha)
    double tooth_angle;          // angular tooth thickness on the pitch circle
    double space_angle;          // angular space width on the pitch circle
    double tip_corner_distance;  // along a cutter flank, from the rolling line to where it ends:
                                 // the tip corner, or where the tip arc takes over
    double undercut_start_roll;  // roll at which the tip corner (or the tip arc's lowest point) stands
                                 // on the root circle
    bool internal;               // a ring: its teeth point to its centre (cut by a pinion cutter only)
    PinionCutting pinion;        // the pinion-type cutter at work (cutter.teeth > 0), for the shift above
};
// How a helical gear's transverse section turns along its axis: radians per mm
// at a normal module of module mm, tan β over the reference radius z·m_t/2,
// counter-clockwise seen from +z for a right hand (it advances as a right-hand
// screw does), so negative for a left hand; 0 for a spur gear.
double helix_twist(const GearParams& g, double module);

// The curves the cutter generates, sampled every 0.01 of roll. For a pinion
// cutter the *_rack points are the cutter's centre at the same roll, and a
// curve's last sample lies at its exact end, off the grid.
struct GenerationCurves {
    ProfilePoint addendum_rack[POINT_CAPACITY];      // rack reference point at t = +0.01·i
    ProfilePoint addendum_involute[POINT_CAPACITY];  // contact point at t = +0.01·i, pitch point outwards
    int addendum_last;
    ProfilePoint dedendum_rack[POINT_CAPACITY];      // rack reference point at t = -0.01·j
    ProfilePoint dedendum_involute[POINT_CAPACITY];  // contact point at t = -0.01·j, pitch point inwards
    int dedendum_last;
    ProfilePoint involute_curve[POINT_CAPACITY];  // whole involute, innermost point to the tip circle
    int involute_last;
    ProfilePoint undercut_rack[POINT_CAPACITY];   // rack reference point at t = -u0 - 0.01·k
    ProfilePoint undercut_curve[POINT_CAPACITY];  // what the tip corner cuts, root circle outwards: its
                                                  // trochoid, or the envelope of the tip arc
    int undercut_last;
};

// Points of each arc of a tooth's outline (root arc and tip arc): ten chords
// keep the tip arc within 0.004 module of its circle, the root arc within
// 0.0004, over the whole accepted range.
constexpr int ARC_POINTS = 10;

struct ToothProfile {
    ProfilePoint flank[POINT_CAPACITY];         // left flank, root circle to tip circle
    ProfilePoint mirror_flank[POINT_CAPACITY];  // flank mirrored about the tooth centre line
    ProfilePoint outline[POINT_CAPACITY];       // one angular pitch: root arc, flank, tip arc, right flank
    int flank_last;                             // last index of flank and mirror_flank
    int outline_last;                           // 2·flank_last + 2·ARC_POINTS
};

// A gear: what it is cut with, its parameters, the curves the cutter
// generates and its teeth. compute_gear fills one whole; the shifted tooth is
// computed last, so the shift-dependent fields of params and all of curves
// describe it.
struct Gear {
    GearParams params;
    GenerationCurves curves;
    ToothProfile standard_tooth;  // shift 0
    ToothProfile shifted_tooth;   // shift params.x
    bool overflowed;              // a list of the last tooth computed would have passed POINT_CAPACITY
};

// ---- rack-generation point formulas ---------------------------------------
// The roll of step n of an animation that starts at first_roll and rolls by
// roll_step a step. The current cutter and every trace cutter take their roll
// from here, so a trace stands exactly where the current cutter stood.
double roll_at_step(double first_roll, double roll_step, int n);
// A(t): the rack's reference point after rolling through t on the pitch
// circle of the fixed gear (model units), where the rack that cuts the stored
// curves stands and where every rack drawn at roll t stands.
ProfilePoint rack_reference_at(const GearParams& g, double t);
// For roll parameter t: the rack's reference point A, the point Q where the
// cutter flank touches the involute it generates, and λ, the signed distance
// from A to Q along the flank.
void rack_involute_point(const GearParams& g, double t, ProfilePoint& rack_point, ProfilePoint& contact_point,
                         double& flank_distance);
// A and what the cutter's tip cuts at roll t: the tip corner B, which traces the
// trochoid of the undercut, or on a rounded tip the point of its arc that cuts.
void rack_undercut_point(const GearParams& g, double t, ProfilePoint& rack_point, ProfilePoint& corner_point);
// The roll at which the cutter's straight flank touches the involute with its
// end (the tip corner, or where the tip arc begins): λ = r·t·sin α at that end.
double flank_end_roll(const GearParams& g);

// ---- tooth profile assembly ------------------------------------------------
// The fields of g that depend on the shift, for shift x_s (compute_tooth sets
// them first; the outline builder sets them on a copy of its own).
void set_shift_params(GearParams& g, double x_s);
// One tooth of the gear for shift x_s into tooth, with its last indices (and, on
// the way, the shift-dependent fields of gear.params, all of gear.curves and
// gear.overflowed). z and the pressure-angle constants must be set (compute_gear
// does it).
void compute_tooth(Gear& gear, double x_s, ToothProfile& tooth);
// A whole gear of z teeth with shift x cut by the cutter: its constants, the
// standard tooth, then the shifted tooth (last, so the shift-dependent state
// describes it). The cutter and the gear should be accepted (gear_refusal).
// A thinned gear: the shifted tooth cut with the cutter fed in by feed more
// shift (x + feed, also accepted), its tip circle the nominal one's.
void compute_gear(Gear& gear, const Cutter& cutter, int z, double x, bool internal = false,
                  double feed = 0.0);
// The shift the cutter is fed in by to change a tooth's thickness by allowance
// mm (negative thins) at module mm, pressure angle in degrees (the normal
// plane's): E/(2·m·tan α_n); a ring's tooth thins as its shift grows.
double thinning_feed(double pressure_angle, double module, double allowance, bool internal);
// The shift the gear was designed with: x less a thinned gear's feed.
inline double nominal_shift(const GearParams& g) {
    return g.x - g.feed;
}

// Where the gear's undercut curve crosses its involute (the involute begins
// there, above the undercut), true; false when they do not cross (a gear
// without undercut: the involute begins where the cutter's straight flank ends).
bool undercut_meets_involute(const Gear& gear, ProfilePoint& meeting);
// Where segment a–b crosses segment p–q (ends included), true; false when they
// do not cross or are parallel.
bool segments_cross(const ProfilePoint& a, const ProfilePoint& b, const ProfilePoint& p,
                    const ProfilePoint& q, ProfilePoint& at);

// The mate a gear meshes with until one is chosen: the standard gear of 2·z
// teeth, at most DEFAULT_MATE_TEETH_MAX.
constexpr int DEFAULT_MATE_TEETH_MAX = 100;
int default_mate_teeth(int z);

// ---- the tooth as cut ---------------------------------------------------------
// Where the flanks of a pointed tooth meet, below its tip circle (r: the pitch
// radius; the gear frame has its centre at (0, -r)). Returns the index i of the
// last flank point before the tooth centre line, with meeting set to where
// flank[i] → flank[i+1] crosses it (the mirrored flank meets it there too);
// returns tooth.flank_last, meeting untouched, when the flank stays on its side
// and the tooth has its tip arc.
int flank_until_meeting(const ToothProfile& tooth, double r, ProfilePoint& meeting);

// One tooth's outline as the gear has it, into points (POINT_CAPACITY): tooth.outline,
// or for a pointed tooth its root arc, the flank up to the meeting point and the
// mirrored flank back, with no tip arc run backwards across both flanks. Returns
// its last index.
int tooth_as_cut(const ToothProfile& tooth, double r, ProfilePoint* points);

// ---- the flank as the cutter cuts it -----------------------------------------
// The exact flank of the gear whose shift g holds, as the rolls of two curves:
// what the cutter's tip cuts (rack_undercut_point) from the root circle, t =
// undercut_start, to t = undercut_end, then the involute (rack_involute_point)
// from t = involute_start up to t = involute_end, the tip circle or, on a
// pointed tooth, the tooth centre line. Both curves pass through one point
// there: where the involute crosses what the tip cut (an undercut tooth), or at
// flank_end_roll, where they touch.
struct FlankRolls {
    double undercut_start;  // -undercut_start_roll
    double undercut_end;
    double involute_start;  // equal to involute_end when the flank has no involute: what the
    double involute_end;    // tip cuts meets the tip circle or the centre line first
    bool pointed;           // the flank ends on the tooth centre line, below the tip circle
    // A dedendum equal to the tip radius puts the tip arc's centre on the
    // rolling line: at roll undercut_start it stands on the point of rolling,
    // and the whole arc cuts at once. What it cuts is then that arc itself,
    // about the point of rolling, from the root circle to the involute's
    // start; undercut_end is undercut_start.
    bool fillet_arc;
    // A pinion cutter's involute generates only as far as the line of action
    // reaches, to the cutter's base circle. A gear whose tip lies beyond (an
    // external gear's outside, a ring's inside that radius) is cut there by the
    // cutter's radial flank below its base circle: from roll tip_flank_start,
    // the involute's end, to tip_flank_end on radial_flank_point. Equal: the
    // flank has no such part.
    double tip_flank_start;
    double tip_flank_end;
};
FlankRolls flank_rolls(const GearParams& g);
// Whether what the cutter's tip cuts removes the whole involute of the gear's
// shifted tooth: no part of its flank is involute.
bool involute_cut_away(const Gear& gear);
// The points alone, for either cutter: what its tip cuts at roll t (the rack's:
// rack_undercut_point), and the contact point of its flank with the involute
// (the rack's: rack_involute_point; a ring's, the mirror image at -t).
ProfilePoint undercut_point(const GearParams& g, double t);
ProfilePoint involute_point(const GearParams& g, double t);

// ---- the pinion-type cutter ----------------------------------------------------
// Where the cutter stands at roll t, gear frame: its centre and the clockwise
// angle from +y of its tooth 0's centre line (a cutter drawn from
// pinion_cutter_tooth turned by it about its centre).
struct CutterPlace {
    ProfilePoint centre;
    double turn;
};
CutterPlace pinion_cutter_place(const GearParams& g, double t);
// What the cutter's radial flank below its base circle cuts at roll t: the
// foot of the perpendicular from the point of rolling onto it.
ProfilePoint radial_flank_point(const GearParams& g, double t);
// K(t): the point of rolling of the cutter's and the gear's cutting pitch
// circles at roll t, gear frame.
ProfilePoint cutting_pitch_point(const GearParams& g, double t);
// One pitch of the cutter's outline in its own frame (centre at the origin,
// tooth 0 centred on +y): root arc, left flank, tip (arc or corner), right
// flank, up to capacity points; the last index.
int pinion_cutter_tooth(const GearParams& g, ProfilePoint* points, int capacity);
// Why a pinion-type cutter cannot cut at all (its teeth, shift, tip), or nullptr.
const char* pinion_cutter_refusal(const Cutter& c);
// A pinion 1 inside a ring 2: teeth, tip and base radii, centre distance and
// working pressure angle (radians), module units.
struct InternalMesh {
    double z1, z2, ra1, ra2, rb1, rb2, a, aw;
};
// The ring's tip digs into the pinion's flank below its base circle (involute
// interference); the pinion's tip hits the ring's tooth as it leaves mesh
// (trochoid interference); the pinion cannot be moved out radially (trimming).
bool internal_involute_interference(const InternalMesh& mesh);
bool internal_trochoid_interference(const InternalMesh& mesh);
bool internal_trimming(const InternalMesh& mesh);
// Cutter and ring: whether the cutter cannot be withdrawn radially without
// cutting the ring's teeth (trimming), whether its tip hits the ring's tip as
// it enters and leaves (trochoid interference); each a test of the gear's params.
bool cutter_trims_ring(const GearParams& g);
bool cutter_tip_hits_ring_tip(const GearParams& g);
// Whether a pinion-type cutter's flank end passes inside the base circle of the
// external gear g describes (the shift set last): its tip undercuts the flank.
// The least shift with which it does not, for g's z; and the least number of
// teeth with which it does not, for g's shift (0 when none up to Z_MAX).
bool pinion_undercuts(const GearParams& g);
double pinion_least_shift(const GearParams& g);
int pinion_least_teeth(const GearParams& g);
// inv α = tan α - α, and the angle whose involute is v (v ≥ 0).
double involute_function(double angle);
double inverse_involute(double v);

// ---- accepted range ----------------------------------------------------------
constexpr int Z_MIN = 3;     // below, the root circle has no positive radius for any usable shift
constexpr int Z_MAX = 1000;  // a gear of 1000 teeth is already wider than any view of it

// Says why a gear of z teeth with shift x cannot be cut by the cutter, in words
// a user can be shown, or returns nullptr when it can. Accepted: 3 ≤ z ≤ 1000
// and max(-ha, hf - z/2) < x < hf (with the specified cutter: max(-1, 1.25 -
// z/2) < x < 1.25), less the gears whose tooth would not fit the lists, whose
// flank would leave the band between root and tip circle, or whose cutter's
// straight flank would not reach below the rolling line. The text is valid
// until the next call.
const char* gear_refusal(const Cutter& cutter, int z, double x, bool internal = false);
// For an accepted gear whose tooth comes to a point below its tip circle, or
// whose flank has no involute left: one line saying so (and at which radius
// its flanks meet), written into text (capacity bytes with the terminator),
// and true. Otherwise text is empty and the result false.
constexpr int GEAR_WARNING_CAPACITY = 640;
bool gear_warning(const Cutter& cutter, int z, double x, char* text, int capacity, bool internal = false);

// The polar angle of a point: measured at the gear centre (0, -r) from +y
// towards +x; and its distance from that centre.
double polar_angle(const ProfilePoint& p, double r);
double polar_radius(const ProfilePoint& p, double r);

// The smallest rectangle [low, high] that holds points[0 … last] (last ≥ 0).
struct ProfileBox {
    ProfilePoint low;
    ProfilePoint high;
};
ProfileBox bounding_box(const ProfilePoint* points, int last);
