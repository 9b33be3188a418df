// What the repository says about the settings stays what the settings table
// says: the README's argument reference and the sample's settings file.
#include "frontend/settings_reference.h"

#include <gtest/gtest.h>

#include <string>

#include "frontend/settings_file.h"
#include "support/support.h"

namespace veka {

namespace {

const std::string kSource = VEKA_SOURCE_DIR;

TEST(SettingsReference, TheReadmeShowsTheTable) {
  const std::string readme = support::read_file(kSource + "/README.md");
  const std::string begin = "<!-- vekaproc help keys --markdown -->\n\n";
  const std::string end = "<!-- end of vekaproc help keys --markdown -->";
  const size_t from = readme.find(begin);
  const size_t to = readme.find(end);
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  EXPECT_EQ(readme.substr(from + begin.size(), to - from - begin.size()), keys_markdown())
      << "print the tables again with: build/src/vekaproc help keys --markdown";
}

TEST(SettingsReference, TheSampleSettingsAreTheSampleRun) {
  const std::string readme = support::read_file(kSource + "/README.md");
  const ArgumentLine sample = read_settings_file(kSource + "/samples/VK1.toml", {});
  EXPECT_NE(readme.find("\n" + command_line_text(sample) + "\n"), std::string::npos);
  EXPECT_EQ(support::read_file(kSource + "/samples/VK1.toml"), settings_file_text(sample))
      << "write it again with: build/src/vekaproc settings $(build/src/vekaproc args "
         "samples/VK1.toml) > samples/VK1.toml";
}

}  // namespace

}  // namespace veka
