// Checking sealed files and documents without loading them: every layer of the envelope, then
// the whole document, listing every member at fault and every member that is not a key. For
// `vexloweb check` and `seal`, and for generators' own tests. Nothing is printed, stored or
// exported. Any thread.
//
// Example:
//   auto check = vexloweb::checkSealedFile(fileBytes);
//   std::cout << vexloweb::formatFileCheck("app.io", check);
//   // app.io: error: document: menus[1].menu: expected a string, found 5
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vexloweb/config/decoding_error.hpp"
#include "vexloweb/export.hpp"
#include "vexloweb/loader/load_pipeline.hpp"

namespace vexloweb {

struct VEXLOWEB_EXPORT FileCheck {
  // The first layer that failed. For the document layer, `documentErrors` lists every fault.
  std::optional<LoadFailure> failure;
  std::vector<DecodingError> documentErrors;
  // What the app loads but probably not as the author meant, one line each, with a suggestion
  // where one fits: members that are not keys ("loader_delay is not a key of the document (did
  // you mean "loader_int_time"?)"), members that appear twice in one object, a theme_color that
  // is not one of the 60 theme names, and option words that are not raw values of their
  // enumeration (splash_screen_type, navigation_bar, external_browser_url[i].type and
  // .condition).
  std::vector<std::string> warnings;
  std::size_t presentFields = 0;

  bool ok() const noexcept { return !failure; }
};

// The candidate closest to `word` within two edits (insertions, deletions, substitutions; letters
// that differ only in ASCII case are the same, so "text" finds "TEXT"), the first of equally
// close ones; none when every candidate is further away. A word much longer
// than every candidate is not compared, so the work stays small for any input.
VEXLOWEB_EXPORT std::optional<std::string_view> closestWord(
    std::string_view word, std::span<const std::string_view> candidates);

// Runs every layer of the envelope on a file's bytes, then checks the document.
VEXLOWEB_EXPORT FileCheck checkSealedFile(std::string_view fileBytes,
                                          const std::optional<EnvelopeKeys>& keys = std::nullopt);

// Checks a plain JSON document (the input of sealing).
VEXLOWEB_EXPORT FileCheck checkDocumentText(std::string_view document);

// `text` safe to print on a terminal: each control character (U+0000 to U+001F, U+007F and
// U+0080 to U+009F), U+2028 and U+2029 as its JSON escape ("\n", "\u001b", "\u2028"), and
// each byte that is not part of well-formed UTF-8 as "\xNN". Nothing else changes.
VEXLOWEB_EXPORT std::string printableText(std::string_view text);

// The check as text lines, each ending in a line break:
//   "NAME: ok (N fields present)", or "NAME: error: <layer>: <reason>" (one line per member at
//   fault for a document), then "NAME: warning: <warning>" lines. The name and every message
//   pass through printableText, so a member's name cannot start a line of its own.
VEXLOWEB_EXPORT std::string formatFileCheck(std::string_view name, const FileCheck& check);

// The same as one line of JSON: {"file":NAME,"ok":..,"fieldsPresent":..,"layer":..,
// "errors":[{"path":..,"reason":..}],"warnings":[..]}.
VEXLOWEB_EXPORT std::string fileCheckJson(std::string_view name, const FileCheck& check);

}  // namespace vexloweb
