#include "vexloweb/loader/load_pipeline.hpp"

#include <algorithm>

#include "config/record_decoder.hpp"
#include "loader/cipher_steps.hpp"
#include "loader/exports.hpp"
#include "loader/loader_keys.hpp"
#include "platform/base64.hpp"
#include "platform/json.hpp"
#include "platform/text.hpp"
#include "platform/utf8.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/file.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"

namespace vexloweb {
namespace {

using platform::JsonParser;

std::string notUtf8(std::string_view bytes) {
  return "not valid UTF-8 (the first bad byte is at offset " +
         std::to_string(platform::invalidUtf8Offset(bytes)) + ")";
}

std::string_view keyText(const std::optional<EnvelopeKeys>& keys) {
  return keys && keys->key ? std::string_view(*keys->key) : kLoaderKey;
}
std::string_view ivText(const std::optional<EnvelopeKeys>& keys) {
  return keys && keys->iv ? std::string_view(*keys->iv) : kLoaderIv;
}

std::span<const std::uint8_t> asBytes(const std::string& text, std::size_t size) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), size};
}

// The layers from the file's bytes to the document, in the loader's order. The file buffer is
// worked on in place and released once decrypted, so a load holds few copies at once.
class Envelope {
 public:
  Envelope(const std::optional<EnvelopeKeys>& keys, std::ostream* cipherOutput)
      : key_(keyText(keys)), iv_(ivText(keys)), cipherOutput_(cipherOutput) {}

  // Leaves the document in document() on success; the first failure otherwise.
  std::optional<LoadFailure> open(std::string file) {
    std::size_t textSize = 0;
    if (file.empty()) {
      fail(LoadLayer::kFile, "the file is empty");
    } else if (!platform::isValidUtf8(file)) {
      fail(LoadLayer::kFileText, "the file is " + notUtf8(file));
    } else {
      textSize = platform::cleanTextInPlace(file.data(), file.size());
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
      return fail(LoadLayer::kOuterBase64, "the file text is not base64: " + fault->reason);
    }
    const auto status = runCipher(asBytes(file, outerSize), kCCDecrypt, keys.keys->keyData,
                                  keys.keys->ivData, buffer_, JsonParser::kPadding);
    std::string().swap(file);
    if (status != platform::kCCSuccess) {
      say(cryptFailureMessage(status));
      return fail(LoadLayer::kCipher, describeStatus(status));
    }
    if (failure_) return failure_;

    if (!platform::isValidUtf8(buffer_)) {
      return fail(LoadLayer::kDecryptedText, "the decrypted text is " + notUtf8(buffer_));
    }
    if (auto fault = platform::decodeBase64InPlace(buffer_.data(), buffer_.size(), &size_)) {
      return fail(LoadLayer::kInnerBase64, "the decrypted text is not base64: " + fault->reason);
    }
    if (!platform::isValidUtf8(document())) {
      return fail(LoadLayer::kDocumentText, "the document is " + notUtf8(document()));
    }
    // The JSON parser reads kPadding bytes past the document; the capacity reserved above holds
    // them, since the document is shorter than the cipher text.
    buffer_.resize(std::max(buffer_.size(), size_ + JsonParser::kPadding));
    return std::nullopt;
  }

  std::string_view document() const { return {buffer_.data(), size_}; }
  std::vector<std::string>& messages() { return messages_; }

 private:
  std::optional<LoadFailure> fail(LoadLayer layer, std::string reason) {
    if (!failure_) failure_ = LoadFailure{layer, std::move(reason), {}};
    return failure_;
  }
  void say(std::string_view line) {
    messages_.emplace_back(line);
    if (cipherOutput_ != nullptr) printDebugLine(*cipherOutput_, line);
  }

  std::string_view key_;
  std::string_view iv_;
  std::ostream* cipherOutput_;
  std::string buffer_;
  std::size_t size_ = 0;
  std::optional<LoadFailure> failure_;
  std::vector<std::string> messages_;
};

}  // namespace

