// Installing an app for the user: its .io under the app's data folder, a desktop entry and an
// icon, each staged beside its place and renamed in only when all are written, so that a failed
// install changes nothing and a reinstall replaces the old files whole. Removing it again.
// Works on files only: what the files say is decided by the caller.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app_paths.hpp"

namespace vexloweb::shell {

struct InstallFiles {
  std::string name;          // NAME: the copy is NAME.io in the app's data folder
  std::string io;            // the .io file's content
  std::string desktopEntry;  // the entry's text
  std::string icon;          // the SVG
};

// Installs (or reinstalls) the app whose folders are `folders`. False with the reason, nothing
// changed.
bool installApp(const AppFolders& folders, const InstallFiles& files, std::string* whyNot);

struct InstalledApp {
  std::string id;
  std::string name;   // NAME, without ".io"
  std::string title;  // the entry's Name, as written there ("" when the entry is gone)
};

// The installed apps, sorted by id.
std::vector<InstalledApp> installedApps(const XdgFolders& xdg);

// Removes what installApp made for the app `id`; with `purge` also its website data, cache and
// user-defaults store. Folders of ours left empty go too (not the desktop's applications/ and
// icons/hicolor/). False with the reason.
bool uninstallApp(const XdgFolders& xdg, const std::string& id, bool purge, std::string* whyNot);

// The ids of the installed apps named `nameOrId` (by NAME or by id).
std::vector<std::string> findInstalled(const XdgFolders& xdg, std::string_view nameOrId);

}  // namespace vexloweb::shell
