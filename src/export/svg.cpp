#include "export/svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/format.h"

namespace veka::svg {

namespace {

constexpr double kMargin = 1e-9;  // tolerance of tick positions, in steps
constexpr int kMostDecades = 300;
constexpr int kMostLabels = 8;
constexpr int kMarginLeft = 72;
constexpr int kMarginRight = 22;
constexpr int kMarginTop = 34;
constexpr int kTopAxisBand = 36;  // tick labels and the label of a second x axis
constexpr int kAxisBand = 48;     // tick labels and the x axis label
constexpr int kLegendRow = 18;
constexpr int kLegendColumnWidth = 210;
const char* const kFont = "font-family=\"Helvetica,Arial,sans-serif\"";
constexpr int kColourBarSteps = 48;
// Neighbouring cells overlap a little, so that no seam of the background
// shows between them.
constexpr double kCellOverlap = 0.5;  // [pixels]
constexpr double kColourBarHeight = 10.0;
// Red, green and blue of the colour scale's stops, evenly spaced from its
// low end to its high end.
constexpr int kPalette[][3] = {{68, 1, 84},    {71, 44, 122},  {59, 81, 139},
                               {44, 113, 142}, {33, 144, 141}, {39, 173, 129},
                               {92, 200, 99},  {170, 220, 50}, {253, 231, 37}};
constexpr int kPaletteStops = sizeof kPalette / sizeof kPalette[0];

bool showable(double v, bool log) {
  return std::isfinite(v) && (!log || v > 0.0);
}

// 1, 2 or 5 times a power of ten, close to a fifth of the span (> 0).
double tick_step(double span) {
  double raw = span / 5;
  double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double residual = raw / magnitude;
  if (residual < 1.5) return magnitude;
  if (residual < 3.5) return 2 * magnitude;
  if (residual < 7.5) return 5 * magnitude;
  return 10 * magnitude;
}

int step_decimals(double step) {
  return std::max(0, -static_cast<int>(std::floor(std::log10(step) + kMargin)));
}

int clamp_decade(double exponent) {
  return static_cast<int>(std::clamp(exponent, -1.0 * kMostDecades, 1.0 * kMostDecades));
}

Scale fit_log(double low, double high) {
  int first = clamp_decade(std::floor(std::log10(low) + kMargin));
  int last = clamp_decade(std::ceil(std::log10(high) - kMargin));
  if (last <= first) last = first + 1;
  return {std::pow(10.0, first), std::pow(10.0, last), true};
}

Scale fit_linear(double low, double high) {
  if (high == low) {
    double pad = low == 0.0 ? 1.0 : std::fabs(low) / 10;
    low -= pad;
    high += pad;
  }
  double step = tick_step(high - low);
  return {std::floor(low / step + kMargin) * step, std::ceil(high / step - kMargin) * step, false};
}

std::string attribute(const char* name, const std::string& value) {
  return std::string(" ") + name + "=\"" + value + "\"";
}

std::string stroke(const Style& style) {
  std::string text =
      attribute("stroke", style.colour) + attribute("stroke-width", real_field(style.width, 0, 1));
  if (style.dashed) text += attribute("stroke-dasharray", "6 4");
  return text;
}

std::string text_element(double x, double y, const std::string& anchor, const std::string& content,
                         const std::string& extra = "") {
  return "<text" + attribute("x", coordinate(x)) + attribute("y", coordinate(y)) +
         attribute("text-anchor", anchor) + extra + ">" + content + "</text>\n";
}

std::string line_element(double x1, double y1, double x2, double y2, const std::string& look) {
  return "<line" + attribute("x1", coordinate(x1)) + attribute("y1", coordinate(y1)) +
         attribute("x2", coordinate(x2)) + attribute("y2", coordinate(y2)) + look + "/>\n";
}

std::string circle_element(double x, double y, const Style& style) {
  return "<circle" + attribute("cx", coordinate(x)) + attribute("cy", coordinate(y)) +
         attribute("r", "3") + attribute("fill", style.colour) + "/>\n";
}

std::string rect_element(double x, double y, double w, double h, const Style& style) {
  return "<rect" + attribute("x", coordinate(x)) + attribute("y", coordinate(y)) +
         attribute("width", coordinate(w)) + attribute("height", coordinate(h)) +
         attribute("fill", style.colour) + attribute("fill-opacity", "0.75") + "/>\n";
}

std::string palette_colour(double fraction) {
  double at = std::clamp(fraction, 0.0, 1.0) * (kPaletteStops - 1);
  int stop = std::min(static_cast<int>(at), kPaletteStops - 2);
  double mix = at - stop;
  char text[8];
  int rgb[3];
  for (int i = 0; i < 3; ++i) {
    rgb[i] = static_cast<int>(
        std::lround(kPalette[stop][i] + mix * (kPalette[stop + 1][i] - kPalette[stop][i])));
  }
  std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb[0], rgb[1], rgb[2]);
  return text;
}

}  // namespace

