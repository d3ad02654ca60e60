#include "vexloweb/platform/user_defaults.hpp"

#include <sqlite3.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <future>
#include <limits>
#include <regex>

#include <gtest/gtest.h>

#include "platform/store_file.hpp"
#include "test_files.hpp"
#include "vexloweb/platform/diagnostics.hpp"

namespace vexloweb::platform {
namespace {

using namespace std::string_literals;

class UserDefaultsTest : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return dir_.path() / "store" / "defaults.sqlite3"; }
  testing::TempDir dir_;
};

// Each write replaces the key's value and type, in memory and on disk, inside and outside a
// nested transaction; a removed key is gone; a key holding NUL is kept whole; a read creates no
// file; a reopened store reads the last and leaves the file as it was, even one a tool switched
// back to a rollback journal.
TEST_F(UserDefaultsTest, WritesReplaceValueAndTypeAndSurviveReopening) {
  using V = DefaultsValue;
  const std::vector<std::optional<V>> sequence = {
      V(std::int64_t{-5}), V("1"s),      V(2.5),   V(true), V(""s),
      V(std::int64_t{0}),  std::nullopt, V(false), V(-0.5), V("last"s)};
  const std::string nulKey("k\0hidden", 8);
  auto memory = UserDefaults::inMemory();
  EXPECT_TRUE(memory->path().empty());
  auto disk = std::make_unique<UserDefaults>(file());
  EXPECT_TRUE(disk->keys().empty());
  EXPECT_FALSE(disk->object("k").has_value());
  EXPECT_FALSE(std::filesystem::exists(file().parent_path()));
  for (UserDefaults* store : {memory.get(), disk.get()}) {
    SCOPED_TRACE(store == disk.get() ? "sqlite" : "memory");
    EXPECT_EQ(store->isPersistent(), store == disk.get());
    store->setObject(std::nullopt, "never there");
    store->setObject(std::numeric_limits<double>::quiet_NaN(), "nan");
    EXPECT_TRUE(std::isnan(std::get<double>(*store->object("nan"))));
    for (std::size_t i = 0; i < sequence.size(); ++i) {
      if (i % 2 == 0) {
        store->setObject(sequence[i], "k");
      } else {
        UserDefaults::Transaction outer(*store);
        UserDefaults::Transaction transaction(*store);
        store->setObject("other"s, "k");
        store->setObject(sequence[i], "k");
      }
      EXPECT_EQ(store->object("k"), sequence[i]) << i;
      EXPECT_EQ(store->keys().size(), sequence[i] ? 2U : 1U);
    }
    store->setObject(std::int64_t{8} << 40, nulKey);  // beyond 32 bits
  }
  disk.reset();
  testing::firstValue(file(), "PRAGMA journal_mode=DELETE");
  const std::string closed = testing::readFile(file());
  disk = std::make_unique<UserDefaults>(file());  // reopened
  for (UserDefaults* store : {memory.get(), disk.get()}) {
    EXPECT_EQ(store->object("k"), DefaultsValue("last"s));
    EXPECT_EQ(store->object(nulKey), DefaultsValue(std::int64_t{8} << 40));
    EXPECT_TRUE(std::isnan(std::get<double>(*store->object("nan"))));
    EXPECT_EQ(store->keys(), (std::vector<std::string>{"k", nulKey, "nan"}));
  }
  disk.reset();
  EXPECT_EQ(testing::readFile(file()), closed);
  EXPECT_FALSE(std::filesystem::exists(file().string() + "-wal"));
}

