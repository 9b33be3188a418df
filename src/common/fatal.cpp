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
    case ENAMETOOLONG:
      fatal("File name too long");
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
  discard_unfinished_outputs();
  const char* report = float_trap_message(info->si_code);
  console::line(report);
  console::flush();
  if (trap_listener != nullptr) trap_listener(report);
  _exit(1);
}

// Writes without allocating; nothing can be done when the output is gone,
// and the exit code still tells.
void write_signal_safe(int descriptor, const char* text) {
  ssize_t ignored = write(descriptor, text, std::strlen(text));
  (void)ignored;
}

void on_stop_signal(int number) {
  discard_unfinished_outputs();
  const char* report = number == SIGINT ? "Interrupted (SIGINT)" : "Terminated (SIGTERM)";
  const int console = console::descriptor();
  write_signal_safe(console, report);
  write_signal_safe(console, "\r\n");
  // A console sent to a file (a run's log) is not the only place told.
  if (console != STDOUT_FILENO) {
    write_signal_safe(STDERR_FILENO, "vekaproc: ");
    write_signal_safe(STDERR_FILENO, report);
    write_signal_safe(STDERR_FILENO, "\n");
  }
  _exit(128 + number);
}

}  // namespace

void install_stop_signal_handlers() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  sigaddset(&action.sa_mask, SIGINT);
  sigaddset(&action.sa_mask, SIGTERM);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
}

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
