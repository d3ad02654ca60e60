// Bundle: the app's resource folder, where the loader finds `<name>.io`. By default the folder of
// the running executable; a host (or `vexloweb load --bundle`) points it elsewhere. Thread-safe.
#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "vexloweb/export.hpp"

namespace vexloweb::platform {

class VEXLOWEB_EXPORT Bundle {
 public:
  // The app's own bundle. Never destroyed.
  static Bundle& main();
  // Points the main bundle at `folder` from now on (any time, any thread).
  static void setMainPath(std::filesystem::path folder);

  // A bundle on any folder, for hosts and tests with more than one.
  explicit Bundle(std::filesystem::path folder);

  Bundle(const Bundle&) = delete;
  Bundle& operator=(const Bundle&) = delete;

  std::filesystem::path path() const;

  // The path of the regular file `<name>.<type>` inside the folder, or nothing: when there is no
  // such file, when it is a directory, FIFO or device, or when the name would leave the folder
  // (an absolute name, a ".." component, an empty name or a NUL byte).
  std::optional<std::string> pathForResource(std::string_view name, std::string_view type) const;

  // True when `name` names something inside a folder: not empty, not absolute, no ".." part and
  // no NUL byte.
  static bool staysInside(std::string_view name);

 private:
  mutable std::mutex mutex_;
  std::filesystem::path folder_;
};

}  // namespace vexloweb::platform
