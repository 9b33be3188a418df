// The page of plots of a data file (output_base_name + "_Plots.html"): the
// normalised biomass size spectrum with its fits, base and residual
// centroid, and again with its uncertainty (export/nbss_figure.h); depth
// profiles (time series in the time mode) of the count and
// biomass concentrations of the five reporting ranges, temperature,
// salinity, analog channel A1 and the flow speed, each through its steps
// (thin) and through its means over 5 steps (thick); the millimetre classes of
// the large multi-element particles; and a caption with the file and the
// run settings. Self-contained HTML with inline SVG.
//
// Reads   the step table (export/step_table.h); nbss_log_bounds,
//         nbss_values, mep_nbss_values, nbss_first/last, linear_slope,
//         linear_intercept, nbss_base_first, quad_last, nbss_quad_fit,
//         nbss_quad_base, resid_base_num, centroid_log_biomass,
//         centroid_esd [um]; mep_mm_counts[6..50], mep_large_biomass [mg];
//         the run parameters and labels, total_volume [m3]
// Writes  the page only.
#include "export/plots_page.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "common/format.h"
#include "export/html.h"
#include "export/nbss_figure.h"
#include "export/step_table.h"
#include "export/svg.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

using svg::Point;
using svg::power_of_ten;
using svg::Style;
using svg::Value;

constexpr int kPanelWidth = 440;
constexpr int kPanelHeight = 540;
const char* const kRangeColours[] = {"", "#1b9e77", "#d95f02", "#7570b3", "#e7298a", "#66a61e"};

std::string trimmed_label(const std::string& label) {
  size_t first = label.find_first_not_of(' ');
  return first == std::string::npos ? "" : label.substr(first);
}

std::string figure(const std::string& svg_text, const std::string& caption) {
  return "<figure>\n" + svg_text + "<figcaption>" + svg::escaped(caption) +
         "</figcaption>\n</figure>\n";
}

// --- Caption ------------------------------------------------------------

std::string degrees(double value, char positive, char negative) {
  return real_field(std::fabs(value), 0, 4) + "\u00b0 " + (value < 0 ? negative : positive);
}

std::string station_text(const Station& station) {
  std::vector<std::string> parts;
  if (station.origin[kCruise] == Origin::stand_in) {
    parts.push_back("data set " + station.cruise + " for the cruise");
  } else {
    parts.push_back("cruise " + station.cruise);
  }
  if (station.origin[kStation] == Origin::stand_in) {
    parts.push_back("file number " + station.station + " for the station");
  } else {
    parts.push_back("station " + station.station);
  }
  if (!station.date_time().empty()) parts.push_back(station.date_time() + " UTC");
  if (station.latitude) parts.push_back(degrees(*station.latitude, 'N', 'S'));
  if (station.longitude) parts.push_back(degrees(*station.longitude, 'E', 'W'));
  if (station.bottom_depth)
    parts.push_back("water depth " + export_number(*station.bottom_depth) + " m");
  std::string text = station.all_from_header() ? "Station (recording's header): " : "Station: ";
  for (size_t i = 0; i < parts.size(); ++i) text += (i > 0 ? ", " : "") + parts[i];
  text += ".";
  if (!station.all_from_header()) {
    for (const std::string& note : station_notes(station)) text += " " + note;
  }
  return text;
}

std::string range_text() {
  const Store& s = store;
  if (s.depth_mode == 1) {
    return "Depth profile over steps " + std::to_string(s.range_lo) + " to " +
           std::to_string(s.range_hi) + " m, " + trimmed_label(s.direction_label) + " cast";
  }
  return "Time intervals of " + export_number(s.dfctx) + " s, intervals " +
         std::to_string(s.range_lo) + " to " + std::to_string(s.range_hi) + " (time counts " +
         std::to_string(s.count_first) + " to " + std::to_string(s.count_last) + ")";
}

// The time mode has no filtered volume (every interval counts as 1 m3).
std::string water_text() {
  if (!per_volume()) return "";
  return "Water filtered " + real_field(store.total_volume, 0, 3) + " m\u00b3. ";
}

