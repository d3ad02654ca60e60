// Where each app keeps what is its own, by its application id, under the XDG base folders:
//   $XDG_DATA_HOME/vexloweb/apps/<id>/          the installed NAME.io
//   $XDG_DATA_HOME/vexloweb/apps/<id>/website/  cookies, local storage, IndexedDB
//   $XDG_CACHE_HOME/vexloweb/apps/<id>/          the web cache
//   $XDG_CONFIG_HOME/vexloweb/apps/<id>/defaults.sqlite3   the user-defaults store
//   $XDG_DATA_HOME/applications/<id>.desktop and
//   $XDG_DATA_HOME/icons/hicolor/scalable/apps/<id>.svg
// Pure, but for makePrivateFolder.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace vexloweb::shell {

struct XdgFolders {
  std::filesystem::path data;    // $XDG_DATA_HOME, else ~/.local/share
  std::filesystem::path config;  // $XDG_CONFIG_HOME, else ~/.config
  std::filesystem::path cache;   // $XDG_CACHE_HOME, else ~/.cache
};

// The base folders from the environment read through `getenv`. A value that is not an absolute
// path is ignored, as the base-directory rules say; then $HOME, else the user's home from the
// password database.
XdgFolders xdgFolders(const std::function<const char*(const char*)>& getenv);

struct AppFolders {
  std::filesystem::path data;
  std::filesystem::path website;
  std::filesystem::path cache;
  std::filesystem::path config;
  std::filesystem::path defaults;
  std::filesystem::path desktopEntry;
  std::filesystem::path icon;
};

// The folders of the app `id` (an application id: no '/' and never "." or "..").
AppFolders appFolders(const XdgFolders& xdg, std::string_view id);

// Creates `folder` and its missing parents, each new one readable by its owner only (0700); an
// existing folder keeps its mode. False with the reason in *whyNot.
bool makePrivateFolder(const std::filesystem::path& folder, std::string* whyNot);

}  // namespace vexloweb::shell