std::optional<std::string> ColourScale::colour(double v) const {
  Value f = scale.fraction(v);
  if (!f) return std::nullopt;
  return palette_colour(*f);
}

Value Scale::fraction(double v) const {
  if (!showable(v, log) || !showable(lo, log) || !(hi > lo)) return std::nullopt;
  if (log) return (std::log10(v) - std::log10(lo)) / (std::log10(hi) - std::log10(lo));
  return (v - lo) / (hi - lo);
}

std::vector<double> Scale::ticks() const {
  std::vector<double> values;
  if (!showable(lo, log) || !showable(hi, log) || !(hi > lo)) return values;
  if (log) {
    int first = clamp_decade(std::ceil(std::log10(lo) - kMargin));
    int last = clamp_decade(std::floor(std::log10(hi) + kMargin));
    int stride = std::max(1, (last - first + kMostLabels) / kMostLabels);
    for (int k = first; k <= last; k += stride) values.push_back(std::pow(10.0, k));
    return values;
  }
  double step = whole ? std::max(1.0, tick_step(hi - lo)) : tick_step(hi - lo);
  long first = std::lround(std::ceil(lo / step - kMargin));
  long last = std::lround(std::floor(hi / step + kMargin));
  for (long i = first; i <= last; ++i) values.push_back(static_cast<double>(i) * step);
  return values;
}

std::string Scale::tick_label(double v) const {
  if (log) {
    int k = static_cast<int>(std::lround(std::log10(v)));
    if (k >= -3 && k <= 4) return real_field(v, 0, std::max(0, -k));
    return "10<tspan dy=\"-6\" font-size=\"9\">" + std::to_string(k) + "</tspan>";
  }
  return real_field(v, 0, whole ? 0 : step_decimals(tick_step(hi - lo)));
}

Scale fit_scale(const std::vector<Value>& values, bool log) {
  bool any = false;
  double low = 0.0, high = 0.0;
  for (const Value& v : values) {
    if (!v || !showable(*v, log)) continue;
    low = any ? std::min(low, *v) : *v;
    high = any ? std::max(high, *v) : *v;
    any = true;
  }
  if (!any) return log ? Scale{1.0, 10.0, true} : Scale{0.0, 1.0, false};
  return log ? fit_log(low, high) : fit_linear(low, high);
}

Plot::Plot(std::string id, int width, int height, const std::string& title, int legend_entries,
           bool top_axis)
    : id_(std::move(id)), width_(width), height_(height) {
  left_ = kMarginLeft;
  right_ = width_ - kMarginRight;
  top_ = kMarginTop + (top_axis ? kTopAxisBand : 0);
  int rows = (legend_entries + legend_columns() - 1) / legend_columns();
  bottom_ = height_ - kAxisBand - rows * kLegendRow - (rows > 0 ? 6 : 0);
  body_ += text_element(width_ / 2.0, 20, "middle", escaped(title),
                        attribute("font-size", "14") + attribute("font-weight", "bold"));
}

int Plot::legend_columns() const {
  return std::max(1, (width_ - kMarginLeft - kMarginRight) / kLegendColumnWidth);
}

// The bar and its tick labels take two legend rows.
int Plot::colour_bar_entries(int width) {
  return 2 * std::max(1, (width - kMarginLeft - kMarginRight) / kLegendColumnWidth);
}

Value Plot::pixel_x(double x) const {
  Value f = x_.fraction(x);
  if (!f) return std::nullopt;
  return left_ + *f * (right_ - left_);
}

Value Plot::pixel_y(double y) const {
  Value f = y_.fraction(y);
  if (!f) return std::nullopt;
  return y_down_ ? top_ + *f * (bottom_ - top_) : bottom_ - *f * (bottom_ - top_);
}

