// A temporary bundle folder as the main bundle, an in-memory standard store and an empty holder,
// for tests of whole loads.
#pragma once

#include <gtest/gtest.h>

#include "platform/base64.hpp"
#include "test_files.hpp"
#include "vexloweb/loader/cipher.hpp"
#include "vexloweb/loader/load_pipeline.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"

namespace vexloweb::testing {

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Bundle::setMainPath(bundle_.path());
    platform::UserDefaults::setStandardInMemory();
    AppDataInstance::getInstance().setConfigureData(std::nullopt);
  }
  void TearDown() override { AppDataInstance::getInstance().setConfigureData(std::nullopt); }

  // Seals `document` the way a generator does, through the public cipher, into `<name>.io`.
  void seal(const std::string& name, std::string_view document) {
    auto keys = makeCipherKeys("7b1e40c9a3f85d26e0b94c1f3a7d2e58", "c30f8a61d2b4e975");
    const std::string inner = platform::encodeBase64(document);
    const auto cipherText =
        crypt(Bytes(inner.begin(), inner.end()), kCCEncrypt, keys->keyData, keys->ivData);
    writeFile(bundle_.path() / (name + ".io"),
              platform::encodeBase64(std::string(cipherText->begin(), cipherText->end())) + "\n");
  }
  void put(const std::string& fileName, std::string_view content) {
    writeFile(bundle_.path() / fileName, content);
  }
  static std::optional<ConfigureData> held() {
    return AppDataInstance::getInstance().configureData();
  }
  static std::optional<platform::DefaultsValue> stored(std::string_view key) {
    return platform::UserDefaults::standard().object(key);
  }

  TempDir bundle_;
};

}  // namespace vexloweb::testing
