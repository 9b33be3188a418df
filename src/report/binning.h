// Configure and bin: coarse bins of the profile and the per-step report rows.
#pragma once

namespace veka {

void configure_and_bin();

}  // namespace veka
