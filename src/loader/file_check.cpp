#include "vexloweb/loader/file_check.hpp"

#include <algorithm>

#include "config/field_table.hpp"
#include "config/json_writer.hpp"
#include "constants/theme_names.hpp"
#include "platform/utf8.hpp"
#include "vexloweb/config/document_check.hpp"
#include "vexloweb/constants/options.hpp"

namespace vexloweb {
namespace {

// Option words are upper case and keys lower case, and a newcomer types either: letters that
// differ only in case count as the same.
char foldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                         diagonal + (foldCase(a[i - 1]) != foldCase(b[j - 1]) ? 1 : 0)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The keys of ConfigureData's fields, in declaration order.
const std::array<std::string_view, ConfigureData::kFieldCount>& fieldKeys() {
  static const auto keys = [] {
    std::array<std::string_view, ConfigureData::kFieldCount> all{};
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = ConfigureDataAccess::fields()[i].key;
    return all;
  }();
  return keys;
}

// The key a misplaced member most likely meant: the key of a field named like the member
// ("loader_delay" is the field whose key is "loader_int_time"), else a key at most two edits away.
std::optional<std::string_view> suggestKey(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  const std::string_view member = dot == std::string_view::npos ? path : path.substr(dot + 1);
  if (dot != std::string_view::npos) {
    const std::string_view list = path.substr(0, path.find('['));
    const auto& keys = list == "external_browser_url" ? ExternalBrowseUrl::kKeys : MenuItem::kKeys;
    if (member == "name" && keys == MenuItem::kKeys) return keys[0];  // the field name's key
    return closestWord(member, keys);
  }
  for (const FieldInfo& field : ConfigureDataAccess::fields()) {
    if (member == field.name) return field.key;
  }
  return closestWord(member, fieldKeys());
}

std::string didYouMean(std::optional<std::string_view> word) {
  return word ? " (did you mean \"" + std::string(*word) + "\"?)" : "";
}

// Suggestions for the first members only: a document of countless unknown members is checked
// in about the time of a load.
constexpr std::size_t kMaxSuggestions = 100;

std::vector<std::string> describeUnknown(const std::vector<std::string>& unknownMembers) {
  std::vector<std::string> warnings;
  warnings.reserve(unknownMembers.size());
  for (const std::string& path : unknownMembers) {
    const bool suggest = warnings.size() < kMaxSuggestions;
    warnings.push_back(path + " is not a key of the document" +
                       (suggest ? didYouMean(suggestKey(path)) : ""));
  }
  return warnings;
}

// A warning when an option word is not a raw value of its enumeration: the app loads the file,
// but will not recognise the word.
template <class Option>
void checkOption(std::vector<std::string>& warnings, const std::string& path,
                 const std::optional<std::string>& value) {
  if (!value || fromRawValue<Option>(*value)) return;
  const auto& words = detail::OptionNames<Option>::kValues;
  std::string list;
  for (std::string_view word : words) list += (list.empty() ? "" : ", ") + std::string(word);
  warnings.push_back(path + " " + JsonWriter::quote(*value) + " is not one of " + list +
                     ": the app will not recognise it" + didYouMean(closestWord(*value, words)));
}

// Values the app loads but silently treats otherwise than the author probably meant.
void describeSurprises(std::vector<std::string>& warnings, const DocumentCheck& result) {
  for (const std::string& path : result.duplicateMembers) {
    warnings.push_back(path +
                       " appears more than once in its object: the app reads the first (other "
                       "JSON tools take the last)");
  }
  const ConfigureData& record = result.record;
  if (const auto& theme = record.theme_color()) {
    const auto& names = kThemeNames;
    if (std::find(names.begin(), names.end(), *theme) == names.end()) {
      warnings.push_back("theme_color " + JsonWriter::quote(*theme) +
                         " is not a theme name: the app uses the default colour pair "
                         "(\"colorPrimary\", \"colorPrimaryDark\")" +
                         didYouMean(closestWord(*theme, names)));
    }
  }
  checkOption<Constants::SPLASH_SCREEN_TYPE>(warnings, "splash_screen_type",
                                             record.splash_screen_type());
  checkOption<Constants::NAVIGATION_BAR_TYPE>(warnings, "navigation_bar", record.navigation_bar());
  const auto& rules = record.external_browse_url();
  for (std::size_t i = 0; rules && i < rules->size(); ++i) {
    const std::string path = "external_browser_url[" + std::to_string(i) + "].";
    checkOption<Constants::WEBVIEW_OPEN_TYPE>(warnings, path + "type", (*rules)[i].type());
    checkOption<Constants::WEBVIEW_OPEN_CONDITION>(warnings, path + "condition",
                                                   (*rules)[i].condition());
  }
}

void addDocumentCheck(FileCheck& check, std::string_view document) {
  DocumentCheck result = checkDocument(document);
  check.presentFields = result.presentFields;
  check.warnings = describeUnknown(result.unknownMembers);
  describeSurprises(check.warnings, result);
  if (!result.errors.empty()) {
    const DecodingError& first = result.errors.front();
    check.failure = LoadFailure{LoadLayer::kDocument, first.what(), first.path()};
    check.documentErrors = std::move(result.errors);
  }
}

}  // namespace

std::optional<std::string_view> closestWord(std::string_view word,
                                            std::span<const std::string_view> candidates) {
  constexpr std::size_t kMaxEdits = 2;
  std::optional<std::string_view> best;
  std::size_t bestDistance = kMaxEdits + 1;
  for (std::string_view candidate : candidates) {
    // Lengths that differ by more than two edits can bridge: no need to compare.
    const std::size_t gap = word.size() > candidate.size() ? word.size() - candidate.size()
                                                           : candidate.size() - word.size();
    if (gap > kMaxEdits) continue;
    const std::size_t distance = editDistance(word, candidate);
    if (distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
    }
  }
  return best;
}

FileCheck checkSealedFile(std::string_view fileBytes, const std::optional<EnvelopeKeys>& keys) {
  FileCheck check;
  OpenedEnvelope opened = openEnvelope(fileBytes, keys);
  if (opened.failure) {
    check.failure = std::move(opened.failure);
    return check;
  }
  addDocumentCheck(check, *opened.document);
  return check;
}

FileCheck checkDocumentText(std::string_view document) {
  FileCheck check;
  addDocumentCheck(check, document);
  return check;
}

std::string printableText(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    const std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    const std::string_view sequence = text.substr(i, length);
    if (c >= 0x80 && (sequence.size() < length || !platform::isValidUtf8(sequence))) {
      out.append("\\x").append(1, kHex[c >> 4]).append(1, kHex[c & 0xF]);
      ++i;
      continue;
    }
    unsigned code = c;  // the code point of a sequence that needs escaping, else 0
    if (length == 2 && c == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0) {
      code = static_cast<unsigned char>(sequence[1]);  // C1
    } else if (length == 3 && sequence == "\xE2\x80\xA8") {
      code = 0x2028;
    } else if (length == 3 && sequence == "\xE2\x80\xA9") {
      code = 0x2029;
    } else if (length > 1) {
      code = 0;
    }
    i += length;
    if (code == 0 && length > 1) {
      out.append(sequence);
    } else if (code == '\n') {
      out += "\\n";
    } else if (code == '\r') {
      out += "\\r";
    } else if (code == '\t') {
      out += "\\t";
    } else {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(code >> shift) & 0xF];
    }
  }
  return out;
}

