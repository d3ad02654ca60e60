#include "vexloweb/config/decoding_error.hpp"

namespace vexloweb {

DecodingError::DecodingError(std::string path, const std::string& reason)
    : std::runtime_error(path.empty() ? reason : path + ": " + reason),
      path_(std::move(path)),
      reason_(reason) {}

}  // namespace vexloweb
