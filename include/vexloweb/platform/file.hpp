// Reading whole files safely: only regular files, so a directory, FIFO or device named like a
// configuration file is refused at once instead of hanging or failing halfway. Any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "vexloweb/export.hpp"

namespace vexloweb::platform {

// The whole content of the regular file at `path`, or nothing with the reason in *whyNot.
VEXLOWEB_EXPORT std::optional<std::string> readRegularFile(const std::filesystem::path& path,
                                                           std::string* whyNot);

// True when `path` names a regular file (after following links).
VEXLOWEB_EXPORT bool isRegularFile(const std::filesystem::path& path) noexcept;

}  // namespace vexloweb::platform