// A switch also forgets why the store it leaves kept its values in memory.
TEST_F(UserDefaultsTest, SwitchingTheStandardStoreInsideATransactionLosesNothing) {
  const auto second = dir_.path() / "second.sqlite3";
  const auto previous = setDiagnosticHandler(nullptr);
  UserDefaults::setStandardPath(dir_.path());  // a folder: it cannot be a database
  UserDefaults::standard().setObject(std::int64_t{0}, "in memory");
  setDiagnosticHandler(previous);
  UserDefaults::setStandardPath(file());
  EXPECT_TRUE(UserDefaults::standard().isPersistent());
  {
    UserDefaults::Transaction transaction(UserDefaults::standard());
    UserDefaults::standard().setObject(std::int64_t{1}, "before");
    UserDefaults::setStandardPath(second);
    UserDefaults::standard().setObject(std::int64_t{2}, "after");
  }
  UserDefaults::setStandardInMemory();
  EXPECT_EQ(UserDefaults(file()).keys(), std::vector<std::string>{"before"});
  EXPECT_EQ(UserDefaults(second).keys(), std::vector<std::string>{"after"});
}

// Only a damaged store of ours is moved aside, and only by a write, under a name no file has,
// with one warning from the read and one notice of the move. Any other file that is not a store
// (text, an empty file, another program's database however like ours) is refused before anything is
// written, and left byte for byte, with nothing beside it.
TEST_F(UserDefaultsTest, OnlyADamagedStoreOfOursIsMovedAsideAndOnlyByAWrite) {
  const std::string damaged = std::string("SQLite format 3") + '\0' + std::string(4080, 'x');
  const std::string foreign = std::string(4096, 'x');
  UserDefaults(dir_.path() / "ours").setObject("v"s, "k");
  std::string corrupt = testing::readFile(dir_.path() / "ours");  // a store, its schema damaged
  corrupt.replace(3000, 1096, 1096, 'x');
  std::filesystem::create_directories(file().parent_path());
  const auto database = [&](const char* sql) {  // another program's, as bytes
    const auto other = dir_.path() / "other.db";
    testing::firstValue(other, sql);
    std::string content = testing::readFile(other);
    std::filesystem::remove(other);
    return content;
  };
  struct Case {
    std::string content;
    bool movedAside;
    const char* said;
  } const cases[] = {
      {foreign, false, "is not an SQLite database; leaving it as it is"},
      {"", false, "is an empty file, not a store; leaving it as it is"},
      {database("CREATE TABLE songs(title)"), false, "is another program's database"},
      {database("PRAGMA user_version=7; CREATE VIEW v AS SELECT 1"), false, "another program's"},
      {database("PRAGMA journal_mode=WAL; CREATE TABLE entries(key, note)"), false, "another"},
      {damaged, true, "moved it to"},
      {damaged, true, "moved it to"},  // again: every copy kept
      {corrupt, true, "moved it to"},
  };
  setDiagnosticHandler(nullptr);
  // Every second a move may fall in already has a copy, so each move must find a name of its own.
  const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::size_t asideExpected = 0;
  for (auto second = now - 1; second < now + 60; ++second, ++asideExpected)
    testing::writeFile(file().string() + ".corrupt-" + std::to_string(second), damaged);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    testing::writeFile(file(), c.content);
    std::vector<std::string> lines;
    EXPECT_FALSE(setDiagnosticHandler([&](std::string_view line) { lines.emplace_back(line); }))
        << "gives back the handler it replaced";
    {
      UserDefaults store(file());
      EXPECT_FALSE(store.object("k").has_value());
      EXPECT_EQ(testing::readFile(file()), c.content) << "a read changed the file";
      store.setObject("fresh"s, "k");
      EXPECT_EQ(store.object("k"), DefaultsValue("fresh"s));
      EXPECT_EQ(store.isPersistent(), c.movedAside);
      EXPECT_EQ(store.failure().has_value(), !c.movedAside);
    }
    setDiagnosticHandler(nullptr);
    const std::string said = lines.empty() ? "(nothing)" : lines.back();  // every row runs
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    EXPECT_EQ(lines.size(), c.movedAside ? 2U : 1U) << "the read's warning, once, and the move";
    std::size_t aside = 0;  // beside the store, only the damaged copies: no journal, no temporary
    for (const auto& entry : std::filesystem::directory_iterator(file().parent_path())) {
      const std::string name = entry.path().filename().string();
      if (name == file().filename()) continue;
      ++aside;
      const std::string kept = testing::readFile(entry.path());
      EXPECT_TRUE(kept == damaged || kept == corrupt) << name;
      EXPECT_TRUE(
          std::regex_match(name, std::regex(R"(defaults\.sqlite3\.corrupt-\d+(-[1-9]\d*)?)")));
    }
    EXPECT_EQ(aside, asideExpected += c.movedAside ? 1 : 0);
    if (c.movedAside) {
      EXPECT_EQ(UserDefaults(file()).object("k"), DefaultsValue("fresh"s));
    } else {
      EXPECT_EQ(testing::readFile(file()), c.content);
    }
    std::filesystem::remove(file());
  }
  // A damaged store another process still holds: its journal goes aside with it, or the fresh
  // store would take that journal's pages for its own.
  UserDefaults(file()).setObject("v"s, "k");
  sqlite3* holder = nullptr;
  sqlite3_open(file().c_str(), &holder);
  sqlite3_exec(holder, "INSERT INTO entries VALUES('h', 0, 'held')", nullptr, nullptr, nullptr);
  testing::writeFile(file(), damaged);
  UserDefaults(file()).setObject("fresh"s, "k");
  EXPECT_EQ(UserDefaults(file()).keys(), std::vector<std::string>{"k"});
  sqlite3_close(holder);
}

