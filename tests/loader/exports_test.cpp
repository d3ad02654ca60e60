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
  const auto rows = testing::readTable("loader/ad_settings.tsv");
  std::string document;
  for (const auto& row : rows)
    document += (document.empty() ? "{" : ", ") + ("\"" + row[0] + "\": " + row[1]);
  hold(document + "}");
  exportHeld(exportAdSettings);
  for (const auto& row : rows) {
    EXPECT_EQ(stored(row[2]),
              row[3] == "text" ? DefaultsValue(row[4]) : DefaultsValue(std::stoll(row[4])))
        << row[2];
  }
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
