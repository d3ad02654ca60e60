// Bytes as the cipher's output: the inner layers (UTF-8, base64, UTF-8, JSON, record) that the
// cipher would otherwise shield from the fuzzer. Oracle: a document that opens is exactly the
// base64 decoding of the input, and the record decoder accepts it or names a fault.
#include <cstdint>
#include <string>

#include "config/record_decoder.hpp"
#include "fuzz_check.hpp"
#include "loader/envelope.hpp"
#include "platform/base64.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  vexloweb::Envelope envelope(std::nullopt, nullptr);
  if (envelope.openDecrypted(text) || envelope.checkDocumentText()) return 0;
  FUZZ_CHECK(vexloweb::platform::decodeBase64(text) == std::string(envelope.document()));
  try {
    vexloweb::RecordDecoder(vexloweb::RecordDecoder::Mode::kStopAtFirst)
        .decodeDocumentPadded(envelope.document());
  } catch (const vexloweb::DecodingError&) {
  }
  return 0;
}
