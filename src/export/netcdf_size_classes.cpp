// The size spectrum of a data file as a CF-1.8 / ACDD-1.3 netCDF file of its
// own (output_base_name + "_spectrum.nc"), beside the profile file, whose
// featureType it would not fit: the NBSS channels over an ESD coordinate
// with its cell bounds (esd, esd_bounds [um], the channel number beside
// it), with the biomass per channel, the spectra and their straight-line and
// parabola fits over the channel ranges they cover; the large-particle
// millimetre classes over their own ESD coordinate (esd_mm, esd_mm_bounds
// [mm]); and the fit and residual figures as scalars (among them the
// maximum-likelihood exponent and the straight line's statistics). The
// station's identity, time and position are scalar coordinates, as in the
// profile file.
//
// Reads   nbss_size_bounds [um], nbss_log_bounds, channel_delta_ug [ug],
//         channel_biomass [ug/m3], nbss_values, mep_nbss_values, the fits
//         (linear_slope, ..., nbss_quad_fit, nbss_quad_base,
//         nbss_quad_residuals with their channel ranges), the residual
//         analysis, total_volume [m3], mep_mm_counts, mep_large_biomass
//         [mg], output_base_name; the spectrum's fits (export/size_fits.h)
// Writes  the netCDF file only.
#include "export/netcdf_size_classes.h"

#include <functional>
#include <utility>

#include "export/netcdf_file.h"
#include "export/netcdf_metadata.h"
#include "export/step_table.h"
#include "store/store.h"

namespace veka {

namespace {

const char* const kExponentReference =
    "Edwards, A. M., Robinson, J. P. W., Blanchard, J. L., Baum, J. K. and Plank, M. J. (2020): "
    "Accounting for the bin structure of data removes bias when fitting size spectra. Marine "
    "Ecology Progress Series 636, 19-33 (the exponent mle_b)";

// A channel value that is the empty-channel mark becomes a gap.
double spectrum_value(double value) {
  return value == kEmptyChannel ? kNetcdfFill : value;
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
       {"1", "straight-line fit of nbss", "", "modelResult"},
       true},
      {"mep_nbss_linear_fit",
       s.nbss_first,
       s.nbss_last,
       [&s](int i) { return s.mep_linear_slope * s.nbss_log_bounds[i] + s.mep_linear_intercept; },
       {"1", "straight-line fit of mep_nbss", "", "modelResult"},
       true},
      {"nbss_quad_fit",
       s.nbss_base_first,
       s.quad_last,
       [&s](int i) { return s.nbss_quad_fit[i]; },
       {"1", "parabola fit of nbss", "", "modelResult"},
       true},
      {"nbss_quad_base",
       s.nbss_base_first,
       s.nbss_last,
       [&s](int i) { return s.nbss_quad_base[i]; },
       {"1", "reference parabola (base) of nbss", "", "modelResult"},
       true},
      {"nbss_quad_residuals",
       s.nbss_base_first,
       s.nbss_last,
       [&s](int i) { return s.nbss_quad_residuals[i]; },
       {"1", "residual of nbss above the base", ""},
       true},
  };
}

// The middle of a channel between its edges, as the data report gives it.
double channel_middle(int i) {
  const double* e = store.nbss_size_bounds;
  return e[i] - (e[i] - e[i - 1]) / 2;
}

// A coordinate over `dimension` with its bounds over (dimension, vertex).
int add_coordinate(NetcdfWriter& writer, const std::string& name, int dimension, int vertex,
                   std::vector<double> middles, std::vector<double> edges, const Meaning& meaning) {
  int id = writer.add(name, {dimension}, std::move(middles), meaning);
  writer.file().attribute(id, "bounds", name + "_bounds");
  int bounds =
      writer.file().variable(name + "_bounds", {dimension, vertex}, NetcdfFile::Type::real);
  writer.add_values(bounds, std::move(edges));
  return id;
}

