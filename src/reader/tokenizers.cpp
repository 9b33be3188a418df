#include "reader/tokenizers.h"

#include "common/numbers.h"
#include "store/store.h"

namespace veka {

namespace {

// A value of this many characters or more drops its whole line: the count
// of characters read after the first one reaches it on the value's end.
constexpr int32_t kAbandonLength = 13;
constexpr int32_t kStoredValues = 11;

bool ends_ctd_value(int c, int32_t field_index) {
  return c == ' ' || c == DataFile::kEmpty || c == ',' || c == '-' || (c == '+' && field_index > 0);
}

void store_ctd_value(bool first_two_phases) {
  Store& s = store;
  if (s.field_index > kStoredValues) return;
  if (first_two_phases) {
    for (int i = 1; i <= 3; ++i) s.saved_ctd_values[i] = s.ctd_values[i];
  }
  s.ctd_values[s.field_index] = real_value(s.token_text);
}

}  // namespace

CtdLineEnd read_ctd_values(bool first_two_phases) {
  Store& s = store;
  LineReader line(s.data_file);
  const int32_t expected = s.ctd_field_count;
  s.field_index = 0;
  s.token_text.clear();
  s.token_chars = 0;
  for (;;) {
    int c = line.read_char();
    if (c == DataFile::kEmpty) {
      if (s.field_index == expected) return CtdLineEnd::complete;
      if (s.field_index > expected) return CtdLineEnd::extra_data;
      if (first_two_phases) return CtdLineEnd::ended_before_value;
      // Otherwise a value is collected from the line end: an empty one is
      // rejected below, a "-" left by a sign separator converts to 0.
    } else if (c == ' ' || c == ',') {
      continue;
    } else {
      s.token_text.append(c);
    }
    for (;;) {
      c = line.read_char();
      if (++s.token_chars == kAbandonLength) return CtdLineEnd::abandoned;
      if (ends_ctd_value(c, s.field_index)) break;
      s.token_text.append(c);
    }
    ++s.field_index;
    if (c == DataFile::kEmpty) {
      if (s.field_index < expected) return CtdLineEnd::short_value;
      if (s.token_text.empty()) return CtdLineEnd::empty_value;
    }
    store_ctd_value(first_two_phases);
    s.token_chars = 0;
    s.token_text.clear();
    if (c == '-') s.token_text.append('-');
  }
}

int32_t count_value(const TokenText& text) {
  // Counts are almost always plain digits; at most 8 of them cannot
  // overflow. Anything else takes the general conversion.
  int32_t value = 0;
  for (int32_t i = 0; i < text.length; ++i) {
    unsigned digit = static_cast<unsigned>(text.chars[i] - '0');
    if (digit > 9) return token_integer(text.view());
    value = value * 10 + static_cast<int32_t>(digit);
  }
  return value;
}

double real_value(const TokenText& text) {
  // Plain decimals (at most 8 characters, so at most 8 digits) take the
  // exact short way: a whole number and a power of ten that are both exact
  // doubles give the correctly rounded quotient, as the general conversion
  // does. Exponents and anything unusual take the general conversion.
  static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
  int32_t i = 0;
  bool negative = false;
  if (text.length > 0 && (text.chars[0] == '-' || text.chars[0] == '+')) {
    negative = text.chars[0] == '-';
    i = 1;
  }
  int64_t whole = 0;
  int32_t digits = 0;
  int32_t decimals = 0;
  bool point = false;
  for (; i < text.length; ++i) {
    char c = text.chars[i];
    if (c >= '0' && c <= '9') {
      whole = whole * 10 + (c - '0');
      ++digits;
      if (point) ++decimals;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return token_real(text.view());
    }
  }
  if (digits == 0) return 0.0;
  double value = static_cast<double>(whole) / kPowersOfTen[decimals];
  return negative ? -value : value;
}

}  // namespace veka
