// What bad input gets, as the README's table lists it: damaged lines are
// reported and repaired and the run goes on; a file that cannot be read or
// written, a bad argument or name and a floating-point fault end the run
// with one line and exit code 1; too many multi-element records stop it
// after a wait; a signal ends it with one line and its own exit code. Files
// that change under the program, a full disk, planted links and a second
// run on the same run files never leave broken or foreign files behind.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include "support/support.h"

namespace veka {

using support::file_exists;
using support::read_file;
using support::run_program;
using support::RunningProgram;
using support::ScratchDir;
using support::standard_arguments;
using support::write_file;

namespace fs = std::filesystem;

bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// `arguments` run under `program` (a wrapper such as timeout or sh).
std::vector<std::string> wrapped(const std::vector<std::string>& wrapper,
                                 const std::vector<std::string>& arguments) {
  std::vector<std::string> line = wrapper;
  line.push_back(VEKAPROC_PATH);
  line.insert(line.end(), arguments.begin() + 1, arguments.end());
  return line;
}

// Files and folders below `folder`.
size_t entries_below(const std::string& folder) {
  return static_cast<size_t>(std::distance(fs::recursive_directory_iterator(folder), {}));
}

class BadInputTest : public ::testing::Test {
 protected:
  std::vector<std::string> arguments() { return standard_arguments(in_.path(), "W", out_.path()); }
  // A short simulated cast as in/W1.dat.
  void write_recording() {
    auto made = run_program(VEKASIM_PATH, {"vekasim", "--scenario", "descent", "--seed", "5",
                                           "--depth", "20", "--out", in_.path() + "W1.dat"});
    ASSERT_EQ(made.exit_code, 0);
  }
  ScratchDir in_;
  ScratchDir out_;
};

TEST_F(BadInputTest, DamagedLinesAreReportedRepairedAndTheRunGoesOn) {
  write_recording();
  std::string counts;
  for (int i = 0; i < 32; ++i) counts += " 1";
  std::string damaged =
      "C 12.3 33.1 12.5\n"  // a CTD line short of two values
      "M 3 100 40\n"        // an MEP line short of a field
      "L1" +
      counts.substr(2) +
      "\n"  // an L1 line short of a count
      "L2" +
      counts + "\nL3" + counts + "\nL4" + counts + "\nL5 0 0 950 20 320 0 0\n";
  // Into the descent, which the analysed cast covers.
  std::string recording = support::read_file(in_.path() + "W1.dat");
  size_t at = recording.find("\nL1 ", recording.size() / 3) + 1;
  write_file(in_.path() + "W1.dat", recording.substr(0, at) + damaged + recording.substr(at));
  auto result = run_program(VEKAPROC_PATH, arguments());
  EXPECT_EQ(result.exit_code, 0);
  for (const char* message :
       {"Found EOL 1-Missing CTD data at depth ", "Problem MEP line at depth2a ",
        "Problem SEP1 line L 1 at depth ", "Problem SEP2 line L 1 at depth "}) {
    EXPECT_NE(result.output.find(message), std::string::npos) << message;
  }
  EXPECT_TRUE(file_exists(out_.path() + "W1_r1_Data.csv"));
  EXPECT_TRUE(ends_with(result.output, "      Done  - press \"enter\""));
}

TEST_F(BadInputTest, MissingDataFile) {
  auto result = run_program(VEKAPROC_PATH, arguments());
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(ends_with(result.output, in_.path() + "W1.dat\r\nFile not found\r\n"));
}

TEST_F(BadInputTest, ADataFileThatIsNotARegularFileIsRefusedWithoutBlocking) {
  std::string name = in_.path() + "W1.dat";
  auto make_socket = [&name] {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, name.c_str(), sizeof address.sun_path - 1);
    int socket_descriptor = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(socket_descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(socket_descriptor);
  };
  std::vector<std::pair<const char*, std::function<void()>>> kinds = {
      {"folder", [&] { fs::create_directory(name); }},
      {"FIFO without a writer", [&] { ASSERT_EQ(mkfifo(name.c_str(), 0600), 0); }},
      {"endless device", [&] { fs::create_symlink("/dev/zero", name); }},
      {"socket", make_socket},
  };
  for (const auto& [kind, make] : kinds) {
    fs::remove_all(name);
    make();
    auto result = run_program("timeout", wrapped({"timeout", "20"}, arguments()));
    EXPECT_EQ(result.exit_code, 1) << kind;
    EXPECT_TRUE(ends_with(result.output,
                          name + "\r\nFile access denied: " + name + " is not a regular file\r\n"))
        << kind;
    EXPECT_TRUE(fs::is_empty(out_.path())) << kind;
  }
}

// Root reads and writes any file, so as root the program runs as nobody in a
// user namespace of its own.
TEST_F(BadInputTest, FilesWithoutPermissionAreAccessDenied) {
  write_recording();
  struct Row {
    const char* what;
    std::string path;
    fs::perms left;
    std::string tail;
  };
  const std::string data = in_.path() + "W1.dat";
  for (const Row& row :
       {Row{"data file", data, fs::perms::none, data + "\r\nFile access denied\r\n"},
        Row{"output folder", out_.path(), fs::perms::owner_read | fs::perms::others_exec,
            "Finished configuring output data\r\nFile access denied\r\n"}}) {
    fs::permissions(in_.path(), fs::perms::others_exec, fs::perm_options::add);
    fs::permissions(data, fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(out_.path(), fs::perms::owner_all | fs::perms::others_exec);
    fs::permissions(row.path, row.left);
    std::vector<std::string> wrapper = {"env"};
    if (geteuid() == 0) wrapper = {"unshare", "--user"};
    auto result = run_program(wrapper[0], wrapped(wrapper, arguments()));
    if (result.error.find("unshare:") != std::string::npos) {
      GTEST_SKIP() << "no user namespace here: " << result.error;
    }
    EXPECT_EQ(result.exit_code, 1) << row.what;
    EXPECT_TRUE(ends_with(result.output, row.tail)) << row.what << ": " << result.output;
    fs::permissions(out_.path(), fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(out_.path())) << row.what;
  }
}

// A cut that comes before the program has read a recording to its end is a
// read error (each pass reads a large one again); one that comes later
// changes nothing. Either way the run ends in order, never by a signal, and
// no line is read from what the cut removed (a cut racing a read can hand
// over zeros for it, which would read as damaged lines).
TEST_F(BadInputTest, ADataFileCutShortWhileTheProgramRunsIsAReadErrorOrHarmless) {
  std::string name = in_.path() + "L1.dat";
  std::vector<std::string> made = {"vekasim", "--scenario", "large",        "--size",   "20",
                                   "--out",   name,         "--report-dir", out_.path()};
  ASSERT_EQ(run_program(VEKASIM_PATH, made).exit_code, 0);
  made.push_back("--args");
  std::istringstream line(run_program(VEKASIM_PATH, made).output);
  std::vector<std::string> args = {"vekaproc"};
  for (std::string word; line >> word;) args.push_back(word);
  RunningProgram run(VEKAPROC_PATH, args);
  // The cut comes as soon as the program holds the file, open or mapped.
  std::string process = "/proc/" + std::to_string(run.pid());
  auto holds_file = [&] {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(process + "/fd", ignored)) {
      if (fs::read_symlink(entry, ignored) == fs::path(name)) return true;
    }
    return read_file(process + "/maps").find(name) != std::string::npos;
  };
  auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!holds_file() && std::chrono::steady_clock::now() < give_up) {
  }
  fs::resize_file(name, fs::file_size(name) / 10);
  auto result = run.finish();
  EXPECT_EQ(result.output.find("Problem"), std::string::npos) << result.output;
  if (result.exit_code == 1) {
    EXPECT_TRUE(ends_with(result.output,
                          "\r\nInput/output error: " + name + " shrank while it was read\r\n"))
        << result.output;
  } else {
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_TRUE(ends_with(result.output, "      Done  - press \"enter\""));
  }
}

