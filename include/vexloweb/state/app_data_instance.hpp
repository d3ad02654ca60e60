// AppDataInstance: the process-wide holder of the current configuration record. The loader
// writes it after each successful load; the host's screens read it whenever they need a setting.
// Thread-safe: every read, write and in-place modification is atomic with respect to the others.
// A modification runs host code under the holder's lock: see modifyConfigureData for what it may
// call.
//
// Example:
//   auto& holder = vexloweb::AppDataInstance::getInstance();
//   if (auto record = holder.configureData()) use(record->base_url());
//   holder.modifyConfigureData([](auto& record) { if (record) record->set_fullscreen(true); });
#pragma once

#include <mutex>
#include <optional>
#include <utility>

#include "vexloweb/config/configure_data.hpp"
#include "vexloweb/export.hpp"

namespace vexloweb {

class VEXLOWEB_EXPORT AppDataInstance {
 public:
  // The one shared instance, created empty on the first call from any thread and never
  // destroyed. Every call returns the same object.
  static AppDataInstance& getInstance();

  AppDataInstance(const AppDataInstance&) = delete;
  AppDataInstance& operator=(const AppDataInstance&) = delete;

  // A copy of the held record, or absent before the first successful load. Changing the copy
  // does not change the holder. Throws std::logic_error from inside modifyConfigureData.
  std::optional<ConfigureData> configureData() const;

  // Replaces the whole record; absent empties the holder. The previous record is released after
  // the new one is in place, outside the lock. Throws std::logic_error from inside
  // modifyConfigureData.
  void setConfigureData(std::optional<ConfigureData> record);

  // Swaps the held record with `record`: the holder takes its value, and `record` receives the
  // previous one (absent when the holder was empty) for the caller to keep or release. Nothing
  // is copied. Throws std::logic_error from inside modifyConfigureData.
  void swapConfigureData(std::optional<ConfigureData>& record);

  // Runs mutate(std::optional<ConfigureData>&) on the held record in place, without copying it
  // out, with exclusive access for the whole call. Exceptions from `mutate` propagate; changes
  // made before the throw stay.
  //
  // What `mutate` may call:
  // - the user-defaults store (read or write): yes. The library never holds the store's lock
  //   while it waits for the holder's.
  // - the holder itself (configureData, setConfigureData, modifyConfigureData): no. The holder's
  //   lock is held for the whole call and is not reentrant; such a call throws std::logic_error
  //   instead of hanging.
  // - anything that waits for another thread that is itself waiting for the holder (a load on
  //   another thread, say): no, for the same reason.
  template <class Mutate>
  void modifyConfigureData(Mutate&& mutate) {
    const MutationScope scope(*this);
    std::forward<Mutate>(mutate)(configureData_);
  }

 private:
  AppDataInstance() = default;
  ~AppDataInstance() = default;

  // Holds the lock for a modification and marks this thread as inside it.
  class VEXLOWEB_EXPORT MutationScope {
   public:
    explicit MutationScope(const AppDataInstance& holder);
    ~MutationScope();
    MutationScope(const MutationScope&) = delete;
    MutationScope& operator=(const MutationScope&) = delete;

   private:
    std::unique_lock<std::mutex> lock_;
  };

  // Throws std::logic_error when this thread is inside a modification of this holder.
  void refuseReentry(const char* call) const;

  mutable std::mutex mutex_;
  std::optional<ConfigureData> configureData_;
};

}  // namespace vexloweb