// A store that cannot be opened keeps values in memory and says so once. A host routes the
// warnings to its own log; the handler runs with the store's lock released, so it may use the
// store from any thread. An empty handler silences them.
TEST_F(UserDefaultsTest, AStoreThatCannotBeOpenedKeepsValuesInMemoryAndSaysSoOnce) {
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(UserDefaults(dir_.path()).isPersistent());  // a folder, before any write
  EXPECT_TRUE(::testing::internal::GetCapturedStderr().ends_with("process\n"));
  UserDefaults store(dir_.path());
  std::vector<std::string> lines;
  auto previous = setDiagnosticHandler([&](std::string_view line) {
    lines.emplace_back(line);
    auto other = std::async(std::launch::async, [&] { return store.keys(); });
    EXPECT_EQ(other.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  });
  ::testing::internal::CaptureStderr();
  {
    UserDefaults::Transaction transaction(store);
    store.setObject("v"s, "k");
    EXPECT_TRUE(lines.empty()) << "delivered while the transaction held the lock";
  }
  EXPECT_EQ(lines.size(), 1U) << "not delivered when the transaction ended";
  store.setObject("w"s, "k2");
  EXPECT_EQ(store.object("k"), DefaultsValue("v"s));
  EXPECT_EQ(store.object("k2"), DefaultsValue("w"s));
  EXPECT_FALSE(store.isPersistent());
  EXPECT_EQ(lines, std::vector{"vexloweb: user defaults: " + store.failure().value_or("") +
                               "; keeping values in memory for this process"});

  setDiagnosticHandler(nullptr);
  UserDefaults(dir_.path()).setObject("v"s, "k");
  setDiagnosticHandler(std::move(previous));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(lines.size(), 1U);
}

// The standard path: $XDG_CONFIG_HOME when it is absolute, else $HOME/.config, then
// vexloweb/<executable name>.defaults.sqlite3.
TEST(UserDefaults, TheStandardPathFollowsXdgConfigHomeThenHome) {
  const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string xdg = savedXdg != nullptr ? savedXdg : "";
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  const std::array<const char*, 3> cases[] = {{"/srv/config", "/h", "/srv/config"},
                                              {"relative/config", "/h", "/h/.config"},  // ignored
                                              {nullptr, "/h", "/h/.config"}};
  for (const auto& [xdgValue, homeValue, folder] : cases) {
    xdgValue != nullptr ? ::setenv("XDG_CONFIG_HOME", xdgValue, 1) : ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", homeValue, 1);
    EXPECT_EQ(UserDefaults::defaultStandardPath(),
              std::filesystem::path(folder) / "vexloweb/vexloweb_platform_test.defaults.sqlite3");
  }
  savedXdg != nullptr ? ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", home.c_str(), 1);
}

}  // namespace
}  // namespace vexloweb::platform
