// Zero filling: gives profile steps without data a copy of their nearest neighbour with data.
#pragma once

namespace veka {

void fill_zeros();

}  // namespace veka
