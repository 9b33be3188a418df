#include "common/fatal.h"

#include <unistd.h>

#include <cerrno>
#include <cfenv>
#include <csignal>
#include <cstring>

#include "common/console.h"
#include "common/text_output.h"

namespace veka {

void fatal(const std::string& message) {
  throw FatalError(message);
}

void fatal_file_error(int error_number, bool creating) {
  switch (error_number) {
    case ENOENT:
    case ENOTDIR:
      fatal(creating ? "Path not found" : "File not found");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      fatal("File access denied");
    case ENOSPC:
    case EDQUOT:
      fatal("Disk full");
    default:
      fatal("Input/output error");
  }
}

namespace {

const char* float_trap_message(int code) {
  switch (code) {
    case FPE_FLTDIV:
    case FPE_INTDIV:
      return "Floating point division by zero";
    case FPE_FLTOVF:
      return "Floating point overflow";
    default:
      return "Invalid floating point operation";
  }
}

void (*trap_listener)(const char* report) = nullptr;

// The trap is synchronous: it fires on the very instruction that divided by
// zero, so the console buffer is consistent and can be written out.
void on_float_trap(int, siginfo_t* info, void*) {
  remove_unfinished_files();
  const char* report = float_trap_message(info->si_code);
  console::line(report);
  console::flush();
  if (trap_listener != nullptr) trap_listener(report);
  _exit(1);
}

}  // namespace

void install_float_traps(void (*also_tell)(const char* report)) {
  trap_listener = also_tell;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_sigaction = on_float_trap;
  action.sa_flags = SA_SIGINFO;
  sigaction(SIGFPE, &action, nullptr);
  feclearexcept(FE_ALL_EXCEPT);
  feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
}

}  // namespace veka
