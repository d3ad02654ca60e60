#include "vexloweb/constants/constants.hpp"

#include <thread>
#include <unordered_set>

#include <gtest/gtest.h>

#include "vexloweb/constants/colors.hpp"
#include "vexloweb/constants/dimens.hpp"
#include "vexloweb/constants/options.hpp"

namespace vexloweb {
namespace {

using C = Constants;

// Every string constant against the catalogue's table, written out here (not read back from
// the header), in the catalogue's order: 6 menu commands, 23 settings keys, 16 ad keys, 60 theme
// names, 13 loader styles, 4 navigation styles, 6 + 6 button options; with BASE_URL, 135.
TEST(Constants, EveryStringHasItsCataloguedValue) {
  std::vector<std::pair<std::string_view, std::string>> cases = {
      {C::MENU_HOME, "HOME"},
      {C::MENU_THEME, "THEME"},
      {C::MENU_ABOUT, "ABOUT"},
      {C::MENU_RATE, "RATE"},
      {C::MENU_SHARE, "SHARE"},
      {C::MENU_EXIT, "EXIT"},
      {C::KEY_THEME, "APP_THEME"},
      {C::KEY_COLOR_PRIMARY, "COLOR_PRIMARY"},
      {C::KEY_COLOR_PRIMARY_DARK, "COLOR_PRIMARY_DARK"},
      {C::KEY_WEB_URL, "WEB_URL"},
      {C::KEY_TOOLBAR_STYLE, "TOOLBAR_STYLE"},
      {C::KEY_NAVIGATION_STYLE, "NAVIGATION"},
      {C::KEY_LEFT_MENU_STYLE, "LEFT_MENU"},
      {C::KEY_RIGHT_MENU_STYLE, "RIGHT_MENU"},
      {C::KEY_JAVASCRIPT_ACTIVE, "JAVASCRIPT"},
      {C::KEY_DOWNLOADS_IN_WEBVIEW_ACTIVE, "DOWNLOADS_IN"},
      {C::KEY_PERMISSION_DIALOG_ACTIVE, "PERMISSION_DIALOG"},
      {C::KEY_FULL_SCREEN_ACTIVE, "FULL_SCREEN"},
      {C::KEY_SPLASH_SCREEN_ACTIVE, "SPLASH_SCREEN"},
      {C::KEY_DESKTOP_MOOD_ACTIVE, "DESKTOP_MOOD"},
      {C::KEY_WEBSITE_ZOOM_ACTIVE, "WEBSITE_ZOOM"},
      {C::KEY_OFFLINE_MODE_ACTIVE, "OFFLINE_MODE"},
      {C::KEY_LOADER_DELAY, "LOADER_DELAY"},
      {C::KEY_FILE_UPLOAD_ENABLE, "FILE_UPLOAD"},
      {C::KEY_PHOTO_UPLOAD_ENABLE, "PHOTO_UPLOAD"},
      {C::KEY_CAMERA_PHOTO_UPLOAD_ENABLE, "CAMERA_PHOTO_UPLOAD"},
      {C::KEY_MULTIPLE_FILE_UPLOAD_ENABLE, "MULTIPLE_FILE_UPLOAD"},
      {C::KEY_PULL_TO_REFRESH_ENABLE, "PULL_TO_REFRESH_ENABLE"},
      {C::KEY_LOADER, "LOADER"},
      {C::ADMOB_KEY_AD_ID, "ADMOB_ID"},
      {C::ADMOB_KEY_AD_DELAY, "AD_DELAY"},
      {C::ADMOB_KEY_AD_BANNER, "BANNER"},
      {C::ADMOB_KEY_AD_REWARDED, "REWARDED"},
      {C::ADMOB_KEY_AD_INTERSTITIAL, "INTERSTITIAL"},
      {C::ADMOB_KEY_BANNER_AD_DELAY, "BANNER_AD_DELAY"},
      {C::ADMOB_KEY_INTERSTITIAL_AD_DELAY, "INTERSTITIAL_AD_DELAY"},
      {C::ADMOB_KEY_REWARDED_AD_DELAY, "REWARDED_AD_DELAY"},
      {C::FB_KEY_AD_ID, "FB_AD_ID"},
      {C::FB_KEY_AD_DELAY, "FB_AD_DELAY"},
      {C::FB_KEY_AD_BANNER, "FB_BANNER"},
      {C::FB_KEY_AD_INTERSTITIAL, "FB_INTERSTITIAL"},
      {C::FB_KEY_AD_REWARDED, "FB_REWARDED"},
      {C::FB_KEY_AD_BANNER_DELAY, "FB_BANNER_DELAY"},
      {C::FB_KEY_AD_INTERSTITIAL_DELAY, "FB_INTERSTITIAL_DELAY"},
      {C::FB_KEY_AD_REWARDED_DELAY, "FB_REWARDED_DELAY"},
      {C::THEME_PRIMARY, "THEME_PRIMARY"},
      {C::LOADER_ROTATING_PLANE, "ROTATING_PLANE"},
      {C::LOADER_DOUBLE_BOUNCE, "DOUBLE_BOUNCE"},
      {C::LOADER_WAVE, "WAVE"},
      {C::LOADER_WANDERING_CUBE, "WANDERING_CUBE"},
      {C::LOADER_PULSE, "PULSE"},
      {C::LOADER_CHASING_DOTS, "CHASING_DOTS"},
      {C::LOADER_THREE_BOUNCE, "THREE_BOUNCE"},
      {C::LOADER_CIRCLE, "CIRCLE"},
      {C::LOADER_CUBE_GRID, "CUBE_GRID"},
      {C::LOADER_FADING_CIRCLE, "DADING_CIRCLE"},
      {C::LOADER_FOLDING_CUBE, "FOLDING_CUBE"},
      {C::LOADER_ROTATING_CIRCLE, "ROTATING_CIRCLE"},
      {C::LOADER_HIDE, "HIDE"},
      {C::NAVIGATION_ORDINARY, "NAV_ORDINARY"},
      {C::NAVIGATION_STANDER, "NAV_STANDER"},
      {C::NAVIGATION_CLASSIC, "NAV_CLASSIC"},
      {C::NAVIGATION_HIDE, "NAV_HIDE"},
      {C::LEFT_MENU_SLIDER, "LEFT_SLIDER"},
      {C::LEFT_MENU_RELOAD, "LEFT_RELOAD"},
      {C::LEFT_MENU_SHARE, "LEFT_SHARE"},
      {C::LEFT_MENU_HOME, "LEFT_HOME"},
      {C::LEFT_MENU_NAVIGATION, "LEFT_MENU_NAVIGATION"},
      {C::LEFT_MENU_HIDE, "LEFT_HIDE"},
      {C::RIGHT_MENU_SLIDER, "RIGHT_SLIDER"},
      {C::RIGHT_MENU_HOME, "RIGHT_HOME"},
      {C::RIGHT_MENU_SHARE, "RIGHT_SHARE"},
      {C::RIGHT_MENU_RELOAD, "RIGHT_RELOAD"},
      {C::RIGHT_MENU_NAVIGATION, "RIGHT_MENU_NAVIGATION"},
      {C::RIGHT_MENU_HIDE, "RIGHT_HIDE"},
  };
  const std::string_view gradients[] = {
      C::THEME_GRADIENT_1,  C::THEME_GRADIENT_2,  C::THEME_GRADIENT_3,  C::THEME_GRADIENT_4,
      C::THEME_GRADIENT_5,  C::THEME_GRADIENT_6,  C::THEME_GRADIENT_7,  C::THEME_GRADIENT_8,
      C::THEME_GRADIENT_9,  C::THEME_GRADIENT_10, C::THEME_GRADIENT_11, C::THEME_GRADIENT_12,
      C::THEME_GRADIENT_13, C::THEME_GRADIENT_14, C::THEME_GRADIENT_15, C::THEME_GRADIENT_16,
      C::THEME_GRADIENT_17};
  const std::string_view solids[] = {
      C::THEME_SOLID_1,  C::THEME_SOLID_2,  C::THEME_SOLID_3,  C::THEME_SOLID_4,  C::THEME_SOLID_5,
      C::THEME_SOLID_6,  C::THEME_SOLID_7,  C::THEME_SOLID_8,  C::THEME_SOLID_9,  C::THEME_SOLID_10,
      C::THEME_SOLID_11, C::THEME_SOLID_12, C::THEME_SOLID_13, C::THEME_SOLID_14, C::THEME_SOLID_15,
      C::THEME_SOLID_16, C::THEME_SOLID_17, C::THEME_SOLID_18, C::THEME_SOLID_19, C::THEME_SOLID_20,
      C::THEME_SOLID_21, C::THEME_SOLID_22, C::THEME_SOLID_23, C::THEME_SOLID_24, C::THEME_SOLID_25,
      C::THEME_SOLID_26, C::THEME_SOLID_27, C::THEME_SOLID_28, C::THEME_SOLID_29, C::THEME_SOLID_30,
      C::THEME_SOLID_31, C::THEME_SOLID_32, C::THEME_SOLID_33, C::THEME_SOLID_34, C::THEME_SOLID_35,
      C::THEME_SOLID_36, C::THEME_SOLID_37, C::THEME_SOLID_38, C::THEME_SOLID_39, C::THEME_SOLID_40,
      C::THEME_SOLID_41, C::THEME_SOLID_42};
  for (int n = 1; n <= 17; ++n)
    cases.emplace_back(gradients[n - 1], "GRADIENT_" + std::to_string(n));
  for (int n = 1; n <= 42; ++n) cases.emplace_back(solids[n - 1], "SOLID_" + std::to_string(n));
  ASSERT_EQ(cases.size() + 1, 135U);
  for (const auto& [value, expected] : cases) EXPECT_EQ(value, expected);
  EXPECT_EQ(C::BASE_URL.substr(0, 8), "https://");
  EXPECT_EQ(C::BASE_URL.back(), '/');
}

template <class Option>
void expectRoundTrips(std::initializer_list<std::string_view> raws) {
  std::size_t ordinal = 0;
  std::unordered_set<std::size_t> hashes;
  for (std::string_view raw : raws) {
    const auto option = fromRawValue<Option>(raw);
    ASSERT_TRUE(option) << raw;
    EXPECT_EQ(static_cast<std::size_t>(*option), ordinal++);
    EXPECT_EQ(rawValue(*option), raw);
    EXPECT_EQ(std::hash<Option>{}(*option), std::hash<std::string_view>{}(raw));
    hashes.insert(std::hash<Option>{}(*option));
    for (const std::string& raw2 :
         {std::string(raw) + " ", " " + std::string(raw), std::string(raw.substr(0, 1)) + "x"}) {
      EXPECT_FALSE(fromRawValue<Option>(raw2)) << raw2;
    }
  }
  EXPECT_EQ(hashes.size(), raws.size());
  EXPECT_FALSE(fromRawValue<Option>(""));
}

TEST(Options, EveryCaseRoundTripsAndNearMissesFail) {
  expectRoundTrips<C::WEBVIEW_OPEN_TYPE>({"INSIDE", "EXTERNAL", "CUSTOM_TAB"});
  expectRoundTrips<C::WEBVIEW_OPEN_CONDITION>(
      {"EQUAL", "NOT_EQUAL", "CONTAIN", "NOT_CONTAIN", "START_WITH", "NOT_START_WITH"});
  expectRoundTrips<C::SPLASH_SCREEN_TYPE>({"HIDE", "STANDER", "FULL_SCREEN"});
  expectRoundTrips<C::NAVIGATION_BAR_TYPE>({"HIDE", "LOGO", "TEXT"});
  for (const char* miss : {"inside", "Inside", "INSIDE ", "STANDARD"}) {
    EXPECT_FALSE(fromRawValue<C::WEBVIEW_OPEN_TYPE>(miss));
    EXPECT_FALSE(fromRawValue<C::SPLASH_SCREEN_TYPE>(miss));
  }
  EXPECT_EQ(fromRawValue<C::NAVIGATION_BAR_TYPE>("HIDE"), C::NAVIGATION_BAR_TYPE::HIDE);
  static_assert(rawValue(C::SPLASH_SCREEN_TYPE::STANDER) == "STANDER");
}

// The palette's table: each component is exactly n / 255.0, alpha 1; one object per member.
TEST(Colors, EveryMemberHasItsCataloguedComponents) {
  struct Case {
    const platform::Color& (*member)();
    int red, green, blue;
  };
  const Case cases[] = {
      {Colors::primaryColor, 237, 191, 101}, {Colors::primaryDarkColor, 210, 144, 50},
      {Colors::accentColor, 52, 191, 104},   {Colors::brightOrange, 255, 69, 0},
      {Colors::red, 255, 115, 115},          {Colors::orange, 255, 175, 72},
      {Colors::blue, 74, 144, 228},          {Colors::green, 91, 197, 159},
      {Colors::darkGrey, 85, 85, 85},        {Colors::veryDarkGrey, 13, 13, 13},
      {Colors::lightGrey, 200, 200, 200},    {Colors::black, 0, 0, 0},
      {Colors::white, 255, 255, 255},
  };
  std::unordered_set<const platform::Color*> objects;
  for (const Case& c : cases) {
    const platform::Color& color = c.member();
    EXPECT_EQ(&color, &c.member());
    objects.insert(&color);
    EXPECT_EQ(color.red(), c.red / 255.0) << c.red;
    EXPECT_EQ(color.green(), c.green / 255.0) << c.green;
    EXPECT_EQ(color.blue(), c.blue / 255.0) << c.blue;
    EXPECT_EQ(color.alpha(), 1.0);
  }
  EXPECT_EQ(objects.size(), 13U);
}

TEST(Dimens, EverySizeHasItsCataloguedValue) {
  const std::pair<std::int64_t, std::int64_t> cases[] = {
      {Dimens::bottom_button_size, 50},
      {Dimens::margin_1, 4},
      {Dimens::margin_2, 8},
      {Dimens::margin_3, 12},
      {Dimens::margin_4, 16},
      {Dimens::margin_5, 20},
      {Dimens::margin_6, 24},
      {Dimens::margin_7, 28},
      {Dimens::margin_8, 32},
      {Dimens::text_size_nano, 7},
      {Dimens::text_size_micro, 9},
      {Dimens::text_size_small, 10},
      {Dimens::text_size_regular, 12},
      {Dimens::text_size_medium, 14},
      {Dimens::text_size_large, 16},
      {Dimens::text_size_xl, 18},
      {Dimens::text_size_2xl, 20},
      {Dimens::text_size_3xl, 22},
      {Dimens::text_size_4xl, 24},
      {Dimens::text_size_5xl, 26},
      {Dimens::text_size_6xl, 28},
      {Dimens::text_size_7xl, 30},
  };
  EXPECT_EQ(std::size(cases), 22U);
  for (const auto& [value, expected] : cases) EXPECT_EQ(value, expected);
}

TEST(Colors, ConcurrentFirstReadsGetOneObject) {
  std::vector<const platform::Color*> seen(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    threads.emplace_back([&seen, i] { seen[i] = &Colors::orange(); });
  }
  for (auto& thread : threads) thread.join();
  for (const auto* color : seen) EXPECT_EQ(color, seen[0]);
}

}  // namespace
}  // namespace vexloweb
