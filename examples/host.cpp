// The README's host example: loads a configuration and reads a few fields and defaults.
#include <vexloweb/vexloweb.hpp>

#include <iostream>

int main() {
  using namespace vexloweb;
  platform::Bundle::setMainPath("out");  // where app.io lives
  platform::UserDefaults::setStandardPath("out/defaults.sqlite3");

  ConfigureVexloWeb().readConfiguration("app");  // silent; never throws
  if (auto record = AppDataInstance::getInstance().configureData()) {
    std::cout << record->base_url().value_or("(no base URL)") << '\n';
    for (const auto& menu : record->menus().value_or(std::vector<MenuItem>{}))
      std::cout << menu.name().value_or("") << '\n';
  }
  auto colour = platform::UserDefaults::standard().object(Constants::KEY_COLOR_PRIMARY);
  if (colour) std::cout << std::get<std::string>(*colour) << '\n';
}
