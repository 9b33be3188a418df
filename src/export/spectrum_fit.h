// The fits of a data file's size spectrum as the exports report them: the
// maximum-likelihood exponent b of the counted particles per 15 um class
// (body size = the class's mass edges), with its 95 % interval and range,
// and the statistics of the straight-line fit of the NBSS.
//
// Reads   the spectrum table (export/spectrum_table.h), linear_slope,
//         linear_intercept, nbss_first, nbss_last, nbss_size_bounds [um],
//         and what nbss_line_statistics reads
// Writes  nothing.
#pragma once

#include <optional>

#include "export/binned_power_law.h"
#include "export/line_statistics.h"
#include "export/spectrum_table.h"

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
