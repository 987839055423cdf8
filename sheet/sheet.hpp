// The gear data sheet: one A4 page, portrait, as a technical drawing carries a
// gear: the gear drawn to a scale of the usual series with its pitch, tip and
// root circles, and its data table (with a mate, the mate's and the pair's
// figures), in English or Japanese. One layout paints it through a small
// painter: as SVG text (everywhere, the web page's module too) or, in the
// native program, as a PDF through Cairo. The folder owns no state.
#pragma once

#include "choice/choice.hpp"
#include "outline/outline.hpp"

#include <cstdio>

// What one sheet shows.
struct GearSheet {
    const ChosenData* data;      // the gear's rows; with data->with_pair the mate's and the pair's
    const GearOutline* outline;  // the gear alone, its centre at the origin, mm
    bool japanese;               // the names, headings and title in Japanese
};

// The scale the sheet draws a gear of outline radius radius_mm to, as the
// drawing states it: "1:2", "5:1". Returns the factor (paper mm per gear mm).
constexpr int SCALE_TEXT_CAPACITY = 24;
double sheet_scale(double radius_mm, char* text, int capacity);

// The outline of the gear taken (the_gear, at its shift) at module mm, data's
// figures of it at that module, its
// flanks' chords within a hundredth of a millimetre of the exact form on the
// paper, and the scale it is drawn to (scale, SCALE_TEXT_CAPACITY bytes).
// Returns nullptr, or why the gear cannot be drawn (outline_refusal).
const char* build_sheet_outline(const ChosenData& data, double module, GearOutline* outline, char* scale);

// Writes the sheet to file as SVG: real text, sizes in points, one user unit a
// millimetre. Returns 0, or the errno that tells why it could not be written.
int write_gear_sheet_svg(const GearSheet& sheet, FILE* file);

// Writes the sheet to file as PDF through Cairo (the native program only).
// Returns 0, or the errno that tells why it could not be made or written.
int write_gear_sheet_pdf(const GearSheet& sheet, FILE* file);
