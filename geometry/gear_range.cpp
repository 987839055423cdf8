// The accepted range of gears: which z and x the rack generation can turn into
// a sound tooth, why the others are refused, and the warning for a tooth that
// comes to a point. Every front end asks here before it takes a gear. Owns the
// trial gear, computed on the real procedures, and the refusal text.
#include "geometry/geometry_private.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ---- Global state ------------------------------------------------------------
static Gear trial_gear;   // written and read by trial_tooth_fault alone
static char reason[256];  // the refusal text handed back; valid until the next call

// Radii are compared with this slack: a point computed on a circle lands on
// it only to rounding.
constexpr double RADIUS_SLACK = 1e-9;
// The least height of a pointed tooth above its root circle, module units: a
// millionth (lower, and the tooth is one point in the files at module 1; the
// outline builder says so for a tooth too small for its module).
constexpr double TOOTH_HEIGHT_MIN = 1e-6;

// The radius at which the two flanks of the trial tooth meet, below the tip
// circle, or 0 when they do not meet.
static double flank_meeting_radius(const ToothProfile& tooth, double r) {
    ProfilePoint meeting;
    if (flank_until_meeting(tooth, r, meeting) == tooth.flank_last) return 0.0;
    return polar_radius(meeting, r);
}

// Computes the shifted tooth of (z, x) on the trial gear and says what is wrong
// with it, or nullptr when it is sound; meeting_radius gets flank_meeting_radius.
static const char* trial_tooth_fault(const Cutter& cutter, int z, double x, bool internal,
                                     double& meeting_radius) {
    Gear& trial = trial_gear;
    trial.params.z = z;
    trial.params.x = x;
    trial.params.feed = 0.0;
    trial.params.cutter = cutter;
    trial.params.internal = internal;
    compute_gear_params(trial.params);
    compute_tooth(trial, x, trial.shifted_tooth);
    const GearParams& g = trial.params;
    const GenerationCurves& c = trial.curves;
    const ToothProfile& tooth = trial.shifted_tooth;
    const double r = g.pitch_radius;
    const bool pinion = pinion_type(cutter);

    meeting_radius = 0.0;
    if (!pinion && !(g.tip_corner_distance > 0.0))
        return "the cutter's tip arc reaches up to its rolling line, so no straight flank cuts an involute";
    if (pinion && !internal && !(g.root_radius > 0.0))
        return "the cutter's tip circle reaches past the gear's centre, so no root circle is left";
    if (trial.overflowed) return "its tooth profile needs more than 601 points in one list";
    if (pinion) {
        const FlankRolls rolls = flank_rolls(g, false);
        if (rolls.tip_flank_end != rolls.tip_flank_start && !(rolls.involute_end > rolls.involute_start))
            return "the cutter is too small: its flanks below its base circle would cut the whole involute";
    }
    // The flank ends on the tip circle (a ring's, inwards; the rack's involute
    // is clipped there).
    const ProfilePoint& end = pinion ? tooth.flank[tooth.flank_last] : c.involute_curve[c.involute_last];
    double tip_end = polar_radius(end, r);
    if (std::fabs(tip_end - g.tip_radius) > RADIUS_SLACK) return "its involute does not reach the tip circle";
    const double low = std::fmin(g.root_radius, g.tip_radius);
    const double high = std::fmax(g.root_radius, g.tip_radius);
    for (int i = 0; i <= tooth.flank_last; ++i) {
        double rho = polar_radius(tooth.flank[i], r);
        if (!(rho >= low - RADIUS_SLACK && rho <= high + RADIUS_SLACK))
            return "its flank leaves the band between root and tip circle";
    }
    meeting_radius = flank_meeting_radius(tooth, r);
    // Flanks that meet on the root circle leave no tooth at all: its outline
    // would be one point.
    if (meeting_radius > 0.0 && std::fabs(meeting_radius - g.root_radius) < TOOTH_HEIGHT_MIN)
        return "its flanks meet at the root circle, so the tooth has no body";
    return nullptr;
}

