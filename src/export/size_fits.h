// The fits of a data file's size spectrum as the exports report them.
#pragma once

#include <optional>

#include "export/binned_power_law.h"
#include "export/line_statistics.h"
#include "export/size_classes.h"

namespace veka {

struct SpectrumFit {
  // The exponent; its bins are indices into the table's classes, and
  // `lowest` and `highest` are the classes at the ends of its range.
  std::optional<PowerLawFit> mle;
  SpectrumClass lowest{};
  SpectrumClass highest{};
  LineStatistics line;

  // The NBSS slope the exponent implies, b + 1.
  std::optional<double> mle_nbss_slope() const;
  // The ESD range [um] of the straight line's channels.
  double line_esd_low() const;
  double line_esd_high() const;
};

SpectrumFit fit_spectrum(const SpectrumTable& table);

}  // namespace veka