void Plot::axes(const Scale& x, const Scale& y, bool y_down, const std::string& x_label,
                const std::string& y_label) {
  x_ = x;
  y_ = y;
  y_down_ = y_down;
  const std::string grid = attribute("stroke", "#dddddd") + attribute("stroke-width", "1");
  const std::string tick = attribute("stroke", "#000000") + attribute("stroke-width", "1");
  for (double v : x_.ticks()) {
    double px = *pixel_x(v);
    body_ += line_element(px, top_, px, bottom_, grid);
    body_ += line_element(px, bottom_, px, bottom_ + 5, tick);
    body_ += text_element(px, bottom_ + 18, "middle", x_.tick_label(v));
  }
  for (double v : y_.ticks()) {
    double py = *pixel_y(v);
    body_ += line_element(left_, py, right_, py, grid);
    body_ += line_element(left_ - 5, py, left_, py, tick);
    body_ += text_element(left_ - 8, py + 4, "end", y_.tick_label(v));
  }
  body_ += "<rect" + attribute("x", coordinate(left_)) + attribute("y", coordinate(top_)) +
           attribute("width", coordinate(right_ - left_)) +
           attribute("height", coordinate(bottom_ - top_)) + attribute("fill", "none") + tick +
           "/>\n";
  body_ += text_element((left_ + right_) / 2, bottom_ + 38, "middle", escaped(x_label));
  double middle = (top_ + bottom_) / 2;
  body_ += text_element(18, middle, "middle", escaped(y_label),
                        attribute("transform", "rotate(-90 18 " + coordinate(middle) + ")"));
}

void Plot::top_axis(const std::vector<std::pair<double, std::string>>& ticks,
                    const std::string& label) {
  const std::string tick = attribute("stroke", "#000000") + attribute("stroke-width", "1");
  for (const auto& [x, text] : ticks) {
    Value px = pixel_x(x);
    if (!px || *px < left_ || *px > right_) continue;
    body_ += line_element(*px, top_ - 5, *px, top_, tick);
    body_ += text_element(*px, top_ - 8, "middle", escaped(text));
  }
  body_ += text_element((left_ + right_) / 2, top_ - 26, "middle", escaped(label));
}

std::optional<Plot::Pixel> Plot::pixel_of(const Point& p) const {
  if (!p.x || !p.y) return std::nullopt;
  Value px = pixel_x(*p.x);
  Value py = pixel_y(*p.y);
  if (!px || !py) return std::nullopt;
  return Pixel{*px, *py};
}

std::string Plot::path_of(const std::vector<Point>& points) const {
  std::string d;
  bool open = false;
  for (const Point& p : points) {
    auto at = pixel_of(p);
    if (!at) {
      open = false;
      continue;
    }
    d += (open ? " L" : (d.empty() ? "M" : " M")) + coordinate(at->x) + " " + coordinate(at->y);
    open = true;
  }
  return d;
}

void Plot::line(const std::vector<Point>& points, const Style& style) {
  std::string d = path_of(points);
  if (d.empty()) return;
  body_ += "<path" + attribute("d", d) + attribute("fill", "none") + stroke(style) +
           attribute("clip-path", "url(#" + id_ + "-area)") + "/>\n";
}

void Plot::band(const std::vector<Point>& lower, const std::vector<Point>& upper,
                const Style& style) {
  std::string d;
  auto add = [this, &d](const Point& p) {
    if (auto at = pixel_of(p)) {
      d += (d.empty() ? "M" : " L") + coordinate(at->x) + " " + coordinate(at->y);
    }
  };
  for (const Point& p : lower) add(p);
  for (auto p = upper.rbegin(); p != upper.rend(); ++p) add(*p);
  if (d.empty()) return;
  body_ += "<path" + attribute("d", d + " Z") + attribute("fill", style.colour) +
           attribute("fill-opacity", "0.25") + attribute("stroke", "none") +
           attribute("clip-path", "url(#" + id_ + "-area)") + "/>\n";
}

void Plot::dots(const std::vector<Point>& points, const Style& style) {
  for (const Point& p : points) {
    auto at = pixel_of(p);
    if (at && at->x >= left_ && at->x <= right_ && at->y >= top_ && at->y <= bottom_) {
      body_ += circle_element(at->x, at->y, style);
    }
  }
}

void Plot::bars(const std::vector<Bar>& bars, const Style& style) {
  for (const Bar& bar : bars) {
    Value x0 = pixel_x(bar.x0), x1 = pixel_x(bar.x1);
    Value top = pixel_y(std::min(bar.y, y_.hi));
    Value base = pixel_y(y_.lo);
    if (!x0 || !x1 || !top || !base || !(bar.y > y_.lo)) continue;
    body_ += rect_element(std::min(*x0, *x1), std::min(*top, *base), std::fabs(*x1 - *x0),
                          std::fabs(*base - *top), style);
  }
}

