// Drives the built vexloweb executable as a user would, on files in a temporary folder.
#include <cstdlib>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/json.hpp"
#include "test_files.hpp"
#include "vexloweb/version.hpp"

namespace vexloweb {
namespace {

const std::filesystem::path kData = VEXLOWEB_TEST_DATA;

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

std::string quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class ToolTest : public ::testing::Test {
 protected:
  // Runs the tool; `shell` comes first in the same shell (a limit to set), and `out` replaces
  // the file that collects standard output.
  ToolRun run(const std::vector<std::string>& args, const std::string& input = "",
              const std::string& shell = "", std::string out = "") {
    std::string command = quote(VEXLOWEB_TOOL);
    for (const auto& arg : args) command += " " + quote(arg);
    const auto in = dir_.path() / ".stdin";
    if (out.empty()) out = (dir_.path() / ".stdout").string();
    const auto err = dir_.path() / ".stderr";
    testing::writeFile(in, input);
    command = shell + command + " <" + quote(in) + " >" + quote(out) + " 2>" + quote(err);
    const int raw = std::system(command.c_str());
    const std::string said = out == "/dev/full" ? "" : testing::readFile(out);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, said, testing::readFile(err)};
  }
  std::string path(const std::string& name) const { return (dir_.path() / name).string(); }

