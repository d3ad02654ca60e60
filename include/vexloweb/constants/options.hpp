// The option enumerations of Constants as text: each case's raw value is its own name. For hosts
// that turn option words of the configuration into cases and back. Pure; any thread.
//
// Example:
//   auto type = vexloweb::fromRawValue<vexloweb::Constants::SPLASH_SCREEN_TYPE>("STANDER");
//   vexloweb::rawValue(*type);   // "STANDER"
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

#include "vexloweb/constants/constants.hpp"

namespace vexloweb {

namespace detail {
// The raw values of each enumeration, in declaration order.
template <class Option>
struct OptionNames;
template <>
struct OptionNames<Constants::WEBVIEW_OPEN_TYPE> {
  static constexpr std::array<std::string_view, 3> kValues{"INSIDE", "EXTERNAL", "CUSTOM_TAB"};
};
template <>
struct OptionNames<Constants::WEBVIEW_OPEN_CONDITION> {
  static constexpr std::array<std::string_view, 6> kValues{
      "EQUAL", "NOT_EQUAL", "CONTAIN", "NOT_CONTAIN", "START_WITH", "NOT_START_WITH"};
};
template <>
struct OptionNames<Constants::SPLASH_SCREEN_TYPE> {
  static constexpr std::array<std::string_view, 3> kValues{"HIDE", "STANDER", "FULL_SCREEN"};
};
template <>
struct OptionNames<Constants::NAVIGATION_BAR_TYPE> {
  static constexpr std::array<std::string_view, 3> kValues{"HIDE", "LOGO", "TEXT"};
};

template <class Option>
constexpr std::string_view rawValueOf(Option option) noexcept {
  const auto index = static_cast<std::size_t>(option);
  const auto& values = OptionNames<Option>::kValues;
  return index < values.size() ? values[index] : std::string_view();  // "" for a forged value
}
}  // namespace detail

// The case's raw value ("INSIDE", ...).
constexpr std::string_view rawValue(Constants::WEBVIEW_OPEN_TYPE option) noexcept {
  return detail::rawValueOf(option);
}
constexpr std::string_view rawValue(Constants::WEBVIEW_OPEN_CONDITION option) noexcept {
  return detail::rawValueOf(option);
}
constexpr std::string_view rawValue(Constants::SPLASH_SCREEN_TYPE option) noexcept {
  return detail::rawValueOf(option);
}
constexpr std::string_view rawValue(Constants::NAVIGATION_BAR_TYPE option) noexcept {
  return detail::rawValueOf(option);
}

// The case whose raw value equals `raw` exactly (case-sensitive, nothing trimmed), or nothing.
template <class Option>
constexpr std::optional<Option> fromRawValue(std::string_view raw) noexcept {
  const auto& values = detail::OptionNames<Option>::kValues;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] == raw) return static_cast<Option>(i);
  }
  return std::nullopt;
}

}  // namespace vexloweb

// Each enumeration hashes like std::hash<std::string_view> of its raw value.
#define VEXLOWEB_OPTION_HASH(Option)                                       \
  template <>                                                              \
  struct std::hash<vexloweb::Constants::Option> {                          \
    std::size_t operator()(vexloweb::Constants::Option o) const noexcept { \
      return std::hash<std::string_view>{}(vexloweb::rawValue(o));         \
    }                                                                      \
  };
VEXLOWEB_OPTION_HASH(WEBVIEW_OPEN_TYPE)
VEXLOWEB_OPTION_HASH(WEBVIEW_OPEN_CONDITION)
VEXLOWEB_OPTION_HASH(SPLASH_SCREEN_TYPE)
VEXLOWEB_OPTION_HASH(NAVIGATION_BAR_TYPE)
#undef VEXLOWEB_OPTION_HASH