std::string_view layerName(LoadLayer layer) noexcept {
  switch (layer) {
    case LoadLayer::kResource:
      return "resource";
    case LoadLayer::kFile:
      return "file";
    case LoadLayer::kFileText:
      return "file text";
    case LoadLayer::kCipherKeys:
      return "cipher keys";
    case LoadLayer::kOuterBase64:
      return "outer base64";
    case LoadLayer::kCipher:
      return "cipher";
    case LoadLayer::kDecryptedText:
      return "decrypted text";
    case LoadLayer::kInnerBase64:
      return "inner base64";
    case LoadLayer::kDocumentText:
      return "document text";
    case LoadLayer::kDocument:
      break;
  }
  return "document";
}

OpenedEnvelope openEnvelope(std::string_view fileBytes, const std::optional<EnvelopeKeys>& keys) {
  Envelope envelope(keys, nullptr);
  OpenedEnvelope opened;
  opened.failure = envelope.open(std::string(fileBytes));
  if (!opened.failure) opened.document = std::string(envelope.document());
  opened.cipherMessages = std::move(envelope.messages());
  return opened;
}

LoadOutcome loadConfiguration(std::string_view fileName, const std::optional<EnvelopeKeys>& keys,
                              std::ostream* cipherOutput) {
  LoadOutcome outcome;
  const auto path = platform::Bundle::main().pathForResource(fileName, "io");
  if (!path) {
    outcome.failure = LoadFailure{LoadLayer::kResource,
                                  "no regular file '" + std::string(fileName) + ".io' in '" +
                                      platform::Bundle::main().path().string() + "'",
                                  {}};
    return outcome;
  }
  std::string whyNot;
  auto file = platform::readRegularFile(*path, &whyNot);
  if (!file) {
    outcome.failure = LoadFailure{LoadLayer::kFile, "'" + *path + "': " + whyNot, {}};
    return outcome;
  }

  Envelope envelope(keys, cipherOutput);
  outcome.failure = envelope.open(std::move(*file));
  outcome.cipherMessages = std::move(envelope.messages());
  if (outcome.failure) return outcome;

  std::optional<ConfigureData> record;
  try {
    record =
        RecordDecoder(RecordDecoder::Mode::kStopAtFirst).decodeDocumentPadded(envelope.document());
  } catch (const DecodingError& error) {
    outcome.failure = LoadFailure{LoadLayer::kDocument, error.what(), error.path()};
    return outcome;
  }
  AppDataInstance::getInstance().setConfigureData(std::move(record));
  {
    // All eighteen keys of a load land together, in one commit.
    platform::UserDefaults::Transaction transaction(platform::UserDefaults::standard());
    exportAdSettings();
    exportThemeSettings();
  }
  return outcome;
}

std::optional<std::string> sealDocument(std::string_view document,
                                        const std::optional<EnvelopeKeys>& keys,
                                        std::string* whyNot) {
  std::string ignored;
  std::string& reason = whyNot != nullptr ? *whyNot : ignored;
  if (!platform::isValidUtf8(document)) {
    reason = "the document is " + notUtf8(document);
    return std::nullopt;
  }
  const KeyCheck check = checkCipherKeys(keyText(keys), ivText(keys));
  if (!check.keys) {
    reason = check.reason;
    return std::nullopt;
  }
  const std::string inner = platform::encodeBase64(document);
  std::string cipherText;
  const auto status = runCipher(asBytes(inner, inner.size()), kCCEncrypt, check.keys->keyData,
                                check.keys->ivData, cipherText);
  if (status != platform::kCCSuccess) {
    reason = describeStatus(status);
    return std::nullopt;
  }
  std::string sealed = platform::encodeBase64(cipherText);
  sealed += '\n';
  return sealed;
}

}  // namespace vexloweb
