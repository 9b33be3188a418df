// vekaproc: batch post-processor of VEKA counter recordings. A command line
// of 61 positional arguments (see the README for the list) runs the batch
// as it always has; subcommands, options and any other command line go to
// the front end.
#include "common/fatal.h"
#include "driver/batch.h"
#include "frontend/front_end.h"
#include "store/store.h"

int main(int argc, char** argv) {
  if (!veka::is_positional_command_line(argc, argv)) return veka::front_end_main(argc, argv);
  veka::install_float_traps();
  veka::install_stop_signal_handlers();
  veka::store.arguments.assign(argv, argv + argc);
  return veka::run_to_exit_code([] { return veka::run_batch(); });
}