  testing::TempDir dir_;
};

TEST_F(ToolTest, SealThenOpenGivesBackTheSameBytes) {
  const std::string document = testing::readFile(testing::exampleDocumentPath());
  testing::writeFile(path("doc.json"), document);
  EXPECT_EQ(run({"seal", "-o", path("doc.io"), path("doc.json")}).status, 0);
  const ToolRun opened = run({"open", path("doc.io")});
  EXPECT_EQ(opened.status, 0);
  EXPECT_EQ(opened.out, document);

  const ToolRun piped = run({"seal", "--key", "0123456789abcdef", "-"}, R"({"tabs":[]})");
  ASSERT_EQ(piped.status, 0);
  EXPECT_EQ(piped.out.find('\n'), piped.out.size() - 1);  // one unbroken line
  testing::writeFile(path("k.io"), piped.out);
  testing::writeFile(path("key.txt"), "0123456789abcdef\n");
  EXPECT_EQ(run({"open", "--key-file", path("key.txt"), path("k.io")}).out, R"({"tabs":[]})");
  const ToolRun wrongKey = run({"open", path("k.io")});
  EXPECT_EQ(wrongKey.status, 1);
  EXPECT_EQ(wrongKey.out, "");
  EXPECT_NE(wrongKey.err.find(path("k.io") + ": error: "), std::string::npos);
}

TEST_F(ToolTest, SealRefusesBadDocumentsAndWritesNothing) {
  testing::writeFile(path("good.json"), R"({"package_name": "a"})");
  testing::writeFile(path("bad.json"), R"({"admob_delay": 2.5, "menus": [{"menu": 1}]})");
  const ToolRun refused = run({"seal", "-o", path("out/"), path("good.json"), path("bad.json")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("bad.json: error: document: admob_delay: expected an integer"),
            std::string::npos);
  EXPECT_NE(refused.err.find("bad.json: error: document: menus[0].menu:"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path("out")));

  EXPECT_EQ(
      run({"seal", "--no-check", "-o", path("out/"), path("good.json"), path("bad.json")}).status,
      0);
  EXPECT_TRUE(std::filesystem::exists(path("out/good.io")));
  EXPECT_TRUE(std::filesystem::exists(path("out/bad.io")));
}

// -o - is standard output; several inputs need a folder that exists or ends in '/', and
// anything else is a usage error that writes nothing.
TEST_F(ToolTest, SealOutputIsAFileStandardOutputOrAFolderNeverAFolderBySurprise) {
  testing::writeFile(path("a.json"), R"({"package_name": "a"})");
  testing::writeFile(path("b.json"), R"({"package_name": "b"})");
  const ToolRun toStdout = run({"seal", "-o", "-", path("a.json")});
  EXPECT_EQ(toStdout.status, 0);
  EXPECT_EQ(toStdout.out.back(), '\n');
  EXPECT_FALSE(std::filesystem::exists("-"));
  testing::writeFile(path("a.io"), toStdout.out);
  EXPECT_EQ(run({"open", path("a.io")}).out, R"({"package_name": "a"})");

  for (const std::string& output : {path("plain"), std::string("-")}) {
    const ToolRun refused = run({"seal", "-o", output, path("a.json"), path("b.json")});
    EXPECT_EQ(refused.status, 2) << output;
    EXPECT_NE(refused.err.find("several inputs need -o DIR"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(path("plain")));

  std::filesystem::create_directories(path("existing"));
  EXPECT_EQ(run({"seal", "-o", path("existing"), path("a.json"), path("b.json")}).status, 0);
  EXPECT_TRUE(std::filesystem::exists(path("existing/a.io")));
  EXPECT_TRUE(std::filesystem::exists(path("existing/b.io")));
}

TEST_F(ToolTest, CheckNamesTheLayerOfEachBrokenFile) {
  const std::string example = testing::readFile(kData / "openssl" / "example.io");
  testing::writeFile(path("cut.io"), example.substr(0, 333));
  testing::writeFile(path("binary.io"), "\xff\xfe");
  testing::writeFile(path("bad.json"), R"({"fullscreen": 1, "loader_delay": 3})");
  ASSERT_EQ(run({"seal", "--no-check", "-o", path("bad.io"), path("bad.json")}).status, 0);
  const std::pair<std::string, std::string> cases[] = {
      {(kData / "openssl" / "example.io").string(), "ok (58 fields present)"},
      {(kData / "openssl" / "wrapped.io").string(), "error: outer base64: "},
      {(kData / "openssl" / "inner_wrapped.io").string(), "error: inner base64: "},
      {path("cut.io"), "error: outer base64: the file text is not base64: the length 333"},
      {path("binary.io"), "error: file text: the file is not valid UTF-8"},
      {path("missing.io"), "error: file: cannot open the file"},
      {path("bad.io"), "error: document: fullscreen: expected true or false, found 1"},
  };
  for (const auto& [file, expected] : cases) {
    const ToolRun checked = run({"check", file});
    EXPECT_EQ(checked.status, expected.rfind("ok", 0) == 0 ? 0 : 1) << file;
    EXPECT_EQ(checked.out.find(file + ": " + expected), 0U) << checked.out;
  }
  EXPECT_NE(run({"check", path("bad.io")}).out.find("warning: loader_delay is not a key"),
            std::string::npos);

  const ToolRun json = run({"check", "--json", (kData / "openssl" / "other_key.io").string()});
  EXPECT_EQ(json.status, 1);
  EXPECT_NE(json.out.find(R"("ok":false)"), std::string::npos);
  EXPECT_EQ(json.out.find(R"("package_name")"), std::string::npos);  // no values are printed
}

// A bad file anywhere fails the run, not only the last one; --json says exactly these members.
TEST_F(ToolTest, CheckFailsForABadFileInAnyPlaceAndItsJsonHasExactlyItsMembers) {
  const std::string good = (kData / "openssl" / "example.io").string();
  testing::writeFile(path("bad.io"), "not base64!\n");
  EXPECT_EQ(run({"check", good, good}).status, 0);
  EXPECT_EQ(run({"check", path("bad.io"), good, good}).status, 1);
  EXPECT_EQ(run({"check", good, path("bad.io"), good}).status, 1);
  EXPECT_EQ(run({"check", "--json", path("bad.io"), good}).status, 1);

  const ToolRun json = run({"check", "--json", path("bad.io"), good});
  std::istringstream lines(json.out);
  std::string bad;
  std::string ok;
  std::getline(lines, bad);
  std::getline(lines, ok);
  EXPECT_EQ(bad, R"({"file":")" + path("bad.io") +
                     R"(","ok":false,"fieldsPresent":0,"layer":"outer base64","errors":[{"path":)"
                     R"x(null,"reason":"the file text is not base64: a space at offset 3 is not )x"
                     R"x(base64 (the text must be one unbroken line)"}],"warnings":[]})x");
  EXPECT_EQ(ok, R"({"file":")" + good +
                    R"(","ok":true,"fieldsPresent":58,"layer":null,"errors":[],"warnings":[]})");
}

