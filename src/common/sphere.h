// Pi as the biomass and multi-element computations take it. Their results
// depend on 3.14 to the last bit, so no site writes its own value, and a
// site that multiplies by kSphereFactor keeps the order of its formula.
#pragma once

namespace veka {

constexpr double kPi = 3.14;

// 4/3 pi: the volume of a sphere of radius r is kSphereFactor * r^3.
constexpr double kSphereFactor = 4.0 / 3.0 * kPi;

}  // namespace veka
