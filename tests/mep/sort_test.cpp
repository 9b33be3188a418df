#include "mep/sort.h"

#include <gtest/gtest.h>

#include "common/console.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int32_t kFlag = 32768;

class MepSortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_store();
    store.mep_duration_limit = 1000;
  }
  static void add(int32_t element, int32_t time, int32_t duration, int32_t size, int32_t step = 1) {
    store.mep_elements[++store.mep_count] = {element, time, duration, size, step};
  }
  // A particle of three records at elements 1, 2, 3 (flag on the first).
  static void add_three(int32_t time_spread = 0, int32_t duration = 5, int32_t size = 100,
                        int32_t third_element = 3) {
    add(1, 100, duration, size + kFlag);
    add(2, 100 + time_spread, 5, 100);
    add(third_element, 100, 5, 100);
  }
  static std::string sort() {
    console::Capture capture;
    sort_meps();
    return capture.text();
  }
  static const SortedMepElement& sorted(int32_t i) { return store.mep_sorted[i]; }
};

TEST_F(MepSortTest, TimeWrapsForwardAndBack) {
  add(1, 65000, 5, 10 + kFlag);
  add(2, 100, 5, 10);  // falls back by more than 3000: one wrap
  add(3, 200, 5, 10);
  add(4, 65400, 5, 10);  // jumps forward by more than 62536: the wrap is undone
  add(5, 500, 5, 10);
  add(6, 62400, 5, 10);  // jumps forward by 61900: no change
  add(7, 59400, 5, 10);  // falls back by exactly 3000: no wrap
  add(8, 56399, 5, 10);  // falls back by 3001: one wrap
  sort();
  const int32_t expected[] = {0, 65000, 65636, 65736, 65400, 66036, 127936, 124936, 187471};
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(store.mep_elements[i].time, expected[i]) << i;
}

TEST_F(MepSortTest, RecordsBeforeTheFirstFlagJoinTheFirstParticle) {
  add(9, 10, 5, 50);
  add(8, 10, 5, 50);
  add(7, 10, 5, 50 + kFlag);
  add(6, 10, 5, 50);
  add(3, 10, 5, 60 + kFlag);
  add(2, 10, 5, 60);
  sort();
  // Records 1..4 form the first particle, reversed: 6, 7, 8, 9.
  const int32_t elements[] = {0, 6, 7, 8, 9, 2, 3};
  const int32_t particles[] = {0, 1, 1, 0, 0, 2, 2};
  const int32_t counts[] = {0, 4, 4, 4, 4, 2, 2};
  for (int i = 1; i <= 6; ++i) {
    EXPECT_EQ(sorted(i).element, elements[i]) << i;
    EXPECT_EQ(sorted(i).particle, particles[i]) << i;
    EXPECT_EQ(sorted(i).element_count, counts[i]) << i;
  }
  EXPECT_EQ(sorted(2).size, 50);  // the flag is removed
}

TEST_F(MepSortTest, SizeOfExactly32000ContinuesTheParticle) {
  add(1, 10, 5, 40 + kFlag);
  add(2, 10, 5, 32000);
  add(3, 10, 5, 32001);
  sort();
  EXPECT_EQ(store.mep_sorted[2].element_count, 2);
  EXPECT_EQ(store.mep_sorted[1].size, 32000);  // reversed: 32000 comes first
  EXPECT_EQ(store.mep_sorted[2].size, 40);
  EXPECT_EQ(store.mep_sorted[3].size, 32001 - kFlag);
  EXPECT_EQ(store.mep_sorted[3].particle, 2);
  EXPECT_EQ(store.mep_sorted[3].element_count, 1);
}

TEST_F(MepSortTest, ReversalGivesAscendingElements) {
  add(7, 10, 1, 40 + kFlag);
  add(6, 11, 2, 41);
  add(5, 12, 3, 42);
  add(4, 13, 4, 43 + kFlag);
  sort();
  EXPECT_EQ(sorted(1).element, 5);
  EXPECT_EQ(sorted(1).time, 12);
  EXPECT_EQ(sorted(1).duration, 3);
  EXPECT_EQ(sorted(2).element, 6);
  EXPECT_EQ(sorted(3).element, 7);
  EXPECT_EQ(sorted(3).size, 40);
  EXPECT_EQ(sorted(4).element, 4);  // a last one-record particle stays
}

TEST_F(MepSortTest, EachRejectionTestAtAndBeyondItsBound) {
  add_three(1450);                 // 1: spread 1450 kept
  add_three(1451);                 // 4: spread 1451 rejected
  add_three(0, 1000);              // 7: duration 1000 kept
  add_three(0, 1001);              // 10: duration 1001 rejected
  add_three(0, 5, 4096);           // 13: size 4096 kept
  add_three(0, 5, 4097);           // 16: size 4097 rejected
  add_three(0, 5, 0);              // 19: zero size rejected
  add_three(0, 5, 100, 2);         // 22: repeated element rejected
  add_three(1451, 1001, 4097, 2);  // 25: every test fires, counted once
  add(9, 10, 5, 0 + kFlag);        // 28: a last one-record particle is not examined
  sort();
  const bool rejected[] = {false, true, false, true, false, true, true, true, true};
  for (int k = 0; k < 9; ++k) {
    for (int i = 1; i <= 3; ++i) {
      EXPECT_EQ(sorted(3 * k + i).element == -1, rejected[k]) << "particle " << k + 1;
    }
  }
  EXPECT_EQ(sorted(28).element, 9);
  EXPECT_EQ(store.mep_reject_count, 6);
}

TEST_F(MepSortTest, ConsoleLines) {
  add(3, 70000, 5, 100 + kFlag);
  add(4, 70010, 5, 100);
  add(5, 70020, 5, 0 + kFlag);
  add(6, 70030, 5, 100);
  add(8, 70040, 5, 100 + kFlag);
  EXPECT_EQ(sort(),
            " Started Sorting Multi element bugs\r\n"
            "STarted Multi-Bug Loop\r\n"
            "Final Multi-bug time    70040 # multi-bugs       3 nm       5\r\n"
            "Finished sorting MEPs       3 bugs at nm=       5  MEP_rejects=       1\r\n");
}

TEST_F(MepSortTest, NoRecords) {
  EXPECT_EQ(sort(),
            " Started Sorting Multi element bugs\r\n"
            "STarted Multi-Bug Loop\r\n"
            "Final Multi-bug time        0 # multi-bugs       0 nm       0\r\n"
            "Finished sorting MEPs       0 bugs at nm=       0  MEP_rejects=       0\r\n");
}

TEST_F(MepSortTest, WithoutAnyFlagAllRecordsFormOneParticle) {
  add(1, 10, 5, 50);
  add(2, 10, 5, 50);
  add(3, 10, 5, 50);
  sort();
  EXPECT_EQ(sorted(1).element, 3);
  EXPECT_EQ(sorted(1).element_count, 3);
  EXPECT_EQ(sorted(3).particle, 0);
}

}  // namespace

}  // namespace veka
