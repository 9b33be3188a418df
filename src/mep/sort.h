// Multi-element sorting: groups element records into particles and screens them.
#pragma once

namespace veka {

void sort_meps();

}  // namespace veka
