// Internal: the envelope's layers, from a file's bytes to the document, in the loader's order.
// The file buffer is worked on in place and released once decrypted, so a load holds few copies
// at once. Shared by the pipeline's front doors and the fuzz targets.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "vexloweb/loader/load_pipeline.hpp"

namespace vexloweb {

class Envelope {
 public:
  // Without `keys`, the loader's own key and IV. Cipher lines also go to `cipherOutput` when it
  // is not null, in debug form, as they happen.
  Envelope(const std::optional<EnvelopeKeys>& keys, std::ostream* cipherOutput);

  // Every layer from the file's bytes on, up to the document's bytes. Leaves them in document()
  // on success; whether they are UTF-8 is left to checkDocumentText(), since the JSON parser
  // checks that anyway on the way that succeeds.
  std::optional<LoadFailure> open(std::string file);
  // The document layer's UTF-8 check, for a report.
  std::optional<LoadFailure> checkDocumentText();
  // The layers after the cipher: `decrypted` is the cipher's output.
  std::optional<LoadFailure> openDecrypted(std::string decrypted);

  // The document; JsonParser::kPadding readable bytes follow it.
  std::string_view document() const { return {buffer_.data(), size_}; }
  std::vector<std::string>& messages() { return messages_; }

 private:
  std::optional<LoadFailure> openInner();
  std::optional<LoadFailure> fail(LoadLayer layer, std::string reason);
  void say(std::string_view line);

  std::string_view key_;
  std::string_view iv_;
  std::ostream* cipherOutput_;
  std::string buffer_;
  std::size_t size_ = 0;
  std::optional<LoadFailure> failure_;
  std::vector<std::string> messages_;
};

// The key and IV text to use: the given ones, else the loader's.
std::string_view keyText(const std::optional<EnvelopeKeys>& keys);
std::string_view ivText(const std::optional<EnvelopeKeys>& keys);

}  // namespace vexloweb
