#include "desktop_entry.hpp"

#include <utf8proc.h>

namespace vexloweb::shell {
namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

bool isUtf8(std::string_view text) {
  auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  auto left = static_cast<utf8proc_ssize_t>(text.size());
  while (left > 0) {
    utf8proc_int32_t code = 0;
    const utf8proc_ssize_t used = utf8proc_iterate(bytes, left, &code);
    if (used <= 0) return false;
    bytes += used;
    left -= used;
  }
  return true;
}

// The value escapes every string key gets, applied last.
std::string escapeValue(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> execValue(const std::vector<std::string>& arguments,
                                     std::string* whyNot) {
  std::string command;
  for (const std::string& argument : arguments) {
    for (const char c : argument) {
      const auto byte = static_cast<unsigned char>(c);
      if ((byte < 0x20 && c != '\n' && c != '\t' && c != '\r') || byte == 0x7f) {
        if (whyNot != nullptr) *whyNot = "a control character cannot be written in a launcher";
        return std::nullopt;
      }
    }
    if (!isUtf8(argument)) {
      if (whyNot != nullptr) *whyNot = "text that is not UTF-8 cannot be written in a launcher";
      return std::nullopt;
    }
    const bool quote = argument.empty() || argument.find_first_of(kReserved) != std::string::npos ||
                       argument.find('\r') != std::string::npos;
    std::string word;
    if (quote) word += '"';
    for (const char c : argument) {
      if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) word += '\\';
      word += c;
      if (c == '%') word += '%';
    }
    if (quote) word += '"';
    if (!command.empty()) command += ' ';
    command += word;
  }
  return escapeValue(command);
}

std::string displayValue(std::string_view text) {
  std::string line;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    line += byte < 0x20 || byte == 0x7f ? ' ' : c;
  }
  if (!isUtf8(line)) {
    std::string valid;
    auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(line.data());
    auto left = static_cast<utf8proc_ssize_t>(line.size());
    while (left > 0) {
      utf8proc_int32_t code = 0;
      const utf8proc_ssize_t used = utf8proc_iterate(bytes, left, &code);
      if (used <= 0) {
        valid += "\xef\xbf\xbd";  // U+FFFD for each byte that starts no character
        ++bytes;
        --left;
        continue;
      }
      valid.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(used));
      bytes += used;
      left -= used;
    }
    line = std::move(valid);
  }
  // Readers strip white space at either end of a value; strip it here, so it reads back as written.
  const auto first = line.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  line = line.substr(first, line.find_last_not_of(' ') - first + 1);
  return escapeValue(line);
}

std::string desktopEntryText(const DesktopEntry& entry) {
  std::string text =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Version=1.4\n"
      "Name=" +
      entry.name + "\n";
  if (!entry.comment.empty()) text += "Comment=" + entry.comment + "\n";
  text += "Exec=" + entry.exec + "\n";
  text += "Icon=" + entry.id + "\n";
  text += "Terminal=false\n";
  text += "Categories=Network;\n";
  text += "StartupNotify=true\n";
  text += "StartupWMClass=" + entry.id + "\n";
  return text;
}

}  // namespace vexloweb::shell
