// The size spectrum with its uncertainty, as a figure of the page of plots.
#pragma once

#include <string>

#include "export/spectrum_fit.h"
#include "export/spectrum_table.h"

namespace veka {

// The figure as HTML markup.
std::string spectrum_uncertainty_figure(const SpectrumTable& table, const SpectrumFit& fit);

}  // namespace veka
