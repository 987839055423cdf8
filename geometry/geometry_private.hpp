// What the geometry's own files share and no other folder uses: the steps of
// the tooth assembly, the formulas and checks behind compute_gear and
// gear_refusal. The geometry's tests include it too.
#pragma once

#include "geometry/geometry.hpp"

constexpr int UNDERCUT_LAST = 250;  // the undercut curve always has 251 samples

// ---- gear parameters -------------------------------------------------------
// Sets the pressure-angle constants and the rack's land widths from g.cutter.
void compute_gear_params(GearParams& g);

// ---- rack-generation point formulas ---------------------------------------
// Moves points[n] onto g's tip circle along the line of the last segment.
// Returns 1 if it did, 0 if that line misses the circle.
int clip_to_tip_circle(const GearParams& g, int n, ProfilePoint* points);
// What a helical gear's elliptical transverse tip arc cuts at roll t, the rack's
// reference point at rack_point.
ProfilePoint elliptic_tip_cut(const GearParams& g, double t, const ProfilePoint& rack_point);
// The fold of such an arc's cut in roll, for the shift set (set_shift_params calls it).
void set_elliptic_fold(GearParams& g);

// ---- the pinion-type cutter ---------------------------------------------------
// Its constants for the gear at shift x_s (set_shift_params calls it last), with
// the root circle and the undercut's start roll it gives the gear.
void set_pinion_cutting(GearParams& g, double x_s);
// What its tip cuts at roll t, and the roll at which its flank's end touches the involute.
ProfilePoint pinion_cut_point(const GearParams& g, double t);
double pinion_flank_end_roll(const GearParams& g);
// flank_rolls, and with stop_at_centre false the same up to the tip circle
// even where the flanks meet before it.
FlankRolls flank_rolls(const GearParams& g, bool stop_at_centre);
// The roll at which the involute reaches the radius (on its own side of the
// base circle; the base circle's roll for a radius inside it).
double involute_roll_at(const GearParams& g, double radius);
// One tooth of a gear cut by it (compute_tooth's work for that cutter).
void compute_pinion_tooth(Gear& gear, ToothProfile& tooth);

// ---- tooth profile assembly ------------------------------------------------
// The right flank, flank mirrored about the tooth centre line; and one pitch
// of outline (root arc, flank, tip arc, right flank), its last index returned.
void mirror_about_tooth_centre(const GearParams& g, int n, const ProfilePoint* flank,
                               ProfilePoint* mirror_flank);
int assemble_outline(Gear& gear, int n, const ProfilePoint* flank, const ProfilePoint* mirror_flank,
                     ProfilePoint* outline);
// Joins undercut U[0..p] and involute V[0..q] where they first cross (or, with
// no crossing, where U comes nearest V[0]) into result, its last index in
// result_last; a point that would pass POINT_CAPACITY is dropped and sets overflowed.
void join_undercut_involute(int p, const ProfilePoint* undercut, int q, const ProfilePoint* involute,
                            int& result_last, ProfilePoint* result, bool& overflowed);
