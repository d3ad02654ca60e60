#include "app_icon.hpp"

#include <utf8proc.h>

namespace vexloweb::shell {
namespace {

std::string xmlEscaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A colour from our own assets is "#rrggbb"; anything else is not written into the document.
std::string safeColour(const std::string& colour) {
  if (colour.size() != 7 || colour[0] != '#') return "#000000";
  for (std::size_t i = 1; i < 7; ++i) {
    if (std::string_view("0123456789abcdefABCDEF").find(colour[i]) == std::string_view::npos) {
      return "#000000";
    }
  }
  return colour;
}

}  // namespace

std::string firstGrapheme(std::string_view text) {
  auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  auto left = static_cast<utf8proc_ssize_t>(text.size());
  std::string out;
  utf8proc_int32_t previous = -1;
  utf8proc_int32_t state = 0;
  while (left > 0) {
    utf8proc_int32_t code = 0;
    const utf8proc_ssize_t used = utf8proc_iterate(bytes, left, &code);
    if (used <= 0) break;  // text that is not UTF-8 ends the search
    const auto category = utf8proc_category(code);
    const bool blank = category == UTF8PROC_CATEGORY_ZS || category == UTF8PROC_CATEGORY_CC ||
                       category == UTF8PROC_CATEGORY_ZL || category == UTF8PROC_CATEGORY_ZP ||
                       category == UTF8PROC_CATEGORY_CF;
    if (out.empty() && blank) {
      bytes += used;
      left -= used;
      continue;
    }
    if (previous >= 0 && utf8proc_grapheme_break_stateful(previous, code, &state)) break;
    out.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(used));
    previous = code;
    bytes += used;
    left -= used;
  }
  return out;
}

std::string badgeLetter(std::string_view title) {
  std::string initial = firstGrapheme(title);
  return initial.empty() ? "V" : initial;
}

std::string iconSvg(std::string_view title, const WindowColours& colours) {
  const std::string initial = badgeLetter(title);
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
         "viewBox=\"0 0 256 256\">\n"
         "  <defs><linearGradient id=\"bar\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
         "<stop offset=\"0\" stop-color=\"" +
         safeColour(colours.primary) + "\"/><stop offset=\"1\" stop-color=\"" +
         safeColour(colours.dark) +
         "\"/></linearGradient></defs>\n"
         "  <rect x=\"16\" y=\"16\" width=\"224\" height=\"224\" rx=\"48\" fill=\"url(#bar)\"/>\n"
         "  <text x=\"128\" y=\"128\" dy=\"0.35em\" text-anchor=\"middle\" "
         "font-family=\"sans-serif\" font-weight=\"bold\" font-size=\"136\" "
         "fill=\"#ffffff\">" +
         xmlEscaped(initial) + "</text>\n</svg>\n";
}

}  // namespace vexloweb::shell
