// Files that the program writes: CR LF line ends, and any failure to create
// or write them is a fatal error naming what went wrong.
//
// A report is written as a file without a name in the folder of its target
// and gets the target's name only when it is complete: nothing can be
// planted under its name while it is written, and a run that ends early, by
// a fatal error, a signal or a kill, leaves nothing of it. Where the file
// system has no unnamed files, a random name is created exclusively instead
// and removed when the run ends early (by anything short of a kill).
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace veka {

// A file being written in the folder of its target, which it replaces when
// it is published.
class TemporaryFile {
 public:
  enum class Naming {
    unnamed,      // preferred; falls back to a random name where unsupported
    random_name,  // always a random name
  };

  TemporaryFile() = default;
  ~TemporaryFile() { discard(); }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void create(const std::string& target, Naming naming = Naming::unnamed);
  bool is_open() const { return descriptor_ >= 0; }
  int descriptor() const { return descriptor_; }
  // A path that opens this very file, for a library that writes by name.
  std::string path() const;
  // The complete file reaches the disk, takes the target's name (an
  // existing target is replaced in one step), and the folder's new entry
  // reaches the disk too.
  void publish();
  // Drops the unfinished file; nothing of it stays.
  void discard();

 private:
  int descriptor_ = -1;
  std::string target_;
  std::string name_;  // the random name; empty for an unnamed file
};

// A report file: written under no name (see above) and renamed over the
// target when closed, so a run that ends early never leaves a half-written
// file over a good one.
class TextOutput {
 public:
  enum class Mode {
    replace,  // the one way reports are written
  };

  TextOutput() = default;
  TextOutput(const std::string& name, Mode mode) { open(name, mode); }
  ~TextOutput() = default;  // an unfinished file never replaces its target
  TextOutput(const TextOutput&) = delete;
  TextOutput& operator=(const TextOutput&) = delete;

  void open(const std::string& name, Mode mode);
  bool is_open() const { return file_.is_open(); }
  void write(std::string_view text);
  void end_line() { write("\r\n"); }
  void line(std::string_view text) {
    write(text);
    end_line();
  }
  // Completes the file; a write that fails only now is still fatal.
  void close();

 private:
  void write_out_buffer();

  TemporaryFile file_;
  std::string buffer_;
};

// Writes all of `text` to `descriptor`, retrying short and interrupted
// writes; false (with errno set) when the system refuses.
bool write_all(int descriptor, std::string_view text);

// What a run that ends early must undo, kept in fixed storage so that a
// signal handler can undo it without allocating: temporary files that have
// a name, and additions to run files that are not complete.
void register_unfinished_file(const std::string& name);
void forget_unfinished_file(const std::string& name);
// A run file has one unfinished addition at the most: registering again
// replaces it.
void register_unfinished_append(int descriptor, off_t length_before);
void forget_unfinished_append(int descriptor);
void forget_unfinished_appends();
// Cuts every registered run file back to its length before the unfinished
// addition, and forgets the additions.
void cut_back_unfinished_appends();
// Removes every registered file and cuts the run files back; safe in a
// signal handler.
void discard_unfinished_outputs();

}  // namespace veka
