// The records held in the configuration's three lists: MenuItem (in "menus"), NavigationTab (in
// "tabs") and ExternalBrowseUrl (in "external_browser_url"). Each is three optional texts.
// Records are immutable values with no shared state: copy and read them from any thread.
//
// Example:
//   auto item = vexloweb::MenuItem::decode(R"({"menu":"Home","url":"https://a.example/"})");
//   item.name();    // "Home" (read from the key "menu")
//   item.icon();    // absent
//   item.encode();  // {"menu":"Home","url":"https://a.example/"}
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "vexloweb/config/decoding_error.hpp"
#include "vexloweb/export.hpp"

namespace vexloweb {

struct ListRecordAccess;

namespace detail {
// Storage and comparison shared by the three list records; not for direct use.
class VEXLOWEB_EXPORT TextTriple {
 protected:
  TextTriple() = default;
  TextTriple(std::optional<std::string> first, std::optional<std::string> second,
             std::optional<std::string> third)
      : fields_{std::move(first), std::move(second), std::move(third)} {}

  std::array<std::optional<std::string>, 3> fields_;

  friend struct ::vexloweb::ListRecordAccess;
};
}  // namespace detail

// One entry of the side menu. Decoding rules: a JSON object whose members "menu", "url" and
// "icon" are strings, null or absent; other members are ignored; the first of duplicate members
// wins. Anything else throws DecodingError naming the member ("url: expected a string, found 3").
class VEXLOWEB_EXPORT MenuItem : public detail::TextTriple {
 public:
  // The JSON keys of name, url and icon, in field order. Note: the key of `name` is "menu".
  static constexpr std::array<std::string_view, 3> kKeys{"menu", "url", "icon"};

  MenuItem() = default;
  MenuItem(std::optional<std::string> name, std::optional<std::string> url,
           std::optional<std::string> icon)
      : TextTriple(std::move(name), std::move(url), std::move(icon)) {}

  const std::optional<std::string>& name() const noexcept { return fields_[0]; }
  const std::optional<std::string>& url() const noexcept { return fields_[1]; }
  const std::optional<std::string>& icon() const noexcept { return fields_[2]; }

  // Decodes one JSON object. Throws DecodingError on invalid JSON or a member of the wrong type.
  static MenuItem decode(std::string_view json);
  // The record as a compact JSON object; absent fields are left out. Throws
  // std::invalid_argument naming the key when a text is not valid UTF-8.
  std::string encode() const;

  bool operator==(const MenuItem& other) const { return fields_ == other.fields_; }
};

// One tab of the navigation bar: the same fields and keys as MenuItem.
class VEXLOWEB_EXPORT NavigationTab : public detail::TextTriple {
 public:
  static constexpr std::array<std::string_view, 3> kKeys{"menu", "url", "icon"};

  NavigationTab() = default;
  NavigationTab(std::optional<std::string> name, std::optional<std::string> url,
                std::optional<std::string> icon)
      : TextTriple(std::move(name), std::move(url), std::move(icon)) {}

  const std::optional<std::string>& name() const noexcept { return fields_[0]; }
  const std::optional<std::string>& url() const noexcept { return fields_[1]; }
  const std::optional<std::string>& icon() const noexcept { return fields_[2]; }

  static NavigationTab decode(std::string_view json);  // as MenuItem::decode
  std::string encode() const;                          // as MenuItem::encode

  bool operator==(const NavigationTab& other) const { return fields_ == other.fields_; }
};

// A rule for opening addresses outside the app. The library gives `type` and `condition` no
// meaning; Constants::WEBVIEW_OPEN_TYPE and WEBVIEW_OPEN_CONDITION name the usual values.
class VEXLOWEB_EXPORT ExternalBrowseUrl : public detail::TextTriple {
 public:
  static constexpr std::array<std::string_view, 3> kKeys{"type", "condition", "url"};

  ExternalBrowseUrl() = default;
  ExternalBrowseUrl(std::optional<std::string> type, std::optional<std::string> condition,
                    std::optional<std::string> url)
      : TextTriple(std::move(type), std::move(condition), std::move(url)) {}

  const std::optional<std::string>& type() const noexcept { return fields_[0]; }
  const std::optional<std::string>& condition() const noexcept { return fields_[1]; }
  const std::optional<std::string>& url() const noexcept { return fields_[2]; }

  static ExternalBrowseUrl decode(std::string_view json);  // as MenuItem::decode
  std::string encode() const;                              // as MenuItem::encode

  bool operator==(const ExternalBrowseUrl& other) const { return fields_ == other.fields_; }
};

}  // namespace vexloweb
