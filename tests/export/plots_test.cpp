#include <cmath>
#include <cstdio>
#include <map>

#include "export/batch_page.h"
#include "export/exports.h"
#include "export/plots_page.h"
#include "export_fixture.h"

namespace veka {

namespace {

class ExportPlotsTest : public ExportFixture {
 protected:
  std::string written() {
    SpectrumTable spectrum = spectrum_table();
    TimeModeCtd ctd = time_ctd();
    write_plots_page(station(), step_quantities(ctd), spectrum, fit_spectrum(spectrum));
    return support::read_file(scratch("out/W7_r1_Plots.html"));
  }
  // The SVG of the chart whose title is `title`.
  static std::string chart(const std::string& page, const std::string& title) {
    size_t at = page.find(">" + title + "</text>");
    size_t start = page.rfind("<svg", at);
    return page.substr(start, page.find("</svg>", at) - start);
  }
  // The y pixel of the first and of the last point of the chart's first line.
  static std::pair<double, double> first_and_last_y(const std::string& svg) {
    size_t d = svg.find("<path d=\"") + 9;
    std::string path = svg.substr(d, svg.find('"', d) - d);
    return {y_of_point(path), y_of_point(path.substr(path.rfind('L')))};
  }
  // The y of a path point "Mx y" or "Lx y".
  static double y_of_point(const std::string& point) {
    double x = 0.0;
    double y = 0.0;
    EXPECT_EQ(std::sscanf(point.c_str() + 1, "%lf %lf", &x, &y), 2) << point;
    return y;
  }
  // True when "nan" or "inf" stands where a number of a path or attribute would.
  static bool has_non_finite_number(const std::string& page) {
    for (const char* word : {"nan", "inf"}) {
      for (size_t at = page.find(word, 1); at != std::string::npos; at = page.find(word, at + 1)) {
        if (std::string(" \"ML-").find(page[at - 1]) != std::string::npos) return true;
      }
    }
    return false;
  }
};

TEST_F(ExportPlotsTest, PageIsSelfContainedWithEveryChart) {
  write_recording_header();
  std::string page = written();
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_EQ(page.find("<img"), std::string::npos);
  EXPECT_EQ(count_of(page, "http"), count_of(page, "xmlns=\"http://www.w3.org/2000/svg\""));
  // The spectrum twice (channels and fits, uncertainty), six profiles, large
  // particles.
  EXPECT_EQ(count_of(page, "<svg "), 9u);
  EXPECT_FALSE(has_non_finite_number(page));
  EXPECT_EQ(page.substr(page.size() - 9), "</html>\r\n");
}

TEST_F(ExportPlotsTest, CaptionNamesTheFileTheSettingsAndTheStation) {
  write_recording_header();
  std::string page = written();
  size_t caption = page.find("<p class=\"caption\">");
  std::string text = page.substr(caption, page.find("</p>", caption) - caption);
  for (const char* piece :
       {"Data file ", "W7.dat (data set W, file 7)", "W7_r1 (run r1)",
        "Depth profile over steps 5 to 104 m", "Descending cast", "VEKA Speed (smode 2)",
        "100-250 um, 250-500 um",
        "cruise VK23-04, station 049, 2023-08-23T17:51:29 UTC, 43.2577\u00b0 N, 66.4182\u00b0 W"}) {
    EXPECT_NE(text.find(piece), std::string::npos) << piece;
  }
}

TEST_F(ExportPlotsTest, SpectrumShowsNonEmptyChannelsFitsAndCentroid) {
  std::string svg = chart(written(), "Normalised biomass size spectrum (NBSS)");
  // 39 channels of all particles and 16 of multi-element particles, and the
  // two dots of the legend.
  EXPECT_EQ(count_of(svg, "<circle"), 39u + 16u + 2u);
  EXPECT_EQ(count_of(svg, "<path"), 3u);  // base, straight line, parabola
  EXPECT_NE(svg.find("residual centroid, ESD 1500 \u00b5m"), std::string::npos);
  EXPECT_EQ(svg.find("No parabola fit"), std::string::npos);
}

TEST_F(ExportPlotsTest, SpectrumWithoutParabolaOrResidualSaysSo) {
  for (int i = 1; i <= kChannels; ++i) store.nbss_quad_fit[i] = 0.0;
  store.resid_base_num = 0.0, store.centroid_log_biomass = 0.0;
  std::string svg = chart(written(), "Normalised biomass size spectrum (NBSS)");
  EXPECT_EQ(count_of(svg, "<path"), 2u);
  EXPECT_NE(svg.find("No parabola fit for this spectrum"), std::string::npos);
  EXPECT_NE(svg.find("No residual above the base: no centroid."), std::string::npos);
}

// The d attribute of the chart's path drawn with `look` (for instance its
// stroke width); empty when there is none.
std::string path_drawn_with(const std::string& svg, const std::string& look) {
  for (size_t at = svg.find("<path d=\""); at != std::string::npos;
       at = svg.find("<path d=\"", at + 1)) {
    std::string element = svg.substr(at, svg.find("/>", at) - at);
    if (element.find(look) != std::string::npos) return element.substr(9, element.find('"', 9) - 9);
  }
  return "";
}

TEST_F(ExportPlotsTest, SpectrumWithUncertaintyShowsChannelWidthsErrorsAndThePowerLaw) {
  const std::string title = "Size spectrum with its uncertainty";
  const std::string widths = "stroke-width=\"2.5\"", errors = "stroke-width=\"1.0\"";
  std::string empty = chart(written(), title);
  EXPECT_EQ(count_of(path_drawn_with(empty, widths), "M"), 39u);  // channels 2..40
  EXPECT_EQ(path_drawn_with(empty, errors), "");
  EXPECT_EQ(empty.find("fill-opacity=\"0.25\""), std::string::npos);
  EXPECT_NE(empty.find("No maximum-likelihood exponent"), std::string::npos);

  // Counts falling as ESD^-4 over classes 7..60 (90 to 900 um): the channels
  // 2..31 that reach into them get error bars.
  store.tot_volume = 0.4;
  for (int k = kFirstStep; k <= kLastStep; ++k) {
    for (int j = 7; j <= 60; ++j) {
      double n = std::round(4000 * std::pow(j / 7.0, -4.0));
      store.sep_counts_as_read[k][j] = n;
      store.bin_counts[k][j] = n;
    }
  }
  std::string page = written();
  std::string svg = chart(page, title);
  EXPECT_EQ(count_of(path_drawn_with(svg, widths), "M"), 39u);
  EXPECT_EQ(count_of(path_drawn_with(svg, errors), "M"), 30u);
  EXPECT_NE(svg.find("fill-opacity=\"0.25\""), std::string::npos);
  EXPECT_EQ(svg.find("No maximum-likelihood exponent"), std::string::npos);
  EXPECT_NE(page.find("(ESD 90\u2013900 \u00b5m"), std::string::npos);
  EXPECT_NE(page.find("Straight-line fit over channels 4\u201340"), std::string::npos);
  EXPECT_FALSE(has_non_finite_number(page));
}

TEST_F(ExportPlotsTest, DepthProfilesPointDownAndTimeSeriesRunRight) {
  std::string page = written();
  EXPECT_EQ(count_of(page, ">Depth [m]</text>"), 6u);
  auto [top, bottom] = first_and_last_y(chart(page, "Temperature"));
  EXPECT_LT(top, bottom);  // step 5 above step 104

  use_time_intervals();
  page = written();
  EXPECT_EQ(count_of(page, ">Depth [m]</text>"), 0u);
  EXPECT_EQ(count_of(page, ">Elapsed time [s]</text>"), 6u);
  EXPECT_NE(page.find("<h2>Time series</h2>"), std::string::npos);
  EXPECT_NE(page.find(">Counts per interval</text>"), std::string::npos);  // no volume
  EXPECT_EQ(page.find("Water filtered"), std::string::npos);
  auto [early, late] = first_and_last_y(chart(page, "Flow speed through the tunnel"));
  EXPECT_GT(early, late);  // values up: the speed grows over the run
  // Without a recording there is no CTD line to average.
  EXPECT_NE(chart(page, "Temperature").find("No such CTD reading in this run."), std::string::npos);
  write_recording("L5 0 0 100 0 0 0 0\r\nC 10 40 12 31 0.5\r\n");
  EXPECT_EQ(chart(written(), "Temperature").find("No such CTD reading"), std::string::npos);
}

// Every curve thin through its steps and thick through its 5-step means:
// steps 5..104 make the cells 5, 6..10, ..., 101..104.
TEST_F(ExportPlotsTest, ProfilesShowTheStepsThinAndTheirFiveStepMeansThick) {
  std::string svg = chart(written(), "Temperature");
  std::string thin = path_drawn_with(svg, "stroke-width=\"1.0\"");
  std::string thick = path_drawn_with(svg, "stroke-width=\"2.5\"");
  EXPECT_EQ(count_of(thin, "M") + count_of(thin, "L"), 99u);  // step 50 has no sample
  EXPECT_EQ(count_of(thick, "M") + count_of(thick, "L"), 21u);
  std::string counts = chart(written(), "Count concentration");
  EXPECT_EQ(count_of(counts, "stroke-width=\"2.5\" clip-path"), 5u);  // one per range
}

TEST_F(ExportPlotsTest, ChannelNotOnTheCtdLinesGivesAnEmptyPanel) {
  arguments_[16] = "x";
  prepare_file(7);
  std::string svg = chart(written(), "Analog channel A1");
  EXPECT_EQ(svg.find("<path"), std::string::npos);
  EXPECT_NE(svg.find("No such CTD reading in this run."), std::string::npos);
}

TEST_F(ExportPlotsTest, RunPageListsTheFilesProcessedSoFar) {
  ExportOptions plots;
  plots.plots = true;
  ExportRun run(plots);
  run.write_file_outputs();
  std::string page = support::read_file(scratch("out/a_Plots_W_r1.html"));
  EXPECT_EQ(count_of(page, "<tr><td"), 2u);  // a row in each of the two tables
  prepare_file(8);
  store.linear_slope = -1.25;
  run.write_file_outputs();
  page = support::read_file(scratch("out/a_Plots_W_r1.html"));
  EXPECT_EQ(count_of(page, "<tr><td"), 4u);
  EXPECT_NE(page.find("<a href=\"W7_r1_Plots.html\">W7.dat</a>"), std::string::npos);
  EXPECT_NE(page.find("<a href=\"W8_r1_Plots.html\">W8.dat</a>"), std::string::npos);
  EXPECT_NE(page.find("<td class=\"number\">1.500</td><td class=\"number\">-0.90</td>"
                      "<td class=\"number\">25.00</td><td class=\"number\">0.4000</td>"),
            std::string::npos);
  EXPECT_NE(page.find("<td class=\"number\">-1.25</td>"), std::string::npos);
  EXPECT_TRUE(support::file_exists(scratch("out/W8_r1_Plots.html")));
  EXPECT_FALSE(support::file_exists(scratch("out/W8_r1_ODV.txt")));
  // The section: one column of cells per file, at x = 7 and x = 8, and a
  // cell for each step with water.
  std::string section = chart(page, "Count concentration of 100-2500 um particles");
  std::map<std::string, int> columns;
  for (size_t at = section.find("<rect x=\""); at != std::string::npos;
       at = section.find("<rect x=\"", at + 1)) {
    std::string element = section.substr(at, section.find("/>", at) - at);
    if (element.find("clip-path") == std::string::npos) continue;  // the frame and the scale
    ++columns[element.substr(9, element.find('"', 9) - 9)];
  }
  ASSERT_EQ(columns.size(), 2u);
  for (const auto& [x, cells] : columns) EXPECT_EQ(cells, 99) << x;  // step 60 has no water
}

}  // namespace

}  // namespace veka
