#include "frontend/settings_table.h"

#include <sstream>
#include <stdexcept>

#include "frontend/text_layout.h"
#include "store/ctd_fields.h"

namespace veka {

namespace {

constexpr double kLargest = 1e300;
constexpr double kLargestInteger = 2147483647.0;  // 32 bits
constexpr NumberRange kAnyNumber = {-kLargest, kLargest, false};
constexpr NumberRange kNotNegative = {0.0, kLargest, false};
constexpr NumberRange kPositive = {0.0, kLargest, true};
constexpr NumberRange kWholeNotNegative = {0.0, kLargestInteger, false};
constexpr NumberRange kProfileDepth = {0.0, 500.0, false};  // [m], the 500 steps

// One row of each kind; the names and file numbers are the required ones.
Setting name_setting(const std::string& key, SettingKind kind, int position,
                     const std::string& sample, const std::string& meaning, int max_length = 0) {
  Setting setting{"names", key, kind, position, sample, true, "", meaning};
  setting.max_length = max_length;
  return setting;
}

Setting whole(const std::string& group, const std::string& key, int position,
              const std::string& sample, const std::string& units, const std::string& meaning,
              NumberRange range) {
  const bool required = group == "files";
  return {group, key, SettingKind::integer, position, sample, required, units, meaning, range};
}

Setting real(const std::string& group, const std::string& key, int position,
             const std::string& sample, const std::string& units, const std::string& meaning,
             NumberRange range) {
  return {group, key, SettingKind::real, position, sample, false, units, meaning, range};
}

Setting choice(const std::string& group, const std::string& key, int position,
               const std::string& sample, const std::string& meaning,
               std::vector<SettingChoice> choices) {
  Setting setting{group, key, SettingKind::choice, position, sample, false, "", meaning};
  setting.choices = std::move(choices);
  return setting;
}

Setting bounds(const std::string& group, const std::string& key, int position,
               const std::string& sample, const std::string& units, const std::string& meaning) {
  return {group, key, SettingKind::bounds, position, sample, false, units, meaning, kNotNegative};
}

Setting unused(int position) {
  return {"options", "", SettingKind::unused, position, "0", false, "", "not used"};
}

std::vector<Setting> make_table() {
  const std::string detect_note =
      "; the time-count modes take 0, and with 0 the depth tests of profile detection are off";
  Setting analysis_option =
      whole("options", "analysis_option", 60, "0", "",
            "analysis option: 0 counts every particle normally; 1 switches multi-element sizing "
            "off; 2 drops particles whose mean opacity exceeds the analysis value (2.0 when that "
            "is 0) and leaves single-element counts out; 3 and -3 apply a transmission "
            "correction; 5 and 6 keep only the opaque or only the translucent multi-element "
            "particles, with the analysis value as the opacity threshold",
            kAnyNumber);
  analysis_option.integer_values = {0, 1, 2, 3, -3, 5, 6};
  return {
      name_setting("input_folder", SettingKind::folder, 1, "samples/",
                   "input folder, with its trailing separator; the data file of file number n "
                   "is input folder + data set + n + `.dat`"),
      name_setting("data_set", SettingKind::text, 2, "VK",
                   "data-set name (file prefix); for the data sets `HF3` and `HFXLine` the file "
                   "number gets leading zeros (`HF3007.dat`), and a few known-bad files of some "
                   "data sets are skipped"),
      name_setting("output_folder", SettingKind::folder, 3, "out/",
                   "output folder, with its trailing separator; report names are output folder "
                   "+ data set + file number + `_` + run label + a suffix"),
      name_setting("run_label", SettingKind::text, 9, "r1",
                   "run label (at most 4 characters), last part of the report names", 4),
      whole("files", "first", 57, "1", "", "first file number", kWholeNotNegative),
      whole("files", "last", 58, "1", "",
            "last file number; the files first..last are processed one after the other with "
            "the same settings",
            kWholeNotNegative),
      choice("binning", "mode", 4, "2", "binning mode",
             {{"profile", "2",
               "bins by depth (1 m steps) and finds the profile's start and end in a first pass"},
              {"depth", "0", "bins by depth over a time-count range"},
              {"time", "1", "bins by time count"}}),
      whole("binning", "first_time_count", 5, "0", "",
            "first time count of the analysed range (the L5 time counter); used by the modes "
            "`time` and `depth`",
            kWholeNotNegative),
      whole("binning", "last_time_count", 6, "0", "",
            "last time count of the analysed range; used by the modes `time` and `depth`",
            kWholeNotNegative),
      whole("binning", "start_depth_m", 7, "1", "m",
            "profile start depth; 1 lets the program detect the start (the first steady descent "
            "deeper than 4 m), a value above 1 fixes it" +
                detect_note,
            kProfileDepth),
      whole("binning", "end_depth_m", 8, "1", "m",
            "profile end depth; 1 lets the program detect the end (the turn at the bottom), a "
            "value above 1 fixes it" +
                detect_note,
            kProfileDepth),
      choice("binning", "cast_direction", 23, "1", "cast direction",
             {{"descending", "1", "a descending cast"}, {"ascending", "0", "an ascending cast"}}),
      real("ctd", "scan_rate_hz", 11, "24", "1/s",
           "CTD scan rate, scans per second (24 or 25); at 25 a depth jump of more than 3 m is "
           "filtered as a spike",
           kPositive),
      {"ctd", "fields", SettingKind::ctd_fields, 12, "D C T S A1 x x x x x x", false, "",
       "what the values of a CTD line are, in their order: `D` depth [m], `C` conductivity "
       "[mS/cm], `T` temperature [degC], `S` salinity, `A1`..`A7` analog channels 1 to 7 (`A1` "
       "fluorescence); `x` marks a value that is not used"},
      real("speed", "expected_speed_m_s", 24, "0.8", "m/s",
           "expected speed through the tunnel, the descent rate of the cast; it gives the "
           "expected transit count (time counts per millimetre of flow, 24 for the sample) "
           "through the flow calibration curves",
           kPositive),
      choice("speed", "speed_source", 25, "1", "flow speed source",
             {{"measured", "1",
               "derives each step's speed from the measured transit counts of the L5 lines "
               "(\"VEKA Speed\")"},
              {"expected", "0.0", "uses the expected speed throughout", {"0"}}}),
      real("speed", "flow_scale", 26, "1", "",
           "flow scale: the biomass is scaled by 1 / square root of this value", kPositive),
      choice("speed", "tunnel", 27, "0", "tunnel of the counter",
             {{"small", "0", "a tunnel area of 0.0049 m2"},
              {"large", "1", "a tunnel area of 0.01225 m2"}}),
      bounds("shape_classes", "small_length_mm", 28, "0.5 2.0", "mm",
             "class 1 (small particles): length bounds"),
      bounds("shape_classes", "medium_length_mm", 30, "2.0 5.0", "mm",
             "class 2 (medium particles): length bounds"),
      bounds("shape_classes", "elongated_length_mm", 32, "5.0 30.0", "mm",
             "class 3 (elongated particles): length bounds"),
      bounds("shape_classes", "small_diameter_mm", 34, "0.2 1.0", "mm", "class 1: diameter bounds"),
      bounds("shape_classes", "medium_diameter_mm", 36, "0.5 2.0", "mm",
             "class 2: diameter bounds"),
      bounds("shape_classes", "elongated_diameter_mm", 38, "0.3 3.0", "mm",
             "class 3: diameter bounds"),
      bounds("shape_classes", "small_ratio", 40, "0.5 2.0", "",
             "class 1: length/diameter bounds (printed; the class test does not use them)"),
      bounds("shape_classes", "medium_ratio", 42, "1.0 3.0", "",
             "class 2: length/diameter bounds (printed; the class test does not use them)"),
      bounds("shape_classes", "elongated_ratio", 44, "3.0 20.0", "",
             "class 3: length/diameter bounds; the ratio must lie strictly between them"),
      bounds("reporting", "range_1_um", 46, "100 250", "um", "range 1, low and high edge"),
      bounds("reporting", "range_2_um", 48, "250 500", "um", "range 2"),
      bounds("reporting", "range_3_um", 50, "500 1000", "um", "range 3"),
      bounds("reporting", "range_4_um", 52, "1000 2000", "um", "range 4"),
      bounds("reporting", "range_5_um", 54, "2000 4000", "um", "range 5"),
      choice("options", "shape_file", 56, "0", "shape file of the multi-element particles",
             {{"none", "0", "no shape file"},
              {"shapes", "1",
               "writes the silhouettes of the analysed multi-element particles to `<report "
               "base>_Shape.csv`"}}),
      analysis_option,
      real("options", "analysis_value", 61, "0", "",
           "value for the analysis option (an opacity threshold or the correction's switch); 0 "
           "leaves it off",
           kAnyNumber),
      unused(10),
      unused(59),
  };
}

std::string number_text(double x) {
  std::ostringstream out;
  out << x;
  return out.str();
}

std::string range_text(const NumberRange& r, const std::string& what) {
  const bool has_low = r.low > -kLargest;
  const bool has_high = r.high < kLargest && r.high != kLargestInteger;
  if (has_low && has_high)
    return what + " from " + number_text(r.low) + " to " + number_text(r.high);
  if (has_low) return what + (r.above_low ? " above " : ", at least ") + number_text(r.low);
  return what;
}

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> result;
  for (std::string word; in >> word;) result.push_back(word);
  return result;
}

}  // namespace

