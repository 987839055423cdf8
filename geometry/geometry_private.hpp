// What the geometry's own files share and no other folder uses: the steps of
// the tooth assembly, the formulas and checks behind compute_gear and
// gear_refusal. The geometry's tests include it too.
#pragma once

#include "geometry/geometry.hpp"

constexpr int UNDERCUT_LAST = 250;  // the undercut curve always has 251 samples

// The pair of last indices that compute_tooth_profile hands back.
struct ProfileLasts {
    int flank_last;
    int outline_last;
};

// Set by compute_tooth_profile when a list would have passed POINT_CAPACITY
// (the surplus samples are dropped, never written); read by gear_refusal.
// Owned by gear_params.cpp with the rest of the model state.
extern bool profile_overflowed;

// A computation on the real procedures that must leave the gear as it was (the
// range's trial, the mate) keeps gear_params, generation_curves and
// profile_overflowed first and puts them back after; one at a time.
void keep_gear_state();
void restore_gear_state();

// ---- gear parameters -------------------------------------------------------
// Sets the pressure-angle constants and the rack's land widths.
void compute_gear_params();

// ---- rack-generation point formulas ---------------------------------------
// Moves points[n] onto the tip circle along the line of the last segment.
// Returns 1 if it did, 0 if that line misses the circle.
int clip_to_tip_circle(int n, ProfilePoint* points);

// ---- tooth profile assembly ------------------------------------------------
// Fills one tooth for shift x_s (and, on the way, the shift-dependent fields of
// gear_params and all of generation_curves). Writes never pass POINT_CAPACITY.
void compute_tooth_profile(double x_s, ProfilePoint* flank, ProfilePoint* mirror_flank, ProfilePoint* outline,
                           ProfileLasts& lasts);
// Joins undercut U[0..p] and involute V[0..q] where they first cross (or, with
// no crossing, where U comes nearest V[0]); result last index in result_last.
// Returns 1, as there is always a join; compute_tooth_profile, its one caller, ignores it.
int join_undercut_involute(int p, const ProfilePoint* undercut, int q, const ProfilePoint* involute,
                           int& result_last, ProfilePoint* result);
