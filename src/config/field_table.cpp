#include "config/field_table.hpp"

#include <algorithm>
#include <numeric>

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

std::size_t fieldIndexOfKey(std::string_view key) noexcept {
  using Entry = std::pair<std::string_view, std::size_t>;
  static const std::array<Entry, ConfigureData::kFieldCount> kSorted = [] {
    std::array<Entry, ConfigureData::kFieldCount> sorted{};
    const auto& fields = ConfigureDataAccess::fields();
    for (std::size_t i = 0; i < fields.size(); ++i) sorted[i] = {fields[i].key, i};
    std::sort(sorted.begin(), sorted.end());
    return sorted;
  }();
  const auto* found = std::lower_bound(
      kSorted.begin(), kSorted.end(), key,
      [](const Entry& entry, std::string_view wanted) { return entry.first < wanted; });
  return found != kSorted.end() && found->first == key ? found->second : std::string_view::npos;
}

}  // namespace vexloweb
