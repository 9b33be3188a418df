// The page of the run (argument 3 + "a_Plots_" + argument 2 + "_" +
// argument 9 + ".html"): one row per processed data file with its centroid
// ESD, straight-line slope, total biomass density and water volume, and a
// link to the file's own page; a section plot of the run, the count
// concentration of one size range (--section) by file and depth (time in the
// time mode) as a colour grid with its scale; then the size-spectrum
// exponent of each file with its interval beside the straight-line slope,
// as a table and a plot. Rewritten after every file, so that it always
// lists the files processed so far.
//
// Reads   file_number, data_file_name, centroid_esd [um], linear_slope,
//         total_biomass_density [ug/m3], total_volume [m3], the spectrum's
//         fits (export/size_fits.h), the step table's count
//         concentration of the section's range (export/step_table.h)
// Writes  the page only.
#include "export/batch_page.h"

#include "common/format.h"
#include "export/html.h"
#include "export/plots_page.h"
#include "export/step_table.h"
#include "export/svg.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

std::string cell(const std::string& text) {
  return "<td>" + text + "</td>";
}

std::string number_cell(double x, int decimals) {
  return "<td class=\"number\">" + real_field(x, 0, decimals) + "</td>";
}

std::string optional_cell(const std::optional<double>& x, int decimals) {
  return x ? number_cell(*x, decimals) : cell("");
}

std::string file_cell(const BatchPlotRow& row) {
  return cell("<a href=\"" + svg::escaped(row.plots_page) + "\">" + svg::escaped(row.data_file) +
              "</a>");
}

std::string table_row(const BatchPlotRow& row) {
  return "<tr>" + number_cell(row.file_number, 0) + file_cell(row) +
         number_cell(row.centroid_esd / 1000, 3) + number_cell(row.linear_slope, 2) +
         number_cell(row.total_biomass_density / 1000, 2) + number_cell(row.total_volume, 4) +
         "</tr>\n";
}

std::string exponent_row(const BatchPlotRow& row) {
  const std::string row_start = "<tr>" + number_cell(row.file_number, 0) + file_cell(row);
  const std::string line =
      number_cell(row.linear_slope, 3) + optional_cell(row.linear_r_squared, 3) + "</tr>\n";
  if (!row.mle) {
    std::string empty;
    for (int c = 0; c < 5; ++c) empty += cell("");  // no exponent: n, b, interval, b + 1
    return row_start + empty + line;
  }
  const PowerLawFit& mle = *row.mle;
  return row_start + number_cell(mle.n, 0) + number_cell(mle.b, 3) + optional_cell(mle.b_low, 3) +
         optional_cell(mle.b_high, 3) + number_cell(mle.b + 1, 3) + line;
}

// b with its interval and the straight-line slope, by file number.
std::string exponent_plot(const std::vector<BatchPlotRow>& rows) {
  const svg::Style exponent{"#c0392b", 1.5, false}, slope{"#1f4e9c", 1.5, false};
  std::vector<svg::Point> b, interval, slopes;
  std::vector<svg::Value> numbers, values;
  for (const BatchPlotRow& row : rows) {
    double x = row.file_number;
    numbers.push_back(x);
    slopes.push_back({x, row.linear_slope});
    values.push_back(row.linear_slope);
    if (!row.mle) continue;
    b.push_back({x, row.mle->b});
    values.push_back(row.mle->b);
    double low = row.mle->b_low.value_or(kLowestExponent);
    double high = row.mle->b_high.value_or(kHighestExponent);
    interval.insert(interval.end(), {{x, low}, {x, high}, {std::nullopt, std::nullopt}});
    values.insert(values.end(), {low, high});
  }
  svg::Plot plot("exponents", 900, 360, "Size-spectrum exponent and straight-line slope by file",
                 3);
  plot.axes(svg::fit_scale(numbers, false), svg::fit_scale(values, false), false, "File number",
            "Exponent b, slope");
  plot.line(interval, exponent);
  plot.dots(b, exponent);
  plot.dots(slopes, slope);
  plot.legend({{"maximum-likelihood b", exponent, svg::Mark::dot},
               {"its 95 % interval", exponent, svg::Mark::line},
               {"straight-line NBSS slope", slope, svg::Mark::dot}});
  return "<figure>\n" + plot.text() +
         "<figcaption>The NBSS slope the exponent implies is b + 1; the table gives it beside "
         "the straight-line slope.</figcaption>\n</figure>\n";
}

