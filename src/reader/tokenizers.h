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

// The usual SEP or MEP line: from the current position on, `wanted`
// fields of 1 to 8 plain digits, each followed by a single blank, the last
// one by a blank or the line end. Such fields hold no comma to drop and fit
// in the text, none is empty and none ends the line early, so read_field
// and count_value one field at a time would give exactly their digits and
// values and report nothing. This reads them in one sweep into
// counts[0..wanted-1], leaves the last field's text and ending character
// in `text` and `ended_by`, as read_field does, and moves past them.
// Returns false, having moved nothing, for any other line (counts may then
// be partly written).
inline bool read_plain_counts(LineReader& line, int32_t wanted, int32_t counts[], TokenText& text,
                              int& ended_by) {
  const std::string_view rest = line.rest();
  const char* p = rest.data();
  const char* const end = p + rest.size();
  const char* last_field = p;
  int last_end = ' ';
  for (int32_t i = 0; i < wanted; ++i) {
    const char* const digits = p;
    // Most counts are a single digit.
    if (end - p >= 2 && static_cast<unsigned>(p[0] - '0') <= 9 && p[1] == ' ') {
      counts[i] = p[0] - '0';
      last_field = digits;
      last_end = ' ';
      p += 2;
      continue;
    }
    const char* const longest = p + std::min(end - p, std::ptrdiff_t{TokenText::kCapacity});
    int32_t value = 0;
    for (; p < longest && static_cast<unsigned>(*p - '0') <= 9; ++p)
      value = value * 10 + (*p - '0');
    // A field that ends the line before the last one leaves the next empty.
    if (p == digits || (p < end && *p != ' ')) return false;
    counts[i] = value;
    last_field = digits;
    last_end = p == end ? DataFile::kEmpty : ' ';
    if (p < end) ++p;
  }
  const char* const last_digits_end = last_end == ' ' ? p - 1 : p;
  text.length = static_cast<int32_t>(last_digits_end - last_field);
  std::copy(last_field, last_digits_end, text.chars);
  ended_by = last_end;
  line.skip(static_cast<size_t>(p - rest.data()));
  return true;
}

}  // namespace veka
