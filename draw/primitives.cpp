// The immediate-mode primitives (being written). Owns scale_factor and the colour table.
#include "draw/draw.hpp"

// ---- Global state ------------------------------------------------------------
double scale_factor = 0.5;  // view units per model unit; set by the dialogue, zoomed by 'w'/'W'

const Colour red = {1, 0, 0, 0};
const Colour green = {0, 1, 0, 0};
const Colour blue = {0, 0, 1, 0};
const Colour yellow = {1, 1, 0, 0};
const Colour magenta = {1, 0, 1, 0};
const Colour black = {0, 0, 0, 0};  // the zero colour; nothing writes it
