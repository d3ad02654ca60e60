// Each stage of a load alone, the whole load, and the floors beneath them (memcpy of the file,
// Nettle's AES-256-CBC decrypt, simdjson's parse), all in bytes of the document per second.
#include <benchmark/benchmark.h>
#include <nettle/aes.h>
#include <nettle/cbc.h>
#include <simdjson.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "allocation_counter.hpp"
#include "config/record_decoder.hpp"
#include "document_generator.hpp"
#include "loader/cipher_steps.hpp"
#include "loader/exports.hpp"
#include "peer_loader.hpp"
#include "platform/base64.hpp"
#include "platform/json.hpp"
#include "platform/text.hpp"
#include "vexloweb/loader/configure_vexlo_web.hpp"
#include "vexloweb/loader/load_pipeline.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"

namespace vexloweb::bench {
namespace {

// Reports the allocations per iteration made since `before`.
void countAllocations(benchmark::State& state, std::size_t before) {
  state.counters["allocations"] = benchmark::Counter(
      static_cast<double>(allocationCount() - before), benchmark::Counter::kAvgIterations);
}

constexpr std::string_view kKey = "7b1e40c9a3f85d26e0b94c1f3a7d2e58";
constexpr std::string_view kIv = "c30f8a61d2b4e975";

// Every layer of one generated document, from the file down.
struct Layers {
  std::string document;
  std::string inner;       // base64 of the document
  std::string cipherText;  // AES of `inner`
  std::string file;        // base64 of the cipher text, and a line break
  std::filesystem::path folder;
};

const Layers& layers(std::size_t size) {
  static std::map<std::size_t, Layers> cache;
  auto [entry, fresh] = cache.try_emplace(size);
  Layers& l = entry->second;
  if (fresh) {
    l.document = generateDocument(size);
    l.inner = platform::encodeBase64(l.document);
    const Bytes key(kKey.begin(), kKey.end());
    const Bytes iv(kIv.begin(), kIv.end());
    runCipher({reinterpret_cast<const std::uint8_t*>(l.inner.data()), l.inner.size()}, kCCEncrypt,
              key, iv, l.cipherText);
    l.file = platform::encodeBase64(l.cipherText) + "\n";
    l.folder = std::filesystem::temp_directory_path() /
               ("vexloweb-bench-" + std::to_string(::getpid()) + "-" + std::to_string(size));
    std::filesystem::create_directories(l.folder);
    std::ofstream(l.folder / "app.io", std::ios::binary) << l.file;
  }
  return l;
}

void perDocument(benchmark::State& state, const Layers& l) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * l.document.size()));
  state.counters["file_bytes"] = static_cast<double>(l.file.size());
}

void CleanUp(benchmark::State& state) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  std::string buffer = l.file;
  for (auto _ : state) {
    benchmark::DoNotOptimize(platform::cleanTextInPlace(buffer.data(), buffer.size()));
  }
  perDocument(state, l);
}

// Decodes a copy each time (decoding works in place); the copy is the memcpy floor.
void Base64Stage(benchmark::State& state, const std::string& text, const Layers& l) {
  std::string buffer(text.size(), '\0');
  for (auto _ : state) {
    std::memcpy(buffer.data(), text.data(), text.size());
    std::size_t size = 0;
    benchmark::DoNotOptimize(platform::decodeBase64InPlace(buffer.data(), buffer.size(), &size));
  }
  perDocument(state, l);
}

void OuterBase64(benchmark::State& state) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  Base64Stage(state, l.file.substr(0, l.file.size() - 1), l);
}

void InnerBase64(benchmark::State& state) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  Base64Stage(state, l.inner, l);
}

void AesDecrypt(benchmark::State& state) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  const Bytes key(kKey.begin(), kKey.end());
  const Bytes iv(kIv.begin(), kIv.end());
  std::string out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        runCipher({reinterpret_cast<const std::uint8_t*>(l.cipherText.data()), l.cipherText.size()},
                  kCCDecrypt, key, iv, out));
  }
  perDocument(state, l);
}

void DecodeDocument(benchmark::State& state) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  std::string padded = l.document + std::string(platform::JsonParser::kPadding, ' ');
  const std::string_view document(padded.data(), l.document.size());
  for (auto _ : state) {
    ConfigureData record;
    RecordDecoder(RecordDecoder::Mode::kStopAtFirst).decodeDocumentPaddedInto(document, record);
    benchmark::DoNotOptimize(record);
  }
  perDocument(state, l);
}

