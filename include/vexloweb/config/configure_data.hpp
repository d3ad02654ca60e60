// ConfigureData: one app's configuration, decoded from the JSON document inside its sealed
// `.io` file. The loader builds it; the host reads it from AppDataInstance. Every field is
// optional: absence is the only way a field says "not configured". Records are plain values with
// no shared state: copy and read them from any thread.
//
// Decoding rules, per kind of field (key absent or null: the field is absent, never an error):
//   text     a JSON string
//   integer  a JSON number whose value is whole and fits int64: 3, 3.0 and 3e0 give 3;
//            2.5 and anything beyond the int64 range are refused
//   number   any JSON number (2 gives 2.0)
//   switch   true or false (not "true", not 1)
//   list     a JSON array of objects, each decoded as its list record (null elements refused)
// Keys are matched exactly (case-sensitive). Members that are not keys are ignored. When a name
// appears twice in one object, the first member wins. Fields are read in a fixed order, and the
// first failure in that order is the one thrown: decoding never yields a partial record.
//
// Example:
//   auto record = vexloweb::ConfigureData::decode(R"({"package_name":"a.b","loader_int_time":2})");
//   record.package_name();   // "a.b"
//   record.loader_delay();   // 2.0 (read from the key "loader_int_time")
//   record.theme_color();    // absent
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vexloweb/config/decoding_error.hpp"
#include "vexloweb/config/list_records.hpp"
#include "vexloweb/export.hpp"

// The field table: X(field, "JSON key", value type), in declaration order, which is also the
// order of CodingKeys and of encoding. It drives the accessors, the key enumeration, the decoder,
// the encoder and the tool's JSON Schema, so each field is written once. Five keys differ from
// their field's name on purpose: the three admob delays, loader_delay and external_browse_url.
#define VEXLOWEB_CONFIGURE_DATA_FIELDS(X)                                \
  /* The app and its web site. */                                        \
  X(package_name, "package_name", std::string)                           \
  X(conf_form, "conf_form", std::string)                                 \
  X(base_url, "base_url", std::string)                                   \
  /* Ads, admob group: exported to user defaults by every load. */       \
  X(admob_id, "admob_id", std::string)                                   \
  X(key_ad_banner, "key_ad_banner", std::string)                         \
  X(key_ad_interstitial, "key_ad_interstitial", std::string)             \
  X(key_ad_rewarded, "key_ad_rewarded", std::string)                     \
  X(admob_delay, "admob_delay", std::int64_t)                            \
  X(admob_banner_delay, "key_ad_banner_delay", std::int64_t)             \
  X(admob_interstitial_delay, "key_ad_interstitial_delay", std::int64_t) \
  X(admob_rewarded_delay, "key_ad_rewarded_delay", std::int64_t)         \
  /* Ads, fb group: exported to user defaults by every load. */          \
  X(fb_ad_id, "fb_ad_id", std::string)                                   \
  X(fb_ad_banner, "fb_ad_banner", std::string)                           \
  X(fb_ad_interstitial, "fb_ad_interstitial", std::string)               \
  X(fb_ad_rewarded, "fb_ad_rewarded", std::string)                       \
  X(fb_ad_delay, "fb_ad_delay", std::int64_t)                            \
  X(fb_ad_banner_delay, "fb_ad_banner_delay", std::int64_t)              \
  X(fb_ad_interstitial_delay, "fb_ad_interstitial_delay", std::int64_t)  \
  X(fb_ad_rewarded_delay, "fb_ad_rewarded_delay", std::int64_t)          \
  /* Bars, buttons, theme and loader: option words, held as given. */    \
  X(toolbar_style, "toolbar_style", std::string)                         \
  X(navigation_bar, "navigation_bar", std::string)                       \
  X(navigation_bar_style, "navigation_bar_style", std::string)           \
  X(left_button_option, "left_button_option", std::string)               \
  X(right_button_option, "right_button_option", std::string)             \
  X(theme_color, "theme_color", std::string) /* colour names exported */ \
  X(loader_style, "loader_style", std::string)                           \
  X(loader_delay, "loader_int_time", double)                             \
  X(no_internet_interval, "no_internet_interval", std::int64_t)          \
  /* Web view switches. */                                               \
  X(file_upload, "file_upload", bool)                                    \
  X(photo_upload, "photo_upload", bool)                                  \
  X(camera_photo_upload, "camera_photo_upload", bool)                    \
  X(multiple_file_upload, "multiple_file_upload", bool)                  \
  X(js_active, "js_active", bool)                                        \
  X(downloads_webview, "downloads_webview", bool)                        \
  X(permission_dialog, "permission_dialog", bool)                        \
  /* Splash screen. */                                                   \
  X(splash_screen, "splash_screen", bool)                                \
  X(splash_qoute, "splash_qoute", std::string)                           \
  X(splash_screen_type, "splash_screen_type", std::string)               \
  X(splash_footer, "splash_footer", std::string)                         \
  /* About screen. */                                                    \
  X(about_text, "about_text", std::string)                               \
  X(about_email, "about_email", std::string)                             \
  X(about_mobile, "about_mobile", std::string)                           \
  X(about_website, "about_website", std::string)                         \
  /* Texts shown while loading, on errors and offline. */                \
  X(loading_text, "loading_text", std::string)                           \
  X(error_title, "error_title", std::string)                             \
  X(error_text, "error_text", std::string)                               \
  X(no_internet_title, "no_internet_title", std::string)                 \
  X(no_internet_details, "no_internet_details", std::string)             \
  X(try_again_button, "try_again_button", std::string)                   \
  /* More web view switches. */                                          \
  X(swipe_refresh, "swipe_refresh", bool)                                \
  X(website_zoom, "website_zoom", bool)                                  \
  X(desktop_mood, "desktop_mood", bool)                                  \
  X(fullscreen, "fullscreen", bool)                                      \
  /* Side menu, tabs and link rules. */                                  \
  X(menu_header_title, "menu_header_title", std::string)                 \
  X(menu_header_details, "menu_header_details", std::string)             \
  X(menus, "menus", std::vector<::vexloweb::MenuItem>)                   \
  X(tabs, "tabs", std::vector<::vexloweb::NavigationTab>)                \
  X(external_browse_url, "external_browser_url", std::vector<::vexloweb::ExternalBrowseUrl>)

