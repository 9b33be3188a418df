#include "export/step_table.h"

#include <algorithm>
#include <cstdio>

#include "store/store.h"

namespace veka {

namespace {

constexpr int kSmallToMedium = 10;  // range_conc entry of the classes 100..2500 um

// The binning stage writes 0.5 samples into a step that had none, so that
// its means stay finite; such a step has no CTD reading.
bool has_ctd_samples(int step) {
  return store.report_profile[step][kCtdScans] >= 1.0;
}

bool has_water(int step) {
  return store.ctd[step][kCtdVolume] > 0.0;
}

std::function<StepValue(int)> ctd_mean(int column) {
  return [column](int step) -> StepValue {
    if (!has_ctd_samples(step)) return std::nullopt;
    return store.report_profile[step][column];
  };
}

bool letter_given(int letter) {
  return store.ctd_field_position[letter] > 0;
}

// The counts (or biomass) of range r (1..5) or of the classes 100..2500 um,
// per cubic metre in the depth modes, per interval in the time mode.
StepQuantity range_quantity(int entry, bool biomass, double (*table)[11]) {
  std::string range = entry == kSmallToMedium ? "100-2500 um" : range_name(entry);
  std::string key_range = entry == kSmallToMedium ? "100_2500" : std::to_string(entry);
  std::string what = (biomass ? "biomass of particles of " : "number of particles of ") + range;
  auto value = [entry, table](int step) -> StepValue {
    if (!has_water(step)) return std::nullopt;
    return table[step][entry];
  };
  if (per_volume()) {
    return {(biomass ? "biomass_conc_" : "count_conc_") + key_range,
            (biomass ? "Biomass conc. " : "Count conc. ") + range,
            biomass ? "mg/m^3" : "#/m^3",
            biomass ? "mg m-3" : "m-3",
            "",
            what + " ESD per volume of water filtered",
            value};
  }
  return {(biomass ? "biomass_" : "count_") + key_range,
          (biomass ? "Biomass " : "Counts ") + range,
          biomass ? "mg" : "#",
          biomass ? "mg" : "1",
          "",
          what + " ESD in the interval",
          value};
}

}  // namespace

StepAxis step_axis() {
  if (store.depth_mode == 1) {
    return {true, "depth", "Depth", "m", "m", "depth", "depth of the middle of the 1 m step"};
  }
  return {false,
          "elapsed_time",
          "Elapsed time",
          "s",
          "s",
          "",
          "time from the start of the analysed range to the middle of the interval"};
}

double step_coordinate(int step) {
  if (store.depth_mode == 1) return step;
  return (step - 0.5) * store.dfctx;
}

std::vector<int> profile_steps() {
  std::vector<int> steps;
  for (int k = std::max(store.range_lo, 1); k <= std::min(store.range_hi, kSteps); ++k) {
    steps.push_back(k);
  }
  return steps;
}

std::string range_name(int r) {
  return export_number(store.diameter_bin_low[r]) + "-" +
         export_number(store.diameter_bin_high[r]) + " um";
}

bool per_volume() {
  return store.smode != 0;
}

StepQuantity count_concentration(int r) {
  return range_quantity(r, false, store.range_conc);
}

StepQuantity biomass_concentration(int r) {
  return range_quantity(r, true, store.range_bio_conc);
}

namespace {

// The CTD means of the steps. The time mode reads no CTD line, so it has
// none.
void add_ctd_quantities(std::vector<StepQuantity>& q) {
  if (store.smode == 0) return;
  q.push_back({"samples", "CTD samples", "count", "1", "", "number of CTD scans in the step",
               [](int step) -> StepValue {
                 return has_ctd_samples(step) ? store.report_profile[step][kCtdScans] : 0.0;
               }});
  if (letter_given(kFieldT)) {
    q.push_back({"temperature", "Temperature", "degC", "degree_C", "sea_water_temperature",
                 "mean temperature of the step", ctd_mean(kCtdTemperature)});
  }
  if (letter_given(kFieldC)) {
    q.push_back({"conductivity", "Conductivity", "mS/cm", "mS cm-1",
                 "sea_water_electrical_conductivity", "mean conductivity of the step",
                 ctd_mean(kCtdConductivity)});
  }
  if (letter_given(kFieldS)) {
    q.push_back({"salinity", "Salinity", "psu", "1", "sea_water_practical_salinity",
                 "mean practical salinity of the step", ctd_mean(kCtdSalinity)});
  }
  q.push_back({"ctd_rate", "CTD vertical speed", "m/s", "m s-1", "",
               "vertical speed of the CTD, positive downwards, smoothed over the steps",
               ctd_mean(kCtdRate)});
  for (int a = 1; a <= kCtdAnalogChannels; ++a) {
    if (!letter_given(kFieldA1 + a - 1)) continue;
    std::string n = std::to_string(a);
    q.push_back({"analog_" + n, "Analog " + n, "V", "V", "", "mean of analog channel A" + n,
                 ctd_mean(kCtdAnalog1 + a - 1)});
  }
}

}  // namespace

std::vector<StepQuantity> step_quantities() {
  std::vector<StepQuantity> q;
  add_ctd_quantities(q);
  q.push_back({"flow_speed", "Flow speed", "m/s", "m s-1", "",
               "flow speed through the counter's tunnel, smoothed over the steps",
               [](int step) -> StepValue { return store.report_profile[step][kCtdSpeed]; }});
  if (per_volume()) {
    q.push_back({"water_volume", "Water volume", "m^3", "m3", "",
                 "volume of water filtered in the step",
                 [](int step) -> StepValue { return store.ctd[step][kCtdVolume]; }});
  }
  q.push_back(count_concentration(kSmallToMedium));
  for (int r = 1; r <= 5; ++r) q.push_back(count_concentration(r));
  q.push_back(biomass_concentration(kSmallToMedium));
  for (int r = 1; r <= 5; ++r) q.push_back(biomass_concentration(r));
  return q;
}

std::string export_number(double x) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", x);
  return text;
}

}  // namespace veka
