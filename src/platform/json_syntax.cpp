// Finds where a JSON text breaks the grammar. The parser only says what went wrong; this walk
// says where, for the error message. It runs only after a parse has failed.
#include <cstring>
#include <vector>

#include "platform/json.hpp"

namespace vexloweb::platform {
namespace {

constexpr std::size_t kNoError = std::string_view::npos;

class SyntaxWalker {
 public:
  explicit SyntaxWalker(std::string_view text) : text_(text) {}

  std::size_t run() {
    enum class Next { kValue, kMemberName, kAfterValue };
    Next next = Next::kValue;
    for (;;) {
      skipWhitespace();
      if (next == Next::kMemberName) {
        if (!scanString()) return pos_;
        skipWhitespace();
        if (!consume(':')) return pos_;
        next = Next::kValue;
        continue;
      }
      if (next == Next::kValue) {
        if (atEnd()) return pos_;
        const char c = text_[pos_];
        if (c == '{' || c == '[') {
          if (stack_.size() >= JsonParser::kMaxDepth) return pos_;
          stack_.push_back(c);
          ++pos_;
          skipWhitespace();
          if (consume(c == '{' ? '}' : ']')) {
            stack_.pop_back();
            next = Next::kAfterValue;
          } else {
            next = c == '{' ? Next::kMemberName : Next::kValue;
          }
          continue;
        }
        if (!scanScalar()) return pos_;
        next = Next::kAfterValue;
        continue;
      }
      // After a value: the end, a comma or the closing bracket of the container.
      if (stack_.empty()) return atEnd() ? kNoError : pos_;
      if (consume(',')) {
        next = stack_.back() == '{' ? Next::kMemberName : Next::kValue;
      } else if (consume(stack_.back() == '{' ? '}' : ']')) {
        stack_.pop_back();
      } else {
        return pos_;
      }
    }
  }

 private:
  bool atEnd() const { return pos_ >= text_.size(); }
  bool consume(char c) {
    if (atEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  void skipWhitespace() {
    while (!atEnd() && std::strchr(" \t\n\r", text_[pos_]) != nullptr && text_[pos_] != '\0') {
      ++pos_;
    }
  }
  bool digit() const { return !atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9'; }
  bool digits() {
    if (!digit()) return false;
    while (digit()) ++pos_;
    return true;
  }

  bool scanScalar() {
    const char c = text_[pos_];
    if (c == '"') return scanString();
    if (c == 't') return scanWord("true");
    if (c == 'f') return scanWord("false");
    if (c == 'n') return scanWord("null");
    return scanNumber();
  }
  bool scanWord(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }
  bool scanNumber() {
    consume('-');
    if (!consume('0') && !digits()) return false;
    if (consume('.') && !digits()) return false;
    if (consume('e') || consume('E')) {
      if (!consume('+')) consume('-');
      if (!digits()) return false;
    }
    return true;
  }
  bool scanString() {
    if (!consume('"')) return false;
    while (!atEnd()) {
      const auto c = static_cast<unsigned char>(text_[pos_]);
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c < 0x20) return false;
      ++pos_;
      if (c != '\\') continue;
      if (atEnd()) return false;
      const char escape = text_[pos_];
      if (escape == 'u') {
        ++pos_;
        for (int k = 0; k < 4; ++k, ++pos_) {
          if (atEnd() || std::strchr("0123456789abcdefABCDEF", text_[pos_]) == nullptr ||
              text_[pos_] == '\0') {
            return false;
          }
        }
      } else if (std::strchr("\"\\/bfnrt", escape) != nullptr && escape != '\0') {
        ++pos_;
      } else {
        return false;
      }
    }
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::vector<char> stack_;
};

}  // namespace

std::size_t jsonSyntaxErrorOffset(std::string_view text) { return SyntaxWalker(text).run(); }

}  // namespace vexloweb::platform
