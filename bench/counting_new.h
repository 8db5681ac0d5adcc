#pragma once
// Heap allocations made through operator new since the program started.
#include <cstddef>

namespace tovlo::bench {

std::size_t allocationCount();

}  // namespace tovlo::bench
