#include "vekasim/track.h"

#include <algorithm>
#include <cmath>

namespace vekasim {

constexpr double kTwoPi = 6.28318530717958647692;

// A second, shorter swell makes the heave irregular, as at sea.
constexpr double kSwellShare = 0.3;
constexpr double kSwellPeriodRatio = 0.61;

Track::Track(double start_depth, Heave heave) : start_depth_(start_depth), heave_(heave) {}

void Track::add_leg(double seconds, double depth_to, double tow_speed) {
  const double from = end_depth();
  legs_.push_back({duration(), seconds, from, depth_to, tow_speed});
}

double Track::duration() const {
  return legs_.empty() ? 0.0 : legs_.back().start + legs_.back().seconds;
}

double Track::end_depth() const {
  return legs_.empty() ? start_depth_ : legs_.back().depth_to;
}

const Track::Leg& Track::leg_at(double seconds) const {
  auto after = std::upper_bound(legs_.begin(), legs_.end(), seconds,
                                [](double t, const Leg& leg) { return t < leg.start; });
  return after == legs_.begin() ? legs_.front() : *(after - 1);
}

InstrumentState Track::at(double seconds) const {
  const Leg& leg = leg_at(seconds);
  const double into_leg = std::min(seconds - leg.start, leg.seconds);
  const double mean_rate = (leg.depth_to - leg.depth_from) / leg.seconds;
  const double mean_depth = leg.depth_from + mean_rate * into_leg;

  const double w1 = kTwoPi / heave_.period;
  const double w2 = w1 / kSwellPeriodRatio;
  const double a2 = kSwellShare * heave_.amplitude;
  const double heave = heave_.amplitude * std::sin(w1 * seconds + heave_.phase) +
                       a2 * std::sin(w2 * seconds + 2.0 * heave_.phase);
  const double heave_rate = heave_.amplitude * w1 * std::cos(w1 * seconds + heave_.phase) +
                            a2 * w2 * std::cos(w2 * seconds + 2.0 * heave_.phase);

  const double vertical = into_leg < leg.seconds ? mean_rate + heave_rate : heave_rate;
  return {std::max(kShallowest, mean_depth + heave), std::hypot(vertical, leg.tow_speed)};
}

}  // namespace vekasim
