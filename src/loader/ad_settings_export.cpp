#include <array>
#include <iterator>
#include <string_view>

#include "loader/exports.hpp"
#include "vexloweb/constants/constants.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"

namespace vexloweb {
namespace {

using C = Constants;

struct AdSetting {
  std::string_view key;
  std::optional<platform::DefaultsValue> (*read)(const ConfigureData&);
};

template <auto Field>
std::optional<platform::DefaultsValue> read(const ConfigureData& record) {
  const auto& value = (record.*Field)();
  if (!value) return std::nullopt;
  return platform::DefaultsValue(*value);
}

// In the order of the writes. The admob group writes rewarded before interstitial; the fb group
// the other way round.
constexpr AdSetting kAdSettings[] = {
    {C::ADMOB_KEY_AD_ID, read<&ConfigureData::admob_id>},
    {C::ADMOB_KEY_AD_BANNER, read<&ConfigureData::key_ad_banner>},
    {C::ADMOB_KEY_AD_REWARDED, read<&ConfigureData::key_ad_rewarded>},
    {C::ADMOB_KEY_AD_INTERSTITIAL, read<&ConfigureData::key_ad_interstitial>},
    {C::ADMOB_KEY_AD_DELAY, read<&ConfigureData::admob_delay>},
    {C::ADMOB_KEY_BANNER_AD_DELAY, read<&ConfigureData::admob_banner_delay>},
    {C::ADMOB_KEY_INTERSTITIAL_AD_DELAY, read<&ConfigureData::admob_interstitial_delay>},
    {C::ADMOB_KEY_REWARDED_AD_DELAY, read<&ConfigureData::admob_rewarded_delay>},
    {C::FB_KEY_AD_ID, read<&ConfigureData::fb_ad_id>},
    {C::FB_KEY_AD_BANNER, read<&ConfigureData::fb_ad_banner>},
    {C::FB_KEY_AD_INTERSTITIAL, read<&ConfigureData::fb_ad_interstitial>},
    {C::FB_KEY_AD_REWARDED, read<&ConfigureData::fb_ad_rewarded>},
    {C::FB_KEY_AD_DELAY, read<&ConfigureData::fb_ad_delay>},
    {C::FB_KEY_AD_BANNER_DELAY, read<&ConfigureData::fb_ad_banner_delay>},
    {C::FB_KEY_AD_INTERSTITIAL_DELAY, read<&ConfigureData::fb_ad_interstitial_delay>},
    {C::FB_KEY_AD_REWARDED_DELAY, read<&ConfigureData::fb_ad_rewarded_delay>},
};

}  // namespace

const std::array<std::string_view, 16>& adSettingKeys() {
  static constexpr auto kKeys = [] {
    std::array<std::string_view, std::size(kAdSettings)> keys{};
    for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = kAdSettings[i].key;
    return keys;
  }();
  return kKeys;
}

ExportedSettings readExportedSettings() {
  // Only the values exported are taken under the holder's lock, not a copy of the whole record.
  ExportedSettings settings;
  AppDataInstance::getInstance().modifyConfigureData(
      [&](const std::optional<ConfigureData>& record) {
        if (!record) return;
        settings.held = true;
        for (std::size_t i = 0; i < settings.ads.size(); ++i)
          settings.ads[i] = kAdSettings[i].read(*record);
        settings.theme = record->theme_color();
      });
  return settings;
}

void exportAdSettings(ExportedSettings& settings, platform::UserDefaults& defaults) {
  if (!settings.held) return;
  for (std::size_t i = 0; i < settings.ads.size(); ++i) {
    defaults.setObject(std::move(settings.ads[i]), kAdSettings[i].key);
  }
}

}  // namespace vexloweb
