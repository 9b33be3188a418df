#include "export/netcdf_profile.h"

#include <functional>
#include <utility>
#include <vector>

#include "export/netcdf_file.h"
#include "export/options.h"
#include "export/step_table.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr double kFill = 9.9692099683868690e+36;  // the library's default double fill

struct Meaning {
  std::string units;
  std::string long_name;
  std::string standard_name;
};

// Definitions come before data in a netCDF file; the values wait here until
// every variable is defined.
class ProfileWriter {
 public:
  explicit ProfileWriter(const std::string& name) : file_(name) {}

  NetcdfFile& file() { return file_; }

  // `gaps`: some values may be kFill, which the _FillValue attribute marks.
  int add(const std::string& name, const std::vector<int>& dimensions, std::vector<double> values,
          const Meaning& meaning, bool gaps = false) {
    int id = file_.variable(name, dimensions);
    describe(id, meaning);
    if (gaps) file_.attribute(id, "_FillValue", kFill);
    doubles_.emplace_back(id, std::move(values));
    return id;
  }

  int add_integers(const std::string& name, const std::vector<int>& dimensions,
                   std::vector<int> values, const Meaning& meaning) {
    int id = file_.variable(name, dimensions, true);
    describe(id, meaning);
    integers_.emplace_back(id, std::move(values));
    return id;
  }

  void finish() {
    file_.end_definitions();
    for (const auto& [id, values] : doubles_) file_.put(id, values);
    for (const auto& [id, values] : integers_) file_.put(id, values);
    file_.close();
  }

 private:
  void describe(int id, const Meaning& meaning) {
    if (!meaning.standard_name.empty()) file_.attribute(id, "standard_name", meaning.standard_name);
    file_.attribute(id, "long_name", meaning.long_name);
    if (!meaning.units.empty()) file_.attribute(id, "units", meaning.units);
  }

  NetcdfFile file_;
  std::vector<std::pair<int, std::vector<double>>> doubles_;
  std::vector<std::pair<int, std::vector<int>>> integers_;
};

