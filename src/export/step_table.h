// The per-step profile as the exports write it: one row per step of the
// analysed profile (range_lo..range_hi), located by depth in the depth modes
// or by elapsed time in the time mode, and one column per quantity with its
// names and units. The ODV spreadsheet, the netCDF file and the plot page
// all take their per-step values from here.
//
// Reads   smode, depth_mode, dfctx, range_lo, range_hi, ctd_field_position,
//         diameter_bin_low/high [um], report_profile[k][kCtdScans..kCtdAnalog5,
//         kCtdSpeed] (samples, means of T [degC], C [mS/cm], S, CTD rate
//         [m/s], A1..A5 [V], smoothed flow speed [m/s]), ctd[k][kCtdVolume]
//         [m3],
//         range_conc[k][1..5, 10] [1/m3], range_bio_conc[k][1..5, 10] [mg/m3]
// Writes  nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace veka {

// A value of one step, empty where the step has none (a CTD mean of a step
// without CTD samples, a concentration of a step without filtered water).
using StepValue = std::optional<double>;

struct StepQuantity {
  std::string key;            // variable name in the netCDF file
  std::string label;          // column name in the ODV file, without its unit
  std::string unit;           // unit as the ODV file writes it in brackets
  std::string cf_units;       // the same unit in UDUNITS notation
  std::string standard_name;  // CF standard name, empty when there is none
  std::string long_name;
  std::function<StepValue(int step)> value;
};

// The location of a step: depth [m] in the depth modes, elapsed time [s] in
// the time mode.
struct StepAxis {
  bool depth;
  std::string key;
  std::string label;
  std::string unit;
  std::string cf_units;
  std::string standard_name;
  std::string long_name;
};

StepAxis step_axis();

// Depth of step k [m] (the middle of its metre), or the middle of its time
// interval after the start of the analysed range [s].
double step_coordinate(int step);

// The steps of the analysed profile, inside the store's step rows.
std::vector<int> profile_steps();

// "100-250 um": reporting diameter range r as the columns name it.
std::string range_name(int r);

// Every per-step quantity, in the order of the data report's step table.
// CTD fields that the run's CTD letters do not name are left out, and so are
// all CTD means in the time mode, which reads no CTD line.
std::vector<StepQuantity> step_quantities();

// True in the depth modes, whose particle values are per cubic metre of
// water filtered. The time mode gives every interval the nominal volume 1,
// so its values are the counts and biomass of the interval (and it has no
// water-volume column).
bool per_volume();

// The count and biomass concentrations of the five reporting ranges (per
// interval in the time mode).
StepQuantity count_concentration(int r);
StepQuantity biomass_concentration(int r);

// The size spectrum as the exports show it: channels 2..68 (channel 1 has no
// lower edge and never holds biomass), an empty channel holding -5.0; and
// the millimetre classes 6..50 of the large multi-element particles.
constexpr int kFirstShownChannel = 2;
constexpr double kEmptyChannel = -5.0;
constexpr int kFirstMmClass = 6;
constexpr int kLastMmClass = 50;

// Numbers as the text exports write them: up to seven significant digits.
std::string export_number(double x);

}  // namespace veka
