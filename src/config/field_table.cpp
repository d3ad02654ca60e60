#include "config/field_table.hpp"

#include <cstdint>

namespace vexloweb {

const std::array<FieldInfo, ConfigureData::kFieldCount>& ConfigureDataAccess::fields() {
  static const std::array<FieldInfo, ConfigureData::kFieldCount> kFields{{
#define VEXLOWEB_X(field, key, type) {#field, key, &ConfigureData::field##_},
      VEXLOWEB_CONFIGURE_DATA_FIELDS(VEXLOWEB_X)
#undef VEXLOWEB_X
  }};
  return kFields;
}

const std::array<std::size_t, ConfigureData::kFieldCount>& ConfigureDataAccess::readingOrder() {
  // Rows 1-3, then navigation_bar..loader_delay, the ad fields, no_internet_interval and the
  // first seven switches, toolbar_style, and the rest in table order.
  static const std::array<std::size_t, ConfigureData::kFieldCount> kOrder = [] {
    std::array<std::size_t, ConfigureData::kFieldCount> order{};
    auto* out = order.begin();
    const auto take = [&out](std::size_t first, std::size_t last) {
      for (std::size_t row = first; row <= last; ++row) *out++ = row - 1;
    };
    take(1, 3);
    take(21, 27);
    take(4, 19);
    take(28, 35);
    take(20, 20);
    take(36, 58);
    return order;
  }();
  return kOrder;
}

namespace {

// The length and three of the key's bytes: a few loads instead of a step per byte, and still
// few clashes among the 58 keys in a table of 256 (the slots after a clash take the rest).
constexpr std::uint32_t keyHash(std::string_view key) noexcept {
  if (key.empty()) return 0;
  const auto byte = [key](std::size_t i) { return static_cast<std::uint32_t>(key[i] & 0xFF); };
  return static_cast<std::uint32_t>(key.size()) * 97U + byte(0) * 7U + byte(key.size() / 2) * 31U +
         byte(key.size() - 1) * 3U;
}

}  // namespace

std::size_t fieldIndexOfKey(std::string_view key) noexcept {
  // Open addressing over 256 slots, each the index of a field plus one (0: empty).
  constexpr std::size_t kSlots = 256;
  static const std::array<std::uint8_t, kSlots> kTable = [] {
    std::array<std::uint8_t, kSlots> table{};
    const auto& fields = ConfigureDataAccess::fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      std::size_t slot = keyHash(fields[i].key) % kSlots;
      while (table[slot] != 0) slot = (slot + 1) % kSlots;
      table[slot] = static_cast<std::uint8_t>(i + 1);
    }
    return table;
  }();
  const auto& fields = ConfigureDataAccess::fields();
  for (std::size_t slot = keyHash(key) % kSlots; kTable[slot] != 0; slot = (slot + 1) % kSlots) {
    const std::size_t index = kTable[slot] - 1U;
    if (fields[index].key == key) return index;
  }
  return std::string_view::npos;
}

}  // namespace vexloweb
