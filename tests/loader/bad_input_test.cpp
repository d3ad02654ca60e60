// Every file in tests/data/bad is one fault; the table says what a load of it must give. A load
// that fails stores nothing, exports nothing and prints at most the cipher's line.
#include <set>
#include <sstream>

#include "loader/loader_fixture.hpp"
#include "vexloweb/loader/configure_vexlo_web.hpp"
#include "vexloweb/loader/file_check.hpp"

namespace vexloweb {
namespace {

using testing::LoaderTest;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

const std::filesystem::path kBad = std::filesystem::path(VEXLOWEB_TEST_DATA) / "bad";
constexpr const char* kCrypt4304 = "\"Error: Failed to crypt data. Status -4304\"\n";

constexpr const char* kOk = "ok";
constexpr const char* kAfterKeys = "after the keys";

struct BadInput {
  std::string file;
  std::string layer;
  std::string reason;   // a part of the reason
  std::string printed;  // what readConfiguration prints
};

class BadInputTest : public LoaderTest {
 protected:
  // Loads `name` over a held marker record; checks the outcome and that a failure changed nothing.
  void expectOutcome(const std::string& name, const BadInput& expected) {
    SCOPED_TRACE(expected.file);
    ConfigureData marker;
    marker.set_package_name("marker");
    AppDataInstance::getInstance().setConfigureData(marker);
    platform::UserDefaults::setStandardInMemory();

    CaptureStdout();
    ConfigureVexloWeb().readConfiguration(name);
    const std::string printed = GetCapturedStdout();
    const auto outcome = loadConfiguration(name);

    const std::string layer = outcome.ok() ? kOk : std::string(layerName(outcome.failure->layer));
    if (expected.layer == kAfterKeys) {
      EXPECT_NE(layer, kOk);
      EXPECT_NE(layer, "outer base64");
      // A line is printed exactly when the cipher itself refused the data.
      EXPECT_EQ(printed, layer == "cipher" ? kCrypt4304 : "");
    } else {
      EXPECT_EQ(layer, expected.layer);
      EXPECT_EQ(printed, expected.printed);
    }
    if (outcome.failure) {
      EXPECT_NE(outcome.failure->reason.find(expected.reason), std::string::npos)
          << outcome.failure->reason;
      EXPECT_EQ(held(), marker);
      EXPECT_TRUE(platform::UserDefaults::standard().keys().empty());
    } else {
      EXPECT_NE(held(), marker);
      EXPECT_EQ(platform::UserDefaults::standard().keys().size(), 2U);
    }
  }
};

TEST_F(BadInputTest, EveryFaultGivesItsOutcome) {
  std::set<std::string> listed;
  for (const auto& row : testing::readTable("bad/outcomes.tsv")) {
    BadInput input{row[0], row[1], row[2] == "-" ? "" : row[2], ""};
    if (row[3] != "none")
      input.printed = "\"Error: Failed to crypt data. Status -" + row[3] + "\"\n";
    listed.insert(input.file + ".io");
    put("input.io", testing::readFile(kBad / (input.file + ".io")));
    expectOutcome("input", input);
  }
  for (const auto& entry : std::filesystem::directory_iterator(kBad)) {
    if (entry.path().extension() == ".io") {
      EXPECT_TRUE(listed.count(entry.path().filename().string())) << entry.path() << " unlisted";
    }
  }
  EXPECT_GE(listed.size(), 40U);
}

// A folder or a FIFO is no resource either: the bundle's lookup refuses them (its own test). A
// name that leaves the bundle is refused even when it names a file that would load.
TEST_F(BadInputTest, AMissingFileOrANameLeavingTheBundleIsNoResource) {
  expectOutcome("missing", {"missing", "resource", "no regular file 'missing.io'", ""});
  seal("app", "{}");
  const std::string outside = (bundle_.path() / "app").string();
  expectOutcome(outside, {outside, "resource", "does not stay inside the bundle", ""});
}

}  // namespace
}  // namespace vexloweb
