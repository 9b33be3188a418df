// The profile store: the one body of state that every stage of a data file
// reads and writes. Stages are operations without arguments over this
// store; nothing passes between them in any other way. Arrays are indexed as
// the data are described, steps 1..500 and diameter classes 1..1100 (index 0
// is never used), and every value starts at zero for each data file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/run_file.h"
#include "common/text_output.h"
#include "store/ctd_fields.h"
#include "store/data_file.h"
#include "store/mep_state.h"
#include "store/profile_state.h"
#include "store/reader_state.h"
#include "store/records.h"
#include "store/report_state.h"
#include "store/settings_state.h"
#include "store/zero_pages.h"

namespace veka {

constexpr int kSteps = 500;
constexpr int kClasses = 1100;
constexpr int kMepRecords = 500000;
constexpr int kChannels = 68;

// A step inside the arrays; reads of any other step give 0 and writes to
// one are dropped.
inline bool is_step(int32_t step) {
  return step >= 1 && step <= kSteps;
}

// Columns of a ctd row, and of the report_profile row that the binning makes
// of it. Columns 11, 16 and 22 are never written.
enum CtdColumn : int {
  kCtdScans = 1,          // CTD scans in the step
  kCtdTemperature = 2,    // sum of temperature
  kCtdConductivity = 3,   // sum of conductivity
  kCtdSalinity = 4,       // sum of salinity
  kCtdRate = 5,           // sum of the CTD descent rate [m/s]
  kCtdAnalog1 = 6,        // sum of analog channel A1; A2..A4 follow
  kCtdAnalog5 = 10,       // sum of analog channel A5
  kCtdMepParticles = 12,  // multi-element particles that gave opacity means
  kCtdInverseArea = 13,   // their mean inverse element area [1/mm2]: sum, then mean
  kCtdFlowCount = 14,     // sum of the flow counts of the step's L5 lines
  kCtdFlowTime = 15,      // sum of their flow times
  kCtdCountFactor = 17,   // scaling of the step's counts to the time spent in it
  kCtdVolume = 18,        // water filtered [m3]
  kCtdSpeed = 19,         // flow speed through the tunnel [m/s]
  kCtdTransitCount = 20,  // flow time / flow count, at most 210
  kCtdOpacity = 21,       // their mean opacity index: sum, then mean
};
constexpr int kCtdAnalogChannels = kCtdAnalog5 - kCtdAnalog1 + 1;

// Arrays shared by many stages.
struct SharedArrays {
  double ctd[501][23];  // [step][1..22], columns CtdColumn
  double sep_frames[501];
  double flow_lines[501];
  double diameter_class_um[1101];     // 15 um * class
  int32_t sep_counts_by_mm[36];       // [1..35] single-element counts per mm class
  int32_t mep_mm_totals[36];          // [1..35] multi-element counts per whole mm
  int32_t mep_mm_counts[51];          // [6..50] multi-element counts per mm from 6 mm
  double ctd_values[kCtdFields + 1];  // [1..11] values of the current CTD line by position
};

// The parts of the store that the reset clears value by value.
template <typename... Parts>
struct PerFileValues : Parts... {};

struct Store : PerFileValues<SharedArrays, RunParameters, FileSettings, ReaderState, MepState,
                             ProfileState, ReportState> {
  // Tables too large to clear value by value. Each joins large_tables, which
  // is therefore declared before them.
  TableList large_tables;
  ZeroTable<double, 501, 1101> bin_counts{large_tables};
  ZeroTable<double, 501, 1101> mep_bin_counts{large_tables};
  ZeroTable<double, 501, 1101> bin_biomass{large_tables};
  ZeroTable<double, 501, 1101> mep_bin_biomass{large_tables};
  ZeroTable<double, 501, 1101> mep_opaque_bin_counts{large_tables};
  ZeroTable<double, 502, 1102> mep_step_counts{large_tables};  // [1..501][1..1101]
  ZeroTable<double, 502, 402> mep_step_biomass{large_tables};  // [1..501][1..401]
  ZeroArray<MepElement, kMepRecords + 1> mep_elements{large_tables};
  ZeroArray<SortedMepElement, kMepRecords + 1> mep_sorted{large_tables};
  ZeroTable<int32_t, 301, 4001> shape_image{large_tables};  // [1..300 across][1..4000 along]
  // The particles as they were counted, before zero filling and count-factor
  // scaling change bin_counts and mep_bin_counts in place: the single-element
  // counts as read (none where argument 60 leaves them out) and the
  // multi-element particles as sizing added them to bin_counts. Only the
  // exports that show the size spectrum read them; a run without those
  // leaves them empty (keeps_counts_as_counted), and their memory unused.
  ZeroTable<double, 501, 1101> sep_counts_as_read{large_tables};
  ZeroTable<double, 501, 1101> mep_counts_as_sized{large_tables};

  DataFile data_file;
  TextOutput shape_file;

  // Not part of the per-file reset.
  std::vector<std::string> arguments;  // the command line; [0] is the program
  int32_t file_number = 0;
  int32_t batch_started = 0;
  int32_t gridding_started = 0;
  bool keeps_counts_as_counted = false;
  RunFile batch_summary_file;  // held for the whole run
  RunFile gridding_file;
};

extern Store store;

// Clears every per-file value of the store (texts empty, numbers 0, files
// closed). The command line, the file number and the two report flags stay.
void reset_store();

}  // namespace veka
