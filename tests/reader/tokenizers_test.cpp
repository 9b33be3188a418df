#include "reader/tokenizers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "store/store.h"
#include "support/support.h"

namespace veka {

using support::ScratchDir;
using support::write_file;

class ReaderTokenizerTest : public ::testing::Test {
 protected:
  // Opens a data file holding `text` and takes its first character, as the
  // reader does before it hands a line to a tokenizer.
  void open_line(const std::string& text) {
    reset_store();
    store.ctd_field_count = 4;
    write_file(dir_.path() + "T1.dat", text);
    store.data_file.open(dir_.path() + "T1.dat");
    store.data_file.read_char();
  }
  CtdLineEnd ctd(const std::string& line, bool first_two_phases = false) {
    open_line(line);
    return read_ctd_values(first_two_phases);
  }
  std::vector<double> values(int n) const {
    return std::vector<double>(store.ctd_values + 1, store.ctd_values + 1 + n);
  }
  // The fields of the rest of the line, with the character that ended each.
  std::vector<std::pair<std::string, int>> fields(const std::string& line, int n) {
    open_line(line);
    LineReader reader(store.data_file);
    std::vector<std::pair<std::string, int>> result;
    for (int i = 0; i < n; ++i) {
      int c = read_field(reader);
      result.emplace_back(std::string(store.token_text.view()), c);
    }
    return result;
  }
  ScratchDir dir_;
};

using Values = std::vector<double>;

TEST_F(ReaderTokenizerTest, CtdLineIsCompleteShortOrLong) {
  EXPECT_EQ(ctd("C 1 2 3 4"), CtdLineEnd::complete);
  EXPECT_EQ(values(4), (Values{1, 2, 3, 4}));
  EXPECT_EQ(ctd("C 1 2 3 4\r\n"), CtdLineEnd::complete);
  EXPECT_EQ(ctd("C 1 2 3"), CtdLineEnd::short_value);
  EXPECT_EQ(store.field_index, 3);
  EXPECT_EQ(ctd("C 1 2 3 4 5"), CtdLineEnd::extra_data);
  EXPECT_EQ(store.ctd_values[5], 5.0);
  // A trailing separator leaves the last value empty in the main pass and
  // ends the line before a value in the first two phases.
  EXPECT_EQ(ctd("C 1 2 "), CtdLineEnd::short_value);
  EXPECT_EQ(ctd("C 1 2 3 "), CtdLineEnd::empty_value);
  EXPECT_EQ(ctd("C 1 2 3 4 "), CtdLineEnd::complete);
  EXPECT_EQ(ctd("C 1 2 3 ", true), CtdLineEnd::ended_before_value);
  EXPECT_EQ(ctd("C", true), CtdLineEnd::ended_before_value);
  EXPECT_EQ(ctd("C"), CtdLineEnd::short_value);
}

TEST_F(ReaderTokenizerTest, SignsAndCommasSeparateCtdValues) {
  EXPECT_EQ(ctd("C 5.0-3.0 1 2"), CtdLineEnd::complete);
  EXPECT_EQ(values(4), (Values{5.0, -3.0, 1, 2}));
  EXPECT_EQ(ctd("C12.34,33.10,8.512-1.50"), CtdLineEnd::complete);
  EXPECT_EQ(values(4), (Values{12.34, 33.10, 8.512, -1.50}));
  EXPECT_EQ(ctd("C,1,,2 , 3 4"), CtdLineEnd::complete);
  EXPECT_EQ(values(4), (Values{1, 2, 3, 4}));
  // "+" in front of the first value is part of it; after the first value
  // it separates and is dropped.
  EXPECT_EQ(ctd("C +7.5 1 2+3"), CtdLineEnd::complete);
  EXPECT_EQ(values(4), (Values{7.5, 1, 2, 3}));
  EXPECT_EQ(ctd("C 1+2 3 4 5"), CtdLineEnd::complete);
  EXPECT_EQ(values(4), (Values{0, 3, 4, 5}));  // "1+2" is not a number
  // A "-" at the line end becomes a value of its own in the main pass.
  EXPECT_EQ(ctd("C 1 2 3-"), CtdLineEnd::complete);
  EXPECT_EQ(values(4), (Values{1, 2, 3, 0}));
}

TEST_F(ReaderTokenizerTest, LongCtdValuesAreCutAtEightAndDropTheLineAtThirteen) {
  EXPECT_EQ(ctd("C 12.3456789 1 2 3"), CtdLineEnd::complete);
  EXPECT_EQ(store.ctd_values[1], 12.34567);
  EXPECT_EQ(ctd("C 1 123456789012 2 3"), CtdLineEnd::complete);  // 12 characters
  EXPECT_EQ(store.ctd_values[2], 12345678.0);
  EXPECT_EQ(ctd("C 1 1234567890123 2 3"), CtdLineEnd::abandoned);
  EXPECT_EQ(store.ctd_values[1], 1.0);                             // what was stored before stays
  EXPECT_EQ(ctd("C 1 2 3 1234567890123"), CtdLineEnd::abandoned);  // also at the line end
  // The "-" that starts a value after a sign separator is not counted.
  EXPECT_EQ(ctd("C 1-123456789012 2 3"), CtdLineEnd::complete);
  EXPECT_EQ(store.ctd_values[2], -1234567.0);
}

TEST_F(ReaderTokenizerTest, FirstTwoPhasesSaveValuesOneToThreeBeforeEachStore) {
  open_line("C 7 8");
  store.ctd_values[1] = 1, store.ctd_values[2] = 2, store.ctd_values[3] = 3;
  EXPECT_EQ(read_ctd_values(true), CtdLineEnd::short_value);
  // The short value 8 is not stored; the save before storing 7 holds 1, 2, 3.
  EXPECT_EQ(std::vector<double>(store.saved_ctd_values + 1, store.saved_ctd_values + 4),
            (Values{1, 2, 3}));
  EXPECT_EQ(values(3), (Values{7, 2, 3}));
}

TEST_F(ReaderTokenizerTest, FieldsEndAtSingleBlanksAndDropCommas) {
  auto f = fields("L5,0,3 12  7", 5);
  EXPECT_EQ(f[0], std::make_pair(std::string("503"), int(' ')));
  EXPECT_EQ(f[1], std::make_pair(std::string("12"), int(' ')));
  EXPECT_EQ(f[2], std::make_pair(std::string(""), int(' ')));  // two blanks: an empty field
  EXPECT_EQ(f[3], std::make_pair(std::string("7"), int(DataFile::kEmpty)));
  EXPECT_EQ(f[4], std::make_pair(std::string(""), int(DataFile::kEmpty)));
  EXPECT_EQ(store.next_char, DataFile::kEmpty);
  EXPECT_EQ(fields("L123456789 1", 1)[0].first, "12345678");
}

// The sweep over a line of plain counts against read_field and count_value
// field by field: where it takes a line, the same counts, last text, ending
// character and position, with nothing the general way would report; where
// it does not, nothing read.
TEST_F(ReaderTokenizerTest, PlainCountsReadAsTheGeneralWayReadsThem) {
  struct Case {
    const char* line;
    int32_t wanted;
    bool plain;
  };
  const Case cases[] = {{"L0 1 2 3", 4, true},
                        {"L0 1 2 3", 2, true},
                        {"L0 1 2 3 ", 4, true},
                        {"L7", 1, true},
                        {"L12 345 6789\r\n", 3, true},
                        {"L99999999 1", 2, true},
                        {"L00000012 0", 2, true},
                        {"L0 1 2 3", 5, false},
                        {"L0 1 2 ", 4, false},
                        {"L", 1, false},
                        {"L 5", 2, false},
                        {"L1  2", 2, false},
                        {"L123456789 2", 2, false},
                        {"L5,0,3 1", 2, false},
                        {"L-5 +5", 2, false},
                        {"L1.5 2", 2, false},
                        {"L1\r2 3", 2, false},
                        {"L1\t2", 2, false},
                        {"L\xff\x31 2", 2, false},
                        {"L2147483648 9", 2, false}};
  for (const Case& test : cases) {
    open_line(test.line);
    std::vector<int32_t> general;
    std::vector<int> ended_by;
    size_t general_left = 0;
    {
      LineReader reader(store.data_file);
      for (int32_t i = 0; i < test.wanted; ++i) {
        ended_by.push_back(read_field(reader));
        general.push_back(count_value(store.token_text));
      }
      general_left = reader.rest().size();
    }
    const std::string general_text(store.token_text.view());

    open_line(test.line);
    LineReader reader(store.data_file);
    const size_t before = reader.rest().size();
    std::vector<int32_t> plain(static_cast<size_t>(test.wanted));
    TokenText text{};
    int c = 0;
    ASSERT_EQ(read_plain_counts(reader, test.wanted, plain.data(), text, c), test.plain)
        << test.line;
    if (!test.plain) {
      EXPECT_EQ(reader.rest().size(), before) << test.line;
      continue;
    }
    EXPECT_EQ(plain, general) << test.line;
    EXPECT_EQ(std::string(text.view()), general_text) << test.line;
    EXPECT_EQ(c, ended_by.back()) << test.line;
    EXPECT_EQ(reader.rest().size(), general_left) << test.line;
    ended_by.pop_back();
    for (int e : ended_by) EXPECT_EQ(e, ' ') << test.line;  // no line ended early
  }
}

TEST_F(ReaderTokenizerTest, CountAndRealConversions) {
  auto count = [](const char* text) {
    TokenText t{};
    for (const char* p = text; *p; ++p) t.append(*p);
    return count_value(t);
  };
  EXPECT_EQ(count("503"), 503);
  EXPECT_EQ(count(""), 0);
  EXPECT_EQ(count("-5"), -5);
  EXPECT_EQ(count("+5"), 5);
  EXPECT_EQ(count("1.5"), 0);
  EXPECT_EQ(count("x"), 0);
  EXPECT_EQ(count("99999999"), 99999999);

  auto real = [](const std::string& text) {
    TokenText t{};
    for (char c : text) t.append(c);
    return real_value(t);
  };
  EXPECT_EQ(real("1e3"), 1000.0);
  EXPECT_EQ(real("."), 0.0);
  EXPECT_EQ(real("+.5"), 0.5);
  EXPECT_EQ(real("1.2.3"), 0.0);
  EXPECT_EQ(real("1e999"), 0.0);  // beyond the double range
  EXPECT_TRUE(std::signbit(real("-0.0")));
  // The short way for plain decimals gives the general conversion's bits.
  char text[16];
  for (int i = 0; i < 200000; ++i) {
    unsigned x = 2654435761u * static_cast<unsigned>(i);
    int decimals = static_cast<int>(x % 8);
    std::snprintf(text, sizeof text, "%s%.*f", (x & 8) ? "-" : "", decimals,
                  (x >> 4) % 100000000 / std::pow(10.0, decimals));
    std::string s = std::string(text).substr(0, 8);
    ASSERT_EQ(real(s), token_real(s)) << s;
  }
}

TEST(ReaderDataFileLines, RestOfLineReadsWhatReadCharReads) {
  ScratchDir dir;
  // Lines around the longest length the line index keeps.
  const std::string content = "ab\r\r\nc\rd\n\n" + std::string(65534, 'x') + "\n" +
                              std::string(65535, 'y') + "\r\n" + std::string(70000, 'z') +
                              "\nlast\r";
  write_file(dir.path() + "R.dat", content);
  DataFile one_by_one;
  DataFile in_bulk;
  one_by_one.open(dir.path() + "R.dat");
  in_bulk.open(dir.path() + "R.dat");
  for (int line = 0; line < 8; ++line) {
    std::string expected;
    for (int c = one_by_one.read_char(); c != DataFile::kEmpty; c = one_by_one.read_char()) {
      expected += static_cast<char>(c);
    }
    std::string_view rest = in_bulk.rest_of_line();
    EXPECT_EQ(std::string(rest), expected) << "line " << line;
    in_bulk.consume(rest.size());
    EXPECT_EQ(in_bulk.position(), one_by_one.position());
    one_by_one.skip_line();
    in_bulk.skip_line();
  }
  EXPECT_TRUE(in_bulk.at_end());
  in_bulk.rewind();
  EXPECT_EQ(in_bulk.rest_of_line(), "ab\r");
}

}  // namespace veka
