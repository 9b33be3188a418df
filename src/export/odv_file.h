// The profile as Ocean Data View generic spreadsheets, of a data file and of the run.
#pragma once

#include <string>
#include <vector>

#include "export/exported_profile.h"

namespace veka {

std::string odv_file_name();
std::string cruise_odv_file_name();

void write_odv_file(const ExportedProfile& profile);
void write_cruise_odv_file(const std::vector<ExportedProfile>& profiles);

}  // namespace veka