// A key file written on Windows (CRLF) gives the same key; asking for a key twice prints it once.
TEST_F(ToolTest, KeyFilesWithCrlfAndRepeatedDefaultsKeys) {
  testing::writeFile(path("key.txt"), "0123456789abcdef\r\n");
  testing::writeFile(path("doc.json"), R"({"admob_delay": 4})");
  ASSERT_EQ(
      run({"seal", "--key-file", path("key.txt"), "-o", path("doc.io"), path("doc.json")}).status,
      0);
  EXPECT_EQ(run({"open", "--key", "0123456789abcdef", path("doc.io")}).out,
            R"({"admob_delay": 4})");
  EXPECT_EQ(run({"check", "--key-file", path("key.txt"), path("doc.io")}).status, 0);

  std::filesystem::create_directories(path("bundle"));
  ASSERT_EQ(run({"seal", "-o", path("bundle/app.io"), path("doc.json")}).status, 0);
  ASSERT_EQ(
      run({"load", "--bundle", path("bundle"), "--defaults", path("d.sqlite3"), "app"}).status, 0);
  EXPECT_EQ(run({"defaults", "--defaults", path("d.sqlite3"), "AD_DELAY", "AD_DELAY"}).out,
            "{\"AD_DELAY\":4}\n");
}

TEST_F(ToolTest, LoadKeepsTheLastGoodRecordAndDefaultsOutliveTheProcess) {
  std::filesystem::create_directories(path("bundle"));
  testing::writeFile(path("one.json"), R"({"package_name": "one", "admob_delay": 3})");
  ASSERT_EQ(run({"seal", "-o", path("bundle/one.io"), path("one.json")}).status, 0);
  testing::writeFile(path("bundle/broken.io"), "\xff");
  const ToolRun loaded = run({"load", "--bundle", path("bundle"), "--defaults", path("d.sqlite3"),
                              "one", "broken", "missing", "one.io"});
  EXPECT_EQ(loaded.status, 1);
  const std::string first =
      R"({"name":"one","configureData":{"package_name":"one","admob_delay":3},)"
      R"("defaults":{"AD_DELAY":3,"COLOR_PRIMARY":"colorPrimary",)"
      R"("COLOR_PRIMARY_DARK":"colorPrimaryDark"}})";
  const auto named = [&](const std::string& name) {
    return first.substr(0, 9) + name + first.substr(12) + "\n";
  };
  EXPECT_EQ(loaded.out, first + "\n" + "\"Error: Failed to crypt data. Status -4304\"\n" +
                            named("broken") + named("missing") + named("one.io"));
  // One line per failed name, from the load's own report, with a hint for a name with ".io".
  std::istringstream lines(loaded.err);
  std::vector<std::string> said;
  for (std::string line; std::getline(lines, line);) said.push_back(line);
  ASSERT_EQ(said.size(), 3U) << loaded.err;
  EXPECT_EQ(said[0],
            "vexloweb: load broken: file text: the file is not valid UTF-8 (the first "
            "bad byte is at offset 0)");
  EXPECT_EQ(said[1].rfind("vexloweb: load missing: resource: no regular file 'missing.io' in ", 0),
            0U)
      << said[1];
  EXPECT_NE(said[2].find("load one.io: resource: "), std::string::npos) << said[2];
  EXPECT_NE(said[2].find("(names go without the extension: try 'one')"), std::string::npos);

  // Before any good load the record is null, and nothing is exported.
  const ToolRun beforeAnyLoad =
      run({"load", "--bundle", path("bundle"), "--defaults", path("e.sqlite3"), "missing"});
  EXPECT_EQ(beforeAnyLoad.out,
            std::string(R"({"name":"missing","configureData":null,"defaults":{}})") + "\n");
  const ToolRun good =
      run({"load", "--bundle", path("bundle"), "--defaults", path("d.sqlite3"), "one"});
  EXPECT_EQ(good.status, 0);
  EXPECT_EQ(good.err, "");
  // Closed at exit: the store is one file again.
  EXPECT_FALSE(std::filesystem::exists(path("d.sqlite3-wal")));

  const ToolRun defaults = run({"defaults", "--defaults", path("d.sqlite3"), "AD_DELAY", "NOPE"});
  EXPECT_EQ(defaults.out, "{\"AD_DELAY\":3}\n");
  const ToolRun none = run({"defaults", "--defaults", path("none.sqlite3")});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("no store at '" + path("none.sqlite3") + "'"), std::string::npos)
      << none.err;
  EXPECT_FALSE(std::filesystem::exists(path("none.sqlite3")));
}

