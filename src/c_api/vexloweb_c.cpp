// The C interface: each function translates its arguments, calls the C++ interface, and turns
// every outcome (exceptions included) into a return value and a vexloweb_failure.
#include "vexloweb/vexloweb.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "platform/utf8.hpp"
#include "vexloweb/config/configure_data.hpp"
#include "vexloweb/config/decoding_error.hpp"
#include "vexloweb/loader/configure_vexlo_web.hpp"
#include "vexloweb/loader/file_check.hpp"
#include "vexloweb/loader/load_pipeline.hpp"
#include "vexloweb/loader/load_summary.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"
#include "vexloweb/version.hpp"

namespace {

using vexloweb::LoadFailure;

// A malloc'd NUL-terminated copy, or NULL when memory runs out.
char* copyText(std::string_view text) {
  auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy == nullptr) return nullptr;
  if (!text.empty()) std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

// `text` as valid UTF-8: each byte that is not part of a well-formed sequence becomes "\xNN" (a
// name a caller passed, or a key a host stored, may hold any bytes). In JSON the backslash is
// escaped, so the string's value reads "\xNN" too. Valid text is returned as it is.
std::string validUtf8(std::string_view text, bool inJson = false) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (std::size_t bad; (bad = vexloweb::platform::invalidUtf8Offset(text)) != text.npos;) {
    const auto byte = static_cast<unsigned char>(text[bad]);
    out.append(text.substr(0, bad)).append(inJson ? "\\\\x" : "\\x");
    out.append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xF]);
    text.remove_prefix(bad + 1);
  }
  return out.append(text);
}

// A JSON text for the caller, valid UTF-8.
char* copyJson(const std::string& json) {
  return vexloweb::platform::isValidUtf8(json) ? copyText(json) : copyText(validUtf8(json, true));
}

// Static texts for a failure whose own texts could not be allocated: the layer is always set.
char kInternalLayer[] = "internal";
char kOutOfMemory[] = "out of memory";

bool isStatic(const char* text) { return text == kInternalLayer || text == kOutOfMemory; }

void fill(vexloweb_failure* failure, std::string_view layer, std::string_view reason,
          std::string_view memberPath = {}) {
  if (failure == nullptr) return;
  vexloweb_failure_clear(failure);
  failure->layer = copyText(validUtf8(layer));
  failure->reason = copyText(validUtf8(reason));
  if (!memberPath.empty()) failure->member_path = copyText(validUtf8(memberPath));
  if (failure->layer == nullptr || failure->reason == nullptr) {
    vexloweb_failure_clear(failure);
    failure->layer = kInternalLayer;
    failure->reason = kOutOfMemory;
  }
}

void fill(vexloweb_failure* failure, const LoadFailure& loadFailure) {
  fill(failure, vexloweb::layerName(loadFailure.layer), loadFailure.reason,
       loadFailure.layer == vexloweb::LoadLayer::kDocument ? loadFailure.memberPath : "");
}

// Runs `body`, which returns the function's result; an exception becomes an "internal" failure
// (or "memory" when allocation failed) and the result `onThrow`.
template <class Result, class Body>
Result guarded(vexloweb_failure* failure, Result onThrow, Body&& body) noexcept {
  try {
    vexloweb_failure_clear(failure);
    return body();
  } catch (const std::bad_alloc&) {
    fill(failure, "internal", "out of memory");
  } catch (const std::exception& error) {
    fill(failure, "internal", error.what());
  } catch (...) {
    fill(failure, "internal", "an unknown error");
  }
  return onThrow;
}

template <class Body>
void guardedVoid(Body&& body) noexcept {
  try {
    body();
  } catch (...) {  // nothing to report to: the call is silent by contract
  }
}

bool refuseNull(const void* argument, const char* name, vexloweb_failure* failure) {
  if (argument != nullptr) return false;
  fill(failure, "argument", std::string(name) + " is NULL");
  return true;
}

// A load's result: its own failure first; else the store's, when the exported settings did not
// reach its file (they are kept in memory, as the record is held).
int loadResult(const vexloweb::LoadOutcome& outcome,
               const vexloweb::platform::UserDefaults& defaults, vexloweb_failure* failure) {
  if (outcome.failure) {
    fill(failure, *outcome.failure);
    return 0;
  }
  if (auto why = defaults.failure()) {
    fill(failure, "defaults", "the settings were not stored: " + *why);
    return 0;
  }
  return 1;
}

}  // namespace

