#include "loader/exports.hpp"

#include "loader/loader_fixture.hpp"
#include "vexloweb/constants/constants.hpp"

namespace vexloweb {
namespace {

using platform::DefaultsValue;
using testing::LoaderTest;
using std::string_literals::operator""s;

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

// Which names each theme (or none) gives is the catalogue's test; here, that they land under
// their two keys.
TEST_F(LoaderTest, TheThemesColourNamesLandUnderTheirKeys) {
  hold(R"({"theme_color": "GRADIENT_4"})");
  exportHeld(exportThemeSettings);
  EXPECT_EQ(stored(Constants::KEY_COLOR_PRIMARY), DefaultsValue("quarn_gradient4_primary"s));
  EXPECT_EQ(stored(Constants::KEY_COLOR_PRIMARY_DARK), DefaultsValue("quarn_gradient4_secondary"s));
}

}  // namespace
}  // namespace vexloweb