std::string caption_text(const Station& station) {
  const Store& s = store;
  std::string ranges;
  for (int r = 1; r <= 5; ++r) ranges += (r > 1 ? ", " : "") + range_name(r);
  return "Data file " + s.data_file_name + " (data set " + argument_text(2) + ", file " +
         std::to_string(s.file_number) + "), reports " + s.output_base_name + " (run " +
         s.run_label + "), vekaproc " + s.version_label + ". " + range_text() + ", " +
         trimmed_label(s.speed_source_label) + " (smode " + std::to_string(s.smode) +
         "), expected speed " + export_number(s.exp_sp) + " m/s, tunnel area " +
         export_number(s.tunnel_area) + " m\u00b2, CTD scan rate " +
         export_number(s.ctd_scan_rate) + "/s, CTD fields " + s.ctd_string + ", flow scale " +
         export_number(s.flow_scale) + ", analysis option " + argument_text(60) + " (value " +
         argument_text(61) + "). Reporting ranges (ESD): " + ranges + ". " + water_text() +
         station_text(station);
}

// --- Spectrum -----------------------------------------------------------

// Channels i = first..last of the spectrum as (biomass, 10^value) points;
// `skip_empty` leaves out channels holding the empty-channel value.
std::vector<Point> channel_points(int first, int last, const std::function<double(int)>& value,
                                  bool skip_empty) {
  std::vector<Point> points;
  for (int i = std::max(first, kFirstShownChannel); i <= std::min(last, kChannels); ++i) {
    double v = value(i);
    if (skip_empty && v == kEmptyChannel) continue;
    points.push_back({power_of_ten(store.nbss_log_bounds[i]), power_of_ten(v)});
  }
  return points;
}

bool any_nonzero(int first, int last, const double* values) {
  for (int i = std::max(first, kFirstShownChannel); i <= std::min(last, kChannels); ++i) {
    if (values[i] != 0.0) return true;
  }
  return false;
}

svg::Scale scale_of(const std::vector<std::vector<Point>>& series, bool x) {
  std::vector<Value> values;
  for (const auto& points : series) {
    for (const Point& p : points) values.push_back(x ? p.x : p.y);
  }
  return svg::fit_scale(values, true);
}

// The spectrum's series as (biomass, 10^value) points.
struct SpectrumSeries {
  std::vector<Point> all;       // non-empty channels, all particles
  std::vector<Point> mep;       // non-empty channels, multi-element particles
  std::vector<Point> linear;    // straight-line fit over nbss_first..nbss_last
  std::vector<Point> parabola;  // parabola fit, empty when it was not made
  std::vector<Point> base;      // the base over the residual channels
};

SpectrumSeries spectrum_series() {
  const Store& s = store;
  SpectrumSeries series;
  series.all = channel_points(
      kFirstShownChannel, kChannels, [&s](int i) { return s.nbss_values[i]; }, true);
  series.mep = channel_points(
      kFirstShownChannel, kChannels, [&s](int i) { return s.mep_nbss_values[i]; }, true);
  series.linear = channel_points(
      s.nbss_first, s.nbss_last,
      [&s](int i) { return s.linear_slope * s.nbss_log_bounds[i] + s.linear_intercept; }, false);
  if (any_nonzero(s.nbss_base_first, s.quad_last, s.nbss_quad_fit)) {
    series.parabola = channel_points(
        s.nbss_base_first, s.quad_last, [&s](int i) { return s.nbss_quad_fit[i]; }, false);
  }
  series.base = channel_points(
      s.nbss_base_first, s.nbss_last, [&s](int i) { return s.nbss_quad_base[i]; }, false);
  return series;
}

