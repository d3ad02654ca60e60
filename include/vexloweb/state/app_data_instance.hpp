// AppDataInstance: the process-wide holder of the current configuration record. The loader
// writes it after each successful load; the host's screens read it whenever they need a setting.
// Thread-safe: every read, write and in-place modification is atomic with respect to the others.
//
// Example:
//   auto& holder = vexloweb::AppDataInstance::getInstance();
//   if (auto record = holder.configureData()) use(record->base_url());
//   holder.modifyConfigureData([](auto& record) { if (record) record->set_fullscreen(true); });
#pragma once

#include <mutex>
#include <optional>
#include <utility>
#include "vexloweb/export.hpp"

#include "vexloweb/config/configure_data.hpp"

namespace vexloweb {

class VEXLOWEB_EXPORT AppDataInstance {
 public:
  // The one shared instance, created empty on the first call from any thread and never
  // destroyed. Every call returns the same object.
  static AppDataInstance& getInstance();

  AppDataInstance(const AppDataInstance&) = delete;
  AppDataInstance& operator=(const AppDataInstance&) = delete;

  // A copy of the held record, or absent before the first successful load. Changing the copy
  // does not change the holder.
  std::optional<ConfigureData> configureData() const;

  // Replaces the whole record; absent empties the holder. The previous record is released after
  // the new one is in place, outside the lock.
  void setConfigureData(std::optional<ConfigureData> record);

  // Runs mutate(std::optional<ConfigureData>&) on the held record in place, without copying it
  // out, with exclusive access for the whole call. `mutate` must not call back into the holder
  // or write the user-defaults store (a load holds the store's lock while it reads the holder,
  // so either would deadlock). Exceptions from `mutate` propagate; changes made before the throw
  // stay.
  template <class Mutate>
  void modifyConfigureData(Mutate&& mutate) {
    std::lock_guard lock(mutex_);
    std::forward<Mutate>(mutate)(configureData_);
  }

 private:
  AppDataInstance() = default;
  ~AppDataInstance() = default;

  mutable std::mutex mutex_;
  std::optional<ConfigureData> configureData_;
};

}  // namespace vexloweb