// Warnings for what the app loads but treats otherwise than meant; --strict makes them fail.
TEST_F(ToolTest, CheckWarnsAboutSurprisesAndStrictMakesWarningsFail) {
  testing::writeFile(path("doc.json"), R"({
    "theme_color": "SOLID_43", "splash_screen_type": "FULL", "navigation_bar": "LOGO",
    "package_name": "a", "package_name": "b",
    "external_browser_url": [{"type": "INSIDE", "condition": "CONTAINS", "url": "x", "url": "y"}]
  })");
  ASSERT_EQ(run({"seal", "-o", path("doc.io"), path("doc.json")}).status, 0);
  const ToolRun checked = run({"check", path("doc.io")});
  EXPECT_EQ(checked.status, 0);
  const std::string prefix = path("doc.io") + ": warning: ";
  for (const std::string& warning : {
           prefix + "package_name appears more than once in its object: the app reads the first",
           prefix + "external_browser_url[0].url appears more than once in its object",
           prefix + R"(theme_color "SOLID_43" is not a theme name: the app uses the default )"
                    R"(colour pair ("colorPrimary", "colorPrimaryDark") (did you mean "SOLID_3"?))",
           prefix + R"(splash_screen_type "FULL" is not one of HIDE, STANDER, FULL_SCREEN: the )"
                    R"(app will not recognise it)",
           prefix + R"(external_browser_url[0].condition "CONTAINS" is not one of EQUAL, )"
                    R"(NOT_EQUAL, CONTAIN, NOT_CONTAIN, START_WITH, NOT_START_WITH: the app will )"
                    R"(not recognise it (did you mean "CONTAIN"?))",
       }) {
    EXPECT_NE(checked.out.find(warning), std::string::npos) << warning << "\n" << checked.out;
  }
  EXPECT_EQ(checked.out.find("navigation_bar"), std::string::npos) << "LOGO is a raw value";
  EXPECT_EQ(checked.out.find(".type"), std::string::npos) << "INSIDE is a raw value";

  EXPECT_EQ(run({"check", "--strict", path("doc.io")}).status, 1);
  testing::writeFile(path("clean.json"), R"({"theme_color": "GRADIENT_17"})");
  ASSERT_EQ(run({"seal", "-o", path("clean.io"), path("clean.json")}).status, 0);
  EXPECT_EQ(run({"check", "--strict", path("clean.io")}).status, 0);
  EXPECT_EQ(run({"check", "--strict", path("clean.io"), path("doc.io"), path("clean.io")}).status,
            1);
}