std::string nbss_figure() {
  const Store& s = store;
  const Style all{"#1f4e9c", 1.5, false}, mep{"#e07b00", 1.5, false};
  const Style linear{"#333333", 1.5, false}, parabola{"#c0392b", 2.0, false};
  const Style base{"#7f8c8d", 1.5, true}, centroid{"#8e44ad", 1.5, true};
  SpectrumSeries series = spectrum_series();
  std::vector<std::vector<Point>> every = {series.all, series.mep, series.linear, series.parabola,
                                           series.base};

  svg::Plot plot("nbss", 900, 520, "Normalised biomass size spectrum (NBSS)", 6);
  plot.axes(scale_of(every, true), scale_of(every, false), false,
            "Particle biomass [\u00b5g] (channel abscissa)",
            "Normalised biomass [(\u00b5g/m\u00b3)/\u00b5g]");
  plot.line(series.base, base);
  plot.line(series.linear, linear);
  plot.line(series.parabola, parabola);
  plot.dots(series.all, all);
  plot.dots(series.mep, mep);
  if (series.parabola.empty())
    plot.note("No parabola fit for this spectrum (its fitted values are 0).");
  Value centroid_x = power_of_ten(s.centroid_log_biomass);
  if (s.resid_base_num > 0.0 && centroid_x) {
    plot.marker(*centroid_x,
                "residual centroid, ESD " + real_field(s.centroid_esd, 0, 0) + " \u00b5m",
                centroid);
  } else {
    plot.note("No residual above the base: no centroid.");
  }
  plot.legend({{"all particles", all, svg::Mark::dot},
               {"multi-element particles only", mep, svg::Mark::dot},
               {"straight-line fit", linear, svg::Mark::line},
               {"parabola fit", parabola, svg::Mark::line},
               {"base", base, svg::Mark::line},
               {"residual centroid", centroid, svg::Mark::line}});
  return figure(plot.text(),
                "Each point is one 0.1-decade biomass channel (empty channels left out), placed at "
                "the abscissa of the fits. Straight-line slope " +
                    real_field(s.linear_slope, 0, 2) + ", intercept " +
                    real_field(s.linear_intercept, 0, 2) + "; centroid ESD " +
                    real_field(s.centroid_esd, 0, 1) + " \u00b5m.");
}

// --- Profiles -----------------------------------------------------------

struct Curve {
  std::string label;
  StepQuantity quantity;
  std::string colour;
};

// Each curve twice: thin through its steps, thick through its means over the
// reports' 5-step bins.
constexpr int kMeanWidth = 5;
constexpr double kThin = 1.0;
constexpr double kThick = 2.5;

std::string step_panel(const std::string& id, const std::string& title,
                       const std::string& value_label, bool log, const std::vector<Curve>& curves,
                       const std::string& missing_note) {
  StepAxis axis = step_axis();
  std::vector<int> steps = profile_steps();
  std::vector<ProfileCell> cells = profile_cells(kMeanWidth);
  std::vector<Value> positions, values;
  for (int k : steps) positions.push_back(step_coordinate(k));
  for (const Curve& c : curves) {
    for (int k : steps) values.push_back(c.quantity.value(k));
  }
  int legend_entries = curves.size() > 1 ? static_cast<int>(curves.size()) : 0;
  svg::Plot plot(id, kPanelWidth, kPanelHeight, title, legend_entries);
  std::string axis_label = axis.label + " [" + axis.unit + "]";
  svg::Scale place = svg::fit_scale(positions, false);
  svg::Scale value = svg::fit_scale(values, log);
  if (axis.depth) {
    plot.axes(value, place, true, value_label, axis_label);
  } else {
    plot.axes(place, value, false, axis_label, value_label);
  }
  auto point = [&axis](Value at, Value v) { return axis.depth ? Point{v, at} : Point{at, v}; };
  std::vector<svg::LegendEntry> legend;
  for (const Curve& c : curves) {
    std::vector<Point> raw, means;
    for (int k : steps) raw.push_back(point(step_coordinate(k), c.quantity.value(k)));
    for (const ProfileCell& cell : cells) {
      means.push_back(point(cell.position, cell_value(c.quantity, cell, CellMethod::mean)));
    }
    plot.line(raw, {c.colour, kThin, false});
    plot.line(means, {c.colour, kThick, false});
    legend.push_back({c.label, {c.colour, kThick, false}, svg::Mark::line});
  }
  if (curves.empty()) plot.note(missing_note);
  if (legend_entries > 0) plot.legend(legend);
  return "<figure>\n" + plot.text() + "</figure>\n";
}

std::vector<Curve> range_curves(StepQuantity (*quantity)(int)) {
  std::vector<Curve> curves;
  for (int r = 1; r <= 5; ++r) curves.push_back({range_name(r), quantity(r), kRangeColours[r]});
  return curves;
}