extern "C" {

const char* vexloweb_version_string(void) { return VEXLOWEB_VERSION_STRING; }

void vexloweb_set_bundle_path(const char* folder) {
  if (folder == nullptr) return;
  guardedVoid([&] { vexloweb::platform::Bundle::setMainPath(folder); });
}

void vexloweb_set_defaults_path(const char* file) {
  guardedVoid([&] {
    if (file == nullptr) {
      vexloweb::platform::UserDefaults::setStandardInMemory();
    } else {
      vexloweb::platform::UserDefaults::setStandardPath(file);
    }
  });
}

void vexloweb_read_configuration(const char* file_name) {
  if (file_name == nullptr) return;
  guardedVoid([&] { vexloweb::ConfigureVexloWeb().readConfiguration(file_name); });
}

int vexloweb_load_configuration(const char* file_name, vexloweb_failure* failure) {
  return guarded(failure, 0, [&] {
    if (refuseNull(file_name, "file_name", failure)) return 0;
    // The app's own load, printing what readConfiguration prints.
    const auto outcome = vexloweb::loadConfiguration(file_name, std::nullopt, &std::cout);
    return loadResult(outcome, vexloweb::platform::UserDefaults::standard(), failure);
  });
}

int vexloweb_load_configuration_from(const char* bundle_folder, const char* defaults_file,
                                     const char* file_name, vexloweb_failure* failure) {
  return guarded(failure, 0, [&] {
    if (refuseNull(file_name, "file_name", failure)) return 0;
    using vexloweb::platform::Bundle;
    using vexloweb::platform::UserDefaults;
    std::optional<Bundle> own;
    const Bundle& bundle = bundle_folder != nullptr ? own.emplace(bundle_folder) : Bundle::main();
    UserDefaults& defaults =
        defaults_file != nullptr ? UserDefaults::atPath(defaults_file) : UserDefaults::standard();
    const auto outcome =
        vexloweb::loadConfigurationFrom(bundle, defaults, file_name, std::nullopt, &std::cout);
    return loadResult(outcome, defaults, failure);
  });
}

char* vexloweb_defaults_json_at(const char* defaults_file) {
  return guarded<char*>(nullptr, nullptr, [&]() -> char* {
    if (defaults_file == nullptr) return nullptr;
    return copyJson(
        vexloweb::defaultsJson(vexloweb::platform::UserDefaults::atPath(defaults_file)));
  });
}

char* vexloweb_read_defaults(const char* defaults_file, vexloweb_failure* failure) {
  return guarded<char*>(failure, nullptr, [&]() -> char* {
    using vexloweb::platform::UserDefaults;
    const UserDefaults& defaults =
        defaults_file != nullptr ? UserDefaults::atPath(defaults_file) : UserDefaults::standard();
    std::string json = vexloweb::defaultsJson(defaults);
    if (auto why = defaults.failure()) {
      fill(failure, "defaults", *why);
      return nullptr;
    }
    char* copy = copyJson(json);
    if (copy == nullptr) fill(failure, "internal", "out of memory");
    return copy;
  });
}

char* vexloweb_configure_data_json(void) {
  return guarded<char*>(nullptr, nullptr, [] {
    const auto record = vexloweb::AppDataInstance::getInstance().configureData();
    return record ? copyJson(record->encode()) : nullptr;
  });
}

int vexloweb_set_configure_data_json(const char* json, size_t length, vexloweb_failure* failure) {
  return guarded(failure, 0, [&] {
    if (refuseNull(json, "json", failure)) return 0;
    try {
      auto record = vexloweb::ConfigureData::decode(std::string_view(json, length));
      vexloweb::AppDataInstance::getInstance().setConfigureData(std::move(record));
      return 1;
    } catch (const vexloweb::DecodingError& error) {
      fill(failure, "document", error.what(), error.path());
      return 0;
    }
  });
}

char* vexloweb_defaults_json(void) {
  return guarded<char*>(nullptr, nullptr, [] {
    return copyJson(vexloweb::defaultsJson(vexloweb::platform::UserDefaults::standard()));
  });
}

char* vexloweb_seal(const char* document, size_t length, vexloweb_failure* failure) {
  return guarded<char*>(failure, nullptr, [&]() -> char* {
    if (refuseNull(document, "document", failure)) return nullptr;
    const std::string_view text(document, length);
    const vexloweb::FileCheck check = vexloweb::checkDocumentText(text);
    if (check.failure) {
      fill(failure, *check.failure);
      return nullptr;
    }
    std::string whyNot;
    const auto sealed = vexloweb::sealDocument(text, std::nullopt, &whyNot);
    if (!sealed) {
      fill(failure, "cipher", whyNot);
      return nullptr;
    }
    return copyText(*sealed);
  });
}

char* vexloweb_open(const char* sealed, size_t length, size_t* document_length,
                    vexloweb_failure* failure) {
  if (document_length != nullptr) *document_length = 0;
  return guarded<char*>(failure, nullptr, [&]() -> char* {
    if (refuseNull(sealed, "sealed", failure)) return nullptr;
    const auto opened = vexloweb::openEnvelope(std::string_view(sealed, length));
    if (opened.failure) {
      fill(failure, *opened.failure);
      return nullptr;
    }
    char* document = copyText(*opened.document);
    if (document != nullptr && document_length != nullptr) {
      *document_length = opened.document->size();
    }
    return document;
  });
}

int vexloweb_check(const char* sealed, size_t length, vexloweb_failure* failure) {
  return guarded(failure, 0, [&] {
    if (refuseNull(sealed, "sealed", failure)) return 0;
    const auto check = vexloweb::checkSealedFile(std::string_view(sealed, length));
    if (check.failure) fill(failure, *check.failure);
    return check.ok() ? 1 : 0;
  });
}

void vexloweb_failure_clear(vexloweb_failure* failure) {
  if (failure == nullptr) return;
  for (char* text : {failure->layer, failure->reason, failure->member_path}) {
    if (!isStatic(text)) std::free(text);
  }
  failure->layer = nullptr;
  failure->reason = nullptr;
  failure->member_path = nullptr;
}

void vexloweb_free(void* text) { std::free(text); }

}  // extern "C"
