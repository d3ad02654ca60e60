#include "vexloweb/loader/load_pipeline.hpp"

#include <atomic>
#include <filesystem>
#include <mutex>

#include "config/record_decoder.hpp"
#include "loader/cipher_steps.hpp"
#include "loader/envelope.hpp"
#include "loader/exports.hpp"
#include "loader/load_hook.hpp"
#include "loader/spare_record.hpp"
#include "platform/base64.hpp"
#include "platform/diagnose.hpp"
#include "platform/utf8.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/file.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"

namespace vexloweb {
namespace {

std::atomic<LoadStageHook> gStageHook{nullptr};

void reachStage(std::string_view stage, std::string_view fileName) {
  if (LoadStageHook hook = gStageHook.load(std::memory_order_acquire)) hook(stage, fileName);
}

// Held from the holder's write to the store's commit, so that concurrent loads leave the holder
// and the store with the same load's values. Taken before the holder's and the store's locks and
// never while either is held.
std::mutex& commitMutex() {
  static auto* const mutex = new std::mutex();
  return *mutex;
}

// Why `fileName` names no file of the bundle, with the fix for the usual mistakes: a folder
// that does not exist, a name given with its extension.
std::string missingResource(const platform::Bundle& bundle, std::string_view fileName) {
  const std::filesystem::path folder = bundle.path();
  if (!platform::Bundle::staysInside(fileName)) {
    return "the name '" + std::string(fileName) +
           "' does not stay inside the bundle (a name is a file's name in the bundle folder, "
           "without '..' or a leading '/')";
  }
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    return "the bundle folder '" + folder.string() + "' does not exist";
  }
  std::string reason =
      "no regular file '" + std::string(fileName) + ".io' in '" + folder.string() + "'";
  for (const std::string_view extension : {std::string_view(".io"), std::string_view(".json")}) {
    const std::string_view stem = fileName.substr(0, fileName.size() - extension.size());
    if (fileName.size() <= extension.size() || !fileName.ends_with(extension) ||
        stem.ends_with('/')) {
      continue;
    }
    const bool sealed = bundle.pathForResource(stem, "io").has_value();
    reason += " (give the name without its extension: '" + std::string(stem) + "'" +
              (sealed || extension == ".io" ? ")"
                                            : ", once " + std::string(fileName) +
                                                  " is sealed into " + std::string(stem) + ".io)");
  }
  return reason;
}

}  // namespace

void setLoadStageHook(LoadStageHook hook) { gStageHook.store(hook, std::memory_order_release); }

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
  if (!opened.failure) opened.failure = envelope.checkDocumentText();
  if (!opened.failure) opened.document = std::string(envelope.document());
  opened.cipherMessages = std::move(envelope.messages());
  return opened;
}

LoadOutcome loadConfiguration(std::string_view fileName, const std::optional<EnvelopeKeys>& keys,
                              std::ostream* cipherOutput) {
  return loadConfigurationFrom(platform::Bundle::main(), platform::UserDefaults::standard(),
                               fileName, keys, cipherOutput);
}

LoadOutcome loadConfigurationFrom(const platform::Bundle& bundle, platform::UserDefaults& defaults,
                                  std::string_view fileName,
                                  const std::optional<EnvelopeKeys>& keys,
                                  std::ostream* cipherOutput) {
  LoadOutcome outcome;
  const auto path = bundle.pathForResource(fileName, "io");
  if (!path) {
    outcome.failure = LoadFailure{LoadLayer::kResource, missingResource(bundle, fileName), {}};
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

  SpareRecord::Box record = SpareRecord::take();
  try {
    RecordDecoder(RecordDecoder::Mode::kStopAtFirst)
        .decodeDocumentPaddedInto(envelope.document(), **record);
  } catch (const DecodingError& error) {
    SpareRecord::give(std::move(record));
    outcome.failure = envelope.checkDocumentText();  // bytes that are not UTF-8 fail here too
    if (!outcome.failure)
      outcome.failure = LoadFailure{LoadLayer::kDocument, error.what(), error.path()};
    return outcome;
  }
  reachStage("decoded", fileName);
  {
    // Warnings wait until the commit mutex is released: a handler may start another load.
    const platform::DeferDiagnostics deferred;
    const std::lock_guard commit(commitMutex());
    AppDataInstance::getInstance().swapConfigureData(*record);
    // Read from the holder before the store's transaction opens: a host may read the store
    // while it changes the held record, so holding the store's lock while taking the holder's
    // could deadlock against it.
    ExportedSettings settings = readExportedSettings();
    reachStage("held", fileName);
    // All eighteen keys of a load land together, in one commit.
    platform::UserDefaults::Transaction transaction(defaults);
    exportAdSettings(settings, defaults);
    exportThemeSettings(settings, defaults);
    reachStage("exported", fileName);
  }
  SpareRecord::give(std::move(record));  // the record held before this load
  return outcome;
}

std::optional<std::string> checkEnvelopeKeys(const std::optional<EnvelopeKeys>& keys) {
  KeyCheck check = checkCipherKeys(keyText(keys), ivText(keys));
  if (check.keys) return std::nullopt;
  return std::move(check.reason);
}

std::optional<std::string> sealDocument(std::string_view document,
                                        const std::optional<EnvelopeKeys>& keys,
                                        std::string* whyNot) {
  std::string ignored;
  std::string& reason = whyNot != nullptr ? *whyNot : ignored;
  if (!platform::isValidUtf8(document)) {
    reason = "the document is " + platform::notUtf8(document);
    return std::nullopt;
  }
  const KeyCheck check = checkCipherKeys(keyText(keys), ivText(keys));
  if (!check.keys) {
    reason = check.reason;
    return std::nullopt;
  }
  const std::string inner = platform::encodeBase64(document);
  std::string cipherText;
  const auto status = runCipher({reinterpret_cast<const std::uint8_t*>(inner.data()), inner.size()},
                                kCCEncrypt, check.keys->keyData, check.keys->ivData, cipherText);
  if (status != platform::kCCSuccess) {
    reason = describeStatus(status);
    return std::nullopt;
  }
  std::string sealed = platform::encodeBase64(cipherText);
  sealed += '\n';
  return sealed;
}

}  // namespace vexloweb
