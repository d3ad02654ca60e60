// Bytes as a whole `.io` file through the real load with the real key. Oracle: afterwards the
// holder either holds a record that encodes and decodes back equal, or is unchanged.
#include <cstdint>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "fuzz_check.hpp"
#include "vexloweb/loader/load_pipeline.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"

namespace {

const std::filesystem::path& bundleFolder() {
  static const std::filesystem::path folder = [] {
    auto path =
        std::filesystem::temp_directory_path() / ("vexloweb-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    vexloweb::platform::Bundle::setMainPath(path);
    vexloweb::platform::UserDefaults::setStandardInMemory();
    return path;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(bundleFolder() / "fuzz.io", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  auto& holder = vexloweb::AppDataInstance::getInstance();
  vexloweb::ConfigureData marker;
  marker.set_package_name("held before the load");
  holder.setConfigureData(marker);

  const auto outcome = vexloweb::loadConfiguration("fuzz");
  const auto held = holder.configureData();
  FUZZ_CHECK(held.has_value());
  if (outcome.ok()) {
    FUZZ_CHECK(vexloweb::ConfigureData::decode(held->encode()) == *held);
  } else {
    FUZZ_CHECK(*held == marker);
  }
  return 0;
}