std::vector<Curve> single_curve(const std::vector<StepQuantity>& quantities,
                                const std::string& key) {
  for (const StepQuantity& q : quantities) {
    if (q.key == key) return {{q.label, q, "#1f4e9c"}};
  }
  return {};
}

std::string profile_figures(const std::vector<StepQuantity>& q) {
  const std::string absent = "No such CTD reading in this run.";
  const bool depth = step_axis().depth;
  std::string kind = depth ? "Depth profiles" : "Time series";
  bool volume = per_volume();
  return "<h2>" + kind + "</h2>\n<div class=\"row\">\n" +
         step_panel("counts", volume ? "Count concentration" : "Counts per interval",
                    volume ? "Particles [1/m\u00b3], log scale" : "Particles, log scale", true,
                    range_curves(count_concentration), "") +
         step_panel("biomass", volume ? "Biomass concentration" : "Biomass per interval",
                    volume ? "Biomass [mg/m\u00b3], log scale" : "Biomass [mg], log scale", true,
                    range_curves(biomass_concentration), "") +
         step_panel("temperature", "Temperature", "Temperature [\u00b0C]", false,
                    single_curve(q, "temperature"), absent) +
         step_panel("salinity", "Salinity", "Practical salinity", false,
                    single_curve(q, "salinity"), absent) +
         step_panel("analog", "Analog channel A1", "A1 [V]", false, single_curve(q, "analog_1"),
                    absent) +
         step_panel("speed", "Flow speed through the tunnel", "Flow speed [m/s]", false,
                    single_curve(q, "flow_speed"), "") +
         "</div>\n<p class=\"caption\">Thin lines: each " + (depth ? "1 m step" : "interval") +
         "; thick lines: the means over " + (depth ? "5 m" : "5 intervals") +
         " (the reports' 5-step bins). Steps without filtered water or without CTD samples are "
         "left out (gaps); zero concentrations do not show on the logarithmic axes.</p>\n";
}

// --- Large particles ----------------------------------------------------

std::string histogram_figure() {
  const Store& s = store;
  std::vector<svg::Bar> bars;
  std::vector<Value> counts = {0.0};
  int last_class = 10;
  int total = 0;
  for (int m = kFirstMmClass; m <= kLastMmClass; ++m) {
    int n = s.mep_mm_counts[m];
    if (n <= 0) continue;
    bars.push_back({m - 1.0, static_cast<double>(m), static_cast<double>(n)});
    counts.push_back(n);
    last_class = std::max(last_class, m);
    total += n;
  }
  if (bars.empty()) counts.push_back(1.0);
  const Style style{"#2c7fb8", 1.0, false};
  svg::Plot plot("large", 900, 300, "Large multi-element particles by 1 mm ESD class");
  plot.axes(svg::fit_scale({kFirstMmClass - 1.0, static_cast<double>(last_class)}, false),
            svg::fit_scale(counts, false), false, "ESD [mm]", "Particles per class");
  plot.bars(bars, style);
  if (bars.empty()) plot.note("No multi-element particle of 6 mm ESD or more.");
  return figure(plot.text(), "Class m holds ESDs from m-1 to m mm. " + std::to_string(total) +
                                 " particles, biomass " + real_field(s.mep_large_biomass, 0, 1) +
                                 " mg.");
}

}  // namespace

std::string plots_page_name() {
  return store.output_base_name + "_Plots.html";
}

void write_plots_page(const Station& station, const std::vector<StepQuantity>& quantities,
                      const SpectrumTable& spectrum, const SpectrumFit& fit) {
  std::string title = "Plots of " + file_part(store.data_file_name);
  std::string body = "<h1>" + svg::escaped(title) + "</h1>\n<p class=\"caption\">" +
                     svg::escaped(caption_text(station)) + "</p>\n<h2>Size spectrum</h2>\n" +
                     nbss_figure() + spectrum_uncertainty_figure(spectrum, fit) +
                     profile_figures(quantities) + "<h2>Large particles</h2>\n" +
                     histogram_figure();
  write_text_file(plots_page_name(), html_page(title, body));
}

}  // namespace veka
