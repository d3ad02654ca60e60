// checkDocument: reads a configuration document the way ConfigureData::decode does, but instead
// of stopping at the first fault it lists every member at fault and every member that is not a
// key. For generators and the `vexloweb check` and `seal` commands. Pure; any thread.
//
// Example:
//   auto check = vexloweb::checkDocument(R"({"loader_delay":2,"menus":[{"menu":1}]})");
//   check.errors[0].path();   // "menus[0].menu"
//   check.unknownMembers[0];  // "loader_delay" (the key of that field is "loader_int_time")
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "vexloweb/config/configure_data.hpp"
#include "vexloweb/config/decoding_error.hpp"
#include "vexloweb/export.hpp"

namespace vexloweb {

struct VEXLOWEB_EXPORT DocumentCheck {
  // Every fault in reading order; the first is the one ConfigureData::decode throws.
  std::vector<DecodingError> errors;
  // Paths of members that no field reads ("loader_delay", "menus[0].name"): not faults, but
  // usually typos.
  std::vector<std::string> unknownMembers;
  // How many of the 58 fields the document sets (null counts as absent).
  std::size_t presentFields = 0;
  // Paths of members whose key already appeared in the same object ("theme_color",
  // "menus[0].url"). decode reads the first; many other JSON tools take the last.
  std::vector<std::string> duplicateMembers;
  // What could be read: every member that is not at fault.
  ConfigureData record;

  bool ok() const noexcept { return errors.empty(); }
};

VEXLOWEB_EXPORT DocumentCheck checkDocument(std::string_view json);

}  // namespace vexloweb
