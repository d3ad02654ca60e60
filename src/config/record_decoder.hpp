// Internal: decodes the records from parsed JSON by their type rules, either stopping at the
// first failure (the records' decode) or collecting every failure (checkDocument).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/json.hpp"
#include "vexloweb/config/configure_data.hpp"

namespace vexloweb {

// A member's place in the document, built on the stack and turned into text only on failure.
struct PathNode {
  const PathNode* parent = nullptr;
  std::string_view key;        // the member name, or empty for an array element
  std::size_t index = 0;       // the element index when `key` is empty
  std::string render() const;  // "menus[1].menu"
};

class RecordDecoder {
 public:
  enum class Mode { kStopAtFirst, kCollectAll };
  explicit RecordDecoder(Mode mode) : mode_(mode) {}

  // Parses `json` and decodes the whole document. kStopAtFirst throws the first DecodingError;
  // kCollectAll records every one in errors() and returns what it could read.
  ConfigureData decodeDocument(std::string_view json);
  // Decodes a document whose buffer has JsonParser::kPadding readable bytes after it into
  // `record`, overwriting every field and reusing the storage of its texts and lists. On a
  // failure (kStopAtFirst) `record` is left part old, part new: only fit to decode into again.
  void decodeDocumentPaddedInto(std::string_view json, ConfigureData& record);

  // Parses `json` as one list record (MenuItem, NavigationTab or ExternalBrowseUrl).
  template <class Record>
  Record decodeListRecord(std::string_view json);

  const std::vector<DecodingError>& errors() const { return errors_; }
  // Paths of members that are not keys of their record ("loader_delay", "menus[0].name").
  const std::vector<std::string>& unknownMembers() const { return unknownMembers_; }
  // Paths of second and later members with a key already read in the same object.
  const std::vector<std::string>& duplicateMembers() const { return duplicateMembers_; }

 private:
  void decodeRoot(const std::variant<platform::JsonValue, platform::JsonSyntaxError>& parsed,
                  ConfigureData& record);
  template <class Record>
  void readListRecord(const platform::JsonValue& value, const PathNode& path, Record& record);
  void failNotObject(const platform::JsonValue& value, const PathNode* path);

  std::optional<std::string> readText(const platform::JsonValue& value, const PathNode& path);
  std::optional<std::int64_t> readInteger(const platform::JsonValue& value, const PathNode& path);
  std::optional<double> readNumber(const platform::JsonValue& value, const PathNode& path);
  std::optional<bool> readSwitch(const platform::JsonValue& value, const PathNode& path);
  template <class Record>
  void readList(const platform::JsonValue& value, const PathNode& path,
                std::optional<std::vector<Record>>& list);

  void fail(const PathNode* path, const std::string& reason);
  void failSyntax(const platform::JsonSyntaxError& error);
  void noteUnknown(const PathNode& parent, std::string_view key);
  void noteDuplicate(const PathNode& parent, std::string_view key);

  Mode mode_;
  platform::JsonParser parser_;
  std::vector<DecodingError> errors_;
  std::vector<std::string> unknownMembers_;
  std::vector<std::string> duplicateMembers_;
};

}  // namespace vexloweb
