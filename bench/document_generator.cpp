#include "document_generator.hpp"

namespace vexloweb::bench {
namespace {

constexpr const char* kScalars =
    R"("package_name":"com.example.bakery","conf_form":"generator-2.4",)"
    R"("base_url":"https://bakery.example/","admob_id":"ca-app-pub-3940256099942544~1458002511",)"
    R"("key_ad_banner":"ca-app-pub-3940256099942544/2934735716",)"
    R"("key_ad_interstitial":"ca-app-pub-3940256099942544/4411468910",)"
    R"("key_ad_rewarded":"ca-app-pub-3940256099942544/1712485313","admob_delay":30,)"
    R"("key_ad_banner_delay":5,"key_ad_interstitial_delay":60,"key_ad_rewarded_delay":120,)"
    R"("fb_ad_id":"1234567890123456","fb_ad_banner":"1234567890123456_1111111111",)"
    R"("fb_ad_interstitial":"1234567890123456_2222222222",)"
    R"("fb_ad_rewarded":"1234567890123456_3333333333","fb_ad_delay":45,"fb_ad_banner_delay":10,)"
    R"("fb_ad_interstitial_delay":90,"fb_ad_rewarded_delay":180,"toolbar_style":"NAV_STANDER",)"
    R"("navigation_bar":"LOGO","navigation_bar_style":"NAV_CLASSIC",)"
    R"("left_button_option":"LEFT_SLIDER","right_button_option":"RIGHT_RELOAD",)"
    R"("theme_color":"GRADIENT_3","loader_style":"THREE_BOUNCE","loader_int_time":1.5,)"
    R"("no_internet_interval":15,"file_upload":true,"photo_upload":true,)"
    R"("camera_photo_upload":false,"multiple_file_upload":true,"js_active":true,)"
    R"("downloads_webview":false,"permission_dialog":true,"splash_screen":true,)"
    R"("splash_qoute":"Fresh bread, every morning.","splash_screen_type":"FULL_SCREEN",)"
    R"("splash_footer":"\u00a9 2026 Bakery Example",)"
    R"("about_text":"Family bakery since 1962. Order ahead and skip the queue.",)"
    R"("about_email":"hello@bakery.example","about_mobile":"+44 20 7946 0958",)"
    R"("about_website":"https://bakery.example/about","loading_text":"Warming up the oven",)"
    R"("error_title":"Something went wrong",)"
    R"("error_text":"The page could not be shown. Please try again.",)"
    R"("no_internet_title":"You are offline",)"
    R"("no_internet_details":"Check your connection; we will retry every 15 seconds.",)"
    R"("try_again_button":"Try again","swipe_refresh":true,"website_zoom":false,)"
    R"("desktop_mood":false,"fullscreen":false,"menu_header_title":"Bakery Example",)"
    R"("menu_header_details":"Open daily 7:00-18:00",)";

}  // namespace

std::string generateDocument(std::size_t bytes) {
  // Menus, tabs and link rules in the proportions 4 : 2 : 1, appended until the whole reaches
  // the size.
  std::string menus;
  std::string tabs;
  std::string rules;
  const std::size_t fixed = std::char_traits<char>::length(kScalars) + 64;
  for (std::size_t i = 0; fixed + menus.size() + tabs.size() + rules.size() < bytes; ++i) {
    const std::string n = std::to_string(i);
    if (!menus.empty()) menus += ',';
    menus += R"({"menu":"Menu entry )" + n + R"(","url":"https://bakery.example/menu/)" + n +
             R"(","icon":"icon_)" + n + R"("})";
    if (i % 2 == 0) {
      if (!tabs.empty()) tabs += ',';
      tabs += R"({"menu":"Tab )" + n + R"(","url":"https://bakery.example/tab/)" + n +
              R"(","icon":"tab_)" + n + R"("})";
    }
    if (i % 4 == 0) {
      if (!rules.empty()) rules += ',';
      rules += R"({"type":"EXTERNAL","condition":"START_WITH","url":"https://partner)" + n +
               R"(.example/"})";
    }
  }
  return std::string("{") + kScalars + R"("menus":[)" + menus + R"(],"tabs":[)" + tabs +
         R"(],"external_browser_url":[)" + rules + "]}";
}

}  // namespace vexloweb::bench
