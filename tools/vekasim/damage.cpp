#include "vekasim/damage.h"

#include <algorithm>
#include <iterator>

#include "vekasim/sink.h"

namespace vekasim {

// Interleaved by line kind, so that the damage of each kind spreads over
// the whole stretch of recording.
constexpr Damage kEveryDamage[] = {
    Damage::ctd_extra_value,
    Damage::sep_bad_line_number,
    Damage::mep_no_blank,
    Damage::ctd_ends_after_separator,
    Damage::sep_blank_line_number,
    Damage::mep_double_blank,
    Damage::ctd_ends_in_value,
    Damage::sep_character_after_line_number,
    Damage::mep_three_fields,
    Damage::ctd_long_value,
    Damage::sep_short_line,
    Damage::ctd_short_run,
    Damage::sep_double_blank,
    Damage::ctd_depth_spike,
    Damage::sep_not_an_l_line,
    Damage::ctd_hot,
    Damage::status_character_after_line_number,
    Damage::ctd_conductive,
    Damage::status_few_values,
    Damage::status_empty_last_value,
};

// Depth jump of a spike [m]; readers filter jumps above 3 m.
constexpr double kSpikeHeight = 4.5;

static LineKind line_kind(Damage damage) {
  if (damage <= Damage::ctd_conductive) return LineKind::ctd;
  if (damage <= Damage::status_empty_last_value) return LineKind::sep;
  return LineKind::mep;
}

DamagePlan DamagePlan::every_kind(double from, double to) {
  DamagePlan plan;
  const double spacing = (to - from) / std::size(kEveryDamage);
  double seconds = from;
  for (Damage damage : kEveryDamage) {
    plan.due_.push_back({seconds, damage, damage == Damage::ctd_short_run ? kShortRunLines : 1});
    seconds += spacing;
  }
  return plan;
}

// Lines are single-blank separated: the first n tokens, tag included.
static std::string first_tokens(const std::string& line, int n) {
  std::size_t end = 0;
  for (int i = 0; i < n && end != std::string::npos; ++i) end = line.find(' ', end + 1);
  return line.substr(0, end);
}

static std::size_t token_start(const std::string& line, int index) {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) start = line.find(' ', start) + 1;
  return start;
}

static std::string token(const std::string& line, int index) {
  const std::size_t start = token_start(line, index);
  return line.substr(start, line.find(' ', start) - start);
}

static void replace_token(std::string& line, int index, const std::string& text) {
  const std::size_t start = token_start(line, index);
  line.replace(start, line.find(' ', start) - start, text);
}

static void add_to_value(std::string& line, int index, double amount) {
  std::string value;
  append_fixed(value, std::stod(token(line, index)) + amount, 3);
  replace_token(line, index, value);
}

static int token_count(const std::string& line) {
  return static_cast<int>(std::count(line.begin(), line.end(), ' ')) + 1;
}

static void damage_ctd(Damage damage, std::string& line) {
  switch (damage) {
    case Damage::ctd_extra_value:
      line += " 7.413";
      break;
    case Damage::ctd_ends_after_separator:
      line = first_tokens(line, 4) + ' ';
      break;
    case Damage::ctd_ends_in_value:
      line = first_tokens(line, 4);
      break;
    case Damage::ctd_long_value:
      // Readers give up on a value of 13 characters or more.
      replace_token(line, 2, (token(line, 2) + "00000000").substr(0, 14));
      break;
    case Damage::ctd_short_run:
      line = first_tokens(line, 5);
      break;
    case Damage::ctd_depth_spike:
      add_to_value(line, 1, kSpikeHeight);
      break;
    case Damage::ctd_hot:
      add_to_value(line, 3, 30.0);
      break;
    case Damage::ctd_conductive:
      add_to_value(line, 2, 25.0);
      break;
    default:
      break;
  }
}

// lines holds L1 .. L5.
static void damage_sep(Damage damage, std::vector<std::string>& lines) {
  std::string& status = lines[4];
  switch (damage) {
    case Damage::sep_bad_line_number:
      lines[2][1] = '7';
      break;
    case Damage::sep_blank_line_number:
      lines[1][1] = ' ';
      break;
    case Damage::sep_character_after_line_number:
      lines[0][2] = 'x';
      break;
    case Damage::sep_short_line:
      lines[0] = first_tokens(lines[0], token_count(lines[0]) - 1);
      break;
    case Damage::sep_double_blank:
      lines[3].insert(lines[3].find(' ', 3), " ");
      break;
    case Damage::sep_not_an_l_line:
      lines[2][0] = 'l';
      break;
    case Damage::status_character_after_line_number:
      status[2] = 'x';
      break;
    case Damage::status_few_values:
      status = first_tokens(status, 6);
      break;
    case Damage::status_empty_last_value:
      status = first_tokens(status, 7) + ' ';
      break;
    default:
      break;
  }
}

// line is the record of the particle's lowest element, written last.
static void damage_mep(Damage damage, std::string& line) {
  switch (damage) {
    case Damage::mep_no_blank:
      line[1] = 'x';
      break;
    case Damage::mep_double_blank:
      line.insert(line.find(' ', 2), " ");
      break;
    case Damage::mep_three_fields:
      line = first_tokens(line, 4);
      break;
    default:
      break;
  }
}

void DamagePlan::apply(LineKind kind, double seconds, std::vector<std::string>& lines) {
  auto due = std::find_if(due_.begin(), due_.end(), [&](const Due& d) {
    return line_kind(d.damage) == kind && d.seconds <= seconds;
  });
  if (due == due_.end()) return;
  switch (kind) {
    case LineKind::ctd:
      damage_ctd(due->damage, lines.front());
      break;
    case LineKind::sep:
      damage_sep(due->damage, lines);
      break;
    case LineKind::mep:
      damage_mep(due->damage, lines.back());
      break;
  }
  if (--due->records_left == 0) due_.erase(due);
}

}  // namespace vekasim
