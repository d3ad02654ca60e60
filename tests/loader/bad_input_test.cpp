// Every file in tests/data/bad is one fault; the table says what a load of it must give. A load
// that fails stores nothing, exports nothing and prints at most the cipher's line.
#include <sys/stat.h>

#include <set>

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

// kOk loads; kAfterKeys fails somewhere after the key check, where exactly depends on what a
// wrong key or a damaged block happens to decrypt to (about 1 in 256 pass the padding check).
constexpr const char* kOk = "ok";
constexpr const char* kAfterKeys = "after the keys";

struct BadInput {
  const char* file;
  const char* layer;
  const char* reason;   // a part of the reason
  const char* printed;  // what readConfiguration prints
};

const BadInput kBadInputs[] = {
    {"empty", "file", "the file is empty", kCrypt4304},
    {"only_whitespace", "cipher", "status -4304", kCrypt4304},
    {"not_utf8", "file text", "first bad byte is at offset 0", kCrypt4304},
    {"utf8_overlong", "file text", "offset 8", kCrypt4304},
    {"utf8_surrogate", "file text", "offset 8", kCrypt4304},
    {"nul_byte", "outer base64", "the byte 0x00 at offset 8", ""},
    {"wrapped_lines", "outer base64", "a space at offset 64", ""},
    {"crlf_wrapped", "outer base64", "a space at offset 76", ""},
    {"inner_space", "outer base64", "a space at offset 20", ""},
    {"nbsp_inside", "outer base64", "a space at offset 20", ""},
    {"urlsafe_alphabet", "outer base64", "'-' at offset", ""},
    {"bad_character", "outer base64", "'*' at offset 10", ""},
    {"truncated_base64", "outer base64", "is not a multiple of 4", ""},
    {"padding_inside", "outer base64", "padding '=' at offset 8", ""},
    {"too_much_padding", "outer base64", "padding '='", ""},
    {"part_block", "cipher", "status -4303", "\"Error: Failed to crypt data. Status -4303\"\n"},
    {"truncated_whole_blocks", kAfterKeys, "", nullptr},
    {"extra_block", kAfterKeys, "", nullptr},
    {"garbage_block", kAfterKeys, "", nullptr},
    {"wrong_key", kAfterKeys, "", nullptr},
    {"wrong_iv", kAfterKeys, "", nullptr},
    {"aes128_key", kAfterKeys, "", nullptr},
    {"bit_flip_first_block", kAfterKeys, "", nullptr},
    {"bit_flip_last_block", kAfterKeys, "", nullptr},
    {"decrypted_not_utf8", "decrypted text", "offset 0", ""},
    {"decrypted_not_utf8_after_base64", "decrypted text", "offset 8", ""},
    {"inner_not_base64", "inner base64", "a space at offset 5", ""},
    {"inner_wrapped", "inner base64", "a line break at offset 76", ""},
    {"inner_truncated", "inner base64", "not a multiple of 4", ""},
    {"inner_padding_inside", "inner base64", "padding '=' at offset 3", ""},
    {"document_not_utf8", "document text", "offset 15", ""},
    {"doc_empty", "document", "no JSON value", ""},
    {"doc_syntax", "document", "invalid JSON at byte 7", ""},
    {"doc_top_level_array", "document", "at the top level, found an array", ""},
    {"doc_top_level_string", "document", "at the top level, found the string", ""},
    {"doc_int_fraction", "document", "no_internet_interval: expected an integer", ""},
    {"doc_int_overflow", "document", "found 9223372036854775808", ""},
    {"doc_string_for_switch", "document", "file_upload: expected true or false", ""},
    {"doc_number_for_switch", "document", "file_upload: expected true or false, found 1", ""},
    {"doc_number_for_text", "document", "package_name: expected a string, found 7", ""},
    {"doc_text_for_number", "document", "loader_int_time: expected a number", ""},
    {"doc_object_for_list", "document", "menus: expected an array", ""},
    {"doc_null_element", "document", "menus[0]: expected an object, found null", ""},
    {"doc_nested_wrong_type", "document", "tabs[1].menu: expected a string", ""},
    {"doc_nesting_10000", "document", "nesting deeper than 1024 levels", ""},
    {"doc_raw_nul", "document", "a control character inside a string", ""},
    {"doc_lone_surrogate", "document", "a malformed string", ""},
    {"doc_number_too_big", "document", "a number that is malformed or out of range", ""},
    {"doc_trailing_garbage", "document", "invalid JSON at byte 3", ""},
    {"ok_nul_in_key", kOk, "", ""},
    {"ok_duplicate_bad_second", kOk, "", ""},
    {"ok_quoted_with_spaces", kOk, "", ""},
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
    if (expected.layer == std::string_view(kAfterKeys)) {
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
  for (const BadInput& input : kBadInputs) {
    listed.insert(std::string(input.file) + ".io");
    put("input.io", testing::readFile(kBad / (std::string(input.file) + ".io")));
    expectOutcome("input", input);
  }
  for (const auto& entry : std::filesystem::directory_iterator(kBad)) {
    if (entry.path().extension() == ".io") {
      EXPECT_TRUE(listed.count(entry.path().filename().string())) << entry.path() << " unlisted";
    }
  }
  EXPECT_GE(listed.size(), 40U);
}

TEST_F(BadInputTest, AMissingFileADirectoryOrAFifoIsNoResource) {
  expectOutcome("missing", {"missing", "resource", "no regular file 'missing.io'", ""});
  std::filesystem::create_directories(bundle_.path() / "folder.io");
  ASSERT_EQ(::mkfifo((bundle_.path() / "fifo.io").c_str(), 0600), 0);
  expectOutcome("folder", {"folder", "resource", "no regular file 'folder.io'", ""});
  expectOutcome("fifo", {"fifo", "resource", "no regular file 'fifo.io'", ""});
}

// Its peak memory is measured by bench/cold_start.sh, outside sanitizers.
TEST_F(BadInputTest, AFiftyMegabyteDocumentLoads) {
  std::string document = R"({"package_name":"big","menus":[)";
  const std::string item =
      R"({"menu":"Menu entry","url":"https://big.example/a/long/path","icon":"i"},)";
  while (document.size() < 50'000'000) document += item;
  document.back() = ']';
  document += '}';
  const auto sealed = sealDocument(document);
  ASSERT_TRUE(sealed);
  put("big.io", *sealed);

  const auto outcome = loadConfiguration("big");
  ASSERT_TRUE(outcome.ok()) << outcome.failure->reason;
  EXPECT_EQ(held()->menus()->size(), (50'000'000 - 31) / item.size() + 1);
}

}  // namespace
}  // namespace vexloweb
