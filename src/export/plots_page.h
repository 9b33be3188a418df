// The page of plots of a data file: spectrum, profiles and large particles in SVG.
#pragma once

#include <string>
#include <vector>

#include "export/size_classes.h"
#include "export/size_fits.h"
#include "export/station.h"
#include "export/step_table.h"

namespace veka {

std::string plots_page_name();

void write_plots_page(const Station& station, const std::vector<StepQuantity>& quantities,
                      const SpectrumTable& spectrum, const SpectrumFit& fit);

}  // namespace veka
