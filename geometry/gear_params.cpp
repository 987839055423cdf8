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
           a.tip_radius == b.tip_radius && a.teeth == b.teeth && a.shift == b.shift &&
           a.helix_angle == b.helix_angle && a.left_hand == b.left_hand;
}

// A spur gear's own module and angle, untouched: not a bit of it changes.
double transverse_module(const Cutter& c, double module) {
    return helical(c) ? module / std::cos(radians(c.helix_angle)) : module;
}

double helix_twist(const GearParams& g, double module) {
    const Cutter& c = g.cutter;
    if (!helical(c)) return 0.0;
    const double twist = std::tan(radians(c.helix_angle)) / (g.pitch_radius * transverse_module(c, module));
    return c.left_hand ? -twist : twist;
}

double thinning_feed(double pressure_angle, double module, double allowance, bool internal) {
    return (internal ? -allowance : allowance) / (2.0 * module * std::tan(radians(pressure_angle)));
}

double transverse_pressure_angle(const Cutter& c) {
    if (!helical(c)) return c.pressure_angle;
    return std::atan(std::tan(radians(c.pressure_angle)) / std::cos(radians(c.helix_angle))) * 180.0 / PI;
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
    if (!(c.helix_angle >= 0.0 && c.helix_angle <= HELIX_ANGLE_MAX))
        return "the helix angle must be from 0 to 45 degrees";
    if (pinion_type(c) && helical(c))
        return "a helical gear is cut by the rack (a hob) here: a helical pinion-type cutter is not offered, "
               "so neither are helical rings";
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
//
// A helical gear is its transverse section, in transverse modules: the normal
// rack seen in that plane is stretched by 1/cos β along its rolling line, so in
// units of m_t = m_n/cos β its pitch is π again, its heights are h·cos β, its
// flank's angle α_t (tan α_t = tan α_n/cos β), and its tip arc an ellipse of
// half-axes ρ along the rolling line and ρ·cos β across it. (cos β is 1 for a
// spur gear: each product below is then the spur gear's own number, bit for bit.)
void compute_gear_params(GearParams& g) {
    const Cutter& c = g.cutter;
    g.normal_alpha = radians(c.pressure_angle);
    g.cos_beta = helical(c) ? std::cos(radians(c.helix_angle)) : 1.0;
    g.alpha = helical(c) ? std::atan(std::tan(g.normal_alpha) / g.cos_beta) : g.normal_alpha;
    g.tan_alpha = std::tan(g.alpha);
    g.cos_alpha = std::cos(g.alpha);
    g.addendum_coefficient = c.addendum * g.cos_beta;
    g.dedendum_coefficient = c.dedendum * g.cos_beta;
    g.tip_arc_radius = c.tip_radius;
    g.tip_arc_height = c.tip_radius * g.cos_beta;
    // A tip arc of radius ρ, tangent to the flank and the tip line, ends the
    // straight flank ρ·(1 - sin α) above the tip line; its lowest point lies
    // ρ·(1 - sin α)/cos α further from the flank than the sharp corner would
    // (normal plane; heights shrink by cos β in the transverse one, runs along
    // the rolling line stay). With ρ = 0 both vanish exactly.
    const double normal_rise = c.tip_radius * (1.0 - std::sin(g.normal_alpha));
    g.arc_rise = normal_rise * g.cos_beta;
    g.arc_run = normal_rise / std::cos(g.normal_alpha);
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
