// The size spectrum as tidy comma-separated tables (--spectrum).
#pragma once

#include <string>

#include "export/size_classes.h"
#include "export/size_fits.h"
#include "export/station.h"

namespace veka {

std::string spectrum_file_name();
std::string spectrum_bins_file_name();
std::string spectrum_fit_file_name();

void write_spectrum_files(const Station& station, const SpectrumTable& table,
                          const SpectrumFit& fit);

}  // namespace veka
