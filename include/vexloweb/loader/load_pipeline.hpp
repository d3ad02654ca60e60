// The load pipeline: every layer between a sealed `.io` file and the held record, run once, with
// a report of the first layer that failed and why. ConfigureVexloWeb::readConfiguration runs it
// and discards the report; tools and tests read the report. Call from any thread.
//
// The envelope, from the outside in: the file's UTF-8 text; the clean text (whitespace runs
// condensed to one space, ends trimmed, every '"' removed); strict base64 of the AES-CBC cipher
// text; the decrypted UTF-8 text, which is strict base64 again; the JSON document.
//
// Example:
//   auto opened = vexloweb::openEnvelope(fileBytes);
//   if (opened.failure) std::cerr << layerName(opened.failure->layer) << ": "
//                                 << opened.failure->reason << '\n';
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "vexloweb/export.hpp"

namespace vexloweb {
namespace platform {
class Bundle;
class UserDefaults;
}  // namespace platform

enum class LoadLayer {
  kResource,       // no `<name>.io` regular file in the bundle
  kFile,           // the file could not be read, or is empty
  kFileText,       // the file is not UTF-8
  kCipherKeys,     // the key or IV text was refused
  kOuterBase64,    // the clean text is not strict base64
  kCipher,         // AES failed (wrong key or IV, damaged or cut-short cipher text)
  kDecryptedText,  // the decrypted bytes are not UTF-8
  kInnerBase64,    // the decrypted text is not strict base64
  kDocumentText,   // the document bytes are not UTF-8
  kDocument,       // the document does not decode as a ConfigureData
};

// "resource", "file", "file text", "cipher keys", "outer base64", "cipher", "decrypted text",
// "inner base64", "document text", "document".
VEXLOWEB_EXPORT std::string_view layerName(LoadLayer layer) noexcept;

struct VEXLOWEB_EXPORT LoadFailure {
  LoadLayer layer;
  std::string reason;      // for the person who has to fix it
  std::string memberPath;  // kDocument only: the member at fault ("" for the whole document)
};

// A key or IV other than the loader's own (for files sealed for another build); an absent one
// is the loader's.
struct VEXLOWEB_EXPORT EnvelopeKeys {
  std::optional<std::string> key;
  std::optional<std::string> iv;
};

struct VEXLOWEB_EXPORT OpenedEnvelope {
  std::optional<std::string> document;  // the document's bytes, exactly as sealed
  std::optional<LoadFailure> failure;   // set instead when a layer failed
  // The lines the cipher prints for this file in a load ("Error: Failed to crypt data. ...").
  std::vector<std::string> cipherMessages;
};

// Peels the envelope of a file's bytes down to the document (nothing printed). Without `keys`,
// with the loader's own key and IV.
VEXLOWEB_EXPORT OpenedEnvelope openEnvelope(std::string_view fileBytes,
                                            const std::optional<EnvelopeKeys>& keys = std::nullopt);

struct VEXLOWEB_EXPORT LoadOutcome {
  std::optional<LoadFailure> failure;  // nothing: the record is held and both exports ran
  std::vector<std::string> cipherMessages;
  bool ok() const noexcept { return !failure; }
};

// The whole load: finds `<fileName>.io` in platform::Bundle::main(), opens it, decodes the
// document, stores the record in AppDataInstance, then exports the ad settings and the theme
// colours into platform::UserDefaults::standard() in one transaction. On any failure nothing is
// stored and nothing exported. Loads on several threads are ordered: whatever they interleave,
// the holder and the eighteen exported keys end with the values of the same load, the last to
// finish. Each cipher line is printed to `cipherOutput` (when not null) in
// debug form, as it happens. Never throws for bad input. A name that is not found says what to
// do about the usual mistakes: "the bundle folder '...' does not exist", "no regular file
// 'app.io.io' in '...' (give the name without its extension: 'app')".
VEXLOWEB_EXPORT LoadOutcome
loadConfiguration(std::string_view fileName, const std::optional<EnvelopeKeys>& keys = std::nullopt,
                  std::ostream* cipherOutput = nullptr);

// The same load from the folder of `bundle` into `defaults`, for a host that loads several apps or
// keeps its files elsewhere; only the holder is shared. A name that would leave the bundle
// (absolute, or with a ".." part) fails at the resource layer and says so.
VEXLOWEB_EXPORT LoadOutcome loadConfigurationFrom(
    const platform::Bundle& bundle, platform::UserDefaults& defaults, std::string_view fileName,
    const std::optional<EnvelopeKeys>& keys = std::nullopt, std::ostream* cipherOutput = nullptr);

// Why `keys` would be refused by every layer that takes them ("the key has 3 characters (it
// needs 16 or 32)", "the IV has 8 characters (it needs 16)"; the key is checked first), or
// nothing when they are usable. Absent parts are the loader's own. Nothing is printed.
VEXLOWEB_EXPORT std::optional<std::string> checkEnvelopeKeys(
    const std::optional<EnvelopeKeys>& keys);

// Seals a document into the text of a `.io` file: base64 of the AES cipher text of base64 of
// the document, as one line followed by a line break. Nothing when the document is not UTF-8
// or the key or IV is refused, with the reason in *whyNot (nothing is printed).
VEXLOWEB_EXPORT std::optional<std::string> sealDocument(
    std::string_view document, const std::optional<EnvelopeKeys>& keys = std::nullopt,
    std::string* whyNot = nullptr);

}  // namespace vexloweb
