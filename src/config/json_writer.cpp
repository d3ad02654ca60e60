#include "config/json_writer.hpp"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace vexloweb {

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
  } else if (!first_) {
    out_ += ',';
  }
  first_ = false;
}

void JsonWriter::beginObject() {
  separate();
  out_ += '{';
  first_ = true;
}

void JsonWriter::endObject() {
  out_ += '}';
  first_ = false;
}

void JsonWriter::beginArray() {
  separate();
  out_ += '[';
  first_ = true;
}

void JsonWriter::endArray() {
  out_ += ']';
  first_ = false;
}

void JsonWriter::key(std::string_view name) {
  separate();
  quoted(name);
  out_ += ':';
  afterKey_ = true;
}

void JsonWriter::value(std::string_view text) {
  separate();
  quoted(text);
}

void JsonWriter::value(std::int64_t number) {
  separate();
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  out_.append(buffer, result.ptr);
}

void JsonWriter::value(double number) {
  if (!std::isfinite(number)) {
    throw std::invalid_argument("NaN and infinity cannot be written as JSON numbers");
  }
  separate();
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  out_.append(buffer, result.ptr);
}

void JsonWriter::value(bool flag) {
  separate();
  out_ += flag ? "true" : "false";
}

void JsonWriter::null() {
  separate();
  out_ += "null";
}

void JsonWriter::raw(std::string_view json) {
  separate();
  out_ += json;
}

void JsonWriter::quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out_.reserve(out_.size() + text.size() + 2);
  out_ += '"';
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out_.append(text, start, i - start);
    start = i + 1;
    switch (c) {
      case '"':
        out_ += "\\\"";
        break;
      case '\\':
        out_ += "\\\\";
        break;
      case '\b':
        out_ += "\\b";
        break;
      case '\f':
        out_ += "\\f";
        break;
      case '\n':
        out_ += "\\n";
        break;
      case '\r':
        out_ += "\\r";
        break;
      case '\t':
        out_ += "\\t";
        break;
      default:
        out_ += "\\u00";
        out_ += kHex[c >> 4];
        out_ += kHex[c & 0xF];
    }
  }
  out_.append(text, start, text.size() - start);
  out_ += '"';
}

}  // namespace vexloweb
