// Internal: writes compact JSON text: every control character, quote and backslash escaped,
// UTF-8 passed through, doubles in shortest round-trip form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexloweb {

class JsonWriter {
 public:
  void beginObject();
  void endObject();
  void beginArray();
  void endArray();
  void key(std::string_view name);  // the next value is this member's
  void value(std::string_view text);
  void value(const char* text) { value(std::string_view(text)); }
  void value(std::int64_t number);
  void value(double number);  // throws std::invalid_argument for NaN and infinity
  void value(bool flag);
  void null();

  // `text` as one JSON string, quotes included: for messages that show a value on one line.
  static std::string quote(std::string_view text);

  const std::string& text() const { return out_; }
  std::string take() { return std::move(out_); }

 private:
  void separate();
  void quoted(std::string_view text);

  std::string out_;
  bool first_ = true;
  bool afterKey_ = false;
};

}  // namespace vexloweb
