// Internal: the JSON parser the record decoder reads through (simdjson's DOM behind an opaque
// value type, so no simdjson header leaks out of json.cpp). Strict RFC 8259 with UTF-8
// validation; nesting deeper than kMaxDepth is refused, so no input can exhaust the stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace vexloweb::platform {

// A view of one value inside a parsed document; valid while its JsonParser lives and has not
// parsed again. Cheap to copy.
class JsonValue {
 public:
  enum class Type { kNull, kBool, kInt64, kUint64, kDouble, kString, kArray, kObject };

  Type type() const noexcept;
  bool boolValue() const noexcept;                // kBool only
  std::int64_t int64Value() const noexcept;       // kInt64 only
  std::uint64_t uint64Value() const noexcept;     // kUint64 only
  double doubleValue() const noexcept;            // any number type
  std::string_view stringValue() const noexcept;  // kString only; valid UTF-8
  // Sets *text and returns true when the value is a string; one look at the value.
  bool stringIf(std::string_view* text) const noexcept;
  std::size_t elementCount() const noexcept;  // kArray only; a hint that may saturate

  // Calls visit(std::string_view key, const JsonValue& value) for each member, in document order.
  // Returns false, visiting nothing, when the value is not an object.
  template <class Visit>
  bool forEachMember(Visit&& visit) const {
    return forEachMemberImpl(
        [](void* context, std::string_view key, const JsonValue& value) {
          (*static_cast<std::remove_reference_t<Visit>*>(context))(key, value);
        },
        &visit);
  }

  // Calls visit(std::size_t index, const JsonValue& element) for each element, in order.
  template <class Visit>
  void forEachElement(Visit&& visit) const {
    forEachElementImpl(
        [](void* context, std::size_t index, const JsonValue& value) {
          (*static_cast<std::remove_reference_t<Visit>*>(context))(index, value);
        },
        &visit);
  }

 private:
  friend class JsonParser;
  friend struct JsonValueAccess;
  JsonValue() = default;

  bool forEachMemberImpl(void (*visit)(void*, std::string_view, const JsonValue&),
                         void* context) const;
  void forEachElementImpl(void (*visit)(void*, std::size_t, const JsonValue&), void* context) const;

  // Holds the parser's element handle (a document pointer and a tape index).
  alignas(8) unsigned char handle_[16] = {};
};

struct JsonSyntaxError {
  std::string message;  // "expected ':' after a member name", "invalid UTF-8", ...
  std::size_t offset;   // byte offset of the fault, or std::string_view::npos when unknown
  // Where an editor shows the offset, both from 1: lines end at '\n', columns count characters.
  std::size_t line = 0;
  std::size_t column = 0;
};

// A parser's buffers are kept for the next parser of the same thread, unless they grew past
// 1 MiB: loading small documents one after another then allocates none.
class JsonParser {
 public:
  static constexpr std::size_t kMaxDepth = 1024;
  // Bytes that must follow the text, readable, for parsePadded().
  static constexpr std::size_t kPadding = 64;

  JsonParser();
  ~JsonParser();
  JsonParser(const JsonParser&) = delete;
  JsonParser& operator=(const JsonParser&) = delete;

  // Parses `text`, copying it into a padded buffer first.
  std::variant<JsonValue, JsonSyntaxError> parse(std::string_view text);
  // Parses `text` in place: the kPadding bytes after text.end() must be readable.
  std::variant<JsonValue, JsonSyntaxError> parsePadded(std::string_view text);

 private:
  struct Impl;
  static std::unique_ptr<Impl>& spare();  // this thread's kept buffers
  std::unique_ptr<Impl> impl_;
};

// The byte offset at which `text` first leaves the JSON grammar (nesting beyond kMaxDepth
// counts), or npos when its syntax is sound. Slow path: only for reporting a failed parse.
std::size_t jsonSyntaxErrorOffset(std::string_view text);

}  // namespace vexloweb::platform
