// Counts every allocation through operator new in the benchmark process (the replacement
// operators live in allocation_counter.cpp), so a benchmark can report allocations per load.
#pragma once

#include <cstddef>

namespace vexloweb::bench {

std::size_t allocationCount() noexcept;

}  // namespace vexloweb::bench
