// The per-step profile as the exports write it: a row per step, a column per quantity.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/time_ctd.h"

namespace veka {

// A value of one step, empty where the step has none (a CTD mean of a step
// without CTD samples, a concentration of a step without filtered water).
using StepValue = std::optional<double>;

// How the steps of a cell make its value: the mean of a mean or a
// concentration, the sum of a count or a volume.
enum class CellMethod { mean, sum };

// The names and units of one quantity.
struct Quantity {
  std::string key;            // variable name in the netCDF file
  std::string label;          // column name in the ODV file, without its unit
  std::string unit;           // unit as the ODV file writes it in brackets
  std::string cf_units;       // the same unit in UDUNITS notation
  std::string standard_name;  // CF standard name, empty when there is none
  std::string long_name;
  CellMethod method = CellMethod::mean;
};

struct StepQuantity : Quantity {
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
// CTD fields that the run's CTD letters do not name are left out. In the
// time mode the CTD means come from `time_ctd`, which must outlive the
// quantities (without a CTD line in the analysed range there are none).
std::vector<StepQuantity> step_quantities(const TimeModeCtd& time_ctd);

// True in the depth modes, whose particle values are per cubic metre of
// water filtered. The time mode gives every interval the nominal volume 1,
// so its values are the counts and biomass of the interval (and it has no
// water-volume column).
bool per_volume();

// The count and biomass concentrations of the five reporting ranges r = 1..5
// or, for kAllRanges, of the classes 100..2500 um (per interval in the time
// mode).
constexpr int kAllRanges = 10;
StepQuantity count_concentration(int r);
StepQuantity biomass_concentration(int r);
std::string range_title(int r);  // "100-250 um"; "100-2500 um" for kAllRanges

// A cell of consecutive steps of the profile: the steps themselves, or the
// 5, 10 or 25 steps of the reports' bins (steps 1..5, 6..10, ...) that lie
// in the profile. Its place and edges are in the units of the step axis.
struct ProfileCell {
  int first_step;
  int last_step;
  double position;  // the middle
  double lower;
  double upper;
};
std::vector<ProfileCell> profile_cells(int width);

// The mean or sum of the values the cell's steps have; empty when none has
// one.
StepValue cell_value(const StepQuantity& quantity, const ProfileCell& cell, CellMethod method);

// The profile in cells of `width` steps, every quantity's values taken and
// kept, so that it outlives the store's data file.
struct ProfileTable {
  StepAxis axis;
  int width = 1;
  std::vector<ProfileCell> cells;
  std::vector<Quantity> quantities;
  std::vector<std::vector<StepValue>> values;  // [quantity][cell]
};
ProfileTable profile_table(const std::vector<StepQuantity>& quantities, int width);

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
