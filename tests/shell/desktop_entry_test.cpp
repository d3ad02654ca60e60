// What the desktop sees of an app, without a display: its application id and folders, its
// launcher's Exec and Name as GLib reads them back, and its icon.
#include <gio/gio.h>

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
  gsize keys = 0;
};
ReadBack readBack(const std::string& text) {
  ReadBack out;
  GKeyFile* file = g_key_file_new();
  EXPECT_TRUE(g_key_file_load_from_data(file, text.data(), text.size(), G_KEY_FILE_NONE, nullptr));
  g_strfreev(g_key_file_get_keys(file, "Desktop Entry", &out.keys, nullptr));
  gchar* name = g_key_file_get_locale_string(file, "Desktop Entry", "Name", nullptr, nullptr);
  gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
  g_key_file_free(file);
  out.name = name != nullptr ? name : "";
  std::string expanded;
  for (const char* c = exec; c != nullptr && *c != '\0'; ++c) {
    if (*c != '%' || (c[1] != '\0' && *++c == '%')) expanded += *c;  // %% gives %; a code goes
  }
  g_free(name);
  g_free(exec);
  gchar** argv = nullptr;
  if (g_shell_parse_argv(expanded.c_str(), nullptr, &argv, nullptr))
    out.argv.assign(argv, argv + g_strv_length(argv));
  g_strfreev(argv);
  return out;
}

// What desktop-file-validate says of an entry ("" when it finds nothing).
std::string validate(const std::string& text) {
  testing::TempDir dir;
  const std::string file = (dir.path() / "a.b.desktop").string();
  testing::writeFile(file, text);
  const char* argv[] = {"desktop-file-validate", file.c_str(), nullptr};
  gchar* out = nullptr;
  gchar* err = nullptr;
  EXPECT_TRUE(g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr, G_SPAWN_SEARCH_PATH,
                           nullptr, nullptr, &out, &err, nullptr, nullptr));
  std::string said = std::string(out != nullptr ? out : "") + (err != nullptr ? err : "");
  g_free(out);
  g_free(err);
  return said;
}

// Text in an Exec argument comes back byte for byte, and a title is one line in the menu; neither
// can add a key (an entry has nine), and desktop-file-validate finds nothing to say.
TEST(DesktopEntry, TextComesBackAsWritten) {
  for (const auto& row : testing::readTable("shell/launcher_text.tsv")) {
    const std::vector<std::string> args = {"/usr/bin/vexloweb-shell", "--bundle", row[1], "--",
                                           row[1]};
    std::string why;
    const auto exec = execValue(args, &why);
    const std::string entry =
        desktopEntryText({"a.b", displayValue(row[1]), exec.value_or("x"), ""});
    const ReadBack back = readBack(entry);
    EXPECT_EQ(back.name, row[2] == "=" ? row[1] : row[2]) << row[0];
    EXPECT_EQ(back.keys, 9U) << row[0];
    EXPECT_EQ(validate(entry), "") << row[0];
    if (row.size() > 3) {
      EXPECT_EQ(std::pair(exec, why), std::pair(std::optional<std::string>(), row[3])) << row[0];
    } else {
      EXPECT_EQ(back.argv, args) << row[0] << ": Exec=" << exec.value_or(why);
    }
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

// The folders themselves are checked end to end (tests/shell/test_apps.py); here, the one rule
// a run cannot show: a relative XDG value is ignored, as the base-directory rules say.
TEST(AppPaths, RelativeXdgValuesAreIgnored) {
  const XdgFolders xdg = xdgFolders([](const char* name) -> const char* {
    return std::string_view(name) == "HOME" ? "/h" : "relative";
  });
  EXPECT_EQ(xdg.data, "/h/.local/share");
  EXPECT_EQ(xdg.config, "/h/.config");
  EXPECT_EQ(xdg.cache, "/h/.cache");
}

// The icon's letter is the title's first character as a reader sees it, and the SVG is well
// formed whatever the title holds.
TEST(AppIcon, TheInitialIsTheFirstCharacterEscaped) {
  for (const auto& row : testing::readTable("shell/icon_initials.tsv")) {
    const std::string& title = row[0];
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
    EXPECT_EQ(text, row[1]) << title;
    EXPECT_EQ(svg.find("script"), std::string::npos) << "a colour that is not #rrggbb is dropped";
  }
}

}  // namespace
}  // namespace vexloweb::shell
