// A pinion inside a ring: the three interferences the tables teach, for a
// gear pair in mesh and for a pinion cutter and the ring it cuts. Pure
// functions of the mesh; no state.
#include "geometry/geometry.hpp"

#include <cmath>

// The interferences of a pinion 1 inside a ring 2 at centre distance a with
// working pressure angle α_w, as the tables give them:
//   trimming clear:  θ1 + inv α_a1 - inv α_w ≥ (z2/z1)·(θ2 + inv α_a2 - inv α_w),
//     θ1 = asin √[(1 - (cos α_a1/cos α_a2)²) / (1 - (z1/z2)²)],
//     θ2 = asin √[((cos α_a2/cos α_a1)² - 1) / ((z2/z1)² - 1)];
//   trochoid clear:  θ1·z1/z2 + inv α_w - inv α_a2 ≥ θ2,
//     θ1 = acos[(ra2² - ra1² - a²)/(2·a·ra1)] + inv α_a1 - inv α_w,
//     θ2 = acos[(a² + ra2² - ra1²)/(2·a·ra2)]
//   (the acos terms: where the tip circles cross, seen from either centre);
//   involute clear: z1/z2 ≥ 1 - tan α_a2/tan α_w.
static double pressure_angle_at(double rb, double radius) {
    return std::acos(std::fmin(1.0, rb / radius));
}

bool internal_trimming(const InternalMesh& q) {
    const double aa1 = pressure_angle_at(q.rb1, q.ra1);
    const double aa2 = pressure_angle_at(q.rb2, q.ra2);
    const double c12 = std::cos(aa1) / std::cos(aa2);
    const double sin2_1 = (1.0 - c12 * c12) / (1.0 - (q.z1 / q.z2) * (q.z1 / q.z2));
    const double sin2_2 = (1.0 / (c12 * c12) - 1.0) / ((q.z2 / q.z1) * (q.z2 / q.z1) - 1.0);
    // No such angles: the pinion's tip reaches past the ring's teeth on any way out.
    if (!(sin2_1 <= 1.0 && sin2_2 <= 1.0)) return true;
    const double theta1 = std::asin(std::sqrt(std::fmax(0.0, sin2_1)));
    const double theta2 = std::asin(std::sqrt(std::fmax(0.0, sin2_2)));
    const double left = theta1 + involute_function(aa1) - involute_function(q.aw);
    const double right = q.z2 / q.z1 * (theta2 + involute_function(aa2) - involute_function(q.aw));
    return left < right;
}

bool internal_trochoid_interference(const InternalMesh& q) {
    const double aa2 = pressure_angle_at(q.rb2, q.ra2);
    const double c1 = (q.ra2 * q.ra2 - q.ra1 * q.ra1 - q.a * q.a) / (2.0 * q.a * q.ra1);
    const double c2 = (q.a * q.a + q.ra2 * q.ra2 - q.ra1 * q.ra1) / (2.0 * q.a * q.ra2);
    // Tip circles that do not cross: the pinion's holds the ring's whole tip
    // circle and meets its teeth everywhere, or lies inside it and meets none.
    if (!(std::fabs(c1) <= 1.0 && std::fabs(c2) <= 1.0)) return q.ra1 - q.a > q.ra2;
    const double aa1 = pressure_angle_at(q.rb1, q.ra1);
    const double theta1 = std::acos(c1) + involute_function(aa1) - involute_function(q.aw);
    const double theta2 = std::acos(c2);
    return theta1 * q.z1 / q.z2 + involute_function(q.aw) - involute_function(aa2) < theta2;
}

bool internal_involute_interference(const InternalMesh& q) {
    const double aa2 = pressure_angle_at(q.rb2, q.ra2);
    return q.z1 / q.z2 < 1.0 - std::tan(aa2) / std::tan(q.aw);
}
