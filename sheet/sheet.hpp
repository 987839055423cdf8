// The gear data sheet: one A4 page, portrait, as a technical drawing carries a
// gear: the gear drawn to a scale of the usual series with its pitch, tip and
// root circles, and its data table (with a mate, the mate's and the pair's
// figures), in English or Japanese, as a PDF or SVG file. The folder owns no state.
#pragma once

#include "choice/choice.hpp"
#include "outline/outline.hpp"
#include "picture/picture.hpp"

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

// Writes the sheet to file as PICTURE_PDF or PICTURE_SVG. Returns 0, or the
// errno that tells why it could not be made or written.
int write_gear_sheet(const GearSheet& sheet, PictureFormat format, FILE* file);
