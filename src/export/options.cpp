#include "export/options.h"

#include <algorithm>
#include <string>

#include "common/fatal.h"
#include "export/netcdf_profile.h"
#include "store/store.h"

namespace veka {

const std::vector<ExportFlag>& export_flags() {
  static const std::vector<ExportFlag> flags = {
      {"plots", "--plots", "a page of plots per data file and one for the run (HTML)",
       &ExportOptions::plots},
      {"odv", "--odv", "the per-step table as an Ocean Data View spreadsheet", &ExportOptions::odv},
      {"netcdf", "--netcdf", "the per-step profile as a CF netCDF file", &ExportOptions::netcdf},
      {"spectrum", "--spectrum", "the size spectrum as tidy tables (CSV) with its fits",
       &ExportOptions::spectrum},
  };
  return flags;
}

namespace {

std::string known_flags() {
  std::string list;
  for (const ExportFlag& flag : export_flags()) list += (list.empty() ? "" : ", ") + flag.option;
  return list;
}

}  // namespace

ExportOptions read_export_options() {
  ExportOptions options;
  const std::vector<std::string>& arguments = store.arguments;
  for (size_t n = kPositionalArguments + 1; n < arguments.size(); ++n) {
    const std::string& option = arguments[n];
    const auto& flags = export_flags();
    auto flag = std::find_if(flags.begin(), flags.end(),
                             [&](const ExportFlag& f) { return option == f.option; });
    if (flag == flags.end()) {
      fatal("Unknown option \"" + option + "\" after the 61 arguments (known: " + known_flags() +
            ")");
    }
    if (flag->asked == &ExportOptions::netcdf && !netcdf_available()) {
      fatal("Option --netcdf: this vekaproc was built without the netCDF library");
    }
    options.*(flag->asked) = true;
  }
  return options;
}

}  // namespace veka
