// Bytes as the cipher's output: the inner layers (UTF-8, base64, UTF-8, JSON, record) that the
// cipher would otherwise shield from the fuzzer. Oracle: a document that opens is exactly the
// base64 decoding of the input, and the record decoder accepts it or names a fault, the same
// whether it decodes into a new record or into one an earlier input filled.
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
  // Decoded into the record the previous input left (as a reload reuses the previous record),
  // the document gives what a fresh decode gives.
  static vexloweb::ConfigureData reused;
  std::optional<vexloweb::ConfigureData> fresh;
  try {
    fresh = vexloweb::ConfigureData::decode(envelope.document());
  } catch (const vexloweb::DecodingError&) {
  }
  try {
    vexloweb::RecordDecoder(vexloweb::RecordDecoder::Mode::kStopAtFirst)
        .decodeDocumentPaddedInto(envelope.document(), reused);
    FUZZ_CHECK(fresh && reused == *fresh);
  } catch (const vexloweb::DecodingError&) {
    FUZZ_CHECK(!fresh);
  }
  return 0;
}