void add_channels(NetcdfWriter& writer, int vertex, const std::string& coordinates) {
  const Store& s = store;
  int dim = writer.file().dimension("esd", kChannels - kFirstShownChannel + 1);
  std::vector<double> middles, edges;
  std::vector<int> numbers;
  for (int i = kFirstShownChannel; i <= kChannels; ++i) {
    middles.push_back(channel_middle(i));
    edges.insert(edges.end(), {s.nbss_size_bounds[i - 1], s.nbss_size_bounds[i]});
    numbers.push_back(i);
  }
  add_coordinate(
      writer, "esd", dim, vertex, middles, edges,
      {"um", "equivalent spherical diameter of the middle of the NBSS channel", "", "coordinate"});
  writer.add_integers("channel", {dim}, numbers, {"", "NBSS channel number", "", "coordinate"});
  for (const ChannelSeries& series : channel_series()) {
    std::vector<double> values;
    for (int i = kFirstShownChannel; i <= kChannels; ++i) {
      values.push_back(i >= series.first && i <= series.last ? series.value(i) : kNetcdfFill);
    }
    int id = writer.add(series.name, {dim}, values, series.meaning, series.gaps);
    writer.file().attribute(id, "coordinates", coordinates + " channel");
  }
}

void add_mm_classes(NetcdfWriter& writer, int vertex, const std::string& coordinates) {
  int dim = writer.file().dimension("esd_mm", kLastMmClass - kFirstMmClass + 1);
  std::vector<double> middles, edges;
  std::vector<int> counts;
  for (int m = kFirstMmClass; m <= kLastMmClass; ++m) {
    middles.push_back(m - 0.5);
    edges.insert(edges.end(), {m - 1.0, static_cast<double>(m)});
    counts.push_back(store.mep_mm_counts[m]);
  }
  add_coordinate(
      writer, "esd_mm", dim, vertex, middles, edges,
      {"mm", "equivalent spherical diameter of the middle of the 1 mm class", "", "coordinate"});
  int id =
      writer.add_integers("large_particle_counts", {dim}, counts,
                          {"1", "multi-element particles of 6 mm ESD or more per 1 mm class", ""});
  writer.file().attribute(id, "coordinates", coordinates);
}

void add_figures(NetcdfWriter& writer) {
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
void add_spectrum_fit(NetcdfWriter& writer, const SpectrumFit& fit) {
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
    writer.add(name, {}, {figure.first.value_or(kNetcdfFill)}, figure.second, true);
  }
  writer.add_integers("linear_channels", {}, {fit.line.points},
                      {"1", "channels of the straight-line fit", ""});
}

}  // namespace

std::string netcdf_spectrum_name() {
  return store.output_base_name + "_spectrum.nc";
}

void write_netcdf_spectrum(const ExportedProfile& profile, const SpectrumFit& fit,
                           const std::vector<GlobalAttribute>& attributes) {
  NetcdfWriter writer(netcdf_spectrum_name());
  NetcdfFile& file = writer.file();
  NetcdfDescription d;
  d.title = "Size spectrum of the VEKA counter, data file " + profile.data_file_name;
  d.summary =
      "Normalised biomass size spectrum (NBSS) of zooplankton and other particles over the "
      "analysed range of one data file of the VEKA counter, with its straight-line and parabola "
      "fits, the residual analysis, the maximum-likelihood exponent of the binned counts and the "
      "large multi-element particles per 1 mm class.";
  d.id = profile.station.profile_id() + "_spectrum";
  d.references = std::string(kNbssReference) + "; " + kExponentReference;
  d.notes = station_notes(profile.station);
  write_global_attributes(file, d, {profile}, attributes);
  int vertex = file.dimension("nv", 2);
  std::string coordinates = add_station_variables(writer, {}, {profile}, "profile_id", "", true);
  add_channels(writer, vertex, coordinates);
  add_mm_classes(writer, vertex, coordinates);
  add_figures(writer);
  add_spectrum_fit(writer, fit);
  writer.finish();
}

}  // namespace veka
