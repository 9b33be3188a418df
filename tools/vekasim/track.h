// The instrument's path through the water: legs of steady change in mean
// depth, each with its own horizontal (tow) speed, and the ship's heave on
// top, which reaches the instrument through the cable.
#pragma once

#include <vector>

namespace vekasim {

struct InstrumentState {
  double depth;         // [m], never shallower than kShallowest
  double tunnel_speed;  // speed of the water through the counter's tunnel [m/s]
};

// The pressure sensor stays submerged: the instrument hangs below the float
// line even when the ship rolls.
constexpr double kShallowest = 0.3;  // [m]

struct Heave {
  double amplitude;  // [m]
  double period;     // [s]
  double phase;      // [rad]
};

class Track {
 public:
  Track(double start_depth, Heave heave);

  // Appends a leg that moves the mean depth linearly to depth_to [m] within
  // seconds [s], towed horizontally at tow_speed [m/s].
  void add_leg(double seconds, double depth_to, double tow_speed);

  // Needs at least one leg; beyond the end the last leg's depth is held.
  InstrumentState at(double seconds) const;
  double duration() const;   // [s]
  double end_depth() const;  // mean depth after the last leg [m]

 private:
  struct Leg {
    double start, seconds, depth_from, depth_to, tow_speed;
  };
  const Leg& leg_at(double seconds) const;

  double start_depth_;
  Heave heave_;
  std::vector<Leg> legs_;
};

}  // namespace vekasim
