// The gear and its mate as solids in a STEP file (AP214, millimetres), made by
// a geometry kernel (OpenCASCADE) from their outlines: each outline's closed
// face extruded along +z over the face width, a helical gear's twisted along
// its helix. Built only where OpenCASCADE is (RACKGEN_STEP is then 1). The
// folder owns no state.
#pragma once

#include "geometry/geometry.hpp"
#include "outline/outline.hpp"

#include <cstdio>

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
    // as a right-hand screw does): helix_twist (geometry.hpp); 0: a spur gear.
    double twist;
    const char* name;  // the solid's name in the file (its product and its solid)
};

// Writes count solids (a gear alone, or a gear and its mate) face_width mm
// thick as one STEP file's text to file, each checked as a valid closed solid
// first. Returns nullptr, or why nothing was written (the teeth turning more
// than twice over the face width, a solid the kernel could not make or found
// invalid, a face width not above 0) or why the text was not written whole (a
// write error, errno telling why). The text is valid until the next call.
const char* write_step_file(FILE* file, const StepSolid* solids, int count, double face_width);
