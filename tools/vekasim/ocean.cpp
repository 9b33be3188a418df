#include "vekasim/ocean.h"

#include <cmath>

namespace vekasim {

WaterColumn::WaterColumn(Random& random)
    : surface_temperature_(random.uniform(12.5, 15.5)),
      deep_temperature_(random.uniform(4.5, 6.0)),
      surface_salinity_(random.uniform(30.9, 31.6)),
      deep_salinity_(random.uniform(32.5, 33.1)),
      thermocline_depth_(random.uniform(25.0, 40.0)),
      thermocline_width_(random.uniform(4.0, 8.0)),
      chlorophyll_depth_(random.uniform(18.0, 35.0)),
      chlorophyll_peak_(random.uniform(1.5, 3.5)) {}

// 1 above the layer, 0 below it, with a smooth step of the given width.
static double above_layer(double depth, double layer_depth, double width) {
  return 1.0 / (1.0 + std::exp((depth - layer_depth) / width));
}

static double bell(double depth, double centre, double width) {
  const double x = (depth - centre) / width;
  return std::exp(-x * x);
}

double WaterColumn::temperature(double depth) const {
  return deep_temperature_ + (surface_temperature_ - deep_temperature_) *
                                 above_layer(depth, thermocline_depth_, thermocline_width_);
}

double WaterColumn::salinity(double depth) const {
  // The halocline lies a little below the thermocline and is broader.
  return deep_salinity_ +
         (surface_salinity_ - deep_salinity_) *
             above_layer(depth, thermocline_depth_ + 5.0, 1.5 * thermocline_width_);
}

double WaterColumn::conductivity(double temperature, double salinity) {
  // Conductivity ratio of standard sea water against temperature (the
  // polynomial of the practical salinity scale), taken as proportional to
  // salinity: close enough for a plausible recording, not for calibration.
  const double t = temperature;
  const double ratio =
      0.6766097 + t * (2.00564e-2 + t * (1.104259e-4 + t * (-6.9698e-7 + t * 1.0031e-9)));
  const double standard_conductivity = 42.914;  // S = 35, 15 degC
  return standard_conductivity * ratio * salinity / 35.0;
}

double WaterColumn::fluorescence(double depth) const {
  return 0.08 + 0.25 * above_layer(depth, chlorophyll_depth_ + 10.0, 5.0) +
         chlorophyll_peak_ * bell(depth, chlorophyll_depth_, 7.0);
}

double WaterColumn::plankton(double depth) const {
  return 0.3 + 0.6 * above_layer(depth, thermocline_depth_ + 15.0, 10.0) +
         1.2 * bell(depth, chlorophyll_depth_ + 5.0, 12.0);
}

}  // namespace vekasim
