#include "export/binned_power_law.h"

#include <cmath>

namespace veka {

namespace {

double golden_section_minimum(const BinnedPowerLaw& likelihood, double low, double high) {
  const double ratio = (std::sqrt(5.0) - 1) / 2;
  double c = high - ratio * (high - low);
  double d = low + ratio * (high - low);
  double fc = likelihood.negative_log_likelihood(c);
  double fd = likelihood.negative_log_likelihood(d);
  while (high - low > kExponentTolerance) {
    if (fc <= fd) {
      high = d;
      d = c;
      fd = fc;
      c = high - ratio * (high - low);
      fc = likelihood.negative_log_likelihood(c);
    } else {
      low = c;
      c = d;
      fc = fd;
      d = low + ratio * (high - low);
      fd = likelihood.negative_log_likelihood(d);
    }
  }
  return (low + high) / 2;
}

// Where the likelihood, rising from `inside` (below the level) towards
// `outside`, reaches `level`; empty when it stays below it.
std::optional<double> crossing(const BinnedPowerLaw& likelihood, double inside, double outside,
                               double level) {
  if (likelihood.negative_log_likelihood(outside) < level) return std::nullopt;
  while (std::fabs(outside - inside) > kExponentTolerance) {
    double middle = (inside + outside) / 2;
    (likelihood.negative_log_likelihood(middle) < level ? inside : outside) = middle;
  }
  return (inside + outside) / 2;
}

}  // namespace

std::optional<std::pair<int, int>> fit_bins(const std::vector<double>& counts) {
  int largest = -1;
  int last = -1;
  for (int j = 0; j < static_cast<int>(counts.size()); ++j) {
    if (!(counts[j] > 0)) continue;
    if (largest < 0 || counts[j] > counts[largest]) largest = j;
    last = j;
  }
  if (largest < 0) return std::nullopt;
  return std::make_pair(largest, last);
}

BinnedPowerLaw::BinnedPowerLaw(const std::vector<double>& bounds, const std::vector<double>& counts,
                               int first, int last) {
  const double xmin = bounds[first];
  log_range_ = std::log(bounds[last + 1] / xmin);
  for (int j = first; j <= last; ++j) {
    n_ += counts[j];
    if (counts[j] == 0) continue;
    terms_.push_back({counts[j], std::log(bounds[j] / xmin), std::log(bounds[j + 1] / bounds[j])});
  }
}

// The bin ratios are written through exp(t log r) - 1 = expm1(t log r),
// with t = b + 1, so that the likelihood stays exact as b approaches -1,
// where the two forms of the formula meet:
//   (x_j+1^t - x_j^t) / (xmax^t - xmin^t)
//     = (x_j / xmin)^t expm1(t log(x_j+1 / x_j)) / expm1(t log(xmax / xmin)).
double BinnedPowerLaw::negative_log_likelihood(double b) const {
  const double t = b + 1;
  double sum = 0.0;
  if (t == 0) {
    for (const Term& term : terms_) sum += term.count * std::log(term.log_width / log_range_);
    return -sum;
  }
  const double whole = std::expm1(t * log_range_);
  for (const Term& term : terms_) {
    sum += term.count * (t * term.log_offset + std::log(std::expm1(t * term.log_width) / whole));
  }
  return -sum;
}

std::optional<PowerLawFit> fit_binned_power_law(const std::vector<double>& bounds,
                                                const std::vector<double>& counts) {
  std::optional<std::pair<int, int>> bins = fit_bins(counts);
  if (!bins) return std::nullopt;
  return fit_binned_power_law(bounds, counts, bins->first, bins->second);
}

std::optional<PowerLawFit> fit_binned_power_law(const std::vector<double>& bounds,
                                                const std::vector<double>& counts, int first,
                                                int last) {
  if (!(last > first) || !(bounds[first] > 0)) return std::nullopt;
  int filled = 0;
  for (int j = first; j <= last; ++j) {
    if (counts[j] < 0) return std::nullopt;
    if (counts[j] > 0) ++filled;
  }
  if (filled < 2) return std::nullopt;
  BinnedPowerLaw likelihood(bounds, counts, first, last);
  PowerLawFit fit{first, last, likelihood.count(), 0.0, std::nullopt, std::nullopt};
  fit.b = golden_section_minimum(likelihood, kLowestExponent, kHighestExponent);
  double level = likelihood.negative_log_likelihood(fit.b) + kHalfChiSquare95;
  fit.b_low = crossing(likelihood, fit.b, kLowestExponent, level);
  fit.b_high = crossing(likelihood, fit.b, kHighestExponent, level);
  return fit;
}

}  // namespace veka
