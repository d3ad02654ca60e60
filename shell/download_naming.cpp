#include "download_naming.hpp"

#include <algorithm>

namespace vexloweb::shell {
namespace {

constexpr std::size_t kMaxNameBytes = 255;  // NAME_MAX on the file systems users download to

// The extension starts at the last dot that is not the first character (".bashrc" has none).
std::size_t extensionStart(std::string_view name) {
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos || dot == 0 ? name.size() : dot;
}

// Cuts `text` to at most `bytes` bytes without splitting a UTF-8 sequence.
std::string_view cut(std::string_view text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
  return text.substr(0, bytes);
}

// stem + suffix + extension in at most kMaxNameBytes, the stem shortened first.
std::string joined(std::string_view name, std::string_view suffix) {
  const std::size_t split = extensionStart(name);
  std::string_view stem = name.substr(0, split);
  std::string_view extension = cut(name.substr(split), kMaxNameBytes / 2);
  stem = cut(stem, kMaxNameBytes - suffix.size() - extension.size());
  return std::string(stem) + std::string(suffix) + std::string(extension);
}

}  // namespace

std::string safeFileName(std::string_view suggested) {
  std::string name(suggested);
  std::replace_if(
      name.begin(), name.end(),
      [](char c) { return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20; }, '_');
  if (name.find_first_not_of('.') == std::string::npos) name = "download";
  return joined(name, "");
}

std::string freeFileName(std::string_view name,
                         const std::function<bool(const std::string&)>& taken) {
  std::string candidate(name);
  for (int n = 1; taken(candidate); ++n) candidate = joined(name, " (" + std::to_string(n) + ")");
  return candidate;
}

}  // namespace vexloweb::shell
