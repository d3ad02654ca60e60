// Internal: a record kept from an earlier load for the next load to decode into, so that a
// reload reuses its strings and lists instead of allocating and freeing them all again. One for
// the process, and only a small one (kSpareBytes of text at most). Boxed, so that taking and
// keeping it moves no field. Thread-safe.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "vexloweb/config/configure_data.hpp"

namespace vexloweb {

class SpareRecord {
 public:
  using Box = std::unique_ptr<std::optional<ConfigureData>>;
  static constexpr std::size_t kSpareBytes = std::size_t{4} << 20;

  // The kept record, or an empty one; the caller owns it. Never an empty box.
  static Box take();

  // Keeps `box` for the next take() when it holds a record of at most kSpareBytes and none is
  // kept; otherwise it is released here, outside the lock.
  static void give(Box box);
};

}  // namespace vexloweb