// A line must fit in memory whole: a file of zeros without a line end
// larger than the memory the process may have is one such line.
TEST_F(BadInputTest, ALineLargerThanTheMemoryIsReportedAsSuch) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit allows";
#endif
  std::string name = in_.path() + "W1.dat";
  write_file(name, "");
  fs::resize_file(name, std::uintmax_t{4} << 30);  // sparse: takes no room on the disk
  auto result = run_program(
      "sh", wrapped({"sh", "-c", "ulimit -v 1000000 && exec \"$0\" \"$@\""}, arguments()));
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.output.rfind("CTD String", 0), 0u);  // what came before is not lost
  EXPECT_TRUE(ends_with(result.output, name + "\r\nOut of memory\r\n"));
}

TEST_F(BadInputTest, UnwritableOutputFolder) {
  write_recording();
  auto args = arguments();
  args[3] = out_.path() + "missing/";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(ends_with(result.output, "Finished configuring output data\r\nPath not found\r\n"));
  EXPECT_TRUE(fs::is_empty(out_.path()));
}

TEST_F(BadInputTest, NonNumericArgument) {
  auto args = arguments();
  args[24] = "abc";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(ends_with(result.output, "\r\n\"abc\" is not a valid floating point value\r\n"));
  args = arguments();
  args[57] = "x1";
  result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.output, "\"x1\" is not a valid integer value\r\n");
}

