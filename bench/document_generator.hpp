// Realistic configuration documents of a chosen size for the benchmarks: every scalar member of
// the record, with the three lists grown until the document reaches the size.
#pragma once

#include <cstddef>
#include <string>

namespace vexloweb::bench {

// A JSON document of about `bytes` bytes (never less than the scalar members need).
std::string generateDocument(std::size_t bytes);

}  // namespace vexloweb::bench
