// Maximum-likelihood exponent of a size spectrum from binned counts: the
// bodies are taken as drawn from a bounded power law, density proportional
// to x^b between xmin and xmax, and only the number n_j of each bin
// [x_j, x_j+1) is known (the MLEbin method of Edwards et al. 2020, Marine
// Ecology Progress Series 636:19-33). The negative log-likelihood of b is
//
//   -sum_j n_j log((x_j+1^(b+1) - x_j^(b+1)) / (xmax^(b+1) - xmin^(b+1)))
//   -sum_j n_j log(log(x_j+1 / x_j) / log(xmax / xmin))       at b = -1
//
// It is convex in b, so b is found by a golden-section search and each end
// of the 95 % interval (where the negative log-likelihood exceeds its minimum
// by half the 0.95 quantile of chi-square with one degree of freedom) by
// bisection. Only ratios of the bounds enter, so any positive multiple of
// the body size (mass, or ESD cubed) gives the same b.
//
// Nothing here may trap: every logarithm is of a positive number, no power
// of a bound is formed, and bounds spanning less than 100 decades keep every
// exponential finite.
#pragma once

#include <optional>
#include <utility>
#include <vector>

namespace veka {

constexpr double kLowestExponent = -5.0;
constexpr double kHighestExponent = 1.0;
constexpr double kExponentTolerance = 1e-6;
constexpr double kHalfChiSquare95 = 1.92073;

// The bins a spectrum is fitted over: from the bin with the largest count
// (the lowest such bin on ties) to the highest bin with a count, empty bins
// between them included; indices into `counts`. None when nothing is
// counted.
std::optional<std::pair<int, int>> fit_bins(const std::vector<double>& counts);

class BinnedPowerLaw {
 public:
  // Bins first..last: bin j spans bounds[j] to bounds[j + 1] (bounds has
  // one entry more than counts). The bounds must increase, with
  // bounds[first] > 0.
  BinnedPowerLaw(const std::vector<double>& bounds, const std::vector<double>& counts, int first,
                 int last);

  double negative_log_likelihood(double b) const;
  double count() const { return n_; }

 private:
  struct Term {
    double count;
    double log_offset;  // log(x_j / xmin)
    double log_width;   // log(x_j+1 / x_j)
  };
  std::vector<Term> terms_;  // the bins with a count
  double n_ = 0.0;
  double log_range_ = 0.0;  // log(xmax / xmin)
};

struct PowerLawFit {
  int first;  // the fit's bins
  int last;
  double n;  // counts over them
  double b;
  std::optional<double> b_low;   // the 95 % interval; empty where its end
  std::optional<double> b_high;  // lies outside kLowest..kHighestExponent
};

// The fit over fit_bins(counts); none when there is nothing to fit: fewer
// than two bins with a count (the likelihood is then the same for every b),
// a negative count, or a first bin starting at 0 (no power law with
// b <= -1 reaches 0).
std::optional<PowerLawFit> fit_binned_power_law(const std::vector<double>& bounds,
                                                const std::vector<double>& counts);

// The same over bins first..last as given.
std::optional<PowerLawFit> fit_binned_power_law(const std::vector<double>& bounds,
                                                const std::vector<double>& counts, int first,
                                                int last);

}  // namespace veka
