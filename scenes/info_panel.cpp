// The gear's data over the frame ('i'): the numbers a student checks, in the
// top right below the legends' reach, drawn before the scene so that nothing
// of the scene's own matrix moves them. Owns no state.
#include "scenes/scene_blocks.hpp"

#include "gear_data/gear_data.hpp"

#include <cstdio>

constexpr float PANEL_X = 0.2f;    // view units: the right 40 % of the frame
constexpr float PANEL_TOP = 0.6f;  // below the six legend lines a scene may have
constexpr float PANEL_LINE = 0.05f;
constexpr int PANEL_LINE_CAPACITY = 64;

void draw_info_panel() {
    const GearData d = gear_data(the_gear, gear_choice.module, 0.0);
    char lines[16][PANEL_LINE_CAPACITY];
    int n = 0;
    std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "gear data in mm, module %g", d.module);
    std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "pitch diameter  %.4f", d.pitch_diameter);
    std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "base diameter  %.4f", d.base_diameter);
    std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "tip diameter  %.4f", d.tip_diameter);
    std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "root diameter  %.4f", d.root_diameter);
    std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "form diameter  %.4f", d.form_diameter);
    std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "tooth thickness  %.4f", d.tooth_thickness);
    if (d.pointed)
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "pointed: flanks meet at %.4f",
                      d.pointed_diameter.value);
    else
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "tip thickness  %.4f", d.tip_thickness);
    if (d.undercut)
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "undercut: shift x >= %.3f avoids it",
                      d.min_shift_no_undercut);
    else
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "no undercut");
    if (d.span.known)
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "span over %d teeth  %.4f", d.span_teeth,
                      d.span.value);
    else
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "span: no contact on the involute");
    if (d.over_pins.known)
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "over pins of %.3f  %.4f", d.pin_diameter,
                      d.over_pins.value);
    else
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "over pins: no contact on the involute");
    if (scene_mode == MESH_SCENE) {  // the mesh: the pair's figures too
        const PairData p = pair_data(d, gear_data(the_mate, gear_choice.module, 0.0));
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "mate: z2 = %d, x2 = %g", the_mate.params.z,
                      the_mate.params.x);
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "centre distance  %.4f", p.centre_distance);
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "working pressure angle  %.4f",
                      p.working_pressure_angle);
        std::snprintf(lines[n++], PANEL_LINE_CAPACITY, "contact ratio  %.3f%s", p.contact_ratio,
                      p.interference ? ", interference" : "");
    }
    for (int k = 0; k < n; ++k) draw_text(PANEL_X, PANEL_TOP - PANEL_LINE * static_cast<float>(k), lines[k]);
}
