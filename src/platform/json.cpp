#include "platform/json.hpp"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include <simdjson.h>

#include "platform/utf8.hpp"

namespace vexloweb::platform {

static_assert(JsonParser::kPadding == simdjson::SIMDJSON_PADDING);
static_assert(JsonParser::kMaxDepth == simdjson::DEFAULT_MAX_DEPTH);

struct JsonValueAccess {
  static_assert(sizeof(simdjson::dom::element) <= sizeof(JsonValue::handle_));
  static_assert(std::is_trivially_copyable_v<simdjson::dom::element>);

  static simdjson::dom::element element(const JsonValue& value) noexcept {
    simdjson::dom::element element;
    std::memcpy(static_cast<void*>(&element), value.handle_, sizeof element);
    return element;
  }
  static JsonValue make(simdjson::dom::element element) noexcept {
    JsonValue value;
    std::memcpy(value.handle_, static_cast<const void*>(&element), sizeof element);
    return value;
  }
};

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;

// Our words for simdjson's error codes: the one place they are translated.
std::string describe(simdjson::error_code code) {
  switch (code) {
    case simdjson::DEPTH_ERROR:
      return "nesting deeper than " + std::to_string(JsonParser::kMaxDepth) + " levels";
    case simdjson::UTF8_ERROR:
      return "invalid UTF-8";
    case simdjson::NUMBER_ERROR:
      return "a number that is malformed or out of range";
    case simdjson::STRING_ERROR:
    case simdjson::UNCLOSED_STRING:
      return "a malformed string (bad escape, control character or no closing quote)";
    case simdjson::EMPTY:
      return "no JSON value (the document is empty or only whitespace)";
    case simdjson::T_ATOM_ERROR:
    case simdjson::F_ATOM_ERROR:
    case simdjson::N_ATOM_ERROR:
      return "a misspelt true, false or null";
    case simdjson::UNESCAPED_CHARS:
      return "a control character inside a string (it must be escaped, as \\n or \\u0000)";
    case simdjson::TAPE_ERROR:
      return "a structural error (a missing or extra comma, bracket, brace, colon or member name)";
    case simdjson::MEMALLOC:
    case simdjson::CAPACITY:
      return "the document is too large to parse";
    default:
      return std::string("invalid JSON (") + simdjson::error_message(code) + ")";
  }
}

JsonSyntaxError syntaxError(simdjson::error_code code, std::string_view text) {
  std::size_t offset =
      code == simdjson::UTF8_ERROR ? invalidUtf8Offset(text) : jsonSyntaxErrorOffset(text);
  JsonSyntaxError error{describe(code), offset};
  if (offset == std::string_view::npos) return error;
  const std::string_view before = text.substr(0, offset);
  const std::size_t lineStart = before.rfind('\n') + 1;  // 0 when there is none
  error.line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  // UTF-8 continuation bytes do not start a character.
  error.column = 1 + static_cast<std::size_t>(std::count_if(
                         before.begin() + static_cast<std::ptrdiff_t>(lineStart), before.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
  return error;
}

std::variant<JsonValue, JsonSyntaxError> finish(simdjson::simdjson_result<element> result,
                                                std::string_view text) {
  element root;
  if (auto code = std::move(result).get(root); code != simdjson::SUCCESS) {
    return syntaxError(code, text);
  }
  return JsonValueAccess::make(root);
}

}  // namespace

struct JsonParser::Impl {
  simdjson::dom::parser parser{simdjson::SIMDJSON_MAXSIZE_BYTES};
};

std::unique_ptr<JsonParser::Impl>& JsonParser::spare() {
  thread_local std::unique_ptr<Impl> kept;
  return kept;
}

JsonParser::JsonParser() : impl_(spare() ? std::move(spare()) : std::make_unique<Impl>()) {}

JsonParser::~JsonParser() {
  constexpr std::size_t kKeptCapacity = 1 << 20;
  if (impl_->parser.capacity() <= kKeptCapacity && !spare()) spare() = std::move(impl_);
}

std::variant<JsonValue, JsonSyntaxError> JsonParser::parse(std::string_view text) {
  return finish(impl_->parser.parse(text.data(), text.size(), true), text);
}

std::variant<JsonValue, JsonSyntaxError> JsonParser::parsePadded(std::string_view text) {
  return finish(impl_->parser.parse(text.data(), text.size(), false), text);
}

JsonValue::Type JsonValue::type() const noexcept {
  switch (JsonValueAccess::element(*this).type()) {
    case element_type::ARRAY:
      return Type::kArray;
    case element_type::OBJECT:
      return Type::kObject;
    case element_type::INT64:
      return Type::kInt64;
    case element_type::UINT64:
      return Type::kUint64;
    case element_type::DOUBLE:
      return Type::kDouble;
    case element_type::STRING:
      return Type::kString;
    case element_type::BOOL:
      return Type::kBool;
    case element_type::NULL_VALUE:
      break;
  }
  return Type::kNull;
}

bool JsonValue::boolValue() const noexcept {
  return JsonValueAccess::element(*this).get_bool().value_unsafe();
}
std::int64_t JsonValue::int64Value() const noexcept {
  return JsonValueAccess::element(*this).get_int64().value_unsafe();
}
std::uint64_t JsonValue::uint64Value() const noexcept {
  return JsonValueAccess::element(*this).get_uint64().value_unsafe();
}
double JsonValue::doubleValue() const noexcept {
  return JsonValueAccess::element(*this).get_double().value_unsafe();
}
std::string_view JsonValue::stringValue() const noexcept {
  return JsonValueAccess::element(*this).get_string().value_unsafe();
}
bool JsonValue::stringIf(std::string_view* text) const noexcept {
  return JsonValueAccess::element(*this).get_string().get(*text) == simdjson::SUCCESS;
}
std::size_t JsonValue::elementCount() const noexcept {
  return JsonValueAccess::element(*this).get_array().value_unsafe().size();
}

bool JsonValue::forEachMemberImpl(void (*visit)(void*, std::string_view, const JsonValue&),
                                  void* context) const {
  simdjson::dom::object object;
  if (JsonValueAccess::element(*this).get_object().get(object) != simdjson::SUCCESS) return false;
  for (auto member : object) {
    visit(context, member.key, JsonValueAccess::make(member.value));
  }
  return true;
}

void JsonValue::forEachElementImpl(void (*visit)(void*, std::size_t, const JsonValue&),
                                   void* context) const {
  std::size_t index = 0;
  const simdjson::dom::array array = JsonValueAccess::element(*this).get_array().value_unsafe();
  for (auto item : array) {
    visit(context, index++, JsonValueAccess::make(item));
  }
}

}  // namespace vexloweb::platform