namespace vexloweb {

class VEXLOWEB_EXPORT ConfigureData {
 public:
  // One case per field, in field order, named like the field.
  enum class CodingKeys {
#define VEXLOWEB_X(field, key, type) field,
    VEXLOWEB_CONFIGURE_DATA_FIELDS(VEXLOWEB_X)
#undef VEXLOWEB_X
  };
  static constexpr std::size_t kFieldCount = 58;

  // A record with every field absent (what "{}" decodes to).
  ConfigureData() = default;

  // Decodes a JSON document (UTF-8) by the rules above. Throws DecodingError naming the first
  // member at fault, or the byte offset of a syntax error; never returns a partial record.
  static ConfigureData decode(std::string_view json);

  // The record as one compact JSON object: present fields in declaration order under their keys,
  // absent ones left out, doubles in shortest round-trip form. decode(encode()) == *this.
  // Throws std::invalid_argument, naming the member, if loader_delay holds NaN or infinity or a
  // text (set through a setter) is not valid UTF-8: JSON cannot hold either, and a record never
  // encodes to JSON that decode() refuses. The setters themselves accept any value.
  std::string encode() const;

  // The JSON key of a case ("loader_int_time" for CodingKeys::loader_delay).
  static std::string_view stringValue(CodingKeys key) noexcept;
  // The case whose JSON key equals `jsonKey` exactly; none for any other text, including
  // field names whose key differs ("loader_delay").
  static std::optional<CodingKeys> codingKey(std::string_view jsonKey) noexcept;

  // One accessor per field, named like the field.
#define VEXLOWEB_X(field, key, type) \
  const std::optional<type>& field() const noexcept { return field##_; }
  VEXLOWEB_CONFIGURE_DATA_FIELDS(VEXLOWEB_X)
#undef VEXLOWEB_X

  // One setter per field (set_package_name, ...), for hosts that change the held record in place
  // through AppDataInstance::modifyConfigureData, and for tests. The loader never calls them.
#define VEXLOWEB_X(field, key, type) \
  void set_##field(std::optional<type> value) { field##_ = std::move(value); }
  VEXLOWEB_CONFIGURE_DATA_FIELDS(VEXLOWEB_X)
#undef VEXLOWEB_X

  bool operator==(const ConfigureData&) const = default;

  // Exchanges every field with `other`'s without copying or moving any text or list.
  void swap(ConfigureData& other) noexcept {
#define VEXLOWEB_X(field, key, type) field##_.swap(other.field##_);
    VEXLOWEB_CONFIGURE_DATA_FIELDS(VEXLOWEB_X)
#undef VEXLOWEB_X
  }
  friend void swap(ConfigureData& a, ConfigureData& b) noexcept { a.swap(b); }

 private:
#define VEXLOWEB_X(field, key, type) std::optional<type> field##_;
  VEXLOWEB_CONFIGURE_DATA_FIELDS(VEXLOWEB_X)
#undef VEXLOWEB_X

  friend struct ConfigureDataAccess;
};

}  // namespace vexloweb