TEST_F(ToolTest, SchemaListsEveryKeyAndUsageErrorsExitWithTwo) {
  const ToolRun schema = run({"schema"});
  ASSERT_EQ(schema.status, 0);
  platform::JsonParser parser;
  auto parsed = parser.parse(schema.out);
  ASSERT_TRUE(std::holds_alternative<platform::JsonValue>(parsed));
  // Every property is described for a generator's author; a key that differs from its field
  // says so; option fields offer their words as examples; integers keep their bounds.
  std::map<std::string, std::string, std::less<>> descriptions;
  std::map<std::string, std::size_t, std::less<>> examples;
  std::string bounds;
  std::map<std::string, std::string, std::less<>> references;
  const auto readProperties = [&](const platform::JsonValue& properties, const std::string& in) {
    properties.forEachMember([&](std::string_view key, const platform::JsonValue& property) {
      const std::string name = in + std::string(key);
      property.forEachMember([&](std::string_view facet, const platform::JsonValue& value) {
        if (facet == "description") descriptions[name] = std::string(value.stringValue());
        if (facet == "examples") value.forEachElement([&](auto, auto&) { ++examples[name]; });
        if (name == "admob_delay" && facet == "minimum")
          bounds += std::to_string(value.int64Value());
        if (facet == "items") {
          value.forEachMember([&](std::string_view ref, const platform::JsonValue& target) {
            if (ref == "$ref") references[name] = std::string(target.stringValue());
          });
        }
      });
    });
  };
  std::get<platform::JsonValue>(parsed).forEachMember(
      [&](std::string_view key, const platform::JsonValue& value) {
        if (key == "properties") readProperties(value, "");
        if (key != "$defs") return;
        value.forEachMember([&](std::string_view record, const platform::JsonValue& definition) {
          definition.forEachMember([&](std::string_view facet, const platform::JsonValue& v) {
            if (facet == "properties") readProperties(v, std::string(record) + ".");
          });
        });
      });
  EXPECT_EQ(descriptions.size(), 58U + 9U);
  for (const auto& [name, description] : descriptions) {
    EXPECT_GT(description.size(), 20U) << name;
    EXPECT_EQ(description.find("the record's field " + name), std::string::npos) << name;
  }
  for (const auto& [key, field] :
       std::map<std::string, std::string>{{"key_ad_banner_delay", "admob_banner_delay"},
                                          {"key_ad_interstitial_delay", "admob_interstitial_delay"},
                                          {"key_ad_rewarded_delay", "admob_rewarded_delay"},
                                          {"loader_int_time", "loader_delay"},
                                          {"external_browser_url", "external_browse_url"},
                                          {"MenuItem.menu", "name"},
                                          {"NavigationTab.menu", "name"}}) {
    EXPECT_NE(descriptions[key].find("the record's field " + field), std::string::npos) << key;
  }
  EXPECT_NE(descriptions["key_ad_banner_delay"].find("\"BANNER_AD_DELAY\""), std::string::npos);
  const std::map<std::string, std::size_t, std::less<>> expectedExamples{
      {"theme_color", 60},           {"loader_style", 13},
      {"navigation_bar_style", 4},   {"left_button_option", 6},
      {"right_button_option", 6},    {"navigation_bar", 3},
      {"splash_screen_type", 3},     {"MenuItem.menu", 6},
      {"ExternalBrowseUrl.type", 3}, {"ExternalBrowseUrl.condition", 6}};
  EXPECT_EQ(examples, expectedExamples);
  EXPECT_EQ(bounds, "-9223372036854775808");
  const std::map<std::string, std::string, std::less<>> expectedReferences{
      {"menus", "#/$defs/MenuItem"},
      {"tabs", "#/$defs/NavigationTab"},
      {"external_browser_url", "#/$defs/ExternalBrowseUrl"}};
  EXPECT_EQ(references, expectedReferences);

  EXPECT_EQ(run({}).status, 2);
  EXPECT_EQ(run({"open"}).status, 2);
  EXPECT_EQ(run({"seal", "--key", "k", "--key-file", "f"}).status, 2);
  const ToolRun typo = run({"sael", "x.json"});
  EXPECT_EQ(typo.status, 2);
  EXPECT_EQ(typo.err,
            "vexloweb: unknown command 'sael' (did you mean 'seal'?); run 'vexloweb --help' for "
            "the commands\n");
  EXPECT_EQ(run({"frobnicate"}).err.find("did you mean"), std::string::npos);
  const ToolRun help = run({"check", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--json"), std::string::npos);
  EXPECT_EQ(run({"--version"}).out, "vexloweb " VEXLOWEB_VERSION_STRING "\n");
}

// A write that fails (a file-size limit, a full device) never leaves a damaged file in place of a
// good one and never exits 0; SIGXFSZ is ignored so that the write fails with EFBIG.
TEST_F(ToolTest, AFailedWriteKeepsThePreviousFileAndFailsTheRun) {
  const std::string limit = "ulimit -f 8; trap '' XFSZ; ";
  testing::writeFile(path("small.json"), R"({"package_name": "small"})");
  testing::writeFile(path("big.json"), R"({"about_text": ")" + std::string(20000, 'x') + "\"}");
  ASSERT_EQ(run({"seal", "-o", path("app.io"), path("small.json")}).status, 0);
  const std::string good = testing::readFile(path("app.io"));
  const ToolRun cut = run({"seal", "-o", path("app.io"), path("big.json")}, "", limit);
  EXPECT_EQ(cut.status, 1);
  EXPECT_NE(cut.err.find("app.io: error: cannot write the file: File too large"), std::string::npos)
      << cut.err;
  EXPECT_EQ(testing::readFile(path("app.io")), good);
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".app.io."), std::string::npos) << "left over";
  }

  const std::string fullDisk = "No space left on device";
  struct Case {
    std::vector<std::string> args;
    std::string shell;
    std::string out;
    std::string reason;
  } const cases[] = {
      {{"seal", path("big.json")}, limit, path("big.io"), "File too large"},
      {{"seal", "-o", "-", path("small.json")}, "", "/dev/full", fullDisk},
      {{"open", path("app.io")}, "", "/dev/full", fullDisk},
      {{"check", path("app.io")}, "", "/dev/full", fullDisk},
      {{"check", "--json", path("app.io")}, "", "/dev/full", fullDisk},
      {{"schema"}, "", "/dev/full", fullDisk},
      {{"load", "--bundle", dir_.path().string(), "--defaults", path("d.sqlite3"), "app"},
       "",
       "/dev/full",
       fullDisk},
      {{"defaults", "--defaults", path("d.sqlite3")}, "", "/dev/full", fullDisk},
      {{"--help"}, "", "/dev/full", fullDisk},
  };
  for (const Case& c : cases) {
    const ToolRun failed = run(c.args, "", c.shell, c.out);
    EXPECT_EQ(failed.status, 1) << c.args[0];
    EXPECT_EQ(failed.err, "vexloweb: cannot write standard output: " + c.reason + "\n")
        << c.args[0];
  }
}

