// Single-element particles: every half second the counter reports how
// many particles fell into each of its 128 size channels (channel c holds
// equivalent diameters near 15*c micrometres), followed by a status line
// with the frame's time count and the flow meter's reading.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "vekasim/random.h"

namespace vekasim {

constexpr int kSepChannels = 128;
using SepCounts = std::array<int, kSepChannels>;

// Poisson counts around a power-law size spectrum with expected_total
// particles in all channels together.
SepCounts draw_sep_counts(Random& random, double expected_total);

struct FrameStatus {
  long time_count;    // advances by one per frame
  int flow_count;     // flow meter pulses in the frame, 0 when the flow is too slow
  long flow_time;     // time counts over those pulses: flow_time / flow_count = transit count
  int mep_particles;  // multi-element particles seen since the last frame
  int lamp_level;     // light source monitor
  double supply;      // battery voltage [V]
};

// Flow meter reading of a frame with the given tunnel speed [m/s].
void read_flow_meter(Random& random, double tunnel_speed, FrameStatus& status);

// The five lines L1..L5 of one frame.
std::vector<std::string> sep_block_lines(const SepCounts& counts, const FrameStatus& status);

}  // namespace vekasim
