#include "vexloweb/loader/load_pipeline.hpp"

#include <cctype>
#include <sstream>

#include "config/record_decoder.hpp"
#include "loader/loader_fixture.hpp"
#include "vexloweb/loader/configure_vexlo_web.hpp"

namespace vexloweb {
namespace {

using testing::LoaderTest;

const std::filesystem::path kOpenssl = std::filesystem::path(VEXLOWEB_TEST_DATA) / "openssl";

TEST_F(LoaderTest, LoadsFilesSealedByOpensslFromEndToEnd) {
  const auto expected = ConfigureData::decode(testing::readFile(testing::exampleDocumentPath()));
  for (const char* file : {"example.io", "quoted.io"}) {
    AppDataInstance::getInstance().setConfigureData(std::nullopt);
    put("app.io", testing::readFile(kOpenssl / file));
    ConfigureVexloWeb().readConfiguration("app");
    EXPECT_EQ(held(), expected) << file;
  }

  put("small.io", testing::readFile(kOpenssl / "aes128.io"));
  EXPECT_TRUE(
      loadConfiguration("small", EnvelopeKeys{"0123456789abcdef", "c30f8a61d2b4e975"}).ok());
  EXPECT_EQ(held()->package_name(), "aes128");
}

TEST_F(LoaderTest, NamesTheMemberAtFaultAndRefusedKeys) {
  seal("doc", R"({"menus": [{"menu": "a"}, {"menu": 5}]})");
  auto outcome = loadConfiguration("doc");
  ASSERT_TRUE(outcome.failure);
  EXPECT_EQ(outcome.failure->layer, LoadLayer::kDocument);
  EXPECT_EQ(outcome.failure->memberPath, "menus[1].menu");

  outcome = loadConfiguration("doc", EnvelopeKeys{std::nullopt, "short"});  // the IV alone counts
  ASSERT_TRUE(outcome.failure);
  EXPECT_EQ(layerName(outcome.failure->layer), "cipher keys");
  EXPECT_EQ(outcome.cipherMessages,
            std::vector<std::string>{"Error: Failed to set an initial vector."});
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

// A load decodes into the record an earlier load left behind. Every document of the decoding
// table decoded into what any other (accepted or refused) left gives what a fresh decode gives;
// loaded in turn, each leaves that record held, or the previous one when it is refused.
TEST_F(LoaderTest, ReloadsHoldWhatAFreshDecodeGives) {
  std::istringstream table(
      testing::readFile(std::filesystem::path(VEXLOWEB_TEST_DATA) / "decode/documents.txt"));
  std::vector<std::pair<std::string, std::optional<ConfigureData>>> documents;
  for (std::string document, expected; std::getline(table, document);) {
    if (document.starts_with('#')) continue;
    std::getline(table, expected);
    if (std::isupper(static_cast<unsigned char>(document.c_str()[0]))) continue;  // a list record
    // The table says which are refused ("! path | reason"): those decode to nothing here.
    documents.emplace_back(document, expected.starts_with("= ")
                                         ? std::optional(ConfigureData::decode(document))
                                         : std::nullopt);
  }
  const auto decodeInto = [](const std::string& document, ConfigureData& record) {
    const std::string padded = document + std::string(platform::JsonParser::kPadding, ' ');
    try {
      RecordDecoder(RecordDecoder::Mode::kStopAtFirst)
          .decodeDocumentPaddedInto(std::string_view(padded).substr(0, document.size()), record);
      return true;
    } catch (const DecodingError&) {
      return false;
    }
  };
  for (const auto& [earlier, ignored] : documents) {
    for (const auto& [document, fresh] : documents) {
      ConfigureData record;
      decodeInto(earlier, record);
      ASSERT_EQ(decodeInto(document, record), fresh.has_value()) << earlier << "\n" << document;
      if (fresh) {
        ASSERT_EQ(record, *fresh) << earlier << "\n" << document;
      }
    }
  }
  for (const auto& [document, fresh] : documents) {
    const auto before = held();
    seal("doc", document);
    EXPECT_EQ(loadConfiguration("doc").ok(), fresh.has_value()) << document;
    EXPECT_EQ(held(), fresh ? fresh : before) << document;
  }
}

// What makes reloads cheap: a load decodes into the record two loads back, so a text of the
// same length lands in the storage it had then.
TEST_F(LoaderTest, AReloadReusesTheStorageOfTheRecordItReplaced) {
  const auto aboutText = [] {
    const char* data = nullptr;
    AppDataInstance::getInstance().modifyConfigureData(
        [&](const std::optional<ConfigureData>& record) { data = record->about_text()->data(); });
    return data;
  };
  const std::string text = "a text too long to be held inside the string itself";
  seal("a", R"({"about_text": ")" + text + "\"}");
  seal("b", R"({"about_text": "another text, also too long to be held in place"})");
  ASSERT_TRUE(loadConfiguration("a").ok());
  const char* first = aboutText();
  ASSERT_TRUE(loadConfiguration("b").ok());
  // Takes the text's block, were the first record released: a new string could land there too.
  const std::string blocker(text.size(), 'x');
  ASSERT_TRUE(loadConfiguration("a").ok());
  EXPECT_EQ(aboutText(), first);
}

}  // namespace
}  // namespace vexloweb
