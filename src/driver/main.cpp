// vekaproc: batch post-processor of VEKA counter recordings. A command line
// of 61 positional arguments (see the README for the list) runs the batch
// as it always has; subcommands, options and any other command line go to
// the front end.
#include <exception>
#include <new>
#include <string>

#include "common/console.h"
#include "common/fatal.h"
#include "driver/batch.h"
#include "frontend/front_end.h"
#include "store/store.h"

namespace {

// The fatal report continues a console line left open, like any other text.
int report_fatal(const char* message) {
  try {
    veka::console::line(message);
    veka::console::flush();
  } catch (...) {
    // The console itself failed, or memory ran out; the exit code still tells.
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (!veka::is_positional_command_line(argc, argv)) return veka::front_end_main(argc, argv);
  veka::install_float_traps();
  veka::install_stop_signal_handlers();
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
  } catch (const std::bad_alloc&) {
    return report_fatal("Out of memory");
  } catch (const std::exception& error) {
    return report_fatal(("Unexpected error: " + std::string(error.what())).c_str());
  } catch (...) {
    return report_fatal("Unexpected error");
  }
}