// The count concentration of the range by file (one column each) and step,
// on a logarithmic colour scale; depth points down, time up.
std::string section_plot(const std::vector<BatchPlotRow>& rows, int range) {
  const StepAxis axis = step_axis();
  const std::string what = per_volume() ? "Count concentration" : "Counts per interval";
  std::vector<svg::Value> numbers, places, values;
  std::vector<svg::ColourCell> cells;
  for (const BatchPlotRow& row : rows) {
    numbers.insert(numbers.end(), {row.file_number - 0.5, row.file_number + 0.5});
    for (const SectionCell& cell : row.section) {
      places.insert(places.end(), {cell.lower, cell.upper});
      if (!cell.value) continue;
      values.push_back(*cell.value);
      cells.push_back(
          {row.file_number - 0.45, row.file_number + 0.45, cell.lower, cell.upper, *cell.value});
    }
  }
  svg::ColourScale colours{svg::fit_scale(values, true)};
  const int width = 900;
  svg::Plot plot("section", width, 480, what + " of " + range_title(range) + " particles",
                 svg::Plot::colour_bar_entries(width));
  svg::Scale files = svg::fit_scale(numbers, false);
  files.whole = true;
  plot.axes(files, svg::fit_scale(places, false), axis.depth, "File number",
            axis.label + " [" + axis.unit + "]");
  plot.cells(cells, colours);
  if (cells.empty()) plot.note("No concentration above zero in these files.");
  plot.colour_bar(colours, per_volume() ? "particles per m\u00b3" : "particles per interval");
  return "<h2>Section of the run</h2>\n<figure>\n" + plot.text() +
         "<figcaption>One column per data file, one cell per " +
         (axis.depth ? "1 m step" : "time interval") +
         "; steps without filtered water or without particles are left blank.</figcaption>\n"
         "</figure>\n";
}

std::string exponent_section(const std::vector<BatchPlotRow>& rows) {
  std::string text = "<h2>Size-spectrum exponent</h2>\n" + exponent_plot(rows) +
                     "<table>\n<tr><th>File #</th><th>Data file</th><th>Particles fitted</th>"
                     "<th>Exponent b</th><th>95 % interval, low</th><th>95 % interval, high</th>"
                     "<th>b + 1</th><th>Straight-line slope</th><th>R\u00b2</th></tr>\n";
  for (const BatchPlotRow& row : rows) text += exponent_row(row);
  return text + "</table>\n";
}

}  // namespace

BatchPlotRow batch_plot_row(const SpectrumFit& fit, int section_range) {
  const Store& s = store;
  StepQuantity concentration = count_concentration(section_range);
  std::vector<SectionCell> section;
  for (const ProfileCell& cell : profile_cells(1)) {
    section.push_back(
        {cell.lower, cell.upper, cell_value(concentration, cell, concentration.method)});
  }
  return {s.file_number,
          file_part(s.data_file_name),
          file_part(plots_page_name()),
          s.centroid_esd,
          s.linear_slope,
          s.total_biomass_density,
          s.total_volume,
          fit.mle,
          fit.line.r_squared,
          section};
}

std::string batch_plots_page_name() {
  return argument_text(3) + "a_Plots_" + argument_text(2) + "_" + argument_text(9) + ".html";
}

void write_batch_plots_page(const std::vector<BatchPlotRow>& rows, int section_range) {
  std::string title = "Run " + argument_text(9) + " of data set " + argument_text(2);
  std::string body = "<h1>" + svg::escaped(title) + "</h1>\n<p class=\"caption\">" +
                     std::to_string(rows.size()) +
                     " data file(s) processed so far; each links to its page of plots.</p>\n"
                     "<table>\n<tr><th>File #</th><th>Data file</th><th>Centroid ESD [mm]</th>"
                     "<th>Straight-line slope</th><th>Total biomass density [mg/m\u00b3]</th>"
                     "<th>Water volume [m\u00b3]</th></tr>\n";
  for (const BatchPlotRow& row : rows) body += table_row(row);
  body += "</table>\n" + section_plot(rows, section_range) + exponent_section(rows);
  write_text_file(batch_plots_page_name(), html_page(title, body));
}

}  // namespace veka