TEST_F(BadInputTest, AnyOtherCountThan61ArgumentsIsRefused) {
  for (size_t count : {0, 20, 60, 62}) {
    auto args = arguments();
    args.resize(count + 1, "x");
    auto result = run_program(VEKAPROC_PATH, args);
    EXPECT_EQ(result.exit_code, 2) << count;
    EXPECT_EQ(result.output, "") << count;
    EXPECT_EQ(result.error, "vekaproc: " + std::to_string(count) +
                                " positional arguments given; a command line of positional "
                                "arguments needs exactly 61 (see vekaproc --help)\n");
  }
}

TEST_F(BadInputTest, ZeroScanRateIsADivisionByZero) {
  auto args = arguments();
  args[11] = "0";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(
      ends_with(result.output, "CTD ScanRate    0.00\r\nFloating point division by zero\r\n"));
}

TEST_F(BadInputTest, ZeroOrNegativeFlowScaleIsAFloatingPointFault) {
  auto args = arguments();
  args[26] = "0";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.output,
            "CTD String  3  2  1  4  5  0  0  0  0  0  0\r\n"
            "Floating point division by zero\r\n");
  args[26] = "-1";
  result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.output,
            "CTD String  3  2  1  4  5  0  0  0  0  0  0\r\n"
            "Invalid floating point operation\r\n");
}

TEST_F(BadInputTest, TooManyMultiElementRecordsStopAfterAWait) {
  write_recording();
  std::string lines;
  lines.reserve(500001 * 14);
  for (int i = 0; i < 500001; ++i) lines += "M 5 1000 20 40\n";
  // The records go in after the cast's first scans, so they fall inside
  // the analysed profile.
  std::string recording = support::read_file(in_.path() + "W1.dat");
  size_t middle = recording.find("\nL1 ", recording.size() / 3) + 1;
  write_file(in_.path() + "W1.dat", recording.substr(0, middle) + lines + recording.substr(middle));
  auto result = run_program(VEKAPROC_PATH, arguments(), "\n");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.output.find("\r\n\r\nToo many MEP-elements ("), std::string::npos);
  EXPECT_NE(result.output.find(") to process - must reduce the (time)range of analyses.\r\n"
                               "Press \"enter\" to halt program\r\n"),
            std::string::npos);
  EXPECT_EQ(result.output.find("Done"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(out_.path()));
}

