// Pseudo-random numbers for the simulator. Every draw is defined here
// (xoshiro256** seeded through splitmix64, Box-Muller normals, Knuth's
// Poisson), not taken from the standard library's distributions, whose
// output differs between library versions: one seed must give the same
// recording, byte for byte, wherever the simulator is built.
#pragma once

#include <cstdint>

namespace vekasim {

// Mixes a seed and a stream number into a new seed, so that independent
// parts of a recording draw from independent streams.
std::uint64_t mix_seed(std::uint64_t seed, std::uint64_t stream);

class Random {
 public:
  explicit Random(std::uint64_t seed);

  std::uint64_t next();
  double uniform();  // [0, 1)
  double uniform(double low, double high);
  int below(int n);  // 0 .. n-1
  bool chance(double probability);
  double gaussian();  // mean 0, standard deviation 1
  int poisson(double mean);

 private:
  std::uint64_t state_[4];
};

}  // namespace vekasim
