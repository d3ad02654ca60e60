#include "config/json_writer.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace vexloweb {
namespace {

// The length of the leading run that needs no escaping, eight bytes at a time.
std::size_t plainPrefix(std::string_view text) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t x = 0;
    std::memcpy(&x, text.data() + i, 8);
    const std::uint64_t control = (x - kOnes * 0x20) & ~x & kHighs;  // a byte < 0x20
    const std::uint64_t quotes = x ^ (kOnes * '"');
    const std::uint64_t backslashes = x ^ (kOnes * '\\');
    const std::uint64_t special = control | ((quotes - kOnes) & ~quotes & kHighs) |
                                  ((backslashes - kOnes) & ~backslashes & kHighs);
    if (special != 0) break;
  }
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == '"' || c == '\\') break;
    ++i;
  }
  return i;
}

}  // namespace

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
  // The shortest form of a whole number of 2^63 or more is all digits, which a reader takes for
  // an integer too big to hold: such a number is written with an exponent.
  auto result = std::fabs(number) < 0x1p63 ? std::to_chars(buffer, buffer + sizeof buffer, number)
                                           : std::to_chars(buffer, buffer + sizeof buffer, number,
                                                           std::chars_format::scientific);
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

std::string JsonWriter::quote(std::string_view text) {
  JsonWriter writer;
  writer.value(text);
  return writer.take();
}

void JsonWriter::quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out_.reserve(out_.size() + text.size() + 2);
  out_ += '"';
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    i += plainPrefix(text.substr(i));
    if (i == text.size()) break;
    const auto c = static_cast<unsigned char>(text[i]);
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
