// Internal: ConfigureData's fields as data (name, JSON key, member), in declaration order, for
// the decoder, the encoder and the schema. Built from the record's own field macro.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "vexloweb/config/configure_data.hpp"

namespace vexloweb {

// The variant's alternative says the kind of field: text, integer, number, switch, then the lists.
using FieldMember =
    std::variant<std::optional<std::string> ConfigureData::*,
                 std::optional<std::int64_t> ConfigureData::*,
                 std::optional<double> ConfigureData::*, std::optional<bool> ConfigureData::*,
                 std::optional<std::vector<MenuItem>> ConfigureData::*,
                 std::optional<std::vector<NavigationTab>> ConfigureData::*,
                 std::optional<std::vector<ExternalBrowseUrl>> ConfigureData::*>;

enum class FieldKind { kText, kInteger, kNumber, kSwitch, kMenuList, kTabList, kExternalList };

struct FieldInfo {
  std::string_view name;
  std::string_view key;
  FieldMember member;

  FieldKind kind() const { return static_cast<FieldKind>(member.index()); }
};

struct ConfigureDataAccess {
  static const std::array<FieldInfo, ConfigureData::kFieldCount>& fields();
  // Field indices in the order the decoder reads them; it shows in which failure is reported
  // first when a document has several.
  static const std::array<std::size_t, ConfigureData::kFieldCount>& readingOrder();
};

// The three texts of a list record, in kKeys order.
struct ListRecordAccess {
  template <class Record>
  static std::array<std::optional<std::string>, 3>& fields(Record& record) {
    return static_cast<detail::TextTriple&>(record).fields_;
  }
  template <class Record>
  static const std::array<std::optional<std::string>, 3>& fields(const Record& record) {
    return static_cast<const detail::TextTriple&>(record).fields_;
  }
};

// The field index of a JSON key of ConfigureData, or npos.
std::size_t fieldIndexOfKey(std::string_view key) noexcept;

}  // namespace vexloweb
