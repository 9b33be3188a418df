// The fits of a data file's size spectrum as the exports report them: the
// maximum-likelihood exponent b of the counted particles per 15 um class
// (body size = the class's mass edges), with its 95 % interval and range,
// and the statistics of the straight-line fit of the NBSS.
//
// Reads   the spectrum table (export/size_classes.h), linear_slope,
//         linear_intercept, nbss_first, nbss_last, nbss_size_bounds [um],
//         and what nbss_line_statistics reads
// Writes  nothing.
#include "export/size_fits.h"

#include <algorithm>

#include "store/store.h"

namespace veka {

std::optional<double> SpectrumFit::mle_nbss_slope() const {
  if (!mle) return std::nullopt;
  return mle->b + 1;
}

// Channel i spans nbss_size_bounds[i - 1] to nbss_size_bounds[i].
double SpectrumFit::line_esd_low() const {
  return store.nbss_size_bounds[std::clamp(store.nbss_first - 1, 0, kChannels)];
}

double SpectrumFit::line_esd_high() const {
  return store.nbss_size_bounds[std::clamp(store.nbss_last, 0, kChannels)];
}

SpectrumFit fit_spectrum(const SpectrumTable& table) {
  SpectrumFit fit;
  std::vector<double> bounds, counts;
  for (const SpectrumClass& c : table.classes) {
    bounds.push_back(c.mass_lower);
    counts.push_back(c.counted);
  }
  if (!table.classes.empty()) bounds.push_back(table.classes.back().mass_upper);
  fit.mle = fit_binned_power_law(bounds, counts);
  if (fit.mle) {
    fit.lowest = table.classes[fit.mle->first];
    fit.highest = table.classes[fit.mle->last];
  }
  fit.line = nbss_line_statistics();
  return fit;
}

}  // namespace veka