// Days from 1970-01-01 to the civil date y-m-d (proleptic Gregorian).
long days_since_epoch(long y, long m, long d) {
  y -= m <= 2 ? 1 : 0;
  long era = (y >= 0 ? y : y - 399) / 400;
  long year_of_era = y - era * 400;
  long day_of_year = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

double seconds_since_epoch(const StationHeader& station) {
  auto number = [](const std::string& text, size_t at, size_t length) {
    return std::stol(text.substr(at, length));
  };
  const std::string& d = station.date;
  const std::string& t = station.time;
  long days = days_since_epoch(number(d, 0, 4), number(d, 5, 2), number(d, 8, 2));
  return days * 86400.0 + number(t, 0, 2) * 3600.0 + number(t, 3, 2) * 60.0 + number(t, 6, 2);
}

std::string command_line() {
  std::string text;
  for (int n = 1; n <= kPositionalArguments; ++n) text += (n > 1 ? " " : "") + argument_text(n);
  return text;
}

void write_globals(NetcdfFile& file, const StationHeader& station, bool depth) {
  const Store& s = store;
  const int g = NetcdfFile::kGlobal;
  file.attribute(g, "Conventions", "CF-1.8");
  file.attribute(g, "featureType", depth ? "profile" : "timeSeries");
  file.attribute(
      g, "title",
      "Zooplankton counts and sizes from the VEKA counter, data file " + s.data_file_name);
  file.attribute(g, "source",
                 "VEKA counter on a CTD frame, processed by vekaproc " + s.version_label);
  file.attribute(g, "data_set_name", argument_text(2));
  file.attribute(g, "run_label", s.run_label);
  if (!station.cruise.empty()) file.attribute(g, "cruise", station.cruise);
  if (!station.station.empty()) file.attribute(g, "station", station.station);
  file.attribute(g, "command_line_arguments", command_line());
}

std::vector<double> filled(const std::vector<StepValue>& values) {
  std::vector<double> out;
  for (const StepValue& v : values) out.push_back(v.value_or(kFill));
  return out;
}

// The station's time and position as scalar variables, when known; returns
// their names for the "coordinates" attribute.
std::string add_station(ProfileWriter& writer, const StationHeader& station) {
  std::string names;
  if (!station.date.empty() && !station.time.empty()) {
    writer.add("time", {}, {seconds_since_epoch(station)},
               {"seconds since 1970-01-01 00:00:00",
                "time of the station from the recording's header", "time"});
    names += "time ";
  }
  if (station.latitude) {
    writer.add("lat", {}, {*station.latitude},
               {"degrees_north", "latitude of the station", "latitude"});
    names += "lat ";
  }
  if (station.longitude) {
    writer.add("lon", {}, {*station.longitude},
               {"degrees_east", "longitude of the station", "longitude"});
    names += "lon ";
  }
  if (station.bottom_depth) {
    writer.add("bottom_depth", {}, {*station.bottom_depth},
               {"m", "water depth at the station", "sea_floor_depth_below_sea_surface"});
  }
  if (!names.empty()) names.pop_back();
  return names;
}

void add_steps(ProfileWriter& writer, const std::string& coordinates) {
  StepAxis axis = step_axis();
  std::vector<int> steps = profile_steps();
  int dimension = writer.file().dimension(axis.key, steps.size());
  std::vector<double> positions;
  for (int k : steps) positions.push_back(step_coordinate(k));
  int axis_id = writer.add(axis.key, {dimension}, positions,
                           {axis.cf_units, axis.long_name, axis.standard_name});
  if (axis.depth) {
    writer.file().attribute(axis_id, "positive", "down");
    writer.file().attribute(axis_id, "axis", "Z");
  } else {
    writer.file().attribute(axis_id, "axis", "T");
  }
  for (const StepQuantity& q : step_quantities()) {
    std::vector<StepValue> values;
    for (int k : steps) values.push_back(q.value(k));
    int id = writer.add(q.key, {dimension}, filled(values),
                        {q.cf_units, q.long_name, q.standard_name}, true);
    if (!coordinates.empty()) writer.file().attribute(id, "coordinates", coordinates);
  }
}

// A channel value that is the empty-channel mark becomes a gap.
double spectrum_value(double value) {
  return value == kEmptyChannel ? kFill : value;
}

struct ChannelSeries {
  std::string name;
  int first;  // channels outside first..last are gaps
  int last;
  std::function<double(int)> value;
  Meaning meaning;
  bool gaps;  // may hold gaps (marked by _FillValue)
};

std::vector<ChannelSeries> channel_series() {
  const Store& s = store;
  const int all_first = kFirstShownChannel, all_last = kChannels;
  return {
      {"esd_lower",
       all_first,
       all_last,
       [&s](int i) { return s.nbss_size_bounds[i - 1]; },
       {"um", "lower ESD edge of the channel", ""},
       false},
      {"esd_upper",
       all_first,
       all_last,
       [&s](int i) { return s.nbss_size_bounds[i]; },
       {"um", "upper ESD edge of the channel", ""},
       false},
      {"log_biomass",
       all_first,
       all_last,
       [&s](int i) { return s.nbss_log_bounds[i]; },
       {"1", "log10 of particle biomass in ug: the channel's abscissa in the fits", ""},
       false},
      {"channel_width",
       all_first,
       all_last,
       [&s](int i) { return s.channel_delta_ug[i]; },
       {"ug", "biomass width of the channel", ""},
       false},
      {"channel_biomass",
       all_first,
       all_last,
       [&s](int i) { return s.channel_biomass[i]; },
       {"ug m-3", "profile-mean biomass density in the channel", ""},
       false},
      {"nbss",
       all_first,
       all_last,
       [&s](int i) { return spectrum_value(s.nbss_values[i]); },
       {"1", "log10 of the normalised biomass size spectrum, (ug m-3) / ug; a gap where empty", ""},
       true},
      {"mep_nbss",
       all_first,
       all_last,
       [&s](int i) { return spectrum_value(s.mep_nbss_values[i]); },
       {"1", "log10 of the normalised biomass size spectrum of multi-element particles", ""},
       true},
      {"nbss_linear_fit",
       s.nbss_first,
       s.nbss_last,
       [&s](int i) { return s.linear_slope * s.nbss_log_bounds[i] + s.linear_intercept; },
       {"1", "straight-line fit of nbss", ""},
       true},
      {"mep_nbss_linear_fit",
       s.nbss_first,
       s.nbss_last,
       [&s](int i) { return s.mep_linear_slope * s.nbss_log_bounds[i] + s.mep_linear_intercept; },
       {"1", "straight-line fit of mep_nbss", ""},
       true},
      {"nbss_quad_fit",
       s.nbss_base_first,
       s.quad_last,
       [&s](int i) { return s.nbss_quad_fit[i]; },
       {"1", "parabola fit of nbss", ""},
       true},
      {"nbss_quad_base",
       s.nbss_base_first,
       s.nbss_last,
       [&s](int i) { return s.nbss_quad_base[i]; },
       {"1", "reference parabola (base) of nbss", ""},
       true},
      {"nbss_quad_residuals",
       s.nbss_base_first,
       s.nbss_last,
       [&s](int i) { return s.nbss_quad_residuals[i]; },
       {"1", "residual of nbss above the base", ""},
       true},
  };
}

void add_channels(ProfileWriter& writer) {
  int dim = writer.file().dimension("channel", kChannels - kFirstShownChannel + 1);
  std::vector<int> numbers;
  for (int i = kFirstShownChannel; i <= kChannels; ++i) numbers.push_back(i);
  writer.add_integers("channel", {dim}, numbers, {"", "NBSS channel number", ""});
  for (const ChannelSeries& series : channel_series()) {
    std::vector<double> values;
    for (int i = kFirstShownChannel; i <= kChannels; ++i) {
      values.push_back(i >= series.first && i <= series.last ? series.value(i) : kFill);
    }
    writer.add(series.name, {dim}, values, series.meaning, series.gaps);
  }
}

void add_mm_classes(ProfileWriter& writer) {
  int dim = writer.file().dimension("mm_class", kLastMmClass - kFirstMmClass + 1);
  std::vector<double> upper;
  std::vector<int> counts;
  for (int m = kFirstMmClass; m <= kLastMmClass; ++m) {
    upper.push_back(m);
    counts.push_back(store.mep_mm_counts[m]);
  }
  writer.add("mm_class_upper", {dim}, upper, {"mm", "upper ESD edge of the 1 mm class", ""});
  writer.add_integers("large_particle_counts", {dim}, counts,
                      {"1", "multi-element particles of 6 mm ESD or more per 1 mm class", ""});
}

void add_figures(ProfileWriter& writer) {
  const Store& s = store;
  const std::vector<std::pair<std::string, std::pair<double, Meaning>>> figures = {
      {"linear_slope", {s.linear_slope, {"1", "slope of the straight-line fit of nbss", ""}}},
      {"linear_intercept",
       {s.linear_intercept, {"1", "value of the straight-line fit at log_biomass 0", ""}}},
      {"mep_linear_slope",
       {s.mep_linear_slope, {"1", "slope of the straight-line fit of mep_nbss", ""}}},
      {"mep_linear_intercept",
       {s.mep_linear_intercept,
        {"1", "value of the straight-line fit of mep_nbss at log_biomass 0", ""}}},
      {"quad_vertex_y", {s.quad_vertex_y, {"1", "vertex height of the parabola fit", ""}}},
      {"quad_offset_x",
       {s.quad_offset_x, {"1", "vertex position of the parabola fit in log_biomass", ""}}},
      {"quad_curvature", {s.quad_curvature, {"1", "curvature of the parabola fit", ""}}},
      {"quad_x_intercept",
       {s.quad_x_intercept, {"1", "largest log_biomass where the parabola fit is positive", ""}}},
      {"centroid_esd",
       {s.centroid_esd, {"um", "ESD of the centroid of the residual above the base", ""}}},
      {"centroid_log_biomass",
       {s.centroid_log_biomass,
        {"1", "log_biomass of the centroid of the residual above the base", ""}}},
      {"base_centroid",
       {s.base_centroid, {"um", "ESD of the middle of the residual channel range", ""}}},
      {"resid_total_prob",
       {s.resid_total_prob, {"1", "summed residual over summed normalised spectrum", ""}}},
      {"dispersion_coeff",
       {s.dispersion_coeff,
        {"1", "ESD dispersion of the residual peak relative to its centroid", ""}}},
      {"total_biomass_density",
       {s.total_biomass_density,
        {"ug m-3", "biomass density of the spectrum over the residual channels", ""}}},
      {"residual_biomass_density",
       {s.residual_biomass_density, {"ug m-3", "biomass density above the base", ""}}},
      {"total_volume", {s.total_volume, {"m3", "volume of water filtered over the profile", ""}}},
      {"large_particle_biomass",
       {s.mep_large_biomass, {"mg", "biomass of multi-element particles of 6 to 35 mm ESD", ""}}},
  };
  for (const auto& [name, figure] : figures) writer.add(name, {}, {figure.first}, figure.second);
}

// The exponent and the line's statistics; a figure that does not exist is
// the fill value.
void add_spectrum_fit(ProfileWriter& writer, const SpectrumFit& fit) {
  using Figure = std::optional<double>;
  const bool mle = fit.mle.has_value();
  auto if_mle = [mle](double value) { return mle ? Figure(value) : std::nullopt; };
  const std::vector<std::pair<std::string, std::pair<Figure, Meaning>>> figures = {
      {"mle_b",
       {mle ? Figure(fit.mle->b) : std::nullopt,
        {"1",
         "maximum-likelihood exponent b of the bounded power law of particle counts per body "
         "mass, from the counts per 15 um class (MLEbin)",
         ""}}},
      {"mle_b_ci_low",
       {mle ? fit.mle->b_low : std::nullopt,
        {"1", "lower end of the 95 % profile-likelihood interval of mle_b", ""}}},
      {"mle_b_ci_high",
       {mle ? fit.mle->b_high : std::nullopt,
        {"1", "upper end of the 95 % profile-likelihood interval of mle_b", ""}}},
      {"mle_nbss_slope",
       {fit.mle_nbss_slope(), {"1", "NBSS slope implied by mle_b, that is mle_b + 1", ""}}},
      {"mle_n", {mle ? Figure(fit.mle->n) : std::nullopt, {"1", "particles fitted by mle_b", ""}}},
      {"mle_xmin_esd",
       {if_mle(fit.lowest.esd_lower), {"um", "lower ESD bound of the particles fitted", ""}}},
      {"mle_xmax_esd",
       {if_mle(fit.highest.esd_upper), {"um", "upper ESD bound of the particles fitted", ""}}},
      {"mle_xmin_mass",
       {if_mle(fit.lowest.mass_lower),
        {"ug", "lower body-mass bound of the particles fitted", ""}}},
      {"mle_xmax_mass",
       {if_mle(fit.highest.mass_upper),
        {"ug", "upper body-mass bound of the particles fitted", ""}}},
      {"linear_r_squared",
       {fit.line.r_squared, {"1", "coefficient of determination of the straight-line fit", ""}}},
      {"linear_slope_se",
       {fit.line.slope_se, {"1", "standard error of the slope of the straight-line fit", ""}}},
      {"linear_intercept_se",
       {fit.line.intercept_se,
        {"1", "standard error of the intercept of the straight-line fit", ""}}},
  };
  for (const auto& [name, figure] : figures) {
    writer.add(name, {}, {figure.first.value_or(kFill)}, figure.second, true);
  }
  writer.add_integers("linear_channels", {}, {fit.line.points},
                      {"1", "channels of the straight-line fit", ""});
}

}  // namespace

bool netcdf_available() {
  return true;
}

void write_netcdf_profile(const StationHeader& station, const SpectrumFit& fit) {
  ProfileWriter writer(store.output_base_name + ".nc");
  bool depth = step_axis().depth;
  write_globals(writer.file(), station, depth);
  int profile = writer.add_integers("file_number", {}, {store.file_number},
                                    {"", "number of the data file in its data set", ""});
  writer.file().attribute(profile, "cf_role", depth ? "profile_id" : "timeseries_id");
  std::string coordinates = add_station(writer, station);
  add_steps(writer, coordinates);
  add_channels(writer);
  add_mm_classes(writer);
  add_figures(writer);
  add_spectrum_fit(writer, fit);
  writer.finish();
}

}  // namespace veka
