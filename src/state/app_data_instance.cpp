#include "vexloweb/state/app_data_instance.hpp"

namespace vexloweb {

AppDataInstance& AppDataInstance::getInstance() {
  // Created once under the language's thread-safe static initialisation; never destroyed, so
  // reads during static destruction at exit stay valid.
  static auto* const instance = new AppDataInstance();
  return *instance;
}

std::optional<ConfigureData> AppDataInstance::configureData() const {
  std::lock_guard lock(mutex_);
  return configureData_;
}

void AppDataInstance::setConfigureData(std::optional<ConfigureData> record) {
  {
    std::lock_guard lock(mutex_);
    configureData_.swap(record);
  }
  // `record` now holds the previous value and is released here, outside the lock.
}

}  // namespace vexloweb