// A file that is not a store of ours is refused and left as it is, by a read and by a load; a
// failed load creates no store.
TEST_F(ToolTest, AFileThatIsNotAStoreIsNeverTouched) {
  testing::writeFile(path("app.json"), R"({"package_name": "mine"})");
  ASSERT_EQ(run({"seal", "-o", path("app.io"), path("app.json")}).status, 0);
  const ToolRun shown = run({"defaults", "--defaults", path("app.json")});
  EXPECT_EQ(shown.status, 1);
  EXPECT_EQ(shown.out, "");
  EXPECT_NE(shown.err.find("is not an SQLite database; leaving it as it is"), std::string::npos)
      << shown.err;
  const ToolRun loaded =
      run({"load", "--bundle", dir_.path().string(), "--defaults", path("app.json"), "app"});
  EXPECT_EQ(loaded.status, 1);
  EXPECT_NE(loaded.err.find("vexloweb: load: the settings were not stored: "), std::string::npos)
      << loaded.err;
  EXPECT_EQ(testing::readFile(path("app.json")), R"({"package_name": "mine"})");

  const ToolRun missing =
      run({"load", "--bundle", dir_.path().string(), "--defaults", path("new.sqlite3"), "nope"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_FALSE(std::filesystem::exists(path("new.sqlite3")));
}

// Usage mistakes: outputs that would overwrite each other, a bundle that is no folder, a name
// that leaves the bundle, and keys for files sealed for another build.
TEST_F(ToolTest, LoadAndSealUsageMistakesAreNamed) {
  std::filesystem::create_directories(path("shop"));
  std::filesystem::create_directories(path("blog"));
  testing::writeFile(path("shop/app.json"), R"({"package_name": "shop"})");
  testing::writeFile(path("blog/app.json"), R"({"package_name": "blog"})");
  const ToolRun clash =
      run({"seal", "-o", path("out/"), path("shop/app.json"), path("blog/app.json")});
  EXPECT_EQ(clash.status, 2);
  EXPECT_EQ(clash.err, "vexloweb seal: '" + path("shop/app.json") + "' and '" +
                           path("blog/app.json") + "' would both be sealed into '" +
                           path("out/app.io") + "'\n");
  EXPECT_FALSE(std::filesystem::exists(path("out")));

  const ToolRun noBundle = run({"load", "--bundle", "", "app"});
  EXPECT_EQ(noBundle.status, 2);
  EXPECT_EQ(noBundle.err, "vexloweb load: --bundle needs a folder (use '.' for the current one)\n");

  ASSERT_EQ(
      run({"seal", "--key", "0123456789abcdef", "-o", path("shop/app.io"), path("shop/app.json")})
          .status,
      0);
  const auto load = [&](std::vector<std::string> extra) {
    std::vector<std::string> args{"load", "--bundle", path("shop"), "--defaults",
                                  path("d.sqlite3")};
    args.insert(args.end(), extra.begin(), extra.end());
    return run(args);
  };
  const ToolRun outside = load({"../blog/app"});
  EXPECT_EQ(outside.status, 1);
  EXPECT_NE(outside.err.find("load ../blog/app: resource: the name '../blog/app' does not stay "
                             "inside the bundle"),
            std::string::npos)
      << outside.err;
  EXPECT_EQ(load({"app"}).status, 1);
  EXPECT_EQ(load({"--key", "0123456789abcdef", "app"}).status, 0);
}

// A member's name reaches the text output escaped: it cannot forge a line or drive the terminal.
TEST_F(ToolTest, CheckEscapesNamesFromTheDocument) {
  testing::writeFile(path("doc.json"),
                     "{\"x\\nother.io: ok (58 fields present)\\u001b[2K\\u0085\\u2028\": 1}");
  ASSERT_EQ(run({"seal", "-o", path("doc.io"), path("doc.json")}).status, 0);
  const ToolRun checked = run({"check", path("doc.io")});
  EXPECT_EQ(checked.out, path("doc.io") + ": ok (0 fields present)\n" + path("doc.io") +
                             ": warning: x\\nother.io: ok (58 fields present)\\u001b[2K"
                             "\\u0085\\u2028 is not a key of the document\n");
}

}  // namespace
}  // namespace vexloweb