TEST_F(BadInputTest, ATimeRangeThatEndsBeforeItStartsIsADivisionByZeroInEveryMode) {
  for (const char* mode : {"0", "1", "2"}) {
    auto args = arguments();
    args[4] = mode, args[5] = "10", args[6] = "5";
    auto result = run_program(VEKAPROC_PATH, args);
    EXPECT_EQ(result.exit_code, 1) << mode;
    EXPECT_EQ(result.output,
              "CTD String  3  2  1  4  5  0  0  0  0  0  0\r\n"
              "Floating point division by zero\r\n")
        << mode;
  }
}

TEST_F(BadInputTest, AnOverflowingCtdValueEndsTheWholeBatch) {
  write_recording();
  std::string recording = read_file(in_.path() + "W1.dat");
  write_file(in_.path() + "W2.dat", recording);
  size_t depth = recording.find("\nC 10.") + 3;  // a depth of the descent
  write_file(in_.path() + "W1.dat",
             recording.substr(0, depth) + "1e308" + recording.substr(recording.find(' ', depth)));
  auto args = arguments();
  args[58] = "2";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(ends_with(result.output, "W1.dat\r\nFloating point overflow\r\n"));
  EXPECT_TRUE(fs::is_empty(out_.path()));
}

// A name that would not fit is refused rather than cut into another path,
// and so is one that leads out of its folder; nothing is read or written.
TEST_F(BadInputTest, NamesThatWouldNotFitOrLeaveTheirFolderAreRefused) {
  write_recording();
  std::string deep_folder = out_.path() + std::string(100, 'd') + "/";
  fs::create_directory(deep_folder);
  const std::string long_base =
      "Report base name longer than 90 characters "
      "(arguments 3, 2, the file number and 9): ";
  struct Row {
    int argument;
    std::string value;
    std::string report;
  };
  const std::vector<Row> rows = {
      {3, deep_folder, long_base + deep_folder + "W1_r1"},
      {9, std::string(300, 'r'), long_base + out_.path() + "W1_" + std::string(300, 'r')},
      {2, std::string(90, 'W'),
       "Data file name longer than 90 characters (arguments 1, 2 and the file number): " +
           in_.path() + std::string(90, 'W') + "1.dat"},
      {2, "../W", "Data-set name (argument 2) must not hold \"/\" or \"..\": ../W"},
      {9, "r/1", "Run label (argument 9) must not hold \"/\" or \"..\": r/1"},
  };
  for (const Row& row : rows) {
    auto args = arguments();
    args[row.argument] = row.value;
    auto result = run_program(VEKAPROC_PATH, args);
    EXPECT_EQ(result.exit_code, 1) << row.value;
    EXPECT_EQ(result.output, row.report + "\r\n");
    EXPECT_EQ(entries_below(out_.path()), 1u) << row.value;  // the deep folder alone
    EXPECT_EQ(entries_below(in_.path()), 1u) << row.value;
  }
}

TEST_F(BadInputTest, LinksPlantedUnderTemporaryNamesAreNeverFollowed) {
  write_recording();
  std::string victim = in_.path() + "victim.txt";
  write_file(victim, "precious\n");
  auto args = arguments();
#ifdef VEKA_HAVE_NETCDF
  args.push_back("--netcdf");
#endif
  // The names reports were once written under: the data report's with
  // ".tmp" and the process number, the netCDF file's with ".part".
  std::string plant = "for name in W1_r1_Data.csv.tmp$$ W1_r1.nc.part; do ln -s " + victim + " " +
                      out_.path() + "$name; done; exec \"$0\" \"$@\"";
  auto result = run_program("sh", wrapped({"sh", "-c", plant}, args));
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(read_file(victim), "precious\n");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(out_.path() + "W1_r1_Data.csv")));
}

