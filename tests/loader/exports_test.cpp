#include "loader/exports.hpp"

#include "loader/loader_fixture.hpp"
#include "vexloweb/constants/constants.hpp"

namespace vexloweb {
namespace {

using platform::DefaultsValue;
using testing::LoaderTest;

template <class Export>
void exportHeld(Export& write) {
  auto settings = readExportedSettings();
  write(settings, platform::UserDefaults::standard());
}

void hold(std::string_view json) {
  AppDataInstance::getInstance().setConfigureData(ConfigureData::decode(json));
}

TEST_F(LoaderTest, AdSettingsLandUnderTheirKeysWithTheirTypes) {
  hold(R"({"admob_id": "a", "key_ad_banner": "b", "key_ad_interstitial": "i",
           "key_ad_rewarded": "r", "admob_delay": 0, "key_ad_banner_delay": -1,
           "key_ad_interstitial_delay": 2, "key_ad_rewarded_delay": 3, "fb_ad_id": "",
           "fb_ad_banner": "fb", "fb_ad_interstitial": "fi", "fb_ad_rewarded": "fr",
           "fb_ad_delay": 4, "fb_ad_banner_delay": 5, "fb_ad_interstitial_delay": 6,
           "fb_ad_rewarded_delay": 9223372036854775807})");
  exportHeld(exportAdSettings);
  const std::pair<const char*, DefaultsValue> expected[] = {
      {"ADMOB_ID", std::string("a")},
      {"BANNER", std::string("b")},
      {"INTERSTITIAL", std::string("i")},
      {"REWARDED", std::string("r")},
      {"AD_DELAY", std::int64_t{0}},
      {"BANNER_AD_DELAY", std::int64_t{-1}},
      {"INTERSTITIAL_AD_DELAY", std::int64_t{2}},
      {"REWARDED_AD_DELAY", std::int64_t{3}},
      {"FB_AD_ID", std::string("")},
      {"FB_BANNER", std::string("fb")},
      {"FB_INTERSTITIAL", std::string("fi")},
      {"FB_REWARDED", std::string("fr")},
      {"FB_AD_DELAY", std::int64_t{4}},
      {"FB_BANNER_DELAY", std::int64_t{5}},
      {"FB_INTERSTITIAL_DELAY", std::int64_t{6}},
      {"FB_REWARDED_DELAY", std::int64_t{INT64_MAX}},
  };
  for (const auto& [key, value] : expected) EXPECT_EQ(stored(key), value) << key;
  EXPECT_EQ(platform::UserDefaults::standard().keys().size(), 16U);

  hold(R"({"admob_id": "only"})");
  exportHeld(exportAdSettings);
  EXPECT_EQ(platform::UserDefaults::standard().keys(), std::vector<std::string>{"ADMOB_ID"});
}

TEST_F(LoaderTest, EveryThemeNameMapsToItsColourPair) {
  const auto check = [](std::string_view json, const std::string& primary,
                        const std::string& dark) {
    hold(json);
    exportHeld(exportThemeSettings);
    EXPECT_EQ(stored(Constants::KEY_COLOR_PRIMARY), DefaultsValue(primary)) << json;
    EXPECT_EQ(stored(Constants::KEY_COLOR_PRIMARY_DARK), DefaultsValue(dark)) << json;
  };
  check(R"({"theme_color": "THEME_PRIMARY"})", "colorPrimary", "colorPrimaryDark");
  for (int n = 1; n <= 17; ++n) {
    const std::string name = "quarn_gradient" + std::to_string(n);
    check(R"({"theme_color": "GRADIENT_)" + std::to_string(n) + "\"}", name + "_primary",
          name + "_secondary");
  }
  for (int n = 1; n <= 42; ++n) {
    const std::string name = "quarn_solid" + std::to_string(n) + "_primary";
    check(R"({"theme_color": "SOLID_)" + std::to_string(n) + "\"}", name, name);
  }
  for (const char* miss : {"{}", R"({"theme_color": ""})", R"({"theme_color": "GRADIENT_0"})",
                           R"({"theme_color": "GRADIENT_18"})", R"({"theme_color": "SOLID_43"})",
                           R"({"theme_color": "SOLID_07"})", R"({"theme_color": "solid_7"})",
                           R"({"theme_color": "SOLID_7 "})", R"({"theme_color": "GRADIENT_"})",
                           R"({"theme_color": "THEME_GRADIENT_1"})"}) {
    check(miss, "colorPrimary", "colorPrimaryDark");
  }
}

}  // namespace
}  // namespace vexloweb
