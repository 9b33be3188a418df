// Helpers of the profile-processing tests: the fixed tables the earlier
// stages leave in the store, the analysis options, and a check that a
// stage raised no floating-point error (the program would have trapped).
#pragma once

#include <cfenv>
#include <string>

#include "store/store.h"
#include "support/support.h"

namespace veka::support {

inline void set_speed_curves() {
  store.speed_curve[1] = {0.198996019, -2.603059062, 0.892897609, 0.006191239, -0.0013};
  store.speed_curve[2] = {30.113624222688, -1.4243159638326, 1.4125878289, 0.252430015529, -0.05};
}

inline void set_diameter_classes() {
  for (int j = 1; j <= kClasses; ++j) store.diameter_class_um[j] = 15.0 * j;
}

// Arguments 60 and 61 as text, the rest the standard line.
inline void set_analysis_options(const std::string& option, const std::string& value) {
  load_arguments(standard_arguments("in/", "W", "out/"));
  store.arguments[60] = option;
  store.arguments[61] = value;
}

// Records the floating-point errors raised while it lives.
class FloatErrors {
 public:
  FloatErrors() { std::feclearexcept(FE_ALL_EXCEPT); }
  bool any() const { return std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW) != 0; }
};

inline std::string enter_presses(int n) {
  return std::string(n, '\n');
}

}  // namespace veka::support