int Setting::width() const {
  switch (kind) {
    case SettingKind::bounds:
      return 2;
    case SettingKind::ctd_fields:
      return kCtdFields;
    default:
      return 1;
  }
}

std::string Setting::positions() const {
  const int last = position + width() - 1;
  if (last == position) return std::to_string(position);
  return std::to_string(position) + (width() == 2 ? ", " : "..") + std::to_string(last);
}

std::string Setting::meaning_with_choices(std::string (*mark)(const std::string&)) const {
  std::string text = meaning;
  const char* separator = ": ";
  for (const SettingChoice& choice : choices) {
    text += separator + mark(choice.name) + " (argument " + choice.argument + ") " + choice.meaning;
    separator = "; ";
  }
  return text;
}

std::vector<std::string> Setting::default_arguments() const {
  if (required) return {};
  return words(sample);
}

std::string Setting::allowed() const {
  switch (kind) {
    case SettingKind::folder:
      return "a folder name ending in /";
    case SettingKind::text:
      return max_length > 0 ? "a text of 1 to " + std::to_string(max_length) + " characters"
                            : "a text";
    case SettingKind::integer: {
      if (integer_values.empty()) return range_text(range, "an integer");
      std::string list;
      for (int value : integer_values) list += (list.empty() ? "" : ", ") + std::to_string(value);
      return "one of " + list;
    }
    case SettingKind::real:
      return range_text(range, "a number");
    case SettingKind::choice: {
      std::string list;
      for (const SettingChoice& choice : choices)
        list += (list.empty() ? "" : ", ") + quoted(choice.name);
      return list;
    }
    case SettingKind::bounds:
      return "[low, high], two numbers of at least " + number_text(range.low) +
             ", low not above high";
    case SettingKind::ctd_fields: {
      std::string list;
      for (int code = 1; code <= kCtdFields; ++code) {
        list += quoted(std::string(kCtdFieldLetters[code])) + ", ";
      }
      return "a list of 1 to " + std::to_string(kCtdFields) + " of " + list + "or " +
             quoted(kUnusedField) + ", each letter at most once";
    }
    case SettingKind::unused:
      break;
  }
  return "";
}

