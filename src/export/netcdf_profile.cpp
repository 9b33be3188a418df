// The profile as CF-1.8 / ACDD-1.3 netCDF files, holding only data of the
// profile feature (the size spectrum has a file of its own,
// export/netcdf_size_classes.h):
//
//   output_base_name + ".nc"   one data file: featureType profile over the
//       depth coordinate with its cell bounds (depth_bounds); in the time
//       mode timeSeries over a time coordinate in seconds since the station
//       time, which is taken to be the recording's start (without a station
//       time the axis is recording_time, seconds since the recording's first
//       frame, and the file claims no featureType). Station identity
//       (profile_id "<cruise>_<station>"), time, position and water depth
//       are scalars.
//   argument 3 + "a_Profiles_" + argument 2 + "_" + argument 9 + ".nc"
//       every data file of the run as one collection in the incomplete
//       multidimensional array representation: a profile (time mode:
//       timeseries) instance dimension, depth(profile, z) (time(timeseries,
//       obs) in seconds since 1970-01-01) with bounds, and every quantity
//       over (profile, z); rewritten after each file.
//
// Every quantity of the step table has its units, long name, standard name
// where CF has one, cell_methods ("depth: mean", "time: sum", ...) and the
// coordinates of the feature; a cell without a value is the fill value.
//
// Reads   the exported profiles (export/exported_profile.h), what the global
//         attributes read (export/netcdf_metadata.h), output_base_name,
//         arguments 2, 3 and 9
// Writes  the netCDF files only.
#include "export/netcdf_profile.h"

#include <algorithm>
#include <cmath>

#include "export/netcdf_file.h"
#include "export/netcdf_metadata.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int kVertices = 2;

// How a file lays out its profiles: one without an instance dimension, or
// every one of the run over one.
struct Layout {
  bool collection;
  bool depth;
  // Time mode of a single file: the station time, whole seconds, that the
  // time axis counts from; without one the axis is elapsed time.
  std::optional<double> time_origin;

  std::string feature_type() const {
    if (depth) return "profile";
    return collection || time_origin ? "timeSeries" : "";
  }
  std::string instance_dimension() const { return depth ? "profile" : "timeseries"; }
  std::string element_dimension() const {
    if (collection) return depth ? "z" : "obs";
    return depth ? "depth" : "time";
  }
  std::string id_name() const { return depth ? "profile_id" : "timeseries_id"; }
  std::string axis_name() const {
    if (depth) return "depth";
    return collection || time_origin ? "time" : "recording_time";
  }
  // The cell_methods name of the axis: a dimension, or the standard name.
  std::string method_axis() const { return depth ? "depth" : "time"; }
};

Layout layout_of(const std::vector<ExportedProfile>& profiles, bool collection) {
  Layout layout{collection, profiles.front().table.axis.depth, std::nullopt};
  if (!collection && !layout.depth && profiles.front().recording_start) {
    layout.time_origin = std::floor(*profiles.front().recording_start);
  }
  return layout;
}

// Where cell c of a profile lies on the file's axis; `edge` -1, 0, 1 for
// its lower edge, middle and upper edge.
std::optional<double> axis_value(const Layout& layout, const ExportedProfile& p,
                                 const ProfileCell& cell, int edge) {
  double at = edge < 0 ? cell.lower : (edge > 0 ? cell.upper : cell.position);
  if (layout.depth) return at;
  if (layout.collection) return p.utc_of(at);
  if (layout.time_origin) return *p.utc_of(at) - *layout.time_origin;
  return p.range_start + at;
}

Meaning axis_meaning(const Layout& layout, const ProfileTable& table) {
  if (layout.depth) {
    std::string cells = table.width == 1 ? "1 m step" : std::to_string(table.width) + "-step cell";
    return {"m", "depth of the middle of the " + cells, "depth", "coordinate"};
  }
  std::string cells =
      table.width == 1 ? "interval" : std::to_string(table.width) + "-interval cell";
  if (layout.collection) {
    return {seconds_since(0.0), "time of the middle of the " + cells, "time", "coordinate"};
  }
  if (layout.time_origin) {
    return {
        seconds_since(*layout.time_origin),
        "time of the middle of the " + cells + ", from the station time (the recording's start)",
        "time", "coordinate"};
  }
  return {"s",
          "time from the recording's first frame to the middle of the " + cells +
              " (the recording gives no date and time)",
          "", "coordinate"};
}

// The axis and its cell bounds over (instance,) element and vertex.
void add_axis(NetcdfWriter& writer, const Layout& layout,
              const std::vector<ExportedProfile>& profiles, const std::vector<int>& dims,
              int vertex, size_t length) {
  std::vector<double> middles, edges;
  bool gaps = false;
  for (const ExportedProfile& p : profiles) {
    for (size_t c = 0; c < length; ++c) {
      const bool inside = c < p.table.cells.size();
      for (int edge = -1; edge <= 1; ++edge) {
        std::optional<double> v;
        if (inside) v = axis_value(layout, p, p.table.cells[c], edge);
        gaps = gaps || !v;
        (edge == 0 ? middles : edges).push_back(v.value_or(kNetcdfFill));
      }
    }
  }
  NetcdfFile& file = writer.file();
  const std::string name = layout.axis_name();
  int id = writer.add(name, dims, middles, axis_meaning(layout, profiles.front().table), gaps);
  file.attribute(id, "bounds", name + "_bounds");
  if (layout.depth) {
    file.attribute(id, "positive", "down");
    file.attribute(id, "axis", "Z");
  } else if (name == "time") {
    file.attribute(id, "calendar", "standard");
    file.attribute(id, "axis", "T");
  }
  std::vector<int> bound_dims = dims;
  bound_dims.push_back(vertex);
  int bounds = writer.file().variable(name + "_bounds", bound_dims, NetcdfFile::Type::real);
  if (gaps) file.attribute(bounds, "_FillValue", kNetcdfFill);
  writer.add_values(bounds, edges);
}

