#include "store/store.h"

namespace veka {

Store store;

// One part at a time, so that no temporary holds all of them at once.
template <typename... Parts>
static void clear_values(PerFileValues<Parts...>& values) {
  ((static_cast<Parts&>(values) = Parts{}), ...);
}

void reset_store() {
  clear_values(store);
  for (ZeroPages* table : store.large_tables) table->clear();
  store.data_file.close();
  store.shape_file.close();
}

}  // namespace veka
