// vekaproc: batch post-processor of VEKA counter recordings. Everything is
// controlled by 61 positional arguments; see the README for the list.
#include <exception>

#include "common/console.h"
#include "common/fatal.h"
#include "driver/batch.h"
#include "store/store.h"

namespace {

// The fatal report continues a console line left open, like any other text.
int report_fatal(const char* message) {
  try {
    veka::console::line(message);
    veka::console::flush();
  } catch (const veka::FatalError&) {
    // The console itself failed; the exit code still tells.
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  veka::install_float_traps();
  veka::store.arguments.assign(argv, argv + argc);
  try {
    int code = veka::run_batch();
    veka::console::flush();
    return code;
  } catch (const veka::FatalError& error) {
    return report_fatal(error.what());
  } catch (const veka::ProgramStop& stop) {
    veka::console::flush();
    return stop.exit_code();
  }
}
