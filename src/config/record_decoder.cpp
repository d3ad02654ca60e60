#include "config/record_decoder.hpp"

#include <charconv>
#include <cmath>

#include "config/field_table.hpp"
#include "config/json_writer.hpp"

namespace vexloweb {

using platform::JsonValue;
using Type = JsonValue::Type;

namespace {

std::string formatDouble(double value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return {buffer, result.ptr};
}

// What a value is, for "expected ..., found <this>".
std::string describeFound(const JsonValue& value) {
  switch (value.type()) {
    case Type::kNull:
      return "null";
    case Type::kBool:
      return value.boolValue() ? "true" : "false";
    case Type::kInt64:
      return std::to_string(value.int64Value());
    case Type::kUint64:
      return std::to_string(value.uint64Value());
    case Type::kDouble:
      return formatDouble(value.doubleValue());
    case Type::kArray:
      return "an array";
    case Type::kObject:
      return "an object";
    case Type::kString:
      break;
  }
  // Shown as JSON (escaped, so a message stays on one line), cut at 32 bytes on a character
  // boundary.
  constexpr std::size_t kShown = 32;
  std::string_view text = value.stringValue();
  std::string_view more;
  if (text.size() > kShown) {
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text = text.substr(0, cut);
    more = "...";
  }
  return "the string " + JsonWriter::quote(std::string(text) + std::string(more));
}

// Whole doubles in (-2^63, 2^63) convert to int64 exactly; anything else is refused. -2^63
// itself is refused too: as a double it is also what any integer a little below the int64
// range rounds to, and an out-of-range value must not pass for the minimum.
std::optional<std::int64_t> wholeInt64(double value) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (!(value > -kTwoTo63 && value < kTwoTo63) || std::trunc(value) != value) return {};
  return static_cast<std::int64_t>(value);
}

// Sets `slot` to `text`, reusing the string it already holds.
void assignText(std::optional<std::string>& slot, std::string_view text) {
  if (slot) {
    slot->assign(text);
  } else {
    slot.emplace(text);
  }
}

}  // namespace

std::string PathNode::render() const {
  if (parent == nullptr && key.empty()) return {};  // the top level
  std::string parentText = parent != nullptr ? parent->render() : std::string();
  if (key.empty()) return parentText + "[" + std::to_string(index) + "]";
  if (parentText.empty()) return std::string(key);
  return parentText + "." + std::string(key);
}

void RecordDecoder::fail(const PathNode* path, const std::string& reason) {
  std::string where = path != nullptr ? path->render() : std::string();
  if (mode_ == Mode::kStopAtFirst) throw DecodingError(std::move(where), reason);
  errors_.emplace_back(std::move(where), reason);
}

void RecordDecoder::failSyntax(const platform::JsonSyntaxError& error) {
  const bool located = error.offset != std::string_view::npos;
  fail(nullptr, "invalid JSON" +
                    (located ? " at byte " + std::to_string(error.offset) + " (line " +
                                   std::to_string(error.line) + ", column " +
                                   std::to_string(error.column) + ")"
                             : "") +
                    ": " + error.message);
}

void RecordDecoder::noteUnknown(const PathNode& parent, std::string_view key) {
  if (mode_ == Mode::kCollectAll) unknownMembers_.push_back(PathNode{&parent, key}.render());
}

void RecordDecoder::noteDuplicate(const PathNode& parent, std::string_view key) {
  if (mode_ == Mode::kCollectAll) duplicateMembers_.push_back(PathNode{&parent, key}.render());
}

void RecordDecoder::failNotObject(const JsonValue& value, const PathNode* path) {
  fail(path, "expected an object, found " + describeFound(value));
}

std::optional<std::string> RecordDecoder::readText(const JsonValue& value, const PathNode& path) {
  if (std::string_view text; value.stringIf(&text)) return std::string(text);
  fail(&path, "expected a string, found " + describeFound(value));
  return {};
}

std::optional<std::int64_t> RecordDecoder::readInteger(const JsonValue& value,
                                                       const PathNode& path) {
  switch (value.type()) {
    case Type::kInt64:
      return value.int64Value();
    case Type::kDouble:
      if (auto whole = wholeInt64(value.doubleValue())) return whole;
      [[fallthrough]];
    case Type::kUint64:
      fail(&path, "expected an integer (a whole number within the 64-bit range), found " +
                      describeFound(value));
      return {};
    default:
      fail(&path, "expected an integer, found " + describeFound(value));
      return {};
  }
}

std::optional<double> RecordDecoder::readNumber(const JsonValue& value, const PathNode& path) {
  switch (value.type()) {
    case Type::kInt64:
    case Type::kUint64:
    case Type::kDouble:
      return value.doubleValue();
    default:
      fail(&path, "expected a number, found " + describeFound(value));
      return {};
  }
}

std::optional<bool> RecordDecoder::readSwitch(const JsonValue& value, const PathNode& path) {
  if (value.type() == Type::kBool) return value.boolValue();
  fail(&path, "expected true or false, found " + describeFound(value));
  return {};
}

