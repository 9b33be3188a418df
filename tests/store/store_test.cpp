#include "store/store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/console.h"
#include "driver/batch.h"
#include "support/support.h"

namespace veka {

namespace {

bool is_clear(const ZeroPages& table) {
  const char* bytes = static_cast<const char*>(table.data());
  return std::all_of(bytes, bytes + table.bytes(), [](char b) { return b == 0; });
}

// The bundled recording through every stage, with the shape file and the
// counts as counted that the spectrum exports read, so that every kind of
// table is written.
void process_bundled_recording(const support::ScratchDir& dir) {
  std::filesystem::copy_file(std::string(VEKA_SOURCE_DIR) + "/samples/VK1.dat",
                             dir.path() + "VK1.dat");
  std::vector<std::string> arguments = support::standard_arguments(dir.path(), "VK", dir.path());
  arguments[56] = "1";
  store.keeps_counts_as_counted = true;
  reset_store();
  support::load_arguments(arguments);
  store.file_number = 1;
  store.file_number_text = "1";
  console::Capture quiet;
  process_file();
}

}  // namespace

TEST(ResetStore, ClearsEveryLargeTableAfterAFullFile) {
  support::ScratchDir dir;
  process_bundled_recording(dir);
  // The file has written every table but the shape picture, which the
  // particle analysis clears itself after each batch of particles.
  size_t written = 0;
  for (const ZeroPages* table : store.large_tables) written += is_clear(*table) ? 0 : 1;
  EXPECT_EQ(written, store.large_tables.size() - 1);
  reset_store();
  for (size_t t = 0; t < store.large_tables.size(); ++t) {
    EXPECT_TRUE(is_clear(*store.large_tables[t])) << "table " << t << " of store.h";
  }
}

TEST(ResetStore, LeavesNoValueOfThePreviousFile) {
  reset_store();
  store.ctd[17][kCtdVolume] = 1.5;
  store.bin_counts[500][1100] = 3.0;
  store.mep_sorted[kMepRecords].particle = 9;
  store.shape_image[300][4000] = 5;
  store.output_base_name = "out/W1_r1";
  store.nbss_values[68] = -5.0;
  store.report_profile[1][kCtdScans] = 0.5;
  store.file_number = 12;
  store.batch_started = 1;
  reset_store();
  EXPECT_EQ(store.ctd[17][kCtdVolume], 0.0);
  EXPECT_EQ(store.bin_counts[500][1100], 0.0);
  EXPECT_EQ(store.mep_sorted[kMepRecords].particle, 0);
  EXPECT_EQ(store.shape_image[300][4000], 0);
  EXPECT_EQ(store.output_base_name, "");
  EXPECT_EQ(store.nbss_values[68], 0.0);
  EXPECT_EQ(store.report_profile[1][kCtdScans], 0.0);
  // What lives across the files of a run stays.
  EXPECT_EQ(store.file_number, 12);
  EXPECT_EQ(store.batch_started, 1);
  store.batch_started = 0;
}

}  // namespace veka
