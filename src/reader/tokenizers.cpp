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

// The tokenizer itself, made part of both of its callers below: the
// reader's call is on the hot path of every pass.
inline CtdLineEnd tokenize_ctd_line(LineReader& line, int32_t expected, bool first_two_phases,
                                    const CtdTokens& tokens) {
  // Worked on in local copies, which the compiler keeps apart from the
  // values written through pointers.
  TokenText text;
  text.clear();
  int32_t field_index = 0;
  int32_t token_chars = 0;
  auto ended = [&](CtdLineEnd end) {
    tokens.text = text;
    tokens.field_index = field_index;
    tokens.token_chars = token_chars;
    return end;
  };
  for (;;) {
    int c = line.read_char();
    if (c == DataFile::kEmpty) {
      if (field_index == expected) return ended(CtdLineEnd::complete);
      if (field_index > expected) return ended(CtdLineEnd::extra_data);
      if (first_two_phases) return ended(CtdLineEnd::ended_before_value);
      // Otherwise a value is collected from the line end: an empty one is
      // rejected below, a "-" left by a sign separator converts to 0.
    } else if (c == ' ' || c == ',') {
      continue;
    } else {
      text.append(c);
    }
    for (;;) {
      c = line.read_char();
      if (++token_chars == kAbandonLength) return ended(CtdLineEnd::abandoned);
      if (ends_ctd_value(c, field_index)) break;
      text.append(c);
    }
    ++field_index;
    if (c == DataFile::kEmpty) {
      if (field_index < expected) return ended(CtdLineEnd::short_value);
      if (text.empty()) return ended(CtdLineEnd::empty_value);
    }
    if (field_index <= kStoredValues) {
      if (first_two_phases) {
        for (int i = 1; i <= 3; ++i) tokens.saved_values[i] = tokens.values[i];
      }
      tokens.values[field_index] = real_value(text);
    }
    token_chars = 0;
    text.clear();
    if (c == '-') text.append('-');
  }
}

}  // namespace

CtdLineEnd read_ctd_values(LineReader& line, int32_t expected, bool first_two_phases,
                           const CtdTokens& tokens) {
  return tokenize_ctd_line(line, expected, first_two_phases, tokens);
}

CtdLineEnd read_ctd_values(bool first_two_phases) {
  Store& s = store;
  LineReader line(s.data_file);
  return tokenize_ctd_line(
      line, s.ctd_field_count, first_two_phases,
      {s.ctd_values, s.saved_ctd_values, s.token_text, s.field_index, s.token_chars});
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