// x in as few digits as give it back exactly: 0.5 as "0.5", but the number
// just below 1.25 as 1.2499999999999998, not as the refused 1.25.
static const char* shortest_text(double x, char* text, size_t capacity) {
    for (int digits = 1; digits < 17; ++digits) {
        std::snprintf(text, capacity, "%.*g", digits, x);
        if (std::strtod(text, nullptr) == x) return text;
    }
    std::snprintf(text, capacity, "%.17g", x);
    return text;
}
constexpr size_t REAL_TEXT_CAPACITY = 32;

// gear_refusal's answer; meeting_radius gets flank_meeting_radius of an accepted gear.
static const char* check_gear(const Cutter& cutter, int z, double x, bool internal, double& meeting_radius) {
    meeting_radius = 0.0;
    if (z < Z_MIN || z > Z_MAX) {
        std::snprintf(reason, sizeof reason, "the number of teeth must be a whole number from %d to %d",
                      Z_MIN, Z_MAX);
        return reason;
    }
    if (const char* fault = cutter_refusal(cutter)) {
        std::snprintf(reason, sizeof reason, "the cutter cannot be used: %s", fault);
        return reason;
    }
    if (internal && !pinion_type(cutter)) {
        std::snprintf(
            reason, sizeof reason,
            "an internal gear can be cut only by a pinion-type cutter (a rack cannot reach inside a "
            "ring): give the cutter's number of teeth");
        return reason;
    }
    if (internal && !(cutter.teeth < z)) {
        std::snprintf(reason, sizeof reason,
                      "the cutter is too large for the ring: it must have fewer teeth than the ring's %d", z);
        return reason;
    }
    const double ha = cutter.addendum;
    const double hf = cutter.dedendum;
    if (internal) {
        // A ring's tooth thins as x grows; its tip circle lies ha - x inside
        // the pitch circle and its root hf + x outside it.
        if (!(x > -hf && x < ha)) {
            std::snprintf(reason, sizeof reason,
                          "with z = %d the ring's shift coefficient must be greater than %g and less than %g "
                          "(its addendum %g-x and dedendum %g+x must be positive)",
                          z, -hf, ha, ha, hf);
            return reason;
        }
    }
    // Addendum ha + x, dedendum hf - x and root radius z/2 - hf + x must all be
    // positive: the cutter's tip line must lie below its rolling line and above
    // the gear centre (1 and 1.25 for the specified cutter).
    // A helical gear's root radius, in normal modules: z/(2·cos β) - hf + x.
    if (!internal) {
        const double half_z = helical(cutter) ? z / (2.0 * std::cos(PI / (180.0 / cutter.helix_angle))) : z / 2.0;
        double x_min = hf - half_z;
        if (x_min < -ha) x_min = -ha;
        const double x_max = hf;
        if (!(x > x_min && x < x_max)) {  // also refuses NaN
            std::snprintf(reason, sizeof reason,
                          "with z = %d the shift coefficient must be greater than %g and less than %g "
                          "(addendum %g+x, dedendum %g-x and root radius %s-%g+x must be positive)",
                          z, x_min, x_max, ha, hf, helical(cutter) ? "z/(2cos β)" : "z/2", hf);
            return reason;
        }
    }
    // The cutting pressure angle has an involute only for shifts not too far below zero.
    const double side = internal ? -1.0 : 1.0;
    const double alpha = PI / (180.0 / cutter.pressure_angle);
    if (pinion_type(cutter) &&
        !(2.0 * std::tan(alpha) * (x + side * cutter.shift) / (z + side * cutter.teeth) +
              involute_function(alpha) >
          0.0)) {
        std::snprintf(
            reason, sizeof reason,
            "with z = %d the shifts of gear and cutter are too far below zero for the cutter to cut it "
            "(no cutting pressure angle has that involute)",
            z);
        return reason;
    }
    const char* fault = trial_tooth_fault(cutter, z, x, internal, meeting_radius);
    if (fault) {
        char shown[REAL_TEXT_CAPACITY];
        std::snprintf(reason, sizeof reason, "z = %d with x = %s cannot be generated: %s", z,
                      shortest_text(x, shown, sizeof shown), fault);
        return reason;
    }
    return nullptr;
}

