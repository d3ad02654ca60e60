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
  if (name.empty() || name.find('\0') != std::string_view::npos) return false;
  const std::filesystem::path relative(name);
  if (relative.is_absolute() || relative.has_root_path()) return false;
  return std::none_of(relative.begin(), relative.end(),
                      [](const std::filesystem::path& part) { return part == ".."; });
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
  std::string fileName(name);
  if (!type.empty()) fileName.append(".").append(type);
  const std::filesystem::path candidate = path() / fileName;
  if (!isRegularFile(candidate)) return std::nullopt;
  return candidate.string();
}

}  // namespace vexloweb::platform
