// Where a download is saved: a name made safe for the download folder, then the first free one
// beside the files already there ("report.txt", "report (1).txt", ...). Never a path, never a
// name that replaces a file. Pure.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vexloweb::shell {

// `suggested` made safe as one file name: no path separators or control characters, at most
// 255 bytes (the extension kept), never "" or a name of only dots.
std::string safeFileName(std::string_view suggested);

// `name`, or the first of "stem (1).ext", "stem (2).ext", ... for which `taken` is false.
std::string freeFileName(std::string_view name,
                         const std::function<bool(const std::string&)>& taken);

}  // namespace vexloweb::shell