const std::vector<SettingGroup>& setting_groups() {
  static const std::vector<SettingGroup> groups = {
      {"names", "Input and output names", ""},
      {"files", "File numbers", ""},
      {"binning", "Binning mode and analysed range", ""},
      {"ctd", "CTD layout", ""},
      {"speed", "Speed and tunnel", ""},
      {"shape_classes", "Multi-element particle shape classes",
       "Lengths and diameters in millimetres; each class counts particles whose values lie above "
       "the low bound and at or below the high bound."},
      {"reporting", "Reporting diameter bins",
       "Five ranges of equivalent spherical diameter in micrometres; the reports give counts, "
       "concentrations and biomass per range."},
      {"options", "Options", ""},
  };
  return groups;
}

const std::vector<Setting>& settings_table() {
  static const std::vector<Setting> table = make_table();
  return table;
}

const Setting& setting_at(int position) {
  for (const Setting& setting : settings_table()) {
    if (position >= setting.position && position < setting.position + setting.width()) {
      return setting;
    }
  }
  throw std::logic_error("no setting fills argument " + std::to_string(position));
}

const Setting* find_setting(const std::string& group, const std::string& key) {
  for (const Setting& setting : settings_table()) {
    if (setting.kind != SettingKind::unused && setting.group == group && setting.key == key) {
      return &setting;
    }
  }
  return nullptr;
}

const ExportKey* export_key_for(const std::string& option) {
  for (const ExportKey& key : export_keys()) {
    if (key.option == option) return &key;
  }
  return nullptr;
}

}  // namespace veka
