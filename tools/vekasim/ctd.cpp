#include "vekasim/ctd.h"

#include <algorithm>

#include "vekasim/sink.h"
#include "vekasim/track.h"

namespace vekasim {

const char* const kCtdFieldLetters[11] = {"D", "C", "T", "S", "A1", "x", "x", "x", "x", "x", "x"};

// Sensor noise, one standard deviation.
constexpr double kDepthNoise = 0.004;         // [m]
constexpr double kTemperatureNoise = 0.002;   // [degC]
constexpr double kSalinityNoise = 0.003;      // [PSU]
constexpr double kConductivityNoise = 0.002;  // [mS/cm]
constexpr double kFluorescenceNoise = 0.04;   // relative

std::string ctd_line(double depth, const WaterColumn& water, Random& noise) {
  const double temperature = water.temperature(depth);
  const double salinity = water.salinity(depth);
  const double values[5] = {
      std::max(kShallowest, depth + kDepthNoise * noise.gaussian()),
      WaterColumn::conductivity(temperature, salinity) + kConductivityNoise * noise.gaussian(),
      temperature + kTemperatureNoise * noise.gaussian(),
      salinity + kSalinityNoise * noise.gaussian(),
      std::max(0.0, water.fluorescence(depth) * (1.0 + kFluorescenceNoise * noise.gaussian())),
  };
  std::string line = "C";
  for (double value : values) {
    line += ' ';
    append_fixed(line, value, 3);
  }
  return line;
}

}  // namespace vekasim
