// A file that every data file of a run adds lines to (the batch summary and
// the gridding file). The run holds it open under an advisory lock from the
// moment it claims or creates it until the program ends, so two runs never
// mix their lines into one file: the second is refused.
//
// Each data file's lines go in with one write. When that write fails (a
// full disk), the file is cut back to its length before it, so no torn line
// is left; and the additions of one data file to both run files are kept or
// undone together (RunFileUpdate), so the two files always end at the same
// data file.
#pragma once

#include <string>
#include <string_view>

namespace veka {

class RunFile {
 public:
  RunFile() = default;
  ~RunFile();
  RunFile(const RunFile&) = delete;
  RunFile& operator=(const RunFile&) = delete;

  // Takes an existing file for this run before any data file is read. A
  // file that another run holds ends the run ("Run file in use by another
  // run: NAME"); one that does not exist yet (or cannot be opened now) is
  // left to add().
  void claim(const std::string& name);

  // Writes `text` with one write: after the content, or with `afresh` in
  // place of it. A file this run does not hold yet (or that was removed or
  // replaced since) is opened, created when missing, and locked first. The
  // addition stays unfinished until the RunFileUpdate around it is kept.
  void add(const std::string& name, std::string_view text, bool afresh);

 private:
  bool holds(const std::string& name) const;
  void take(const std::string& name, int descriptor);
  void release();

  int descriptor_ = -1;
  std::string name_;
};

// The additions of one data file to the run files. Unless keep() is called,
// the end of its scope (an error unwinding through it) cuts every run file
// back to where it was before them.
class RunFileUpdate {
 public:
  RunFileUpdate();
  ~RunFileUpdate();
  RunFileUpdate(const RunFileUpdate&) = delete;
  RunFileUpdate& operator=(const RunFileUpdate&) = delete;

  void keep();

 private:
  bool kept_ = false;
};

}  // namespace veka
