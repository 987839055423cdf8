// The gear's parameter block: what the cutter makes of it, what a cutter may
// be, and the polar measures every part of the geometry takes. No state.
#include "geometry/geometry_private.hpp"

#include <cmath>

// Degrees to radians as π / (180 / deg): 180 / 20 is exactly 9, so the
// specified 20° gives the very bits of π/9 that every stored figure was made with.
static double radians(double degrees) {
    return PI / (180.0 / degrees);
}

double largest_tip_radius(double pressure_angle, double dedendum) {
    const double alpha = radians(pressure_angle);
    return (PI / 4.0 - dedendum * std::tan(alpha)) * std::cos(alpha) / (1.0 - std::sin(alpha));
}

bool same_cutter(const Cutter& a, const Cutter& b) {
    return a.pressure_angle == b.pressure_angle && a.addendum == b.addendum && a.dedendum == b.dedendum &&
           a.tip_radius == b.tip_radius && a.teeth == b.teeth && a.shift == b.shift;
}

const char* cutter_refusal(const Cutter& c) {
    if (!(c.pressure_angle >= PRESSURE_ANGLE_MIN && c.pressure_angle <= PRESSURE_ANGLE_MAX))
        return "the pressure angle must be from 10 to 35 degrees";
    if (!(c.addendum >= CUTTER_HEIGHT_MIN && c.addendum <= CUTTER_HEIGHT_MAX &&
          c.dedendum >= CUTTER_HEIGHT_MIN && c.dedendum <= CUTTER_HEIGHT_MAX))
        return "the addendum and the dedendum must be from 0.5 to 2 modules";
    // The cutter's root land (between its teeth, at the gear's addendum) must be left.
    if (!(PI / 2.0 - 2.0 * c.addendum * std::tan(radians(c.pressure_angle)) > 0.0))
        return "with that pressure angle the cutter's teeth leave no room for that addendum";
    if (pinion_type(c)) {
        if (!(c.tip_radius >= 0.0))
            return "the tip radius must be from 0 to the largest arc the cutter's tip holds";
        return pinion_cutter_refusal(c);
    }
    const double rho_max = largest_tip_radius(c.pressure_angle, c.dedendum);
    if (!(rho_max > 0.0))
        return "with that pressure angle the cutter's teeth come to a point above that dedendum";
    if (!(c.tip_radius >= 0.0 && c.tip_radius <= rho_max))
        return "the tip radius must be from 0 to the largest arc the cutter's tip holds";
    return nullptr;
}

// The cutter's constants and its land widths: the cutter's tooth and space are
// each half a pitch (π/2) wide on the rolling line, and narrow towards its tip
// and root by the flank runs.
void compute_gear_params(GearParams& g) {
    g.alpha = radians(g.cutter.pressure_angle);
    g.tan_alpha = std::tan(g.alpha);
    g.cos_alpha = std::cos(g.alpha);
    g.addendum_coefficient = g.cutter.addendum;
    g.dedendum_coefficient = g.cutter.dedendum;
    g.tip_arc_radius = g.cutter.tip_radius;
    g.rack_root_land = PI / 2.0 - 2.0 * g.addendum_coefficient * g.tan_alpha;
    g.rack_tip_land = PI / 2.0 - 2.0 * g.dedendum_coefficient * g.tan_alpha;
}

double polar_radius(const ProfilePoint& p, double r) {
    return std::sqrt(p.x * p.x + (p.y + r) * (p.y + r));
}

// atan2(x, y + r): the angle at the gear centre from +y towards +x.
double polar_angle(const ProfilePoint& p, double r) {
    return std::atan2(p.x, p.y + r);
}
