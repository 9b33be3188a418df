#include "vekasim/mep.h"

#include <algorithm>
#include <cmath>

#include "vekasim/sink.h"

namespace vekasim {

// Widths follow a Pareto law from the narrowest particle that the counter
// reports element by element: most particles cover one or two elements.
constexpr double kNarrowest = 0.4;  // [mm]
constexpr double kWidthExponent = 1.3;
constexpr double kWidest = 29.0;   // [mm], keeps a particle within 30 elements
constexpr double kShortest = 0.3;  // [mm]
constexpr double kLongest = 40.0;  // [mm]
// Time counts a plausible particle may take to pass, with room below the
// duration limit for timing jitter.
constexpr double kLongestPassage = 0.9 * kLongestDuration;
constexpr double kDurationJitter = 0.03;  // relative, one standard deviation
constexpr double kSizeJitter = 0.03;      // relative
constexpr int kStampMask = 0xFFFF;

static double size_diameter_um(double size) {
  return 54.58634681 + size * (0.507553898 + size * (-7.459811e-05 + size * 4.88e-09));
}

int size_of_shadow(double diameter_um) {
  // The cubic rises over the whole size range, so bisection finds the one size.
  double low = 1.0, high = kLargestSize;
  if (diameter_um <= size_diameter_um(low)) return 1;
  if (diameter_um >= size_diameter_um(high)) return kLargestSize;
  for (int i = 0; i < 40; ++i) {
    const double middle = 0.5 * (low + high);
    (size_diameter_um(middle) < diameter_um ? low : high) = middle;
  }
  return static_cast<int>(std::lround(0.5 * (low + high)));
}

struct ParticleShape {
  double left;     // edge across the beam, [mm] from the outer side of element 1
  double width;    // across the beam [mm]
  double length;   // along the flow [mm]
  double opacity;  // share of the light the particle blocks
};

static ParticleShape draw_shape(Random& random, double transit_count) {
  double width;
  do {
    width = kNarrowest * std::pow(1.0 - random.uniform(), -1.0 / kWidthExponent);
  } while (width > kWidest);
  const double aspect = std::exp(random.uniform(std::log(0.7), std::log(6.0)));
  const double longest = std::min(kLongest, kLongestPassage / transit_count);
  return {random.uniform(0.0, kElements - width), width,
          std::clamp(width * aspect, kShortest, longest), random.uniform(0.35, 1.0)};
}

// An elliptical silhouette: an element shadowed over its part [from, to]
// of the beam sees the chord through the point of that part nearest the
// particle's axis.
static MepRecord element_record(Random& random, const ParticleShape& p, int element,
                                double transit_count, int stamp) {
  const double from = std::max(p.left, element - 1.0);
  const double to = std::min(p.left + p.width, static_cast<double>(element));
  const double half_width = 0.5 * p.width;
  const double axis = p.left + half_width;
  const double off_axis = (std::clamp(axis, from, to) - axis) / half_width;
  const double chord =
      std::max(0.05, p.length * std::sqrt(std::max(0.0, 1.0 - off_axis * off_axis)));

  const double passage = chord * transit_count * (1.0 + kDurationJitter * random.gaussian());
  const double delay = 0.5 * (p.length - chord) * transit_count + random.gaussian();
  const double shadow_um =
      1000.0 * (to - from) * p.opacity * (1.0 + kSizeJitter * random.gaussian());
  return {element, (stamp + static_cast<int>(std::lround(std::max(0.0, delay)))) & kStampMask,
          std::max(1, static_cast<int>(std::lround(passage))), size_of_shadow(shadow_um)};
}

std::vector<MepRecord> draw_mep_particle(Random& random, double transit_count, int stamp) {
  const ParticleShape shape = draw_shape(random, transit_count);
  const int first = static_cast<int>(shape.left) + 1;
  const int last = std::min(kElements, static_cast<int>(shape.left + shape.width - 1e-9) + 1);
  std::vector<MepRecord> records;
  for (int element = first; element <= last; ++element) {
    records.push_back(element_record(random, shape, element, transit_count, stamp));
  }
  return records;
}

void make_implausible(Random& random, std::vector<MepRecord>& records) {
  MepRecord& victim = records[random.below(static_cast<int>(records.size()))];
  switch (random.below(3)) {
    case 0: {
      const MepRecord repeated = victim;
      records.push_back(repeated);
      break;
    }
    case 1:
      victim.size = 0;
      break;
    default:
      victim.duration = kLongestDuration + 1 + random.below(3000);
      break;
  }
}

std::vector<std::string> mep_lines(const std::vector<MepRecord>& records) {
  std::vector<std::string> lines;
  for (auto r = records.rbegin(); r != records.rend(); ++r) {
    std::string line = "M ";
    append_integer(line, r->element);
    line += ' ';
    append_integer(line, r->time);
    line += ' ';
    append_integer(line, r->duration);
    line += ' ';
    append_integer(line, r->size + (r == records.rbegin() ? kStartFlag : 0));
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace vekasim
