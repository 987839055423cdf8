// The one procedure that takes a gear, and the gears it makes. Owns the
// choice in effect, the gear and its mate.
#include "choice/choice.hpp"

#include "gear_data/gear_data.hpp"

#include <cmath>
#include <cstdio>

// ---- Global state ------------------------------------------------------------
GearChoice gear_choice = NO_CHOICE;  // written by take_gear; read by the front ends and the data
Gear the_gear;                       // written by take_gear; read by everything that shows or writes it
Gear the_mate;                       // written by take_gear; read by the pair's data, scene 8, the files
static char refusal[320];            // choice_refusal's text for a module or a mate
static Gear candidate_gear;          // a chosen pair as choice_refusal tries it; read there alone
static Gear candidate_mate;

// The mate's cutter: a helical gear's external mate has the opposite hand.
static Cutter mate_cutter(const GearChoice& c) {
    Cutter cutter = c.cutter;
    if (helical(cutter) && !c.internal && !c.mate_internal) cutter.left_hand = !cutter.left_hand;
    return cutter;
}

// A tooth thinned by allowance mm must still be one the cutter can cut.
static const char* allowance_refusal(const Cutter& cutter, int z, double x, bool internal, double module,
                                     const double* allowance, const char* whose) {
    if (!(allowance[0] >= allowance[1])) {
        std::snprintf(refusal, sizeof refusal,
                      "%s thickness allowances are reversed: upper %g below lower %g mm", whose, allowance[0],
                      allowance[1]);
        return refusal;
    }
    for (int k = 0; k < 2; ++k) {
        const double x_e = x + thinning_feed(cutter.pressure_angle, module, allowance[k], internal);
        if (const char* reason = gear_refusal(cutter, z, x_e, internal)) {
            std::snprintf(refusal, sizeof refusal, "%s tooth thinned by %g mm cannot be cut: %s", whose,
                          allowance[k], reason);
            return refusal;
        }
    }
    return nullptr;
}

double mate_shift_at_centre_distance(const GearChoice& c) {
    compute_gear(candidate_gear, c.cutter, c.z, c.x, c.internal);
    return mate_shift_for_centre_distance(gear_data(candidate_gear, c.module, 0.0), c.mate_z,
                                          c.centre_distance);
}

const char* choice_refusal(const GearChoice& c) {
    if (const char* reason = gear_refusal(c.cutter, c.z, c.x, c.internal)) return reason;
    if (!(c.module >= MODULE_MIN && c.module <= MODULE_MAX)) {
        std::snprintf(refusal, sizeof refusal, "the module must be from %g to %g mm", MODULE_MIN, MODULE_MAX);
        return refusal;
    }
    if (!(c.face_width >= 0.0 && c.face_width <= FACE_WIDTH_MAX)) {
        std::snprintf(refusal, sizeof refusal, "the face width must be from 0 to %g mm", FACE_WIDTH_MAX);
        return refusal;
    }
    if (c.allowance_given)
        if (const char* reason =
                allowance_refusal(c.cutter, c.z, c.x, c.internal, c.module, c.allowance, "the gear's"))
            return reason;
    if (c.mate_allowance_given && c.mate_z != 0)
        if (const char* reason = allowance_refusal(c.cutter, c.mate_z, c.mate_x, c.mate_internal, c.module,
                                                   c.mate_allowance, "the mate's"))
            return reason;
    if (c.mate_z != 0 && c.internal && c.mate_internal) {
        std::snprintf(refusal, sizeof refusal, "a gear and its mate cannot both be rings");
        return refusal;
    }
    if (c.mate_z != 0) {
        if (const char* reason = gear_refusal(c.cutter, c.mate_z, c.mate_x, c.mate_internal)) {
            std::snprintf(refusal, sizeof refusal, "the mate cannot be used: %s", reason);
            return refusal;
        }
        compute_gear(candidate_gear, c.cutter, c.z, c.x, c.internal);
        compute_gear(candidate_mate, mate_cutter(c), c.mate_z, c.mate_x, c.mate_internal);
        const PairData pair = pair_data(candidate_gear, candidate_mate, gear_data(candidate_gear, 1.0, 0.0),
                                        gear_data(candidate_mate, 1.0, 0.0));
        if (pair.fault != nullptr) {
            std::snprintf(refusal, sizeof refusal, "z = %d and z2 = %d cannot be a pair: %s", c.z, c.mate_z,
                          pair.fault);
            return refusal;
        }
    }
    return nullptr;
}

// A gear thinned by allowances is drawn and written at the middle of its
// limits: the cutter fed in by the mean allowance.
static double mean_feed(const GearChoice& c, bool given, const double* allowance, bool internal) {
    if (!given) return 0.0;
    return thinning_feed(c.cutter.pressure_angle, c.module, 0.5 * (allowance[0] + allowance[1]), internal);
}

const char* take_gear(const GearChoice& choice) {
    if (const char* reason = choice_refusal(choice)) return reason;
    gear_choice = choice;
    const GearChoice& c = choice;
    compute_gear(the_gear, c.cutter, c.z, c.x, c.internal,
                 mean_feed(c, c.allowance_given, c.allowance, c.internal));
    if (choice.mate_z != 0)
        compute_gear(the_mate, mate_cutter(choice), choice.mate_z, choice.mate_x, choice.mate_internal,
                     mean_feed(c, c.mate_allowance_given, c.mate_allowance, c.mate_internal));
    else
        compute_gear(the_mate, mate_cutter(choice), default_mate_teeth(choice.z), 0.0);
    return nullptr;
}

bool mate_chosen() {
    return gear_choice.mate_z != 0;
}
