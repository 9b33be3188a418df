// Damage as real recordings show it: lines cut short or run together on
// the serial link, garbled characters, sensor glitches. A plan holds the
// kinds of damage to apply, each due from a recording time on; a due
// damage strikes the next record of its line kind.
#pragma once

#include <string>
#include <vector>

namespace vekasim {

enum class LineKind { ctd, sep, mep };

// Damage to CTD lines comes first, then to SEP frames, then to MEP records.
enum class Damage {
  ctd_extra_value,
  ctd_ends_after_separator,
  ctd_ends_in_value,
  ctd_long_value,
  ctd_short_run,  // more consecutive short lines than a reader tolerates
  ctd_depth_spike,
  ctd_hot,         // temperature above 35 degC
  ctd_conductive,  // conductivity above 50 mS/cm
  sep_bad_line_number,
  sep_blank_line_number,
  sep_character_after_line_number,
  sep_short_line,
  sep_double_blank,
  sep_not_an_l_line,
  status_character_after_line_number,
  status_few_values,
  status_empty_last_value,
  mep_no_blank,
  mep_double_blank,
  mep_three_fields,
};

class DamagePlan {
 public:
  // A plan without damage.
  DamagePlan() = default;
  // Every kind of damage, spread evenly over recording times [from, to) [s].
  static DamagePlan every_kind(double from, double to);

  // Damages the lines of one record of the given kind, written at time
  // seconds, if a damage of that kind is due.
  void apply(LineKind kind, double seconds, std::vector<std::string>& lines);

 private:
  struct Due {
    double seconds;
    Damage damage;
    int records_left;
  };
  std::vector<Due> due_;
};

// Consecutive short CTD lines of the ctd_short_run damage.
constexpr int kShortRunLines = 22;

}  // namespace vekasim
