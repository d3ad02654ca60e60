// DecodingError: what decoding a configuration document, or one of its list records, throws.
// It names the member at fault by its path, so the person who wrote the document can find it.
// A plain value: copy and read it from any thread.
#pragma once

#include <stdexcept>
#include <string>

#include "vexloweb/export.hpp"

namespace vexloweb {

class VEXLOWEB_EXPORT DecodingError : public std::runtime_error {
 public:
  // `path` is the member at fault ("" for the top level); `what()` is "<path>: <reason>", or
  // just the reason when the path is empty.
  DecodingError(std::string path, const std::string& reason);

  // The member at fault: "" for the top level, "no_internet_interval", "menus[1].menu", ...
  const std::string& path() const noexcept { return path_; }

  // The reason alone, without the path ("expected an integer, found 2.5").
  const std::string& reason() const noexcept { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

}  // namespace vexloweb
