#include "vexloweb/loader/load_pipeline.hpp"

#include <sys/stat.h>

#include "loader/loader_fixture.hpp"
#include "vexloweb/loader/configure_vexlo_web.hpp"

namespace vexloweb {
namespace {

using testing::LoaderTest;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

const std::filesystem::path kOpenssl = std::filesystem::path(VEXLOWEB_TEST_DATA) / "openssl";

TEST_F(LoaderTest, LoadsFilesSealedByOpensslFromEndToEnd) {
  const auto expected = ConfigureData::decode(testing::readFile(testing::exampleDocumentPath()));
  for (const char* file : {"example.io", "quoted.io"}) {
    AppDataInstance::getInstance().setConfigureData(std::nullopt);
    put("app.io", testing::readFile(kOpenssl / file));
    ConfigureVexloWeb().readConfiguration("app");
    EXPECT_EQ(held(), expected) << file;
  }
  EXPECT_EQ(stored("ADMOB_ID"), platform::DefaultsValue(*expected.admob_id()));
  EXPECT_EQ(stored("COLOR_PRIMARY"),
            platform::DefaultsValue(std::string("quarn_gradient3_primary")));

  put("small.io", testing::readFile(kOpenssl / "aes128.io"));
  const auto outcome =
      loadConfiguration("small", EnvelopeKeys{"0123456789abcdef", "c30f8a61d2b4e975"});
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(held()->package_name(), "aes128");
}

TEST_F(LoaderTest, ReportsTheFirstLayerThatFailed) {
  struct Case {
    const char* what;
    std::string content;
    LoadLayer layer;
    const char* reasonPart;
  };
  const auto keys = makeCipherKeys("7b1e40c9a3f85d26e0b94c1f3a7d2e58", "c30f8a61d2b4e975");
  const auto sealBytes = [&keys](std::string_view inner) {
    return LoaderTest::base64(
        *crypt(Bytes(inner.begin(), inner.end()), kCCEncrypt, keys->keyData, keys->ivData));
  };
  const Case cases[] = {
      {"wrapped outer base64", testing::readFile(kOpenssl / "wrapped.io"), LoadLayer::kOuterBase64,
       "a space at offset 64"},
      {"wrapped inner base64", testing::readFile(kOpenssl / "inner_wrapped.io"),
       LoadLayer::kInnerBase64, "a line break at offset 76"},
      {"empty file", "", LoadLayer::kFile, "empty"},
      {"not UTF-8", "QUJD\xff", LoadLayer::kFileText, "offset 4"},
      {"cut short", testing::readFile(kOpenssl / "example.io").substr(0, 100), LoadLayer::kCipher,
       "status -4303"},
      {"decrypted bytes not UTF-8", sealBytes("\xff\xfe"), LoadLayer::kDecryptedText, "offset 0"},
      {"decrypted text not UTF-8 after base64", sealBytes("Zm9vYmFy\xc3"),
       LoadLayer::kDecryptedText, "offset 8"},
      {"decrypted text not base64", sealBytes("not base64!"), LoadLayer::kInnerBase64, "a space"},
      {"document not UTF-8", sealBytes("/w=="), LoadLayer::kDocumentText, "offset 0"},
      {"document of the wrong type", sealBytes(LoaderTest::base64(Bytes{'[', ']'})),
       LoadLayer::kDocument, "expected a JSON object"},
  };
  for (const Case& c : cases) {
    put("bad.io", c.content);
    const auto outcome = loadConfiguration("bad");
    ASSERT_TRUE(outcome.failure) << c.what;
    EXPECT_EQ(layerName(outcome.failure->layer), layerName(c.layer)) << c.what;
    EXPECT_NE(outcome.failure->reason.find(c.reasonPart), std::string::npos)
        << c.what << ": " << outcome.failure->reason;
    EXPECT_FALSE(held().has_value());
  }
}

TEST_F(LoaderTest, NamesTheMemberAtFaultAndRefusedKeys) {
  seal("doc", R"({"menus": [{"menu": "a"}, {"menu": 5}]})");
  auto outcome = loadConfiguration("doc");
  ASSERT_TRUE(outcome.failure);
  EXPECT_EQ(outcome.failure->layer, LoadLayer::kDocument);
  EXPECT_EQ(outcome.failure->memberPath, "menus[1].menu");

  outcome = loadConfiguration("doc", EnvelopeKeys{"0123456789abcdef0123456789abcdef", "short"});
  ASSERT_TRUE(outcome.failure);
  EXPECT_EQ(outcome.failure->layer, LoadLayer::kCipherKeys);
  EXPECT_EQ(outcome.cipherMessages,
            std::vector<std::string>{"Error: Failed to set an initial vector."});
}

TEST_F(LoaderTest, FailuresAreSilentExceptForTheCipher) {
  std::filesystem::create_directories(bundle_.path() / "folder.io");
  ASSERT_EQ(::mkfifo((bundle_.path() / "pipe.io").c_str(), 0600), 0);
  put("wrapped.io", testing::readFile(kOpenssl / "wrapped.io"));
  put("empty.io", "");
  put("binary.io", "\xff\xfe\xfd");
  const std::pair<const char*, const char*> cases[] = {
      {"missing", ""},
      {"folder", ""},
      {"pipe", ""},
      {"wrapped", ""},
      {"empty", "\"Error: Failed to crypt data. Status -4304\"\n"},
      {"binary", "\"Error: Failed to crypt data. Status -4304\"\n"},
  };
  for (const auto& [name, printed] : cases) {
    CaptureStdout();
    ConfigureVexloWeb().readConfiguration(name);
    EXPECT_EQ(GetCapturedStdout(), printed) << name;
    EXPECT_FALSE(held().has_value()) << name;
  }
  EXPECT_TRUE(platform::UserDefaults::standard().keys().empty());
}

TEST_F(LoaderTest, CleansWhitespaceAndQuotesAroundTheText) {
  seal("plain", R"({"package_name": "clean"})");
  const std::string text = testing::readFile(bundle_.path() / "plain.io");
  const std::string bare = text.substr(0, text.size() - 1);
  const std::string variants[] = {
      "\"" + bare + "\"\n",
      " \t\r\n" + bare + "\n\n",
      "\xC2\xA0\xE2\x80\x83" + bare + "\xE3\x80\x80",  // NBSP, EM SPACE, IDEOGRAPHIC SPACE
      bare.substr(0, 10) + "\"\"" + bare.substr(10),
  };
  for (const auto& variant : variants) {
    AppDataInstance::getInstance().setConfigureData(std::nullopt);
    put("variant.io", variant);
    EXPECT_TRUE(loadConfiguration("variant").ok()) << variant;
    EXPECT_EQ(held()->package_name(), "clean");
  }
  put("broken.io", bare.substr(0, 40) + "\n" + bare.substr(40));
  EXPECT_EQ(loadConfiguration("broken").failure->layer, LoadLayer::kOuterBase64);
}

TEST_F(LoaderTest, AGoodLoadThenABadOneKeepsTheRecordAndTheExports) {
  seal("good", R"({"package_name": "one", "admob_delay": 5, "theme_color": "SOLID_7"})");
  seal("second", R"({"package_name": "two"})");
  put("bad.io", testing::readFile(kOpenssl / "other_key.io"));

  ConfigureVexloWeb().readConfiguration("good");
  ::testing::internal::CaptureStdout();
  ConfigureVexloWeb().readConfiguration("bad");
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(held()->package_name(), "one");
  EXPECT_EQ(stored("AD_DELAY"), platform::DefaultsValue(std::int64_t{5}));
  EXPECT_EQ(stored("COLOR_PRIMARY_DARK"),
            platform::DefaultsValue(std::string("quarn_solid7_primary")));

  ConfigureVexloWeb().readConfiguration("second");
  EXPECT_EQ(held()->package_name(), "two");
  EXPECT_FALSE(stored("AD_DELAY").has_value());
  EXPECT_EQ(stored("COLOR_PRIMARY"), platform::DefaultsValue(std::string("colorPrimary")));
}

TEST_F(LoaderTest, AnEmptyDocumentClearsTheAdKeysAndWritesTheDefaultColours) {
  seal("full", testing::readFile(testing::exampleDocumentPath()));
  seal("empty", "{}");
  ConfigureVexloWeb().readConfiguration("full");
  EXPECT_EQ(platform::UserDefaults::standard().keys().size(), 18U);
  ConfigureVexloWeb().readConfiguration("empty");
  EXPECT_EQ(held(), ConfigureData());
  EXPECT_EQ(platform::UserDefaults::standard().keys(),
            (std::vector<std::string>{"COLOR_PRIMARY", "COLOR_PRIMARY_DARK"}));
  EXPECT_EQ(stored("COLOR_PRIMARY_DARK"), platform::DefaultsValue(std::string("colorPrimaryDark")));
}

TEST_F(LoaderTest, OpensAndSealsWithoutPrinting) {
  const std::string document = R"({"package_name": "round trip"})";
  const auto sealed = sealDocument(document);
  ASSERT_TRUE(sealed);
  EXPECT_EQ(sealed->back(), '\n');
  CaptureStdout();
  const auto opened = openEnvelope(*sealed);
  const auto wrongKey =
      openEnvelope(*sealed, EnvelopeKeys{std::string(32, '0'), std::string(16, '0')});
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(opened.document, document);
  EXPECT_FALSE(wrongKey.document.has_value());
  std::string why;
  EXPECT_FALSE(sealDocument("\xff", std::nullopt, &why));
  EXPECT_NE(why.find("UTF-8"), std::string::npos);
  EXPECT_FALSE(sealDocument("{}", EnvelopeKeys{"abc", "c30f8a61d2b4e975"}, &why));
  EXPECT_EQ(why, "the key has 3 characters (it needs 16 or 32)");
}

}  // namespace
}  // namespace vexloweb
