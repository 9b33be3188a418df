#include "store/arguments.h"

#include "common/fatal.h"
#include "common/numbers.h"
#include "store/store.h"

namespace veka {

const std::string& argument_text(int number) {
  static const std::string missing;
  if (number < 0 || number >= static_cast<int>(store.arguments.size())) return missing;
  return store.arguments[number];
}

int32_t argument_integer(int number) {
  const std::string& text = argument_text(number);
  auto value = parse_integer(text);
  if (!value) fatal("\"" + text + "\" is not a valid integer value");
  return *value;
}

double argument_real(int number) {
  const std::string& text = argument_text(number);
  auto value = parse_real(text);
  if (!value) fatal("\"" + text + "\" is not a valid floating point value");
  return *value;
}

AnalysisOption analysis_option() {
  return static_cast<AnalysisOption>(argument_integer(60));
}

}  // namespace veka
