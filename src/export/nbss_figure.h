// The size spectrum with its uncertainty, as a figure of the page of plots.
#pragma once

#include <string>

#include "export/size_classes.h"
#include "export/size_fits.h"

namespace veka {

// The figure as HTML markup.
std::string spectrum_uncertainty_figure(const SpectrumTable& table, const SpectrumFit& fit);

}  // namespace veka