void ExportsToSqlite(benchmark::State& state) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  AppDataInstance::getInstance().setConfigureData(ConfigureData::decode(l.document));
  platform::UserDefaults::setStandardPath(l.folder / "exports.sqlite3");
  for (auto _ : state) {
    platform::UserDefaults::Transaction transaction(platform::UserDefaults::standard());
    auto settings = readExportedSettings();
    exportAdSettings(settings, platform::UserDefaults::standard());
    exportThemeSettings(settings, platform::UserDefaults::standard());
  }
  perDocument(state, l);
}

void ReadConfiguration(benchmark::State& state, bool sqlite, bool synced = false) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  platform::Bundle::setMainPath(l.folder);
  if (sqlite) {
    platform::UserDefaults::setStandardPath(l.folder / "load.sqlite3");
  } else {
    platform::UserDefaults::setStandardInMemory();
  }
  platform::UserDefaults::standard().setSyncOnCommit(synced);
  const std::size_t before = allocationCount();
  for (auto _ : state) {
    if (synced) {
      // SQLite commits nothing when no value changes: change one, so each load really commits.
      state.PauseTiming();
      platform::UserDefaults::standard().setObject(std::int64_t{-1}, "AD_DELAY");
      state.ResumeTiming();
    }
    ConfigureVexloWeb().readConfiguration("app");
  }
  if (!synced) countAllocations(state, before);
  if (!AppDataInstance::getInstance().configureData()) state.SkipWithError("the load failed");
  perDocument(state, l);
}
void ReadConfigurationMemoryStore(benchmark::State& state) { ReadConfiguration(state, false); }
void ReadConfigurationSqliteStore(benchmark::State& state) { ReadConfiguration(state, true); }
// Commits that survive power loss: the cost of the sync at each load that changes a value.
void ReadConfigurationSqliteSyncedStore(benchmark::State& state) {
  ReadConfiguration(state, true, true);
}

// The same file loaded by the peer: OpenSSL's EVP and nlohmann::json, the 18 exports into a map.
void PeerOpensslNlohmann(benchmark::State& state) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  const auto file = l.folder / "app.io";
  const std::size_t before = allocationCount();
  std::size_t exported = 0;
  for (auto _ : state) {
    auto load = peerLoad(file, kKey, kIv);
    if (!load) {
      state.SkipWithError("the peer's load failed");
      break;
    }
    exported = load->exported.size();
    benchmark::DoNotOptimize(load);
  }
  countAllocations(state, before);
  if (exported != 18) state.SkipWithError("the peer did not export 18 settings");
  perDocument(state, l);
}

void FloorMemcpyFile(benchmark::State& state) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  std::string copy(l.file.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), l.file.data(), l.file.size());
    benchmark::ClobberMemory();
  }
  perDocument(state, l);
}

void FloorNettleAes256CbcDecrypt(benchmark::State& state) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  aes256_ctx ctx;
  aes256_set_decrypt_key(&ctx, reinterpret_cast<const std::uint8_t*>(kKey.data()));
  std::string out(l.cipherText.size(), '\0');
  for (auto _ : state) {
    std::uint8_t iv[16];
    std::memcpy(iv, kIv.data(), 16);
    cbc_decrypt(&ctx, reinterpret_cast<nettle_cipher_func*>(aes256_decrypt), 16, iv,
                l.cipherText.size(), reinterpret_cast<std::uint8_t*>(out.data()),
                reinterpret_cast<const std::uint8_t*>(l.cipherText.data()));
    benchmark::ClobberMemory();
  }
  perDocument(state, l);
}

void FloorSimdjsonParse(benchmark::State& state) {
  const Layers& l = layers(static_cast<std::size_t>(state.range(0)));
  const simdjson::padded_string padded(l.document);
  simdjson::dom::parser parser;
  for (auto _ : state) benchmark::DoNotOptimize(parser.parse(padded).error());
  perDocument(state, l);
}

#define STAGE(name) \
  BENCHMARK(name)->RangeMultiplier(16)->Range(4 << 10, 16 << 20)->Unit(benchmark::kMicrosecond)
STAGE(CleanUp);
STAGE(OuterBase64);
STAGE(AesDecrypt);
STAGE(InnerBase64);
STAGE(DecodeDocument);
STAGE(ExportsToSqlite);
STAGE(ReadConfigurationMemoryStore);
STAGE(ReadConfigurationSqliteStore);
STAGE(ReadConfigurationSqliteSyncedStore);
STAGE(PeerOpensslNlohmann);
STAGE(FloorMemcpyFile);
STAGE(FloorNettleAes256CbcDecrypt);
STAGE(FloorSimdjsonParse);

}  // namespace
}  // namespace vexloweb::bench

BENCHMARK_MAIN();
