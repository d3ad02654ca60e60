#include "loader/envelope.hpp"

#include <algorithm>

#include "loader/cipher_steps.hpp"
#include "loader/loader_keys.hpp"
#include "platform/base64.hpp"
#include "platform/json.hpp"
#include "platform/text.hpp"
#include "platform/utf8.hpp"

namespace vexloweb {
namespace {

// Why the clean file text is not base64, in the words of the one who wrote the file: a JSON
// document that was never sealed, a line break where the text was wrapped.
std::string outerBase64Reason(std::string_view text, const platform::Base64Fault& fault,
                              const platform::FirstSpace& first) {
  const char at = fault.offset < text.size() ? text[fault.offset] : '\0';
  if (fault.offset == 0 && (at == '{' || at == '[')) {
    return "the file looks like a JSON document, not a sealed one: seal it first (vexloweb seal "
           "-o NAME.io NAME.json)";
  }
  // The first space of the clean text is the first whitespace run of the file.
  if (at == ' ' && first.lineBreak) {
    return "the file text is not base64: a line break at offset " + std::to_string(first.offset) +
           " is not base64 (the text must be one unbroken line)";
  }
  return "the file text is not base64: " + fault.reason;
}

}  // namespace

std::string_view keyText(const std::optional<EnvelopeKeys>& keys) {
  return keys && keys->key ? std::string_view(*keys->key) : kLoaderKey;
}
std::string_view ivText(const std::optional<EnvelopeKeys>& keys) {
  return keys && keys->iv ? std::string_view(*keys->iv) : kLoaderIv;
}

Envelope::Envelope(const std::optional<EnvelopeKeys>& keys, std::ostream* cipherOutput)
    : key_(keyText(keys)), iv_(ivText(keys)), cipherOutput_(cipherOutput) {}

std::optional<LoadFailure> Envelope::open(std::string file) {
  std::size_t textSize = 0;
  platform::FirstSpace firstSpace;
  if (file.empty()) {
    fail(LoadLayer::kFile, "the file is empty");
  } else if (!platform::isValidUtf8(file)) {
    fail(LoadLayer::kFileText, "the file is " + platform::notUtf8(file));
  } else {
    textSize = platform::cleanTextInPlace(file.data(), file.size(), &firstSpace);
  }

  // An unusable file still goes on to the cipher with empty text, as the loader always has:
  // the cipher's line for it is part of what a load prints.
  KeyCheck keys = checkCipherKeys(key_, iv_);
  if (!keys.keys) {
    say(keys.message);
    return fail(LoadLayer::kCipherKeys, keys.reason);
  }
  std::size_t outerSize = 0;
  if (auto fault = platform::decodeBase64InPlace(file.data(), textSize, &outerSize)) {
    return fail(LoadLayer::kOuterBase64,
                outerBase64Reason({file.data(), textSize}, *fault, firstSpace));
  }
  // Every layer from here on shrinks its text, so the file's buffer serves them all.
  std::size_t plainSize = 0;
  const auto status =
      decryptInPlace(file.data(), outerSize, keys.keys->keyData, keys.keys->ivData, &plainSize);
  file.resize(plainSize);
  buffer_ = std::move(file);
  if (status != platform::kCCSuccess) {
    say(cryptFailureMessage(status));
    return fail(LoadLayer::kCipher, describeStatus(status));
  }
  if (failure_) return failure_;
  return openInner();
}

std::optional<LoadFailure> Envelope::openDecrypted(std::string decrypted) {
  buffer_ = std::move(decrypted);
  buffer_.reserve(buffer_.size() + platform::JsonParser::kPadding);
  return openInner();
}

std::optional<LoadFailure> Envelope::openInner() {
  // Text that is not UTF-8 is never base64 either, so UTF-8 is checked only to name the layer
  // of a failure: one pass fewer over the whole text on the way that succeeds. The decoder has
  // overwritten what it read before the fault, all of it ASCII, and left the rest as it was.
  if (auto fault = platform::decodeBase64InPlace(buffer_.data(), buffer_.size(), &size_)) {
    const std::string_view rest = std::string_view(buffer_).substr(fault->offset);
    if (!platform::isValidUtf8(rest)) {
      return fail(LoadLayer::kDecryptedText,
                  "the decrypted text is not valid UTF-8 (the first bad byte is at offset " +
                      std::to_string(fault->offset + platform::invalidUtf8Offset(rest)) + ")");
    }
    return fail(LoadLayer::kInnerBase64, "the decrypted text is not base64: " + fault->reason);
  }
  // The JSON parser reads kPadding bytes past the document. The buffer, as long as the file,
  // almost always has room for them already: the document is about 56% of the file.
  buffer_.resize(std::max(buffer_.size(), size_ + platform::JsonParser::kPadding));
  return std::nullopt;
}

std::optional<LoadFailure> Envelope::checkDocumentText() {
  if (platform::isValidUtf8(document())) return std::nullopt;
  return fail(LoadLayer::kDocumentText, "the document is " + platform::notUtf8(document()));
}

std::optional<LoadFailure> Envelope::fail(LoadLayer layer, std::string reason) {
  if (!failure_) failure_ = LoadFailure{layer, std::move(reason), {}};
  return failure_;
}

void Envelope::say(std::string_view line) {
  messages_.emplace_back(line);
  if (cipherOutput_ != nullptr) printDebugLine(*cipherOutput_, line);
}

}  // namespace vexloweb
