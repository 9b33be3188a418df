#include "reader/tokenizers.h"

#include "common/numbers.h"
#include "store/store.h"

namespace veka {

namespace {

// A value is dropped with its whole line when its characters, counted from
// the first, reach this number.
constexpr int32_t kAbandonLength = 13;
constexpr int32_t kStoredValues = 11;

bool ends_ctd_value(int c, int32_t field_index) {
  return c == ' ' || c == DataFile::kEmpty || c == ',' || c == '-' ||
         (c == '+' && field_index > 0);
}

void store_ctd_value(bool first_two_phases) {
  Store& s = store;
  if (s.field_index > kStoredValues) return;
  if (first_two_phases) {
    for (int i = 1; i <= 3; ++i) s.saved_ctd_values[i] = s.ctd_values[i];
  }
  s.ctd_values[s.field_index] = token_real(s.token_text.view());
}

}  // namespace

CtdLineEnd read_ctd_values(bool first_two_phases) {
  Store& s = store;
  DataFile& file = s.data_file;
  const int32_t expected = s.ctd_field_count;
  s.field_index = 0;
  s.token_text.clear();
  s.token_chars = 0;
  for (;;) {
    int c = file.read_char();
    if (c == DataFile::kEmpty) {
      if (s.field_index == expected) return CtdLineEnd::complete;
      if (s.field_index > expected) return CtdLineEnd::extra_data;
      if (first_two_phases) return CtdLineEnd::ended_before_value;
      // Otherwise a value is collected from the line end: it comes out empty
      // (or "-") and the checks below reject the line.
    } else if (c == ' ' || c == ',') {
      continue;
    } else {
      s.token_text.append(c);
    }
    for (;;) {
      c = file.read_char();
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

int read_field() {
  Store& s = store;
  DataFile& file = s.data_file;
  TokenText& text = s.token_text;
  text.clear();
  for (;;) {
    int c = file.read_char();
    if (c == ' ' || c == DataFile::kEmpty) {
      s.next_char = c;
      return c;
    }
    if (c != ',') text.append(c);
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

double real_value(const TokenText& text) { return token_real(text.view()); }

}  // namespace veka
