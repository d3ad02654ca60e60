// The in-process peer the load is measured against: the same file loaded as a C++ developer
// would write it with OpenSSL's EVP interface and nlohmann::json (clean the text, decode, decrypt,
// decode, parse, fill a typed record, export the 18 settings into a map). For the benchmarks only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vexloweb::bench {

struct PeerItem {
  std::optional<std::string> name, url, icon;
};

struct PeerRecord {
  std::optional<std::string> package_name, base_url, admob_id, key_ad_banner, key_ad_interstitial,
      key_ad_rewarded, fb_ad_id, fb_ad_banner, fb_ad_interstitial, fb_ad_rewarded, theme_color;
  std::optional<std::int64_t> admob_delay, admob_banner_delay, admob_interstitial_delay,
      admob_rewarded_delay, fb_ad_delay, fb_ad_banner_delay, fb_ad_interstitial_delay,
      fb_ad_rewarded_delay;
  std::optional<double> loader_delay;
  std::optional<std::vector<PeerItem>> menus, tabs;
  std::map<std::string, std::string> texts;  // the other text members
};

using PeerValue = std::variant<std::string, std::int64_t>;

struct PeerLoad {
  PeerRecord record;
  std::map<std::string, PeerValue> exported;
};

// The whole load of `file`, or nothing when any step fails.
std::optional<PeerLoad> peerLoad(const std::filesystem::path& file, std::string_view key,
                                 std::string_view iv);

}  // namespace vexloweb::bench
