#include "installer.hpp"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "app_identity.hpp"
#include "vexloweb/platform/file.hpp"

namespace vexloweb::shell {
namespace {

namespace fs = std::filesystem;

fs::path stagedPath(const fs::path& target) {
  return target.parent_path() / ("." + target.filename().string() + ".installing");
}

// The folders from `folder` up that do not exist yet, deepest first.
std::vector<fs::path> missingFolders(const fs::path& folder) {
  std::vector<fs::path> missing;
  std::error_code error;
  for (fs::path p = folder; !p.empty() && !fs::exists(p, error); p = p.parent_path()) {
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  return missing;
}

// Removes `folder` and then each parent up to (not including) `stop` while they are empty.
void removeEmptyUpTo(fs::path folder, const fs::path& stop) {
  std::error_code error;
  while (!folder.empty() && folder != stop && folder.string().starts_with(stop.string()) &&
         fs::is_directory(folder, error) && fs::is_empty(folder, error)) {
    fs::remove(folder, error);
    folder = folder.parent_path();
  }
}

std::vector<fs::path> ioFiles(const fs::path& folder) {
  std::vector<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->path().extension() == ".io" && it->is_regular_file(error)) found.push_back(it->path());
  }
  return found;
}

std::string entryName(const fs::path& entry) {
  std::ifstream in(entry);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("Name=")) return line.substr(5);
  }
  return "";
}

// The XDG base folder an app folder sits in: <base>/vexloweb/apps/<id>.
fs::path baseOf(const fs::path& appFolder) {
  return appFolder.parent_path().parent_path().parent_path();
}

}  // namespace

bool installApp(const AppFolders& folders, const InstallFiles& files, std::string* whyNot) {
  if (files.name.empty() || files.name.find('/') != std::string::npos || files.name == "." ||
      files.name == "..") {
    if (whyNot != nullptr) *whyNot = "NAME must be a file name, without '/'";
    return false;
  }
  const std::vector<std::pair<fs::path, const std::string*>> targets = {
      {folders.data / (files.name + ".io"), &files.io},
      {folders.icon, &files.icon},
      {folders.desktopEntry, &files.desktopEntry},  // last: the menu shows it at once
  };
  std::vector<fs::path> created;
  std::vector<fs::path> staged;
  const auto undo = [&] {
    std::error_code error;
    for (const fs::path& file : staged) fs::remove(file, error);
    for (const fs::path& folder : created) fs::remove(folder, error);  // only removes if empty
    return false;
  };
  for (const auto& [target, content] : targets) {
    std::vector<fs::path> missing = missingFolders(target.parent_path());
    if (!makePrivateFolder(target.parent_path(), whyNot)) return undo();
    created.insert(created.end(), missing.begin(), missing.end());
    staged.push_back(stagedPath(target));
    if (!platform::writeFileReplacing(staged.back(), *content, whyNot)) return undo();
  }
  for (std::size_t i = 0; i < targets.size(); ++i) {
    std::error_code error;
    fs::rename(staged[i], targets[i].first, error);
    if (error) {
      if (whyNot != nullptr) *whyNot = targets[i].first.string() + ": " + error.message();
      return undo();  // only the first rename can fail before anything was replaced in practice
    }
  }
  // A reinstall under another NAME leaves one .io: the new one.
  for (const fs::path& old : ioFiles(folders.data)) {
    std::error_code error;
    if (old != targets[0].first) fs::remove(old, error);
  }
  return true;
}

std::vector<InstalledApp> installedApps(const XdgFolders& xdg) {
  std::vector<InstalledApp> apps;
  std::error_code error;
  for (fs::directory_iterator it(xdg.data / "vexloweb" / "apps", error), end; !error && it != end;
       it.increment(error)) {
    const std::string id = it->path().filename().string();
    if (!isApplicationId(id)) continue;
    for (const fs::path& io : ioFiles(it->path())) {
      apps.push_back({id, io.stem().string(), entryName(appFolders(xdg, id).desktopEntry)});
    }
  }
  std::sort(apps.begin(), apps.end(),
            [](const InstalledApp& a, const InstalledApp& b) { return a.id < b.id; });
  return apps;
}

std::vector<std::string> findInstalled(const XdgFolders& xdg, std::string_view nameOrId) {
  std::vector<std::string> ids;
  for (const InstalledApp& app : installedApps(xdg)) {
    if (app.name == nameOrId || app.id == nameOrId) ids.push_back(app.id);
  }
  return ids;
}

bool uninstallApp(const XdgFolders& xdg, const std::string& id, bool purge, std::string* whyNot) {
  if (!isApplicationId(id)) {
    if (whyNot != nullptr) *whyNot = "not an application id";
    return false;
  }
  const AppFolders folders = appFolders(xdg, id);
  std::vector<fs::path> files = ioFiles(folders.data);
  files.push_back(folders.desktopEntry);
  files.push_back(folders.icon);
  for (const fs::path& file : files) {
    std::error_code error;
    fs::remove(file, error);
    if (error) {
      if (whyNot != nullptr) *whyNot = file.string() + ": " + error.message();
      return false;
    }
  }
  if (purge) {
    for (const fs::path& folder : {folders.data, folders.cache, folders.config}) {
      std::error_code error;
      fs::remove_all(folder, error);
      if (error) {
        if (whyNot != nullptr) *whyNot = folder.string() + ": " + error.message();
        return false;
      }
    }
  }
  for (const fs::path& folder : {folders.data, folders.cache, folders.config}) {
    removeEmptyUpTo(folder, baseOf(folder));
  }
  // The icon theme's size folders go when empty; the desktop's own applications/ and
  // icons/hicolor/ stay, as a desktop has them.
  removeEmptyUpTo(folders.icon.parent_path(), xdg.data / "icons" / "hicolor");
  return true;
}

}  // namespace vexloweb::shell