void Plot::cells(const std::vector<ColourCell>& cells, const ColourScale& colours) {
  for (const ColourCell& cell : cells) {
    auto colour = colours.colour(cell.value);
    Value x0 = pixel_x(cell.x0), x1 = pixel_x(cell.x1);
    Value y0 = pixel_y(cell.y0), y1 = pixel_y(cell.y1);
    if (!colour || !x0 || !x1 || !y0 || !y1) continue;
    body_ += "<rect" + attribute("x", coordinate(std::min(*x0, *x1))) +
             attribute("y", coordinate(std::min(*y0, *y1))) +
             attribute("width", coordinate(std::fabs(*x1 - *x0))) +
             attribute("height", coordinate(std::fabs(*y1 - *y0) + kCellOverlap)) +
             attribute("fill", *colour) + attribute("clip-path", "url(#" + id_ + "-area)") + "/>\n";
  }
}

void Plot::colour_bar(const ColourScale& colours, const std::string& label) {
  const double x = left_;
  const double width = (right_ - left_) * 0.6;
  const double y = bottom_ + kAxisBand + 2;
  const double step = width / kColourBarSteps;
  for (int i = 0; i < kColourBarSteps; ++i) {
    body_ += "<rect" + attribute("x", coordinate(x + i * step)) + attribute("y", coordinate(y)) +
             attribute("width", coordinate(step + 0.5)) +
             attribute("height", coordinate(kColourBarHeight)) +
             attribute("fill", palette_colour((i + 0.5) / kColourBarSteps)) + "/>\n";
  }
  const std::string tick = attribute("stroke", "#000000") + attribute("stroke-width", "1");
  for (double v : colours.scale.ticks()) {
    Value f = colours.scale.fraction(v);
    if (!f) continue;
    double px = x + *f * width;
    body_ += line_element(px, y + kColourBarHeight, px, y + kColourBarHeight + 4, tick);
    body_ += text_element(px, y + kColourBarHeight + 16, "middle", colours.scale.tick_label(v));
  }
  body_ += text_element(x + width + 12, y + kColourBarHeight, "start", escaped(label));
}

void Plot::marker(double x, const std::string& text, const Style& style) {
  Value px = pixel_x(x);
  if (!px || *px < left_ || *px > right_) return;
  Style dashed = style;
  dashed.dashed = true;
  body_ += line_element(*px, top_, *px, bottom_, stroke(dashed));
  std::string anchor = *px > (left_ + right_) / 2 ? "end" : "start";
  double shift = anchor == "end" ? -4 : 4;
  body_ +=
      text_element(*px + shift, top_ + 14, anchor, escaped(text), attribute("fill", style.colour));
}

void Plot::note(const std::string& text) {
  ++notes_;
  body_ += text_element(left_ + 8, top_ + 16 * notes_, "start", escaped(text),
                        attribute("fill", "#555555") + attribute("font-style", "italic"));
}

void Plot::legend(const std::vector<LegendEntry>& entries) {
  int columns = legend_columns();
  for (size_t i = 0; i < entries.size(); ++i) {
    double x = left_ + static_cast<double>(i % columns) * kLegendColumnWidth;
    double y = bottom_ + kAxisBand + 4 + static_cast<double>(i / columns) * kLegendRow;
    const LegendEntry& entry = entries[i];
    if (entry.mark == Mark::line) {
      body_ += line_element(x, y, x + 24, y, stroke(entry.style));
    } else if (entry.mark == Mark::dot) {
      body_ += circle_element(x + 12, y, entry.style);
    } else {
      body_ += rect_element(x + 6, y - 6, 12, 12, entry.style);
    }
    body_ += text_element(x + 30, y + 4, "start", escaped(entry.label));
  }
}

std::string Plot::text() const {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\"" + attribute("width", std::to_string(width_)) +
         attribute("height", std::to_string(height_)) +
         attribute("viewBox", "0 0 " + std::to_string(width_) + " " + std::to_string(height_)) +
         " " + kFont + attribute("font-size", "12") + ">\n" + "<clipPath" +
         attribute("id", id_ + "-area") + "><rect" + attribute("x", coordinate(left_)) +
         attribute("y", coordinate(top_)) + attribute("width", coordinate(right_ - left_)) +
         attribute("height", coordinate(bottom_ - top_)) + "/></clipPath>\n" + body_ + "</svg>\n";
}

Value power_of_ten(double exponent) {
  if (!(std::fabs(exponent) < 300.0)) return std::nullopt;
  return std::pow(10.0, exponent);
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string coordinate(double pixel) {
  return real_field(pixel, 0, 1);
}

}  // namespace veka::svg
