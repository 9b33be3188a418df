// Multi-element particles: a particle wider than one element, or long,
// is reported element by element. Each record holds the element number,
// the 16-bit time stamp at which the element was first shadowed, how many
// time counts it stayed shadowed and the digital size of its shadow.
#pragma once

#include <string>
#include <vector>

#include "vekasim/random.h"

namespace vekasim {

constexpr int kElements = 60;
constexpr int kStartFlag = 32768;  // added to the size of a particle's first record
constexpr int kLargestSize = 4096;
constexpr int kLongestDuration = 1000;  // longer records are implausible

struct MepRecord {
  int element;
  int time;  // 16-bit time stamp
  int duration;
  int size;
};

// A particle passing the element array, records in ascending element
// order. transit_count [time counts per mm] sets the durations; stamp is
// the 16-bit time at which the particle's front reaches the array.
std::vector<MepRecord> draw_mep_particle(Random& random, double transit_count, int stamp);

// Damages the particle the way a glitch of the counter does: a repeated
// element, a zero size or an overlong duration.
void make_implausible(Random& random, std::vector<MepRecord>& records);

// The particle's lines, from its highest element down, the first written
// one carrying the start flag.
std::vector<std::string> mep_lines(const std::vector<MepRecord>& records);

// Digital size of an element whose shadow has the equivalent diameter
// [um]: the inverse of the counter's size-to-diameter cubic, 1..4096.
int size_of_shadow(double diameter_um);

}  // namespace vekasim
