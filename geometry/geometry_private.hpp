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

// ---- tooth profile assembly ------------------------------------------------
// Joins undercut U[0..p] and involute V[0..q] where they first cross (or, with
// no crossing, where U comes nearest V[0]) into result, its last index in
// result_last; a point that would pass POINT_CAPACITY is dropped and sets overflowed.
void join_undercut_involute(int p, const ProfilePoint* undercut, int q, const ProfilePoint* involute,
                            int& result_last, ProfilePoint* result, bool& overflowed);
