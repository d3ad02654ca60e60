#include "app_identity.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace vexloweb::shell {
namespace {

// Room for ".desktop" and ".svg" after an id in a file name of at most 255 bytes.
constexpr std::size_t kMaxKeptId = 200;
constexpr std::size_t kMaxSanitised = 160;

bool isAsciiAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::uint32_t fnv1a(std::string_view text) {
  std::uint32_t hash = 2166136261U;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619U;
  }
  return hash;
}

}  // namespace

bool isApplicationId(std::string_view id) {
  if (id.empty() || id.size() > 255 || id.front() == '.') return false;
  std::size_t elements = 0;
  std::size_t start = 0;
  while (start <= id.size()) {
    const std::size_t dot = std::min(id.find('.', start), id.size());
    const std::string_view element = id.substr(start, dot - start);
    if (element.empty() || isDigit(element.front())) return false;
    for (const char c : element) {
      if (!isAsciiAlnum(c) && c != '_' && c != '-') return false;
    }
    ++elements;
    start = dot + 1;
  }
  return elements >= 2;
}

std::string applicationId(std::string_view packageName) {
  if (packageName.size() <= kMaxKeptId && isApplicationId(packageName)) {
    return std::string(packageName);
  }
  std::string kept;
  std::size_t start = 0;
  while (start <= packageName.size()) {
    const std::size_t dot = std::min(packageName.find('.', start), packageName.size());
    const std::string_view element = packageName.substr(start, dot - start);
    start = dot + 1;
    if (element.empty()) continue;
    if (!kept.empty()) kept += '.';
    if (isDigit(element.front())) kept += '_';
    for (const char c : element) kept += isAsciiAlnum(c) || c == '_' ? c : '_';
  }
  if (kept.size() > kMaxSanitised) kept.resize(kMaxSanitised);
  if (kept.empty()) kept = "unnamed";
  char hash[16];
  std::snprintf(hash, sizeof hash, "_%08x", static_cast<unsigned>(fnv1a(packageName)));
  return std::string(kIdPrefix) + kept + hash;
}

}  // namespace vexloweb::shell
