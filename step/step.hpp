// The gear and its mate as solids in a STEP file (AP214, millimetres), made by
// a geometry kernel (OpenCASCADE) from their outlines: each outline's closed
// face extruded along +z over the face width, a helical gear's twisted along
// its helix. Built only where OpenCASCADE is (RACKGEN_STEP is then 1). The
// folder owns no state.
#pragma once

#include "geometry/geometry.hpp"
#include "outline/outline.hpp"

// One solid: the outline (placed at its centre and turn as the outline files
// have it) from z = 0 to the face width. A gear's face, less a bore about its
// centre; a ring's, its material between the rim circle and its teeth.
struct StepSolid {
    const GearOutline* outline;
    // mm, the diameter of a hole through the gear about its centre; 0: none.
    // A ring has none (its rim is the outside, its teeth the inside).
    double bore_diameter;
    // Radians the section at height h turns per mm of h, counter-clockwise seen
    // from +z (a right-hand helix advances along +z turning counter-clockwise,
    // as a right-hand screw does): helix_twist; 0: a spur gear.
    double twist;
    const char* name;  // the solid's name in the file (its product and its solid)
};

// A helical gear's twist (StepSolid::twist) at module mm per module unit (the
// normal module): tan β over the reference radius z·m_t/2, positive for a right
// hand, negative for a left; 0 for a spur gear. The gear's own cutter gives β
// and the hand: an external mate's is the gear's opposite hand.
double helix_twist(const Gear& gear, double module);

// Writes count solids (a gear alone, or a gear and its mate) face_width mm
// thick to the file at path, each checked as a valid closed solid first.
// Returns nullptr, or why no file was written (the teeth turning more than twice over the face width, a solid
// the kernel could not make or found invalid, a face width not above 0) or why it was not written whole (a
// write error: the kernel writes the path itself, so a caller that must never leave half a file writes to a
// temporary name and renames it). The text is valid until the next call.
const char* write_step_file(const char* path, const StepSolid* solids, int count, double face_width);
