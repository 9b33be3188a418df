#include "export/svg.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace veka::svg {

namespace {

size_t count_of(const std::string& text, const std::string& piece) {
  size_t n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

TEST(ExportSvgScale, LogScalePlacesDecadesEvenlyAndRefusesNonPositiveValues) {
  Scale scale{1.0, 1000.0, true};
  EXPECT_DOUBLE_EQ(*scale.fraction(1.0), 0.0);
  EXPECT_NEAR(*scale.fraction(10.0), 1.0 / 3, 1e-12);
  EXPECT_NEAR(*scale.fraction(100.0), 2.0 / 3, 1e-12);
  EXPECT_FALSE(scale.fraction(0.0));
  EXPECT_FALSE(scale.fraction(-5.0));
  EXPECT_EQ(scale.ticks(), (std::vector<double>{1, 10, 100, 1000}));
}

TEST(ExportSvgScale, FitWidensToRoundNumbersAndWholeDecades) {
  Scale linear = fit_scale({0.13, 0.87, std::nullopt}, false);
  EXPECT_DOUBLE_EQ(linear.lo, 0.1);
  EXPECT_DOUBLE_EQ(linear.hi, 0.9);
  Scale log = fit_scale({3.0, 450.0, 0.0, -2.0}, true);  // zero and negative cannot show
  EXPECT_DOUBLE_EQ(log.lo, 1.0);
  EXPECT_DOUBLE_EQ(log.hi, 1000.0);
  EXPECT_TRUE(log.log);
}

TEST(ExportSvgScale, DegenerateAndEmptyDataStillGiveAnOpenRange) {
  Scale empty = fit_scale({}, false);
  EXPECT_EQ(empty.lo, 0.0);
  EXPECT_EQ(empty.hi, 1.0);
  Scale empty_log = fit_scale({std::nullopt, 0.0}, true);
  EXPECT_EQ(empty_log.lo, 1.0);
  EXPECT_EQ(empty_log.hi, 10.0);
  Scale single = fit_scale({5.0, 5.0}, false);
  EXPECT_LT(single.lo, 5.0);
  EXPECT_GT(single.hi, 5.0);
  Scale zero = fit_scale({0.0}, false);
  EXPECT_LT(zero.lo, 0.0);
  EXPECT_GT(zero.hi, 0.0);
  Scale decade = fit_scale({100.0}, true);  // one power of ten: one decade above it
  EXPECT_DOUBLE_EQ(decade.lo, 100.0);
  EXPECT_DOUBLE_EQ(decade.hi, 1000.0);
  EXPECT_FALSE((Scale{2.0, 2.0, false}.fraction(2.0)));
  EXPECT_TRUE((Scale{2.0, 2.0, false}.ticks().empty()));
}

TEST(ExportSvgScale, TicksAreRoundAndLabelledWithTheStepsDecimals) {
  Scale fraction{0.0, 1.0, false};
  std::vector<double> ticks = fraction.ticks();
  ASSERT_EQ(ticks.size(), 6u);
  EXPECT_DOUBLE_EQ(ticks[3], 0.6000000000000001);  // 3 x 0.2, not accumulated
  EXPECT_EQ(fraction.tick_label(ticks[3]), "0.6");
  Scale depth{-50.0, 150.0, false};
  EXPECT_EQ(depth.ticks(), (std::vector<double>{-50, 0, 50, 100, 150}));
  EXPECT_EQ(depth.tick_label(0.0), "0");
  Scale wide{1e-6, 1e4, true};
  EXPECT_EQ(wide.tick_label(1e-3), "0.001");
  EXPECT_EQ(wide.tick_label(1e4), "10000");
  EXPECT_EQ(wide.tick_label(1e-6), "10<tspan dy=\"-6\" font-size=\"9\">-6</tspan>");
  Scale huge{1e-40, 1e40, true};  // eighty decades: every tenth labelled
  EXPECT_LE(huge.ticks().size(), 9u);
}

TEST(ExportSvgPlot, DepthPointsDownAndValuesUp) {
  Plot down("d", 400, 500, "profile");
  down.axes(Scale{0, 10, false}, Scale{0, 150, false}, true, "value", "Depth [m]");
  EXPECT_LT(*down.pixel_y(10), *down.pixel_y(100));
  EXPECT_LT(*down.pixel_x(1), *down.pixel_x(9));
  Plot up("u", 400, 500, "series");
  up.axes(Scale{0, 10, false}, Scale{0, 150, false}, false, "time", "value");
  EXPECT_GT(*up.pixel_y(10), *up.pixel_y(100));
  EXPECT_DOUBLE_EQ(*down.pixel_y(0), *up.pixel_y(150));  // both at the top of the area
}

TEST(ExportSvgPlot, LineBreaksWhereAPointCannotBeShown) {
  Plot plot("p", 400, 300, "gaps");
  plot.axes(Scale{1, 100, true}, Scale{0, 10, false}, false, "x", "y");
  plot.line({{1.0, 1.0},
             {2.0, 2.0},
             {std::nullopt, 3.0},
             {5.0, 4.0},
             {0.0, 5.0},
             {50.0, 6.0},
             {60.0, 7.0}},
            Style{});
  std::string svg = plot.text();
  size_t path = svg.find("<path d=\"");
  ASSERT_NE(path, std::string::npos);
  std::string d = svg.substr(path, svg.find('"', path + 9) - path);
  // Pieces: 1-2, 5 alone, 50-60.
  EXPECT_EQ(std::count(d.begin(), d.end(), 'M'), 3);
  EXPECT_EQ(std::count(d.begin(), d.end(), 'L'), 2);
}

TEST(ExportSvgPlot, EmptyDataDrawsAxesOnlyAndNoBrokenNumbers) {
  Plot plot("e", 400, 300, "nothing <here>", 2);
  plot.axes(fit_scale({}, true), fit_scale({}, false), true, "x & y", "depth");
  plot.line({}, Style{});
  plot.line({{std::nullopt, std::nullopt}}, Style{});
  plot.dots({{0.0, 1.0}}, Style{});  // zero on a log axis
  plot.bars({{0.0, 1.0, 0.0}}, Style{});
  plot.legend({{"a", Style{}, Mark::line}, {"b", Style{}, Mark::dot}});
  std::string svg = plot.text();
  EXPECT_EQ(svg.find("<path"), std::string::npos);
  EXPECT_EQ(svg.find("<circle cx"), svg.rfind("<circle cx"));  // the legend's only
  EXPECT_EQ(svg.find("nan"), std::string::npos);
  EXPECT_EQ(svg.find("inf"), std::string::npos);
  EXPECT_NE(svg.find("nothing &lt;here&gt;"), std::string::npos);
  EXPECT_NE(svg.find("x &amp; y"), std::string::npos);
}

TEST(ExportSvgPlot, BarsStandOnTheAxisAndMarkersStayInside) {
  Plot plot("b", 400, 300, "bars");
  plot.axes(Scale{0, 10, false}, Scale{0, 4, false}, false, "x", "y");
  plot.bars({{1, 2, 4}, {3, 4, 2}}, Style{});
  plot.marker(20, "outside", Style{});
  plot.marker(5, "inside", Style{});
  std::string svg = plot.text();
  EXPECT_EQ(count_of(svg, "<rect x="), 2u + 2u);  // two bars, the frame and the clip area
  EXPECT_EQ(svg.find("outside"), std::string::npos);
  EXPECT_NE(svg.find("inside"), std::string::npos);
  // The taller bar reaches the top of the plot area, both end on its bottom.
  double top = *plot.pixel_y(4), bottom = *plot.pixel_y(0);
  EXPECT_NE(svg.find("y=\"" + coordinate(top) + "\""), std::string::npos);
  EXPECT_NE(svg.find("height=\"" + coordinate(bottom - top) + "\""), std::string::npos);
}

}  // namespace

}  // namespace veka::svg