const char* gear_refusal(const Cutter& cutter, int z, double x, bool internal) {
    double meeting_radius;
    return check_gear(cutter, z, x, internal, meeting_radius);
}

// Appends one sentence, "; " after any before it.
static void add_sentence(char* text, size_t room, const char* sentence) {
    const size_t length = std::strlen(text);
    if (length + 1 >= room) return;
    std::snprintf(text + length, room - length, "%s%s", length > 0 ? "; " : "", sentence);
}

// What the tables warn of for a ring and its cutter, from the trial gear
// check_gear has just computed.
static bool ring_warning(int z, double x, double meeting_radius, char* text, int capacity) {
    const GearParams& g = trial_gear.params;
    const size_t room = static_cast<size_t>(capacity);
    char sentence[GEAR_WARNING_CAPACITY];
    if (meeting_radius > 0.0) {
        std::snprintf(sentence, sizeof sentence, "the ring's tooth comes to a point at radius %.4f",
                      meeting_radius);
        add_sentence(text, room, sentence);
    }
    if (g.tip_radius < g.base_radius) {
        std::snprintf(
            sentence, sizeof sentence,
            "the ring's tip circle (radius %.4f) lies inside its base circle (radius %.4f), where no "
            "involute is: there its flanks are what the cutter's flanks below their own base circle cut",
            g.tip_radius, g.base_radius);
        add_sentence(text, room, sentence);
    }
    if (cutter_trims_ring(g))
        add_sentence(text, room,
                     "the cutter cannot leave the ring radially without cutting teeth it should keep "
                     "(trimming): it must be withdrawn along the axis");
    if (cutter_tip_hits_ring_tip(g))
        add_sentence(text, room,
                     "the cutter's tip cuts the ring's tip as it enters and leaves the cut (the tooth drawn "
                     "and written does not show that cut)");
    if (text[0] == '\0') return false;
    char shown[REAL_TEXT_CAPACITY];
    char sentences[GEAR_WARNING_CAPACITY];
    std::snprintf(sentences, sizeof sentences, "%s", text);
    std::snprintf(text, room, "ring z = %d with x = %s: %s", z, shortest_text(x, shown, sizeof shown),
                  sentences);
    return true;
}

bool gear_warning(const Cutter& cutter, int z, double x, char* text, int capacity, bool internal) {
    if (capacity <= 0) return false;
    text[0] = '\0';
    double meeting_radius;
    if (check_gear(cutter, z, x, internal, meeting_radius) != nullptr) return false;

    // check_gear's trial has just computed the gear.
    const bool cut_away = involute_cut_away(trial_gear);
    if (internal) return ring_warning(z, x, meeting_radius, text, capacity);
    if (meeting_radius <= 0.0 && !cut_away) return false;
    char shown[REAL_TEXT_CAPACITY];
    const size_t room = static_cast<size_t>(capacity);
    int length = std::snprintf(text, room, "z = %d with x = %s: ", z, shortest_text(x, shown, sizeof shown));
    // The tip radius of the shifted gear: z/2 + ha + x (a helical gear's in
    // transverse modules, as the radius where its flanks meet).
    const double tip_radius = helical(cutter) ? trial_gear.params.tip_radius : z / 2.0 + cutter.addendum + x;
    if (meeting_radius > 0.0 && length >= 0 && static_cast<size_t>(length) < room)
        length += std::snprintf(text + length, room - static_cast<size_t>(length),
                                "the tooth comes to a point below its tip circle (radius %.4f%s); its flanks "
                                "meet at radius %.4f%s",
                                tip_radius, helical(cutter) ? ", transverse modules" : "", meeting_radius,
                                cut_away ? "; " : "");
    if (cut_away && length >= 0 && static_cast<size_t>(length) < room)
        std::snprintf(
            text + length, room - static_cast<size_t>(length),
            "what the cutter's tip cuts removes the whole involute, so no part of its flank is involute");
    return true;
}
