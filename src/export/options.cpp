#include "export/options.h"

#include "common/fatal.h"
#include "export/netcdf_profile.h"
#include "store/store.h"

namespace veka {

ExportOptions read_export_options() {
  ExportOptions options;
  const std::vector<std::string>& arguments = store.arguments;
  for (size_t n = kPositionalArguments + 1; n < arguments.size(); ++n) {
    const std::string& option = arguments[n];
    if (option == "--plots") {
      options.plots = true;
    } else if (option == "--odv") {
      options.odv = true;
    } else if (option == "--netcdf") {
      if (!netcdf_available()) {
        fatal("Option --netcdf: this vekaproc was built without the netCDF library");
      }
      options.netcdf = true;
    } else if (option == "--spectrum") {
      options.spectrum = true;
    } else {
      fatal("Unknown option \"" + option +
            "\" after the 61 arguments (known: --plots, --odv, --netcdf, --spectrum)");
    }
  }
  return options;
}

}  // namespace veka
