// The bracket every drawing primitive and figure draws in, for the drawing
// layer's own files: lighting off (lines and discs take their own colour),
// then on again, so the scenes always find lighting on. Keeps no state.
#pragma once

#include "draw/draw.hpp"

void begin_unlit();
void end_unlit();
void set_colour(const Colour& colour);

// What a drawing primitive leaves behind when the culling has left all of it
// out: lighting on and the colour current, and for a wide line also the width
// of 2 pixels, exactly as if it had been drawn.
void leave_state_of_line(const Colour& colour);
void leave_state_of_wide_line(const Colour& colour);
