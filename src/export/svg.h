// Small SVG charts for the plot pages: value scales (linear or decades),
// round-number ticks, and a plot that draws axes, lines, points, bars,
// markers and a legend. Every chart of the pages is built from these pieces.
//
// Nothing here may trap: a value that cannot be shown (missing, not finite,
// or not positive on a logarithmic scale) is skipped, never divided or
// logged.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace veka::svg {

using Value = std::optional<double>;

// A range of data values. On a logarithmic scale both ends are positive and
// values are placed by their decadic logarithm.
struct Scale {
  double lo = 0.0;
  double hi = 1.0;
  bool log = false;
  bool whole = false;  // ticks at whole numbers only, as file numbers are

  // Where v lies between lo (0) and hi (1); empty when v cannot be shown.
  Value fraction(double v) const;
  // Tick values inside the range: 1, 2 or 5 times a power of ten apart
  // (at least 1 on a whole-number scale), or whole decades on a logarithmic
  // scale.
  std::vector<double> ticks() const;
  // The tick's text as SVG markup; decades beyond 0.001..10000 are written
  // as powers of ten.
  std::string tick_label(double v) const;
};

// The range of the values that can be shown, widened to round numbers (to
// whole decades on a logarithmic scale). With nothing to show it is 0..1
// (1..10 on a logarithmic scale).
Scale fit_scale(const std::vector<Value>& values, bool log);

struct Style {
  std::string colour = "#000000";
  double width = 1.5;
  bool dashed = false;
};

struct Point {
  Value x;
  Value y;
};

// A bar from x0 to x1 standing on the lower end of the y scale up to y.
struct Bar {
  double x0;
  double x1;
  double y;
};

enum class Mark { line, dot, bar };

// Colours for the values of a scale, from dark violet through blue and
// green to yellow.
struct ColourScale {
  Scale scale;
  // Empty when the value cannot be shown on the scale.
  std::optional<std::string> colour(double v) const;
};

// A rectangle of the plot filled with the colour of its value.
struct ColourCell {
  double x0;
  double x1;
  double y0;
  double y1;
  double value;
};

struct LegendEntry {
  std::string label;
  Style style;
  Mark mark;
};

// One chart of width x height pixels: a title, a plot area inside fixed
// margins and, below the axis label, room for `legend_entries` entries;
// with `top_axis`, room above the area for a second x axis.
// `id` must be unique in the page (it names the chart's clipping area).
class Plot {
 public:
  Plot(std::string id, int width, int height, const std::string& title, int legend_entries = 0,
       bool top_axis = false);

  // Places the scales on the plot area and draws the frame, ticks, grid and
  // axis labels (plain text). With `y_down` the y axis points downwards, as
  // depth does; otherwise upwards.
  void axes(const Scale& x, const Scale& y, bool y_down, const std::string& x_label,
            const std::string& y_label);

  // A second x axis above the area (the constructor must have made room):
  // ticks at the x values with their texts, and the axis label.
  void top_axis(const std::vector<std::pair<double, std::string>>& ticks, const std::string& label);

  // A line through the points; it breaks where a point cannot be shown.
  void line(const std::vector<Point>& points, const Style& style);
  // The area between two curves, filled lightly; points that cannot be
  // shown are left out.
  void band(const std::vector<Point>& lower, const std::vector<Point>& upper, const Style& style);
  void dots(const std::vector<Point>& points, const Style& style);
  void bars(const std::vector<Bar>& bars, const Style& style);
  // Cells whose value the colour scale cannot show are left out.
  void cells(const std::vector<ColourCell>& cells, const ColourScale& colours);
  // The colour scale as a bar with ticks below the axis label, in the room
  // of legend entries (the constructor must have made room for
  // colour_bar_entries(width) of them).
  void colour_bar(const ColourScale& colours, const std::string& label);
  static int colour_bar_entries(int width);
  // A vertical dashed line at x across the plot area, its text at the top.
  void marker(double x, const std::string& text, const Style& style);
  // A line of text in the upper left of the plot area (for instance why a
  // curve is missing).
  void note(const std::string& text);
  void legend(const std::vector<LegendEntry>& entries);

  // Pixel position of a data value once the axes are placed.
  Value pixel_x(double x) const;
  Value pixel_y(double y) const;

  std::string text() const;

 private:
  struct Pixel {
    double x;
    double y;
  };
  int legend_columns() const;
  std::optional<Pixel> pixel_of(const Point& p) const;
  std::string path_of(const std::vector<Point>& points) const;

  std::string id_;
  int width_;
  int height_;
  double left_, right_, top_, bottom_;  // plot area in pixels
  Scale x_, y_;
  bool y_down_ = false;
  int notes_ = 0;
  std::string body_;
};

// 10^e for the logarithmic axes; empty for exponents no double holds.
Value power_of_ten(double exponent);

// Text made safe for HTML and SVG content and attribute values.
std::string escaped(const std::string& text);

// A pixel coordinate with one decimal.
std::string coordinate(double pixel);

}  // namespace veka::svg
