#include "vekasim/scenario.h"

#include <cctype>
#include <cmath>

#include "vekasim/ctd.h"

namespace vekasim {

constexpr double kSoakDepth = 4.0;  // [m]
constexpr double kSoakSeconds = 30.0;
constexpr double kLoweringSeconds = 8.0;  // from the deck crane to the soak depth
constexpr double kTurnSeconds = 5.0;
constexpr double kSurfaceDepth = 1.5;  // [m] where a cast ends
constexpr double kSurfaceSeconds = 10.0;
constexpr double kPayOutSpeed = 0.5;  // [m/s] winch speed when a tow goes down or up
constexpr double kTowSpeed = 2.0;     // [m/s]
constexpr double kBytesPerMegabyte = 1048576.0;

static bool is_tow(Scenario s) {
  return s == Scenario::tow || s == Scenario::large;
}

static double default_depth(Scenario s) {
  if (is_tow(s)) return 25.0;
  return s == Scenario::damaged ? 40.0 : 120.0;
}

static double cast_depth(const Options& options, Random& random) {
  double depth = options.depth > 0.0 ? options.depth : default_depth(options.scenario);
  // The casts of a series reach different depths, like the stations of a line.
  if (options.scenario == Scenario::series)
    depth = std::min(480.0, depth * random.uniform(0.8, 1.2));
  // A detected profile needs room to turn; fixed depths leave 10 m at both ends.
  double shallowest = is_tow(options.scenario) ? 5.0 : 15.0;
  if (options.scenario == Scenario::descent_fixed) shallowest = 30.0;
  if (depth < shallowest) {
    throw UsageError(std::string(scenario_name(options.scenario)) + " needs --depth of at least " +
                     std::to_string(static_cast<int>(shallowest)) + " m");
  }
  return depth;
}

static Heave draw_heave(Random& random, double amplitude) {
  return {amplitude * random.uniform(0.8, 1.2), random.uniform(7.0, 9.0),
          random.uniform(0.0, 6.283185307179586)};
}

struct CastSpeeds {
  double down, up;  // [m/s]
};

static CastSpeeds cast_speeds(Scenario s) {
  // An upcast is analysed in the ascent scenario: the winch hauls slowly
  // then and lets the instrument fall fast before.
  return s == Scenario::ascent ? CastSpeeds{1.0, 0.8} : CastSpeeds{0.8, 1.0};
}

// A track and the part of it that a time-range analysis is meant to cover.
struct PlannedTrack {
  Track track;
  double analysed_from, analysed_to;  // [s]
};

// Soak, descent, turn, ascent, a short wait at the surface.
static PlannedTrack cast_track(Random& random, double depth, CastSpeeds speeds) {
  Track track(1.0, draw_heave(random, 1.0));
  track.add_leg(kLoweringSeconds, kSoakDepth, 0.0);
  track.add_leg(kSoakSeconds, kSoakDepth, 0.0);
  track.add_leg((depth - kSoakDepth) / speeds.down, depth, 0.0);
  track.add_leg(kTurnSeconds, depth, 0.0);
  track.add_leg((depth - kSurfaceDepth) / speeds.up, kSurfaceDepth, 0.0);
  track.add_leg(kSurfaceSeconds, kSurfaceDepth, 0.0);
  const double end = track.duration();
  return {std::move(track), 0.0, end};
}

// Soak, pay out to the tow depth, tow there for the given seconds with the
// winch trimming the depth every minute or two, haul in. The tow at depth
// is the part to analyse.
static PlannedTrack tow_track(Random& random, double depth, double seconds) {
  Track track(1.0, draw_heave(random, 0.4));
  track.add_leg(kLoweringSeconds, kSoakDepth, kTowSpeed);
  track.add_leg(kSoakSeconds, kSoakDepth, kTowSpeed);
  track.add_leg((depth - kSoakDepth) / kPayOutSpeed, depth, kTowSpeed);
  const double tow_start = track.duration();
  const double tow_end = tow_start + seconds;
  while (track.duration() < tow_end) {
    const double leg = std::min(random.uniform(60.0, 120.0), tow_end - track.duration());
    track.add_leg(leg, std::max(kSoakDepth, depth + random.uniform(-1.5, 1.5)), kTowSpeed);
  }
  track.add_leg((track.end_depth() - kSurfaceDepth) / kPayOutSpeed, kSurfaceDepth, kTowSpeed);
  return {std::move(track), tow_start, tow_end};
}

static std::uint64_t size_limit(const Options& options) {
  if (options.scenario != Scenario::large) return 0;
  return static_cast<std::uint64_t>(options.size_mb * kBytesPerMegabyte);
}

static PlannedTrack plan_track(const Options& options, Random& random, double depth) {
  switch (options.scenario) {
    case Scenario::tow:
      return tow_track(random, depth, options.duration);
    case Scenario::large:
      // The recording stops when it is full; at a kilobyte or more per
      // second, this tow is always long enough.
      return tow_track(random, depth, size_limit(options) / 1000.0);
    default:
      return cast_track(random, depth, cast_speeds(options.scenario));
  }
}

// Damage spread over the middle of the descent, inside the cast that
// profile detection finds.
static DamagePlan plan_damage(Scenario scenario, double depth) {
  if (scenario != Scenario::damaged) return DamagePlan();
  const double descent_start = kLoweringSeconds + kSoakSeconds;
  const double descent_seconds = (depth - kSoakDepth) / cast_speeds(scenario).down;
  return DamagePlan::every_kind(descent_start + 0.1 * descent_seconds,
                                descent_start + 0.7 * descent_seconds);
}

static Station draw_station(Random& random, const Options& options, int file_number, double depth,
                            int scan_rate) {
  Station s;
  s.cruise = "VK23-04";
  s.number = options.scenario == Scenario::series ? file_number : 1 + random.below(99);
  s.year = 2023;
  s.month = 5 + random.below(5);
  s.day = 1 + random.below(28);
  s.hour = random.below(24);
  s.minute = random.below(60);
  s.second = random.below(60);
  s.latitude = random.uniform(43.0, 44.5);
  s.longitude = -random.uniform(65.0, 67.0);
  s.bottom_depth = depth + random.uniform(10.0, 60.0);
  s.planned_depth = depth;
  s.scan_rate = scan_rate;
  s.origin = std::string("vekasim, scenario ") + scenario_name(options.scenario) + ", seed " +
             std::to_string(options.seed);
  if (options.scenario == Scenario::series) s.origin += ", file " + std::to_string(file_number);
  return s;
}

RecordingPlan plan_recording(const Options& options, int file_number) {
  const Scenario scenario = options.scenario;
  const std::uint64_t seed =
      scenario == Scenario::series
          ? mix_seed(options.seed, 1000 + static_cast<std::uint64_t>(file_number))
          : options.seed;
  Random random(mix_seed(seed, 7));
  const double depth = cast_depth(options, random);
  const int scan_rate =
      options.scan_rate > 0 ? options.scan_rate : (scenario == Scenario::damaged ? 25 : 24);
  PlannedTrack planned = plan_track(options, random, depth);
  Station station = draw_station(random, options, file_number, depth, scan_rate);
  const long first_time_count = 200 + random.below(2000);
  // Tows run offshore, in poorer water than the casts on the shelf.
  const double abundance = is_tow(scenario) ? 0.4 : 1.0;
  return RecordingPlan{std::move(station),
                       std::move(planned.track),
                       seed,
                       scan_rate,
                       abundance,
                       planned.analysed_from,
                       planned.analysed_to,
                       first_time_count,
                       size_limit(options),
                       plan_damage(scenario, depth)};
}

std::vector<OutputFile> output_files(const Options& options) {
  if (options.scenario != Scenario::series) return {{options.out, 0}};
  std::vector<OutputFile> files;
  for (int k = options.first; k < options.first + options.files; ++k) {
    files.push_back({options.out + std::to_string(k) + ".dat", k});
  }
  return files;
}

// Arguments 1, 2, 57 and 58: where the processing finds the files.
struct DataSetNames {
  std::string input_folder, data_set;
  int first, last;
};

static DataSetNames data_set_names(const Options& options) {
  const bool series = options.scenario == Scenario::series;
  const int last = series ? options.first + options.files - 1 : 1;
  if (options.out.empty()) return {"IN/", "NAME", series ? options.first : 1, last};

  const std::size_t slash = options.out.rfind('/');
  const std::string folder = slash == std::string::npos ? "./" : options.out.substr(0, slash + 1);
  std::string name = options.out.substr(slash == std::string::npos ? 0 : slash + 1);
  if (series) return {folder, name, options.first, last};

  // The processing opens folder + data set + file number + ".dat".
  const std::string extension = ".dat";
  const bool has_extension =
      name.size() > extension.size() &&
      name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
  if (has_extension) name.erase(name.size() - extension.size());
  std::size_t digits = name.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
  if (!has_extension || digits == name.size() || digits == 0 || name[digits] == '0') {
    throw UsageError("for --args, --out must name a file NAME<number>.dat, such as VK1.dat");
  }
  const int number = std::stoi(name.substr(digits));
  return {folder, name.substr(0, digits), number, number};
}

// Shape classes and reporting bins that suit shelf zooplankton: small,
// medium and elongated particles; five diameter bins doubling in width.
constexpr const char* kShapeAndBinArguments =
    "0.5 2.0 2.0 5.0 5.0 30.0 "
    "0.2 1.0 0.5 2.0 0.3 3.0 "
    "0.5 2.0 1.0 3.0 3.0 20.0 "
    "100 250 250 500 500 1000 1000 2000 2000 4000";

std::string processing_arguments(const Options& options, const RecordingSummary& summary) {
  const Scenario scenario = options.scenario;
  const DataSetNames names = data_set_names(options);
  const RecordingPlan plan = plan_recording(options, names.first);

  std::string binning = "2 0 0 1 1";  // depth bins, profile start and end detected
  if (is_tow(scenario)) {
    binning = "1 " + std::to_string(summary.range_first) + ' ' +
              std::to_string(summary.range_last) + " 0 0";
  } else if (scenario == Scenario::descent_fixed) {
    const long end_depth = std::lround(plan.station.planned_depth) - 10;
    binning = "2 0 0 10 " + std::to_string(end_depth);
  }
  std::string ctd_letters;
  for (const char* letter : kCtdFieldLetters) ctd_letters += std::string(letter) + ' ';

  return names.input_folder + ' ' + names.data_set + ' ' + options.report_dir + ' ' + binning +
         " r1 0 " + std::to_string(plan.scan_rate) + ' ' + ctd_letters +
         (scenario == Scenario::ascent ? "0 " : "1 ") + (is_tow(scenario) ? "2.0" : "0.8") +
         " 1 1 0 " + kShapeAndBinArguments + " 0 " + std::to_string(names.first) + ' ' +
         std::to_string(names.last) + " 0 0 0";
}

}  // namespace vekasim