TEST_F(BadInputTest, SignalsEndTheRunWithOneLineAndTheirExitCode) {
  write_recording();
  struct Row {
    int signal;
    int exit_code;
    std::string report;
  };
  for (const Row& row : {Row{SIGINT, 130, "Interrupted (SIGINT)\r\n"},
                         Row{SIGTERM, 143, "Terminated (SIGTERM)\r\n"}}) {
    RunningProgram run(VEKAPROC_PATH, arguments());
    ASSERT_TRUE(run.wait_for_output("Done  - press \"enter\""));
    kill(run.pid(), row.signal);
    run.wait_for_output(row.report);
    auto result = run.finish();
    EXPECT_EQ(result.exit_code, row.exit_code);
    EXPECT_TRUE(ends_with(result.output, "Done  - press \"enter\"" + row.report)) << row.report;
    EXPECT_EQ(entries_below(out_.path()), 3u);  // the reports; no temporary file
  }
}

TEST_F(BadInputTest, AConsoleNobodyReadsEndsTheRunWithExitCode1) {
  write_recording();
  auto result = run_program(
      "bash", wrapped({"bash", "-c", "\"$0\" \"$@\" | true; exit ${PIPESTATUS[0]}"}, arguments()));
  EXPECT_EQ(result.exit_code, 1);
}

// The output folder is a file system one page too small for the run: the
// last file's gridding lines do not fit.
TEST_F(BadInputTest, ADiskFullLeavesBothRunFilesEndingAtTheSameDataFile) {
  ASSERT_EQ(run_program(VEKASIM_PATH, {"vekasim", "--scenario", "series", "--files", "3", "--out",
                                       in_.path() + "W"})
                .exit_code,
            0);
  auto args = arguments();
  args[58] = "2";
  ASSERT_EQ(run_program(VEKAPROC_PATH, args).exit_code, 0);
  std::string two_files_batch = read_file(out_.path() + "a_Batch_W_r1.csv");
  std::string two_files_grid = read_file(out_.path() + "a_Surfer_W_r1.csv");
  args[58] = "3";
  ASSERT_EQ(run_program(VEKAPROC_PATH, args).exit_code, 0);
  const std::uintmax_t page = static_cast<std::uintmax_t>(sysconf(_SC_PAGESIZE));
  std::uintmax_t pages = 0;
  for (const auto& entry : fs::directory_iterator(out_.path())) {
    pages += (entry.file_size() + page - 1) / page;
  }
  ScratchDir small;
  ScratchDir kept;
  args[3] = small.path();
  std::string script = "mount -t tmpfs -o size=" + std::to_string((pages - 1) * page) +
                       " tmpfs \"$0\" || exit 0; echo mounted; \"$@\"; code=$?; cp \"$0\"a_* " +
                       kept.path() + "; exit $code";
  auto result = run_program("unshare", wrapped({"unshare", "--user", "--map-root-user", "--mount",
                                                "sh", "-c", script, small.path()},
                                               args));
  if (result.output.rfind("mounted\n", 0) != 0) GTEST_SKIP() << "cannot mount a small tmpfs here";
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(ends_with(result.output, "Disk full\r\n"));
  EXPECT_EQ(read_file(kept.path() + "a_Batch_W_r1.csv"), two_files_batch);
  EXPECT_EQ(read_file(kept.path() + "a_Surfer_W_r1.csv"), two_files_grid);
}

TEST_F(BadInputTest, ASecondRunOnTheSameRunFilesIsRefusedAtOnce) {
  write_recording();
  RunningProgram first(VEKAPROC_PATH, arguments());
  // At its final prompt the first run still holds its run files.
  ASSERT_TRUE(first.wait_for_output("Done  - press \"enter\""));
  std::string batch = out_.path() + "a_Batch_W_r1.csv";
  std::string first_batch = read_file(batch);
  auto second = run_program(VEKAPROC_PATH, arguments());
  EXPECT_EQ(second.exit_code, 1);
  EXPECT_EQ(second.output, "Run file in use by another run: " + batch + "\r\n");
  EXPECT_EQ(first.finish().exit_code, 0);
  EXPECT_EQ(read_file(batch), first_batch);
}

}  // namespace veka
