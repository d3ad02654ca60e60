// What the desktop sees of an app, without a display: its application id and folders, its
// launcher's Exec and Name as GLib reads them back, and its icon.
#include <gio/gio.h>
#include <sys/stat.h>

#include <map>
#include <set>

#include <gtest/gtest.h>

#include "test_files.hpp"

#include "app_icon.hpp"
#include "app_identity.hpp"
#include "app_paths.hpp"
#include "desktop_entry.hpp"

namespace vexloweb::shell {
namespace {

// The entry as a launcher reads it: GKeyFile's value escapes, the field codes expanded as GLib
// expands them with no files (%% is %, any other code is dropped), then the shell's quoting.
struct ReadBack {
  std::string name;
  std::vector<std::string> argv;
  std::vector<std::string> keys;
};
ReadBack readBack(const std::string& text) {
  ReadBack out;
  GKeyFile* file = g_key_file_new();
  EXPECT_TRUE(g_key_file_load_from_data(file, text.data(), text.size(), G_KEY_FILE_NONE, nullptr))
      << text;
  gsize count = 0;
  gchar** keys = g_key_file_get_keys(file, "Desktop Entry", &count, nullptr);
  for (gsize i = 0; i < count; ++i) out.keys.emplace_back(keys[i]);
  g_strfreev(keys);
  gchar* name = g_key_file_get_locale_string(file, "Desktop Entry", "Name", nullptr, nullptr);
  gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
  g_key_file_free(file);
  if (name != nullptr) out.name = name;
  std::string expanded;
  for (const char* c = exec; c != nullptr && *c != '\0'; ++c) {
    if (*c != '%') {
      expanded += *c;
    } else if (c[1] != '\0') {
      if (*++c == '%') expanded += '%';
    }
  }
  g_free(name);
  g_free(exec);
  gint argc = 0;
  gchar** argv = nullptr;
  GError* error = nullptr;
  if (g_shell_parse_argv(expanded.c_str(), &argc, &argv, &error)) {
    for (gint i = 0; i < argc; ++i) out.argv.emplace_back(argv[i]);
    g_strfreev(argv);
  } else {
    ADD_FAILURE() << error->message << " in " << expanded;
    g_error_free(error);
  }
  return out;
}

const std::vector<std::string> kEntryKeys = {"Type",       "Version",       "Name",
                                             "Exec",       "Icon",          "Terminal",
                                             "Categories", "StartupNotify", "StartupWMClass"};

TEST(DesktopEntry, ExecHandsEveryArgumentOverUnchanged) {
  for (const auto& row : testing::readTable("shell/exec_arguments.tsv")) {
    const std::vector<std::string> args = {"/usr/bin/vexloweb-shell", "--bundle", row[1], "--",
                                           row[1]};
    std::string why;
    const auto exec = execValue(args, &why);
    if (row.size() > 2) {
      EXPECT_EQ(exec, std::nullopt) << row[0];
      EXPECT_EQ(why, row[2]) << row[0];
      continue;
    }
    ASSERT_TRUE(exec) << row[0] << ": " << why;
    const ReadBack back = readBack(desktopEntryText({"a.b", "A", *exec, ""}));
    EXPECT_EQ(back.argv, args) << row[0] << ": Exec=" << *exec;
    EXPECT_EQ(back.keys, kEntryKeys) << row[0];
  }
}

// A title is one line in the menu and can add no key of its own.
TEST(DesktopEntry, NameIsTheTitleOnOneLine) {
  const std::pair<std::string, std::string> rows[] = {
      {"Bakery", "Bakery"},
      {"Bakery\nExec=/bin/evil\n[Desktop Action x]", "Bakery Exec=/bin/evil [Desktop Action x]"},
      {" lead\\s \\n ", "lead\\s \\n"},
      {"tab\there\r", "tab here"},
      {"bad \xff byte", "bad \xef\xbf\xbd byte"},
      {"Café ☕", "Café ☕"},
  };
  for (const auto& [title, shown] : rows) {
    const ReadBack back = readBack(desktopEntryText({"a.b", displayValue(title), "x", ""}));
    EXPECT_EQ(back.name, shown) << title;
    EXPECT_EQ(back.keys, kEntryKeys) << title;
  }
}

TEST(AppIdentity, EveryPackageNameGivesAValidIdOfItsOwn) {
  std::set<std::string> ids;
  for (const auto& row : testing::readTable("shell/app_ids.tsv")) {
    const std::string id = applicationId(row[0]);
    EXPECT_EQ(id, row[1]) << row[0];
    EXPECT_TRUE(g_application_id_is_valid(id.c_str())) << id;
    EXPECT_LE(id.size(), 200U) << id;
    EXPECT_TRUE(ids.insert(id).second) << row[0] << " shares " << id;
    EXPECT_EQ(isApplicationId(row[0]), static_cast<bool>(g_application_id_is_valid(row[0].c_str())))
        << row[0];
  }
}

TEST(AppPaths, EachAppHasItsOwnFoldersUnderTheXdgBases) {
  const auto env = [](std::map<std::string, const char*> values) {
    return [values](const char* name) -> const char* {
      const auto it = values.find(name);
      return it == values.end() ? nullptr : it->second;
    };
  };
  const XdgFolders set = xdgFolders(env({{"HOME", "/h"},
                                         {"XDG_DATA_HOME", "/d"},
                                         {"XDG_CONFIG_HOME", "/c"},
                                         {"XDG_CACHE_HOME", "/k"}}));
  const AppFolders app = appFolders(set, "com.example.app");
  EXPECT_EQ(app.website, "/d/vexloweb/apps/com.example.app/website");
  EXPECT_EQ(app.cache, "/k/vexloweb/apps/com.example.app");
  EXPECT_EQ(app.defaults, "/c/vexloweb/apps/com.example.app/defaults.sqlite3");
  EXPECT_EQ(app.desktopEntry, "/d/applications/com.example.app.desktop");
  EXPECT_EQ(app.icon, "/d/icons/hicolor/scalable/apps/com.example.app.svg");
  // A relative value is ignored, as the base-directory rules say.
  const XdgFolders relative = xdgFolders(env({{"HOME", "/h"}, {"XDG_DATA_HOME", "d"}}));
  EXPECT_EQ(relative.data, "/h/.local/share");
  EXPECT_EQ(relative.config, "/h/.config");
  EXPECT_EQ(relative.cache, "/h/.cache");

  testing::TempDir dir;
  const mode_t mask = umask(0);
  std::string why;
  EXPECT_TRUE(makePrivateFolder(dir.path() / "a" / "b", &why)) << why;
  umask(mask);
  for (const char* folder : {"a", "a/b"}) {
    struct stat info {};
    ASSERT_EQ(stat((dir.path() / folder).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700U) << folder;
  }
  testing::writeFile(dir.path() / "file", "x");
  EXPECT_FALSE(makePrivateFolder(dir.path() / "file" / "c", &why));
  EXPECT_EQ(why, (dir.path() / "file").string() + ": not a folder");
}

// The icon's letter is the title's first character as a reader sees it, and the SVG is well
// formed whatever the title holds.
TEST(AppIcon, TheInitialIsTheFirstCharacterEscaped) {
  const std::pair<std::string, std::string> rows[] = {
      {"Bakery", "B"},    {"  \t\nLate", "L"},
      {"Économe", "É"},   {"e\xcc\x81t\xc3\xa9", "e\xcc\x81"},
      {"🇫🇷 Paris", "🇫🇷"}, {"👩‍💻 Dev", "👩‍💻"},
      {"<b>&amp;", "<"},  {"&x", "&"},
      {"\"q'", "\""},     {"", "V"},
      {" ", "V"},         {"\xff", "V"},
  };
  for (const auto& [title, initial] : rows) {
    const std::string svg = iconSvg(title, {"#112233", "#445566\"/><script/>", true});
    std::string text;
    GMarkupParser parser{};
    parser.text = [](GMarkupParseContext* context, const gchar* t, gsize size, gpointer out,
                     GError**) {
      if (std::string_view(g_markup_parse_context_get_element(context)) == "text") {
        static_cast<std::string*>(out)->append(t, size);
      }
    };
    GMarkupParseContext* context = g_markup_parse_context_new(&parser, {}, &text, nullptr);
    GError* error = nullptr;
    EXPECT_TRUE(g_markup_parse_context_parse(context, svg.data(), static_cast<gssize>(svg.size()),
                                             &error) &&
                g_markup_parse_context_end_parse(context, &error))
        << title << ": " << (error != nullptr ? error->message : "") << "\n"
        << svg;
    if (error != nullptr) g_error_free(error);
    g_markup_parse_context_free(context);
    EXPECT_EQ(text, initial) << title;
    EXPECT_EQ(svg.find("script"), std::string::npos) << "a colour that is not #rrggbb is dropped";
  }
}

}  // namespace
}  // namespace vexloweb::shell