void add_quantities(NetcdfWriter& writer, const Layout& layout,
                    const std::vector<ExportedProfile>& profiles, const std::vector<int>& dims,
                    size_t length, const std::string& coordinates) {
  const ProfileTable& first = profiles.front().table;
  for (size_t q = 0; q < first.quantities.size(); ++q) {
    const Quantity& quantity = first.quantities[q];
    std::vector<double> values;
    for (const ExportedProfile& p : profiles) {
      for (size_t c = 0; c < length; ++c) {
        StepValue v = c < p.table.cells.size() ? p.table.values[q][c] : std::nullopt;
        values.push_back(v.value_or(kNetcdfFill));
      }
    }
    int id = writer.add(quantity.key, dims, values,
                        {quantity.cf_units, quantity.long_name, quantity.standard_name}, true);
    writer.file().attribute(
        id, "cell_methods",
        layout.method_axis() + ": " + (quantity.method == CellMethod::sum ? "sum" : "mean"));
    writer.file().attribute(id, "coordinates", coordinates);
  }
}

NetcdfDescription description_of(const Layout& layout,
                                 const std::vector<ExportedProfile>& profiles) {
  const ExportedProfile& p = profiles.front();
  NetcdfDescription d;
  d.feature_type = layout.feature_type();
  std::string what = layout.depth ? "Depth profile" : "Time series";
  d.summary =
      "Counts, sizes and biomass of zooplankton and other particles from the VEKA counter, with "
      "the CTD's readings, per " +
      std::string(layout.depth ? "depth step" : "time interval") +
      " of the analysed range (per cubic metre of water filtered in the depth modes), for the "
      "reporting size ranges of the run.";
  d.references = kNbssReference;
  if (layout.collection) {
    d.title = what + "s of the VEKA counter, run " + store.run_label + " of data set " +
              argument_text(2) + " (" + std::to_string(profiles.size()) + " data files)";
    d.id = argument_text(2) + "_" + store.run_label;
    for (const ExportedProfile& each : profiles) {
      for (const std::string& note : station_notes(each.station)) {
        d.notes.push_back(each.station.profile_id() + ": " + note);
      }
    }
  } else {
    d.title = what + " of the VEKA counter, data file " + p.data_file_name;
    d.id = p.station.profile_id();
    d.notes = station_notes(p.station);
    if (!layout.depth && !layout.time_origin) {
      d.notes.push_back(
          "Without a station date and time the time axis is recording_time, seconds from the "
          "recording's first frame, and the file claims no featureType; --time gives it.");
    }
  }
  return d;
}

void write_profiles(const std::string& name, const std::vector<ExportedProfile>& profiles,
                    bool collection, const std::vector<GlobalAttribute>& attributes) {
  const Layout layout = layout_of(profiles, collection);
  NetcdfWriter writer(name);
  NetcdfFile& file = writer.file();
  write_global_attributes(file, description_of(layout, profiles), profiles, attributes);
  std::vector<int> instance;
  if (collection) instance.push_back(file.dimension(layout.instance_dimension(), profiles.size()));
  size_t length = 0;
  for (const ExportedProfile& p : profiles) length = std::max(length, p.table.cells.size());
  std::vector<int> dims = instance;
  dims.push_back(file.dimension(layout.element_dimension(), length));
  int vertex = file.dimension("nv", kVertices);

  std::string role = layout.feature_type().empty() ? "" : layout.id_name();
  std::string coordinates =
      add_station_variables(writer, instance, profiles, layout.id_name(), role, layout.depth);
  std::vector<int> numbers;
  for (const ExportedProfile& p : profiles) numbers.push_back(p.file_number);
  writer.add_integers("file_number", instance, numbers,
                      {"", "number of the data file in its data set", "", "referenceInformation"});
  add_axis(writer, layout, profiles, dims, vertex, length);
  add_quantities(writer, layout, profiles, dims, length, coordinates + " " + layout.axis_name());
  writer.finish();
}

}  // namespace

std::string netcdf_profile_name() {
  return store.output_base_name + ".nc";
}

std::string cruise_netcdf_name() {
  return argument_text(3) + "a_Profiles_" + argument_text(2) + "_" + argument_text(9) + ".nc";
}

void write_netcdf_profile(const ExportedProfile& profile,
                          const std::vector<GlobalAttribute>& attributes) {
  write_profiles(netcdf_profile_name(), {profile}, false, attributes);
}

void write_cruise_netcdf(const std::vector<ExportedProfile>& profiles,
                         const std::vector<GlobalAttribute>& attributes) {
  if (profiles.empty()) return;
  write_profiles(cruise_netcdf_name(), profiles, true, attributes);
}

}  // namespace veka
