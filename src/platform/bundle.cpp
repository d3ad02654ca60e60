#include "vexloweb/platform/bundle.hpp"

#include <algorithm>
#include <system_error>

#include "vexloweb/platform/file.hpp"

namespace vexloweb::platform {
namespace {

std::filesystem::path executableFolder() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error);
  return executable.parent_path();
}

}  // namespace

bool Bundle::staysInside(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.find('\0') != std::string_view::npos) {
    return false;
  }
  // No part between slashes is "..".
  for (std::size_t start = 0; start <= name.size();) {
    const std::size_t end = std::min(name.find('/', start), name.size());
    if (name.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

Bundle& Bundle::main() {
  static auto* const bundle = new Bundle(executableFolder());
  return *bundle;
}

void Bundle::setMainPath(std::filesystem::path folder) {
  Bundle& bundle = main();
  std::lock_guard lock(bundle.mutex_);
  bundle.folder_ = std::move(folder);
}

Bundle::Bundle(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path Bundle::path() const {
  std::lock_guard lock(mutex_);
  return folder_;
}

std::optional<std::string> Bundle::pathForResource(std::string_view name,
                                                   std::string_view type) const {
  if (!staysInside(name) || type.find('/') != std::string_view::npos ||
      type.find('\0') != std::string_view::npos) {
    return std::nullopt;
  }
  // As path() / "name.type" would join them, without taking the folder apart into its parts.
  std::string candidate;
  {
    std::lock_guard lock(mutex_);
    candidate = folder_.native();
  }
  if (!candidate.empty() && candidate.back() != '/') candidate += '/';
  candidate.append(name);
  if (!type.empty()) candidate.append(".").append(type);
  if (!isRegularFile(candidate)) return std::nullopt;
  return candidate;
}

}  // namespace vexloweb::platform
