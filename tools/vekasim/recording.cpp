#include "vekasim/recording.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "vekasim/ctd.h"
#include "vekasim/flow.h"
#include "vekasim/mep.h"
#include "vekasim/ocean.h"
#include "vekasim/sep.h"

namespace vekasim {

constexpr double kFrameSeconds = 0.5;
constexpr double kTunnelArea = 0.0049;  // [m2]
// Swell and drift move some water through the tunnel even when the
// instrument hangs still.
constexpr double kDriftSpeed = 0.05;  // [m/s]
// Particles per cubic metre at a productive shelf station.
constexpr double kSmallParticleDensity = 15000.0;
constexpr double kLargeParticleDensity = 400.0;
constexpr double kImplausibleShare = 0.02;
constexpr double kMepClockRate = 16000.0;  // time counts per second
constexpr int kStampRange = 65536;
// Multi-element particles start after the first frame, so that a
// recording opens with CTD scans.
constexpr double kFirstParticle = 1.0;  // [s]
constexpr int kLampLevel = 3000;
constexpr double kFreshSupply = 14.6;  // [V]
constexpr double kSupplyDrain = 0.02;  // [V per hour]

namespace {

// The state that runs through a recording while it is written.
class RecordingWriter {
 public:
  RecordingWriter(RecordingPlan& plan, RecordingSink& sink);
  void write_header();
  void write_scan(double seconds);
  RecordingSummary summary() const { return summary_; }

 private:
  void write_lines(LineKind kind, double seconds, std::vector<std::string> lines);
  void write_frame(double seconds);
  void write_particles(double from, double to, const InstrumentState& state);
  void note_frame_in_range(double seconds);
  void note_scan(const std::string& line);
  double water_per_second(const InstrumentState& state) const;  // [m3/s]

  RecordingPlan& plan_;
  RecordingSink& sink_;
  Random water_random_, ctd_noise_, sep_random_, mep_random_, status_random_;
  WaterColumn water_;
  double next_frame_ = kFrameSeconds;
  long time_count_;
  int particles_since_frame_ = 0;
  int stamp_offset_;
  long mep_records_at_range_first_ = 0;
  RecordingSummary summary_;
};

RecordingWriter::RecordingWriter(RecordingPlan& plan, RecordingSink& sink)
    : plan_(plan),
      sink_(sink),
      water_random_(mix_seed(plan.seed, 1)),
      ctd_noise_(mix_seed(plan.seed, 2)),
      sep_random_(mix_seed(plan.seed, 3)),
      mep_random_(mix_seed(plan.seed, 4)),
      status_random_(mix_seed(plan.seed, 5)),
      water_(water_random_),
      time_count_(plan.first_time_count),
      stamp_offset_(mep_random_.below(kStampRange)) {}

void RecordingWriter::write_header() {
  for (const std::string& line : header_lines(plan_.station)) sink_.write_line(line);
}

void RecordingWriter::write_lines(LineKind kind, double seconds, std::vector<std::string> lines) {
  plan_.damage.apply(kind, seconds, lines);
  for (const std::string& line : lines) sink_.write_line(line);
}

double RecordingWriter::water_per_second(const InstrumentState& state) const {
  return kTunnelArea * std::max(state.tunnel_speed, kDriftSpeed);
}

void RecordingWriter::note_frame_in_range(double seconds) {
  if (seconds < plan_.analysed_from || seconds > plan_.analysed_to) return;
  if (summary_.range_first == 0) {
    summary_.range_first = time_count_;
    mep_records_at_range_first_ = summary_.mep_records;
  }
  if (summary_.mep_records - mep_records_at_range_first_ <= kReaderMepLimit) {
    summary_.range_last = time_count_;
  }
}

void RecordingWriter::write_frame(double seconds) {
  const InstrumentState state = plan_.track.at(seconds);
  const double expected = kSmallParticleDensity * plan_.abundance * water_.plankton(state.depth) *
                          water_per_second(state) * kFrameSeconds;
  const SepCounts counts = draw_sep_counts(sep_random_, expected);

  FrameStatus status{};
  status.time_count = time_count_;
  status.mep_particles = particles_since_frame_;
  status.lamp_level = kLampLevel + static_cast<int>(std::lround(4.0 * status_random_.gaussian()));
  status.supply = kFreshSupply - kSupplyDrain * seconds / 3600.0;
  read_flow_meter(status_random_, state.tunnel_speed, status);

  write_lines(LineKind::sep, seconds, sep_block_lines(counts, status));
  note_frame_in_range(seconds);
  if (summary_.frames++ == 0) summary_.first_time_count = time_count_;
  summary_.last_time_count = time_count_;
  ++time_count_;
  particles_since_frame_ = 0;
}

void RecordingWriter::write_particles(double from, double to, const InstrumentState& state) {
  const double rate = kLargeParticleDensity * plan_.abundance * water_.plankton(state.depth) *
                      water_per_second(state);
  std::vector<double> arrivals(mep_random_.poisson(rate * (to - from)));
  for (double& t : arrivals) t = mep_random_.uniform(from, to);
  if (arrivals.empty()) return;
  std::sort(arrivals.begin(), arrivals.end());

  const double transit_count = state.tunnel_speed < slowest_measured_speed()
                                   ? kMostCounts
                                   : transit_count_for_speed(state.tunnel_speed);
  for (double t : arrivals) {
    const int stamp = (stamp_offset_ + static_cast<long>(t * kMepClockRate)) % kStampRange;
    std::vector<MepRecord> records = draw_mep_particle(mep_random_, transit_count, stamp);
    if (mep_random_.chance(kImplausibleShare)) make_implausible(mep_random_, records);
    summary_.mep_records += static_cast<long>(records.size());
    write_lines(LineKind::mep, t, mep_lines(records));
    ++particles_since_frame_;
  }
}

void RecordingWriter::write_scan(double seconds) {
  const double scan_interval = 1.0 / plan_.scan_rate;
  while (next_frame_ <= seconds) {
    write_frame(next_frame_);
    next_frame_ += kFrameSeconds;
  }
  const InstrumentState state = plan_.track.at(seconds);
  if (seconds >= kFirstParticle) write_particles(seconds - scan_interval, seconds, state);
  const std::string line = ctd_line(state.depth, water_, ctd_noise_);
  note_scan(line);
  write_lines(LineKind::ctd, seconds, {line});
}

void RecordingWriter::note_scan(const std::string& line) {
  // The depth as written, the first value after "C ".
  const double depth = std::strtod(line.c_str() + 2, nullptr);
  if (summary_.ctd_scans++ == 0 || depth < summary_.shallowest) summary_.shallowest = depth;
  if (summary_.ctd_scans == 1 || depth > summary_.deepest) {
    summary_.deepest = depth;
    summary_.deepest_time_count = summary_.frames > 0 ? summary_.last_time_count : -1;
  }
}

}  // namespace

RecordingSummary write_recording(RecordingPlan plan, RecordingSink& sink) {
  RecordingWriter writer(plan, sink);
  writer.write_header();
  const double end = plan.track.duration();
  for (long scan = 0;; ++scan) {
    const double seconds = static_cast<double>(scan) / plan.scan_rate;
    if (seconds > end) break;
    if (plan.size_limit > 0 && sink.bytes() >= plan.size_limit) break;
    writer.write_scan(seconds);
  }
  return writer.summary();
}

}  // namespace vekasim
