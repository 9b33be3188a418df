// The size spectrum with its uncertainty, for the page of plots: each NBSS
// channel as a bar across its width in body mass (an ESD axis above), with
// Poisson error bars from the particles counted in it, the
// maximum-likelihood power law with its 95 % band, and the straight-line
// and parabola fits drawn at the channels they fitted; the caption gives
// the exponent with its interval, n, R² and the ranges of the fits.
//
// Reads   the spectrum table and fits; nbss_size_bounds [um], nbss_values,
//         nbss_first, nbss_last, linear_slope, linear_intercept,
//         nbss_log_bounds, nbss_base_first, quad_last, nbss_quad_fit
// Writes  nothing.
#include "export/nbss_figure.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "common/format.h"
#include "export/step_table.h"
#include "export/svg.h"
#include "store/store.h"

namespace veka {

namespace {

using svg::Point;
using svg::power_of_ten;
using svg::Style;
using svg::Value;

constexpr int kCurvePoints = 60;
constexpr int kBandCurves = 11;  // exponents across the interval whose envelope is the band
const double kEsdTicks[] = {100, 200, 500, 1000, 2000, 5000, 10000, 20000};  // [um]

const Point kGap{std::nullopt, std::nullopt};

double channel_mass_lower(int i) {
  return sphere_mass_ug(store.nbss_size_bounds[i - 1]);
}

double channel_mass_upper(int i) {
  return sphere_mass_ug(store.nbss_size_bounds[i]);
}

// The geometric middle: the channel's place on the logarithmic axis.
double channel_mass_middle(int i) {
  return std::sqrt(channel_mass_lower(i) * channel_mass_upper(i));
}

// The particles counted in the channel's ESD range, each 15 um class taken
// as evenly filled (as the channels take the class densities).
double counted_in_channel(const SpectrumTable& table, int i) {
  const double low = store.nbss_size_bounds[i - 1], high = store.nbss_size_bounds[i];
  double n = 0.0;
  for (const SpectrumClass& c : table.classes) {
    double overlap = std::min(c.esd_upper, high) - std::max(c.esd_lower, low);
    if (overlap > 0) n += c.counted * overlap / (c.esd_upper - c.esd_lower);
  }
  return n;
}

// The normalised biomass [(ug/m3)/ug] of the power law with exponent b over
// the fit's range, holding the concentration of the classes fitted:
// x f(x) = N t / expm1(t log(xmax / xmin)) (x / xmin)^t with t = b + 1
// (N / log(xmax / xmin) at t = 0), at kCurvePoints masses across the range.
std::vector<Point> power_law_curve(const SpectrumTable& table, const SpectrumFit& fit, double b) {
  const PowerLawFit& mle = *fit.mle;
  double concentration = 0.0;
  for (int j = mle.first; j <= mle.last; ++j) {
    concentration += table.classes[j].concentration.value_or(0.0);
  }
  std::vector<Point> curve;
  if (!(concentration > 0)) return curve;
  const double xmin = fit.lowest.mass_lower, range = std::log(fit.highest.mass_upper / xmin);
  const double t = b + 1;
  const double scale = t == 0 ? 1 / range : t / std::expm1(t * range);
  for (int p = 0; p < kCurvePoints; ++p) {
    double offset = range * p / (kCurvePoints - 1);  // log(x / xmin)
    curve.push_back({xmin * std::exp(offset), concentration * scale * std::exp(t * offset)});
  }
  return curve;
}

// The lowest and highest curve over exponents spread across the interval
// (an end the interval lacks is taken at b).
std::pair<std::vector<Point>, std::vector<Point>> power_law_band(const SpectrumTable& table,
                                                                 const SpectrumFit& fit) {
  const double low = fit.mle->b_low.value_or(fit.mle->b);
  const double high = fit.mle->b_high.value_or(fit.mle->b);
  std::vector<Point> lower = power_law_curve(table, fit, low), upper = lower;
  for (int c = 1; c < kBandCurves; ++c) {
    std::vector<Point> curve =
        power_law_curve(table, fit, low + (high - low) * c / (kBandCurves - 1));
    for (size_t p = 0; p < curve.size(); ++p) {
      lower[p].y = std::min(*lower[p].y, *curve[p].y);
      upper[p].y = std::max(*upper[p].y, *curve[p].y);
    }
  }
  return {lower, upper};
}

// A fit's value per channel, at the channel's place.
std::vector<Point> channel_curve(int first, int last, double (*value)(int)) {
  std::vector<Point> points;
  for (int i = std::max(first, kFirstShownChannel); i <= std::min(last, kChannels); ++i) {
    points.push_back({channel_mass_middle(i), power_of_ten(value(i))});
  }
  return points;
}

double linear_value(int i) {
  return store.linear_slope * store.nbss_log_bounds[i] + store.linear_intercept;
}

double parabola_value(int i) {
  return store.nbss_quad_fit[i];
}

bool parabola_made() {
  const Store& s = store;
  for (int i = std::max(s.nbss_base_first, 1); i <= std::min(s.quad_last, kChannels); ++i) {
    if (s.nbss_quad_fit[i] != 0.0) return true;
  }
  return false;
}

struct ChannelMarks {
  std::vector<Point> widths;  // a horizontal bar per channel, gaps between
  std::vector<Point> errors;  // a vertical bar per channel with counts, gaps between
};

// The lower ends of the error bars stop at the bottom of the axis; without
// one they are left at the bars, for fitting the axis to what must show.
ChannelMarks channel_marks(const SpectrumTable& table, std::optional<double> bottom) {
  ChannelMarks marks;
  for (int i = kFirstShownChannel; i <= kChannels; ++i) {
    if (store.nbss_values[i] == kEmptyChannel) continue;
    Value y = power_of_ten(store.nbss_values[i]);
    if (!y) continue;
    marks.widths.insert(marks.widths.end(),
                        {{channel_mass_lower(i), y}, {channel_mass_upper(i), y}, kGap});
    double n = counted_in_channel(table, i);
    if (!(n > 0)) continue;
    double spread = *y / std::sqrt(n), middle = channel_mass_middle(i);
    double lowest = bottom ? std::max(*y - spread, *bottom) : *y;
    marks.errors.insert(marks.errors.end(), {{middle, lowest}, {middle, *y + spread}, kGap});
  }
  return marks;
}

std::vector<Value> values_of(const std::vector<std::vector<Point>>& series, bool x) {
  std::vector<Value> values;
  for (const auto& points : series) {
    for (const Point& p : points) values.push_back(x ? p.x : p.y);
  }
  return values;
}

std::string range_um(double low, double high) {
  return real_field(low, 0, 0) + "\u2013" + real_field(high, 0, 0) + " \u00b5m";
}

std::string mle_caption(const SpectrumFit& fit) {
  if (!fit.mle) {
    return "No maximum-likelihood exponent: fewer than two 15 \u00b5m classes with a count from "
           "the class with the most, or the most in class 1, which starts at 0 \u00b5m. ";
  }
  const PowerLawFit& mle = *fit.mle;
  auto end = [](const std::optional<double>& b) {
    return b ? real_field(*b, 0, 3) : std::string("beyond the search range");
  };
  return "Maximum-likelihood exponent of the counts per body mass b = " + real_field(mle.b, 0, 3) +
         " (95 % interval " + end(mle.b_low) + " to " + end(mle.b_high) +
         ") from n = " + real_field(mle.n, 0, 0) + " particles counted in classes " +
         std::to_string(fit.lowest.index) + "\u2013" + std::to_string(fit.highest.index) +
         " (ESD " + range_um(fit.lowest.esd_lower, fit.highest.esd_upper) + ", " +
         export_number(fit.lowest.mass_lower) + "\u2013" + export_number(fit.highest.mass_upper) +
         " \u00b5g); the NBSS slope it implies is b + 1 = " + real_field(mle.b + 1, 0, 3) + ". ";
}

std::string line_caption(const SpectrumFit& fit) {
  const Store& s = store;
  if (fit.line.points == 0) return "No straight-line fit (no channel from channel 4 on). ";
  auto optional = [](const std::optional<double>& v, int decimals) {
    return v ? real_field(*v, 0, decimals) : std::string("none");
  };
  return "Straight-line fit over channels " + std::to_string(s.nbss_first) + "\u2013" +
         std::to_string(s.nbss_last) + " (ESD " +
         range_um(fit.line_esd_low(), fit.line_esd_high()) + ", " +
         std::to_string(fit.line.points) + " channels): slope " + real_field(s.linear_slope, 0, 3) +
         " (standard error " + optional(fit.line.slope_se, 3) + "), R\u00b2 " +
         optional(fit.line.r_squared, 3) + ". ";
}

std::string parabola_caption() {
  const Store& s = store;
  if (!parabola_made()) return "No parabola fit for this spectrum.";
  return "Parabola fit over channels " + std::to_string(s.nbss_base_first) + "\u2013" +
         std::to_string(s.quad_last) + " (ESD " +
         range_um(s.nbss_size_bounds[s.nbss_base_first - 1], s.nbss_size_bounds[s.quad_last]) +
         ").";
}

std::vector<std::pair<double, std::string>> esd_ticks() {
  std::vector<std::pair<double, std::string>> ticks;
  for (double esd : kEsdTicks) ticks.push_back({sphere_mass_ug(esd), real_field(esd, 0, 0)});
  return ticks;
}

}  // namespace

std::string spectrum_uncertainty_figure(const SpectrumTable& table, const SpectrumFit& fit) {
  const Store& s = store;
  const Style bar{"#1f4e9c", 2.5, false}, error{"#1f4e9c", 1.0, false};
  const Style mle{"#c0392b", 2.0, false}, linear{"#333333", 1.5, true};
  const Style parabola{"#e07b00", 1.5, true};
  std::vector<Point> mle_line, band_low, band_high;
  if (fit.mle) {
    mle_line = power_law_curve(table, fit, fit.mle->b);
    if (!mle_line.empty()) std::tie(band_low, band_high) = power_law_band(table, fit);
  }
  std::vector<Point> line = channel_curve(s.nbss_first, s.nbss_last, linear_value);
  std::vector<Point> quadratic;
  if (parabola_made()) quadratic = channel_curve(s.nbss_base_first, s.quad_last, parabola_value);
  ChannelMarks unbounded = channel_marks(table, std::nullopt);
  std::vector<std::vector<Point>> every = {
      unbounded.widths, unbounded.errors, mle_line, band_low, band_high, line, quadratic};
  svg::Scale x = svg::fit_scale(values_of(every, true), true);
  svg::Scale y = svg::fit_scale(values_of(every, false), true);
  ChannelMarks marks = channel_marks(table, y.lo);

  svg::Plot plot("spectrum-fit", 900, 560, "Size spectrum with its uncertainty", 5, true);
  plot.axes(x, y, false, "Particle biomass [\u00b5g]",
            "Normalised biomass [(\u00b5g/m\u00b3)/\u00b5g]");
  plot.top_axis(esd_ticks(), "Equivalent spherical diameter [\u00b5m]");
  plot.band(band_low, band_high, mle);
  plot.line(mle_line, mle);
  plot.line(line, linear);
  plot.line(quadratic, parabola);
  plot.line(marks.errors, error);
  plot.line(marks.widths, bar);
  if (!fit.mle) plot.note("No maximum-likelihood exponent for this spectrum.");
  plot.legend({{"NBSS channel (bar: its width)", bar, svg::Mark::line},
               {"Poisson error (1 s.d.)", error, svg::Mark::line},
               {"MLE power law, 95 % band", mle, svg::Mark::bar},
               {"straight-line fit", linear, svg::Mark::line},
               {"parabola fit", parabola, svg::Mark::line}});
  return "<figure>\n" + plot.text() + "<figcaption>" +
         svg::escaped(mle_caption(fit) + line_caption(fit) + parabola_caption()) +
         "</figcaption>\n</figure>\n";
}

}  // namespace veka
