#include "vekasim/sep.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "vekasim/flow.h"
#include "vekasim/sink.h"

namespace vekasim {

constexpr int kChannelsPerLine = 32;
// The spectrum peaks at the channel where detection becomes complete
// (about 120 um) and falls off as a power of diameter above it.
constexpr double kPeakChannel = 8.0;
constexpr double kSpectrumSlope = -3.0;
constexpr double kDetectionRise = 3.0;
constexpr double kFlowPulsesPerMetre = 20.0;
constexpr double kFrameSeconds = 0.5;
constexpr double kFlowTimeJitter = 0.02;  // relative, one standard deviation

static std::array<double, kSepChannels> spectrum_shares() {
  std::array<double, kSepChannels> share{};
  for (int c = 1; c <= kSepChannels; ++c) {
    const double x = c / kPeakChannel;
    share[c - 1] = std::pow(x, x < 1.0 ? kDetectionRise : kSpectrumSlope);
  }
  const double total = std::accumulate(share.begin(), share.end(), 0.0);
  for (double& s : share) s /= total;
  return share;
}

SepCounts draw_sep_counts(Random& random, double expected_total) {
  static const std::array<double, kSepChannels> share = spectrum_shares();
  SepCounts counts{};
  for (int c = 0; c < kSepChannels; ++c) counts[c] = random.poisson(expected_total * share[c]);
  return counts;
}

void read_flow_meter(Random& random, double tunnel_speed, FrameStatus& status) {
  status.flow_count = 0;
  status.flow_time = 0;
  if (tunnel_speed < slowest_measured_speed()) return;
  status.flow_count = random.poisson(kFlowPulsesPerMetre * tunnel_speed * kFrameSeconds);
  if (status.flow_count == 0) return;
  const double transit_count = transit_count_for_speed(tunnel_speed);
  const double flow_time =
      status.flow_count * transit_count * (1.0 + kFlowTimeJitter * random.gaussian());
  // Keep the ratio inside the range of the calibration curves.
  status.flow_time = std::lround(
      std::clamp(flow_time, kFewestCounts * status.flow_count, kMostCounts * status.flow_count));
}

std::vector<std::string> sep_block_lines(const SepCounts& counts, const FrameStatus& status) {
  std::vector<std::string> lines;
  for (int line = 0; line < kSepChannels / kChannelsPerLine; ++line) {
    std::string text = "L" + std::to_string(line + 1);
    for (int c = line * kChannelsPerLine; c < (line + 1) * kChannelsPerLine; ++c) {
      text += ' ';
      append_integer(text, counts[c]);
    }
    lines.push_back(std::move(text));
  }
  std::string text = "L5 ";
  append_integer(text, std::accumulate(counts.begin(), counts.end(), 0));
  for (long value : {long{status.mep_particles}, status.time_count, long{status.flow_count},
                     status.flow_time, long{status.lamp_level}}) {
    text += ' ';
    append_integer(text, value);
  }
  text += ' ';
  append_fixed(text, status.supply, 1);
  lines.push_back(std::move(text));
  return lines;
}

}  // namespace vekasim
