// The per-step profile as the exports write it: one row per step of the
// analysed profile (range_lo..range_hi), located by depth in the depth modes
// or by elapsed time in the time mode, and one column per quantity with its
// names, units and the way its steps combine into a coarser cell (mean or
// sum). The ODV spreadsheets, the netCDF files and the plot pages all take
// their per-step values from here, and so do the cells of 5, 10 or 25 steps
// they may write instead (--bin).
//
// Reads   smode, depth_mode, dfctx, range_lo, range_hi, ctd_field_position,
//         diameter_bin_low/high [um], report_profile[k][kCtdScans..kCtdAnalog5,
//         kCtdSpeed] (samples, means of T [degC], C [mS/cm], S, CTD rate
//         [m/s], A1..A5 [V], smoothed flow speed [m/s]), ctd[k][kCtdVolume]
//         [m3], range_conc[k][1..5, 10] [1/m3], range_bio_conc[k][1..5, 10]
//         [mg/m3]; in the time mode the CTD means of the exports' own pass
//         (export/time_ctd.h)
// Writes  nothing.
#include "export/step_table.h"

#include <algorithm>
#include <cstdio>

#include "store/store.h"

namespace veka {

namespace {

// The binning stage writes 0.5 samples into a step that had none, so that
// its means stay finite; such a step has no CTD reading.
bool has_ctd_samples(int step) {
  return store.report_profile[step][kCtdScans] >= 1.0;
}

bool has_water(int step) {
  return store.ctd[step][kCtdVolume] > 0.0;
}

bool letter_given(int letter) {
  return store.ctd_field_position[letter] > 0;
}

// The CTD fields the exports show, by their field code. `column` is the
// field's column of the report rows in the depth modes; depth has none,
// being the step itself there.
struct CtdFieldQuantity {
  int code;
  int column;
  const char* key;
  const char* label;
  const char* unit;
  const char* cf_units;
  const char* standard_name;
  const char* what;  // for the long name, "mean <what> of the step"
};

const CtdFieldQuantity kCtdFieldQuantities[] = {
    {kFieldD, 0, "depth", "Depth", "m", "m", "depth", "CTD depth"},
    {kFieldT, kCtdTemperature, "temperature", "Temperature", "degC", "degree_C",
     "sea_water_temperature", "temperature"},
    {kFieldC, kCtdConductivity, "conductivity", "Conductivity", "mS/cm", "mS cm-1",
     "sea_water_electrical_conductivity", "conductivity"},
    {kFieldS, kCtdSalinity, "salinity", "Salinity", "psu", "1", "sea_water_practical_salinity",
     "practical salinity"},
};

// The counts (or biomass) of range r (1..5) or of the classes 100..2500 um,
// per cubic metre in the depth modes, per interval in the time mode.
StepQuantity range_quantity(int entry, bool biomass, double (*table)[11]) {
  std::string range = range_title(entry);
  std::string key_range = entry == kAllRanges ? "100_2500" : std::to_string(entry);
  std::string what = (biomass ? "biomass of particles of " : "number of particles of ") + range;
  auto value = [entry, table](int step) -> StepValue {
    if (!has_water(step)) return std::nullopt;
    return table[step][entry];
  };
  if (per_volume()) {
    return {{(biomass ? "biomass_conc_" : "count_conc_") + key_range,
             (biomass ? "Biomass conc. " : "Count conc. ") + range, biomass ? "mg/m^3" : "#/m^3",
             biomass ? "mg m-3" : "m-3", "", what + " ESD per volume of water filtered",
             CellMethod::mean},
            value};
  }
  return {{(biomass ? "biomass_" : "count_") + key_range,
           (biomass ? "Biomass " : "Counts ") + range, biomass ? "mg" : "#", biomass ? "mg" : "1",
           "", what + " ESD in the interval", CellMethod::sum},
          value};
}

// Depth, temperature, conductivity, salinity and the analog channels: the
// reader's means of the steps in the depth modes (depth being the step
// itself there, with the CTD rate beside it), the exports' own in the time
// mode.
void add_ctd_quantities(std::vector<StepQuantity>& q, const TimeModeCtd& time_ctd) {
  const bool depth_modes = store.smode != 0;
  if (!depth_modes && !time_ctd.any()) return;
  const std::string the = depth_modes ? "the step" : "the interval";
  auto scans = [depth_modes, &time_ctd](int step) -> StepValue {
    if (depth_modes) return has_ctd_samples(step) ? store.report_profile[step][kCtdScans] : 0.0;
    return time_ctd.intervals[step].scans;
  };
  auto mean = [depth_modes, &time_ctd](int code, int column) {
    return [depth_modes, &time_ctd, code, column](int step) -> StepValue {
      if (!depth_modes) return time_ctd.mean(step, code);
      if (!has_ctd_samples(step)) return std::nullopt;
      return store.report_profile[step][column];
    };
  };
  q.push_back({{"samples", "CTD samples", "count", "1", "", "number of CTD scans in " + the,
                CellMethod::sum},
               scans});
  for (const CtdFieldQuantity& f : kCtdFieldQuantities) {
    if (!letter_given(f.code) || (depth_modes && f.code == kFieldD)) continue;
    q.push_back({{f.key, f.label, f.unit, f.cf_units, f.standard_name,
                  std::string("mean ") + f.what + " of " + the, CellMethod::mean},
                 mean(f.code, f.column)});
  }
  if (depth_modes) {
    q.push_back({{"ctd_rate", "CTD vertical speed", "m/s", "m s-1", "",
                  "vertical speed of the CTD, positive downwards, smoothed over the steps",
                  CellMethod::mean},
                 mean(0, kCtdRate)});
  }
  for (int a = 1; a <= kCtdAnalogChannels; ++a) {
    if (!letter_given(kFieldA1 + a - 1)) continue;
    std::string n = std::to_string(a);
    q.push_back({{"analog_" + n, "Analog " + n, "V", "V", "", "mean of analog channel A" + n,
                  CellMethod::mean},
                 mean(kFieldA1 + a - 1, kCtdAnalog1 + a - 1)});
  }
}

// Edges of step k in the units of the axis.
double step_lower(int step) {
  return store.depth_mode == 1 ? step - 0.5 : (step - 1) * store.dfctx;
}
double step_upper(int step) {
  return store.depth_mode == 1 ? step + 0.5 : step * store.dfctx;
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

std::string range_title(int r) {
  return r == kAllRanges ? "100-2500 um" : range_name(r);
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

std::vector<StepQuantity> step_quantities(const TimeModeCtd& time_ctd) {
  std::vector<StepQuantity> q;
  add_ctd_quantities(q, time_ctd);
  q.push_back(
      {{"flow_speed", "Flow speed", "m/s", "m s-1", "",
        "flow speed through the counter's tunnel, smoothed over the steps", CellMethod::mean},
       [](int step) -> StepValue { return store.report_profile[step][kCtdSpeed]; }});
  if (per_volume()) {
    q.push_back({{"water_volume", "Water volume", "m^3", "m3", "",
                  "volume of water filtered in the step", CellMethod::sum},
                 [](int step) -> StepValue { return store.ctd[step][kCtdVolume]; }});
  }
  q.push_back(count_concentration(kAllRanges));
  for (int r = 1; r <= 5; ++r) q.push_back(count_concentration(r));
  q.push_back(biomass_concentration(kAllRanges));
  for (int r = 1; r <= 5; ++r) q.push_back(biomass_concentration(r));
  return q;
}

std::vector<ProfileCell> profile_cells(int width) {
  std::vector<ProfileCell> cells;
  for (int k : profile_steps()) {
    if (!cells.empty() && (k - 1) / width == (cells.back().first_step - 1) / width) {
      cells.back().last_step = k;
    } else {
      cells.push_back({k, k, 0.0, 0.0, 0.0});
    }
  }
  for (ProfileCell& cell : cells) {
    cell.lower = step_lower(cell.first_step);
    cell.upper = step_upper(cell.last_step);
    cell.position = cell.first_step == cell.last_step ? step_coordinate(cell.first_step)
                                                      : (cell.lower + cell.upper) / 2;
  }
  return cells;
}

StepValue cell_value(const StepQuantity& quantity, const ProfileCell& cell, CellMethod method) {
  double total = 0.0;
  int values = 0;
  for (int k = cell.first_step; k <= cell.last_step; ++k) {
    if (StepValue v = quantity.value(k)) {
      total += *v;
      ++values;
    }
  }
  if (values == 0) return std::nullopt;
  return method == CellMethod::sum ? total : total / values;
}

ProfileTable profile_table(const std::vector<StepQuantity>& quantities, int width) {
  ProfileTable table;
  table.axis = step_axis();
  table.width = width;
  table.cells = profile_cells(width);
  for (const StepQuantity& q : quantities) {
    table.quantities.push_back(q);
    std::vector<StepValue> values;
    for (const ProfileCell& cell : table.cells) values.push_back(cell_value(q, cell, q.method));
    table.values.push_back(values);
  }
  return table;
}

std::string export_number(double x) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", x);
  return text;
}

}  // namespace veka
