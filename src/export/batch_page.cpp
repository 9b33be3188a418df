#include "export/batch_page.h"

#include "common/format.h"
#include "export/html.h"
#include "export/plots_page.h"
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

std::string table_row(const BatchPlotRow& row) {
  return "<tr>" + number_cell(row.file_number, 0) +
         cell("<a href=\"" + svg::escaped(row.plots_page) + "\">" + svg::escaped(row.data_file) +
              "</a>") +
         number_cell(row.centroid_esd / 1000, 3) + number_cell(row.linear_slope, 2) +
         number_cell(row.total_biomass_density / 1000, 2) + number_cell(row.total_volume, 4) +
         "</tr>\n";
}

}  // namespace

BatchPlotRow batch_plot_row() {
  const Store& s = store;
  return {s.file_number,
          file_part(s.data_file_name),
          file_part(plots_page_name()),
          s.centroid_esd,
          s.linear_slope,
          s.total_biomass_density,
          s.total_volume};
}

std::string batch_plots_page_name() {
  return argument_text(3) + "a_Plots_" + argument_text(2) + "_" + argument_text(9) + ".html";
}

void write_batch_plots_page(const std::vector<BatchPlotRow>& rows) {
  std::string title = "Run " + argument_text(9) + " of data set " + argument_text(2);
  std::string body = "<h1>" + svg::escaped(title) + "</h1>\n<p class=\"caption\">" +
                     std::to_string(rows.size()) +
                     " data file(s) processed so far; each links to its page of plots.</p>\n"
                     "<table>\n<tr><th>File #</th><th>Data file</th><th>Centroid ESD [mm]</th>"
                     "<th>Straight-line slope</th><th>Total biomass density [mg/m\u00b3]</th>"
                     "<th>Water volume [m\u00b3]</th></tr>\n";
  for (const BatchPlotRow& row : rows) body += table_row(row);
  body += "</table>\n";
  write_text_file(batch_plots_page_name(), html_page(title, body));
}

}  // namespace veka
