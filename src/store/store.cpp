#include "store/store.h"

namespace veka {

Store store;

template <typename Part>
static void clear_part(Part& part) {
  part = Part{};
}

void reset_store() {
  clear_part<SharedArrays>(store);
  clear_part<RunParameters>(store);
  clear_part<FileSettings>(store);
  clear_part<ReaderState>(store);
  clear_part<MepState>(store);
  clear_part<ProfileState>(store);
  clear_part<ReportState>(store);
  store.bin_counts.clear();
  store.mep_bin_counts.clear();
  store.bin_biomass.clear();
  store.mep_bin_biomass.clear();
  store.mep_opaque_bin_counts.clear();
  store.mep_step_counts.clear();
  store.mep_step_biomass.clear();
  store.mep_elements.clear();
  store.mep_sorted.clear();
  store.mep_sort_scratch.clear();
  store.shape_image.clear();
  store.sep_counts_as_read.clear();
  store.mep_counts_as_sized.clear();
  store.data_file.close();
  store.shape_file.close();
}

}  // namespace veka
