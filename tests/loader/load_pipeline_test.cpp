#include "vexloweb/loader/load_pipeline.hpp"

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
  EXPECT_EQ(stored("ADMOB_ID"), platform::DefaultsValue(*expected.admob_id()));
  EXPECT_EQ(stored("COLOR_PRIMARY"),
            platform::DefaultsValue(std::string("quarn_gradient3_primary")));

  put("small.io", testing::readFile(kOpenssl / "aes128.io"));
  const auto outcome =
      loadConfiguration("small", EnvelopeKeys{"0123456789abcdef", "c30f8a61d2b4e975"});
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(held()->package_name(), "aes128");
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

}  // namespace
}  // namespace vexloweb
