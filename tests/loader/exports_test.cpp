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

TEST_F(LoaderTest, TheThemesColourNamesLandUnderTheirKeys) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"theme_color": "GRADIENT_4"})", "quarn_gradient4_primary quarn_gradient4_secondary"},
      {R"({"theme_color": "SOLID_42"})", "quarn_solid42_primary quarn_solid42_primary"},
      {"{}", "colorPrimary colorPrimaryDark"}};
  for (const auto& [json, names] : cases) {
    hold(json);
    exportHeld(exportThemeSettings);
    EXPECT_EQ(std::get<std::string>(*stored(Constants::KEY_COLOR_PRIMARY)) + " " +
                  std::get<std::string>(*stored(Constants::KEY_COLOR_PRIMARY_DARK)),
              names);
  }
}

}  // namespace
}  // namespace vexloweb
