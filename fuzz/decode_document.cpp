// Bytes as a configuration document. Oracles: a record that decodes encodes to text that decodes
// to an equal record; and the collecting check agrees with decode on success and the first fault.
#include <cstdint>
#include <string_view>

#include "fuzz_check.hpp"
#include "vexloweb/config/configure_data.hpp"
#include "vexloweb/config/document_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view json(reinterpret_cast<const char*>(data), size);
  const vexloweb::DocumentCheck check = vexloweb::checkDocument(json);
  try {
    const auto record = vexloweb::ConfigureData::decode(json);
    FUZZ_CHECK(check.ok());
    const std::string encoded = record.encode();
    FUZZ_CHECK(vexloweb::ConfigureData::decode(encoded) == record);
  } catch (const vexloweb::DecodingError& error) {
    FUZZ_CHECK(!check.ok());
    FUZZ_CHECK(check.errors.front().path() == error.path());
  }
  return 0;
}
