#include "vexloweb/state/app_data_instance.hpp"

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace vexloweb {
namespace {

ConfigureData recordNamed(const std::string& name) {
  ConfigureData record;
  record.set_package_name(name);
  record.set_menus(std::vector{MenuItem(name, name, name)});
  return record;
}

TEST(AppDataInstance, ReadersNeverSeeATornRecord) {
  auto& holder = AppDataInstance::getInstance();
  holder.setConfigureData(recordNamed("r0"));
  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r)
    readers.emplace_back([&] {
      while (!done.load()) {
        const auto record = holder.configureData();
        if (record && (*record->menus())[0].name() != record->package_name()) ++torn;
      }
    });
  std::thread modifier([&] {
    for (int i = 0; i < 2000; ++i)
      holder.modifyConfigureData([i](std::optional<ConfigureData>& record) {
        const std::string name = "m" + std::to_string(i);
        record->set_package_name(name);
        record->set_menus(std::vector{MenuItem(name, name, name)});
      });
  });
  for (int i = 0; i < 5000; ++i) holder.setConfigureData(recordNamed("r" + std::to_string(i)));
  modifier.join();
  done = true;
  for (auto& reader : readers) reader.join();
  EXPECT_EQ(torn.load(), 0);
  holder.setConfigureData(std::nullopt);
}

}  // namespace
}  // namespace vexloweb
