// Tokenizers of the data file. Each works on the rest of the current line of
// store.data_file, after the reader has taken the line's first character
// (and, for SEP lines, its line number), and never moves past the line end.
//
// CTD tokenizer: values separated by blanks and/or commas; a "-" ends a value
//   and starts the next, a "+" after the first value ends a value and is
//   dropped. Writes ctd_values[1..11], field_index, token_text, token_chars
//   and, in the first two phases, saved_ctd_values[1..3].
// Field tokenizer of SEP, L5 and MEP lines: a field ends at a single blank or
//   the line end, commas are dropped. Writes token_text and next_char.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/data_file.h"
#include "store/reader_state.h"
#include "store/store.h"

namespace veka {

// How a CTD line ended.
enum class CtdLineEnd {
  complete,            // exactly ctd_field_count values
  extra_data,          // the line ended after more than ctd_field_count values
  ended_before_value,  // first two phases: the line ended before a value started
  short_value,         // a value ended at the line end with fewer values stored
  empty_value,         // a value ended at the line end with empty text
  abandoned,           // a value of 13 or more characters; nothing of the line counts
};

// Reads the values of a CTD line. `first_two_phases` selects the rules of the
// profile scan and start search: a line end before a value starts stops the
// line at once, and every stored value first saves values 1..3.
CtdLineEnd read_ctd_values(bool first_two_phases);

// The rest of the current line, read character by character with the same
// results as DataFile::read_char but from a local view of the line; the file
// moves on by what was read when the LineReader goes out of scope.
class LineReader {
 public:
  explicit LineReader(DataFile& file) : file_(file) {
    std::string_view rest = file.rest_of_line();
    begin_ = rest.data();
    next_ = begin_;
    end_ = begin_ + rest.size();
  }
  ~LineReader() { file_.consume(static_cast<size_t>(next_ - begin_)); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  int read_char() { return next_ < end_ ? static_cast<unsigned char>(*next_++) : DataFile::kEmpty; }
  // The characters not read yet; skip(n) reads n of them at once.
  std::string_view rest() const { return {next_, static_cast<size_t>(end_ - next_)}; }
  void skip(size_t n) { next_ += n; }

 private:
  DataFile& file_;
  const char* begin_;
  const char* next_;
  const char* end_;
};

// What the CTD tokenizer fills: the values by their position on the line,
// the value being collected, and the count of values and of characters.
// The reader keeps them in the store; a reader of its own may keep them
// anywhere.
struct CtdTokens {
  double* values;        // [1..11]
  double* saved_values;  // [1..3], saved before each value in the first two phases
  TokenText& text;
  int32_t& field_index;
  int32_t& token_chars;
};

// The CTD tokenizer over the rest of the line, with `expected` values to a
// complete line.
CtdLineEnd read_ctd_values(LineReader& line, int32_t expected, bool first_two_phases,
                           const CtdTokens& tokens);

// Reads one field of an SEP, L5 or MEP line into `text` and returns the
// character that ended it: a blank, or DataFile::kEmpty at the line end,
// where every further field is empty.
inline int read_field(LineReader& line, TokenText& text) {
  text.clear();
  for (;;) {
    int c = line.read_char();
    if (c == ' ' || c == DataFile::kEmpty) return c;
    if (c != ',') text.append(c);
  }
}

// The same into token_text, with the ending character also left in
// next_char.
inline int read_field(LineReader& line) {
  int c = read_field(line, store.token_text);
  store.next_char = c;
  return c;
}

// Conversions of a field: text that is not a number (the empty text included)
// gives 0.
int32_t count_value(const TokenText& text);
double real_value(const TokenText& text);

// One field of an SEP or MEP line read as read_field reads it into `text`,
// with its count_value in `count`; returns the character that ended it.
// Nearly every field is a few plain digits before a blank or the line end
// (most often a single one): such a field holds no comma to drop and fits
// in the text, so taking its digits at once gives the same text, count,
// ending character and position as the general way, which every other
// field takes.
inline int read_count_field(LineReader& line, TokenText& text, int32_t& count) {
  const std::string_view rest = line.rest();
  auto digit_at = [&rest](size_t i) { return static_cast<unsigned>(rest[i] - '0'); };
  auto field_of = [&](size_t n, int32_t value) {
    text.length = static_cast<int32_t>(n);
    count = value;
    if (n == rest.size()) {
      line.skip(n);
      return DataFile::kEmpty;
    }
    line.skip(n + 1);
    return static_cast<int>(' ');
  };
  if (rest.size() >= 1 && digit_at(0) <= 9 && (rest.size() == 1 || rest[1] == ' ')) {
    text.chars[0] = rest[0];
    return field_of(1, static_cast<int32_t>(digit_at(0)));
  }
  const size_t limit = std::min(rest.size(), size_t{TokenText::kCapacity});
  size_t n = 0;
  int32_t value = 0;
  for (; n < limit && digit_at(n) <= 9; ++n) {
    text.chars[n] = rest[n];
    value = value * 10 + static_cast<int32_t>(digit_at(n));
  }
  if (n == rest.size() || rest[n] == ' ') return field_of(n, value);
  const int c = read_field(line, text);
  count = count_value(text);
  return c;
}

}  // namespace veka
