#include "vexloweb/state/app_data_instance.hpp"

#include <stdexcept>
#include <string>

#include "platform/diagnose.hpp"

namespace vexloweb {
namespace {

// The holder whose modification this thread is running, if any.
thread_local const AppDataInstance* tModifying = nullptr;

}  // namespace

AppDataInstance& AppDataInstance::getInstance() {
  // Created once under the language's thread-safe static initialisation; never destroyed, so
  // reads during static destruction at exit stay valid.
  static auto* const instance = new AppDataInstance();
  return *instance;
}

std::optional<ConfigureData> AppDataInstance::configureData() const {
  refuseReentry("configureData");
  std::lock_guard lock(mutex_);
  return configureData_;
}

void AppDataInstance::setConfigureData(std::optional<ConfigureData> record) {
  refuseReentry("setConfigureData");
  {
    std::lock_guard lock(mutex_);
    configureData_.swap(record);
  }
  // `record` now holds the previous value and is released here, outside the lock.
}

void AppDataInstance::swapConfigureData(std::optional<ConfigureData>& record) {
  refuseReentry("swapConfigureData");
  std::lock_guard lock(mutex_);
  configureData_.swap(record);
}

void AppDataInstance::refuseReentry(const char* call) const {
  if (tModifying == this) {
    throw std::logic_error(std::string("AppDataInstance::") + call +
                           " called from inside modifyConfigureData on the same thread");
  }
}

AppDataInstance::MutationScope::MutationScope(const AppDataInstance& holder) {
  holder.refuseReentry("modifyConfigureData");
  lock_ = std::unique_lock(holder.mutex_);
  tModifying = &holder;
  platform::deferDiagnostics();  // a handler may read the holder: not while its lock is held
}

AppDataInstance::MutationScope::~MutationScope() {
  tModifying = nullptr;
  lock_.unlock();
  platform::resumeDiagnostics();
}

}  // namespace vexloweb