std::string formatFileCheck(std::string_view name, const FileCheck& check) {
  const std::string prefix = printableText(name) + ": ";
  std::string text;
  const auto line = [&](std::string_view kind, std::string_view message) {
    text.append(prefix).append(kind).append(printableText(message)).append("\n");
  };
  if (!check.failure) {
    line("ok (", std::to_string(check.presentFields) +
                     (check.presentFields == 1 ? " field present)" : " fields present)"));
  } else if (check.documentErrors.empty()) {
    line("error: ", std::string(layerName(check.failure->layer)) + ": " + check.failure->reason);
  } else {
    for (const DecodingError& error : check.documentErrors) line("error: document: ", error.what());
  }
  for (const std::string& warning : check.warnings) line("warning: ", warning);
  return text;
}

std::string fileCheckJson(std::string_view name, const FileCheck& check) {
  JsonWriter writer;
  writer.beginObject();
  writer.key("file");
  writer.value(name);
  writer.key("ok");
  writer.value(check.ok());
  writer.key("fieldsPresent");
  writer.value(static_cast<std::int64_t>(check.presentFields));
  writer.key("layer");
  if (check.failure) {
    writer.value(layerName(check.failure->layer));
  } else {
    writer.null();
  }
  writer.key("errors");
  writer.beginArray();
  if (check.failure && check.documentErrors.empty()) {
    writer.beginObject();
    writer.key("path");
    writer.null();
    writer.key("reason");
    writer.value(check.failure->reason);
    writer.endObject();
  }
  for (const DecodingError& error : check.documentErrors) {
    writer.beginObject();
    writer.key("path");
    writer.value(error.path());
    writer.key("reason");
    writer.value(error.reason());
    writer.endObject();
  }
  writer.endArray();
  writer.key("warnings");
  writer.beginArray();
  for (const std::string& warning : check.warnings) writer.value(warning);
  writer.endArray();
  writer.endObject();
  return writer.take();
}

}  // namespace vexloweb