template <class Record>
void RecordDecoder::readListRecord(const JsonValue& value, const PathNode& path, Record& record) {
  std::array<std::optional<JsonValue>, 3> found;
  const bool isObject = value.forEachMember([&](std::string_view key, const JsonValue& member) {
    for (std::size_t i = 0; i < Record::kKeys.size(); ++i) {
      // The first byte settles most mismatches without a call to compare the rest.
      const std::string_view known = Record::kKeys[i];
      if (key.size() == known.size() && key.front() == known.front() && key == known) {
        if (!found[i]) {
          found[i] = member;
        } else {
          noteDuplicate(path, key);  // the first of duplicate members wins
        }
        return;
      }
    }
    noteUnknown(path, key);
  });
  if (!isObject) failNotObject(value, &path);
  auto& fields = ListRecordAccess::fields(record);
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (std::string_view text; found[i] && found[i]->stringIf(&text)) {
      assignText(fields[i], text);  // the common case, without a second look at the value
    } else if (found[i] && found[i]->type() != Type::kNull) {
      fields[i] = readText(*found[i], PathNode{&path, Record::kKeys[i]});
    } else {
      fields[i].reset();
    }
  }
}

template <class Record>
void RecordDecoder::readList(const JsonValue& value, const PathNode& path,
                             std::optional<std::vector<Record>>& list) {
  if (value.type() != Type::kArray) {
    fail(&path, "expected an array, found " + describeFound(value));
    list.reset();
    return;
  }
  if (!list) list.emplace();
  list->reserve(value.elementCount());
  std::size_t count = 0;
  value.forEachElement([&](std::size_t index, const JsonValue& element) {
    if (count == list->size()) list->emplace_back();
    readListRecord(element, PathNode{&path, {}, index}, (*list)[count++]);
  });
  list->resize(count);
}

ConfigureData RecordDecoder::decodeDocument(std::string_view json) {
  ConfigureData record;
  decodeRoot(parser_.parse(json), record);
  return record;
}

void RecordDecoder::decodeDocumentPaddedInto(std::string_view json, ConfigureData& record) {
  decodeRoot(parser_.parsePadded(json), record);
}

void RecordDecoder::decodeRoot(const std::variant<JsonValue, platform::JsonSyntaxError>& parsed,
                               ConfigureData& record) {
  std::array<std::optional<JsonValue>, ConfigureData::kFieldCount> found;
  if (const auto* error = std::get_if<platform::JsonSyntaxError>(&parsed)) {
    failSyntax(*error);
  } else if (const auto& root = std::get<JsonValue>(parsed); root.type() != Type::kObject) {
    fail(nullptr, "expected a JSON object at the top level, found " + describeFound(root));
  } else {
    const PathNode top{};
    root.forEachMember([&](std::string_view key, const JsonValue& member) {
      const std::size_t index = fieldIndexOfKey(key);
      if (index == std::string_view::npos) {
        noteUnknown(top, key);
      } else if (!found[index]) {
        found[index] = member;
      } else {
        noteDuplicate(top, key);  // the first of duplicate members wins
      }
    });
  }

  const auto& fields = ConfigureDataAccess::fields();
  for (std::size_t index : ConfigureDataAccess::readingOrder()) {
    const auto& value = found[index];
    const FieldInfo& field = fields[index];
    const PathNode path{nullptr, field.key};
    std::visit(
        [&](auto member) {
          using Value = typename std::remove_reference_t<decltype(record.*member)>::value_type;
          auto& slot = record.*member;
          if (!value || value->type() == Type::kNull) {
            slot.reset();
          } else if constexpr (std::is_same_v<Value, std::string>) {
            if (std::string_view text; value->stringIf(&text)) {
              assignText(slot, text);
            } else {
              slot = readText(*value, path);
            }
          } else if constexpr (std::is_same_v<Value, std::int64_t>) {
            slot = readInteger(*value, path);
          } else if constexpr (std::is_same_v<Value, double>) {
            slot = readNumber(*value, path);
          } else if constexpr (std::is_same_v<Value, bool>) {
            slot = readSwitch(*value, path);
          } else {
            readList(*value, path, slot);
          }
        },
        field.member);
  }
}

template <class Record>
Record RecordDecoder::decodeListRecord(std::string_view json) {
  auto parsed = parser_.parse(json);
  Record record;
  if (const auto* error = std::get_if<platform::JsonSyntaxError>(&parsed)) {
    failSyntax(*error);
  } else {
    readListRecord(std::get<JsonValue>(parsed), PathNode{}, record);
  }
  return record;
}

template MenuItem RecordDecoder::decodeListRecord<MenuItem>(std::string_view);
template NavigationTab RecordDecoder::decodeListRecord<NavigationTab>(std::string_view);
template ExternalBrowseUrl RecordDecoder::decodeListRecord<ExternalBrowseUrl>(std::string_view);

}  // namespace vexloweb
