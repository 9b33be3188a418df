#include "vekasim/random.h"

#include <cmath>

namespace vekasim {

constexpr double kPi = 3.14159265358979323846;

static std::uint64_t splitmix64(std::uint64_t& x) {
  x += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = x;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

static std::uint64_t rotate_left(std::uint64_t x, int k) {
  return (x << k) | (x >> (64 - k));
}

std::uint64_t mix_seed(std::uint64_t seed, std::uint64_t stream) {
  std::uint64_t x = seed ^ (stream * 0xD1B54A32D192ED03ULL);
  return splitmix64(x);
}

Random::Random(std::uint64_t seed) {
  for (std::uint64_t& word : state_) word = splitmix64(seed);
}

std::uint64_t Random::next() {
  const std::uint64_t result = rotate_left(state_[1] * 5, 7) * 9;
  const std::uint64_t t = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= t;
  state_[3] = rotate_left(state_[3], 45);
  return result;
}

double Random::uniform() {
  return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double Random::uniform(double low, double high) {
  return low + (high - low) * uniform();
}

int Random::below(int n) {
  return static_cast<int>(uniform() * n);
}

bool Random::chance(double probability) {
  return uniform() < probability;
}

double Random::gaussian() {
  // 1 - uniform() lies in (0, 1], so the logarithm stays finite.
  const double radius = std::sqrt(-2.0 * std::log(1.0 - uniform()));
  return radius * std::cos(2.0 * kPi * uniform());
}

int Random::poisson(double mean) {
  if (mean <= 0.0) return 0;
  if (mean >= 30.0) {
    // Knuth's product method costs one draw per event; large means are
    // close enough to normal for counting noise.
    const double value = std::floor(mean + std::sqrt(mean) * gaussian() + 0.5);
    return value < 0.0 ? 0 : static_cast<int>(value);
  }
  const double limit = std::exp(-mean);
  double product = uniform();
  int events = 0;
  while (product > limit) {
    ++events;
    product *= uniform();
  }
  return events;
}

}  // namespace vekasim
